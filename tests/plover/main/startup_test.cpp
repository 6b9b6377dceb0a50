// Start-up: the first start, the game folder asked for, the program folder
// that takes no file, ver.dat of any bytes, and what runs after the window.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "plover/base/strings.h"
#include "plover/main/command_line.h"
#include "plover/main/startup.h"
#include "tests/support/fakes.h"

namespace plover::testing {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kVerDat = "C:\\P\\ver.dat";
const Box kWrongDir{"你选择的魔兽目录不对，请选择！", "错误", ui::kOkOnly};

class StartupTest : public ::testing::Test, public TestWorld {
 protected:
  void SetUp() override {
    fs.MakeFolders("C:\\P");
    fs.PutFile("D:\\War3\\war3.exe", "exe");
    fs.PutFile("D:\\War3\\Game.dll", "old");
    fs.PutFile("D:\\War3\\Maps\\A.w3x", "old");
  }
  void Settings(const std::string& bytes) { fs.PutFile(kVerDat, bytes); }
  // A version that replaces Game.dll and Maps\A.w3x with "new <name>".
  void AddVersion(const std::string& name) {
    fs.PutFile("C:\\P\\" + name + ".w3v", "Game.dll\r\nMaps\\A.w3x\r\n");
    fs.PutFile("C:\\P\\" + name + "\\Game.dll", "new " + name);
    fs.PutFile("C:\\P\\" + name + "\\A.w3x", "new " + name);
  }
  StartupResult Run(const std::string& arguments = "") {
    return RunStartup(services, view, arguments);
  }
  bool ProgramErrorShown() const {
    for (const auto& b : prompts.boxes) {
      if (b.text == text_of::kProgramError) return true;
    }
    return false;
  }
};

TEST_F(StartupTest, FirstRunCreatesSettingsAndShowsTheWizard) {
  fs.PutFile("C:\\P\\War3.exe", "exe");  // the program sits in the game directory
  EXPECT_EQ(Run(), StartupResult::kShowWindow);
  EXPECT_EQ(fs.Contents(kVerDat), "\r\n\r\n");
  EXPECT_EQ(view.gamePath, "C:\\P\\");
  EXPECT_EQ(view.replayPath, "C:\\P\\replays\\");
  EXPECT_TRUE(picker.prompts.empty());
  EXPECT_EQ(view.wizardCaptions, Names{"欢迎使用"});
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(StartupTest, FirstRunAsksForTheGameDirectoryBeforeTheWizard) {
  fs.PutFile("E:\\Other\\readme.txt", "");
  fs.PutFile("E:\\Game\\WAR3.EXE", "exe");
  picker.answers = {"E:\\Empty", "E:\\Other\\", "E:\\Game"};
  picker.onBrowse = [&] { EXPECT_TRUE(view.wizardCaptions.empty()); };

  EXPECT_EQ(Run(), StartupResult::kShowWindow);
  EXPECT_EQ(picker.prompts, Names(3, "选择魔兽所在目录"));
  EXPECT_EQ(prompts.boxes, std::vector<Box>(2, kWrongDir));
  EXPECT_EQ(view.gamePath, "E:\\Game\\");
  EXPECT_EQ(view.wizardCaptions, Names{"欢迎使用"});
}

// Cancelling the picker stops asking, and the window comes: without a game
// directory there is nothing the welcome could make a version from.
TEST_F(StartupTest, CancellingThePickerShowsTheWindowWhateverVerDatHolds) {
  std::string megabyte = "\xFF\xFE";
  megabyte.push_back('\0');
  while (megabyte.size() < (1 << 20)) megabyte += "C:\\x";
  megabyte += std::string("\r\n\0\x81\r\n", 6);
  for (const auto& bytes :
       {std::optional<std::string>(),
        std::optional<std::string>(std::string("\xFF\xFE\0C:\\x\r\n\0\x81\r\n", 13)),
        std::optional(megabyte)}) {
    SCOPED_TRACE(bytes ? bytes->size() : 0);
    SetUp();
    if (bytes) Settings(*bytes);
    picker = ScriptedFolderPicker();
    picker.answers = {"E:\\Empty"};
    prompts.boxes.clear();
    view = FakeMainView();
    EXPECT_EQ(Run(), StartupResult::kShowWindow);
    EXPECT_EQ(picker.prompts.size(), 2u);
    EXPECT_EQ(prompts.boxes, std::vector<Box>{kWrongDir});
    EXPECT_TRUE(view.wizardCaptions.empty());
  }
}

// Plover unpacked where it cannot write: told once, and it goes on; a
// switch's temporary folder left in the game directory goes at every start.
TEST_F(StartupTest, AProgramFolderThatTakesNoFileIsToldOnceAndStartUpGoesOn) {
  fs.PutFile("C:\\P\\war3.exe", "exe");
  fs.PutFile("C:\\P\\.plover-tmp\\Game.dll.plover-tmp", "half");
  fs.Fail(Op::kWrite, "", fs::kAccessDenied, 0, -1);
  EXPECT_EQ(Run(), StartupResult::kShowWindow);
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"Plover 所在的文件夹无法写入，版本和设置都不能保存。请把 Plover "
                               "放到可以写入的文件夹中。",
                               "错误", ui::kOkOnly | ui::kIconExclamation}}));
  EXPECT_EQ(view.gamePath, "C:\\P\\");
  EXPECT_FALSE(SaveSettings(services, view));
  EXPECT_EQ(prompts.boxes.size(), 1u) << "nothing told again at closing";
  EXPECT_FALSE(fs.Exists("C:\\P\\.plover-tmp"));
}

