// The system-wide low-level keyboard hook. Its procedure runs on the thread
// that installed it, through that thread's message loop, and every keystroke
// of the desktop waits for it: it asks the key filter and does nothing else.
#pragma once

#include <windows.h>

namespace quenlock {

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);

// Owns the installed hook; removes it when destroyed.
class KeyboardHook {
 public:
  KeyboardHook() = default;
  ~KeyboardHook() { Remove(); }
  KeyboardHook(const KeyboardHook&) = delete;
  KeyboardHook& operator=(const KeyboardHook&) = delete;

  // Installs KeyboardHookProc for all threads of the desktop; false when the
  // system refuses. Installing twice keeps the first hook.
  bool Install();
  void Remove();
  bool installed() const { return hook_ != nullptr; }

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace quenlock
