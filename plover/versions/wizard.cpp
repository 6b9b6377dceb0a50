#include "plover/versions/wizard.h"

#include <algorithm>

#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/versions/store_builder.h"
#include "plover/versions/version_file.h"
#include "plover/versions/version_name.h"

namespace plover::versions {
namespace {

constexpr const char* kAskName = "请输入一个版本名称，然后按 下一步";
constexpr const char* kAskFile = "请选择文件所在目录，在列表中选择文件名。按下一步";
constexpr const char* kWorking = "正在制作中....请稍侯";
constexpr const char* kDone = "..........完成";
constexpr const char* kDoneButton = "完成";
constexpr const char* kGameFileMissing = "制作失败，找不到魔兽或地图文件丢失！";
constexpr const char* kVersionFileMissing = "制作失败，配置文件不存！";
constexpr const char* kVersionFileBadPath = "制作失败，配置文件中有无效的路径！";
constexpr const char* kCannotReadOrWrite = "制作失败，无法读写文件！";
constexpr const char* kNeedName = "请输入一个版本名称，如“1.20”，“1.18”等。";
constexpr const char* kNameExists = "你输入的版本名称已经存在，是否覆盖原版本？";
constexpr const char* kOverwriteTitle = "制作新的版本文件";
constexpr const char* kNeedFile = "请选择一个配置文件（*.w3v）！";
constexpr const char* kWelcomePrompt =
    "输入您现在使用的魔兽版本的名称，如 1.20 等。然后按确定，系统将自动生成版本转换文件。"
    "以便您今后使用";
constexpr const char* kWelcomeTitle = "欢迎使用-您是第一次使用本软件";
constexpr const char* kNewVersionEditorCaption = "制作新的版本转换文件";

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::string();
  const size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

// Blanks and the NUL-terminated tail of a file dialog's buffer removed.
std::string FirstPathOf(const std::string& buffer) {
  return Trim(std::string_view(buffer).substr(0, buffer.find('\0')));
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
  return mode == WizardMode::kImport ? kAskFile : kAskName;
}

bool NewVersionWizard::IsWelcome(const std::string& caption) {
  return caption.starts_with("欢迎");
}

bool NewVersionWizard::RefuseBadName(const std::string& name) {
  if (IsStorableName(name)) return false;
  s_.prompts.MsgBox(kBadNameMessage, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
  return true;
}

void NewVersionWizard::OnActivate() {
  if (!IsWelcome(view_.Caption()) || welcomed_ || !s_.textPrompt) return;
  welcomed_ = true;
  for (;;) {
    view_.SetVersionText(Trim(s_.textPrompt->Ask(kWelcomePrompt, kWelcomeTitle, "")));
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
  const auto r =
      s_.filePicker->ShowOpenFile("配置文件 (*.w3v)", "*.w3v", AddBackslash(main_.GamePath()),
                                  "添加文件", ui::kOpenSingle, std::string(254, ' '));
  if (!r.confirmed) return;
  const std::string path = FirstPathOf(r.buffer);
  view_.SetFileText(path);
  // A file name too short to have a stem proposes nothing.
  const std::string proposed = VersionNameOf(FileNameOf(path));
  if (!proposed.empty()) view_.SetVersionText(proposed);
}

void NewVersionWizard::OnNext() {
  const std::string name = view_.VersionText();
  if (Trim(name).empty()) {
    s_.prompts.MsgBox(kNeedName, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
    return;
  }
  if (RefuseBadName(name)) return;
  // The file system ignores letter case, so "test" would replace "Test".
  int overwritten = -1;
  const auto listed = main_.Versions();
  for (size_t i = 0; i < listed.size(); ++i) {
    if (!fs::EqualsNoCase(listed[i], name)) continue;
    if (s_.prompts.MsgBox(kNameExists, kOverwriteTitle,
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
  if (overwrittenIndex >= 0) main_.RemoveVersion(overwrittenIndex);
  main_.AddVersion(name);
}

void NewVersionWizard::ShowBuildFailure(BuildResult r) {
  view_.SetInfo(r == BuildResult::kSourceMissing ? kGameFileMissing : kCannotReadOrWrite);
}

bool NewVersionWizard::AutoGenerate(const std::string& name, int overwrittenIndex) {
  view_.SetInfo(kWorking);
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
    copies.push_back({source, e->storeName});
  }
  const BuildResult r =
      BuildVersion(s_.fs, s_.appDir, name, copies, AutoGenerateFileBytes(), s_.journal);
  if (r == BuildResult::kDone) {
    view_.SetInfo(view_.Info() + kDone);
    view_.SetNextEnabled(false);
    view_.SetCancelCaption(kDoneButton);
    Finish(name, overwrittenIndex);
  } else {
    ShowBuildFailure(r);
  }
  view_.EnableInput(true);
  return r == BuildResult::kDone;
}

bool NewVersionWizard::Import(const std::string& name, int overwrittenIndex) {
  const std::string file = view_.FileText();
  if (Trim(file).empty()) {
    s_.prompts.MsgBox(kNeedFile, text_of::kTitleError, ui::kOkOnly);
    return false;
  }
  view_.SetInfo(kWorking);
  view_.EnableInput(false);
  struct Reenable {
    WizardView& v;
    ~Reenable() { v.EnableInput(true); }
  } reenable{view_};

  std::string bytes;
  const fs::Status read = s_.fs.ReadAll(file, bytes);
  if (read.is(fs::kFileNotFound) || read.is(fs::kPathNotFound)) {
    view_.SetInfo(kVersionFileMissing);
    return false;
  }
  if (!read.ok()) {
    view_.SetInfo(kCannotReadOrWrite);
    return false;
  }
  std::vector<std::string> entries;
  for (const auto& line : SplitLines(bytes)) {
    auto entry = text::GbkToUtf8(line);
    if (!entry) {
      view_.SetInfo(kVersionFileBadPath);
      return false;
    }
    entries.push_back(std::move(*entry));
  }
  // The file may come from anybody: it must not make us read outside the
  // game directory.
  for (const auto& e : entries) {
    if (EntryEscapesGameDirectory(e)) {
      view_.SetInfo(kVersionFileBadPath);
      return false;
    }
  }
  const std::string gameDir = AddBackslash(main_.GamePath());
  std::vector<StoreCopy> copies;
  for (const auto& e : entries) copies.push_back({gameDir + e, FileNameOf(e)});
  const BuildResult r = BuildVersion(s_.fs, s_.appDir, name, copies, bytes, s_.journal);
  if (r != BuildResult::kDone) {
    ShowBuildFailure(r);
    return false;
  }
  view_.SetInfo(view_.Info() + kDone);
  view_.SetNextEnabled(false);
  view_.SetCancelCaption(kDoneButton);
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
      view_.SetInfo(kCannotReadOrWrite);
      return;
    }
  }
  Finish(name, overwrittenIndex);
  view_.OpenEditorAfterClose(kNewVersionEditorCaption, name);
  view_.Close();
}

}  // namespace plover::versions