// The window comes before any version is looked at and before the store
// folders are swept: that waits for the steps after it.
TEST_F(StartupTest, NoVersionIsReadBeforeTheWindowShows) {
  Settings("D:\\War3\\\r\n\r\n");
  for (int i = 0; i < 40; ++i) AddVersion("v" + std::to_string(i));
  fs.PutFile("C:\\P\\v7\\Game.dll.plover-tmp", "left by a failed copy");
  ASSERT_EQ(Run(), StartupResult::kShowWindow);
  EXPECT_EQ(fs.CallCount(Op::kRead), 2) << "the journal and ver.dat alone";
  EXPECT_EQ(fs.CallCount(Op::kListFiles), 2) << "the version files and the game's *.exe";
  EXPECT_TRUE(view.marked.empty());
  StartupTail tail;
  int steps = 0;
  while (tail.Step(services, view)) ++steps;
  EXPECT_GE(steps, 3) << "in slices";
  EXPECT_EQ(view.marked, Names{""});
  EXPECT_FALSE(fs.Exists("C:\\P\\v7\\Game.dll.plover-tmp"));
}

TEST_F(StartupTest, SavedDirectoriesAreUsed) {
  Settings("D:\\War3\\\r\nE:\\Rep\\\r\n");
  EXPECT_EQ(Run(), StartupResult::kShowWindow);
  EXPECT_EQ(view.gamePath, "D:\\War3\\");
  EXPECT_EQ(view.replayPath, "E:\\Rep\\");
  EXPECT_TRUE(picker.prompts.empty());
  EXPECT_TRUE(view.wizardCaptions.empty());
  EXPECT_TRUE(prompts.boxes.empty());
  EXPECT_EQ(fs.Contents(kVerDat), "D:\\War3\\\r\nE:\\Rep\\\r\n");
}

