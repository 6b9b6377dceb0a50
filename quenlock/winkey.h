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
  // Puts a fresh hook in front of the installed one and only then removes
  // the old one, so that no keystroke goes by unfiltered. Nothing happens
  // when no hook is installed; when the fresh one cannot be installed, the
  // old one stays (false).
  bool Refresh();
  void Remove() { hook_.reset(); }
  bool installed() const { return static_cast<bool>(hook_); }

 private:
  plover::win::UniqueHook hook_;
};

}  // namespace quenlock
