// A program's start timed to its shown, idle main window, as the start-up
// benchmarks (bench_startup, bench_scale) measure it: from CreateProcess until
// the process waits for input (WaitForInputIdle) with its window shown. The
// window is then closed (WM_CLOSE) and the process waited for.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "tests/support/install_gen.h"

namespace plover::bench {

inline constexpr DWORD kStartTimeoutMs = 20000;

// How long a closed program may take to end: one that is still looking at
// the files of a large layout answers WM_CLOSE only once it is done.
inline constexpr DWORD kCloseTimeoutMs = 120000;

struct WindowSearch {
  DWORD pid;
  const wchar_t* windowClass;  // nullptr: any class
  HWND found;
  bool dialog;  // a message box of the process is shown
};

inline BOOL CALLBACK FindShownWindow(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t name[64] = L"";
  GetClassNameW(hwnd, name, 64);
  if (std::wstring(name) == L"#32770") {
    s->dialog = true;
    return TRUE;
  }
  if (s->windowClass && std::wstring(name) != s->windowClass) return TRUE;
  s->found = hwnd;
  return FALSE;
}

// The visible top-level window of a process, of the class `windowClass`
// unless that is nullptr; `dialog` tells whether it shows a message box.
inline HWND ShownWindowOf(DWORD pid, const wchar_t* windowClass, bool* dialog = nullptr) {
  WindowSearch search{pid, windowClass, nullptr, false};
  EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
  if (dialog) *dialog = search.dialog;
  return search.found;
}

inline double StartMilliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Starts `exe` in its own folder and returns the milliseconds until it waits
// for input with its main window (of `windowClass`, any class for nullptr)
// shown, or -1 when it shows none in time or shows a message box instead.
// `whileIdle` runs with the process handle before the window is closed.
inline double TimeStart(const std::filesystem::path& exe, const wchar_t* windowClass,
                        const std::function<void(HANDLE process)>& whileIdle = {}) {
  using Clock = std::chrono::steady_clock;
  const std::string shown = plover::testing::Utf8Of(exe);
  std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
  const std::wstring folder = exe.parent_path().wstring();
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const auto from = Clock::now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", shown.c_str(), GetLastError());
    return -1;
  }
  HWND window = nullptr;
  bool dialog = false;
  for (;;) {
    const DWORD idle = WaitForInputIdle(pi.hProcess, kStartTimeoutMs);
    window = ShownWindowOf(pi.dwProcessId, windowClass, &dialog);
    if (dialog) {
      window = nullptr;
      break;
    }
    if (window && idle == 0) break;
    if (StartMilliseconds(Clock::now() - from) > kStartTimeoutMs ||
        WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
      window = nullptr;
      break;
    }
    Sleep(1);
  }
  double ms = -1;
  if (window) {
    ms = StartMilliseconds(Clock::now() - from);
    if (whileIdle) whileIdle(pi.hProcess);
    PostMessageW(window, WM_CLOSE, 0, 0);
  } else if (dialog) {
    std::fprintf(stderr, "%s showed a message box at its start\n", shown.c_str());
  } else {
    std::fprintf(stderr, "%s showed no idle window\n", shown.c_str());
  }
  if (!window || WaitForSingleObject(pi.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
    if (window) std::fprintf(stderr, "%s did not close\n", shown.c_str());
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, kStartTimeoutMs);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ms;
}

}  // namespace plover::bench
