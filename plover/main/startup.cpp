#include "plover/main/startup.h"

#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/command_line.h"
#include "plover/main/commands.h"
#include "plover/main/installed.h"
#include "plover/main/play_replay.h"
#include "plover/main/recovery.h"
#include "plover/main/settings.h"
#include "plover/versions/quick_check.h"
#include "plover/versions/version_name.h"

#include <set>
#include <utility>
#include <vector>

namespace plover {
namespace {

std::string SettingsPath(const Services& s) {
  return s.appDir + kSettingsFileName;
}

// A failure that start-up cannot get past; the player is told and the
// window closes.
struct StartupFailure {};

Settings ReadSettingsCreatingMissing(Services& s) {
  std::string bytes;
  fs::Status st = s.fs.ReadAll(SettingsPath(s), bytes);
  if (st.is(fs::kFileNotFound)) {
    // A missing file is created as two empty lines, then read again; in a
    // folder that takes no file (the player has been told) it reads so.
    if (!s.programDirWritable) return ParseSettings(kEmptySettings);
    if (!s.fs.WriteAll(SettingsPath(s), kEmptySettings).ok()) throw StartupFailure{};
    st = s.fs.ReadAll(SettingsPath(s), bytes);
  }
  if (!st.ok()) throw StartupFailure{};
  return ParseSettings(bytes);
}

void BuildVersionList(Services& s, MainView& view) {
  std::vector<std::string> files;
  std::vector<std::string> folders;
  if (!s.fs.ListFilesAndFolders(s.appDir, "*.w3v", files, folders).ok()) throw StartupFailure{};
  // A version is listed only when its store folder exists as well, found
  // without regard to case.
  std::set<std::string> stores;
  for (const auto& folder : folders) stores.insert(fs::UpperAscii(folder));
  std::vector<std::string> names;
  for (const auto& file : files) {
    std::string name = VersionNameOf(file);
    // A name Windows cannot store (a device such as "nul.1", or one whose
    // store paths would pass the path limit) is no version, whatever the
    // listing shows.
    if (stores.count(fs::UpperAscii(name)) && versions::IsStorableName(name, s.appDir)) {
      names.push_back(std::move(name));
    }
  }
  view.ListVersions(names);
  if (!names.empty()) {
    view.SelectVersion(0);
    OnVersionClicked(view);
  }
}

// Plover keeps its versions and settings beside itself: a folder that takes
// no file (Plover unpacked under Program Files, say) is told once, and the
// start goes on.
void CheckProgramDirWritable(Services& s) {
  const std::string probe = s.appDir + "Plover" + std::string(kTempSuffix);
  s.programDirWritable = s.fs.WriteAll(probe, "").ok();
  if (s.programDirWritable) {
    (void)s.fs.Delete(probe);
  } else {
    s.prompts.MsgBox(text_of::kProgramDirNotWritable, text_of::kTitleError,
                     ui::kOkOnly | ui::kIconExclamation);
  }
}

}  // namespace

StartupResult RunStartup(Services& s, MainView& view, const std::string& arguments,
                         const RecoverySteps& recovery) {
  RecoverInterruptedWork(s, recovery);
  CheckProgramDirWritable(s);
  try {
    const Settings settings = ReadSettingsCreatingMissing(s);
    bool firstRun = false;
    if (settings.gameDir.empty()) {
      view.SetGamePath(s.appDir);
      firstRun = true;
    } else {
      view.SetGamePath(settings.gameDir);
    }
    view.SetReplayPath(settings.replayDir.empty() ? s.appDir + "replays\\" : settings.replayDir);

    if (!HoldsWar3(s.fs, view.GamePath())) CmdChooseGameDir(s, view);
    // A switch's temporary folder that a switch stopped short left, with or
    // without a record of it, goes at every start: no switch runs yet.
    (void)RemoveSwitchTemporaryFolder(s, view.GamePath());

    // The welcome makes the first version from the game directory: when the
    // player cancelled its choice there is nothing to make it from, and the
    // window comes instead.
    if (firstRun && HoldsWar3(s.fs, view.GamePath())) view.ShowNewVersionWizard(text_of::kWelcome);

    BuildVersionList(s, view);

    VersionPatches patches;
    return RunCommandLine(s, view, patches, arguments) ? StartupResult::kClose
                                                       : StartupResult::kShowWindow;
  } catch (const StartupFailure&) {
    s.prompts.MsgBox(text_of::kProgramError, text_of::kTitleError, ui::kOkOnly | ui::kIconError);
    return StartupResult::kClose;
  }
}

bool StartupTail::Step(Services& s, MainView& view) {
  if (!swept_) {
    swept_ = !sweep_.Step(s);
    return true;
  }
  // The look-ups of one slice: a few milliseconds; a switch marks by itself.
  constexpr size_t kLookUpsPerStep = 256;
  if (s.switching) return true;
  return !installedCheck_.Step(s, view, kLookUpsPerStep);
}

bool SaveSettings(Services& s, const MainView& view) {
  const auto bytes = SerializeSettings({view.GamePath(), view.ReplayPath()});
  if (bytes && fs::SafeWrite(s.fs, SettingsPath(s), *bytes).ok()) return true;
  // The player heard at the start that nothing can be saved here.
  if (!s.programDirWritable) return false;
  s.prompts.MsgBox(text_of::kCannotSaveSettings, text_of::kTitleError,
                   ui::kOkOnly | ui::kIconError);
  return false;
}

}  // namespace plover
