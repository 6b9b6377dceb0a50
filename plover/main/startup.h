// Start-up and closing: everything from reading ver.dat until the window is
// shown, what waits until it is, and ver.dat written at the end.
#pragma once

#include <string>

#include "plover/base/main_view.h"
#include "plover/base/services.h"
#include "plover/main/recovery.h"
#include "plover/versions/quick_check.h"

namespace plover {

enum class StartupResult { kShowWindow, kClose };

// Everything from reading ver.dat until the window is shown. kClose means the
// caller closes the main window (which saves the settings) and ends.
// `recovery` leaves out kinds of interrupted work (see RecoverySteps).
StartupResult RunStartup(Services& s, MainView& view, const std::string& arguments,
                         const RecoverySteps& recovery = {});

// What start-up leaves until the window is shown: the sweep of temporaries,
// then the installed mark, in slices small enough for the window to stay
// responsive. Step returns false once all is done.
class StartupTail {
 public:
  bool Step(Services& s, MainView& view);

 private:
  TemporariesSweep sweep_;
  bool swept_ = false;
  versions::InstalledCheck installedCheck_;
};

// Closing: writes ver.dat whole or not at all; tells the player when it
// cannot. Returns false when the file could not be written.
bool SaveSettings(Services& s, const MainView& view);

}  // namespace plover
