#include <optional>
#include <string>
#include <utility>

#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/base/virtual_store.h"
#include "plover/main/commands.h"
#include "plover/main/elevated_switch.h"
#include "plover/main/running_game.h"
#include "plover/main/switch_engine.h"
#include "plover/versions/version_file.h"

namespace plover {
namespace {

bool ScopeAdmits(Scope scope, std::string_view entry) {
  switch (scope) {
    case Scope::kAll:
      return true;
    case Scope::kFiles:
      return !versions::IsMapEntry(entry);
    case Scope::kMaps:
      return versions::IsMapEntry(entry);
    default:
      return false;
  }
}

bool AskToGoOn(Services& s, const std::string& fileName) {
  const std::string text =
      std::string(text_of::kMissingFileBefore) + CutForBox(fileName) + text_of::kMissingFileAfter;
  return s.prompts.MsgBox(text, text_of::kTitleError, ui::kYesNo | ui::kIconQuestion) == ui::kIdYes;
}

// An entry whose game file no Win32 call can name is not written.
bool FitsLongPath(const std::string& gameDir, const std::string& entry) {
  const auto units = Utf16Length(gameDir + entry);
  return units && *units <= kLongPathLimit;
}

void ReportNotWritten(Services& s, const std::vector<std::string>& names) {
  s.prompts.MsgBox(ListForBox(text_of::kNotWrittenHeader, names), text_of::kTitleError,
                   ui::kOkOnly | ui::kIconExclamation);
}

// Marks the switch as running and keeps the main window disabled for
// exactly as long as it runs.
class SwitchRunning {
 public:
  SwitchRunning(Services& s, MainView& view) : s_(s), view_(view) {
    s_.switching = true;
    view_.EnableInput(false);
  }
  ~SwitchRunning() {
    view_.SwitchProgress(0, 0);
    view_.EnableInput(true);
    s_.switching = false;
  }
  SwitchRunning(const SwitchRunning&) = delete;
  SwitchRunning& operator=(const SwitchRunning&) = delete;

