// Whether a game file already holds its store copy, told without reading
// either: a copy keeps the last-write time of its source, so a file a switch
// wrote has exactly the size and the last-write time of its store copy.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plover/base/file_system.h"
#include "plover/base/main_view.h"
#include "plover/base/services.h"

namespace plover::versions {

// True when both files exist with the same size and last-write time. A file
// that cannot be looked up is never in place.
bool InPlace(fs::FileSystem& fs, const std::string& storeCopy, const std::string& gameFile);

// True when the version file of `name` can be read whole, names at least one
// entry, and every entry's game file below `gameDir` is in place. An entry
// that leaves the game directory, or a line that is not code page 936, makes
// the version not installed. With a `mirror` (the game folder's VirtualStore
// folder), its copy of a file, where there is one, is what the game reads
// and what is looked at.
bool VersionInstalled(fs::FileSystem& fs, std::string_view appDir, std::string_view name,
                      std::string_view gameDir, std::string_view mirror = "");

// Marks in the view's list the version the game directory holds (see
// InstalledMark), looking at every version not known yet.
void ShowInstalledVersion(Services& s, MainView& view);

// The same choice a slice at a time, for a start-up that keeps its window
// responsive however many versions, or entries, there are: a step makes
// about `lookUps` file-system look-ups at most, so that a version too large
// for one step is looked at over several.
class InstalledCheck {
 public:
  // False while the choice needs more steps; nothing is marked anew until
  // then.
  bool Step(Services& s, MainView& view, size_t lookUps);

 private:
  std::string name_;  // the version under way, looked at up to `next_`
  uint64_t generation_ = 0;
  std::vector<std::string> entries_;
  size_t next_ = 0;
};

}  // namespace plover::versions
