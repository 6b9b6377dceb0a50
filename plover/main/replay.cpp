#include "plover/main/replay.h"

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

bool ReplayWatch::TakeIfNew(const fs::FileInfo& info) {
  if (info.size == lastLength && info.lastWrite == lastWrite) return false;
  lastLength = info.size;
  lastWrite = info.lastWrite;
  return true;
}

std::string WatchedReplayPath(std::string_view gameDir) {
  return AddBackslash(gameDir) + "replay\\LastReplay.w3g";
}

bool CreateFolders(fs::FileSystem& fs, std::string_view path) {
  std::string dir(path);
  while (dir.size() > 1 && dir.back() == '\\') dir.pop_back();
  if (dir.empty() || fs.FolderExists(dir)) return !dir.empty();
  const size_t slash = dir.rfind('\\');
  if (slash != std::string::npos && slash > 0) {
    const std::string parent = dir.substr(0, slash);
    // A drive ("C:") or a UNC server has no folder to create.
    if (!(parent.size() == 2 && parent[1] == ':') && !parent.ends_with("\\")) {
      if (!CreateFolders(fs, parent)) return false;
    }
  }
  const fs::Status s = fs.CreateFolder(dir);
  return s.ok() || fs.FolderExists(dir);
}

bool ReplayTick(fs::FileSystem& fs, Clock& clock, ReplayWatch& watch, std::string_view gameDir,
                std::string_view replayDir, Journal* journal) {
  const std::string watched = WatchedReplayPath(gameDir);
  fs::FileInfo info;
  if (!fs.GetFile(watched, &info).ok()) return false;
  if (info.size == watch.lastLength && info.lastWrite == watch.lastWrite) return false;
  if (!CreateFolders(fs, replayDir)) return false;
  const std::string target = ReplayCopyName(AddBackslash(replayDir), clock.Now());
  const JournalEntry entry(journal, {journal_kind::kReplay, target});
  // A replay that could not be copied is tried again at the next tick.
  if (!fs::SafeCopy(fs, watched, target).ok()) return false;
  (void)watch.TakeIfNew(info);
  return true;
}

}  // namespace plover
