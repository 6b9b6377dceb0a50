// A new player's first day, driven from the outside under Wine: full paths
// typed into the file dialogs, a failed first version that names what the
// game folder lacks, and a loader started while Plover is open.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/driver_extra.h"
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

const bool kTimeLimit = InstallTestTimeLimit(150000);

// The dialog's name box shows `preset`; a full path typed into it and
// confirmed with Enter closes the dialog.
void TypePathInto(HWND dialog, const std::string& preset, const std::string& path) {
  HWND edit = FileNameEdit(dialog);
  ASSERT_NE(edit, nullptr) << DescribeChildren(dialog);
  EXPECT_EQ(TextOf(edit).value_or("?"), preset);
  // What the player types replaces the instruction, as selecting it first does.
  ASSERT_TRUE(TypeAndEnter(edit, path, /*replaceAll=*/!preset.empty()));
  ASSERT_TRUE(WaitGone(dialog)) << DescribeChildren(dialog);
}

// Each dialog returns a full path typed into its name box and confirmed with
// Enter; the add-files dialog also takes 200 long names at once.
TEST(FileDialogs, TakeATypedFullPathAndTwoHundredLongNames) {
  Scenario s = ReadyScenario();
  const std::string versionFile = Join(Join(s.root(), "shared versions"), "1.19.w3v");
  WriteBytes(versionFile, "Game.dll\r\n");
  const std::string downloads = Join(s.root(), "downloads");
  std::string typed;
  for (int i = 0; i < 200; ++i) {
    char name[160];
    std::snprintf(name, sizeof name,
                  "(8)A map with a name as long as the ones players download %03d, "
                  "with its author and its version in it.w3x",
                  i);
    WriteBytes(Join(downloads, name), name);
    typed += std::string(typed.empty() ? "" : " ") + "\"" + name + "\"";
  }

  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND wizard = OpenWizard(plover, main);
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(ClickText(wizard, "从配置文件导入（*.w3v）"));
  ASSERT_TRUE(ClickText(wizard, "..."));
  HWND dialog = WaitFileDialog(plover, kAddFilesTitle);
  ASSERT_NE(dialog, nullptr);
  TypePathInto(dialog, "", versionFile);
  ASSERT_TRUE(plover.Running()) << "Plover ended in the import dialog";
  EXPECT_EQ(WaitForText(Control(wizard, kWizardTxtFile), versionFile, kStepMs), versionFile);
  ASSERT_TRUE(ClickText(wizard, "取消"));
  ASSERT_TRUE(WaitGone(wizard));

  HWND editor = OpenEditor(plover, main);
  ASSERT_NE(editor, nullptr);
  HWND list = Control(editor, kEditorList);
  const auto listedLast = [&](const std::string& entry, size_t count) {
    return WaitUntil(
        [&] {
          const auto items = ListItems(list).value_or(Lines{});
          return items.size() == count && items.back() == entry;
        },
        kStepMs);
  };
  ASSERT_TRUE(ClickText(editor, "添加文件"));
  dialog = WaitFileDialog(plover, kAddFilesTitle);
  ASSERT_NE(dialog, nullptr);
  TypePathInto(dialog, "",
               Join(downloads,
                    "(8)A map with a name as long as the ones players "
                    "download 000, with its author and its version in "
                    "it.w3x"));
  ASSERT_TRUE(plover.Running()) << "Plover ended in the add-files dialog";
  dialog = WaitFileDialog(plover, kChooserTitle);
  ASSERT_NE(dialog, nullptr);
  // Any name in the chosen folder names the folder.
  TypePathInto(dialog, kChooserPreset, Join(s.game(), "Maps\\FrozenThrone\\here"));
  ASSERT_TRUE(plover.Running()) << "Plover ended in the directory chooser";
  const size_t full = FullEntries().size();
  EXPECT_TRUE(
      listedLast("Maps\\FrozenThrone\\(8)A map with a name as long as the ones players "
                 "download 000, with its author and its version in it.w3x",
                 full + 1))
      << DescribeChildren(editor);

  ASSERT_TRUE(ClickText(editor, "添加文件"));
  dialog = WaitFileDialog(plover, kAddFilesTitle);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(EnterFolder(dialog, downloads)) << DescribeChildren(dialog);
  ASSERT_TRUE(SubmitFileName(dialog, typed));
  ASSERT_TRUE(WaitGone(dialog)) << DescribeChildren(dialog);
  dialog = WaitFileDialog(plover, kChooserTitle);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(SubmitFileName(dialog, Join(s.game(), "Maps\\x")));
  EXPECT_TRUE(
      listedLast("Maps\\(8)A map with a name as long as the ones players download 199, "
                 "with its author and its version in it.w3x",
                 full + 201))
      << ListItems(list).value_or(Lines{}).size() << " entries";
  ASSERT_TRUE(ClickText(editor, "放弃修改"));
  ASSERT_TRUE(WaitGone(editor));
  ExpectClosesCleanly(plover);
}

