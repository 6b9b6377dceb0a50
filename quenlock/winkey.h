// The system-wide low-level keyboard hook. Its procedure runs on the thread
// that installed it, through that thread's message loop, and every keystroke
// of the desktop waits for it: it asks the key filter and does nothing else.
#pragma once

#include <windows.h>

#include "common/win32/owned.h"

namespace quenlock {

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);

// Owns the installed hook; removes it when destroyed.
class KeyboardHook {
 public:
  // Installs KeyboardHookProc for all threads of the desktop; false when the
  // system refuses. Installing twice keeps the first hook.
  bool Install();
  void Remove() { hook_.reset(); }
  bool installed() const { return static_cast<bool>(hook_); }

 private:
  plover::win::UniqueHook hook_;
};

}  // namespace quenlock
