// Owners of Win32 handles: each releases its handle when it goes out of
// scope. One template serves every kind; `Traits` names the handle type, its
// "no handle" value and how it is released.
#pragma once

#include <windows.h>

#include <utility>

namespace plover::win {

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
    if (this != &o) reset(std::exchange(o.h_, Traits::None()));
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

// Handles whose "no handle" is null, released by `Free`.
template <typename T, auto Free>
struct NullIsNone {
  using Handle = T;
  static Handle None() { return nullptr; }
  static void Release(Handle h) { Free(h); }
};

// Handles whose "no handle" is INVALID_HANDLE_VALUE.
template <auto Free>
struct InvalidIsNone {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Release(Handle h) { Free(h); }
};

template <typename T>
using GdiTraits = NullIsNone<T, ::DeleteObject>;

using UniqueHandle = Owned<NullIsNone<HANDLE, ::CloseHandle>>;  // mutexes, processes
using UniqueFile = Owned<InvalidIsNone<::CloseHandle>>;
using UniqueFind = Owned<InvalidIsNone<::FindClose>>;
using UniqueFont = Owned<GdiTraits<HFONT>>;
using UniqueBrush = Owned<GdiTraits<HBRUSH>>;
using UniquePen = Owned<GdiTraits<HPEN>>;
using UniqueBitmap = Owned<GdiTraits<HBITMAP>>;
using UniqueRegion = Owned<GdiTraits<HRGN>>;
using UniqueDC = Owned<NullIsNone<HDC, ::DeleteDC>>;  // memory device contexts
using UniqueMenu = Owned<NullIsNone<HMENU, ::DestroyMenu>>;
using UniqueIcon = Owned<NullIsNone<HICON, ::DestroyIcon>>;
using UniqueCursor = Owned<NullIsNone<HCURSOR, ::DestroyCursor>>;
using UniqueHook = Owned<NullIsNone<HHOOK, ::UnhookWindowsHookEx>>;

}  // namespace plover::win
