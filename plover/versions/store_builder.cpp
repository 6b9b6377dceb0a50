#include "plover/versions/store_builder.h"

#include "plover/versions/version_file.h"

namespace plover::versions {
namespace {

constexpr const char* kNewSuffix = ".plover-new";
constexpr const char* kTempSuffix = ".plover-tmp";

BuildResult Abandon(fs::FileSystem& fs, const std::string& temp, const std::string& fileTemp,
                    BuildResult why) {
  (void)fs.DeleteFolder(temp);
  (void)fs.Delete(fileTemp);
  return why;
}

}  // namespace

BuildResult BuildVersion(fs::FileSystem& fs, const std::string& appDir, const std::string& name,
                         const std::vector<StoreCopy>& copies,
                         const std::string& versionFileBytes) {
  const std::string store = StoreFolderPath(appDir, name);
  const std::string temp = store + kNewSuffix;
  const std::string versionFile = VersionFilePath(appDir, name);
  const std::string fileTemp = versionFile + kTempSuffix;

  // A folder left over by an interrupted run is not anybody's version.
  if (fs.FolderExists(temp)) (void)fs.DeleteFolder(temp);
  if (!fs.CreateFolder(temp).ok()) return Abandon(fs, temp, fileTemp, BuildResult::kFailed);

  for (const auto& c : copies) {
    fs::Status st = fs.GetFile(c.source);
    if (st.ok()) st = fs.Copy(c.source, temp + "\\" + c.storeName);
    if (st.is(fs::kFileNotFound)) return Abandon(fs, temp, fileTemp, BuildResult::kSourceMissing);
    if (!st.ok()) return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
  }
  if (!fs.WriteAll(fileTemp, versionFileBytes).ok()) {
    return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
  }

  // The new set is complete: only now does the version itself change.
  if (!fs.FolderExists(store)) {
    if (!fs.MoveFolder(temp, store).ok()) return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
  } else {
    std::vector<std::string> names;
    if (!fs.ListFiles(temp, "*", names).ok()) {
      return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
    }
    for (const auto& n : names) {
      if (!fs.Move(temp + "\\" + n, store + "\\" + n, /*replace=*/true).ok()) {
        return Abandon(fs, temp, fileTemp, BuildResult::kFailed);
      }
    }
    (void)fs.DeleteFolder(temp);
  }
  if (!fs.Move(fileTemp, versionFile, /*replace=*/true).ok()) {
    (void)fs.Delete(fileTemp);
    return BuildResult::kFailed;
  }
  return BuildResult::kDone;
}

}  // namespace plover::versions
