#include "plover/main/recovery.h"

#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/versions/loader.h"
#include "plover/versions/version_file.h"

namespace plover {
namespace {

using versions::StoreFolderPath;
using versions::VersionFilePath;

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
  return name.size() >= suffix.size() &&
         fs::EqualsNoCase(name.substr(name.size() - suffix.size()), suffix);
}

bool IsFile(fs::FileSystem& fs, const std::string& path) {
  return fs.GetFile(path).ok();
}

// Deletes a file if it is there; true when it is not there afterwards.
bool DeleteIfThere(fs::FileSystem& fs, const std::string& path) {
  const fs::Status s = fs.GetFile(path);
  if (s.is(fs::kFileNotFound)) return true;
  return s.ok() && fs.Delete(path).ok();
}

// A switch copies each store copy to a temporary first: what it was writing
// when it stopped is thrown away. The game files themselves were only ever
// replaced whole. The copies under way sit in one folder of the game folder,
// and beside their game files only when the record says so: only then is
// each entry looked at.
bool DropSwitchTemporaries(Services& s, const std::string& gameDir, const std::string& name,
                           bool beside) {
  bool ok = RemoveSwitchTemporaryFolder(s, gameDir);
  if (!beside) return ok;
  std::string bytes;
  const fs::Status read = s.fs.ReadAll(VersionFilePath(s.appDir, name), bytes);
  if (read.is(fs::kFileNotFound) || read.is(fs::kPathNotFound)) return ok;
  if (!read.ok()) return false;
  for (const auto& raw : versions::SplitLines(bytes)) {
    const auto entry = text::GbkToUtf8(raw);
    if (!entry || EntryEscapesGameDirectory(*entry)) continue;
    ok = DeleteIfThere(s.fs, versions::GameFilePath(gameDir, *entry) + std::string(kTempSuffix)) &&
         ok;
  }
  return ok;
}

// A build records itself once its new set is complete, so it is always
// finished: the new store copies and version file move into place over
// whatever they replace, and the old files set aside go with the sweep.
bool FinishBuild(Services& s, const std::string& name) {
  const std::string store = StoreFolderPath(s.appDir, name);
  const std::string newStore = store + std::string(kNewSuffix);
  const std::string versionFile = VersionFilePath(s.appDir, name);
  const std::string newVersionFile = versionFile + std::string(kNewSuffix);
  bool ok = true;
  if (s.fs.FolderExists(newStore)) {
    if (!s.fs.FolderExists(store)) {
      ok = s.fs.MoveFolder(newStore, store).ok();
    } else {
      std::vector<std::string> names;
      ok = s.fs.ListFiles(newStore, "*", names).ok();
      for (const auto& n : names) {
        ok = s.fs.Move(newStore + "\\" + n, store + "\\" + n, /*replace=*/true).ok() && ok;
      }
      if (ok) ok = s.fs.DeleteFolder(newStore).ok();
    }
  }
  if (ok && IsFile(s.fs, newVersionFile)) {
    ok = s.fs.Move(newVersionFile, versionFile, /*replace=*/true).ok();
  }
  return ok;
}

// A rename moves the store folder, then the version file, then the loader;
// whatever of it had not happened yet happens now.
bool FinishRename(Services& s, const std::string& from, const std::string& to) {
  const bool sameName = fs::EqualsNoCase(from, to);
  bool ok = true;
  const std::string fromStore = StoreFolderPath(s.appDir, from);
  const std::string toStore = StoreFolderPath(s.appDir, to);
  if (s.fs.FolderExists(fromStore) && (sameName || !s.fs.FolderExists(toStore))) {
    ok = s.fs.MoveFolder(fromStore, toStore).ok();
  }
  const std::string fromFile = VersionFilePath(s.appDir, from);
  const std::string toFile = VersionFilePath(s.appDir, to);
  if (ok && IsFile(s.fs, fromFile) && (sameName || !IsFile(s.fs, toFile))) {
    ok = s.fs.Move(fromFile, toFile, /*replace=*/false).ok();
  }
  const std::string fromLoader = LoaderPath(s.appDir, from);
  if (ok && IsFile(s.fs, fromLoader)) {
    if (const auto bytes = text::Utf8ToGbk(LoaderText(s.exeStem, to))) {
      ok = fs::SafeWrite(s.fs, LoaderPath(s.appDir, to), *bytes).ok();
      if (ok && !sameName) ok = s.fs.Delete(fromLoader).ok();
    }
  }
  return ok;
}

// The player asked for the store folder to go with the version file; it is
// never deleted while a version file names it.
bool FinishDelete(Services& s, const std::string& name) {
  const std::string store = StoreFolderPath(s.appDir, name);
  if (!s.fs.GetFile(VersionFilePath(s.appDir, name)).is(fs::kFileNotFound)) return true;
  return !s.fs.FolderExists(store) || s.fs.DeleteFolder(store).ok();
}

// An empty version: its store folder and an empty version file.
bool FinishExpert(Services& s, const std::string& name) {
  const std::string store = StoreFolderPath(s.appDir, name);
  bool ok = s.fs.FolderExists(store) || s.fs.CreateFolder(store).ok();
  const std::string versionFile = VersionFilePath(s.appDir, name);
  if (s.fs.GetFile(versionFile).is(fs::kFileNotFound)) {
    ok = fs::SafeWrite(s.fs, versionFile, "").ok() && ok;
  }
  return ok;
}

bool Finish(Services& s, const Journal::Record& r, const RecoverySteps& steps) {
  namespace kind = journal_kind;
  const std::string& k = r[0];
  // A record of three fields comes from an older Plover, which put
  // temporaries beside their targets as well.
  if (k == kind::kSwitch && r.size() == 3) return DropSwitchTemporaries(s, r[1], r[2], true);
  if (k == kind::kSwitch && r.size() == 4) {
    return DropSwitchTemporaries(s, r[1], r[2], r[3] != kind::kInFolder);
  }
  if (k == kind::kBuild && r.size() == 2) return !steps.builds || FinishBuild(s, r[1]);
  if (k == kind::kRename && r.size() == 3) return !steps.renames || FinishRename(s, r[1], r[2]);
  if (k == kind::kDelete && r.size() == 2) return !steps.deletes || FinishDelete(s, r[1]);
  if (k == kind::kExpert && r.size() == 2) return FinishExpert(s, r[1]);
  if (k == kind::kReplay && r.size() == 2) {
    return DeleteIfThere(s.fs, r[1] + std::string(kTempSuffix));
  }
  return true;  // nothing this program knows how to finish
}

bool IsTemporaryName(std::string_view name) {
  return EndsWithNoCase(name, kTempSuffix) || EndsWithNoCase(name, kNewSuffix) ||
         EndsWithNoCase(name, kOldSuffix);
}

// Plover's temporary files in `dir`.
void SweepFiles(Services& s, const std::string& dir) {
  std::vector<std::string> names;
  if (!s.fs.ListFiles(dir, "*.plover-*", names).ok()) return;
  for (const auto& n : names) {
    if (IsTemporaryName(n)) (void)s.fs.Delete(dir + n);
  }
}

// A folder of the program directory: a new store not yet in place goes
// whole, unless a version file claims it (a version may be called
// "x.plover-new" itself); a store's temporaries and set-aside files go.
void SweepFolder(Services& s, const std::string& folder) {
  const std::string path = s.appDir + folder;
  if (EndsWithNoCase(folder, kNewSuffix) && !IsFile(s.fs, VersionFilePath(s.appDir, folder))) {
    (void)s.fs.DeleteFolder(path);
    return;
  }
  std::vector<std::string> names;
  if (!s.fs.ListFiles(path, "*.plover-*", names).ok()) return;
  for (const auto& n : names) {
    if (EndsWithNoCase(n, kTempSuffix) || EndsWithNoCase(n, kOldSuffix)) {
      (void)s.fs.Delete(path + "\\" + n);
    }
  }
}

}  // namespace

