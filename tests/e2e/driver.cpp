#include "tests/e2e/driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "tests/support/input.h"
#include "tests/support/screen.h"

#ifndef PLOVER_E2E_EXE
#define PLOVER_E2E_EXE ""
#endif
#ifndef PLOVER_E2E_FAKE_GAME
#define PLOVER_E2E_FAKE_GAME ""
#endif
#ifndef PLOVER_E2E_ROOT
#define PLOVER_E2E_ROOT ""
#endif

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kSetSelectionW = WM_USER + 103;  // BFFM_SETSELECTIONW
constexpr int kMessageBoxTextId = 0xFFFF;

int ElapsedMs(Clock::time_point since) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

std::string FromEnvOr(const char* name, const char* fallback) {
  const DWORD n = GetEnvironmentVariableW(Wide(name).c_str(), nullptr, 0);
  if (n > 1) {
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(Wide(name).c_str(), value.data(), n));
    return WindowsPath(Utf8(value));
  }
  return WindowsPath(fallback);
}

// True when the environment variable is "1".
bool EnvFlag(const wchar_t* name) {
  wchar_t value[4] = {};
  return GetEnvironmentVariableW(name, value, 4) == 1 && value[0] == L'1';
}

// PLOVER_E2E_TRACE=1 prints the driver's steps with their times.
bool Tracing() {
  static const bool on = EnvFlag(L"PLOVER_E2E_TRACE");
  return on;
}

