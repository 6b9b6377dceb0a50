// The one window procedure of both programs. A window class registered here
// has it as its procedure: at WM_NCCREATE it stores the window's object and
// from then on hands every message, WM_NCDESTROY included, to the object's
// HandleMessage.
//
// A program that creates its own window passes the object as the last
// argument of CreateWindowEx:
//
//   class Form final : public win::Window {
//     LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
//   };
//   win::Window::Register(wc);
//   CreateWindowExW(0, L"Form", L"", style, x, y, w, h, nullptr, nullptr, instance, &form);
//
// A control that hosts create by its class name alone registers a factory
// with its class instead: the factory makes the object at WM_NCCREATE (from
// the creation data, lpCreateParams included), and the object is deleted at
// WM_NCDESTROY.
#pragma once

#include <windows.h>

namespace plover::win {

class Window {
 public:
  Window() = default;
  // A window still there is destroyed; its last messages go to the system's
  // default procedure.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  using Factory = Window* (*)(const CREATESTRUCTW& create);
  // Registers `wc` with this procedure (its lpfnWndProc is replaced). True
  // when the class is registered, now or before.
  static bool Register(WNDCLASSEXW wc, Factory factory = nullptr);

 protected:
  // Every message of the window. hwnd_ is set from WM_NCCREATE on and is
  // null again once WM_NCDESTROY has been handled. By default the system's
  // default procedure.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool deletedWithWindow_ = false;  // made by a factory
};

}  // namespace plover::win
