// The loader batch file: switches to a version and starts the game without
// showing Plover's window, by running Plover with the version's name.
#pragma once

#include <string>
#include <string_view>

namespace plover {

// Escapes text for a cmd.exe command line in a batch file so that it reaches
// the program unchanged: outside quotation marks & | < > ^ ( ) ! get a caret,
// and % is doubled everywhere (a caret does not protect it in batch files).
std::string EscapeForBatch(std::string_view text);

// The three lines of the loader (UTF-8), each followed by CR LF. The third
// runs "<exeStem>.exe <versionName>"; an executable name that cmd would cut
// at a blank or another separator, or that begins with "@", is put in
// quotation marks.
std::string LoaderText(std::string_view exeStem, std::string_view versionName);

// "<version>loader.bat" in the program directory.
std::string LoaderPath(std::string_view appDir, std::string_view versionName);

}  // namespace plover
