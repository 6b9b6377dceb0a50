// The main window's commands for the selected version and the directories.
#include <gtest/gtest.h>

#include "plover/main/commands.h"
#include "plover/versions/loader.h"
#include "tests/support/fakes.h"

namespace plover {
namespace {

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    w.fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\n");
    w.fs.PutFile("C:\\P\\1.20\\Game.dll", "g");
    w.view.versions = {"1.18", "1.20"};
    w.view.selected = 1;
  }
  testing::TestWorld w;
};

TEST_F(Commands, NothingSelectedIsRefusedByEveryVersionCommand) {
  w.view.selected = -1;
  CmdMakeLoader(w.services, w.view);
  CmdDeleteVersion(w.services, w.view);
  const testing::Box refusal{"请选择一个版本！", "出错", ui::kIconError};
  EXPECT_EQ(w.prompts.boxes, (std::vector<testing::Box>{refusal, refusal}));
  EXPECT_TRUE(w.fs.Log().empty());
  EXPECT_EQ(w.view.versions.size(), 2u);
}

TEST_F(Commands, LoaderIsWrittenInCodePage936) {
  w.services.exeStem = "sw";
  w.view.versions = {"魔兽"};
  w.view.selected = 0;
  CmdMakeLoader(w.services, w.view);
  EXPECT_EQ(w.fs.Contents("C:\\P\\魔兽loader.bat"), testing::Gbk(LoaderText("sw", "魔兽")));
  EXPECT_EQ(w.view.status, "已经生成loader！- Created by Velmor");
  // Made again, it replaces the old file.
  w.services.exeStem = "Plover";
  CmdMakeLoader(w.services, w.view);
  EXPECT_EQ(w.fs.Contents("C:\\P\\魔兽loader.bat"), testing::Gbk(LoaderText("Plover", "魔兽")));
}

TEST_F(Commands, LoaderThatCannotBeWrittenSaysNothingAndKeepsTheStatus) {
  w.view.status = "Created by Velmor";
  w.fs.Fail(testing::Op::kWrite, "", 61, 0, -1);
  CmdMakeLoader(w.services, w.view);
  EXPECT_TRUE(w.prompts.boxes.empty());
  EXPECT_EQ(w.view.status, "Created by Velmor");
}

TEST_F(Commands, DeleteAnsweredYesThenNoKeepsTheStore) {
  w.prompts.answers = {ui::kIdYes, ui::kIdNo};
  CmdDeleteVersion(w.services, w.view);
  ASSERT_EQ(w.prompts.boxes.size(), 2u);
  EXPECT_EQ(w.prompts.boxes[0],
            (testing::Box{"你确定要删除吗？", "删除版本文件", ui::kYesNo | ui::kIconQuestion}));
  EXPECT_EQ(w.prompts.boxes[1], (testing::Box{"是否同时删除版本文件？", "删除版本文件",
                                              ui::kYesNo | ui::kIconQuestion}));
  EXPECT_FALSE(w.fs.Exists("C:\\P\\1.20.w3v"));
  EXPECT_TRUE(w.fs.Exists("C:\\P\\1.20\\Game.dll"));
  EXPECT_EQ(w.view.versions, (std::vector<std::string>{"1.18"}));
}

TEST_F(Commands, AVersionFileThatCannotBeDeletedStopsTheDelete) {
  w.prompts.answers = {ui::kIdYes};
  w.fs.Hold("C:\\P\\1.20.w3v");
  const auto before = testing::Snapshot(w.fs, "C:\\P");
  CmdDeleteVersion(w.services, w.view);
  EXPECT_EQ(testing::Snapshot(w.fs, "C:\\P"), before);
  EXPECT_EQ(w.prompts.boxes.back(), (testing::Box{"无法删除版本文件，可能有程序正在使用它。",
                                                  "错误", ui::kOkOnly | ui::kIconError}));
  EXPECT_EQ(w.view.versions.size(), 2u);
}

TEST_F(Commands, DeleteAnsweredNoChangesNothing) {
  w.prompts.answers = {ui::kIdNo};
  CmdDeleteVersion(w.services, w.view);
  EXPECT_EQ(w.prompts.boxes.size(), 1u);
  EXPECT_TRUE(w.fs.Log().empty());
  EXPECT_EQ(w.view.versions.size(), 2u);
}

TEST_F(Commands, ReplayDirectoryPromptShowsTheCurrentOne) {
  w.view.replayPath = "C:\\P\\replays\\";
  w.picker.answers = {"E:\\Rep"};
  CmdChooseReplayDir(w.services, w.view);
  EXPECT_EQ(w.picker.prompts,
            (std::vector<std::string>{"选择录象存放目录，目前存放目录：C:\\P\\replays\\"}));
  EXPECT_EQ(w.view.replayPath, "E:\\Rep\\");
  CmdChooseReplayDir(w.services, w.view);  // cancelled
  EXPECT_EQ(w.view.replayPath, "E:\\Rep\\");
}

TEST_F(Commands, GameStartNeedsAnAbsoluteGameDirectory) {
  const testing::Box notFound{"找不到魔兽,请选择正确的目录", "错误", ui::kOkOnly};
  for (const char* gamePath : {"", "\\", "War3\\", "D:War3"}) {
    SCOPED_TRACE(gamePath);
    w.view.gamePath = gamePath;
    w.prompts.boxes.clear();
    CmdRunGame(w.services, w.view);
    EXPECT_TRUE(w.launcher.starts.empty());
    EXPECT_EQ(w.prompts.boxes, std::vector<testing::Box>{notFound});
  }
  w.view.gamePath = "D:\\War3";
  CmdRunGame(w.services, w.view, "-window");
  EXPECT_EQ(w.launcher.starts,
            (std::vector<testing::Started>{{"D:\\War3\\war3.exe", "-window", 2}}));
}

TEST_F(Commands, KeyBlockerStartsFromTheProgramDirectory) {
  CmdStartKeyBlocker(w.services);
  EXPECT_EQ(w.launcher.starts, (std::vector<testing::Started>{{"C:\\P\\Quenlock.exe", "", 2}}));
  EXPECT_TRUE(w.prompts.boxes.empty());
  w.launcher.succeeds = false;
  CmdStartKeyBlocker(w.services);
  EXPECT_EQ(w.prompts.boxes,
            (std::vector<testing::Box>{{"无法找到 Quenlock.exe", "确定", ui::kOkOnly}}));
}

}  // namespace
}  // namespace plover
