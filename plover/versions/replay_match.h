// Which registered version a replay plays with: the one recorded on the same
// build, else one of the same patch.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plover/versions/replay_header.h"

namespace plover::versions {

// A version's own patch and build, as its store copy of Game.dll (else
// War3.exe) names them in its file version a.b.c.d: patch b, build d.
struct VersionPatch {
  std::string name;
  uint32_t patch = 0;
  uint32_t build = 0;
};

// The version for `replay`, from `versions` in list order:
// 1. the first whose build equals the replay's;
// 2. else, of those with the replay's patch, the nearest build above the
//    replay's, else the nearest below;
// 3. else none.
std::optional<std::string> MatchReplay(const ReplayHeader& replay,
                                       const std::vector<VersionPatch>& versions);

// "没有找到与此录像匹配的版本（1.<patch>，build <build>）。请先添加该版本。"
std::string NoMatchingVersionText(const ReplayHeader& replay);
inline constexpr const char* kNotAReplay = "这不是一个魔兽争霸录像文件。";

}  // namespace plover::versions