TEST(FirstVersion, AutoGenerateNamesEveryFileTheGameFolderLacks) {
  Scenario s = ReadyScenario();
  for (const char* gone : {"Storm.dll", "Maps\\FrozenThrone\\(6)GnollWood.w3x"}) {
    ASSERT_TRUE(DeleteFileW(Wide(s.GameFile(gone)).c_str())) << gone;
  }
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);
  HWND wizard = OpenWizard(plover, main);
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(SetText(Control(wizard, kWizardTxtVer), "1.24"));
  ASSERT_TRUE(ClickText(wizard, "下一步"));

  const auto box = WaitMessageBoxTitled(plover, "错误", kStepMs);
  ASSERT_TRUE(box.has_value()) << plover.Describe();
  EXPECT_EQ(box->text,
            "以下文件在魔兽目录中找不到：\nStorm.dll\nMaps\\FrozenThrone\\(6)GnollWood.w3x");
  EXPECT_EQ(TextOf(Control(wizard, kWizardLbInfo)).value_or(""),
            "制作失败，找不到魔兽或地图文件丢失！");
  ASSERT_TRUE(plover.Answer(*box, IDOK));
  EXPECT_FALSE(FileExists(VersionFile(s, "1.24")));
  EXPECT_FALSE(DirExists(Join(s.prog(), "1.24")));
  EXPECT_EQ(Listed(main), Lines{"1.20"});
  ASSERT_TRUE(ClickText(wizard, "取消"));
  ASSERT_TRUE(WaitGone(wizard));
  ExpectClosesCleanly(plover);
}

// A loader (Plover.exe with a version's name) started while Plover is open:
// the running Plover switches and starts the game, and stays as it was. While
// it waits for the player, the second start tells that Plover runs.
TEST(SecondStart, HandsItsVersionToTheRunningPloverWhenItIsIdle) {
  Scenario s = ReadyScenario();
  PloverProcess plover;
  HWND main = StartToWindow(plover, s);
  ASSERT_NE(main, nullptr);

  PloverProcess second;
  ASSERT_TRUE(second.Start(s.exe(), "1.20"));
  EXPECT_EQ(second.WaitExit(kStartMs), std::optional<DWORD>(0)) << second.Describe();
  EXPECT_FALSE(second.EverShowedWindow()) << "the second start showed a window";
  EXPECT_TRUE(WaitUntil([&] { return s.GameStarts() == 1; }, kStepMs)) << "no game started";
  ExpectFlavour(s, FullEntries(), "1.20");
  EXPECT_EQ(WaitForText(Control(main, kLbInfo), kSwitched, kStepMs), kSwitched);
  EXPECT_TRUE(plover.Running());
  EXPECT_TRUE(IsWindowVisible(main));

  HWND wizard = OpenWizard(plover, main);
  ASSERT_NE(wizard, nullptr);
  ExpectSecondStartTellsAndEnds(s, nullptr, "1.20");
  EXPECT_EQ(s.GameStarts(), 1u);
  ASSERT_TRUE(ClickText(wizard, "取消"));
  ASSERT_TRUE(WaitGone(wizard));
  ExpectClosesCleanly(plover);
}

}  // namespace
}  // namespace e2e
