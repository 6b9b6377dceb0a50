// The in-memory file system the other tests stand on must behave like the
// Windows one in the ways the program relies on.
#include "tests/support/memory_fs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plover::testing {
namespace {

using Names = std::vector<std::string>;

class MemoryFsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.PutFile("D:\\War3\\War3.exe", "exe");
    fs.PutFile("D:\\War3\\Game.dll", "old");
    fs.PutFile("C:\\P\\1.20\\Game.dll", "new");
  }
  MemoryFileSystem fs;
};

TEST_F(MemoryFsTest, FindsNamesInAnyCaseAndKeepsTheStoredCase) {
  EXPECT_TRUE(fs.GetFile("d:\\WAR3\\war3.EXE", nullptr).ok());
  EXPECT_TRUE(fs.FolderExists("d:\\war3\\"));
  EXPECT_FALSE(fs.FolderExists("D:\\War3\\War3.exe"));
  EXPECT_TRUE(fs.GetFile("D:\\War3", nullptr).is(fs::kFileNotFound));

  Names names;
  ASSERT_TRUE(fs.ListFiles("d:\\war3\\", "*.EXE", names).ok());
  EXPECT_EQ(names, Names{"War3.exe"});
  ASSERT_TRUE(fs.Copy("C:\\P\\1.20\\Game.dll", "D:\\WAR3\\GAME.DLL").ok());
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "new");
  EXPECT_EQ(fs.Below("D:\\War3"), (Names{"D:\\War3\\Game.dll", "D:\\War3\\War3.exe"}));
}

TEST_F(MemoryFsTest, ListsSortedWithoutRegardToCase) {
  fs.PutFile("C:\\P\\b.w3v", "");
  fs.PutFile("C:\\P\\A.w3v", "");
  fs.PutFile("C:\\P\\c.W3V", "");
  fs.PutFile("C:\\P\\ver.dat", "");
  fs.MakeFolders("C:\\P\\1.18\\Sub");
  Names names;
  ASSERT_TRUE(fs.ListFiles("C:\\P\\", "*.w3v", names).ok());
  EXPECT_EQ(names, (Names{"A.w3v", "b.w3v", "c.W3V"}));
  ASSERT_TRUE(fs.ListFolders("C:\\P", names).ok());
  EXPECT_EQ(names, (Names{"1.18", "1.20"}));
  EXPECT_FALSE(fs.ListFiles("X:\\Gone\\", "*.exe", names).ok());
}

TEST_F(MemoryFsTest, CreatesNoFolders) {
  EXPECT_TRUE(
      fs.Copy("C:\\P\\1.20\\Game.dll", "D:\\War3\\Maps\\Game.dll").is(fs::kFileAlreadyExists));
  EXPECT_TRUE(fs.Copy("C:\\P\\1.20\\Nope.dll", "D:\\War3\\Nope.dll").is(fs::kFileNotFound));
  EXPECT_FALSE(fs.WriteAll("D:\\War3\\Maps\\x", "x").ok());
  EXPECT_FALSE(fs.Exists("D:\\War3\\Maps"));
  std::string bytes;
  EXPECT_TRUE(fs.ReadAll("D:\\War3\\ver.dat", bytes).is(fs::kFileNotFound));
}

TEST_F(MemoryFsTest, MoveReplacesOnlyWhenAsked) {
  fs.PutFile("D:\\War3\\Game.dll.tmp", "tmp");
  EXPECT_TRUE(
      fs.Move("D:\\War3\\Game.dll.tmp", "D:\\War3\\Game.dll", false).is(fs::kFileAlreadyExists));
  ASSERT_TRUE(fs.Move("D:\\War3\\Game.dll.tmp", "D:\\War3\\Game.dll", true).ok());
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "tmp");
  EXPECT_FALSE(fs.Exists("D:\\War3\\Game.dll.tmp"));
}

TEST_F(MemoryFsTest, HeldFileCanBeReadButNotReplaced) {
  fs.PutFile("D:\\War3\\Game.dll.tmp", "tmp");
  fs.Hold("d:\\war3\\game.dll");
  EXPECT_TRUE(fs.Copy("C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll").is(fs::kPermissionDenied));
  EXPECT_TRUE(
      fs.Move("D:\\War3\\Game.dll.tmp", "D:\\War3\\Game.dll", true).is(fs::kPermissionDenied));
  EXPECT_TRUE(fs.WriteAll("D:\\War3\\Game.dll", "x").is(fs::kPermissionDenied));
  EXPECT_TRUE(fs.Delete("D:\\War3\\Game.dll").is(fs::kPermissionDenied));
  EXPECT_TRUE(fs.DeleteFolder("D:\\War3").is(fs::kPermissionDenied));
  EXPECT_EQ(fs.Contents("D:\\War3\\Game.dll"), "old");
  std::string bytes;
  EXPECT_TRUE(fs.ReadAll("D:\\War3\\Game.dll", bytes).ok());
  EXPECT_TRUE(fs.Copy("D:\\War3\\Game.dll", "C:\\P\\Game.dll").ok());
}