void Trace(const char* what, Clock::time_point since) {
  if (Tracing()) std::fprintf(stderr, "  [e2e] %s: %d ms\n", what, ElapsedMs(since));
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

struct EnumState {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lp) {
  auto* st = reinterpret_cast<EnumState*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == st->pid && IsWindowVisible(hwnd)) st->found.push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

bool ForcePostedClicks() {
  return EnvFlag(L"PLOVER_E2E_POST_CLICKS");
}

// True when a real click at `pt` (screen) lands on `target`.
bool PointReaches(HWND target, POINT pt) {
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  if (pt.x < 0 || pt.y < 0 || pt.x >= cx || pt.y >= cy) return false;
  HWND at = WindowFromPoint(pt);
  return at == target || (at && IsChild(target, at));
}

// Keeps two separate clicks at one place from becoming a double-click.
POINT g_lastClick{-1, -1};
Clock::time_point g_lastClickTime{};

void SpaceOutClicks(POINT pt) {
  if (std::abs(pt.x - g_lastClick.x) < 8 && std::abs(pt.y - g_lastClick.y) < 8) {
    WaitPastDoubleClick();
  }
}

void NoteClick(POINT pt) {
  g_lastClick = pt;
  g_lastClickTime = Clock::now();
}

// True when the window or one of its shown children waits to be painted.
bool NeedsPainting(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return true;
  for (HWND c : Children(window)) {
    if (IsWindowVisible(c) && GetUpdateRect(c, nullptr, FALSE)) return true;
  }
  return false;
}

// Waits until the window of `hwnd` has settled in: it and its top-level
// window are enabled, nothing of that waits to be painted, and its thread
// takes messages. A window just shown, or set free by a modal window just
// gone, is still busy with that (painting, the focus, enabling), and a click
// meanwhile may go amiss.
void WaitSettled(HWND hwnd) {
  HWND root = GetAncestor(hwnd, GA_ROOT);
  WaitUntil(
      [&] {
        DWORD_PTR result = 0;
        return IsWindowEnabled(root) && IsWindowEnabled(hwnd) && !NeedsPainting(root) &&
               SendMessageTimeoutW(root, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) != 0;
      },
      8000);
}

bool ClickAtClient(HWND hwnd, POINT client, bool twice) {
  if (!IsWindow(hwnd)) return false;
  POINT screen = client;
  ClientToScreen(hwnd, &screen);
  SpaceOutClicks(screen);
  WaitSettled(hwnd);
  if (!ForcePostedClicks() && PointReaches(hwnd, screen)) {
    if (Tracing()) {
      const std::string what = "click with the mouse at " + std::to_string(screen.x) + "," +
                               std::to_string(screen.y) + " on \"" +
                               TextOf(hwnd, 500).value_or("?") + "\"";
      Trace(what.c_str(), Clock::now());
    }
    // The pointer comes onto the spot and presses there, all queued at once:
    // the window takes the move before the press. Twice, the presses come
    // well within the double-click time.
    if (twice) {
      plover::testing::SendMouse(screen, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                          MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    } else {
      plover::testing::SendMouse(screen, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    }
  } else {
    Trace("click with posted messages", Clock::now());
    const LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    if (twice) {
      PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    }
  }
  NoteClick(screen);
  return true;
}

}  // namespace

// ---- Text -----------------------------------------------------------------

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::optional<std::string> FromGbk(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(),
                                    static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                      wide.data(), n);
  return Utf8(wide);
}

std::string ToGbk(std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

// ---- Paths and files --------------------------------------------------------

std::string WindowsPath(std::string_view path) {
  std::string out = (!path.empty() && path[0] == '/') ? "Z:" : "";
  for (char c : path) out += (c == '/') ? '\\' : c;
  return out;
}

std::string Join(std::string_view dir, std::string_view name) {
  std::string out(dir);
  while (!out.empty() && out.back() == '\\') out.pop_back();
  size_t skip = 0;
  while (skip < name.size() && name[skip] == '\\') ++skip;
  return out + "\\" + std::string(name.substr(skip));
}

std::string PloverExePath() {
  return FromEnvOr("PLOVER_E2E_EXE", PLOVER_E2E_EXE);
}
std::string FakeGameExePath() {
  return FromEnvOr("PLOVER_E2E_FAKE_GAME", PLOVER_E2E_FAKE_GAME);
}
std::string BuildRoot() {
  return FromEnvOr("PLOVER_E2E_ROOT", PLOVER_E2E_ROOT);
}
std::string ScreenshotDir() {
  return Join(BuildRoot(), "e2e-screens");
}

std::string WorkDir(std::string_view testName) {
  // Each Wine lane works in a folder of its own: the folders that the tests
  // of one lane make and remove never change what another lane's pickers
  // list.
  std::string work = "e2e-work";
  wchar_t lane[16];
  const DWORD n = GetEnvironmentVariableW(L"PLOVER_WINE_LANE", lane, 16);
  if (n > 0 && n < 16) work += "-lane" + Utf8(std::wstring_view(lane, n));
  const std::string dir = Join(Join(BuildRoot(), work), testName);
  RemoveTree(dir);
  MakeDirs(dir);
  return dir;
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeDirs(const std::string& path) {
  if (path.empty() || DirExists(path)) return;
  const size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos && slash > 2) MakeDirs(path.substr(0, slash));
  CreateDirectoryW(Wide(path).c_str(), nullptr);
}

void RemoveTree(const std::string& path) {
  const std::wstring wpath = Wide(path);
  const DWORD a = GetFileAttributesW(wpath.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesW(wpath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wpath.c_str());
    return;
  }
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((wpath + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      RemoveTree(Join(path, Utf8(name)));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(wpath.c_str());
}

std::optional<std::string> ReadBytes(const std::string& path) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(h);
  return out;
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  const size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos) MakeDirs(path.substr(0, slash));
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD put = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
}

void CopyInto(const std::string& from, const std::string& to) {
  const size_t slash = to.find_last_of('\\');
  if (slash != std::string::npos) MakeDirs(to.substr(0, slash));
  CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE);
}

std::optional<std::vector<std::string>> ReadGbkLines(const std::string& path) {
  const auto bytes = ReadBytes(path);
  if (!bytes) return std::nullopt;
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes->size()) {
    const size_t end = bytes->find("\r\n", start);
    if (end == std::string::npos) return std::nullopt;
    const std::string_view raw(bytes->data() + start, end - start);
    if (raw.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
    auto line = FromGbk(raw);
    if (!line) return std::nullopt;
    lines.push_back(*line);
    start = end + 2;
  }
  return lines;
}

FileHolder::FileHolder(const std::string& path)
    : handle_(CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

FileHolder::~FileHolder() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

// ---- Waiting ------------------------------------------------------------------

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs) {
  const auto start = Clock::now();
  for (;;) {
    PumpMessages();
    if (done()) return true;
    if (ElapsedMs(start) >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(pollMs), QS_ALLINPUT);
  }
}

void WaitPastDoubleClick() {
  const int doubleClickMs = static_cast<int>(GetDoubleClickTime());
  WaitUntil([&] { return ElapsedMs(g_lastClickTime) > doubleClickMs + 100; }, doubleClickMs + 200);
}

bool WaitDrawn(HWND window, int timeoutMs) {
  plover::testing::ScreenImage last;
  return WaitUntil(
      [&] {
        if (!IsWindow(window)) return false;
        if (NeedsPainting(window)) {
          last = {};
          return false;
        }
        RECT r{};
        GetWindowRect(window, &r);
        auto now = plover::testing::CaptureScreen(r);
        const bool still = !now.empty() && now.rgb == last.rgb;
        last = std::move(now);
        return still;
      },
      timeoutMs, 30);
}

// ---- Windows ----------------------------------------------------------------

std::string ClassOf(HWND hwnd) {
  wchar_t buf[256] = {};
  const int n = GetClassNameW(hwnd, buf, 256);
  return Utf8(std::wstring_view(buf, n > 0 ? static_cast<size_t>(n) : 0));
}

std::optional<std::string> TextOf(HWND hwnd, int timeoutMs) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                           static_cast<UINT>(timeoutMs), &len)) {
    return std::nullopt;
  }
  std::wstring buf(len + 64, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                           SMTO_ABORTIFHUNG, static_cast<UINT>(timeoutMs), &got)) {
    return std::nullopt;
  }
  buf.resize(got < buf.size() ? got : buf.size());
  return Utf8(buf);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> out;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND ChildById(HWND parent, int id) {
  for (HWND c : Children(parent)) {
    if (GetParent(c) == parent && GetWindowLongPtrW(c, GWLP_ID) == id) return c;
  }
  return nullptr;
}

