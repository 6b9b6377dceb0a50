// QQButton, the skinned push button, as a window class. A host creates it
// like a "BUTTON":
//
//   CreateWindowExW(0, controls::kQQButtonClass, L"运行魔兽",
//                   WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, w, h, host, id, ...);
//
// and handles WM_COMMAND with BN_CLICKED from it. The window text is the
// caption, WM_SETFONT sets the caption font (the host's font until then),
// EnableWindow enables and disables it; every one of these repaints it in its
// normal (or disabled) look. The messages and helpers below set the rest.
//
// The button draws itself from its state images, stretched over its whole
// area, with the caption and an optional picture on top. It reports a click
// only after a press with the left button: Enter and the access key click it
// only when the last press on it was made with the left button. A double
// click is one click. The focus is shown once the keyboard has been used in
// the window, as Windows does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace plover::controls {

inline constexpr const wchar_t* kQQButtonClass = L"QQButton";

// Registers the window classes of the skinned controls (QQButton and the
// frame's); later calls do nothing.
bool RegisterControls(HINSTANCE instance);

enum : UINT {
  // wParam: the picture (HICON, 0 for none), which stays the caller's and
  // must outlive its use.
  QQBM_SETPICTURE = WM_USER + 0x500,
  QQBM_GETPICTURE,
  // wParam: the layout of picture and caption (0 picture left, 1 above).
  QQBM_SETSTYLE,
  QQBM_GETSTYLE,
  // lParam: const wchar_t* of the access key; only its first character is
  // kept, upper-cased.
  QQBM_SETKEYS,
  // Returns the access key (0 for none).
  QQBM_GETKEYS,
  // wParam: COLORREF of the caption, or CLR_DEFAULT for the button-text colour.
  QQBM_SETFORECOLOR,
  // wParam: the state to repaint in (1 normal, 2 hover, 3 pressed).
  QQBM_PRINTB,
  // Returns the ButtonStatus bits below.
  QQBM_GETSTATUS,
  // Used between the controls: the access key `wParam` was pressed.
  QQBM_ACCESSKEY,
};

// Notifications through WM_NOTIFY (NMQQBUTTONMOUSE), sent before the button
// reacts to the mouse itself.
inline constexpr UINT kQQButtonNotifyFirst = 0U - 2400U;
enum : UINT {
  QQBN_MOUSEDOWN = kQQButtonNotifyFirst,
  QQBN_MOUSEUP = kQQButtonNotifyFirst - 1,
  QQBN_MOUSEMOVE = kQQButtonNotifyFirst - 2,
};
struct NMQQBUTTONMOUSE {
  NMHDR hdr;
  int button;  // 1 left, 2 right, 4 middle (0 for a move without buttons)
  int shift;   // 1 Shift, 2 Ctrl, 4 Alt
  float x, y;  // twips from the button's top-left corner
};

// What QQBM_GETSTATUS answers, for tests: the image shown (0 to 3) in the
// low byte, then the flags.
inline constexpr LRESULT kStatusHovering = 0x100;
inline constexpr LRESULT kStatusLeftPressed = 0x200;
struct ButtonStatus {
  int image = 0;
  bool hovering = false;
  bool leftPressed = false;
};

// Helpers over the messages.
void SetPicture(HWND button, HICON picture);
void SetStyle(HWND button, int32_t style);
// False (and the key unchanged) when `keys` cannot convert.
bool SetKeys(HWND button, std::string_view keys);
std::string Keys(HWND button);
void PrintB(HWND button, int state);
ButtonStatus StatusOf(HWND button);

// Clicks the button among the descendants of `root` whose access key is
// `key` (disabled ones too); false when none has it.
bool DispatchAccessKey(HWND root, wchar_t key);

}  // namespace plover::controls
