// The main window's commands that work on the selected version and on the
// directories: the loader file, deleting a version, the replay directory and
// the key blocker.
#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/app.h"
#include "plover/versions/loader.h"
#include "plover/versions/quick_check.h"
#include "plover/versions/version_file.h"

namespace plover {
namespace {

constexpr int kShowMinimisedWithFocus = 2;

// The selected version, or "" after telling the player to choose one.
std::string RequireSelection(Services& s, const MainView& view) {
  std::string name = view.SelectedVersion();
  if (name.empty()) {
    s.prompts.MsgBox(text_of::kSelectVersion, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
  }
  return name;
}

bool AskYes(Services& s, const char* question) {
  return s.prompts.MsgBox(question, text_of::kDeleteTitle, ui::kYesNo | ui::kIconQuestion) ==
         ui::kIdYes;
}

}  // namespace

void CmdMakeLoader(Services& s, MainView& view) {
  const std::string name = RequireSelection(s, view);
  if (name.empty()) return;
  const auto bytes = text::Utf8ToGbk(LoaderText(s.exeStem, name));
  if (!bytes) return;
  if (!fs::SafeWrite(s.fs, LoaderPath(s.appDir, name), *bytes).ok()) return;
  view.SetStatus(text_of::kLoaderMade);
}

void CmdDeleteVersion(Services& s, MainView& view) {
  const std::string name = RequireSelection(s, view);
  if (name.empty()) return;
  if (!AskYes(s, text_of::kConfirmDelete)) return;
  // Recorded before the first step: a delete cut short is finished by the
  // next start, so that no store folder stays that nothing lists.
  JournalEntry entry(s.journal, {journal_kind::kDelete, name});
  // A version file that cannot go stops the delete: the version stays whole
  // and listed. One already gone is no obstacle.
  const fs::Status file = s.fs.Delete(versions::VersionFilePath(s.appDir, name));
  if (!file.ok() && !file.is(fs::kFileNotFound)) {
    entry.End();
    s.prompts.MsgBox(text_of::kCannotDeleteVersionFile, text_of::kTitleError,
                     ui::kOkOnly | ui::kIconError);
    return;
  }
  if (AskYes(s, text_of::kDeleteStoreToo)) {
    // A folder's files go one by one: the next start deletes the rest.
    if (!s.fs.DeleteFolder(versions::StoreFolderPath(s.appDir, name)).ok()) entry.Keep();
  } else {
    // The player keeps the store folder.
    entry.End();
  }
  const int index = view.SelectedIndex();
  if (index >= 0) view.RemoveVersion(index);
  s.mark.VersionDeleted(name);
  versions::ShowInstalledVersion(s, view);
}

void CmdChooseReplayDir(Services& s, MainView& view) {
  const std::string chosen =
      s.picker.BrowseFolder(std::string(text_of::kChooseReplayDir) + view.ReplayPath());
  if (!chosen.empty()) view.SetReplayPath(AddBackslash(chosen));
}

void CmdStartKeyBlocker(Services& s) {
  if (s.switching) return;
  if (!s.launcher.Start(s.appDir + text_of::kKeyBlockerExe, "", kShowMinimisedWithFocus)) {
    s.prompts.MsgBox(text_of::kNoKeyBlocker, text_of::kTitleOk, ui::kOkOnly);
  }
}

}  // namespace plover
