#include "plover/versions/wizard.h"

#include <algorithm>

#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/versions/quick_check.h"
#include "plover/versions/store_builder.h"
#include "plover/versions/version_file.h"
#include "plover/versions/version_name.h"

namespace plover::versions {
namespace {

// Blanks and the NUL-terminated tail of a file dialog's buffer removed.
std::string FirstPathOf(const std::string& buffer) {
  return std::string(TrimBlanks(std::string_view(buffer).substr(0, buffer.find('\0'))));
}

}  // namespace

const AutoEntry kAutoGenerateList[15] = {
    {"Game.dll", "Game.dll", 5},
    {"Storm.dll", "Storm.dll", 2},
    {"War3.exe", "war3.exe", 1},
    {"worldedit.exe", "worldedit.exe", 6},
    {"War3Patch.mpq", "War3Patch.mpq", 4},
    {"War3.org", "War3.org", 3},
    {"Mss32.dll", "Mss32.dll", 7},
    {"ijl15.dll", "ijl15.dll", 8},
    {"Maps\\(4)LostTemple.w3m", "(4)LostTemple.w3m", 9},
    {"Maps\\FrozenThrone\\(2)EchoIsles.w3x", "(2)EchoIsles.w3x", 10},
    {"Maps\\FrozenThrone\\(2)TheTwoRivers.w3x", "(2)TheTwoRivers.w3x", 11},
    {"Maps\\FrozenThrone\\(4)HailStone.w3x", "(4)HailStone.w3x", 12},
    {"Maps\\FrozenThrone\\(4)TurtleRock.w3x", "(4)TurtleRock.w3x", 13},
    {"Maps\\FrozenThrone\\(4)TwistedMeadows.w3x", "(4)TwistedMeadows.w3x", 14},
    {"Maps\\FrozenThrone\\(6)GnollWood.w3x", "(6)GnollWood.w3x", 15},
};

std::string AutoGenerateFileBytes() {
  std::string bytes;
  for (const auto& e : kAutoGenerateList) {
    bytes += e.entry;
    bytes += "\r\n";
  }
  return bytes;
}

const char* NewVersionWizard::InstructionFor(WizardMode mode) {
  return mode == WizardMode::kImport ? text_of::kAskFile : text_of::kAskName;
}

bool NewVersionWizard::IsWelcome(const std::string& caption) {
  return caption.starts_with("欢迎");
}

bool NewVersionWizard::RefuseBadName(const std::string& name) {
  if (IsStorableName(name, s_.appDir)) return false;
  s_.prompts.MsgBox(kBadNameMessage, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
  return true;
}

void NewVersionWizard::OnActivate() {
  if (!IsWelcome(view_.Caption()) || welcomed_ || !s_.textPrompt) return;
  welcomed_ = true;
  for (;;) {
    view_.SetVersionText(std::string(
        TrimBlanks(s_.textPrompt->Ask(text_of::kWelcomePrompt, text_of::kWelcomeTitle, ""))));
    const std::string name = view_.VersionText();
    if (name.empty()) {
      view_.Close();
      return;
    }
    if (!RefuseBadName(name)) break;
  }
  AutoGenerate(view_.VersionText(), -1);
}

void NewVersionWizard::OnPickFile() {
  if (!s_.filePicker) return;
  const auto r = s_.filePicker->ShowOpenFile(
      "配置文件 (*.w3v)", "*.w3v", AddBackslash(main_.GamePath()), "添加文件", ui::kOpenSingle, "");
  if (!r.confirmed) return;
  const std::string path = FirstPathOf(r.buffer);
  view_.SetFileText(path);
  // A file name too short to have a stem proposes nothing.
  const std::string proposed = VersionNameOf(FileNameOf(path));
  if (!proposed.empty()) view_.SetVersionText(proposed);
}

void NewVersionWizard::OnNext() {
  const std::string name = view_.VersionText();
  if (TrimBlanks(name).empty()) {
    s_.prompts.MsgBox(text_of::kNeedName, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
    return;
  }
  if (RefuseBadName(name)) return;
  // The file system ignores letter case, so "test" would replace "Test".
  int overwritten = -1;
  const auto listed = main_.Versions();
  for (size_t i = 0; i < listed.size(); ++i) {
    if (!fs::EqualsNoCase(listed[i], name)) continue;
    if (s_.prompts.MsgBox(text_of::kNameExists, text_of::kOverwriteTitle,
                          ui::kYesNo | ui::kIconQuestion | ui::kDefaultButton2) != ui::kIdYes) {
      return;
    }
    overwritten = static_cast<int>(i);
    break;
  }
  switch (view_.Mode()) {
    case WizardMode::kAutoGenerate:
      AutoGenerate(name, overwritten);
      break;
    case WizardMode::kImport:
      Import(name, overwritten);
      break;
    case WizardMode::kExpert:
      Expert(name, overwritten);
      break;
  }
}

// The version replaced by a confirmed overwrite leaves the list only when
// its replacement is complete; the new name is appended at the end.
void NewVersionWizard::Finish(const std::string& name, int overwrittenIndex) {
  if (overwrittenIndex >= 0) {
    s_.mark.VersionDeleted(main_.Versions()[static_cast<size_t>(overwrittenIndex)]);
    main_.RemoveVersion(overwrittenIndex);
  }
  main_.AddVersion(name);
  s_.mark.VersionChanged(name);
  ShowInstalledVersion(s_, main_);
}

void NewVersionWizard::ShowBuildFailure(BuildResult r, const std::vector<std::string>& missing) {
  if (r != BuildResult::kSourceMissing) {
    view_.SetInfo(text_of::kCannotReadOrWrite);
    return;
  }
  view_.SetInfo(text_of::kGameFileMissing);
  s_.prompts.MsgBox(ListForBox(text_of::kMissingInGameHeader, missing), text_of::kTitleError,
                    ui::kOkOnly | ui::kIconExclamation);
}

bool NewVersionWizard::AutoGenerate(const std::string& name, int overwrittenIndex) {
  view_.SetInfo(text_of::kWorking);
  view_.EnableInput(false);
  std::vector<const AutoEntry*> order;
  for (const auto& e : kAutoGenerateList) order.push_back(&e);
  std::sort(order.begin(), order.end(),
            [](const AutoEntry* a, const AutoEntry* b) { return a->copyOrder < b->copyOrder; });
  const std::string gameDir = AddBackslash(main_.GamePath());
  std::vector<StoreCopy> copies;
  for (const auto* e : order) {
    // The game's own copy of war3.exe is looked up by its usual name.
    const std::string source = e->copyOrder == 1 ? gameDir + "war3.exe" : gameDir + e->entry;
    copies.push_back({source, e->storeName, e->entry});
  }
  std::vector<std::string> missing;
  const BuildResult r =
      BuildVersion(s_.fs, s_.appDir, name, copies, AutoGenerateFileBytes(), s_.journal, &missing);
  // The missing files are named in the order of the version file.
  const auto line = [](const std::string& entry) {
    return std::find_if(std::begin(kAutoGenerateList), std::end(kAutoGenerateList),
                        [&](const AutoEntry& e) { return entry == e.entry; });
  };
  std::sort(missing.begin(), missing.end(),
            [&](const auto& a, const auto& b) { return line(a) < line(b); });
  if (r == BuildResult::kDone) {
    view_.SetInfo(view_.Info() + text_of::kDone);
    view_.SetNextEnabled(false);
    view_.SetCancelCaption(text_of::kDoneButton);
    Finish(name, overwrittenIndex);
  } else {
    ShowBuildFailure(r, missing);
  }
  view_.EnableInput(true);
  return r == BuildResult::kDone;
}

bool NewVersionWizard::Import(const std::string& name, int overwrittenIndex) {
  const std::string file = view_.FileText();
  if (TrimBlanks(file).empty()) {
    s_.prompts.MsgBox(text_of::kNeedFile, text_of::kTitleError, ui::kOkOnly);
    return false;
  }
  view_.SetInfo(text_of::kWorking);
  view_.EnableInput(false);
  struct Reenable {
    WizardView& v;
    ~Reenable() { v.EnableInput(true); }
  } reenable{view_};

  std::string bytes;
  const fs::Status read = s_.fs.ReadAll(file, bytes);
  if (read.is(fs::kFileNotFound) || read.is(fs::kPathNotFound)) {
    view_.SetInfo(text_of::kVersionFileMissing);
    return false;
  }
  if (!read.ok()) {
    view_.SetInfo(text_of::kCannotReadOrWrite);
    return false;
  }
  std::vector<std::string> entries;
  for (const auto& line : SplitLines(bytes)) {
    auto entry = text::GbkToUtf8(line);
    if (!entry) {
      view_.SetInfo(text_of::kVersionFileBadPath);
      return false;
    }
    entries.push_back(std::move(*entry));
  }
  // The file may come from anybody: it must not make us read outside the
  // game directory.
  for (const auto& e : entries) {
    if (EntryEscapesGameDirectory(e)) {
      view_.SetInfo(text_of::kVersionFileBadPath);
      return false;
    }
  }
  const std::string gameDir = AddBackslash(main_.GamePath());
  std::vector<StoreCopy> copies;
  for (const auto& e : entries) copies.push_back({gameDir + e, FileNameOf(e), e});
  std::vector<std::string> missing;
  const BuildResult r = BuildVersion(s_.fs, s_.appDir, name, copies, bytes, s_.journal, &missing);
  if (r != BuildResult::kDone) {
    ShowBuildFailure(r, missing);
    return false;
  }
  view_.SetInfo(view_.Info() + text_of::kDone);
  view_.SetNextEnabled(false);
  view_.SetCancelCaption(text_of::kDoneButton);
  Finish(name, overwrittenIndex);
  return true;
}

void NewVersionWizard::Expert(const std::string& name, int overwrittenIndex) {
  // Every step is tried, whatever became of the one before; the version is
  // listed only when both its store folder and its version file are there.
  {
    const JournalEntry entry(s_.journal, {journal_kind::kExpert, name});
    const std::string store = StoreFolderPath(s_.appDir, name);
    const fs::Status folder = s_.fs.CreateFolder(store);
    const fs::Status file = fs::SafeWrite(s_.fs, VersionFilePath(s_.appDir, name), "");
    const bool made = (folder.ok() || s_.fs.FolderExists(store)) &&
                      (file.ok() || s_.fs.GetFile(VersionFilePath(s_.appDir, name)).ok());
    if (!made) {
      // A store folder made just now, empty, must not stay without its
      // version file: nothing would list or remove it.
      if (folder.ok()) (void)s_.fs.DeleteFolder(store);
      view_.SetInfo(text_of::kCannotReadOrWrite);
      return;
    }
  }
  Finish(name, overwrittenIndex);
  view_.OpenEditorAfterClose(text_of::kNewVersionEditorCaption, name);
  view_.Close();
}

}  // namespace plover::versions
