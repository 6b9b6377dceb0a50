// The help window: the usage text, a button that opens the project's web page
// and one that closes the window.
#pragma once

#include <windows.h>

namespace plover::shell {

enum HelpControlId : int {
  kHelpText = 1101,     // Text1
  kHelpOk = 1102,       // btnOK
  kHelpConnect = 1103,  // btnConnect
};

// Shows the help window modally over `owner` (which is disabled meanwhile)
// and returns when it has been closed.
void ShowHelp(HWND owner);

}  // namespace plover::shell
