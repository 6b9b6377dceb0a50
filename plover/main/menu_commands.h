// Runs the commands of the pop-up menus against the program's logic.
#pragma once

#include "plover/base/main_view.h"
#include "plover/base/services.h"
#include "plover/shell/menu_model.h"

namespace plover {

void RunMenuCommand(const shell::MenuCommand& command, Services& s, MainView& view,
                    shell::MenuHost& host);

}  // namespace plover
