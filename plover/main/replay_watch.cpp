#include "plover/main/replay_watch.h"

#include <vector>

#include "plover/base/functions.h"

namespace plover {

std::string ReplayCopyName(std::string_view replayDir, const LocalTime& t) {
  std::string name(replayDir);
  // Each number is written as a signed number would be, a blank standing
  // where the minus sign would go.
  auto number = [&name](int v, const char* after) {
    name.push_back(' ');
    name.append(std::to_string(v));
    name.append(after);
  };
  number(t.year, "-");
  number(t.month, "-");
  number(t.day, " ");
  number(t.hour, ".");
  number(t.minute, ".");
  number(t.second, ".w3g");
  return name;
}

ReplaySource NewReplay(const ReplayWatch& watch, const std::optional<fs::FileInfo>& game,
                       const std::optional<fs::FileInfo>& mirror) {
  const bool newGame = game && watch.game.Differs(*game);
  const bool newMirror = mirror && watch.mirror.Differs(*mirror);
  if (newGame && newMirror) {
    return mirror->lastWrite > game->lastWrite ? ReplaySource::kMirror : ReplaySource::kGame;
  }
  if (newMirror) return ReplaySource::kMirror;
  return newGame ? ReplaySource::kGame : ReplaySource::kNone;
}

std::string WatchedReplayPath(std::string_view gameDir) {
  return AddBackslash(gameDir) + "replay\\LastReplay.w3g";
}

namespace {

// A directory too long for a Win32 call, or not well-formed text, is taken
// for a missing one.
bool WithinPathLimit(std::string_view dir) {
  const auto units = Utf16Length(dir);
  return units && *units <= kPathLimit;
}

// How much of a path is its root, which is never created: "C:" of a drive
// path, "\\server\share" of a UNC path, nothing of any other path.
size_t RootLength(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return 2;
  if (!path.starts_with("\\\\")) return 0;
  const size_t server = path.find('\\', 2);
  if (server == std::string_view::npos) return path.size();
  const size_t share = path.find('\\', server + 1);
  return share == std::string_view::npos ? path.size() : share;
}

}  // namespace

bool CreateFolders(fs::FileSystem& fs, std::string_view path) {
  std::string_view dir = path;
  while (dir.size() > 1 && dir.back() == '\\') dir.remove_suffix(1);
  if (dir.empty() || !WithinPathLimit(dir)) return false;
  const size_t root = RootLength(dir);

  // Walks up to the nearest folder that exists, noting the missing ones, and
  // then creates them from the top down.
  std::vector<size_t> missing;  // their lengths, the deepest first
  size_t end = dir.size();
  while (end > root && !fs.FolderExists(std::string(dir.substr(0, end)))) {
    missing.push_back(end);
    const size_t slash = dir.rfind('\\', end - 1);
    if (slash == std::string_view::npos || slash == 0 || slash < root) break;
    end = slash;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    const std::string folder(dir.substr(0, *it));
    if (!fs.CreateFolder(folder).ok() && !fs.FolderExists(folder)) return false;
  }
  // Nothing was missing: the folder exists, or it is a root, which must.
  if (missing.empty() && end <= root) return fs.FolderExists(std::string(dir));
  return true;
}

bool ReplayTick(fs::FileSystem& fs, Clock& clock, ReplayWatch& watch, std::string_view gameDir,
                std::string_view replayDir, Journal* journal, std::string_view mirror) {
  if (!WithinPathLimit(gameDir) || !WithinPathLimit(replayDir)) return false;
  const auto look = [&fs](const std::string& path) -> std::optional<fs::FileInfo> {
    fs::FileInfo info;
    if (!fs.GetFile(path, &info).ok()) return std::nullopt;
    return info;
  };
  const std::string inGame = WatchedReplayPath(gameDir);
  const std::string inMirror = mirror.empty() ? std::string() : WatchedReplayPath(mirror);
  const auto game = look(inGame);
  const auto mirrored = inMirror.empty() ? std::nullopt : look(inMirror);
  const ReplaySource source = NewReplay(watch, game, mirrored);
  if (source == ReplaySource::kNone) return false;
  if (!CreateFolders(fs, replayDir)) return false;
  const std::string target = ReplayCopyName(AddBackslash(replayDir), clock.Now());
  const JournalEntry entry(journal, {journal_kind::kReplay, target});
  const bool fromMirror = source == ReplaySource::kMirror;
  // A replay that could not be copied is tried again at the next tick.
  if (!fs::SafeCopy(fs, fromMirror ? inMirror : inGame, target).ok()) return false;
  // Both count as seen: the other one, if new too, is older.
  for (const auto& [seen, info] : {std::pair{&watch.game, game}, {&watch.mirror, mirrored}}) {
    if (info) *seen = {info->size, info->lastWrite};
  }
  return true;
}

}  // namespace plover
