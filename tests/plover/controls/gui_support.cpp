#include "tests/plover/controls/gui_support.h"

#include <chrono>

#include "common/win32/wide.h"
#include "plover/controls/win32/gdi.h"
#include "plover/controls/win32/qq_button.h"
#include "tests/support/input.h"
#include "tests/support/screen.h"

namespace plover::controls::gui {

namespace {

using Clock = std::chrono::steady_clock;

// When a mouse button was last pressed.
Clock::time_point g_lastPress{};

void PumpOnce() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SendKey(WORD vk, bool up) {
  testing::SendKeys({testing::KeyInput(vk, up)});
}

const wchar_t* const kHostClass = L"PloverTestHost";

}  // namespace

void Settle(int ms) {
  constexpr UINT kWork = QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT;
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  for (int quiet = 0; quiet < 2 && Clock::now() < end;) {
    PumpOnce();
    if (HIWORD(GetQueueStatus(kWork)) & kWork) {
      quiet = 0;
      continue;
    }
    if (++quiet < 2) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    PumpOnce();
    if (done()) return true;
    if (Clock::now() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void MouseTo(POINT screen) {
  MouseAt(screen, {});
}

void MouseAt(POINT screen, std::initializer_list<DWORD> events) {
  testing::SendMouse(screen, events);
  for (DWORD e : events) {
    if (e & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_MIDDLEDOWN)) {
      g_lastPress = Clock::now();
    }
  }
  Settle();
}

void MousePath(const std::vector<std::pair<POINT, DWORD>>& steps) {
  testing::SendMousePath(steps);
  for (const auto& step : steps) {
    if (step.second & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_MIDDLEDOWN)) {
      g_lastPress = Clock::now();
    }
  }
  Settle();
}

void Click(POINT screen) {
  MouseAt(screen, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void KeyTap(WORD vk) {
  SendKey(vk, false);
  SendKey(vk, true);
  Settle();
}
void KeyDown(WORD vk) {
  SendKey(vk, false);
  Settle();
}
void KeyUp(WORD vk) {
  SendKey(vk, true);
  Settle();
}

void MouseAway() {
  MouseTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3});
  const auto pairs = std::chrono::milliseconds(GetDoubleClickTime() + 50);
  WaitFor([&] { return Clock::now() - g_lastPress > pairs; },
          static_cast<int>(pairs.count()) + 100);
}

POINT OnScreen(HWND hwnd, int x, int y) {
  POINT pt{x, y};
  ClientToScreen(hwnd, &pt);
  return pt;
}

POINT CentreOf(HWND hwnd) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  return OnScreen(hwnd, rc.right / 2, rc.bottom / 2);
}

Image Capture(HWND hwnd) {
  const auto shown = testing::CaptureScreen(testing::ClientOnScreen(hwnd));
  Image out(shown.width, shown.height, 0);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) out.Set(x, y, Opaque(shown.At(x, y)));
  }
  return out;
}

void SaveScreenshot(HWND hwnd, const std::string& name) {
  RECT frame{};
  GetWindowRect(hwnd, &frame);
  // The build folder as Wine sees it.
  std::wstring dir = win::Wide(PLOVER_SCREENSHOT_DIR).value();
  if (!dir.empty() && dir[0] == L'/') dir = L"Z:" + dir;
  for (wchar_t& c : dir) c = c == L'/' ? L'\\' : c;
  CreateDirectoryW(dir.c_str(), nullptr);
  testing::SaveBmp(testing::CaptureScreen(frame), dir + L"\\" + win::Wide(name).value() + L".bmp");
}

TestHost::TestHost(DWORD style, int width, int height, const wchar_t* caption, HICON icon) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterControls(instance);
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  Register(wc);
  CreateWindowExW(0, kHostClass, caption, style, 120, 100, width, height, nullptr, nullptr,
                  instance, static_cast<Window*>(this));
  if (icon) {
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  UpdateWindow(hwnd_);
  Settle();
}

TestHost::~TestHost() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  Settle();
}

HWND TestHost::AddButton(int id, const wchar_t* caption, int x, int y, int w, int h,
                         const wchar_t* windowClass, DWORD style) {
  HWND b = CreateWindowExW(0, windowClass, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x,
                           y, w, h, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  Settle();
  return b;
}

LRESULT TestHost::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) clicks.push_back(LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* nm = reinterpret_cast<const NMQQBUTTONMOUSE*>(lParam);
      const UINT code = nm->hdr.code;
      if (code == QQBN_MOUSEDOWN || code == QQBN_MOUSEUP) mouse.push_back({code, nm->button});
      return 0;
    }
    case WM_CLOSE:
      ++closeRequests;
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      destroyed = true;
      return 0;
    default:
      return Window::HandleMessage(msg, wParam, lParam);
  }
}

HICON SolidIcon(int size, uint32_t rgb) {
  return gdi::MakeIcon(Image(size, size, Opaque(rgb))).release();
}

}  // namespace plover::controls::gui
