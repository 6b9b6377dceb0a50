// Form1, Quenlock's only window. It is never shown: it owns the
// notification-area icon, whose picture is the window's icon, and carries the
// pop-up menu that switches the blocking off and on.
#pragma once

#include <windows.h>

#include "common/tray/win32/tray.h"
#include "common/win32/owned.h"
#include "common/win32/window.h"
#include "quenlock/win32/winkey.h"

namespace quenlock {

class Form1 final : public plover::win::Window, public plover::tray::TrayClient {
 public:
  static constexpr const wchar_t* kClassName = L"QuenlockForm1";
  // A registered message Form1 answers with what chkDisable's check mark
  // shows (bit 0) and how many hooks it has made so far (the bits above), for
  // those who watch the blocking from outside.
  static constexpr const wchar_t* kHookStateQuery = L"Quenlock.HookState";

  explicit Form1(HINSTANCE instance);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Starts blocking, creates the (hidden) window and puts up the icon. False
  // when the window cannot be made.
  bool Load();
  bool blocking() const { return hook_.installed(); }

  // TrayClient
  HMENU MenuToPopUp() override;
  void RunMenuCommand(UINT id) override;
  void AfterMenu() override;
  void LeftClick() override;
  // The icon is the program's only face: it is tried again with the next
  // taskbar, and the blocking goes on meanwhile.
  void IconRefused() override {}

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Asks for the session's unlock and reconnect notifications (the service
  // may be missing: then only the timer and resumes refresh the hook).
  void WatchSession(bool on);

  HINSTANCE instance_;
  plover::win::UniqueIcon bigIcon_;
  plover::win::UniqueIcon smallIcon_;
  plover::win::UniqueMenu menu_;  // while popped up
  KeyboardHook hook_;
  UINT hookStateQuery_ = 0;
  bool watchingSession_ = false;
};

// The program's picture at `size` pixels.
plover::win::UniqueIcon MakeIcon(int size);

}  // namespace quenlock
