// A switch while the game of the game folder runs: asked first, and No
// changes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plover/base/strings.h"
#include "plover/main/running_game.h"
#include "plover/main/startup.h"
#include "plover/main/switch_engine.h"
#include "tests/support/fakes.h"

namespace plover::testing {
namespace {

using Names = std::vector<std::string>;

TEST(GameRunsFrom, OnlyTheWar3OfTheGameFolderCountsInAnyLetterCase) {
  struct Case {
    Names running;
    std::string gameDir;
    bool runs;
  };
  const Case cases[] = {
      {{"D:\\War3\\war3.exe"}, "D:\\War3\\", true},
      {{"d:\\WAR3\\War3.EXE"}, "D:\\War3\\", true},
      {{"D:\\War3\\war3.exe"}, "D:\\War3", true},  // no trailing backslash
      {{"C:\\Windows\\explorer.exe", "D:\\魔兽\\War3.exe"}, "D:\\魔兽\\", true},
      {{"E:\\Other\\war3.exe"}, "D:\\War3\\", false},
      {{"D:\\War3\\Old\\war3.exe"}, "D:\\War3\\", false},
      {{"D:\\war3.exe"}, "D:\\War3\\", false},
      {{"D:\\War3\\war3.exe.bak", "D:\\War3\\worldedit.exe"}, "D:\\War3\\", false},
      {{"D:\\War3x\\war3.exe"}, "D:\\War3", false},
      {{}, "D:\\War3\\", false},
      {{"\\war3.exe"}, "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gameDir + " / " + (c.running.empty() ? "" : c.running.back()));
    EXPECT_EQ(GameRunsFrom(c.running, c.gameDir), c.runs);
  }
}

// A switch while the game runs from the game folder: the player is asked
// first, and nothing is written unless they go on.
class RunningGameTest : public ::testing::Test, public TestWorld {
 protected:
  void SetUp() override {
    services.processes = &processes;
    view.gamePath = "D:\\War3\\";
    view.status = text_of::kSwitched;  // left from an earlier switch
    fs.PutFile("D:\\War3\\War3.exe", "exe");
    fs.PutFile("D:\\War3\\Game.dll", "old");
    fs.PutFile("D:\\War3\\Maps\\A.w3x", "old");
    fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\nMaps\\A.w3x\r\n");
    fs.PutFile("C:\\P\\1.20\\Game.dll", "new");
    fs.PutFile("C:\\P\\1.20\\A.w3x", "new");
  }
  const Box kQuestion{"魔兽正在运行，部分文件可能无法转换。是否继续？", "转换",
                      ui::kYesNo | ui::kIconQuestion | ui::kDefaultButton2};
  FixedProcessList processes;
};

TEST_F(RunningGameTest, NoWritesNothingAndLeavesTheWindowIdle) {
  processes.paths = {"C:\\Windows\\explorer.exe", "d:\\war3\\WAR3.exe"};
  const auto before = Snapshot(fs, "D:\\");
  prompts.answers = {ui::kIdNo};
  // The question is part of the switch: nothing else switches meanwhile.
  SwitchOutcome nested = SwitchOutcome::kCompleted;
  prompts.onShow = [&](const Box&) {
    EXPECT_FALSE(view.enabled);
    nested = ApplyVersion(services, view, "1.20", Scope::kAll).outcome;
  };

  EXPECT_EQ(ApplyVersion(services, view, "1.20", Scope::kAll).outcome, SwitchOutcome::kStopped);
  EXPECT_EQ(prompts.boxes, std::vector<Box>{kQuestion});
  EXPECT_EQ(nested, SwitchOutcome::kRefused);
  EXPECT_TRUE(FilesWritten(fs).empty());
  EXPECT_EQ(Snapshot(fs, "D:\\"), before);
  EXPECT_TRUE(TempFilesLeft(fs).empty());
  EXPECT_TRUE(view.enabled);
  EXPECT_FALSE(services.switching);
  EXPECT_EQ(view.status, text_of::kIdle);
}

TEST_F(RunningGameTest, YesSwitchesAsUsual) {
  processes.paths = {"D:\\War3\\War3.exe"};
  prompts.answers = {ui::kIdYes};
  for (const int scope : {1, 2}) {
    SCOPED_TRACE(scope);
    prompts.boxes.clear();
    prompts.answers = {ui::kIdYes};
    EXPECT_EQ(ApplyVersion(services, view, "1.20", static_cast<Scope>(scope)).outcome,
              SwitchOutcome::kCompleted);
    EXPECT_EQ(prompts.boxes, std::vector<Box>{kQuestion});
    EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new");
    EXPECT_EQ(view.status, text_of::kSwitched);
    EXPECT_TRUE(view.enabled);
  }
  EXPECT_EQ(fs.Contents("D:\\War3\\Maps\\A.w3x"), "new");
}

TEST_F(RunningGameTest, NoGameOrAGameOfAnotherFolderAsksNothing) {
  for (const Names& running : {Names{}, Names{"E:\\War3\\war3.exe", "D:\\War3\\worldedit.exe"}}) {
    SetUp();
    processes.paths = running;
    EXPECT_EQ(ApplyVersion(services, view, "1.20", Scope::kAll).outcome, SwitchOutcome::kCompleted);
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new");
  }
}

TEST_F(RunningGameTest, NothingSelectedIsRefusedBeforeLookingForTheGame) {
  processes.paths = {"D:\\War3\\war3.exe"};
  EXPECT_EQ(ApplyVersion(services, view, "", Scope::kAll).outcome, SwitchOutcome::kNoVersion);
  EXPECT_EQ(prompts.boxes,
            (std::vector<Box>{{"请选择一个版本！", "出错", ui::kOkOnly | ui::kIconError}}));
  EXPECT_EQ(processes.reads, 0);
}

TEST_F(RunningGameTest, CommandLineAsksTheSameWay) {
  fs.PutFile("C:\\P\\ver.dat", "D:\\War3\\\r\n\r\n");
  processes.paths = {"D:\\WAR3\\war3.exe"};
  const auto before = Snapshot(fs, "D:\\");
  prompts.answers = {ui::kIdNo};
  EXPECT_EQ(RunStartup(services, view, "1.20"), StartupResult::kClose);
  EXPECT_EQ(prompts.boxes, std::vector<Box>{kQuestion});
  EXPECT_EQ(Snapshot(fs, "D:\\"), before);
  // The game is started whatever the switch did, as from the command line
  // without a running game.
  EXPECT_EQ(launcher.starts, (std::vector<Started>{{"D:\\War3\\war3.exe", "", 2}}));
}

}  // namespace
}  // namespace plover::testing
