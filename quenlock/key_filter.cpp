#include "quenlock/key_filter.h"

namespace quenlock {

bool SwallowKey(uint32_t message, uint32_t vkCode, uint32_t flags, bool ctrlHeld, bool shiftHeld) {
  const bool system = message == kWmSysKeyDown || message == kWmSysKeyUp;
  if (!system && message != kWmKeyDown && message != kWmKeyUp) return false;
  const bool altHeld = system || (flags & kFlagAltDown) != 0;
  switch (vkCode) {
    case kVkLWin:
      return true;
    case kVkTab:
      return altHeld;
    case kVkEscape:
      return altHeld || ctrlHeld;
    case kVkDelete:
      return ctrlHeld && shiftHeld;
    default:
      return false;
  }
}

bool NeedsModifierStates(uint32_t vkCode) {
  return vkCode == kVkEscape || vkCode == kVkDelete;
}

}  // namespace quenlock
