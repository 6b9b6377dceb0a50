#include "plover/versions/replay_match.h"

namespace plover::versions {

std::optional<std::string> MatchReplay(const ReplayHeader& replay,
                                       const std::vector<VersionPatch>& versions) {
  for (const auto& v : versions) {
    if (v.build == replay.build) return v.name;
  }
  const VersionPatch* above = nullptr;
  const VersionPatch* below = nullptr;
  for (const auto& v : versions) {
    if (v.patch != replay.patch) continue;
    if (v.build > replay.build) {
      if (!above || v.build < above->build) above = &v;
    } else if (!below || v.build > below->build) {
      below = &v;
    }
  }
  if (above) return above->name;
  if (below) return below->name;
  return std::nullopt;
}

std::string NoMatchingVersionText(const ReplayHeader& replay) {
  return "没有找到与此录像匹配的版本（1." + std::to_string(replay.patch) + "，build " +
         std::to_string(replay.build) + "）。请先添加该版本。";
}

}  // namespace plover::versions
