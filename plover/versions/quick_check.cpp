#include "plover/versions/quick_check.h"

#include "plover/base/functions.h"
#include "plover/base/virtual_store.h"
#include "plover/versions/version_file.h"

namespace plover::versions {

bool InPlace(fs::FileSystem& fs, const std::string& storeCopy, const std::string& gameFile) {
  fs::FileInfo store;
  fs::FileInfo game;
  if (!fs.GetFile(storeCopy, &store).ok() || !fs.GetFile(gameFile, &game).ok()) return false;
  return store.size == game.size && store.lastWrite == game.lastWrite;
}

namespace {

// The game folder's VirtualStore folder where there is one, else "".
std::string MirrorOf(Services& s, const std::string& gameDir) {
  std::string mirror = VirtualStoreOf(AddBackslash(gameDir), s.known);
  if (!mirror.empty() && !s.fs.FolderExists(mirror)) mirror.clear();
  return mirror;
}

// One entry of a version in place: the file the game reads (the mirror's
// copy where there is one) is the store copy. `game` ends in "\".
bool EntryInPlace(fs::FileSystem& fs, std::string_view appDir, std::string_view name,
                  const std::string& game, std::string_view mirror, const std::string& entry) {
  if (EntryEscapesGameDirectory(entry)) return false;
  std::string seen = GameFilePath(game, entry);
  if (!mirror.empty()) {
    std::string mirrored = GameFilePath(std::string(mirror), entry);
    if (fs.GetFile(mirrored).ok()) seen = std::move(mirrored);
  }
  return InPlace(fs, StoreCopyPath(appDir, name, entry), seen);
}

}  // namespace

bool VersionInstalled(fs::FileSystem& fs, std::string_view appDir, std::string_view name,
                      std::string_view gameDir, std::string_view mirror) {
  if (name.empty() || gameDir.empty()) return false;
  const ReadResult read = ReadEntries(fs, appDir, name);
  if (!read.status.ok() || read.entries.empty()) return false;
  const std::string game = AddBackslash(std::string(gameDir));
  for (const auto& entry : read.entries) {
    if (!EntryInPlace(fs, appDir, name, game, mirror, entry)) return false;
  }
  return true;
}

void ShowInstalledVersion(Services& s, MainView& view) {
  const std::string gameDir = view.GamePath();
  const std::string mirror = MirrorOf(s, gameDir);
  const auto chosen =
      s.mark.Choose(view.Versions(), [&](const std::string& name) -> std::optional<bool> {
        return VersionInstalled(s.fs, s.appDir, name, gameDir, mirror);
      });
  if (chosen) view.MarkInstalled(*chosen);
}

bool InstalledCheck::Step(Services& s, MainView& view, size_t lookUps) {
  const std::string gameDir = view.GamePath();
  const std::string mirror = MirrorOf(s, gameDir);
  const std::string game = AddBackslash(gameDir);
  // An entry costs the store copy's look-up, the game file's and, with a
  // mirror, the mirror's.
  const size_t perEntry = mirror.empty() ? 2 : 3;
  size_t left = lookUps;
  const auto chosen =
      s.mark.Choose(view.Versions(), [&](const std::string& name) -> std::optional<bool> {
        if (name != name_ || generation_ != s.mark.Generation()) {
          // A version not begun, or one begun before something changed.
          if (left == 0) return std::nullopt;
          --left;
          name_.clear();
          const ReadResult read = ReadEntries(s.fs, s.appDir, name);
          if (gameDir.empty() || !read.status.ok() || read.entries.empty()) return false;
          name_ = name;
          generation_ = s.mark.Generation();
          entries_ = read.entries;
          next_ = 0;
        }
        for (; next_ < entries_.size(); ++next_) {
          if (left < perEntry) return std::nullopt;
          left -= perEntry;
          if (!EntryInPlace(s.fs, s.appDir, name, game, mirror, entries_[next_])) break;
        }
        const bool whole = next_ == entries_.size();
        name_.clear();
        entries_.clear();
        return whole;
      });
  if (chosen) view.MarkInstalled(*chosen);
  return chosen.has_value();
}

}  // namespace plover::versions
