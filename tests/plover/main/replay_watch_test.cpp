// The replay watch: names by date and time, what counts as a new replay, a
// failed copy tried again, and the replay folder made from the top down.
#include "plover/main/replay_watch.h"

#include <gtest/gtest.h>

#include "plover/base/functions.h"
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

TEST(CreateFolders, MakesEveryMissingParentFromTheTopDown) {
  testing::MemoryFileSystem fs;
  fs.MakeFolders("C:\\P");
  EXPECT_TRUE(CreateFolders(fs, "C:\\P\\a\\b\\c\\"));
  EXPECT_TRUE(fs.FolderExists("C:\\P\\a\\b\\c"));
  EXPECT_EQ(fs.CallCount(testing::Op::kCreateFolder), 3);
  EXPECT_TRUE(CreateFolders(fs, "C:\\P\\a"));
  EXPECT_EQ(fs.CallCount(testing::Op::kCreateFolder), 3) << "a folder that exists is left alone";
  fs.Fail(testing::Op::kCreateFolder, "", 70, 0, -1);
  EXPECT_FALSE(CreateFolders(fs, "C:\\Q\\x"));
  EXPECT_FALSE(fs.FolderExists("C:\\Q"));
}

TEST(CreateFolders, RootsAreNeverCreated) {
  testing::MemoryFileSystem fs;
  fs.MakeFolders("\\\\server\\share");
  EXPECT_TRUE(CreateFolders(fs, "\\\\server\\share\\rep\\2026"));
  EXPECT_TRUE(fs.FolderExists("\\\\server\\share\\rep\\2026"));
  EXPECT_EQ(fs.CallCount(testing::Op::kCreateFolder), 2);
  EXPECT_FALSE(CreateFolders(fs, "\\\\other\\share\\rep"));
  EXPECT_EQ(fs.CallCount(testing::Op::kCreateFolder), 2 + 1)
      << "a missing share is not made by a CreateFolder of its own";
  EXPECT_TRUE(CreateFolders(fs, "Q:\\rep"));
  EXPECT_EQ(fs.CallCount(testing::Op::kCreateFolder), 3 + 1) << "nor is a drive";
  EXPECT_FALSE(CreateFolders(fs, ""));
}

// A directory as long as Win32 takes works; one character more counts as a
// missing directory, however long, and costs no deep walk.
TEST(CreateFolders, APathBeyondTheLimitIsMissing) {
  testing::MemoryFileSystem fs;
  fs.MakeFolders("C:\\P");
  std::string edge = "C:\\P";
  while (edge.size() + 10 < kPathLimit) edge += "\\folder123";
  while (edge.size() < kPathLimit - 1) edge += 'a';
  edge += "\xe5\xbd\x95";  // the last character takes three bytes but one unit
  ASSERT_EQ(Utf16Length(edge), kPathLimit);
  EXPECT_TRUE(CreateFolders(fs, edge));
  EXPECT_TRUE(fs.FolderExists(edge));
  const int made = fs.CallCount(testing::Op::kCreateFolder);
  EXPECT_FALSE(CreateFolders(fs, edge + "x"));
  EXPECT_FALSE(CreateFolders(fs, "C:\\P\\\xff\xfe"));

  std::string deep = "C:\\P";
  while (deep.size() < 40 * 1024) deep += "\\a";
  EXPECT_FALSE(CreateFolders(fs, deep));
  EXPECT_EQ(fs.CallCount(testing::Op::kCreateFolder), made);
}

TEST_F(ReplayWatchTest, AnOverlongDirectoryIsTreatedAsMissing) {
  WriteReplay("replay one");
  std::string replays = "C:\\P\\";
  while (replays.size() < 40 * 1024) replays += "a\\";
  EXPECT_FALSE(ReplayTick(fs, clock, watch, "D:\\War3\\", replays));
  EXPECT_EQ(fs.CallCount(testing::Op::kCreateFolder), 0);

  const std::string game = "D:\\War3\\" + std::string(1024 * 1024, 'g');
  fs.MakeFolders(game + "\\replay");
  fs.PutFile(game + "\\replay\\LastReplay.w3g", "replay two");
  EXPECT_FALSE(ReplayTick(fs, clock, watch, game, "C:\\P\\replays\\"));
  EXPECT_TRUE(Saved().empty());
  EXPECT_TRUE(Tick()) << "the watch goes on with usable directories";
}

}  // namespace
}  // namespace plover
