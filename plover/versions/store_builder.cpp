#include "plover/versions/store_builder.h"

#include "plover/versions/version_file.h"

namespace plover::versions {
namespace {

std::string Suffixed(const std::string& path, std::string_view suffix) {
  return path + std::string(suffix);
}

BuildResult Abandon(fs::FileSystem& fs, const std::string& temp, const std::string& fileTemp,
                    BuildResult why) {
  (void)fs.DeleteFolder(temp);
  (void)fs.Delete(fileTemp);
  return why;
}

// The moves that put a new set of files in place, remembered so that Undo
// can reverse them and bring back the files that were set aside.
class Replacement {
 public:
  explicit Replacement(fs::FileSystem& fs) : fs_(fs) {}

  // Moves an existing file out of the way; a missing one needs no move.
  bool SetAside(const std::string& path) {
    const fs::Status st = fs_.GetFile(path);
    if (st.is(fs::kFileNotFound)) return true;
    const std::string aside = Suffixed(path, kOldSuffix);
    if (!st.ok() || !fs_.Move(path, aside, /*replace=*/true).ok()) return false;
    done_.push_back({path, aside, false});
    setAside_.push_back(aside);
    return true;
  }
  bool Move(const std::string& from, const std::string& to) {
    if (!fs_.Move(from, to, /*replace=*/false).ok()) return false;
    done_.push_back({from, to, false});
    return true;
  }
  bool MoveFolder(const std::string& from, const std::string& to) {
    if (!fs_.MoveFolder(from, to).ok()) return false;
    done_.push_back({from, to, true});
    return true;
  }
  void Undo() {
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
      if (it->folder) {
        (void)fs_.MoveFolder(it->to, it->from);
      } else {
        (void)fs_.Move(it->to, it->from, /*replace=*/false);
      }
    }
    done_.clear();
  }
  void DropSetAside() {
    for (const auto& path : setAside_) (void)fs_.Delete(path);
  }

 private:
  struct Step {
    std::string from;
    std::string to;
    bool folder;
  };
  fs::FileSystem& fs_;
  std::vector<Step> done_;
  std::vector<std::string> setAside_;
};

// The entries of `copies`, from `first` on, whose source does not exist.
std::vector<std::string> MissingFrom(fs::FileSystem& fs, const std::vector<StoreCopy>& copies,
                                     size_t first) {
  std::vector<std::string> missing;
  for (size_t i = first; i < copies.size(); ++i) {
    if (i == first || fs.GetFile(copies[i].source).is(fs::kFileNotFound)) {
      missing.push_back(copies[i].entry.empty() ? copies[i].storeName : copies[i].entry);
    }
  }
  return missing;
}

}  // namespace

BuildResult BuildVersion(fs::FileSystem& fs, const std::string& appDir, const std::string& name,
                         const std::vector<StoreCopy>& copies, const std::string& versionFileBytes,
                         Journal* journal, std::vector<std::string>* missing) {
  const std::string store = StoreFolderPath(appDir, name);
  const std::string temp = Suffixed(store, kNewSuffix);
  const std::string versionFile = VersionFilePath(appDir, name);
  // The new version file is part of the new set: recovery moves it into
  // place, so it is never taken for a plain temporary.
  const std::string fileTemp = Suffixed(versionFile, kNewSuffix);

  // A folder left over by an interrupted run is not anybody's version.
  if (fs.FolderExists(temp)) (void)fs.DeleteFolder(temp);
  if (!fs.CreateFolder(temp).ok()) return Abandon(fs, temp, fileTemp, BuildResult::kFailed);

  for (size_t i = 0; i < copies.size(); ++i) {
    const StoreCopy& c = copies[i];
    fs::Status st = fs.GetFile(c.source);
    const std::string copy = temp + "\\" + c.storeName;
    if (st.ok()) st = fs.Copy(c.source, copy);
    if (st.ok()) st = fs.Flush(copy);
    if (st.is(fs::kFileNotFound)) {
      if (missing) *missing = MissingFrom(fs, copies, i);
      return Abandon(fs, temp, fileTemp, BuildResult::kSourceMissing);
    }
    if (!st.ok()) return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
  }
  if (!fs.WriteAll(fileTemp, versionFileBytes).ok()) {
    return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
  }

  // The new set is complete: only now does the version itself change. Every
  // old file that a new one replaces is first set aside, so that a failure
  // at any step can put the old version back as it was.
  JournalEntry entry(journal, {journal_kind::kBuild, name});
  if (journal && !entry.Written()) return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
  Replacement r(fs);
  // Once undone, the build is no longer one to finish: its record goes
  // before the new set does.
  const auto fail = [&] {
    r.Undo();
    entry.End();
    return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
  };
  const bool freshStore = !fs.FolderExists(store);
  std::vector<std::string> names;
  if (!freshStore) {
    if (!fs.ListFiles(temp, "*", names).ok()) return fail();
    for (const auto& n : names) {
      if (!r.SetAside(store + "\\" + n)) return fail();
    }
  }
  if (!r.SetAside(versionFile)) return fail();
  if (freshStore) {
    if (!r.MoveFolder(temp, store)) return fail();
  } else {
    for (const auto& n : names) {
      if (!r.Move(temp + "\\" + n, store + "\\" + n)) return fail();
    }
  }
  if (!r.Move(fileTemp, versionFile)) return fail();
  if (!freshStore) (void)fs.DeleteFolder(temp);
  r.DropSetAside();
  entry.End();
  return BuildResult::kDone;
}

}  // namespace plover::versions
