// What every window of Plover shares: controls laid out from a table of
// positions in twips (1440 an inch) at the window's real DPI, the program's
// fonts, and running a window modally over its opener.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "common/win32/win32_util.h"
#include "plover/controls/qq_form.h"

namespace plover::win {

// The window class of the program's push buttons, the skinned QQButton.
const wchar_t* PushButtonClass();

enum class FontKind { kNormal, kHelp, kList };

struct ControlSpec {
  int id;
  const wchar_t* windowClass;    // nullptr: the program's push button
  const char* text;              // UTF-8 caption; the control's window text
  int left, top, width, height;  // twips
  DWORD style;
  FontKind font = FontKind::kNormal;
};

inline constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;
inline constexpr DWORD kPushButtonStyle = kChildStyle | WS_TABSTOP | BS_PUSHBUTTON;

// The program's fonts at one DPI: 宋体 9 pt, 新宋体 9 pt, 宋体 10.5 pt bold.
struct Fonts {
  UniqueFont normal, help, list;
  void Make(UINT dpi);
  HFONT Of(FontKind kind) const;
};

void CreateControls(HWND parent, std::span<const ControlSpec> controls);
void LayoutControls(HWND parent, std::span<const ControlSpec> controls, UINT dpi,
                    const Fonts& fonts);

// Outer window size for a client area given in twips.
SIZE OuterSizeForClient(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, UINT dpi);

// The window that message boxes and dialogs should belong to: the topmost
// modal window that is running, else `fallback`.
HWND CurrentOwner(HWND fallback);

// A top-level window shown modally over its opener: the opener takes no
// input until it closes.
class ModalWindow {
 public:
  virtual ~ModalWindow();
  ModalWindow() = default;
  ModalWindow(const ModalWindow&) = delete;
  ModalWindow& operator=(const ModalWindow&) = delete;

  // Creates the window with the given caption and client size, runs it until
  // it closes, and returns then.
  void RunModal(HWND owner, const std::string& caption, int clientWidthTwips,
                int clientHeightTwips);
  HWND hwnd() const { return hwnd_; }

 protected:
  // Creates the controls (the window exists; it is not shown yet).
  virtual void OnCreate() = 0;
  virtual void OnDpiChanged(UINT dpi) = 0;
  // Messages not handled here go to DefWindowProc.
  virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // Asks the window to close (as its close box does).
  void EndModal();
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  controls::QQForm frame_;  // QQForm1
  bool done_ = false;
  HWND owner_ = nullptr;
  ModalWindow* outer_ = nullptr;
};

}  // namespace plover::win
