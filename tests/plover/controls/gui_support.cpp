#include "tests/plover/controls/gui_support.h"

#include <chrono>
#include <cstring>

#include "common/win32/owned.h"
#include "common/win32/wide.h"
#include "plover/controls/gdi.h"
#include "plover/controls/qq_button.h"

namespace plover::controls::gui {

namespace {

using Clock = std::chrono::steady_clock;

void PumpOnce() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

INPUT MouseInput(POINT screen, DWORD flags) {
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((screen.x * 65535LL + (cx - 1) / 2) / (cx > 1 ? cx - 1 : 1));
  in.mi.dy = static_cast<LONG>((screen.y * 65535LL + (cy - 1) / 2) / (cy > 1 ? cy - 1 : 1));
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return in;
}

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

const wchar_t* const kHostClass = L"PloverTestHost";

}  // namespace

void Pump(int ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  do {
    PumpOnce();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (Clock::now() < end);
  PumpOnce();
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
  std::vector<INPUT> inputs{MouseInput(screen, MOUSEEVENTF_MOVE)};
  for (DWORD e : events) inputs.push_back(MouseInput(screen, e));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Pump(150);
}

void MousePath(const std::vector<std::pair<POINT, DWORD>>& steps) {
  std::vector<INPUT> inputs;
  for (const auto& [at, event] : steps) inputs.push_back(MouseInput(at, MOUSEEVENTF_MOVE | event));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Pump(300);
}

void Click(POINT screen) {
  MouseAt(screen, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void KeyTap(WORD vk) {
  SendKey(vk, false);
  SendKey(vk, true);
  Pump(150);
}
void KeyDown(WORD vk) {
  SendKey(vk, false);
  Pump(50);
}
void KeyUp(WORD vk) {
  SendKey(vk, true);
  Pump(50);
}

void MouseAway() {
  MouseTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3});
  // Far enough in time that the next click is no double click.
  Pump(static_cast<int>(GetDoubleClickTime()) / 2);
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
  RECT rc{};
  GetClientRect(hwnd, &rc);
  const POINT origin = OnScreen(hwnd, 0, 0);
  gdi::Surface copy;
  Image out(rc.right, rc.bottom, 0);
  if (!copy.Resize(rc.right, rc.bottom)) return out;
  HDC screen = GetDC(nullptr);
  BitBlt(copy.dc(), 0, 0, rc.right, rc.bottom, screen, origin.x, origin.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) out.Set(x, y, Opaque(copy.RgbAt(x, y)));
  }
  return out;
}

void SaveScreenshot(HWND hwnd, const std::string& name) {
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  gdi::Surface copy;
  if (!copy.Resize(w, h)) return;
  HDC screen = GetDC(nullptr);
  BitBlt(copy.dc(), 0, 0, w, h, screen, wr.left, wr.top, SRCCOPY);
  ReleaseDC(nullptr, screen);

  // The build folder as Wine sees it.
  std::wstring dir = win::Wide(PLOVER_SCREENSHOT_DIR).value();
  if (!dir.empty() && dir[0] == L'/') dir = L"Z:" + dir;
  for (wchar_t& c : dir) c = c == L'/' ? L'\\' : c;
  CreateDirectoryW(dir.c_str(), nullptr);
  const DWORD rowBytes = static_cast<DWORD>(w * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + rowBytes * static_cast<DWORD>(h);
  std::vector<char> bytes(file.bfSize, 0);
  std::memcpy(bytes.data(), &file, sizeof file);
  std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
  for (int y = 0; y < h; ++y) {
    char* row = bytes.data() + file.bfOffBits + static_cast<size_t>(h - 1 - y) * rowBytes;
    for (int x = 0; x < w; ++x) {
      const uint32_t c = copy.RgbAt(x, y);
      row[x * 3] = static_cast<char>(c & 0xFF);
      row[x * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<char>((c >> 16) & 0xFF);
    }
  }
  win::UniqueFile out(CreateFileW((dir + L"\\" + win::Wide(name).value() + L".bmp").c_str(),
                                  GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
  DWORD written = 0;
  if (out) WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
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
  Pump(100);
}

TestHost::~TestHost() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  Pump(20);
}

HWND TestHost::AddButton(int id, const wchar_t* caption, int x, int y, int w, int h,
                         const wchar_t* windowClass, DWORD style) {
  HWND b = CreateWindowExW(0, windowClass, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x,
                           y, w, h, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  Pump(50);
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
