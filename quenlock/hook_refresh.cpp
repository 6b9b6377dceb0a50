#include "quenlock/hook_refresh.h"

namespace quenlock {

bool RefreshesHook(uint32_t message, uintptr_t wParam) {
  switch (message) {
    case kWmTimer:
      return wParam == kRefreshTimer;
    case kWmPowerBroadcast:
      return wParam == kPbtApmResumeAutomatic || wParam == kPbtApmResumeSuspend;
    case kWmWtsSessionChange:
      return wParam == kWtsSessionUnlock || wParam == kWtsConsoleConnect ||
             wParam == kWtsRemoteConnect;
    default:
      return false;
  }
}

}  // namespace quenlock
