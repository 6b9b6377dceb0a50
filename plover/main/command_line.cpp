#include "plover/main/command_line.h"

#include "plover/base/file_system.h"
#include "plover/main/commands.h"
#include "plover/main/installed.h"
#include "plover/main/switch_engine.h"

namespace plover {
namespace {

bool IsListed(const MainView& view, const std::string& name) {
  for (const auto& v : view.Versions()) {
    if (fs::EqualsNoCase(v, name)) return true;
  }
  return false;
}

}  // namespace

bool NamesCommand(Services& s, const MainView& view, const std::string& arguments) {
  if (arguments.empty()) return false;
  return IsListed(view, arguments) || ReplayFileNamedBy(s.fs, arguments).has_value();
}

bool RunCommandLine(Services& s, MainView& view, VersionPatches& patches,
                    const std::string& arguments) {
  if (arguments.empty()) return false;
  if (IsListed(view, arguments)) {
    // The command-line text itself is switched to, not the list item.
    // Without a game directory the switch has already said so.
    if (SwitchVersion(s, view, arguments, Scope::kAll).outcome != SwitchOutcome::kNoGame) {
      CmdRunGame(s, view);
    }
    return true;
  }
  // Not a version: perhaps a replay to play with the version it needs.
  const auto replay = ReplayFileNamedBy(s.fs, arguments);
  return replay && PlayReplay(s, view, patches, *replay) == ReplayPlay::kStarted;
}

std::string HandOverText(fs::FileSystem& fs, const std::string& arguments) {
  return ReplayFileNamedBy(fs, arguments).value_or(arguments);
}

bool TakesHandOver(Services& s, const MainView& view, bool idle, const std::string& arguments) {
  return idle && !s.switching && NamesCommand(s, view, arguments);
}

}  // namespace plover
