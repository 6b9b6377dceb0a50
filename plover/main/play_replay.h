// Playing a replay with the version it was recorded with: the replay's
// header names its build and patch, each version's store copy of Game.dll
// (else War3.exe) names its own; Plover switches to the match and starts the
// game on the replay.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "plover/base/main_view.h"
#include "plover/base/services.h"
#include "plover/versions/replay_match.h"

namespace plover {

// The versions' own patches, each read once while Plover runs.
class VersionPatches {
 public:
  // The patches of the versions `names` that have one, in that order.
  std::vector<versions::VersionPatch> Of(Services& s, const std::vector<std::string>& names);

 private:
  std::map<std::string, std::optional<versions::VersionPatch>> known_;
};

enum class ReplayPlay {
  kNotAReplay,  // told "这不是一个魔兽争霸录像文件。"
  kNoMatch,     // told which patch is missing; nothing switched or started
  kStarted,     // switched (with its own questions and reports), then the game started
};

// Plays the replay at `path` (a full path).
ReplayPlay PlayReplay(Services& s, MainView& view, VersionPatches& patches,
                      const std::string& path);

// The full path of the existing *.w3g file that `text` names (quotation
// marks around it allowed); nullopt when it names none.
std::optional<std::string> ReplayFileNamedBy(fs::FileSystem& fs, const std::string& text);

// The replay to play when `dropped` (full paths) are dropped on the main
// window: only a single existing *.w3g file is played. Several files, a
// file of another kind, or a drop while a switch runs, play nothing and say
// nothing.
std::optional<std::string> DroppedReplay(Services& s, const std::vector<std::string>& dropped);

}  // namespace plover