HWND ChildByText(HWND parent, std::string_view text) {
  for (HWND c : Children(parent)) {
    const auto t = TextOf(c, 1000);
    if (t && *t == text) return c;
  }
  return nullptr;
}

HWND ChildOfClass(HWND parent, std::string_view cls) {
  for (HWND c : Children(parent)) {
    if (ClassOf(c) == cls) return c;
  }
  return nullptr;
}

std::string DescribeChildren(HWND parent) {
  std::string out = "[" + ClassOf(parent) + " \"" + TextOf(parent, 500).value_or("?") + "\"";
  for (HWND c : Children(parent)) {
    char id[16];
    std::snprintf(id, sizeof id, "%lX", static_cast<unsigned long>(GetWindowLongPtrW(c, GWLP_ID)));
    out.append(" ").append(ClassOf(c)).append("#").append(id);
    const auto t = TextOf(c, 500);
    if (t && !t->empty()) out.append(":\"").append(*t).append("\"");
  }
  return out + "]";
}

std::vector<HWND> VisibleWindowsOf(DWORD pid) {
  EnumState st{pid, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&st));
  return st.found;
}

HWND MessageBoxTextOf(HWND dialog) {
  for (HWND c : Children(dialog)) {
    if (GetParent(c) != dialog) continue;
    if ((GetWindowLongPtrW(c, GWLP_ID) & 0xFFFF) == kMessageBoxTextId) return c;
  }
  return nullptr;
}

namespace {

GUITHREADINFO ThreadInfoOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) info = {};
  return info;
}

}  // namespace

HWND FocusOf(HWND window) {
  return ThreadInfoOf(window).hwndFocus;
}

