#include "plover/controls/win32/qq_form.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "common/win32/common_controls.h"
#include "common/win32/scoped.h"
#include "common/win32/wide.h"
#include "common/win32/win32_util.h"
#include "plover/controls/art.h"
#include "plover/controls/render.h"
#include "plover/controls/win32/qq_button.h"

namespace plover::controls {

namespace {

constexpr UINT_PTR kHostSubclass = 0x51514652;  // "QQFR"
// The title bar's fill behind the caption while a long task runs: a deeper
// blue than the bar, under which the white caption stays readable.
constexpr COLORREF kProgressColour = RGB(24, 96, 180);
// Posted to the frame: give both windows their rounded shape.
constexpr UINT kApplyShape = WM_APP + 0x51;
// Marks a framed window, pointing at its frame.
constexpr const wchar_t* kFrameProperty = L"Plover.QQForm";
// WM_SYSCOMMAND: move the window as if its caption had been pressed.
constexpr WPARAM kMoveFromCaption = 0xF012;

HCURSOR HandPointer() {
  static const win::UniqueCursor hand =
      gdi::MakePointer(art::HandPointer(), art::kHandHotX, art::kHandHotY);
  return hand.get();
}

bool IsClass(HWND hwnd, const wchar_t* name) {
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  return lstrcmpiW(cls, name) == 0;
}

HICON IconOf(HWND hwnd) {
  for (WPARAM kind : {ICON_SMALL, ICON_BIG}) {
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, kind, 0))) return icon;
  }
  if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICONSM))) return icon;
  return reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICON));
}

// Pixels of a rectangle of twips, for placing a window.
RECT PlaceOf(const TwipRect& r, UINT dpi) {
  const PixelRect p = ToPixels(r, dpi);
  return RECT{p.left, p.top, p.right, p.bottom};
}

}  // namespace

// A caption button: its frame, made with it, does all the work. Its control
// id is its CaptionButton plus one.
class FrameButton final : public win::Window {
 public:
  static Window* Make(const CREATESTRUCTW& create) {
    auto* form = static_cast<QQForm*>(create.lpCreateParams);
    const auto index = reinterpret_cast<INT_PTR>(create.hMenu) - 1;
    if (!form || index < 0 || index > 2) return nullptr;
    return new FrameButton(*form, static_cast<CaptionButton>(index));
  }

 private:
  FrameButton(QQForm& form, CaptionButton button) : form_(form), button_(button) {}
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    return form_.HandleButton(hwnd_, button_, msg, wParam, lParam);
  }

  QQForm& form_;
  CaptionButton button_;
};

bool RegisterForm(WNDCLASSEXW wc) {
  wc.lpszClassName = kQQFormClass;
  if (!win::Window::Register(wc)) return false;
  wc.lpszClassName = kQQFormButtonClass;
  return win::Window::Register(wc, FrameButton::Make);
}

QQForm::~QQForm() {
  Detach();
  if (hwnd_) DestroyWindow(hwnd_);
}

QQForm* QQForm::FrameOf(HWND host) {
  return static_cast<QQForm*>(GetPropW(host, kFrameProperty));
}

bool QQForm::Attach(HWND host, FrameContent* content, HostNext next, void* context) {
  if (hwnd_ || !host || FrameOf(host)) return false;
  next_ = next;
  context_ = context;
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(host, GWLP_HINSTANCE));
  if (!RegisterControls(instance)) return false;
  host_ = host;
  content_ = content;
  MakeBorderless();
  RECT wr{};
  GetWindowRect(host_, &wr);
  CreateWindowExW(0, kQQFormClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                  wr.right - wr.left, wr.bottom - wr.top, host_, nullptr, instance,
                  static_cast<Window*>(this));
  if (!hwnd_) {
    host_ = nullptr;
    content_ = nullptr;
    return false;
  }
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i] = CreateWindowExW(0, kQQFormButtonClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                  hwnd_, reinterpret_cast<HMENU>(i + 1), instance, this);
  }
  SetTip(CaptionButton::kClose, kTipClose);
  SetTip(CaptionButton::kMin, kTipMinimize);
  // A host that hands its messages to the frame needs no subclass.
  if (!next_) win::Subclass(host_, HostProc, kHostSubclass, reinterpret_cast<DWORD_PTR>(this));
  SetPropW(host_, kFrameProperty, this);

  // Focus rectangles and access-key underlines wait until the keyboard is
  // used, unless the user asked to see them always.
  BOOL cues = FALSE;
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  if (!cues) {
    SendMessageW(host_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  }
  Refresh();
  return true;
}

