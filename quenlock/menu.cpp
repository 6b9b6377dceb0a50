#include "quenlock/menu.h"

namespace quenlock {

std::array<MenuEntry, 3> Form1Menu(bool blocking) {
  return {{
      {kChkDisable, "屏蔽Winkey", true, blocking},
      {kMAlt, "自动按下 Alt ", false, false},
      {kMAbout, "Created by Velmor", true, false},
  }};
}

}  // namespace quenlock
