#include "plover/main/play_replay.h"

#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/commands.h"
#include "plover/main/installed.h"
#include "plover/main/switch_engine.h"
#include "plover/versions/version_file.h"

namespace plover {

std::vector<versions::VersionPatch> VersionPatches::Of(Services& s,
                                                       const std::vector<std::string>& names) {
  std::vector<versions::VersionPatch> out;
  for (const auto& name : names) {
    auto known = known_.find(name);
    if (known == known_.end()) {
      std::optional<versions::VersionPatch> patch;
      if (s.versionReader) {
        const std::string store = versions::StoreFolderPath(s.appDir, name) + "\\";
        auto v = s.versionReader->Read(store + "Game.dll");
        if (!v) v = s.versionReader->Read(store + "War3.exe");
        if (v) patch = versions::VersionPatch{name, v->b, v->d};
      }
      known = known_.emplace(name, patch).first;
    }
    if (known->second) out.push_back(*known->second);
  }
  return out;
}

ReplayPlay PlayReplay(Services& s, MainView& view, VersionPatches& patches,
                      const std::string& path) {
  // Replays run to megabytes; the header is all that is read.
  std::string head;
  fs::FileInfo info;
  std::optional<versions::ReplayHeader> header;
  if (s.fs.GetFile(path, &info).ok() &&
      s.fs.ReadPrefix(path, versions::kReplayHeaderBytes, head).ok()) {
    header = versions::ParseReplayHeader(head, info.size);
  }
  if (!header) {
    s.prompts.MsgBox(versions::kNotAReplay, text_of::kTitleError,
                     ui::kOkOnly | ui::kIconExclamation);
    return ReplayPlay::kNotAReplay;
  }
  const auto match = versions::MatchReplay(*header, patches.Of(s, view.Versions()));
  if (!match) {
    s.prompts.MsgBox(versions::NoMatchingVersionText(*header), text_of::kTitleError,
                     ui::kOkOnly | ui::kIconExclamation);
    return ReplayPlay::kNoMatch;
  }
  // Without a game directory the switch has already said so.
  if (SwitchVersion(s, view, *match, Scope::kAll).outcome != SwitchOutcome::kNoGame) {
    CmdRunGame(s, view, "-loadfile \"" + path + "\"");
  }
  return ReplayPlay::kStarted;
}

std::optional<std::string> ReplayFileNamedBy(fs::FileSystem& fs, const std::string& text) {
  std::string path = text;
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  if (path.size() <= 4 || !fs::EqualsNoCase(path.substr(path.size() - 4), ".w3g")) {
    return std::nullopt;
  }
  if (!fs.GetFile(path).ok()) return std::nullopt;
  return fs.FullPathOf(path);
}

std::optional<std::string> DroppedReplay(Services& s, const std::vector<std::string>& dropped) {
  if (s.switching || dropped.size() != 1) return std::nullopt;
  return ReplayFileNamedBy(s.fs, dropped.front());
}

}  // namespace plover