 private:
  Services& s_;
  MainView& view_;
};

// One folder for the temporaries of a switch, made in the game directory
// when the first file is copied and removed with everything in it when the
// switch ends. A new name in it is found at once however many files the
// folders of the game hold. Where it cannot be made, each temporary goes
// beside its target, but only once the switch's record in the journal says
// so: the next start then knows to look there.
class TemporaryFolder {
 public:
  // A folder that cannot be removed keeps the switch's record, so that the
  // next start removes it.
  TemporaryFolder(fs::FileSystem& fs, std::string path, JournalEntry& journal,
                  Journal::Record record)
      : fs_(fs), path_(std::move(path)), journal_(journal), record_(std::move(record)) {}
  ~TemporaryFolder() {
    if (ready_ && !fs_.DeleteFolder(path_).ok()) journal_.Keep();
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // The folder, "" for temporaries beside their targets, nullopt for none
  // anywhere (the copy cannot be made safely).
  std::optional<std::string> Get() {
    if (!tried_) {
      tried_ = true;
      made_ = fs_.CreateFolder(path_);
      // One left by a switch that never ended is taken over.
      ready_ = made_.ok() || fs_.FolderExists(path_);
      if (!ready_) {
        record_.back() = journal_kind::kBeside;
        beside_ = journal_.Update(record_);
      }
    }
    if (ready_) return path_;
    if (beside_) return std::string();
    return std::nullopt;
  }
  // How the folder's making failed (ok when it was made or found).
  fs::Status Made() const { return ready_ ? fs::Status{} : made_; }

 private:
  fs::FileSystem& fs_;
  std::string path_;
  JournalEntry& journal_;
  Journal::Record record_;
  bool tried_ = false;
  bool ready_ = false;
  bool beside_ = false;
  fs::Status made_;
};

bool SameFile(const fs::FileInfo& a, const fs::FileInfo& b) {
  return a.size == b.size && a.lastWrite == b.lastWrite;
}

// What the game reads of an entry: the game folder's mirror in VirtualStore
// holds its own copy of some files, which the game sees first.
struct GameSide {
  std::string file;    // in the game folder
  std::string mirror;  // its mirror's copy, "" when the folder has no mirror
};

// Whether the game sees the store copy `store` for the entry; `inMirror` is
// set when the mirror holds a copy of it. At most two look-ups without a
// mirror: one of the game file.
bool SeesStoreCopy(fs::FileSystem& fs, const fs::FileInfo& store, const GameSide& side,
                   bool& inMirror) {
  fs::FileInfo seen;
  inMirror = !side.mirror.empty() && fs.GetFile(side.mirror, &seen).ok();
  if (!inMirror && !fs.GetFile(side.file, &seen).ok()) return false;
  return SameFile(store, seen);
}

// True when Plover could run elevated: it has a way to, and is not already.
// Otherwise a folder that refuses writes is reported like any other failure.
bool CanElevate(Services& s) {
  return s.elevation && !s.elevation->Elevated();
}

// The player is asked whether an administrator's copy of Plover should do
// the switch; a No, or a refused elevation, writes nothing.
SwitchReport SwitchElevated(Services& s, MainView& view, const std::string& gameDir,
                            const std::string& name, Scope scope) {
  SwitchReport report;
  report.outcome = SwitchOutcome::kStopped;
  const int answer = s.prompts.MsgBox(text_of::kNeedsAdministrator, text_of::kTitleSwitch,
                                      ui::kYesNo | ui::kIconQuestion | ui::kDefaultButton2);
  std::optional<int> code;
  if (answer == ui::kIdYes) {
    code = s.elevation->RunElevated(
        ElevatedSwitchArguments({scope, gameDir, name, s.known.localAppData}));
  }
  if (!code) {
    view.SetStatus(text_of::kIdle);
    return report;
  }
  const ElevatedResult result = ResultOfExitCode(*code);
  view.SetStatus(result.status);
  return result.report;
}

}  // namespace

SwitchReport ApplyVersion(Services& s, MainView& view, const std::string& name, Scope scope) {
  SwitchReport report;
  if (s.switching) {
    // No switch inside a switch: one of its questions is waiting.
    report.outcome = SwitchOutcome::kRefused;
    return report;
  }
  if (name.empty()) {
    TellToSelectAVersion(s);
    report.outcome = SwitchOutcome::kNoVersion;
    return report;
  }
  if (!IsAbsolutePath(view.GamePath())) {
    // An empty or relative game directory would put every target under the
    // current drive or directory.
    s.prompts.MsgBox(text_of::kGameNotFound, text_of::kTitleError, ui::kOkOnly);
    report.outcome = SwitchOutcome::kNoGame;
    return report;
  }

  const SwitchRunning running(s, view);
  if (!GoOnThoughGameRuns(s, view.GamePath())) {
    view.SetStatus(text_of::kIdle);
    report.outcome = SwitchOutcome::kStopped;
    return report;
  }
  view.SetStatus(text_of::kSwitching);

  // The version file is read whole before anything is copied, so no handle
  // of it stays open while a question waits for the player.
  std::string bytes;
  const fs::Status read = s.fs.ReadAll(versions::VersionFilePath(s.appDir, name), bytes);
  if (read.is(fs::kFileNotFound)) {
    AskToGoOn(s, "");
    report.outcome = SwitchOutcome::kStopped;
    return report;
  }
  if (!read.ok()) {
    report.notWritten.push_back(name + ".w3v");
  }

  const std::string gameDir = AddBackslash(view.GamePath());
  const std::string mirror = VirtualStoreOf(gameDir, s.known);
  const bool mirrored = !mirror.empty() && s.fs.FolderExists(mirror);
  // The copy under way is written in the game folder's temporary folder,
  // or beside its game file: the next start removes it if the program is
  // stopped before the switch ends.
  Journal::Record record{journal_kind::kSwitch, gameDir, name, journal_kind::kInFolder};
  JournalEntry journal(s.journal, record);
  TemporaryFolder temporaries(s.fs, gameDir + std::string(fs::kTempSuffix), journal, record);
  bool wroteAny = false;
  bool whole = read.ok() && !bytes.empty();
  const std::vector<std::string> lines = versions::SplitLines(bytes);
  size_t handled = 0;
  for (const auto& raw : lines) {
    view.SwitchProgress(handled++, lines.size());
    const auto decoded = text::GbkToUtf8(raw);
    if (!decoded) {
      report.notWritten.push_back(versions::DisplayableLine(raw));
      whole = false;
      continue;
    }
    const std::string& entry = *decoded;
    const bool admitted = ScopeAdmits(scope, entry);
    // The report names each entry as the version file writes it.
    if (EntryEscapesGameDirectory(entry) || !FitsLongPath(gameDir, entry)) {
      if (admitted) report.notWritten.push_back(entry);
      whole = false;
      continue;
    }

    const std::string storeCopy = versions::StoreCopyPath(s.appDir, name, entry);
    const GameSide side{versions::GameFilePath(gameDir, entry),
                        mirrored ? versions::GameFilePath(mirror, entry) : std::string()};
    fs::FileInfo store;
    fs::Status st = s.fs.GetFile(storeCopy, &store);
    bool inMirror = false;
    // A game file that already holds its store copy is left as it is.
    const bool inPlace = st.ok() && SeesStoreCopy(s.fs, store, side, inMirror);
    if (!admitted) {
      // Seen only to tell whether the whole version is in place.
      whole = whole && inPlace;
      continue;
    }
    if (st.ok() && !inPlace) {
      const auto folder = temporaries.Get();
      if (!wroteAny && temporaries.Made().is(fs::kAccessDenied)) st = temporaries.Made();
      if (st.ok()) {
        st = folder ? fs::SafeCopy(s.fs, storeCopy, side.file, *folder)
                    : fs::Status{fs::kPathFileAccessError};
      }
      // The game folder refuses the switch's first write: it needs an
      // administrator, who may do the whole switch instead.
      if (!wroteAny && st.is(fs::kAccessDenied) && CanElevate(s)) {
        journal.End();
        return SwitchElevated(s, view, gameDir, name, scope);
      }
      wroteAny = wroteAny || st.ok();
      // What was written is what the game sees once the mirror's copy goes.
      if (st.ok() && inMirror && !s.fs.Delete(side.mirror).ok()) st = {fs::kPermissionDenied};
      // The store copy is there: a copy that fails is not a missing file.
      if (st.is(fs::kFileNotFound)) st = {fs::kPathFileAccessError};
    }

    if (!st.ok()) whole = false;
    if (st.ok()) continue;
    if (st.is(fs::kFileNotFound)) {
      if (AskToGoOn(s, FileNameOf(entry))) continue;
      report.outcome = SwitchOutcome::kStopped;
      return report;
    }
    if (st.is(fs::kFileAlreadyExists)) {
      s.prompts.MsgBox(text_of::kNoMapsFolder, text_of::kTitleError, ui::kOkOnly);
      report.outcome = SwitchOutcome::kStopped;
      return report;
    }
    report.notWritten.push_back(entry);
  }

  report.whole = whole;
  if (report.notWritten.empty()) {
    view.SetStatus(text_of::kSwitched);
    report.outcome = SwitchOutcome::kCompleted;
  } else {
    view.SetStatus(text_of::kSwitchIncomplete);
    ReportNotWritten(s, report.notWritten);
    report.outcome = SwitchOutcome::kIncomplete;
  }
  return report;
}

}  // namespace plover
