// The first step of every start: work that a kill or a power loss cut short
// is finished from the journal, and Plover's temporary files are removed.
#pragma once

#include "plover/base/services.h"

namespace plover {

// Quiet on every failure: what cannot be finished now stays in the journal
// for the next start, and the temporaries it needs stay with it.
void RecoverInterruptedWork(Services& s);

}  // namespace plover
