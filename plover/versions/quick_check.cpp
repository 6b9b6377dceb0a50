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

bool VersionInstalled(fs::FileSystem& fs, std::string_view appDir, std::string_view name,
                      std::string_view gameDir, std::string_view mirror) {
  if (name.empty() || gameDir.empty()) return false;
  const ReadResult read = ReadEntries(fs, appDir, name);
  if (!read.status.ok() || read.entries.empty()) return false;
  const std::string game = AddBackslash(std::string(gameDir));
  for (const auto& entry : read.entries) {
    if (EntryEscapesGameDirectory(entry)) return false;
    std::string seen = GameFilePath(game, entry);
    if (!mirror.empty()) {
      std::string mirrored = GameFilePath(std::string(mirror), entry);
      if (fs.GetFile(mirrored).ok()) seen = std::move(mirrored);
    }
    if (!InPlace(fs, StoreCopyPath(appDir, name, entry), seen)) return false;
  }
  return true;
}

bool ShowInstalledVersion(Services& s, MainView& view, size_t budget) {
  const std::string gameDir = view.GamePath();
  std::string mirror = VirtualStoreOf(AddBackslash(gameDir), s.known);
  if (!mirror.empty() && !s.fs.FolderExists(mirror)) mirror.clear();
  const auto chosen = s.mark.Choose(
      view.Versions(),
      [&](const std::string& name) {
        return VersionInstalled(s.fs, s.appDir, name, gameDir, mirror);
      },
      budget);
  if (chosen) view.MarkInstalled(*chosen);
  return chosen.has_value();
}

}  // namespace plover::versions
