// The two pop-up menus of the menu window frmMenu, as plain data: mMain (the
// notification-area icon's right click) and mTranB (the more-switching
// button). They are built afresh for every pop-up from the version list and
// the replay check box, so each shows the state of that moment; each item
// knows the command it runs.
#pragma once

#include <string>
#include <vector>

#include "plover/base/scope.h"

namespace plover::shell {

enum class MenuAction {
  kNone,            // headings and submenus: nothing to run
  kSwitch,          // ApplyVersion(version, scope)
  kSwitchSelected,  // ApplyVersion(selected version of lstVer, scope)
  kStartKeyBlocker,
  kToggleReplay,
  kRunGame,
  kExit,
};

struct MenuCommand {
  MenuAction action = MenuAction::kNone;
  std::string version;  // kSwitch only
  Scope scope{};        // kSwitch and kSwitchSelected
  bool operator==(const MenuCommand&) const = default;
};

struct MenuItem {
  std::string name;  // the item's name in the program: "mTranAll", "mExit"...
  std::string caption;
  bool enabled = true;
  bool checked = false;
  MenuCommand command;
  std::vector<MenuItem> items;  // the submenu; empty for a plain item

  bool IsSubmenu() const { return !items.empty(); }
};

// mMain: switching to any version whole, files only or maps only (each list
// headed by the greyed "选择版本"), the key blocker, the replay watch (checked
// when `replayOn`), the game and quitting.
MenuItem BuildMainMenu(const std::vector<std::string>& versions, bool replayOn);
// mTranB: the selected version, maps only or files only.
MenuItem BuildTranBMenu();

// The main window's side of the menu commands that go beyond the logic's
// interfaces.
class MenuHost {
 public:
  virtual ~MenuHost() = default;
  // Whether chkSave is ticked.
  virtual bool ReplayWatchOn() const = 0;
  // Ticks or unticks chkSave, which starts or stops Timer1 with it.
  virtual void SetReplayWatchOn(bool on) = 0;
  // Removes the notification-area icon and closes the main window, which
  // saves the settings and ends the program.
  virtual void ExitProgram() = 0;
  // Runs the command of a chosen menu item.
  virtual void RunMenuCommand(const MenuCommand& command) = 0;
  // True while a switch runs: the notification-area icon then ignores clicks.
  virtual bool Busy() const = 0;
};

}  // namespace plover::shell
