#include "plover/controls/win32/qq_button.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>

#include "common/win32/scoped.h"
#include "common/win32/wide.h"
#include "common/win32/win32_util.h"
#include "common/win32/window.h"
#include "plover/controls/button_model.h"
#include "plover/controls/render.h"
#include "plover/controls/win32/gdi.h"

namespace plover::controls {

// The frame's classes, from the controls' class `wc` (qq_form.cpp).
bool RegisterForm(WNDCLASSEXW wc);

namespace {

// Sent to child windows after the parent has moved to another DPI (Windows 10).
constexpr UINT kDpiChangedAfterParent = 0x02E3;

// Set on a top-level window once the keyboard has been used in it: from then
// on its buttons show the focus.
constexpr const wchar_t* kFocusCuesProperty = L"Plover.FocusCues";

bool FocusCuesShown(HWND hwnd) {
  BOOL always = FALSE;
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0);
  return always || GetPropW(GetAncestor(hwnd, GA_ROOT), kFocusCuesProperty) != nullptr;
}

float ToTwips(int pixels, UINT dpi) {
  return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(dpi);
}

int ShiftState() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

class Button final : public win::Window {
 public:
  static Window* Make(const CREATESTRUCTW&) { return new Button; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  UINT Dpi() const { return win::DpiOf(hwnd_); }
  // Takes the state's image and has the button painted again.
  void PrintB(int state);
  // Draws the face into the surface if it changed since it was last drawn:
  // a button is drawn when it is painted, not each time it is told of a
  // change (at start each one hears of its text, size, font and picture).
  void Render();
  // Sets what the button shows and repaints it in its normal look.
  template <typename T>
  LRESULT Show(T& field, T value) {
    field = value;
    PrintB(kStateNormal);
    return 0;
  }
  void PrintCaption(HDC dc, int w, int h, UINT dpi);
  HFONT Font() const;
  // Carries out everything but the click; true when the host is to get one.
  bool Apply(const ButtonEffects& e);
  // Raises Click to the host. The host may destroy the button meanwhile, so
  // nothing may follow it.
  void RaiseClick();
  void Notify(UINT code, int button, LPARAM lParam);
  void ShowFocusCues();
  bool Inside(LPARAM lParam) const;
  LRESULT MouseDown(MouseButton button, LPARAM lParam);
  LRESULT MouseUp(int button, LPARAM lParam);

  ButtonModel model_;
  gdi::Surface surface_;
  HFONT font_ = nullptr;
  HICON picture_ = nullptr;
  int32_t style_ = 0;
  std::wstring keys_;
  COLORREF foreColor_ = CLR_DEFAULT;
  int image_ = kImageNormal;
  bool stale_ = true;  // the surface does not show the button as it is
};

HFONT Button::Font() const {
  if (font_) return font_;
  if (HWND parent = GetParent(hwnd_)) {
    if (auto f = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0))) return f;
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Button::PrintB(int state) {
  image_ = StateImageFor(state, IsWindowEnabled(hwnd_) != FALSE);
  stale_ = true;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void Button::Render() {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const int w = rc.right, h = rc.bottom;
  if (!stale_ && surface_.width() == std::max(w, 1) && surface_.height() == std::max(h, 1)) return;
  if (!surface_.Resize(w, h)) return;
  stale_ = false;
  const UINT dpi = Dpi();
  surface_.Put(ButtonFace(surface_.width(), surface_.height(), image_, dpi));
  PrintCaption(surface_.dc(), w, h, dpi);
}

void Button::PrintCaption(HDC dc, int w, int h, UINT dpi) {
  const int len = GetWindowTextLengthW(hwnd_);
  std::wstring caption(static_cast<size_t>(len) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(hwnd_, caption.data(), len + 1)));

  const win::SelectScope font(dc, Font());
  SIZE text{0, 0};
  if (!caption.empty()) {
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  }
  const SIZE pic = gdi::IconSize(picture_);
  // A picture's own size is its size at 96 DPI.
  const float iw = static_cast<float>(pic.cx * kImageTwipsPerPixel);
  const float ih = static_cast<float>(pic.cy * kImageTwipsPerPixel);
  const CaptionPlacement place =
      PlaceCaption(ToTwips(w, dpi), ToTwips(h, dpi), !caption.empty(), ToTwips(text.cx, dpi),
                   ToTwips(text.cy, dpi), picture_ != nullptr, iw, ih, style_);
  if (place.picture) {
    DrawIconEx(dc, TwipsToPixels(place.picture->x, dpi), TwipsToPixels(place.picture->y, dpi),
               picture_, TwipsToPixels(iw, dpi), TwipsToPixels(ih, dpi), 0, nullptr, DI_NORMAL);
  }
  if (place.caption) {
    SetBkMode(dc, TRANSPARENT);
    const int n = static_cast<int>(caption.size());
    const float x = place.caption->x, y = place.caption->y;
    if (IsWindowEnabled(hwnd_)) {
      SetTextColor(dc, foreColor_ == CLR_DEFAULT ? GetSysColor(COLOR_BTNTEXT) : foreColor_);
      TextOutW(dc, TwipsToPixels(x, dpi), TwipsToPixels(y, dpi), caption.c_str(), n);
    } else {
      // Embossed: a white copy below right, the grey one over it.
      SetTextColor(dc, RGB(255, 255, 255));
      TextOutW(dc, TwipsToPixels(x + kEmbossTwips, dpi), TwipsToPixels(y + kEmbossTwips, dpi),
               caption.c_str(), n);
      SetTextColor(dc, RGB(128, 128, 128));
      TextOutW(dc, TwipsToPixels(x, dpi), TwipsToPixels(y, dpi), caption.c_str(), n);
    }
  }
}

bool Button::Apply(const ButtonEffects& e) {
  if (e.repaint) PrintB(*e.repaint);
  if (e.capture && GetCapture() != hwnd_) SetCapture(hwnd_);
  if (e.releaseCapture && GetCapture() == hwnd_) ReleaseCapture();
  return e.click;
}

void Button::RaiseClick() {
  HWND parent = GetParent(hwnd_);
  const auto id = static_cast<WORD>(GetDlgCtrlID(hwnd_));
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd_));
}

