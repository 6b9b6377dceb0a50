// Which of Form1's messages put in a fresh keyboard hook.
#include "quenlock/hook_refresh.h"

#include <gtest/gtest.h>

namespace quenlock {
namespace {

TEST(RefreshesHook, ResumeUnlockReconnectAndItsOwnTimer) {
  struct Case {
    uint32_t message;
    uintptr_t wParam;
    bool refreshes;
  };
  const Case cases[] = {
      {kWmPowerBroadcast, kPbtApmResumeAutomatic, true},
      {kWmPowerBroadcast, kPbtApmResumeSuspend, true},
      {kWmPowerBroadcast, 0x4, false},  // PBT_APMSUSPEND: going to sleep
      {kWmPowerBroadcast, 0xA, false},  // PBT_APMPOWERSTATUSCHANGE
      {kWmWtsSessionChange, kWtsSessionUnlock, true},
      {kWmWtsSessionChange, kWtsConsoleConnect, true},
      {kWmWtsSessionChange, kWtsRemoteConnect, true},
      {kWmWtsSessionChange, 0x7, false},  // WTS_SESSION_LOCK
      {kWmWtsSessionChange, 0x2, false},  // WTS_CONSOLE_DISCONNECT
      {kWmWtsSessionChange, 0x4, false},  // WTS_REMOTE_DISCONNECT
      {kWmTimer, kRefreshTimer, true},
      {kWmTimer, kRefreshTimer + 1, false},    // another timer
      {0x100, kPbtApmResumeAutomatic, false},  // a key press
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RefreshesHook(c.message, c.wParam), c.refreshes)
        << std::hex << c.message << " " << c.wParam;
  }
}

}  // namespace
}  // namespace quenlock