TEST_F(StartupTest, ShortSettingsFilesReadAsEmptyLines) {
  struct Case {
    std::string bytes;
    std::string game;
    size_t wizards;
  };
  const Case cases[] = {
      {"", "C:\\P\\", 1},
      {"D:\\War3\\", "D:\\War3\\", 0},
      {"D:\\War3\\\r\n", "D:\\War3\\", 0},
      {"D:\\\xC4\xA7\xCA\xDE\\\r\n", "D:\\魔兽\\", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    prompts.boxes.clear();
    view = FakeMainView();
    fs.PutFile("C:\\P\\war3.exe", "exe");
    fs.PutFile("D:\\魔兽\\war3.exe", "exe");
    Settings(c.bytes);

    EXPECT_EQ(Run(), StartupResult::kShowWindow);
    EXPECT_FALSE(ProgramErrorShown());
    EXPECT_EQ(view.gamePath, c.game);
    EXPECT_EQ(view.replayPath, "C:\\P\\replays\\");
    EXPECT_EQ(view.wizardCaptions.size(), c.wizards);
  }
}

TEST_F(StartupTest, GameDirectoryThatIsGoneOpensThePicker) {
  Settings("X:\\Gone\\\r\n\r\n");
  picker.answers = {"D:\\War3"};
  EXPECT_EQ(Run(), StartupResult::kShowWindow);
  EXPECT_EQ(picker.prompts.size(), 1u);
  EXPECT_EQ(view.gamePath, "D:\\War3\\");
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(StartupTest, SettingsLinesThatAreNotGbkReadAsEmpty) {
  struct Case {
    std::string bytes;
    std::string game;
    std::string replay;
    size_t wizards;
  };
  const Case cases[] = {
      {"D:\\War3\x81\r\nE:\\Rep\\\r\n", "C:\\P\\", "E:\\Rep\\", 1},
      {"D:\\War3\\\r\nE:\\Rep\xFF\r\n", "D:\\War3\\", "C:\\P\\replays\\", 0},
      {"\xFF\xFE\r\n\x81", "C:\\P\\", "C:\\P\\replays\\", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    prompts.boxes.clear();
    view = FakeMainView();
    fs.PutFile("C:\\P\\war3.exe", "exe");
    Settings(c.bytes);

    EXPECT_EQ(Run(), StartupResult::kShowWindow);
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(view.gamePath, c.game);
    EXPECT_EQ(view.replayPath, c.replay);
    EXPECT_EQ(view.wizardCaptions.size(), c.wizards);
  }
}

TEST_F(StartupTest, UnreadableSettingsFileIsAProgramError) {
  const Box programError{"程序错误！", "错误", ui::kOkOnly | ui::kIconError};
  Settings("D:\\War3\\\r\n");
  fs.Fail(Op::kRead, kVerDat, fs::kPermissionDenied);
  EXPECT_EQ(Run(), StartupResult::kClose);
  EXPECT_EQ(prompts.boxes, std::vector<Box>{programError});
}

TEST_F(StartupTest, ListsVersionsThatHaveAStoreFolder) {
  struct Case {
    Names files;
    Names folders;
    Names listed;
  };
  const Case cases[] = {
      {{"1.18.w3v", "1.20.w3v"}, {"1.20"}, {"1.20"}},
      {{"1.20a.w3v"}, {"1.20A"}, {"1.20a"}},
      {{"1.24.W3V", "1.20.w3v", "1.21.w3v"}, {"1.21", "1.20", "1.24"}, {"1.20", "1.21", "1.24"}},
      {{".w3v"}, {"", "1.20"}, {}},
      {{"1.20.w3v.bak", "1.20.txt"}, {"1.20"}, {}},
      // Names Windows takes for devices, whatever files the listing shows.
      {{"nul.1.w3v", "COM0.w3v", "lpt\u00B9.w3v", "CONIN$.w3v", "conout$.w3v", "1.20.w3v"},
       {"nul.1", "COM0", "lpt\u00B9", "CONIN$", "conout$", "1.20"},
       {"1.20"}},
      // Names that are not file names, or too long for the store's paths.
      {{"a?b.w3v", "a..w3v", std::string(240, 'x') + ".w3v"},
       {"a?b", "a.", std::string(240, 'x')},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.files));
    fs = MemoryFileSystem();
    SetUp();
    view = FakeMainView();
    Settings("D:\\War3\\\r\n\r\n");
    for (const auto& f : c.files) fs.PutFile("C:\\P\\" + f, "");
    for (const auto& d : c.folders) fs.MakeFolders("C:\\P\\" + d);

    EXPECT_EQ(Run(), StartupResult::kShowWindow);
    EXPECT_EQ(view.versions, c.listed);
    if (!c.listed.empty()) {
      EXPECT_EQ(view.selected, 0);
      EXPECT_EQ(view.status, "Created by Velmor");
    }
  }
}

TEST_F(StartupTest, VersionsMadeInTheFirstRunWizardAreListed) {
  fs.PutFile("C:\\P\\war3.exe", "exe");
  view.onWizard = [&] { AddVersion("1.20"); };
  EXPECT_EQ(Run(), StartupResult::kShowWindow);
  EXPECT_EQ(view.versions, Names{"1.20"});
}

TEST_F(StartupTest, CommandLineSwitchesAndStartsTheGame) {
  struct Case {
    std::string arguments;
    StartupResult result;
    std::string contents;
  };
  const Case cases[] = {
      {"1.20", StartupResult::kClose, "new 1.20"},
      {"1.2", StartupResult::kShowWindow, "old"},
      {"", StartupResult::kShowWindow, "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    SetUp();
    launcher.starts.clear();
    Settings("D:\\War3\\\r\n\r\n");
    AddVersion("1.20");

    EXPECT_EQ(Run(c.arguments), c.result);
    EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), c.contents);
    EXPECT_EQ(fs.Contents("D:\\War3\\Maps\\A.w3x"), c.contents);
    if (c.result == StartupResult::kClose) {
      EXPECT_EQ(launcher.starts, (std::vector<Started>{{"D:\\War3\\war3.exe", "", 2}}));
      EXPECT_EQ(view.status, "转换完成！- Created by Velmor");
    } else {
      EXPECT_TRUE(launcher.starts.empty());
    }
  }
}

// A second start hands its command line to the running Plover, which takes it
// only while idle and only when it names a version or a replay; it then
// switches and starts the game as start-up would, and stays open.
TEST_F(StartupTest, RunningPloverTakesAHandedOverCommandOnlyWhenIdleAndKnown) {
  Settings("D:\\War3\\\r\n\r\n");
  AddVersion("1.20");
  fs.PutFile("E:\\Rep\\game.w3g", "not looked at yet");
  ASSERT_EQ(Run(), StartupResult::kShowWindow);
  struct Case {
    std::string arguments;
    bool idle;
    bool taken;
  };
  const Case cases[] = {
      {"1.20", true, true},
      {"1.20", false, false},
      {"1.2", true, false},
      {"\"E:\\Rep\\game.w3g\"", true, true},
      {"E:\\Rep\\gone.w3g", true, false},
      {"", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TakesHandOver(services, view, c.idle, c.arguments), c.taken)
        << c.arguments << (c.idle ? ", idle" : ", busy");
  }
  services.switching = true;
  EXPECT_FALSE(TakesHandOver(services, view, true, "1.20"));
  services.switching = false;

  VersionPatches patches;
  EXPECT_TRUE(RunCommandLine(services, view, patches, "1.20"));
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new 1.20");
  EXPECT_EQ(launcher.starts, (std::vector<Started>{{"D:\\War3\\war3.exe", "", 2}}));
}

TEST_F(StartupTest, CommandLineMatchesAnyLetterCase) {
  Settings("D:\\War3\r\n\r\n");
  AddVersion("1.20a");
  EXPECT_EQ(Run("1.20A"), StartupResult::kClose);
  EXPECT_EQ(fs.Contents("D:\\War3\\Maps\\A.w3x"), "new 1.20a");
  EXPECT_EQ(launcher.starts, (std::vector<Started>{{"D:\\War3\\war3.exe", "", 2}}));
}

TEST_F(StartupTest, GameThatCannotBeStartedIsReported) {
  Settings("D:\\War3\\\r\n\r\n");
  AddVersion("1.20");
  launcher.succeeds = false;
  EXPECT_EQ(Run("1.20"), StartupResult::kClose);
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"找不到魔兽,请选择正确的目录", "错误", ui::kOkOnly}}));
}

