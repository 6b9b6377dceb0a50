// Builds or replaces a version (its store folder and version file) so that a
// failure never costs the player the version being replaced: every copy is
// made into a temporary folder beside the store, and the old store and
// version file are touched only once the new set is complete.
#pragma once

#include <string>
#include <vector>

#include "plover/base/file_system.h"
#include "plover/base/journal.h"

namespace plover::versions {

struct StoreCopy {
  std::string source;      // full path of the file to copy
  std::string storeName;   // its name inside the store folder
  std::string entry = {};  // the line of the version file it is for
};

enum class BuildResult {
  kDone,
  kSourceMissing,  // a file to copy does not exist
  kFailed,         // any other failure
};

// Copies `copies` into the store of version `name` in `appDir`, then puts
// `versionFileBytes` in place as its version file. On any failure nothing of
// an existing version has changed and nothing new is left behind. Files of
// an existing store that the new set does not replace stay in place.
//
// Once the new set is complete the build records itself in `journal` (when
// given; a journal that cannot be written fails the build), so that the next
// start puts the new set in place if the program is stopped meanwhile.
//
// kSourceMissing fills `missing` (when given) with the entry of every copy
// whose source does not exist, in the order of `copies`: the first one
// missing stops the copying, and the others are only looked up.
BuildResult BuildVersion(fs::FileSystem& fs, const std::string& appDir, const std::string& name,
                         const std::vector<StoreCopy>& copies, const std::string& versionFileBytes,
                         Journal* journal = nullptr, std::vector<std::string>* missing = nullptr);

}  // namespace plover::versions
