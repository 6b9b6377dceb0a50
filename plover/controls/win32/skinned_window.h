// What every window of Plover shares: its class, its controls laid out from
// a table of positions in twips (1440 an inch) at the window's real DPI and
// again after every change of DPI, the program's fonts, the skinned frame
// QQForm with the window's own drawing over it, and running a window modally
// over its opener.
#pragma once

#include <windows.h>

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "common/win32/owned.h"
#include "common/win32/window.h"
#include "plover/controls/win32/qq_form.h"

namespace plover::controls {

enum class FontKind {
  kNormal,  // 宋体 9 pt
  kHelp,    // 新宋体 9 pt
  kList,    // 宋体 10.5 pt bold
  kLink,    // 宋体 9 pt underlined
};

struct ControlSpec {
  int id;
  const wchar_t* windowClass;    // nullptr: the program's push button, QQButton
  const char* text;              // UTF-8 caption; the control's window text
  int left, top, width, height;  // twips
  DWORD style;
  FontKind font = FontKind::kNormal;
};

inline constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;
inline constexpr DWORD kPushButtonStyle = kChildStyle | WS_TABSTOP | BS_PUSHBUTTON;

// The class and style of the modal windows: no frame of their own, the
// skinned one draws it.
inline constexpr const wchar_t* kModalClass = L"PloverModal";
inline constexpr DWORD kModalStyle = WS_POPUP | WS_SYSMENU;

// The window's class, style, client size and controls.
struct WindowLook {
  const wchar_t* className;
  DWORD style;
  int clientWidth, clientHeight;  // twips
  std::span<const ControlSpec> controls;
};

// The window that message boxes and dialogs should belong to: the topmost
// modal window that is running, else `fallback`.
HWND CurrentOwner(HWND fallback);

class SkinnedWindow : public win::Window, public FrameContent {
 public:
  explicit SkinnedWindow(const WindowLook& look) : look_(look) {}

  // Creates the window, hidden, with `caption`, its controls and its frame,
  // centred over `owner` when that is shown, else on the work area. False
  // when it cannot be made.
  bool Create(HWND owner, const std::string& caption);
  // Creates the window and runs it modally over `owner` (which takes no
  // input meanwhile) until it closes; returns then.
  void RunModal(HWND owner, const std::string& caption);

 protected:
  // The controls exist, the frame and the layout do not yet.
  virtual void OnCreate() {}
  // A modal window is on the screen (posted once it has been shown).
  virtual void OnShown() {}
  // After a change of DPI has laid the controls out again.
  virtual void OnDpiChanged(UINT /*dpi*/) {}
  // WM_CLOSE (the frame's close button sends it): a modal window ends.
  virtual void OnClose() { EndModal(); }
  // Messages handled here return true with `result` set; the others go on
  // to the base.
  virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // Drawn over the frame (FrameContent); nothing by default.
  void PaintContent(HDC /*dc*/, UINT /*dpi*/) override {}

  // Ends a modal window's run.
  void EndModal() { done_ = true; }
  // Gives the window the program's drawn icon.
  void ShowProgramIcon();
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  // Control `id`'s text. Edits refuse text that cannot convert and every
  // other text is the program's own, so it always converts; should it not,
  // it reads as empty.
  std::string ItemText(int id) const;
  void SetItemText(int id, std::string_view text) const;
  // A status line's new text, drawn at once: a long task that shows it does
  // not return to the message loop until it ends.
  void ShowStatus(int id, std::string_view text) const;
  UINT dpi() const { return dpi_; }
  // The frame's title bar shows how far a long task has come (thousandths;
  // -1 none).
  void ShowProgress(int permille) { frame_.SetProgress(permille); }

 private:
  // Every message goes to the frame first, which hands it on to OwnMessage.
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) final;
  LRESULT OwnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT OwnMessageOf(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
  void Layout();
  HFONT FontOf(FontKind kind);
  SIZE OuterSize() const;

  WindowLook look_;
  UINT dpi_ = 96;
  std::array<win::UniqueFont, 4> fonts_;  // by FontKind, at fontDpi_
  UINT fontDpi_ = 0;
  win::UniqueIcon icon_, smallIcon_;
  QQForm frame_;  // QQForm1
  bool done_ = false;
  SkinnedWindow* outer_ = nullptr;  // the modal window this one runs over
};

}  // namespace plover::controls
