// Which keyboard events Quenlock keeps from the system: the left Windows key,
// Alt+Tab, Alt+Esc, Ctrl+Esc and Ctrl+Shift+Delete. The decision needs no
// Windows header, so that every rule can be checked on any platform; the
// constants carry the values Windows uses.
#pragma once

#include <cstdint>

namespace quenlock {

// Event messages of a low-level keyboard hook.
inline constexpr uint32_t kWmKeyDown = 0x100;
inline constexpr uint32_t kWmKeyUp = 0x101;
inline constexpr uint32_t kWmSysKeyDown = 0x104;
inline constexpr uint32_t kWmSysKeyUp = 0x105;

// Bits of the event's flags.
inline constexpr uint32_t kFlagExtended = 0x01;
inline constexpr uint32_t kFlagInjected = 0x10;
inline constexpr uint32_t kFlagAltDown = 0x20;
inline constexpr uint32_t kFlagUp = 0x80;

// Virtual key codes.
inline constexpr uint32_t kVkTab = 0x09;
inline constexpr uint32_t kVkShift = 0x10;
inline constexpr uint32_t kVkControl = 0x11;
inline constexpr uint32_t kVkMenu = 0x12;  // Alt
inline constexpr uint32_t kVkEscape = 0x1B;
inline constexpr uint32_t kVkDelete = 0x2E;
inline constexpr uint32_t kVkLWin = 0x5B;
inline constexpr uint32_t kVkRWin = 0x5C;
inline constexpr uint32_t kVkApps = 0x5D;

// True when the event must not reach any program or the system, neither its
// press nor its release. `ctrlHeld` and `shiftHeld` tell whether Ctrl and
// Shift were down when the event came.
//
// Alt counts as held when the event's flags say so or when the event is a
// "system" key message: Wine reports Alt+Tab as a system key press without
// the Alt flag, Windows sets both.
bool SwallowKey(uint32_t message, uint32_t vkCode, uint32_t flags, bool ctrlHeld, bool shiftHeld);

// Whether the decision for `vkCode` can depend on Ctrl and Shift at all. For
// every other key the states need not be read, which spares the system a
// question for nearly every keystroke.
bool NeedsModifierStates(uint32_t vkCode);

}  // namespace quenlock
