// Replay auto-save: the game keeps only its last replay, so each new one is
// copied to the replay directory under the date and time it was found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plover/base/file_system.h"
#include "plover/base/journal.h"

namespace plover {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

// replayDir + " 2007- 3- 16  14. 5. 9.w3g": every number without leading
// zeros and with one blank before it.
std::string ReplayCopyName(std::string_view replayDir, const LocalTime& t);

// The last replays seen. It lives as long as the main window: switching the
// watch off and on again does not forget them.
struct ReplayWatch {
  // A replay, as seen: new when its length or its time of writing differs.
  struct Seen {
    uint64_t length = 0;
    int64_t lastWrite = 0;
    bool Differs(const fs::FileInfo& info) const {
      return info.size != length || info.lastWrite != lastWrite;
    }
  };
  Seen game;    // in the game folder
  Seen mirror;  // in the game folder's VirtualStore mirror, where the game
                // writes when Windows virtualizes it
};

enum class ReplaySource { kNone, kGame, kMirror };

// Which last replay is new, of the game folder's and its mirror's (nullopt
// for one that is not there): the newer when both are.
ReplaySource NewReplay(const ReplayWatch& watch, const std::optional<fs::FileInfo>& game,
                       const std::optional<fs::FileInfo>& mirror);

// game directory + "replay\LastReplay.w3g"
std::string WatchedReplayPath(std::string_view gameDir);

// One tick of the watch: copies a new last replay, of the game directory or
// of its `mirror` in VirtualStore (when given), creating the replay
// directory (with its parents) when it is missing. Quiet on every failure;
// returns true when a copy was saved. A game or replay directory longer than
// Win32 takes counts as missing. The copy under way is recorded in
// `journal` when one is given.
bool ReplayTick(fs::FileSystem& fs, Clock& clock, ReplayWatch& watch, std::string_view gameDir,
                std::string_view replayDir, Journal* journal = nullptr,
                std::string_view mirror = "");

// Creates a folder and any missing parents, the topmost first. True when it
// exists afterwards; a path longer than Win32 takes is never created.
bool CreateFolders(fs::FileSystem& fs, std::string_view path);

}  // namespace plover
