// The key filter against every rule and every non-rule of the blocker: the
// named cases first, then every key code with every message, flag
// combination and Ctrl/Shift state against the rules as the player knows
// them.
#include "quenlock/key_filter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace quenlock {
namespace {

constexpr uint32_t kNoFlags = 0;
constexpr bool kCtrl = true, kNoCtrl = false;
constexpr bool kShift = true, kNoShift = false;

// A key going down and coming up again with the same modifiers: both or
// neither must be swallowed.
struct Stroke {
  uint32_t downMessage;
  uint32_t vk;
  uint32_t flags;
  bool ctrl;
  bool shift;
};

bool Down(const Stroke& s) {
  return SwallowKey(s.downMessage, s.vk, s.flags, s.ctrl, s.shift);
}
bool Up(const Stroke& s) {
  const uint32_t up = s.downMessage == kWmSysKeyDown ? kWmSysKeyUp : kWmKeyUp;
  return SwallowKey(up, s.vk, s.flags | kFlagUp, s.ctrl, s.shift);
}

void ExpectStroke(const Stroke& s, bool swallowed, const char* what) {
  EXPECT_EQ(Down(s), swallowed) << what << " (press)";
  EXPECT_EQ(Up(s), swallowed) << what << " (release)";
}

TEST(KeyFilter, LeftWindowsKeyIsSwallowedAloneAndWithAnything) {
  ExpectStroke({kWmKeyDown, kVkLWin, kFlagExtended, kNoCtrl, kNoShift}, true, "LWin");
  ExpectStroke({kWmKeyDown, kVkLWin, kFlagExtended | kFlagInjected, kNoCtrl, kNoShift}, true,
               "injected LWin");
  ExpectStroke({kWmKeyDown, kVkLWin, kFlagExtended, kCtrl, kShift}, true, "Ctrl+Shift+LWin");
  ExpectStroke({kWmSysKeyDown, kVkLWin, kFlagExtended | kFlagAltDown, kNoCtrl, kNoShift}, true,
               "Alt+LWin");
}

TEST(KeyFilter, RightWindowsAndApplicationKeysPass) {
  ExpectStroke({kWmKeyDown, kVkRWin, kFlagExtended, kNoCtrl, kNoShift}, false, "RWin");
  ExpectStroke({kWmKeyDown, kVkRWin, kFlagExtended, kCtrl, kShift}, false, "Ctrl+Shift+RWin");
  ExpectStroke({kWmKeyDown, kVkApps, kFlagExtended, kNoCtrl, kNoShift}, false, "Apps");
}

TEST(KeyFilter, AltTabAndAltEscAreSwallowedAsWindowsAndWineReportThem) {
  // Windows: a system key message with the Alt flag.
  ExpectStroke({kWmSysKeyDown, kVkTab, kFlagAltDown, kNoCtrl, kNoShift}, true, "Alt+Tab");
  ExpectStroke({kWmSysKeyDown, kVkEscape, kFlagAltDown, kNoCtrl, kNoShift}, true, "Alt+Esc");
  ExpectStroke({kWmSysKeyDown, kVkTab, kFlagAltDown, kNoCtrl, kShift}, true, "Alt+Shift+Tab");
  // Wine: a system key message, Alt flag missing.
  ExpectStroke({kWmSysKeyDown, kVkTab, kFlagInjected, kNoCtrl, kNoShift}, true, "Alt+Tab, Wine");
  ExpectStroke({kWmSysKeyDown, kVkEscape, kFlagInjected, kNoCtrl, kNoShift}, true, "Alt+Esc, Wine");
  // The Alt flag on a plain key message counts as well.
  ExpectStroke({kWmKeyDown, kVkTab, kFlagAltDown, kNoCtrl, kNoShift}, true, "Tab with Alt flag");
}

TEST(KeyFilter, CtrlEscAndCtrlShiftDeleteAreSwallowed) {
  ExpectStroke({kWmKeyDown, kVkEscape, kNoFlags, kCtrl, kNoShift}, true, "Ctrl+Esc");
  ExpectStroke({kWmKeyDown, kVkEscape, kNoFlags, kCtrl, kShift}, true, "Ctrl+Shift+Esc");
  ExpectStroke({kWmKeyDown, kVkDelete, kFlagExtended, kCtrl, kShift}, true, "Ctrl+Shift+Del");
  // The Delete of the number pad (without the extended flag) is the same key.
  ExpectStroke({kWmKeyDown, kVkDelete, kNoFlags, kCtrl, kShift}, true, "Ctrl+Shift+Num Del");
}

TEST(KeyFilter, PlainKeysAndPartialCombinationsPass) {
  ExpectStroke({kWmKeyDown, kVkTab, kNoFlags, kNoCtrl, kNoShift}, false, "Tab");
  ExpectStroke({kWmKeyDown, kVkTab, kNoFlags, kCtrl, kShift}, false, "Ctrl+Shift+Tab");
  ExpectStroke({kWmKeyDown, kVkEscape, kNoFlags, kNoCtrl, kNoShift}, false, "Escape");
  ExpectStroke({kWmKeyDown, kVkEscape, kNoFlags, kNoCtrl, kShift}, false, "Shift+Escape");
  ExpectStroke({kWmSysKeyDown, kVkMenu, kFlagAltDown, kNoCtrl, kNoShift}, false, "Alt");
  ExpectStroke({kWmKeyDown, kVkDelete, kFlagExtended, kNoCtrl, kShift}, false, "Shift+Delete");
  ExpectStroke({kWmKeyDown, kVkDelete, kFlagExtended, kCtrl, kNoShift}, false, "Ctrl+Delete");
  ExpectStroke({kWmSysKeyDown, kVkDelete, kFlagExtended | kFlagAltDown, kCtrl, kNoShift}, false,
               "Ctrl+Alt+Delete");
  ExpectStroke({kWmKeyDown, kVkControl, kNoFlags, kCtrl, kNoShift}, false, "Ctrl");
  ExpectStroke({kWmKeyDown, kVkShift, kNoFlags, kNoCtrl, kShift}, false, "Shift");
  ExpectStroke({kWmSysKeyDown, 0x79, kNoFlags, kNoCtrl, kNoShift}, false, "F10");
  ExpectStroke({kWmSysKeyDown, 'A', kFlagAltDown, kNoCtrl, kNoShift}, false, "Alt+A");
}

TEST(KeyFilter, OnlyKeyPressAndReleaseMessagesAreExamined) {
  for (uint32_t message : {0u, 0x102u, 0x103u, 0x106u, 0x107u, 0x108u, 0x109u, 0xFFu, 0x200u}) {
    EXPECT_FALSE(SwallowKey(message, kVkLWin, kFlagExtended | kFlagAltDown, kCtrl, kShift))
        << "message 0x" << std::hex << message;
    EXPECT_FALSE(SwallowKey(message, kVkTab, kFlagAltDown, kCtrl, kShift)) << message;
  }
}

// The rules as the player reads them, in their own words.
bool Expected(uint32_t message, uint32_t vk, uint32_t flags, bool ctrl, bool shift) {
  const bool keyMessage = message == kWmKeyDown || message == kWmKeyUp ||
                          message == kWmSysKeyDown || message == kWmSysKeyUp;
  if (!keyMessage) return false;
  const bool alt = (flags & kFlagAltDown) || message == kWmSysKeyDown || message == kWmSysKeyUp;
  const bool leftWindows = vk == 0x5B;
  const bool altTab = alt && vk == 0x09;
  const bool altEsc = alt && vk == 0x1B;
  const bool ctrlEsc = ctrl && vk == 0x1B;
  const bool ctrlShiftDelete = ctrl && shift && vk == 0x2E;
  return leftWindows || altTab || altEsc || ctrlEsc || ctrlShiftDelete;
}

TEST(KeyFilter, EveryKeyWithEveryMessageFlagAndModifier) {
  const uint32_t messages[] = {kWmKeyDown, kWmKeyUp, kWmSysKeyDown, kWmSysKeyUp, 0x102, 0x106};
  const uint32_t flagBits[] = {kFlagExtended, kFlagInjected, kFlagAltDown, kFlagUp, 0x02, 0x40};
  int swallowed = 0;
  for (uint32_t vk = 0; vk <= 0xFF; ++vk) {
    for (uint32_t message : messages) {
      for (uint32_t mask = 0; mask < (1u << std::size(flagBits)); ++mask) {
        uint32_t flags = 0;
        for (size_t b = 0; b < std::size(flagBits); ++b) {
          if (mask & (1u << b)) flags |= flagBits[b];
        }
        for (int mods = 0; mods < 4; ++mods) {
          const bool ctrl = mods & 1, shift = mods & 2;
          const bool got = SwallowKey(message, vk, flags, ctrl, shift);
          if (got != Expected(message, vk, flags, ctrl, shift)) {
            ADD_FAILURE() << "vk 0x" << std::hex << vk << " message 0x" << message << " flags 0x"
                          << flags << std::dec << " ctrl " << ctrl << " shift " << shift
                          << ": swallowed " << got;
            return;
          }
          swallowed += got;
        }
      }
    }
  }
  EXPECT_GT(swallowed, 0);
}

// The hook reads Ctrl and Shift only for the keys that need them; for every
// other key the decision must come out the same whatever their state.
TEST(KeyFilter, ModifierStatesMatterOnlyWhereTheyAreRead) {
  const uint32_t messages[] = {kWmKeyDown, kWmKeyUp, kWmSysKeyDown, kWmSysKeyUp};
  for (uint32_t vk = 0; vk <= 0xFF; ++vk) {
    bool depends = false;
    for (uint32_t message : messages) {
      for (uint32_t flags : {0u, kFlagAltDown, kFlagUp | kFlagExtended}) {
        const bool none = SwallowKey(message, vk, flags, false, false);
        for (int mods = 1; mods < 4; ++mods) {
          depends = depends || SwallowKey(message, vk, flags, mods & 1, mods & 2) != none;
        }
      }
    }
    if (!NeedsModifierStates(vk)) {
      EXPECT_FALSE(depends) << "vk 0x" << std::hex << vk;
    }
  }
  EXPECT_TRUE(NeedsModifierStates(kVkEscape));
  EXPECT_TRUE(NeedsModifierStates(kVkDelete));
  EXPECT_FALSE(NeedsModifierStates('A'));
  EXPECT_FALSE(NeedsModifierStates(kVkLWin));
}

// Keys outside the byte range (the hook's field is 32 bits wide) are never
// mistaken for blocked ones.
TEST(KeyFilter, WideKeyCodesDoNotAliasBlockedKeys) {
  for (uint32_t high : {0x100u, 0x10000u, 0x80000000u}) {
    for (uint32_t vk : {kVkLWin, kVkTab, kVkEscape, kVkDelete}) {
      EXPECT_FALSE(SwallowKey(kWmSysKeyDown, high | vk, kFlagAltDown, kCtrl, kShift))
          << std::hex << (high | vk);
    }
  }
}

}  // namespace
}  // namespace quenlock
