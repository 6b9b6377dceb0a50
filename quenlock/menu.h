// Form1's pop-up menu mMain, as plain data: what the notification-area icon's
// right click shows for a given blocking state.
#pragma once

#include <array>
#include <string_view>

namespace quenlock {

// Item identifiers; 0 is "nothing chosen".
enum MenuId : unsigned {
  kChkDisable = 1,  // blocking off or on
  kMAlt = 2,        // cannot be chosen
  kMAbout = 3,      // does nothing
};

struct MenuEntry {
  MenuId id;
  std::string_view caption;
  bool enabled;
  bool checked;
};

// The items in display order. The check mark of chkDisable shows whether
// keys are being blocked, which is whether the hook is installed.
std::array<MenuEntry, 3> Form1Menu(bool blocking);

inline constexpr const char* kTip = "点击取消屏蔽";
inline constexpr const char* kCaption = "Quenlock";

}  // namespace quenlock
