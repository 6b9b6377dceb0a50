// The game holds its program files open while it runs, so a switch then
// leaves them behind: it is noticed before a switch writes anything.
#pragma once

#include <string>
#include <vector>

#include "plover/base/services.h"

namespace plover {

// True when one of the running programs is the war3.exe of `gameDir`: its
// full path equals AddBackslash(gameDir) + "war3.exe", without regard to
// letter case. A war3.exe from another folder does not count, nor does any
// when no game folder is set.
bool GameRunsFrom(const std::vector<std::string>& imagePaths, const std::string& gameDir);

// When the game of `gameDir` runs, asks whether the switch should go on
// anyway (No is the default). True when it goes on: the game does not run,
// or the player said Yes.
bool GoOnThoughGameRuns(Services& s, const std::string& gameDir);

}  // namespace plover
