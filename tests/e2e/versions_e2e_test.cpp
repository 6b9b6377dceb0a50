// The new-version wizard and the version editor driven from the outside
// under Wine: the welcome at the first start, importing a version file,
// expert mode, adding files through the two file dialogs, removing entries,
// renaming and saving. Each test has a program folder and a game
// installation of its own.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/driver_extra.h"
#include "tests/e2e/harness.h"
#include "tests/support/install_gen.h"

namespace e2e {
namespace {

namespace gen = plover::testing;

const char* const kNewEditCaption = "制作新的版本转换文件";
const char* const kRenameCaption = "更改版本名称";
const char* const kWorkingDone = "正在制作中....请稍侯..........完成";

const bool kTimeLimit = InstallTestTimeLimit(120000);

Lines StoreNames(const Lines& entries) {
  Lines names;
  for (const auto& e : entries) names.push_back(gen::StoreCopyName(e));
  std::sort(names.begin(), names.end());
  return names;
}

std::string Joined(const Lines& lines) {
  std::string out;
  for (const auto& l : lines) out += "\"" + l + "\" ";
  return out;
}

// The version file's entries, as GBK lines with CR LF.
Lines EntriesOf(const Scenario& s, std::string_view name) {
  return ReadGbkLines(VersionFile(s, name)).value_or(Lines{"<missing or malformed>"});
}

// ---- First start ----------------------------------------------------------------

TEST(FirstStart, WelcomeAnswerMakesTheVersionFromTheInstallation) {
  // An empty program folder: no ver.dat, no war3.exe beside Plover.
  Scenario s(TestName());
  s.MakeGame();
  PloverProcess plover;
  ASSERT_TRUE(plover.Start(s.exe()));

  // The program folder lacks war3.exe: the folder picker comes first.
  HWND picker = plover.WaitFolderPicker(kStartMs);
  ASSERT_NE(picker, nullptr) << "the folder picker did not open: " << plover.Describe();
  ASSERT_TRUE(plover.ChooseFolder(picker, s.game()));

  const Welcome welcome = WaitWelcome(plover);
  HWND wizard = welcome.wizard, prompt = welcome.prompt;
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(plover.MainWindow(), nullptr) << "the main window shows before the welcome";
  HWND edit = ChildOfClass(prompt, "Edit");
  ASSERT_NE(edit, nullptr) << DescribeChildren(prompt);
  EXPECT_EQ(TextOf(edit).value_or("?"), "");
  EXPECT_NE(ChildByText(prompt, "取消"), nullptr) << DescribeChildren(prompt);
  ASSERT_TRUE(SetText(edit, " 1.20 "));
  ASSERT_TRUE(ClickText(prompt, "确定"));
  ASSERT_TRUE(WaitGone(prompt)) << plover.Describe();

  // Auto-generate runs at once; the wizard stays open, done.
  EXPECT_EQ(WaitForText(Control(wizard, kWizardLbInfo), kWorkingDone, kStepMs), kWorkingDone)
      << plover.Describe();
  EXPECT_EQ(TextOf(Control(wizard, kWizardTxtVer)).value_or(""), "1.20");
  EXPECT_EQ(FileSize(VersionFile(s, "1.20")), std::optional<unsigned long long>(342));
  EXPECT_EQ(
      EntriesOf(s, "1.20"),
      (Lines{"Game.dll", "Storm.dll", "War3.exe", "worldedit.exe", "War3Patch.mpq", "War3.org",
             "Mss32.dll", "ijl15.dll", "Maps\\(4)LostTemple.w3m",
             "Maps\\FrozenThrone\\(2)EchoIsles.w3x", "Maps\\FrozenThrone\\(2)TheTwoRivers.w3x",
             "Maps\\FrozenThrone\\(4)HailStone.w3x", "Maps\\FrozenThrone\\(4)TurtleRock.w3x",
             "Maps\\FrozenThrone\\(4)TwistedMeadows.w3x", "Maps\\FrozenThrone\\(6)GnollWood.w3x"}));
  const Lines stored = FileNamesIn(Join(s.prog(), "1.20"));
  EXPECT_EQ(stored.size(), 15u);
  EXPECT_EQ(stored, StoreNames(FullEntries()));
  EXPECT_NE(std::find(stored.begin(), stored.end(), "war3.exe"), stored.end());
  for (const auto& entry : FullEntries()) {
    EXPECT_TRUE(s.StoreHolds("1.20", entry, kGameFlavour)) << entry;
  }

  ASSERT_TRUE(ClickText(wizard, "完成"));
  ASSERT_TRUE(WaitGone(wizard)) << plover.Describe();
  HWND main = plover.WaitMainWindow(kStartMs);
  ASSERT_NE(main, nullptr) << plover.Describe();
  EXPECT_TRUE(WaitListed(main, Lines{"1.20"})) << Joined(Listed(main));
  ExpectClosesCleanly(plover);
  const auto settings = ReadGbkLines(s.settings());
  ASSERT_TRUE(settings.has_value());
  ASSERT_EQ(settings->size(), 2u);
  EXPECT_EQ((*settings)[0], WithBackslash(s.game()));
}

// ---- Wizard -----------------------------------------------------------------------

TEST(Wizard, ImportsAVersionFileFromAnotherFolder) {
  Scenario s = ReadyScenario();
  const Lines entries{"Game.dll", "War3Patch.mpq", "Maps\\FrozenThrone\\(2)EchoIsles.w3x",
                      "Maps\\(4)LostTemple.w3m"};
  std::string bytes;
  for (const auto& e : entries) bytes += ToGbk(e) + "\r\n";
  const std::string picked = Join(Join(s.root(), "shared versions"), "1.19.w3v");
  WriteBytes(picked, bytes);

  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND wizard = OpenWizard(plover, main);
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(ClickText(wizard, "从配置文件导入（*.w3v）"));
  EXPECT_EQ(WaitForText(Control(wizard, kWizardLbInfo),
                        "请选择文件所在目录，在列表中选择文件名。按下一步", kStepMs),
            "请选择文件所在目录，在列表中选择文件名。按下一步");

  ASSERT_TRUE(ClickText(wizard, "..."));
  HWND dialog = WaitFileDialog(plover, kAddFilesTitle);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(SubmitFileName(dialog, picked)) << DescribeChildren(dialog);
  ASSERT_TRUE(WaitGone(dialog)) << DescribeChildren(dialog);
  // The wizard fills its boxes once the dialog has returned.
  EXPECT_EQ(WaitForText(Control(wizard, kWizardTxtFile), picked, kStepMs), picked);
  EXPECT_EQ(WaitForText(Control(wizard, kWizardTxtVer), "1.19", kStepMs), "1.19");

  ASSERT_TRUE(ClickText(wizard, "下一步"));
  EXPECT_EQ(WaitForText(Control(wizard, kWizardLbInfo), kWorkingDone, kStepMs), kWorkingDone)
      << plover.Describe();
  // The copies come from the installation, the version file is the one picked.
  EXPECT_EQ(ReadBytes(VersionFile(s, "1.19")), std::optional<std::string>(bytes));
  EXPECT_EQ(FileNamesIn(Join(s.prog(), "1.19")), StoreNames(entries));
  for (const auto& entry : entries) {
    EXPECT_TRUE(s.StoreHolds("1.19", entry, kGameFlavour)) << entry;
  }
  EXPECT_TRUE(WaitListed(main, Lines{"1.20", "1.19"})) << Joined(Listed(main));

  ASSERT_TRUE(ClickText(wizard, "完成"));
  ASSERT_TRUE(WaitGone(wizard)) << plover.Describe();
  EXPECT_TRUE(WaitListed(main, Lines{"1.20", "1.19"})) << Joined(Listed(main));
  ExpectClosesCleanly(plover);
}

TEST(Wizard, ExpertModeLeadsIntoTheEditor) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND wizard = OpenWizard(plover, main);
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(ClickText(wizard, "专家模式"));
  ASSERT_TRUE(SetText(Control(wizard, kWizardTxtVer), "1.30"));
  ASSERT_TRUE(ClickText(wizard, "下一步"));

