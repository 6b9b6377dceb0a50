// The pop-up menus' commands: what each item of mMain and mTranB runs.
#include "plover/main/menu_commands.h"

#include "plover/main/commands.h"
#include "plover/main/installed.h"

namespace plover {

void RunMenuCommand(const shell::MenuCommand& command, Services& s, MainView& view,
                    shell::MenuHost& host) {
  // While a switch runs, no menu starts another one, starts a program or
  // ends the program.
  if (s.switching) return;
  switch (command.action) {
    case shell::MenuAction::kNone:
      break;
    case shell::MenuAction::kSwitch:
      SwitchVersion(s, view, command.version, command.scope);
      break;
    case shell::MenuAction::kSwitchSelected:
      // With nothing selected the name is empty, and the switch says so.
      SwitchVersion(s, view, view.SelectedVersion(), command.scope);
      break;
    case shell::MenuAction::kStartKeyBlocker:
      CmdStartKeyBlocker(s);
      break;
    case shell::MenuAction::kToggleReplay:
      host.SetReplayWatchOn(!host.ReplayWatchOn());
      break;
    case shell::MenuAction::kRunGame:
      CmdRunGame(s, view);
      break;
    case shell::MenuAction::kExit:
      host.ExitProgram();
      break;
  }
}

}  // namespace plover