HWND ActiveOf(HWND window) {
  return ThreadInfoOf(window).hwndActive;
}

bool BringToFront(HWND window, int timeoutMs) {
  const bool active = WaitUntil(
      [&] {
        if (ActiveOf(window) == window && GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return false;
      },
      timeoutMs, 50);
  return active && WaitDrawn(window, timeoutMs);
}

bool ListItemRect(HWND list, int index, RECT& rc) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&rc), SMTO_ABORTIFHUNG, 2000, &result) &&
      static_cast<LONG_PTR>(result) != LB_ERR && rc.bottom > rc.top) {
    return true;
  }
  // Computed from the item height when the rectangle cannot be asked for.
  DWORD_PTR height = 0, top = 0;
  if (!SendMessageTimeoutW(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 2000, &height) ||
      !SendMessageTimeoutW(list, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 2000, &top)) {
    return false;
  }
  RECT client{};
  GetClientRect(list, &client);
  rc.left = 0;
  rc.right = client.right;
  rc.top = (index - static_cast<int>(top)) * static_cast<int>(height);
  rc.bottom = rc.top + static_cast<int>(height);
  return true;
}

bool Click(HWND control) {
  RECT rc{};
  if (!GetClientRect(control, &rc)) return false;
  return ClickAtClient(control, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, false);
}

bool ClickListItem(HWND list, int index) {
  RECT rc{};
  if (!ListItemRect(list, index, rc)) return false;
  return ClickAtClient(list, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, false);
}

bool DoubleClickListItem(HWND list, int index) {
  RECT rc{};
  if (!ListItemRect(list, index, rc)) return false;
  return ClickAtClient(list, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, true);
}

std::optional<std::vector<std::string>> ListItems(HWND list) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count) ||
      static_cast<LONG_PTR>(count) == LB_ERR) {
    return std::nullopt;
  }
  std::vector<std::string> items;
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &len) ||
        static_cast<LONG_PTR>(len) == LB_ERR) {
      return std::nullopt;
    }
    std::wstring buf(len + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf.data()),
                             SMTO_ABORTIFHUNG, 2000, &got) ||
        static_cast<LONG_PTR>(got) == LB_ERR) {
      return std::nullopt;
    }
    buf.resize(got);
    items.push_back(Utf8(buf));
  }
  return items;
}

int ListSelection(HWND list) {
  DWORD_PTR sel = 0;
  if (!SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &sel)) return -2;
  return static_cast<int>(static_cast<LONG_PTR>(sel));
}

bool IsChecked(HWND checkbox) {
  DWORD_PTR state = 0;
  return SendMessageTimeoutW(checkbox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state) &&
         state == BST_CHECKED;
}

std::string WaitForText(HWND hwnd, std::string_view expected, int timeoutMs) {
  std::string last;
  WaitUntil(
      [&] {
        if (auto t = TextOf(hwnd, 500)) last = *t;
        return last == expected;
      },
      timeoutMs, 30);
  return last;
}

bool SaveScreenshot(HWND hwnd, const std::string& bmpPath) {
  if (!IsWindow(hwnd)) return false;
  SetForegroundWindow(hwnd);
  BringWindowToTop(hwnd);
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  WaitDrawn(hwnd);
  // The client area: on a display without a window manager nobody draws the
  // frame and caption.
  const auto picture = plover::testing::CaptureScreen(plover::testing::ClientOnScreen(hwnd));
  const size_t slash = bmpPath.find_last_of('\\');
  if (slash != std::string::npos) MakeDirs(bmpPath.substr(0, slash));
  return plover::testing::SaveBmp(picture, Wide(bmpPath));
}

// ---- Plover, the process ------------------------------------------------------

PloverProcess::~PloverProcess() {
  Kill();
  if (job_) CloseHandle(job_);
  if (process_) CloseHandle(process_);
}