void Button::Notify(UINT code, int button, LPARAM lParam) {
  const UINT dpi = Dpi();
  NMQQBUTTONMOUSE nm{};
  nm.hdr.hwndFrom = hwnd_;
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
  nm.hdr.code = code;
  nm.button = button;
  nm.shift = ShiftState();
  nm.x = ToTwips(GET_X_LPARAM(lParam), dpi);
  nm.y = ToTwips(GET_Y_LPARAM(lParam), dpi);
  SendMessageW(GetParent(hwnd_), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

bool Button::Inside(LPARAM lParam) const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  return x >= 0 && x <= rc.right && y >= 0 && y <= rc.bottom;
}

void Button::ShowFocusCues() {
  HWND root = GetAncestor(hwnd_, GA_ROOT);
  if (!root || GetPropW(root, kFocusCuesProperty)) return;
  SetPropW(root, kFocusCuesProperty, reinterpret_cast<HANDLE>(1));
  // The other controls of the window learn it the Windows way.
  SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT Button::MouseDown(MouseButton button, LPARAM lParam) {
  Notify(QQBN_MOUSEDOWN, static_cast<int>(button), lParam);
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  Apply(model_.Down(button));
  return 0;
}

LRESULT Button::MouseUp(int button, LPARAM lParam) {
  Notify(QQBN_MOUSEUP, button, lParam);
  if (Apply(model_.Up(Inside(lParam)))) RaiseClick();
  return 0;
}

LRESULT Button::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
    case WM_SIZE:
    case kDpiChangedAfterParent:
      PrintB(kStateNormal);
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) PrintB(kStateNormal);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      Render();
      const win::PaintScope paint(hwnd_);
      const HDC dc = paint.dc();
      surface_.CopyTo(dc);
      if (GetFocus() == hwnd_ && FocusCuesShown(hwnd_)) {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        InflateRect(&rc, -3, -3);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &rc);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      Render();
      surface_.CopyTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcW(hwnd_, msg, wParam, lParam);
      PrintB(kStateNormal);
      return r;
    }
    case WM_SETFONT:
      return Show(font_, reinterpret_cast<HFONT>(wParam));
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
      if (!wParam && GetCapture() == hwnd_) ReleaseCapture();
      PrintB(kStateNormal);
      return 0;
    case WM_SETFOCUS:
      // Focus that arrives by Tab or the arrow keys is the keyboard in use.
      if (GetKeyState(VK_TAB) < 0 || GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0 ||
          GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0) {
        ShowFocusCues();
      }
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_UPDATEUISTATE: {
      const LRESULT r = DefWindowProcW(hwnd_, msg, wParam, lParam);
      if (LOWORD(wParam) == UIS_CLEAR && (HIWORD(wParam) & UISF_HIDEFOCUS)) ShowFocusCues();
      return r;
    }
    case WM_MOUSEMOVE: {
      int buttons = 0;
      if (wParam & MK_LBUTTON) buttons |= 1;
      if (wParam & MK_RBUTTON) buttons |= 2;
      if (wParam & MK_MBUTTON) buttons |= 4;
      Notify(QQBN_MOUSEMOVE, buttons, lParam);
      RECT rc{};
      GetClientRect(hwnd_, &rc);
      const UINT dpi = Dpi();
      Apply(model_.Move(ToTwips(GET_X_LPARAM(lParam), dpi), ToTwips(GET_Y_LPARAM(lParam), dpi),
                        ToTwips(rc.right, dpi), ToTwips(rc.bottom, dpi)));
      return 0;
    }
    case WM_LBUTTONDOWN:
      return MouseDown(MouseButton::kLeft, lParam);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return MouseDown(MouseButton::kRight, lParam);
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return MouseDown(MouseButton::kMiddle, lParam);
    case WM_LBUTTONDBLCLK:
      // The second press of a double click: the first one was the click.
      Apply(model_.DoubleClick());
      return 0;
    case WM_LBUTTONUP:
      return MouseUp(1, lParam);
    case WM_RBUTTONUP:
      return MouseUp(2, lParam);
    case WM_MBUTTONUP:
      return MouseUp(4, lParam);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_) Apply(model_.CaptureLost());
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd_) ReleaseCapture();
      return 0;
    case WM_GETDLGCODE: {
      const auto* m = reinterpret_cast<const MSG*>(lParam);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
      return 0;
    }
    case WM_SYSKEYDOWN:
      ShowFocusCues();
      break;
    case WM_KEYDOWN:
      ShowFocusCues();
      if (wParam == VK_RETURN && Apply(model_.Enter())) RaiseClick();
      return 0;
    case WM_SYSCHAR:
      if (DispatchAccessKey(GetAncestor(hwnd_, GA_ROOT), static_cast<wchar_t>(wParam))) return 0;
      break;
    case BM_CLICK:
      // A left click, as automation and screen readers press a button.
      Apply(model_.Down(MouseButton::kLeft));
      if (Apply(model_.Up(true))) RaiseClick();
      return 0;
    case QQBM_SETPICTURE:
      return Show(picture_, reinterpret_cast<HICON>(wParam));
    case QQBM_GETPICTURE:
      return reinterpret_cast<LRESULT>(picture_);
    case QQBM_SETSTYLE:
      return Show(style_, static_cast<int32_t>(wParam));
    case QQBM_GETSTYLE:
      return style_;
    case QQBM_SETKEYS: {
      const auto* keys = reinterpret_cast<const wchar_t*>(lParam);
      keys_.clear();
      if (const auto key = keys && keys[0] ? win::Utf8(std::wstring_view(keys, 1)) : std::nullopt) {
        keys_ = win::Wide(AccessKeyOf(*key)).value_or(std::wstring());
      }
      CharUpperBuffW(keys_.data(), static_cast<DWORD>(keys_.size()));
      return 0;
    }
    case QQBM_GETKEYS:
      return keys_.empty() ? 0 : keys_[0];
    case QQBM_SETFORECOLOR:
      return Show(foreColor_, static_cast<COLORREF>(wParam));
    case QQBM_PRINTB:
      PrintB(static_cast<int>(wParam));
      return 0;
    case QQBM_GETSTATUS:
      return image_ | (model_.hovering() ? kStatusHovering : 0) |
             (model_.leftPressed() ? kStatusLeftPressed : 0);
    case QQBM_ACCESSKEY:
      if (keys_.empty() || static_cast<wchar_t>(wParam) != keys_[0]) return FALSE;
      if (Apply(model_.AccessKey())) RaiseClick();
      return TRUE;
    default:
      break;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace

