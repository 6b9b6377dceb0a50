#include "common/win32/window.h"

#include <utility>

namespace plover::win {
namespace {

// The factories of the classes that have one, by class atom. A fixed table:
// the programs register a handful of such classes, and Quenlock links no
// container.
struct FactoryEntry {
  ATOM atom;
  Window::Factory factory;
};
constexpr int kMaxFactories = 16;
FactoryEntry factories[kMaxFactories];
int factoryCount = 0;

Window::Factory FactoryOf(HWND hwnd) {
  const auto atom = static_cast<ATOM>(GetClassWord(hwnd, GCW_ATOM));
  for (int i = 0; i < factoryCount; ++i) {
    if (factories[i].atom == atom) return factories[i].factory;
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
  if (factory && factoryCount == kMaxFactories) return false;
  atom = RegisterClassExW(&wc);
  if (!atom) return false;
  if (factory) factories[factoryCount++] = {atom, factory};
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
