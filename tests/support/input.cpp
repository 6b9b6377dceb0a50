#include "tests/support/input.h"

namespace plover::testing {

INPUT MouseInput(POINT screen, DWORD flags) {
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((screen.x * 65535LL + (cx - 1) / 2) / (cx > 1 ? cx - 1 : 1));
  in.mi.dy = static_cast<LONG>((screen.y * 65535LL + (cy - 1) / 2) / (cy > 1 ? cy - 1 : 1));
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return in;
}

void SendMouse(POINT screen, std::initializer_list<DWORD> events) {
  std::vector<INPUT> inputs{MouseInput(screen, MOUSEEVENTF_MOVE)};
  for (DWORD e : events) inputs.push_back(MouseInput(screen, e));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendMousePath(const std::vector<std::pair<POINT, DWORD>>& steps) {
  std::vector<INPUT> inputs;
  for (const auto& [at, events] : steps)
    inputs.push_back(MouseInput(at, MOUSEEVENTF_MOVE | events));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(UINT vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = static_cast<WORD>(vk);
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LWIN || vk == VK_RWIN || vk == VK_APPS || vk == VK_DELETE || vk == VK_HOME ||
      vk == VK_END) {
    in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  return in;
}

void SendKeys(const std::vector<INPUT>& keys) {
  for (INPUT in : keys) SendInput(1, &in, sizeof in);
}

}  // namespace plover::testing
