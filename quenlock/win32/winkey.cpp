#include "quenlock/win32/winkey.h"

#include "quenlock/key_filter.h"

namespace quenlock {
namespace {

// Whether the key is down now. In a low-level hook the asynchronous state is
// that of the moment before the event being decided, which is what the filter
// asks for; the thread's own key state says nothing here, since the keys go
// to other programs.
bool Held(int vk) {
  return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool modifiers = NeedsModifierStates(key.vkCode);
    if (SwallowKey(static_cast<uint32_t>(wParam), key.vkCode, key.flags,
                   modifiers && Held(VK_CONTROL), modifiers && Held(VK_SHIFT))) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {

HookKeeper::Hook NewHook() {
  return SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleW(nullptr), 0);
}

void DropHook(HookKeeper::Hook hook) {
  UnhookWindowsHookEx(static_cast<HHOOK>(hook));
}

}  // namespace

KeyboardHook::KeyboardHook() : HookKeeper(NewHook, DropHook) {}

}  // namespace quenlock
