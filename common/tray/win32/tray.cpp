#include "common/tray/win32/tray.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "common/tray/tray_tip.h"
#include "common/win32/late_bound.h"
#include "common/win32/wide.h"

namespace plover::tray {
namespace {

// Shell_NotifyIconW, with shell32 loaded when the icon is first shown.
BOOL WINAPI NotifyShell(DWORD message, PNOTIFYICONDATAW data) {
  static const auto notify =
      win::LateBound<decltype(&Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
  return notify ? notify(message, data) : FALSE;
}

struct TrayState {
  HWND owner = nullptr;
  TrayClient* client = nullptr;
  WNDPROC previous = nullptr;  // the owner's own window procedure
  NOTIFYICONDATAW record{};
  bool hasTip = false;
  bool installed = false;
  NotifyFunction notify = &NotifyShell;
};

TrayState& State() {
  static TrayState state;
  return state;
}

// The window's own icon, small form first; the class's icon when the window
// has none of its own; the system's application icon as the last resort, so
// that the icon is never blank.
HICON IconOf(HWND hwnd) {
  for (WPARAM kind : {ICON_SMALL, ICON_SMALL2, ICON_BIG}) {
    if (auto h = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, kind, 0))) return h;
  }
  for (int index : {GCLP_HICONSM, GCLP_HICON}) {
    if (auto h = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, index))) return h;
  }
  return LoadIconW(nullptr, IDI_APPLICATION);
}

bool AddIcon(TrayState& s) {
  s.record.uFlags = NIF_MESSAGE | NIF_ICON | (s.hasTip ? NIF_TIP : 0);
  return s.notify(NIM_ADD, &s.record) != FALSE;
}

// A right click: the client's menu at the mouse position. TrackPopupMenuEx
// returns the chosen command, which runs before the client hears that the
// menu has closed.
void PopUpMenu(TrayState& s) {
  TrayClient* client = s.client;
  const HWND owner = s.owner;
  if (HMENU menu = client->MenuToPopUp()) {
    POINT at{};
    GetCursorPos(&at);
    // Without this the menu would not close when the player clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT id = static_cast<UINT>(TrackPopupMenuEx(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
        at.y, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (id != 0) client->RunMenuCommand(id);
  }
  client->AfterMenu();
}

}  // namespace

bool TrayInstall(HWND owner, TrayClient& client) {
  TrayState& s = State();
  if (s.installed || !IsWindow(owner)) return false;
  TaskbarCreatedMessage();
  s.owner = owner;
  s.client = &client;
  s.record = NOTIFYICONDATAW{};
  s.record.cbSize = sizeof(NOTIFYICONDATAW);
  s.record.hWnd = owner;
  s.record.uID = 0;
  s.record.uCallbackMessage = kCallbackMessage;
  s.record.hIcon = IconOf(owner);
  s.hasTip = false;
  // The shell may refuse the icon (no taskbar yet, at the start of a
  // session): then nothing is installed, and the window keeps its own
  // procedure.
  if (!AddIcon(s)) return false;
  s.previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWndProc)));
  s.installed = true;
  return true;
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

bool TraySetTip(std::string_view utf8) {
  TrayState& s = State();
  if (!s.installed) return false;
  // The cut keeps whole characters of valid UTF-8, at most 63 of them, so
  // it always fits the record's 128 characters.
  wchar_t tip[std::size(NOTIFYICONDATAW{}.szTip)];
  if (!win::WideInto(std::string_view(utf8.data(), TipLength(utf8)), tip)) return false;
  std::copy(std::begin(tip), std::end(tip), s.record.szTip);
  s.hasTip = true;
  s.record.uFlags = NIF_TIP;
  s.notify(NIM_MODIFY, &s.record);
  return true;
}

void TrayRemove() {
  TrayState& s = State();
  if (!s.installed) return;
  s.installed = false;
  s.record.uFlags = 0;
  s.notify(NIM_DELETE, &s.record);
  SetWindowLongPtrW(s.owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previous));
}

bool TrayInstalled() {
  return State().installed;
}

LRESULT CALLBACK TrayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TrayState& s = State();
  const WNDPROC previous = s.previous;
  if (s.installed && hwnd == s.owner) {
    if (msg == kCallbackMessage) {
      // A busy program hears nothing of its icon.
      if (!s.client->AcceptsClicks()) return 0;
      // The low word is the mouse message in every notification version.
      switch (LOWORD(lParam)) {
        case WM_LBUTTONUP: {
          TrayClient* client = s.client;
          TrayRemove();
          client->LeftClick();
          break;  // and on to the window's own procedure
        }
        case WM_RBUTTONUP:
          PopUpMenu(s);
          return 0;
        default:
          break;
      }
    } else if (msg == TaskbarCreatedMessage()) {
      if (!AddIcon(s)) {
        TrayClient* client = s.client;
        TrayRemove();
        client->IconRefused();
      }
    } else if (msg == WM_DESTROY) {
      // The window goes while its icon is shown: the icon goes with it.
      TrayRemove();
    }
  }
  if (!previous) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

NotifyFunction SetNotifyFunction(NotifyFunction fn) {
  return std::exchange(State().notify, fn);
}

}  // namespace plover::tray
