#include "common/win32/window.h"

#include <utility>
#include <vector>

namespace plover::win {
namespace {

// The factories of the classes that have one, by class atom.
std::vector<std::pair<ATOM, Window::Factory>>& Factories() {
  static std::vector<std::pair<ATOM, Window::Factory>> factories;
  return factories;
}

Window::Factory FactoryOf(HWND hwnd) {
  const auto atom = static_cast<ATOM>(GetClassWord(hwnd, GCW_ATOM));
  for (const auto& [a, factory] : Factories()) {
    if (a == atom) return factory;
  }
  return nullptr;
}

}  // namespace

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(std::exchange(hwnd_, nullptr));
  }
}

bool Window::Register(WNDCLASSEXW wc, Factory factory) {
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Procedure;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  auto atom = static_cast<ATOM>(GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing));
  if (atom) return true;
  atom = RegisterClassExW(&wc);
  if (!atom) return false;
  if (factory) Factories().emplace_back(atom, factory);
  return true;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (const Factory factory = FactoryOf(hwnd)) {
      self = factory(create);
      if (self) self->deletedWithWindow_ = true;
    } else {
      self = static_cast<Window*>(create.lpCreateParams);
    }
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg != WM_NCDESTROY) return self->HandleMessage(msg, wParam, lParam);
  const LRESULT result = self->HandleMessage(msg, wParam, lParam);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  self->hwnd_ = nullptr;
  if (self->deletedWithWindow_) delete self;
  return result;
}

}  // namespace plover::win