bool RemoveSwitchTemporaryFolder(Services& s, const std::string& gameDir) {
  // A relative folder would be looked for under the current directory.
  if (!IsAbsolutePath(gameDir)) return true;
  const std::string folder = AddBackslash(gameDir) + std::string(kTempSuffix);
  return !s.fs.FolderExists(folder) || s.fs.DeleteFolder(folder).ok();
}

void RecoverInterruptedWork(Services& s, const RecoverySteps& steps) {
  const std::string journalPath = Journal::PathIn(s.appDir);
  std::string bytes;
  const fs::Status read =
      steps.journal ? s.fs.ReadAll(journalPath, bytes) : fs::Status{fs::kFileNotFound};
  bool finished = read.is(fs::kFileNotFound) || read.is(fs::kPathNotFound);
  if (read.ok()) {
    finished = true;
    for (const auto& record : Journal::Parse(bytes)) {
      finished = Finish(s, record, steps) && finished;
    }
  }
  // The temporaries of unfinished work are what the next start finishes it
  // from: they stay with the journal, and no sweep runs this time.
  if (finished && read.ok()) (void)s.fs.Delete(journalPath);
}

bool TemporariesSweep::Step(Services& s, size_t folders) {
  if (s.switching) return true;  // its temporaries are in use: later
  if (!listed_) {
    listed_ = true;
    // Unfinished work keeps its temporaries until a start finishes it.
    if (!s.fs.GetFile(Journal::PathIn(s.appDir)).is(fs::kFileNotFound)) return false;
    SweepFiles(s, s.appDir);
    if (!s.fs.ListFolders(s.appDir, folders_).ok()) return false;
  }
  for (; next_ < folders_.size() && folders > 0; ++next_, --folders) {
    SweepFolder(s, folders_[next_]);
  }
  return next_ < folders_.size();
}

}  // namespace plover
