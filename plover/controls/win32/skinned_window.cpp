#include "plover/controls/win32/skinned_window.h"

#include "common/win32/late_bound.h"
#include "common/win32/wide.h"
#include "common/win32/win32_util.h"
#include "plover/controls/art.h"
#include "plover/controls/geometry.h"
#include "plover/controls/win32/gdi.h"
#include "plover/controls/win32/qq_button.h"

namespace plover::controls {

namespace {

// Posted to a modal window once it has been shown.
constexpr UINT kShownMessage = WM_APP + 0x50;

SkinnedWindow* topModal = nullptr;

// A control's place at `dpi`, in the window's pixels: each of its four
// numbers converted on its own, at creation and after a change of DPI alike.
RECT PlaceOf(const ControlSpec& c, UINT dpi) {
  const int left = TwipsToPixels(c.left, dpi), top = TwipsToPixels(c.top, dpi);
  return {left, top, left + TwipsToPixels(c.width, dpi), top + TwipsToPixels(c.height, dpi)};
}

HWND TopModalWindow() {
  return topModal ? topModal->hwnd() : nullptr;
}

// An edit never keeps text that cannot reach the program as UTF-8 (a lone
// surrogate pasted in): the change is undone, or else the text cleared.
void RefuseUnconvertible(HWND edit) {
  static bool refusing = false;
  if (refusing || win::WindowText(edit)) return;
  refusing = true;
  MessageBeep(MB_ICONWARNING);
  if (!SendMessageW(edit, EM_UNDO, 0, 0) || !win::WindowText(edit)) SetWindowTextW(edit, L"");
  SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
  refusing = false;
}

}  // namespace

HWND CurrentOwner(HWND fallback) {
  const HWND top = TopModalWindow();
  return top ? top : fallback;
}

SIZE SkinnedWindow::OuterSize() const {
  RECT r{0, 0, TwipsToPixels(look_.clientWidth, dpi_), TwipsToPixels(look_.clientHeight, dpi_)};
  // Windows 10 and later only.
  static const auto adjustForDpi = win::LateBound<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>(
      L"user32.dll", "AdjustWindowRectExForDpi");
  if (adjustForDpi) {
    adjustForDpi(&r, look_.style, FALSE, 0, dpi_);
  } else {
    AdjustWindowRectEx(&r, look_.style, FALSE, 0);
  }
  return SIZE{r.right - r.left, r.bottom - r.top};
}

bool SkinnedWindow::Create(HWND owner, const std::string& caption) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = look_.className;
  const auto text = win::Wide(caption);
  if (!text || !Register(wc) || !RegisterControls(instance)) return false;

  // The skinned frame draws the border and title bar: the window has none of
  // its own, so its outer size is its client size.
  dpi_ = win::DpiOf(owner);
  SIZE size = OuterSize();
  RECT area{};
  if (owner && IsWindowVisible(owner)) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  const int x = area.left + (area.right - area.left - size.cx) / 2;
  const int y = area.top + (area.bottom - area.top - size.cy) / 2;
  CreateWindowExW(0, look_.className, text->c_str(), look_.style, x, y, size.cx, size.cy, owner,
                  nullptr, instance, static_cast<Window*>(this));
  if (!hwnd_) return false;
  // The window may have been placed on a monitor with another DPI.
  if (const UINT actual = win::DpiOf(hwnd_); actual != dpi_) {
    dpi_ = actual;
    size = OuterSize();
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Each control is made in its place and font: nothing moves before it is
  // first shown.
  for (const auto& c : look_.controls) {
    const auto label = win::Wide(c.text);
    if (!label) return false;
    const RECT r = PlaceOf(c, dpi_);
    const HWND h =
        CreateWindowExW(0, c.windowClass ? c.windowClass : kQQButtonClass, label->c_str(), c.style,
                        r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    if (!h) return false;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.font)), FALSE);
  }
  OnCreate();
  frame_.Attach(hwnd_, this, &SkinnedWindow::OwnMessageOf, this);
  return true;
}

void SkinnedWindow::RunModal(HWND owner, const std::string& caption) {
  done_ = false;
  if (!Create(owner, caption)) {
    if (hwnd_) DestroyWindow(hwnd_);
    return;
  }
  outer_ = topModal;
  topModal = this;
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  PostMessageW(hwnd_, kShownMessage, 0, 0);

  MSG msg;
  while (!done_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // Leave the quit message for the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  // The opener takes input again before this window goes, so that it, and
  // not some other program, becomes the active window.
  if (owner && ownerWasEnabled) EnableWindow(owner, TRUE);
  topModal = outer_;
  if (hwnd_) DestroyWindow(hwnd_);
  if (owner && IsWindowVisible(owner)) SetActiveWindow(owner);
}

void SkinnedWindow::ShowProgramIcon() {
  icon_ = gdi::MakeIcon(art::AppIcon(32));
  smallIcon_ = gdi::MakeIcon(art::AppIcon(16));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

std::string SkinnedWindow::ItemText(int id) const {
  return win::WindowText(Item(id)).value_or(std::string());
}

void SkinnedWindow::SetItemText(int id, std::string_view text) const {
  win::SetWindowText(Item(id), text);
}

void SkinnedWindow::ShowStatus(int id, std::string_view text) const {
  SetItemText(id, text);
  UpdateWindow(Item(id));
}

HFONT SkinnedWindow::FontOf(FontKind kind) {
  if (fontDpi_ != dpi_) {
    for (auto& f : fonts_) f.reset();
    fontDpi_ = dpi_;
  }
  win::UniqueFont& font = fonts_[static_cast<size_t>(kind)];
  if (!font) {
    switch (kind) {
      case FontKind::kHelp:
        font = win::MakeFont(L"新宋体", 90, false, dpi_);
        break;
      case FontKind::kList:
        font = win::MakeFont(L"宋体", 105, true, dpi_);
        break;
      case FontKind::kLink:
        font = win::MakeFont(L"宋体", 90, false, dpi_, /*underline=*/true);
        break;
      case FontKind::kNormal:
        font = win::MakeFont(L"宋体", 90, false, dpi_);
        break;
    }
  }
  return font.get();
}

void SkinnedWindow::Layout() {
  for (const auto& c : look_.controls) {
    const HWND h = Item(c.id);
    const RECT r = PlaceOf(c, dpi_);
    MoveWindow(h, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.font)), FALSE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT SkinnedWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Before the frame is attached, and after it has gone, the window alone.
  if (!frame_.host()) return OwnMessage(msg, wParam, lParam);
  return frame_.HostMessage(msg, wParam, lParam);
}

LRESULT SkinnedWindow::OwnMessageOf(void* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  return static_cast<SkinnedWindow*>(self)->OwnMessage(msg, wParam, lParam);
}

LRESULT SkinnedWindow::OwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
    RefuseUnconvertible(reinterpret_cast<HWND>(lParam));
  }
  if (msg == kShownMessage) {
    OnShown();
    return 0;
  }
  LRESULT result = 0;
  if (OnMessage(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DPICHANGED: {
      // The suggested place, at the size the client area takes at that DPI.
      const auto* r = reinterpret_cast<const RECT*>(lParam);
      dpi_ = HIWORD(wParam);
      const SIZE size = OuterSize();
      SetWindowPos(hwnd_, nullptr, r->left, r->top, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      OnDpiChanged(dpi_);
      return 0;
    }
    default:
      return Window::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace plover::controls
