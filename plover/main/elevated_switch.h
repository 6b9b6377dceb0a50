// A switch into a game folder that only an administrator may write (one
// under Program Files, with Plover not elevated): an elevated copy of Plover,
// started for this switch alone, does it, and its exit code tells the
// waiting Plover how it ended.
#pragma once

#include <optional>
#include <string>

#include "plover/base/scope.h"
#include "plover/main/switch_engine.h"

namespace plover {

// What an elevated run is given on its command line. The command starts
// with "/", which no version name holds, so it can never be taken for one.
struct ElevatedSwitch {
  Scope scope = Scope::kAll;
  std::string gameDir;
  std::string name;
  // The local application data folder of the player who asked ("" when not
  // known): the game's VirtualStore copies are in that player's, and an
  // administrator who elevates for a standard account has another.
  std::string localAppData;
  bool operator==(const ElevatedSwitch&) const = default;
};

// "/switch <scope> "<game directory>" "<name>" "<local application data>"":
// neither a folder nor a storable name holds a quotation mark.
std::string ElevatedSwitchArguments(const ElevatedSwitch& sw);
// The switch a command line asks for; nullopt when it is not such a command.
std::optional<ElevatedSwitch> ParseElevatedSwitch(const std::string& arguments);

// The elevated run's exit code for how its switch ended and the status line
// it ended with.
int ExitCodeOf(const SwitchReport& report, const std::string& status);

// What the waiting Plover makes of that exit code: the outcome, and the
// status line to show.
struct ElevatedResult {
  SwitchReport report;
  const char* status;
};
ElevatedResult ResultOfExitCode(int code);

}  // namespace plover