bool PloverProcess::Start(const std::string& exePath, const std::string& arguments) {
  std::wstring cmd = L"\"" + Wide(exePath) + L"\"";
  if (!arguments.empty()) cmd += L" " + Wide(arguments);
  const size_t slash = exePath.find_last_of('\\');
  const std::wstring dir = Wide(slash == std::string::npos ? "." : exePath.substr(0, slash));
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(Wide(exePath).c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, dir.c_str(), &si, &pi)) {
    return false;
  }
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  job_ = CreateJobObjectW(nullptr, nullptr);
  if (job_) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    AssignProcessToJobObject(job_, process_);
  }
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  return true;
}

bool PloverProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void PloverProcess::Observe() {
  VisibleWindows();
}

std::optional<DWORD> PloverProcess::WaitExit(int timeoutMs) {
  if (!process_) return std::nullopt;
  const auto start = Clock::now();
  const bool ended = WaitUntil(
      [&] {
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return true;
        Observe();
        return false;
      },
      timeoutMs, 5);
  Trace("wait for exit", start);
  if (!ended) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void PloverProcess::Kill() {
  if (process_ && Running()) {
    TerminateProcess(process_, 259);
    WaitForSingleObject(process_, 5000);
  }
  if (job_) TerminateJobObject(job_, 259);
}

std::vector<HWND> PloverProcess::VisibleWindows() const {
  std::vector<HWND> found = pid_ ? VisibleWindowsOf(pid_) : std::vector<HWND>{};
  if (!found.empty()) everShowed_ = true;
  return found;
}

HWND PloverProcess::MainWindow() const {
  for (HWND w : VisibleWindows()) {
    if (ClassOf(w) == "PloverMain") return w;
  }
  return nullptr;
}

HWND PloverProcess::WaitMainWindow(int timeoutMs) {
  const auto start = Clock::now();
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = MainWindow();
        return found != nullptr || !Running();
      },
      timeoutMs);
  Trace("wait for the main window", start);
  return found;
}

HWND PloverProcess::WindowNow(std::string_view windowClass, std::string_view caption) const {
  for (HWND w : VisibleWindows()) {
    if (ClassOf(w) == windowClass && TextOf(w, 1000).value_or("") == caption) return w;
  }
  return nullptr;
}

HWND PloverProcess::WaitWindow(std::string_view windowClass, std::string_view caption,
                               int timeoutMs) {
  const auto start = Clock::now();
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = WindowNow(windowClass, caption);
        return found != nullptr || !Running();
      },
      timeoutMs);
  Trace("wait for a window", start);
  return found;
}

std::optional<Dialog> PloverProcess::MessageBoxNow() const {
  for (HWND w : VisibleWindows()) {
    if (ClassOf(w) != "#32770") continue;
    HWND text = MessageBoxTextOf(w);
    if (!text) continue;
    Dialog d;
    d.hwnd = w;
    d.title = TextOf(w).value_or("");
    d.text = TextOf(text).value_or("");
    return d;
  }
  return std::nullopt;
}

std::optional<Dialog> PloverProcess::WaitMessageBox(int timeoutMs) {
  const auto start = Clock::now();
  std::optional<Dialog> found;
  WaitUntil(
      [&] {
        found = MessageBoxNow();
        return found.has_value() || !Running();
      },
      timeoutMs);
  Trace("wait for a message box", start);
  return found;
}

HWND PloverProcess::FolderPickerNow() const {
  for (HWND w : VisibleWindows()) {
    if (ClassOf(w) == "#32770" && ChildOfClass(w, WC_TREEVIEWA)) return w;
  }
  return nullptr;
}

HWND PloverProcess::WaitFolderPicker(int timeoutMs) {
  const auto start = Clock::now();
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FolderPickerNow();
        return found != nullptr || !Running();
      },
      timeoutMs);
  Trace("wait for the folder picker", start);
  return found;
}

bool PloverProcess::Answer(const Dialog& box, int id, int timeoutMs) {
  if (!IsWindow(box.hwnd)) return false;
  const auto start = Clock::now();
  HWND button = GetDlgItem(box.hwnd, id);
  PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  const bool closed =
      WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, timeoutMs);
  Trace("answer a dialog", start);
  return closed;
}

