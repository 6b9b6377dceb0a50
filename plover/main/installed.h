// Switching with the installed mark kept true: after a switch the version
// list marks what the game directory holds.
#pragma once

#include <string>

#include "plover/base/main_view.h"
#include "plover/base/scope.h"
#include "plover/base/services.h"
#include "plover/main/switch_engine.h"

namespace plover {

// ApplyVersion, and then the mark shows what the game directory holds now.
// A refused switch changed nothing, so the mark stays.
SwitchReport SwitchVersion(Services& s, MainView& view, const std::string& name, Scope scope);

}  // namespace plover
