// Real input for tests that drive windows from the outside: mouse and
// keyboard events through SendInput, as a hand would give them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace plover::testing {

// A mouse event at a point of the screen, in absolute coordinates
// (MOUSEEVENTF_ABSOLUTE is added to `flags`).
INPUT MouseInput(POINT screen, DWORD flags);
// A move to `screen`, then each of `events` (MOUSEEVENTF_LEFTDOWN ...) there,
// all queued at once.
void SendMouse(POINT screen, std::initializer_list<DWORD> events = {});
// Moves along a path, each with its button events, all queued before any is
// handled (a window move started by the first press runs until the release).
void SendMousePath(const std::vector<std::pair<POINT, DWORD>>& steps);

// A key's press or release as a keyboard gives it: with its scan code, and
// marked extended for the keys of the extended set.
INPUT KeyInput(UINT vk, bool up);
// Each event in a call of its own, so that a keyboard hook sees them one by
// one.
void SendKeys(const std::vector<INPUT>& keys);

}  // namespace plover::testing
