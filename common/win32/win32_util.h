// Small helpers for the Win32 layer: UTF-8 <-> UTF-16 at API boundaries, and
// owners that release handles when they go out of scope.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace plover::win {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The window's text as UTF-8.
std::string WindowText(HWND hwnd);
void SetWindowText(HWND hwnd, std::string_view utf8);

// Owner of a handle. `Traits` names the handle type, its "no handle" value
// and how it is released.
template <typename Traits>
class Owned {
 public:
  using H = typename Traits::Handle;
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, Traits::None())) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, Traits::None());
    }
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::None(); }
  void reset(H h = Traits::None()) {
    if (h_ != Traits::None()) Traits::Release(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, Traits::None()); }

 private:
  H h_ = Traits::None();
};

template <typename T, BOOL(WINAPI* Free)(T)>
struct NullIsNone {
  using Handle = T;
  static Handle None() { return nullptr; }
  static void Release(Handle h) { Free(h); }
};
struct FileTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Release(Handle h) { ::CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Release(Handle h) { ::FindClose(h); }
};
template <typename T>
struct GdiTraits {
  using Handle = T;
  static Handle None() { return nullptr; }
  static void Release(Handle h) { ::DeleteObject(h); }
};

using UniqueHandle = Owned<NullIsNone<HANDLE, ::CloseHandle>>;
using UniqueFile = Owned<FileTraits>;
using UniqueFind = Owned<FindTraits>;
using UniqueFont = Owned<GdiTraits<HFONT>>;
using UniqueBrush = Owned<GdiTraits<HBRUSH>>;
using UniquePen = Owned<GdiTraits<HPEN>>;
using UniqueBitmap = Owned<GdiTraits<HBITMAP>>;
using UniqueRegion = Owned<GdiTraits<HRGN>>;
using UniqueDC = Owned<NullIsNone<HDC, ::DeleteDC>>;  // memory device contexts
using UniqueIcon = Owned<NullIsNone<HICON, ::DestroyIcon>>;
using UniqueCursor = Owned<NullIsNone<HCURSOR, ::DestroyCursor>>;

// The DPI a window is shown at (96 when the system cannot tell).
UINT DpiOf(HWND hwnd);
// Twips to pixels at `dpi` (1440 twips an inch), rounded to nearest.
inline int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}
// A font of `points` size (tenths of a point) for `dpi`.
UniqueFont MakeFont(const wchar_t* face, int tenthsOfPoint, bool bold, UINT dpi);

// The directory of the running executable, with a trailing "\".
std::string ExecutableDirectory();
std::string ExecutablePath();

}  // namespace plover::win