namespace {

// Memory in Plover's process, for messages that carry a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size)
      : process_(process),
        at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* at(SIZE_T offset = 0) const { return static_cast<char*>(at_) + offset; }
  bool ok() const { return at_ != nullptr; }
  bool Put(SIZE_T offset, const void* data, SIZE_T size) const {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, at(offset), data, size, &done) && done == size;
  }
  bool Get(SIZE_T offset, void* data, SIZE_T size) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, at(offset), data, size, &done) && done == size;
  }

 private:
  HANDLE process_;
  void* at_;
};

// The text of the picker's selected folder (its display name).
std::optional<std::wstring> SelectedFolderName(HANDLE process, HWND picker) {
  HWND tree = nullptr;
  for (HWND c : Children(picker)) {
    if (ClassOf(c) == WC_TREEVIEWA) tree = c;
  }
  if (!tree) return std::nullopt;
  DWORD_PTR item = 0;
  if (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_ABORTIFHUNG, 2000, &item) ||
      !item) {
    return std::nullopt;
  }
  constexpr int kChars = MAX_PATH;
  RemoteBuffer remote(process, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
  if (!remote.ok()) return std::nullopt;
  TVITEMW tv{};
  tv.mask = TVIF_TEXT | TVIF_HANDLE;
  tv.hItem = reinterpret_cast<HTREEITEM>(item);
  tv.pszText = static_cast<wchar_t*>(remote.at(sizeof(TVITEMW)));
  tv.cchTextMax = kChars;
  DWORD_PTR got = 0;
  if (!remote.Put(0, &tv, sizeof(tv)) ||
      !SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at()),
                           SMTO_ABORTIFHUNG, 2000, &got) ||
      !got) {
    return std::nullopt;
  }
  wchar_t text[kChars + 1] = {};
  if (!remote.Get(sizeof(TVITEMW), text, kChars * sizeof(wchar_t))) return std::nullopt;
  return std::wstring(text);
}

std::string DumpTree(HANDLE process, HWND picker) {
  HWND tree = nullptr;
  for (HWND c : Children(picker))
    if (ClassOf(c) == WC_TREEVIEWA) tree = c;
  if (!tree) return "no tree";
  RemoteBuffer remote(process, sizeof(TVITEMW) + 600 * sizeof(wchar_t));
  std::string out;
  std::function<void(DWORD_PTR, int)> walk = [&](DWORD_PTR item, int depth) {
    int n = 0;
    while (item && n++ < 40) {
      TVITEMW tv{};
      tv.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_STATE | TVIF_CHILDREN;
      tv.stateMask = 0xFF;
      tv.hItem = reinterpret_cast<HTREEITEM>(item);
      tv.pszText = static_cast<wchar_t*>(remote.at(sizeof(TVITEMW)));
      tv.cchTextMax = 600;
      DWORD_PTR got = 0;
      remote.Put(0, &tv, sizeof tv);
      SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at()),
                          SMTO_ABORTIFHUNG, 2000, &got);
      TVITEMW back{};
      remote.Get(0, &back, sizeof back);
      wchar_t text[601] = {};
      remote.Get(sizeof(TVITEMW), text, 600 * sizeof(wchar_t));
      char buf[64];
      snprintf(buf, sizeof buf, " st=%x ch=%d", back.state, back.cChildren);
      out += std::string(depth * 2, ' ') + Utf8(text) + buf + "\n";
      DWORD_PTR child = 0;
      if (back.state & TVIS_EXPANDED) {
        SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CHILD, item, SMTO_ABORTIFHUNG, 2000,
                            &child);
        walk(child, depth + 1);
      }
      SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item, SMTO_ABORTIFHUNG, 2000, &item);
    }
  };
  DWORD_PTR root = 0;
  SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, SMTO_ABORTIFHUNG, 2000, &root);
  walk(root, 0);
  return out;
}
}  // namespace

