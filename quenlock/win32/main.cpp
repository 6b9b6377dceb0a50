// Quenlock: keeps the left Windows key and a few system key combinations from
// the system while the player plays, from an icon in the notification area.
// Only one runs at a time; a second start ends at once, silently.
#include <windows.h>

#include "common/win32/owned.h"
#include "quenlock/win32/form1.h"

namespace {

// One Quenlock per session, wherever it was started from: the hook is
// system-wide, so a second one would add nothing.
plover::win::UniqueHandle TakeInstanceLock() {
  plover::win::UniqueHandle lock(CreateMutexW(nullptr, FALSE, L"Local\\Velmor.Quenlock"));
  if (lock && GetLastError() == ERROR_ALREADY_EXISTS) return plover::win::UniqueHandle();
  return lock;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const plover::win::UniqueHandle lock = TakeInstanceLock();
  if (!lock) return 0;
  quenlock::Form1 form1(instance);
  if (!form1.Load()) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
