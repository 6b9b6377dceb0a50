#include <string>
#include <utility>

#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/app.h"
#include "plover/main/running_game.h"
#include "plover/versions/quick_check.h"
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
// beside its target.
class TemporaryFolder {
 public:
  // A folder that cannot be removed keeps the switch's record, so that the
  // next start removes it.
  TemporaryFolder(fs::FileSystem& fs, std::string path, JournalEntry& journal)
      : fs_(fs), path_(std::move(path)), journal_(journal) {}
  ~TemporaryFolder() {
    if (ready_ && !fs_.DeleteFolder(path_).ok()) journal_.Keep();
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // The folder, or "" for temporaries beside their targets.
  const std::string& Get() {
    if (!tried_) {
      tried_ = true;
      // One left by a switch that never ended is taken over.
      ready_ = fs_.CreateFolder(path_).ok() || fs_.FolderExists(path_);
    }
    static const std::string kBeside;
    return ready_ ? path_ : kBeside;
  }

 private:
  fs::FileSystem& fs_;
  std::string path_;
  JournalEntry& journal_;
  bool tried_ = false;
  bool ready_ = false;
};

}  // namespace

SwitchReport ApplyVersion(Services& s, MainView& view, const std::string& name, Scope scope) {
  SwitchReport report;
  if (s.switching) {
    // No switch inside a switch: one of its questions is waiting.
    report.outcome = SwitchOutcome::kRefused;
    return report;
  }
  if (name.empty()) {
    s.prompts.MsgBox(text_of::kSelectVersion, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
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
  // The copy under way is written beside its game file or in the game
  // folder's temporary folder: the next start removes it if the program is
  // stopped before the switch ends.
  JournalEntry journal(s.journal, {journal_kind::kSwitch, gameDir, name});
  TemporaryFolder temporaries(s.fs, gameDir + std::string(fs::kTempSuffix), journal);
  const std::vector<std::string> lines = versions::SplitLines(bytes);
  size_t handled = 0;
  for (const auto& raw : lines) {
    view.SwitchProgress(handled++, lines.size());
    const auto decoded = text::GbkToUtf8(raw);
    if (!decoded) {
      report.notWritten.push_back(versions::DisplayableLine(raw));
      continue;
    }
    const std::string& entry = *decoded;
    if (!ScopeAdmits(scope, entry)) continue;
    // The report names each entry as the version file writes it.
    if (EntryEscapesGameDirectory(entry) || !FitsLongPath(gameDir, entry)) {
      report.notWritten.push_back(entry);
      continue;
    }

    const std::string storeCopy = versions::StoreCopyPath(s.appDir, name, entry);
    const std::string gameFile = versions::GameFilePath(gameDir, entry);
    fs::Status st = s.fs.GetFile(storeCopy);
    // A game file that already holds its store copy is left as it is.
    if (st.ok() && !versions::InPlace(s.fs, storeCopy, gameFile)) {
      st = fs::SafeCopy(s.fs, storeCopy, gameFile, temporaries.Get());
      // The store copy is there: a copy that fails is not a missing file.
      if (st.is(fs::kFileNotFound)) st = {fs::kPathFileAccessError};
    }

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