bool RegisterControls(HINSTANCE instance) {
  // Every class of the controls takes double clicks and the arrow pointer.
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kQQButtonClass;
  return win::Window::Register(wc, Button::Make) && RegisterForm(wc);
}

void SetPicture(HWND button, HICON picture) {
  SendMessageW(button, QQBM_SETPICTURE, reinterpret_cast<WPARAM>(picture), 0);
}

void SetStyle(HWND button, int32_t style) {
  SendMessageW(button, QQBM_SETSTYLE, static_cast<WPARAM>(style), 0);
}

bool SetKeys(HWND button, std::string_view keys) {
  const auto w = win::Wide(keys);
  if (!w) return false;
  SendMessageW(button, QQBM_SETKEYS, 0, reinterpret_cast<LPARAM>(w->c_str()));
  return true;
}

std::string Keys(HWND button) {
  const auto key = static_cast<wchar_t>(SendMessageW(button, QQBM_GETKEYS, 0, 0));
  // The key is one UTF-16 unit that converted when it was set: it converts back.
  return key ? win::Utf8(std::wstring_view(&key, 1)).value_or(std::string()) : std::string();
}

void PrintB(HWND button, int state) {
  SendMessageW(button, QQBM_PRINTB, static_cast<WPARAM>(state), 0);
}

ButtonStatus StatusOf(HWND button) {
  const LRESULT s = SendMessageW(button, QQBM_GETSTATUS, 0, 0);
  return {static_cast<int>(s & 0xFF), (s & kStatusHovering) != 0, (s & kStatusLeftPressed) != 0};
}

namespace {

struct AccessKeySearch {
  wchar_t key;
  bool found;
};

BOOL CALLBACK OfferAccessKey(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<AccessKeySearch*>(lParam);
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (lstrcmpiW(cls, kQQButtonClass) == 0 && IsWindowVisible(hwnd) &&
      SendMessageW(hwnd, QQBM_ACCESSKEY, search->key, 0)) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool DispatchAccessKey(HWND root, wchar_t key) {
  if (!root || !key) return false;
  wchar_t upper[2] = {key, 0};
  CharUpperBuffW(upper, 1);
  AccessKeySearch search{upper[0], false};
  EnumChildWindows(root, OfferAccessKey, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace plover::controls