TEST_F(MemoryFsTest, ReadOnlyFileIsCopiedWithItsAttributeAndCannotBeReplaced) {
  fs.SetReadOnly("C:\\P\\1.20\\Game.dll");
  ASSERT_TRUE(fs.Copy("C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll.tmp").ok());
  EXPECT_TRUE(fs.IsReadOnly("D:\\War3\\Game.dll.tmp")) << "a copy carries the attribute";
  EXPECT_TRUE(fs.Copy("C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll.tmp").is(fs::kPermissionDenied));
  EXPECT_TRUE(fs.WriteAll("D:\\War3\\Game.dll.tmp", "x").is(fs::kPermissionDenied));
  EXPECT_TRUE(fs.Delete("D:\\War3\\Game.dll.tmp").is(fs::kPermissionDenied));
  EXPECT_TRUE(fs.DeleteFolder("D:\\War3").is(fs::kPermissionDenied));
  // A read-only file can itself be moved, and keeps the attribute.
  ASSERT_TRUE(fs.Move("D:\\War3\\Game.dll.tmp", "D:\\War3\\Game.dll", true).ok());
  EXPECT_TRUE(fs.IsReadOnly("D:\\War3\\Game.dll"));
  fs.PutFile("D:\\War3\\Game.dll.tmp", "tmp");
  EXPECT_TRUE(
      fs.Move("D:\\War3\\Game.dll.tmp", "D:\\War3\\Game.dll", true).is(fs::kPermissionDenied));

  ASSERT_TRUE(fs.ClearReadOnly("d:\\war3\\game.dll").ok());
  EXPECT_FALSE(fs.IsReadOnly("D:\\War3\\Game.dll"));
  EXPECT_TRUE(fs.ClearReadOnly("D:\\War3\\Game.dll").ok()) << "already writable";
  EXPECT_TRUE(fs.ClearReadOnly("D:\\War3\\none.dll").is(fs::kFileNotFound));
  EXPECT_TRUE(fs.Delete("D:\\War3\\Game.dll").ok());
  EXPECT_TRUE(fs.IsReadOnly("C:\\P\\1.20\\Game.dll")) << "the source keeps it";
}

TEST_F(MemoryFsTest, InjectedFailuresSkipThenFailTheGivenNumberOfTimes) {
  const auto copies = [&](const std::string& to, int n) {
    std::vector<int> codes;
    for (int i = 0; i < n; ++i) codes.push_back(fs.Copy("C:\\P\\1.20\\Game.dll", to).code);
    return codes;
  };
  fs.Fail(Op::kCopy, "", fs::kDiskFull, /*skip=*/1, /*times=*/2);
  EXPECT_EQ(copies("D:\\War3\\a", 4), (std::vector<int>{0, 61, 61, 0}));

  // A path matches either side of a copy, in any case; other paths pass.
  fs.Fail(Op::kCopy, "d:\\war3\\b", fs::kPermissionDenied, 0, -1);
  EXPECT_EQ(copies("D:\\War3\\a", 1), (std::vector<int>{0}));
  EXPECT_EQ(copies("D:\\War3\\B", 3), (std::vector<int>{70, 70, 70}));
  fs.ClearFailures();
  EXPECT_EQ(copies("D:\\War3\\b", 1), (std::vector<int>{0}));
  EXPECT_EQ(fs.CallCount(Op::kCopy), 9);
}

TEST_F(MemoryFsTest, CallsAreCountedOverAllOperationsAndOneCanFailHalfWritten) {
  fs.PutFile("C:\\P\\big", "0123456789");
  const int first = fs.TotalCalls();
  fs.FailCall(first + 1, fs::kDiskFull, /*halfWritten=*/true);
  EXPECT_TRUE(fs.GetFile("C:\\P\\big", nullptr).ok());
  EXPECT_TRUE(fs.Copy("C:\\P\\big", "D:\\War3\\big").is(fs::kDiskFull));
  EXPECT_EQ(fs.Contents("D:\\War3\\big"), "01234");
  EXPECT_TRUE(fs.Copy("C:\\P\\big", "D:\\War3\\big").ok());
  EXPECT_EQ(fs.Contents("D:\\War3\\big"), "0123456789");

  fs.FailCall(fs.TotalCalls(), fs::kPermissionDenied);
  EXPECT_TRUE(fs.WriteAll("D:\\War3\\big", "abcd").is(fs::kPermissionDenied));
  EXPECT_EQ(fs.Contents("D:\\War3\\big"), "0123456789");
  EXPECT_EQ(fs.TotalCalls(), first + 4);
}

TEST_F(MemoryFsTest, AKillStopsEveryLaterCallUntilRevived) {
  fs.KillAt(fs.TotalCalls() + 1);
  EXPECT_TRUE(fs.Delete("D:\\War3\\Game.dll").ok());
  EXPECT_FALSE(fs.Killed());
  // The write under way is cut off; nothing after it happens.
  EXPECT_TRUE(fs.WriteAll("D:\\War3\\new.txt", "abcdef").is(fs::kDeviceIoError));
  EXPECT_TRUE(fs.Killed());
  EXPECT_EQ(fs.Contents("D:\\War3\\new.txt"), "abc");
  EXPECT_TRUE(fs.Delete("D:\\War3\\War3.exe").is(fs::kDeviceIoError));
  EXPECT_TRUE(fs.CreateFolder("D:\\War3\\Maps").is(fs::kDeviceIoError));
  EXPECT_TRUE(fs.Exists("D:\\War3\\War3.exe"));
  EXPECT_FALSE(fs.Exists("D:\\War3\\Maps"));
  fs.Revive();
  EXPECT_FALSE(fs.Killed());
  EXPECT_TRUE(fs.Delete("D:\\War3\\War3.exe").ok());
}

TEST_F(MemoryFsTest, MoveFolderTakesItsContents) {
  for (const std::string from : {"C:\\P\\1.20", "C:\\P\\1.20\\", "c:\\p\\1.20"}) {
    SCOPED_TRACE(from);
    ASSERT_TRUE(fs.MoveFolder(from, "C:\\P\\1.21").ok());
    EXPECT_EQ(fs.Below("C:\\P"), (Names{"C:\\P\\1.21", "C:\\P\\1.21\\Game.dll"}));
    ASSERT_TRUE(fs.MoveFolder("C:\\P\\1.21", "C:\\P\\1.20").ok());
  }
}

}  // namespace
}  // namespace plover::testing
