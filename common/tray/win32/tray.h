// One notification-area icon for a window of the program. While the icon
// exists, the window's procedure is replaced by TrayWndProc, which turns the
// icon's mouse notifications into the program's own actions: a left click
// removes the icon and hands over to the program, a right click pops up the
// program's menu at the mouse position. Everything here runs on the thread
// that owns the window.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string_view>

namespace plover::tray {

// The message the icon sends to its window for every mouse event over it;
// lParam carries the mouse message, wParam the icon id (0).
inline constexpr UINT kCallbackMessage = 0x7E9;

// What a program supplies to its icon.
class TrayClient {
 public:
  virtual ~TrayClient() = default;
  // Right click: the menu to pop up now (nullptr: none). It stays in use
  // until AfterMenu.
  virtual HMENU MenuToPopUp() = 0;
  // An item of that menu was chosen. Runs before the pop-up is over.
  virtual void RunMenuCommand(UINT id) = 0;
  // The pop-up has closed, whether an item was chosen or not.
  virtual void AfterMenu() = 0;
  // Left click. The icon is already gone and the window has its own
  // procedure back.
  virtual void LeftClick() = 0;
  // False while the program is busy: the icon then ignores every click.
  virtual bool AcceptsClicks() const { return true; }
  // A restarted taskbar refused the icon, which is gone now, and the window
  // has its own procedure back. A hidden window would have nothing left to
  // bring it back, so by default the program hears a left click.
  virtual void IconRefused() { LeftClick(); }
};

// Adds the icon, with the window's own icon as its picture and no tip, and
// replaces the window procedure of `owner`. Refused (false) while an icon is
// installed, only one existing at a time, and when the shell does not take
// the icon: nothing is installed then.
bool TrayInstall(HWND owner, TrayClient& client);
// Sent to every top-level window when the shell (re)starts its taskbar: the
// icons it showed before are gone, and an icon it refused can be added now.
// An installed icon is added again; when the new taskbar refuses it, the icon
// is removed and the program told (TrayClient::IconRefused).
UINT TaskbarCreatedMessage();
// Shows `utf8` as the icon's tip, cut to 63 bytes of its code page 936 form.
// False (and the tip unchanged) when no icon is installed or the text cannot
// convert.
bool TraySetTip(std::string_view utf8);
// Deletes the icon and gives the window its own procedure back. Nothing
// happens when no icon is installed.
void TrayRemove();
bool TrayInstalled();

// The replacement window procedure.
LRESULT CALLBACK TrayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The shell call that adds, changes and deletes the icon (Shell_NotifyIconW
// unless replaced); returns the one it replaces. For tests.
using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
NotifyFunction SetNotifyFunction(NotifyFunction fn);

}  // namespace plover::tray
