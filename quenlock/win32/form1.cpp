#include "quenlock/win32/form1.h"

#include "common/win32/late_bound.h"
#include "common/win32/scoped.h"
#include "common/win32/wide.h"
#include "quenlock/hook_refresh.h"
#include "quenlock/icon_art.h"
#include "quenlock/menu.h"

namespace quenlock {

using plover::win::UniqueBitmap;
using plover::win::UniqueIcon;

UniqueIcon MakeIcon(int size) {
  if (size <= 0) return UniqueIcon();
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = -size;  // rows from the top
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  UniqueBitmap colour(CreateDIBSection(plover::win::ScreenDC().get(),
                                       reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                       &bits, nullptr, 0));
  if (!colour || !bits) return UniqueIcon();
  DrawIcon(size, static_cast<uint32_t*>(bits));
  // The alpha channel decides what is seen; the mask only has to exist.
  UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.get();
  info.hbmColor = colour.get();
  return UniqueIcon(CreateIconIndirect(&info));
}

Form1::Form1(HINSTANCE instance) : instance_(instance) {}

Form1::~Form1() {
  // Destroyed while this object is whole, so that the icon and the hook go.
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Form1::Load() {
  // Blocking starts first: once the window exists, keys are being kept back.
  hook_.Install();

  bigIcon_ = MakeIcon(GetSystemMetrics(SM_CXICON));
  smallIcon_ = MakeIcon(GetSystemMetrics(SM_CXSMICON));
  WNDCLASSEXW wc{};
  wc.hInstance = instance_;
  wc.hIcon = bigIcon_.get();
  wc.hIconSm = smallIcon_.get();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!Register(wc)) return false;
  hookStateQuery_ = RegisterWindowMessageW(kHookStateQuery);
  wchar_t caption[32];
  if (!plover::win::WideInto(kCaption, caption)) return false;
  // Never shown: no window stays on the screen, only the icon.
  CreateWindowExW(0, kClassName, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 240,
                  120, nullptr, nullptr, instance_, static_cast<Window*>(this));
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

  plover::tray::TrayInstall(hwnd_, *this);
  plover::tray::TraySetTip(kTip);
  SetTimer(hwnd_, kRefreshTimer, kRefreshPeriodMs, nullptr);
  WatchSession(true);
  return true;
}

void Form1::WatchSession(bool on) {
  // wtsapi32 is loaded only for this, so that the program starts without it.
  if (on && !watchingSession_) {
    static const auto watch = plover::win::LateBound<BOOL(WINAPI*)(HWND, DWORD)>(
        L"wtsapi32.dll", "WTSRegisterSessionNotification");
    watchingSession_ = watch && watch(hwnd_, 0 /* NOTIFY_FOR_THIS_SESSION */);
  } else if (!on && watchingSession_) {
    static const auto unwatch = plover::win::LateBound<BOOL(WINAPI*)(HWND)>(
        L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
    if (unwatch) unwatch(hwnd_);
    watchingSession_ = false;
  }
}

HMENU Form1::MenuToPopUp() {
  menu_.reset(CreatePopupMenu());
  for (const auto& item : Form1Menu(blocking())) {
    UINT flags = MF_STRING;
    if (!item.enabled) flags |= MF_GRAYED;
    if (item.checked) flags |= MF_CHECKED;
    wchar_t caption[64];
    if (plover::win::WideInto(item.caption, caption)) {
      AppendMenuW(menu_.get(), flags, item.id, caption);
    }
  }
  return menu_.get();
}

void Form1::RunMenuCommand(UINT id) {
  if (id != kChkDisable) return;
  if (hook_.installed()) {
    hook_.Remove();
  } else {
    hook_.Install();
  }
}

void Form1::AfterMenu() {
  menu_.reset();
}

void Form1::LeftClick() {
  // Closing the only window ends the program, and the blocking with it.
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    DestroyWindow(hwnd_);
    return 0;
  }
  if (hookStateQuery_ != 0 && msg == hookStateQuery_) {
    return static_cast<LRESULT>(hook_.made() << 1) | (Form1Menu(blocking())[0].checked ? 1 : 0);
  }
  if (RefreshesHook(msg, wParam)) {
    // Only while blocking; a fresh hook that fails leaves the old one.
    hook_.Refresh();
    if (msg == WM_POWERBROADCAST) return TRUE;
    return 0;
  }
  if (msg == plover::tray::TaskbarCreatedMessage() && !plover::tray::TrayInstalled()) {
    // The shell refused the icon at the start: its taskbar is there now.
    if (plover::tray::TrayInstall(hwnd_, *this)) plover::tray::TraySetTip(kTip);
    return 0;
  }
  if (msg == WM_DESTROY) {
    // The last window: the program ends, and the icon and the hook with it.
    KillTimer(hwnd_, kRefreshTimer);
    WatchSession(false);
    plover::tray::TrayRemove();
    hook_.Remove();
    PostQuitMessage(0);
    return 0;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace quenlock
