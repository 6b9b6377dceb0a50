#include "plover/main/replay.h"

#include <gtest/gtest.h>

#include "tests/support/memory_fs.h"

namespace plover {
namespace {

TEST(ReplayName, BlanksStandWhereMinusSignsWouldGo) {
  EXPECT_EQ(ReplayCopyName("E:\\Rep\\", {2007, 3, 16, 14, 5, 9}),
            "E:\\Rep\\ 2007- 3- 16  14. 5. 9.w3g");
  EXPECT_EQ(ReplayCopyName("E:\\Rep\\", {2008, 1, 1, 0, 0, 0}),
            "E:\\Rep\\ 2008- 1- 1  0. 0. 0.w3g");
  EXPECT_EQ(ReplayCopyName("", {2026, 12, 31, 23, 59, 59}), " 2026- 12- 31  23. 59. 59.w3g");
}

class ReplayWatchTest : public ::testing::Test {
 protected:
  struct FixedClock : Clock {
    LocalTime now{2007, 3, 16, 14, 5, 9};
    LocalTime Now() override { return now; }
  };

  bool Tick() { return ReplayTick(fs, clock, watch, "D:\\War3\\", "C:\\P\\replays\\"); }
  void WriteReplay(const std::string& bytes) {
    fs.Tick();
    fs.PutFile("D:\\War3\\replay\\LastReplay.w3g", bytes);
  }
  std::vector<std::string> Saved() const { return fs.Below("C:\\P\\replays"); }

  testing::MemoryFileSystem fs;
  FixedClock clock;
  ReplayWatch watch;
};

TEST_F(ReplayWatchTest, NoReplayYetIsQuiet) {
  fs.MakeFolders("D:\\War3");
  EXPECT_FALSE(Tick());
  EXPECT_TRUE(fs.Log().empty());
}

TEST_F(ReplayWatchTest, FirstTickSavesTheReplayAlreadyThereIntoANewFolder) {
  WriteReplay("replay one");
  EXPECT_TRUE(Tick());
  EXPECT_EQ(Saved(), (std::vector<std::string>{"C:\\P\\replays\\ 2007- 3- 16  14. 5. 9.w3g"}));
  EXPECT_EQ(fs.Contents("C:\\P\\replays\\ 2007- 3- 16  14. 5. 9.w3g"), "replay one");
  EXPECT_FALSE(Tick()) << "the same replay is saved once";
}

TEST_F(ReplayWatchTest, AReplayOfEqualLengthIsStillANewReplay) {
  WriteReplay("replay one");
  EXPECT_TRUE(Tick());
  WriteReplay("replay two");
  clock.now.minute = 40;
  EXPECT_TRUE(Tick());
  EXPECT_EQ(fs.Contents("C:\\P\\replays\\ 2007- 3- 16  14. 40. 9.w3g"), "replay two");
  EXPECT_EQ(Saved().size(), 2u);
}

TEST_F(ReplayWatchTest, TheWatchRemembersAcrossOffAndOn) {
  WriteReplay("replay one");
  EXPECT_TRUE(Tick());
  // Switching the watch off and on keeps the same ReplayWatch.
  EXPECT_FALSE(Tick());
  EXPECT_EQ(Saved().size(), 1u);
}

TEST_F(ReplayWatchTest, AFailedCopyIsTriedAgain) {
  WriteReplay("replay one");
  fs.Fail(testing::Op::kCopy, "", 61);
  EXPECT_FALSE(Tick());
  EXPECT_TRUE(Tick());
  EXPECT_EQ(Saved().size(), 1u);
  EXPECT_FALSE(Tick());
}

TEST(CreateFolders, MakesEveryMissingParent) {
  testing::MemoryFileSystem fs;
  fs.MakeFolders("C:\\P");
  EXPECT_TRUE(CreateFolders(fs, "C:\\P\\a\\b\\c\\"));
  EXPECT_TRUE(fs.FolderExists("C:\\P\\a\\b\\c"));
  EXPECT_TRUE(CreateFolders(fs, "C:\\P\\a"));
  fs.Fail(testing::Op::kCreateFolder, "", 70, 0, -1);
  EXPECT_FALSE(CreateFolders(fs, "C:\\Q\\x"));
}

}  // namespace
}  // namespace plover
