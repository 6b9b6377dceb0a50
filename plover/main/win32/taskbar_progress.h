// The progress of a long switch on the window's taskbar button, where the
// shell shows one (Windows 7 and later); the taskbar's COM object is made at
// the first progress shown, not at start.
#pragma once

#include <windows.h>

#include <shobjidl.h>

#include <cstddef>

#include "common/win32/com.h"

namespace plover {

class TaskbarProgress {
 public:
  explicit TaskbarProgress(HWND window) : window_(window) {}
  // `done` of `total`; total 0 takes the progress away.
  void Show(size_t done, size_t total);

 private:
  HWND window_;
  bool tried_ = false;
  win::ComPtr<ITaskbarList3> list_;
};

}  // namespace plover
