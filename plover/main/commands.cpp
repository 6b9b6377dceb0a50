#include "plover/main/commands.h"
#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/installed.h"
#include "plover/versions/loader.h"
#include "plover/versions/quick_check.h"
#include "plover/versions/version_file.h"

namespace plover {
namespace {

constexpr int kShowMinimisedWithFocus = 2;

bool AskYes(Services& s, const char* question) {
  return s.prompts.MsgBox(question, text_of::kDeleteTitle, ui::kYesNo | ui::kIconQuestion) ==
         ui::kIdYes;
}

}  // namespace

void TellToSelectAVersion(Services& s) {
  s.prompts.MsgBox(text_of::kSelectVersion, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
}

std::string SelectedOrTell(Services& s, const MainView& view) {
  std::string name = view.SelectedVersion();
  if (name.empty()) TellToSelectAVersion(s);
  return name;
}

bool HoldsWar3(fs::FileSystem& fs, const std::string& dir) {
  std::vector<std::string> names;
  if (!fs.ListFiles(AddBackslash(dir), "*.exe", names).ok()) return false;
  for (const auto& n : names) {
    if (fs::UpperAscii(n) == "WAR3.EXE") return true;
  }
  return false;
}

void OnVersionClicked(MainView& view) {
  view.SetStatus(text_of::kIdle);
}

void CmdSwitchSelected(Services& s, MainView& view) {
  SwitchVersion(s, view, view.SelectedVersion(), Scope::kAll);
}

void CmdRunGame(Services& s, MainView& view, const std::string& arguments) {
  if (s.switching) return;
  // An empty or relative game directory names no game: its war3.exe would
  // be looked for under the current drive or directory.
  const std::string game = AddBackslash(view.GamePath()) + "war3.exe";
  if (!IsAbsolutePath(view.GamePath()) ||
      !s.launcher.Start(game, arguments, kShowMinimisedWithFocus)) {
    s.prompts.MsgBox(text_of::kGameNotFound, text_of::kTitleError, ui::kOkOnly);
  }
}

void CmdChooseGameDir(Services& s, MainView& view) {
  for (;;) {
    const std::string chosen = s.picker.BrowseFolder(text_of::kChooseGameDir);
    if (chosen.empty()) return;
    view.SetGamePath(AddBackslash(chosen));
    // Another game directory may hold another version.
    s.mark.GameChanged();
    versions::ShowInstalledVersion(s, view);
    if (HoldsWar3(s.fs, view.GamePath())) return;
    s.prompts.MsgBox(text_of::kWrongGameDir, text_of::kTitleError, ui::kOkOnly);
  }
}

void CmdMakeLoader(Services& s, MainView& view) {
  const std::string name = SelectedOrTell(s, view);
  if (name.empty()) return;
  const auto bytes = text::Utf8ToGbk(LoaderText(s.exeStem, name));
  if (!bytes) return;
  if (!fs::SafeWrite(s.fs, LoaderPath(s.appDir, name), *bytes).ok()) return;
  view.SetStatus(text_of::kLoaderMade);
}

void CmdDeleteVersion(Services& s, MainView& view) {
  const std::string name = SelectedOrTell(s, view);
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
