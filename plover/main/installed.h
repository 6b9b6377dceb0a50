// Which version the game directory holds, shown in the version list: after
// start-up, after every switch and after the game directory changes.
#pragma once

#include <string>
#include <vector>

#include "plover/base/main_view.h"
#include "plover/base/scope.h"
#include "plover/base/services.h"
#include "plover/main/app.h"

namespace plover {

// The version among `names` whose every game file below `gameDir` holds its
// store copy; "" when there is none. When several do (their store copies
// came from the same files), `preferred` wins if it is one of them, else the
// first listed.
std::string InstalledVersion(fs::FileSystem& fs, const std::string& appDir,
                             const std::string& gameDir, const std::vector<std::string>& names,
                             const std::string& preferred = "");

// Marks the installed version of the view's list (none when none is).
void ShowInstalledVersion(Services& s, MainView& view, const std::string& preferred = "");

// ApplyVersion, and then the mark shows what the game directory holds now.
// A refused switch changed nothing, so the mark stays.
SwitchReport SwitchVersion(Services& s, MainView& view, const std::string& name, Scope scope);

}  // namespace plover
