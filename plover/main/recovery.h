// The first step of every start: work that a kill or a power loss cut short
// is finished from the journal, and Plover's temporary files are removed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "plover/base/services.h"

namespace plover {

// Which kinds of interrupted work recovery finishes: all of them. The fault
// sweep leaves out one at a time, to show that it sees each go missing.
struct RecoverySteps {
  bool journal = true;  // without it, only the temporaries are swept
  bool builds = true;
  bool renames = true;
  bool deletes = true;
};

// Quiet on every failure: what cannot be finished now stays in the journal
// for the next start, and the temporaries it needs stay with it.
void RecoverInterruptedWork(Services& s, const RecoverySteps& steps = {});

// Removes the folder in the game directory that a switch keeps its copies
// under way in; true when it is not there afterwards.
bool RemoveSwitchTemporaryFolder(Services& s, const std::string& gameDir);

// The sweep of Plover's temporaries that failed work left in the program
// directory and its folders, which no record names: run once the window is
// shown, a few folders at each step. Nothing is swept while the journal
// holds unfinished work; a step while a switch runs waits.
class TemporariesSweep {
 public:
  // Sweeps at most `folders` folders; false once the sweep is over.
  bool Step(Services& s, size_t folders = 16);

 private:
  bool listed_ = false;
  std::vector<std::string> folders_;
  size_t next_ = 0;
};

}  // namespace plover
