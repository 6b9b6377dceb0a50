// Form1, Quenlock's only window. It is never shown: it owns the
// notification-area icon, whose picture is the window's icon, and carries the
// pop-up menu that switches the blocking off and on.
#pragma once

#include <windows.h>

#include "common/tray/tray.h"
#include "quenlock/handles.h"
#include "quenlock/winkey.h"

namespace quenlock {

class Form1 final : public plover::tray::TrayClient {
 public:
  static constexpr const wchar_t* kClassName = L"QuenlockForm1";

  explicit Form1(HINSTANCE instance);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Starts blocking, creates the (hidden) window and puts up the icon. False
  // when the window cannot be made.
  bool Load();
  HWND hwnd() const { return hwnd_; }
  bool blocking() const { return hook_.installed(); }

  // TrayClient
  HMENU MenuToPopUp() override;
  void RunMenuCommand(UINT id) override;
  void AfterMenu() override;
  void LeftClick() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UniqueMenu menu_;  // while popped up
  KeyboardHook hook_;
};

// The program's picture at `size` pixels.
UniqueIcon MakeIcon(int size);

}  // namespace quenlock