TEST_F(StartupTest, CommandLineWithARelativeGameDirectoryWritesAndStartsNothing) {
  Settings("War3\\\r\n\r\n");
  fs.PutFile("War3\\war3.exe", "exe");
  fs.PutFile("War3\\Game.dll", "old");
  AddVersion("1.20");
  EXPECT_EQ(Run("1.20"), StartupResult::kClose);
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"找不到魔兽,请选择正确的目录", "错误", ui::kOkOnly}}));
  EXPECT_EQ(fs.Contents("War3\\Game.dll"), "old");
  EXPECT_TRUE(launcher.starts.empty());
}

class SaveSettingsTest : public ::testing::Test, public TestWorld {
 protected:
  void SetUp() override {
    fs.PutFile(kVerDat, kOld);
    view.gamePath = "D:\\魔兽争霸\\";
    view.replayPath = "E:\\Rep\\";
  }
  const std::string kOld = "D:\\War3\\\r\n\r\n";
  const Box kCannotSave{"无法保存设置文件 ver.dat！", "错误", ui::kOkOnly | ui::kIconError};
};

TEST_F(SaveSettingsTest, WritesBothDirectoriesInGbk) {
  EXPECT_TRUE(SaveSettings(services, view));
  EXPECT_EQ(fs.Contents(kVerDat), "D:\\\xC4\xA7\xCA\xDE\xD5\xF9\xB0\xD4\\\r\nE:\\Rep\\\r\n");
  EXPECT_EQ(fs.Below("C:\\P"), Names{kVerDat});
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(SaveSettingsTest, FailedWriteKeepsTheOldFile) {
  for (const Op op : {Op::kWrite, Op::kMove}) {
    SCOPED_TRACE(static_cast<int>(op));
    prompts.boxes.clear();
    fs.Fail(op, "", fs::kDiskFull);
    EXPECT_FALSE(SaveSettings(services, view));
    EXPECT_EQ(prompts.boxes, std::vector<Box>{kCannotSave});
    EXPECT_EQ(fs.Contents(kVerDat), kOld);
    EXPECT_EQ(fs.Below("C:\\P"), Names{kVerDat});
  }
}

TEST_F(SaveSettingsTest, DirectoryWithoutGbkFormKeepsTheOldFile) {
  view.gamePath = "D:\\\xEA\xB0\x80\\";
  EXPECT_FALSE(SaveSettings(services, view));
  EXPECT_EQ(prompts.boxes, std::vector<Box>{kCannotSave});
  EXPECT_EQ(fs.Contents(kVerDat), kOld);
  EXPECT_EQ(fs.CallCount(Op::kWrite), 0);
}

}  // namespace
}  // namespace plover::testing
