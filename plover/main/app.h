// The main program's logic: start-up, closing, switching and the commands of
// the main window, written against small interfaces so that it runs the same
// on Windows and in tests.
#pragma once

#include <string>
#include <vector>

#include "plover/base/main_view.h"
#include "plover/base/scope.h"
#include "plover/base/services.h"
#include "plover/main/recovery.h"
#include "plover/main/switch_engine.h"

namespace plover {

enum class StartupResult { kShowWindow, kClose };

// Everything from reading ver.dat until the window is shown. kClose means the
// caller closes the main window (which saves the settings) and ends.
// `recovery` leaves out kinds of interrupted work (see RecoverySteps).
StartupResult RunStartup(Services& s, MainView& view, const std::string& arguments,
                         const RecoverySteps& recovery = {});

// What start-up leaves until the window is shown: the sweep of temporaries,
// then the installed mark, in slices small enough for the window to stay
// responsive. Step returns false once all is done.
class StartupTail {
 public:
  bool Step(Services& s, MainView& view);

 private:
  TemporariesSweep sweep_;
  bool swept_ = false;
};

// Closing: writes ver.dat whole or not at all; tells the player when it
// cannot. Returns false when the file could not be written.
bool SaveSettings(Services& s, const MainView& view);

// The main window's commands.
void CmdSwitchSelected(Services& s, MainView& view);  // btnTran, double-click
// btnRun; `arguments` go to the game.
void CmdRunGame(Services& s, MainView& view, const std::string& arguments = "");
void CmdChooseGameDir(Services& s, MainView& view);    // btnPath
void OnVersionClicked(MainView& view);                 // lstVer click
void CmdMakeLoader(Services& s, MainView& view);       // btnMake
void CmdDeleteVersion(Services& s, MainView& view);    // btnDel
void CmdChooseReplayDir(Services& s, MainView& view);  // btnSavePath
void CmdStartKeyBlocker(Services& s);                  // btnKill

// True when the folder holds war3.exe (any letter case). A missing folder
// holds nothing.
bool HoldsWar3(fs::FileSystem& fs, const std::string& dir);

}  // namespace plover