bool PloverProcess::DropFiles(HWND window, const std::vector<std::string>& paths) {
  if (!process_ || !IsWindow(window)) return false;
  std::wstring list;
  for (const auto& p : paths) list += Wide(p) + L'\0';
  list += L'\0';
  DROPFILES head{};
  head.pFiles = sizeof head;
  head.pt = POINT{20, 20};
  head.fNC = FALSE;
  head.fWide = TRUE;
  const SIZE_T size = sizeof head + list.size() * sizeof(wchar_t);
  void* at = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!at) return false;
  SIZE_T done = 0;
  const bool written = WriteProcessMemory(process_, at, &head, sizeof head, &done) &&
                       done == sizeof head &&
                       WriteProcessMemory(process_, static_cast<char*>(at) + sizeof head,
                                          list.data(), list.size() * sizeof(wchar_t), &done) &&
                       done == list.size() * sizeof(wchar_t);
  if (!written) {
    VirtualFreeEx(process_, at, 0, MEM_RELEASE);
    return false;
  }
  return PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(at), 0) != FALSE;
}

bool PloverProcess::ChooseFolder(HWND picker, const std::string& folder, int timeoutMs) {
  if (!IsWindow(picker)) return false;
  const auto start = Clock::now();
  std::string trimmed = folder;
  while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
  const std::wstring path = Wide(trimmed);
  const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  const SIZE_T size = (path.size() + 1) * sizeof(wchar_t);
  RemoteBuffer remote(process_, size);
  if (!remote.ok() || !remote.Put(0, path.c_str(), size)) return false;
  // The tree fills in as it goes: the selection is asked for again until the
  // picker shows the folder selected. Each request is let finish first (the
  // picker takes seconds over it on a busy machine): requests piling up would
  // keep the picker busy, and it would answer no question about its tree.
  const bool selected = WaitUntil(
      [&] {
        const int left = std::max(timeoutMs - ElapsedMs(start), 1);
        DWORD_PTR result = 0;
        const auto asked = Clock::now();
        const bool answered =
            SendMessageTimeoutW(picker, kSetSelectionW, TRUE, reinterpret_cast<LPARAM>(remote.at()),
                                SMTO_NORMAL, static_cast<UINT>(left), &result) != 0;
        Trace(answered ? "ask the picker to select the folder" : "the picker did not answer",
              asked);
        std::optional<std::wstring> now;
        const bool shown = WaitUntil(
            [&] {
              now = SelectedFolderName(process_, picker);
              return now &&
                     CompareStringOrdinal(now->c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL;
            },
            500);
        if (!shown) Trace(("the picker shows " + (now ? Utf8(*now) : "nothing")).c_str(), asked);
        return shown || !IsWindow(picker);
      },
      timeoutMs, 50);
  Trace("select a folder in the picker", start);
  if (!selected) fprintf(stderr, "TREE:\n%s", DumpTree(process_, picker).c_str());
  if (!selected || !IsWindow(picker)) return false;
  Dialog d;
  d.hwnd = picker;
  return Answer(d, IDOK, timeoutMs);
}

bool PloverProcess::CancelPicker(HWND picker, int timeoutMs) {
  Dialog d;
  d.hwnd = picker;
  return Answer(d, IDCANCEL, timeoutMs);
}

std::string PloverProcess::Describe() const {
  std::string out = Running() ? "running;" : "ended;";
  for (HWND w : VisibleWindows()) {
    out.append(" [").append(ClassOf(w)).append(" \"");
    out.append(TextOf(w, 500).value_or("?")).append("\"");
    for (HWND c : Children(w)) {
      const auto t = TextOf(c, 500);
      if (t && !t->empty())
        out.append(" ").append(ClassOf(c)).append(":\"").append(*t).append("\"");
    }
    out.append("]");
  }
  return out;
}

std::optional<DWORD> PloverProcess::CloseMainWindow(int timeoutMs) {
  HWND main = MainWindow();
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  return WaitExit(timeoutMs);
}

}  // namespace e2e