HostState QQForm::State() const {
  if (IsIconic(host_)) return HostState::kMinimized;
  if (IsZoomed(host_)) return HostState::kMaximized;
  return HostState::kNormal;
}

void QQForm::MakeBorderless() {
  const LONG_PTR style = GetWindowLongPtrW(host_, GWL_STYLE);
  const LONG_PTR want =
      (style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME)) | WS_CLIPCHILDREN;
  const LONG_PTR ex = GetWindowLongPtrW(host_, GWL_EXSTYLE);
  const LONG_PTR wantEx = ex & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE |
                                                      WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
  if (style == want && ex == wantEx) return;
  SetWindowLongPtrW(host_, GWL_STYLE, want);
  SetWindowLongPtrW(host_, GWL_EXSTYLE, wantEx);
  SetWindowPos(host_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void QQForm::Refresh() {
  if (!host_ || !hwnd_ || refreshing_) return;
  refreshing_ = true;
  MakeBorderless();
  const HostState state = State();
  if (state != HostState::kMinimized) {
    RECT wr{};
    GetWindowRect(host_, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const UINT dpi = win::DpiOf(host_);
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, w, h, SWP_NOACTIVATE);
    if (surface_.Resize(w, h)) {
      Paint();
      if (content_) content_->PaintContent(surface_.dc(), dpi);
      background_.reset(CreatePatternBrush(surface_.bitmap()));
    }
    if (shape_.cx != w || shape_.cy != h) {
      // A window not yet shown takes its shape at once, so that it is shown
      // only once. A shown one waits until it is no longer being sized: a
      // new region then undoes the size on some systems.
      if (IsWindowVisible(host_)) {
        PostMessageW(hwnd_, kApplyShape, 0, 0);
      } else {
        ApplyShape();
      }
    }
    model_.Repaint(state);
    Layout(dpi);
    ShowImages();
    RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  refreshing_ = false;
}

void QQForm::SetProgress(int permille) {
  permille = std::clamp(permille, -1, 1000);
  if (permille == progress_) return;
  progress_ = permille;
  if (!hwnd_ || surface_.width() == 0) return;
  Paint();
  if (content_) content_->PaintContent(surface_.dc(), win::DpiOf(host_));
  const RECT band{0, 0, surface_.width(), titleBar_.bottom};
  InvalidateRect(hwnd_, &band, FALSE);
}

void QQForm::Paint() {
  const UINT dpi = win::DpiOf(host_);
  const int w = surface_.width(), h = surface_.height();
  surface_.Put(FrameFace(w, h, dpi));

  HDC dc = surface_.dc();
  if (progress_ >= 0 && titleBar_.bottom > titleBar_.top) {
    // The title bar's width, buttons included, filled as far as the task has
    // come.
    const int left = titleBar_.left;
    const int full = w - 2 * left;
    const RECT fill{left, titleBar_.top, left + MulDiv(full, progress_, 1000), titleBar_.bottom};
    const win::UniqueBrush brush(CreateSolidBrush(kProgressColour));
    FillRect(dc, &fill, brush.get());
  }
  HICON icon = IconOf(host_);
  if (icon) {
    const PixelRect r = ToPixels(kIconRect, dpi);
    DrawIconEx(dc, r.left, r.top, icon, r.width(), r.height(), 0, nullptr, DI_NORMAL);
  }
  if (fontDpi_ != dpi || !captionFont_) {
    captionFont_ = win::MakeFont(L"宋体", 90, true, dpi);
    fontDpi_ = dpi;
  }
  const int len = GetWindowTextLengthW(host_);
  std::wstring caption(static_cast<size_t>(len) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(host_, caption.data(), len + 1)));
  const TwipPoint at = CaptionTextOrigin(icon != nullptr);
  const win::SelectScope font(dc, captionFont_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutW(dc, TwipsToPixels(at.x, dpi), TwipsToPixels(at.y, dpi), caption.c_str(),
           static_cast<int>(caption.size()));
}

void QQForm::ApplyShape() {
  if (!host_ || IsIconic(host_)) return;
  RECT wr{};
  GetWindowRect(host_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (shape_.cx == w && shape_.cy == h) return;
  const UINT dpi = win::DpiOf(host_);
  const int r = MulDiv(kRoundCornerPixels, static_cast<int>(dpi), 96);
  for (HWND target : {hwnd_, host_}) {
    win::UniqueRegion rgn(
        CreateRoundRectRgn(0, 0, RoundShapeExtent(w, dpi), RoundShapeExtent(h, dpi), r, r));
    // Each window owns its region from then on.
    if (rgn && SetWindowRgn(target, rgn.get(), IsWindowVisible(target))) rgn.release();
  }
  shape_ = {w, h};
}

void QQForm::Layout(UINT dpi) {
  const LONG_PTR style = GetWindowLongPtrW(host_, GWL_STYLE);
  const CaptionButtonsLayout layout =
      LayoutCaptionButtons(PixelsToTwips(surface_.width(), dpi), (style & WS_MINIMIZEBOX) != 0,
                           (style & WS_MAXIMIZEBOX) != 0);
  titleBar_ = PlaceOf(layout.titleBar, dpi);
  const std::array<std::optional<TwipRect>, 3> places{layout.close, layout.min, layout.max};
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (places[i]) {
      const RECT r = PlaceOf(*places[i], dpi);
      SetWindowPos(buttons_[i], HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
      ShowWindow(buttons_[i], SW_HIDE);
    }
  }
}

void QQForm::ShowImages() {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (shown_[i] != model_.image(static_cast<CaptionButton>(i))) {
      InvalidateRect(buttons_[i], nullptr, FALSE);
    }
  }
  SetTip(CaptionButton::kMax, model_.maxTip());
}

void QQForm::SetTip(CaptionButton b, std::string_view tip) {
  HWND button = buttons_[static_cast<size_t>(b)];
  if (!button || win::WindowText(button) == tip) return;
  auto text = win::Wide(tip);
  if (!text) return;
  SetWindowTextW(button, text->c_str());
  if (!tooltip_) return;
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(button);
  ti.lpszText = text->data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void QQForm::MakeTips(HWND button, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (tooltip_ || !hwnd_ || !win::NeedCommonControls()) return;
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, host_, nullptr, instance, nullptr);
  if (!tooltip_) return;
  for (HWND b : buttons_) {
    // Each button's text is its tip.
    std::wstring tip(static_cast<size_t>(GetWindowTextLengthW(b)) + 1, L'\0');
    tip.resize(static_cast<size_t>(GetWindowTextW(b, tip.data(), static_cast<int>(tip.size()))));
    win::AddTip(tooltip_, hwnd_, b, tip.data());
  }
  // The tooltip watches the buttons from now on; this first move it is told of.
  MSG m{button, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  const DWORD pos = GetMessagePos();
  m.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

HBRUSH QQForm::BackgroundFor(HWND child, HDC dc) {
  POINT origin{0, 0};
  MapWindowPoints(child, hwnd_, &origin, 1);
  SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  SetBkMode(dc, TRANSPARENT);
  return background_.get();
}

bool QQForm::InTitleBar(LPARAM lParam) const {
  const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&titleBar_, pt) != FALSE;
}

void QQForm::KeepAtBottom() {
  if (hwnd_) {
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void QQForm::Detach() {
  if (host_) {
    if (!next_) win::Unsubclass(host_, HostProc, kHostSubclass);
    RemovePropW(host_, kFrameProperty);
  }
  host_ = nullptr;
}

void QQForm::Run(FrameCommand command) {
  switch (command) {
    case FrameCommand::kClose: {
      // The window may be gone, and this frame with it, once WM_CLOSE returns.
      const auto closed = onCloseClick;
      SendMessageW(host_, WM_CLOSE, 0, 0);
      if (closed) closed();
      return;
    }
    case FrameCommand::kMinimize:
      ShowWindow(host_, SW_MINIMIZE);
      if (onMinClick) onMinClick();
      return;
    case FrameCommand::kToggleMaximize: {
      const HostState now = State();
      const HostState next = Toggled(now);
      if (next == HostState::kMaximized) {
        ShowWindow(host_, SW_MAXIMIZE);
        // Sized explicitly as well: some window systems only note the state,
        // and a later change of shape would take the old size back.
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (GetMonitorInfoW(MonitorFromWindow(host_, MONITOR_DEFAULTTONEAREST), &mi)) {
          const RECT& r = mi.rcWork;
          SetWindowPos(host_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        }
      } else if (next != now) {
        ShowWindow(host_, SW_RESTORE);
      }
      Refresh();
      if (onMaxClick) onMaxClick();
      return;
    }
    case FrameCommand::kNone:
      return;
  }
}

LRESULT CALLBACK QQForm::HostProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
  return reinterpret_cast<QQForm*>(data)->HostMessage(msg, wParam, lParam);
}

LRESULT QQForm::Next(UINT msg, WPARAM wParam, LPARAM lParam) {
  return next_ ? next_(context_, msg, wParam, lParam)
               : win::DefSubclass(host_, msg, wParam, lParam);
}

LRESULT QQForm::HostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCDESTROY) {
    Detach();
    return Next(msg, wParam, lParam);
  }
  return HandleHost(msg, wParam, lParam);
}

LRESULT QQForm::HandleHost(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND host = host_;
  switch (msg) {
    case WM_SIZE:
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_STYLECHANGED:
    case WM_DPICHANGED: {
      const LRESULT r = Next(msg, wParam, lParam);
      if (!(msg == WM_SIZE && wParam == SIZE_MINIMIZED)) Refresh();
      return r;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PRINTCLIENT:
      surface_.CopyTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const LRESULT r = Next(msg, wParam, lParam);
      auto child = reinterpret_cast<HWND>(lParam);
      const bool noBrushOfItsOwn =
          r == 0 || r == reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      if (noBrushOfItsOwn && background_ &&
          (IsClass(child, L"Static") || IsClass(child, L"Button"))) {
        return reinterpret_cast<LRESULT>(BackgroundFor(child, reinterpret_cast<HDC>(wParam)));
      }
      return r;
    }
    case WM_GETMINMAXINFO: {
      // Maximised, a window without a frame covers the work area, not the
      // taskbar.
      Next(msg, wParam, lParam);
      MONITORINFO mi{};
      mi.cbSize = sizeof mi;
      if (GetMonitorInfoW(MonitorFromWindow(host, MONITOR_DEFAULTTONEAREST), &mi)) {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
        mmi->ptMaxPosition = {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
        mmi->ptMaxSize = {mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
      }
      return 0;
    }
    case WM_PARENTNOTIFY: {
      const LRESULT r = Next(msg, wParam, lParam);
      if (LOWORD(wParam) == WM_CREATE) KeepAtBottom();
      return r;
    }
    case WM_SYSCHAR:
      if (DispatchAccessKey(host, static_cast<wchar_t>(wParam))) return 0;
      break;
    case WM_MENUCHAR:
      if (DispatchAccessKey(host, static_cast<wchar_t>(LOWORD(wParam)))) {
        return MAKELRESULT(0, MNC_CLOSE);
      }
      break;
    default:
      break;
  }
  return Next(msg, wParam, lParam);
}

LRESULT QQForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCDESTROY:
      buttons_ = {};
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      surface_.CopyTo(win::PaintScope(hwnd_).dc());
      return 0;
    case WM_PRINTCLIENT:
      surface_.CopyTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case kApplyShape:
      ApplyShape();
      return 0;
    case WM_MOUSEMOVE:
      model_.PointerOverFrame(State());
      ShowImages();
      return 0;
    case WM_LBUTTONDOWN:
      if (InTitleBar(lParam) && FrameModel::StartsMove(MouseButton::kLeft, State())) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
        ReleaseCapture();
        // Returns when the button is released.
        SendMessageW(host_, WM_SYSCOMMAND, kMoveFromCaption, 0);
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      if (InTitleBar(lParam)) {
        HWND max = buttons_[static_cast<size_t>(CaptionButton::kMax)];
        Run(FrameModel::TitleBarDoubleClick(max && IsWindowVisible(max)));
      }
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

LRESULT QQForm::HandleButton(HWND button, CaptionButton b, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto index = static_cast<int>(b);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const win::PaintScope paint(button);
      RECT rc{};
      GetClientRect(button, &rc);
      const int image = model_.image(b);
      gdi::DrawImage(paint.dc(), CaptionButtonFace(index, image, rc.right), 0, 0);
      shown_[static_cast<size_t>(index)] = image;
      return 0;
    }
    case WM_SETCURSOR:
      SetCursor(HandPointer());
      return TRUE;
    case WM_MOUSEMOVE:
      MakeTips(button, msg, wParam, lParam);
      model_.PointerOnButton(b, State());
      ShowImages();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      SetCapture(button);
      pressed_ = msg == WM_LBUTTONDOWN ? index : -1;
      model_.ButtonDown(b, State());
      ShowImages();
      return 0;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click: the first one was the click.
      SetCapture(button);
      pressed_ = -1;
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      RECT rc{};
      GetClientRect(button, &rc);
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const bool click = msg == WM_LBUTTONUP && pressed_ == index && PtInRect(&rc, pt);
      pressed_ = -1;
      if (GetCapture() == button) ReleaseCapture();
      model_.ButtonUp(b, State());
      ShowImages();
      UpdateWindow(button);
      if (click) Run(FrameModel::Click(b));
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_ == index) {
        pressed_ = -1;
        model_.ButtonUp(b, State());
        ShowImages();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(button, msg, wParam, lParam);
}

}  // namespace plover::controls
