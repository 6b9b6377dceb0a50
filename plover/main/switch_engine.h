// The one switching operation: the game directory made to hold a version's
// game files, the entries of a scope, each written whole or not at all.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plover/base/main_view.h"
#include "plover/base/scope.h"
#include "plover/base/services.h"

namespace plover {

enum class SwitchOutcome {
  kNoVersion,   // nothing selected; refused before anything happened
  kNoGame,      // the game directory is empty or not absolute; refused so too
  kCompleted,   // every applied entry was written
  kIncomplete,  // ended, but some entries were not written (reported)
  kStopped,     // stopped by the player or by a failure
  kRefused,     // another switch runs: nothing happened
};

struct SwitchReport {
  SwitchOutcome outcome = SwitchOutcome::kCompleted;
  std::vector<std::string> notWritten;  // file names of entries left out
  // What the switch saw of the version afterwards: every line of its
  // version file in place in the game directory (nullopt: it did not see
  // them all).
  std::optional<bool> whole;
};

// Makes the game directory hold the game files of version `name`, the
// entries of `scope`. From its start to its end, its questions included,
// s.switching is set, and while it is set nothing starts another switch,
// starts a program or ends the program: such calls do nothing.
SwitchReport ApplyVersion(Services& s, MainView& view, const std::string& name, Scope scope);

}  // namespace plover
