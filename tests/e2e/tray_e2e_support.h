// What the notification-area and key-blocker tests add to the driver: windows
// of a process whether shown or hidden, the icon's mouse notifications, and
// choosing items of a pop-up menu with the keyboard.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver.h"

namespace e2e {

// The message a notification-area icon sends to its window.
inline constexpr UINT kIconCallback = 0x7E9;

struct WindowSearch {
  DWORD pid;
  std::string_view cls;
  bool visibleOnly;
  HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid || ClassOf(hwnd) != s->cls) return TRUE;
  if (s->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

// A top-level window of class `cls` of process `pid`, shown or not.
inline HWND WindowOf(DWORD pid, std::string_view cls, bool visibleOnly = false) {
  WindowSearch s{pid, cls, visibleOnly, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

inline HWND WaitWindowOf(DWORD pid, std::string_view cls, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = WindowOf(pid, cls)) != nullptr; }, timeoutMs);
  return found;
}

// A mouse event over the icon of `owner`, as the shell reports it.
inline void IconEvent(HWND owner, UINT mouseMessage) {
  PostMessageW(owner, kIconCallback, 0, mouseMessage);
}

// A shown pop-up menu of process `pid`, and a wait for one.
inline HWND MenuOf(DWORD pid) {
  return WindowOf(pid, "#32768", true);
}
inline HWND WaitMenu(DWORD pid, int timeoutMs = 8000) {
  HWND popup = nullptr;
  WaitUntil([&] { return (popup = MenuOf(pid)) != nullptr; }, timeoutMs);
  return popup;
}

// Waits for a pop-up menu of process `pid`, presses `keys` in it and waits
// until every menu has closed. False when no menu came or one stayed open.
inline bool PressInMenu(DWORD pid, const std::vector<UINT>& keys, int timeoutMs = 8000) {
  HWND popup = WaitMenu(pid, timeoutMs);
  if (!popup) return false;
  // The menu's own loop, which runs from before the menu is shown until it
  // closes, reads the keys from its thread's queue one after the other, a
  // submenu's too.
  for (UINT key : keys) PostMessageW(popup, WM_KEYDOWN, key, 0);
  return WaitUntil([&] { return MenuOf(pid) == nullptr; }, timeoutMs);
}

}  // namespace e2e
