// Plover's command line: a listed version's name switches to it and starts
// the game, a replay file plays with the version it needs. Start-up runs it
// and then ends; a second start hands it to the Plover already running,
// which runs it and stays open.
#pragma once

#include <string>

#include "plover/base/main_view.h"
#include "plover/base/services.h"
#include "plover/main/play_replay.h"

namespace plover {

// True when `arguments` name a listed version (without regard to letter
// case) or an existing replay file.
bool NamesCommand(Services& s, const MainView& view, const std::string& arguments);

// Runs the command `arguments` name, as start-up does: true when it ran and
// start-up ends the program; false when they name nothing, or a replay that
// no version can play (the player has been told), and the window stays.
bool RunCommandLine(Services& s, MainView& view, VersionPatches& patches,
                    const std::string& arguments);

// The command line a second start hands to the running Plover: a replay's
// path made full, since the running Plover has a current directory of its
// own; anything else as it is.
std::string HandOverText(fs::FileSystem& fs, const std::string& arguments);

// Whether the running Plover takes a command line handed over: only when it
// is `idle` (no switch, no modal window, no message box) and the command
// names something it knows. Otherwise the second start tells the player
// that Plover runs.
bool TakesHandOver(Services& s, const MainView& view, bool idle, const std::string& arguments);

}  // namespace plover
