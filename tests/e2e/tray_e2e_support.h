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

// Waits for a pop-up menu of process `pid`, presses `keys` in it one by one
// and waits until every menu has closed. False when no menu came or one
// stayed open.
inline bool PressInMenu(DWORD pid, const std::vector<UINT>& keys, int timeoutMs = 8000) {
  HWND popup = nullptr;
  if (!WaitUntil([&] { return (popup = WindowOf(pid, "#32768", true)) != nullptr; }, timeoutMs)) {
    return false;
  }
  Sleep(200);
  for (UINT key : keys) {
    // The menu's own loop reads the keys from its thread's queue.
    PostMessageW(popup, WM_KEYDOWN, key, 0);
    Sleep(150);
  }
  return WaitUntil([&] { return WindowOf(pid, "#32768", true) == nullptr; }, timeoutMs);
}

}  // namespace e2e