  HWND editor = plover.WaitWindow(kModalClass, kNewEditCaption, kStepMs);
  ASSERT_NE(editor, nullptr) << "the editor did not open: " << plover.Describe();
  EXPECT_FALSE(IsWindow(wizard) && IsWindowVisible(wizard)) << "the wizard stays open";
  EXPECT_EQ(TextOf(Control(editor, kEditorOptFiles)).value_or(""), "1.30");
  EXPECT_EQ(ListItems(Control(editor, kEditorList)).value_or(Lines{"?"}), Lines{});
  // The empty version exists already, and is listed.
  EXPECT_EQ(FileSize(VersionFile(s, "1.30")), std::optional<unsigned long long>(0));
  EXPECT_TRUE(DirExists(Join(s.prog(), "1.30")));
  EXPECT_TRUE(WaitListed(main, Lines{"1.20", "1.30"})) << Joined(Listed(main));

  ASSERT_TRUE(ClickText(editor, "放弃修改"));
  ASSERT_TRUE(WaitGone(editor)) << plover.Describe();
  EXPECT_TRUE(WaitListed(main, Lines{"1.20", "1.30"})) << Joined(Listed(main));
  EXPECT_EQ(FileSize(VersionFile(s, "1.30")), std::optional<unsigned long long>(0));
  ExpectClosesCleanly(plover);
}

// ---- Editor -----------------------------------------------------------------------

// Chooses the target folder in the editor's directory chooser: goes into
// `folder`, then presses Open with the chooser's own preset text.
bool ChooseTarget(PloverProcess& plover, const std::string& folder) {
  HWND chooser = WaitFileDialog(plover, kChooserTitle);
  if (!chooser) return false;
  HWND edit = FileNameEdit(chooser);
  EXPECT_NE(edit, nullptr) << DescribeChildren(chooser);
  if (!edit) return false;
  EXPECT_TRUE(TextOf(edit).value_or("").starts_with(kChooserPreset)) << TextOf(edit).value_or("?");
  EXPECT_TRUE(EnterFolder(chooser, folder))
      << "could not go into " << folder << ": " << DescribeChildren(chooser);
  EXPECT_TRUE(SubmitFileName(chooser, kChooserPreset));
  const bool closed = WaitGone(chooser);
  EXPECT_TRUE(closed) << DescribeChildren(chooser);
  return closed;
}

TEST(Editor, AddsTwoFilesAtOnceUnderFrozenThrone) {
  Scenario s = ReadyScenario();
  const std::string downloads = Join(s.root(), "downloads");
  const std::string alpha = "(2)Alpha.w3x";
  const std::string beta = "(4)Beta Ridge.w3x";
  WriteBytes(Join(downloads, alpha), "alpha map");
  WriteBytes(Join(downloads, beta), "beta map, longer");
  const std::string elsewhere = Join(s.root(), "elsewhere");
  MakeDirs(elsewhere);

  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND editor = OpenEditor(plover, main);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(TextOf(Control(editor, kEditorOptFiles)).value_or(""), "1.20");
  HWND list = Control(editor, kEditorList);
  // The version file is read once the editor is on the screen.
  EXPECT_TRUE(
      WaitUntil([&] { return ListItems(list).value_or(Lines{}) == FullEntries(); }, kStepMs));

  ASSERT_TRUE(ClickText(editor, "添加文件"));
  HWND dialog = WaitFileDialog(plover, kAddFilesTitle);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(EnterFolder(dialog, downloads)) << DescribeChildren(dialog);
  ASSERT_TRUE(SubmitFileName(dialog, "\"" + alpha + "\" \"" + beta + "\""));
  ASSERT_TRUE(WaitGone(dialog)) << DescribeChildren(dialog);

  // A folder outside the game directory is refused, and the chooser comes back.
  ASSERT_TRUE(ChooseTarget(plover, elsewhere));
  const auto refusal = WaitMessageBoxTitled(plover, "错误", kStepMs);
  ASSERT_TRUE(refusal.has_value()) << "no refusal: " << plover.Describe();
  EXPECT_EQ(refusal->text,
            "你选择的目录：" + WithBackslash(elsewhere) + " 不在设定的魔兽目录内！请从新选择！");
  ASSERT_TRUE(plover.Answer(*refusal, IDOK));
  ASSERT_TRUE(ChooseTarget(plover, Join(s.game(), "Maps\\FrozenThrone")));

  Lines expected = FullEntries();
  expected.push_back("Maps\\FrozenThrone\\" + alpha);
  expected.push_back("Maps\\FrozenThrone\\" + beta);
  EXPECT_TRUE(WaitUntil([&] { return ListItems(list).value_or(Lines{}) == expected; }, kStepMs))
      << ListItems(list).value_or(Lines{}).size() << " entries listed; " << plover.Describe();
  // Nothing reaches the disk before saving.
  EXPECT_EQ(EntriesOf(s, "1.20"), FullEntries());
  EXPECT_FALSE(FileExists(Join(Join(s.prog(), "1.20"), alpha)));

  ASSERT_TRUE(ClickText(editor, "保存修改"));
  ASSERT_TRUE(WaitGone(editor)) << plover.Describe();
  EXPECT_EQ(EntriesOf(s, "1.20"), expected);
  EXPECT_EQ(ReadBytes(Join(Join(s.prog(), "1.20"), alpha)),
            std::optional<std::string>("alpha map"));
  EXPECT_EQ(ReadBytes(Join(Join(s.prog(), "1.20"), beta)),
            std::optional<std::string>("beta map, longer"));

  // Switching now puts the added maps into the game.
  ASSERT_TRUE(Click(Control(main, kBtnTran)));
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched)
      << plover.Describe();
  EXPECT_EQ(ReadBytes(s.GameFile("Maps\\FrozenThrone\\" + alpha)),
            std::optional<std::string>("alpha map"));
  EXPECT_EQ(ReadBytes(s.GameFile("Maps\\FrozenThrone\\" + beta)),
            std::optional<std::string>("beta map, longer"));
  ExpectClosesCleanly(plover);
}

