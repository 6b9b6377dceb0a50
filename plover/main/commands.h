// The main window's commands: the buttons that run the program's logic.
#pragma once

#include <string>

#include "plover/base/main_view.h"
#include "plover/base/services.h"

namespace plover {

void CmdSwitchSelected(Services& s, MainView& view);  // btnTran, double-click
// btnRun; `arguments` go to the game.
void CmdRunGame(Services& s, MainView& view, const std::string& arguments = "");
void CmdChooseGameDir(Services& s, MainView& view);    // btnPath
void OnVersionClicked(MainView& view);                 // lstVer click
void CmdMakeLoader(Services& s, MainView& view);       // btnMake
void CmdDeleteVersion(Services& s, MainView& view);    // btnDel
void CmdChooseReplayDir(Services& s, MainView& view);  // btnSavePath
void CmdStartKeyBlocker(Services& s);                  // btnKill

// The refusal of every command that needs a version when none is selected:
// "请选择一个版本！".
void TellToSelectAVersion(Services& s);
// The selected version, or "" after telling the player to choose one.
std::string SelectedOrTell(Services& s, const MainView& view);

// True when the folder holds war3.exe (any letter case). A missing folder
// holds nothing.
bool HoldsWar3(fs::FileSystem& fs, const std::string& dir);

}  // namespace plover
