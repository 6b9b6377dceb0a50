// The system-wide low-level keyboard hook. Its procedure runs on the thread
// that installed it, through that thread's message loop, and every keystroke
// of the desktop waits for it: it asks the key filter and does nothing else.
#pragma once

#include <windows.h>

#include "quenlock/hook_keeper.h"

namespace quenlock {

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);

// Keeps KeyboardHookProc installed for all threads of the desktop; removes
// it when destroyed.
class KeyboardHook final : public HookKeeper {
 public:
  KeyboardHook();
};

}  // namespace quenlock
