#include "plover/controls/window_base.h"

#include "plover/controls/qq_button.h"

namespace plover::win {

namespace {
constexpr const wchar_t* kModalClass = L"PloverModal";
ModalWindow* topModal = nullptr;

UINT SystemDpi() {
  return DpiOf(nullptr);
}
}  // namespace

const wchar_t* PushButtonClass() {
  return controls::kQQButtonClass;
}

void Fonts::Make(UINT dpi) {
  normal = MakeFont(L"宋体", 90, false, dpi);
  help = MakeFont(L"新宋体", 90, false, dpi);
  list = MakeFont(L"宋体", 105, true, dpi);
}

HFONT Fonts::Of(FontKind kind) const {
  switch (kind) {
    case FontKind::kHelp:
      return help.get();
    case FontKind::kList:
      return list.get();
    default:
      return normal.get();
  }
}

void CreateControls(HWND parent, std::span<const ControlSpec> controls) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  for (const auto& c : controls) {
    CreateWindowExW(0, c.windowClass ? c.windowClass : PushButtonClass(), Wide(c.text).c_str(),
                    c.style, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
  }
}

void LayoutControls(HWND parent, std::span<const ControlSpec> controls, UINT dpi,
                    const Fonts& fonts) {
  for (const auto& c : controls) {
    HWND h = GetDlgItem(parent, c.id);
    MoveWindow(h, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
               TwipsToPixels(c.width, dpi), TwipsToPixels(c.height, dpi), FALSE);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Of(c.font)), FALSE);
  }
  InvalidateRect(parent, nullptr, TRUE);
}

SIZE OuterSizeForClient(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, UINT dpi) {
  RECT r{0, 0, TwipsToPixels(widthTwips, dpi), TwipsToPixels(heightTwips, dpi)};
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (adjustForDpi) {
    adjustForDpi(&r, style, FALSE, exStyle, dpi);
  } else {
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
  }
  return SIZE{r.right - r.left, r.bottom - r.top};
}

HWND CurrentOwner(HWND fallback) {
  return topModal && topModal->hwnd() ? topModal->hwnd() : fallback;
}

ModalWindow::~ModalWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void ModalWindow::RunModal(HWND owner, const std::string& caption, int clientWidthTwips,
                           int clientHeightTwips) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kModalClass;
  RegisterClassExW(&wc);
  controls::RegisterControls(instance);

  // The skinned frame draws the border and title bar: the window has none of
  // its own, so its outer size is its client size.
  constexpr DWORD style = WS_POPUP | WS_SYSMENU;
  dpi_ = owner ? DpiOf(owner) : SystemDpi();
  const SIZE size = OuterSizeForClient(clientWidthTwips, clientHeightTwips, style, 0, dpi_);
  RECT area{};
  if (owner && IsWindowVisible(owner)) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  const int x = area.left + (area.right - area.left - size.cx) / 2;
  const int y = area.top + (area.bottom - area.top - size.cy) / 2;

  owner_ = owner;
  done_ = false;
  hwnd_ = CreateWindowExW(0, kModalClass, Wide(caption).c_str(), style, x, y, size.cx, size.cy,
                          owner, nullptr, instance, this);
  if (!hwnd_) return;
  OnCreate();
  frame_.Attach(hwnd_);
  OnDpiChanged(dpi_);

  outer_ = topModal;
  topModal = this;
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);

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
  if (hwnd_) {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
  if (owner && IsWindowVisible(owner)) SetActiveWindow(owner);
}

void ModalWindow::EndModal() {
  done_ = true;
}

LRESULT CALLBACK ModalWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ModalWindow* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<ModalWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<ModalWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

LRESULT ModalWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnMessage(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_CLOSE:
      EndModal();
      return 0;
    case WM_DPICHANGED: {
      const auto* r = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      dpi_ = HIWORD(wParam);
      OnDpiChanged(dpi_);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

}  // namespace plover::win