TEST(Editor, AVersionFileThatCannotBeReadIsToldOverTheShownEditor) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  // Listed at the start, gone since.
  ASSERT_TRUE(DeleteFileW(Wide(VersionFile(s, "1.20")).c_str()));
  HWND editor = OpenEditor(plover, main);
  ASSERT_NE(editor, nullptr);
  const auto box = WaitMessageBoxTitled(plover, "错误", kStepMs);
  ASSERT_TRUE(box.has_value()) << plover.Describe();
  EXPECT_EQ(box->text, "找不到配置文件或者配置文件出错。");
  EXPECT_EQ(GetWindow(box->hwnd, GW_OWNER), editor) << "the box belongs to the editor";
  EXPECT_TRUE(IsWindowVisible(editor));
  ASSERT_TRUE(plover.Answer(*box, IDOK));
  EXPECT_EQ(ListItems(Control(editor, kEditorList)).value_or(Lines{"?"}), Lines{});
  ASSERT_TRUE(ClickText(editor, "放弃修改"));
  ASSERT_TRUE(WaitGone(editor)) << plover.Describe();
  ExpectClosesCleanly(plover);
}

TEST(Editor, RemovesRenamesAndSaves) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND editor = OpenEditor(plover, main);
  ASSERT_NE(editor, nullptr);
  HWND list = Control(editor, kEditorList);
  ASSERT_TRUE(
      WaitUntil([&] { return ListItems(list).value_or(Lines{}) == FullEntries(); }, kStepMs));

  // Two entries selected, with a click and a Ctrl+click.
  ASSERT_TRUE(ClickListItem(list, static_cast<int>(kWar3Patch)));
  ASSERT_TRUE(WaitUntil([&] { return ListSelectedCount(list) == 1; }, kStepMs));
  EXPECT_EQ(WaitForText(Control(editor, kEditorLbInfo), "War3Patch.mpq", kStepMs), "War3Patch.mpq");
  ASSERT_TRUE(CtrlClickListItem(list, static_cast<int>(kEchoIsles)));
  ASSERT_TRUE(WaitUntil([&] { return ListSelectedCount(list) == 2; }, kStepMs))
      << ListSelectedCount(list) << " selected";
  EXPECT_EQ(WaitForText(Control(editor, kEditorLbInfo), "(2)EchoIsles.w3x", kStepMs),
            "(2)EchoIsles.w3x");
  ASSERT_TRUE(ClickText(editor, "删除文件"));
  Lines kept = FullEntries();
  kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(kEchoIsles));
  kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(kWar3Patch));
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).value_or(Lines{}) == kept; }, kStepMs))
      << "the list after removing: " << ListItems(list).value_or(Lines{}).size() << " entries";

  ASSERT_TRUE(ClickText(editor, "修改名称"));
  HWND prompt = plover.WaitWindow(kModalClass, kRenameCaption, kStepMs);
  ASSERT_NE(prompt, nullptr) << "the rename prompt did not open: " << plover.Describe();
  EXPECT_NE(ChildByText(prompt, "请输入一个版本名称"), nullptr) << DescribeChildren(prompt);
  HWND edit = ChildOfClass(prompt, "Edit");
  ASSERT_NE(edit, nullptr) << DescribeChildren(prompt);
  EXPECT_EQ(TextOf(edit).value_or(""), "1.20");
  ASSERT_TRUE(SetText(edit, "1.21"));
  ASSERT_TRUE(ClickText(prompt, "确定"));
  ASSERT_TRUE(WaitGone(prompt));
  EXPECT_EQ(WaitForText(Control(editor, kEditorOptFiles), "1.21", kStepMs), "1.21");
  // Nothing on disk changes before saving.
  EXPECT_TRUE(FileExists(VersionFile(s, "1.20")));
  EXPECT_FALSE(FileExists(VersionFile(s, "1.21")));

  ASSERT_TRUE(ClickText(editor, "保存修改"));
  ASSERT_TRUE(WaitGone(editor)) << plover.Describe();
  EXPECT_TRUE(FileExists(VersionFile(s, "1.21")));
  EXPECT_TRUE(DirExists(Join(s.prog(), "1.21")));
  EXPECT_FALSE(FileExists(VersionFile(s, "1.20")));
  EXPECT_FALSE(DirExists(Join(s.prog(), "1.20")));
  EXPECT_EQ(EntriesOf(s, "1.21"), kept);
  // The removed entries' store copies are gone, the others kept.
  EXPECT_EQ(FileNamesIn(Join(s.prog(), "1.21")), StoreNames(kept));
  for (const auto& entry : kept) EXPECT_TRUE(s.StoreHolds("1.21", entry, "1.20")) << entry;
  EXPECT_TRUE(WaitListed(main, Lines{"1.21"})) << Joined(Listed(main));
  ExpectClosesCleanly(plover);
}

}  // namespace
}  // namespace e2e
