// Windows removes a low-level keyboard hook that answers too slowly without
// a word, and hooks can be lost over sleep and session changes. While it
// blocks, Quenlock therefore puts in a fresh hook, and only then removes the
// old one: after the system resumes, after the session is unlocked or
// reconnected, and every kRefreshPeriodMs. The constants carry the values
// Windows uses.
#pragma once

#include <cstdint>

namespace quenlock {

// True when the message to Form1 calls for a fresh hook.
bool RefreshesHook(uint32_t message, uintptr_t wParam);

inline constexpr uint32_t kWmTimer = 0x113;
inline constexpr uint32_t kWmPowerBroadcast = 0x218;
inline constexpr uint32_t kWmWtsSessionChange = 0x2B1;

// WM_POWERBROADCAST events.
inline constexpr uintptr_t kPbtApmResumeSuspend = 0x7;
inline constexpr uintptr_t kPbtApmResumeAutomatic = 0x12;
// WM_WTSSESSION_CHANGE events.
inline constexpr uintptr_t kWtsConsoleConnect = 0x1;
inline constexpr uintptr_t kWtsRemoteConnect = 0x3;
inline constexpr uintptr_t kWtsSessionUnlock = 0x8;

// Form1's timer that refreshes the hook, and its period.
inline constexpr uintptr_t kRefreshTimer = 1;
inline constexpr unsigned kRefreshPeriodMs = 15000;

}  // namespace quenlock
