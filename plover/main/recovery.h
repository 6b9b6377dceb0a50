// The first step of every start: work that a kill or a power loss cut short
// is finished from the journal, and Plover's temporary files are removed.
#pragma once

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

}  // namespace plover
