// Owners of Win32 handles that release them when they go out of scope.
#pragma once

#include <windows.h>

#include <utility>

namespace quenlock {

template <typename H, BOOL(WINAPI* Release)(H)>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H h) : h_(h) {}
  ~Unique() { reset(); }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(H h = nullptr) {
    if (h_) Release(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

using UniqueHandle = Unique<HANDLE, ::CloseHandle>;
using UniqueIcon = Unique<HICON, ::DestroyIcon>;
using UniqueMenu = Unique<HMENU, ::DestroyMenu>;
using UniqueBitmap = Unique<HGDIOBJ, ::DeleteObject>;

}  // namespace quenlock
