// A switch and the installed-version mark rely on telling, from size and
// last-write time alone, whether a game file already holds its store copy.
#include "plover/versions/quick_check.h"

#include <gtest/gtest.h>

#include "tests/support/memory_fs.h"

namespace plover::versions {
namespace {

using testing::MemoryFileSystem;

constexpr char kApp[] = "C:\\P\\";
constexpr char kGame[] = "D:\\War3";

class QuickCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\nMaps\\x.w3x\r\n");
    fs.PutFile("C:\\P\\1.20\\Game.dll", "dll 1.20");
    fs.PutFile("C:\\P\\1.20\\x.w3x", "map 1.20");
    fs.Tick();
    fs.PutFile("D:\\War3\\Game.dll", "dll 1.24");
    fs.PutFile("D:\\War3\\Maps\\x.w3x", "map 1.24");
  }
  void CopyIn(const char* store, const char* game) { ASSERT_TRUE(fs.Copy(store, game).ok()); }
  MemoryFileSystem fs;
};

TEST_F(QuickCheckTest, ACopiedFileIsInPlaceUntilSomethingWritesIt) {
  EXPECT_FALSE(InPlace(fs, "C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll"));
  CopyIn("C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll");
  EXPECT_TRUE(InPlace(fs, "C:\\P\\1.20\\Game.dll", "d:\\war3\\GAME.DLL"));

  fs.Touch("D:\\War3\\Game.dll");
  EXPECT_FALSE(InPlace(fs, "C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll"));
}

TEST_F(QuickCheckTest, SameTimeButAnotherSizeIsNotInPlace) {
  fs.PutFile("C:\\P\\a", "12345");
  fs.PutFile("D:\\War3\\a", "1234");
  EXPECT_FALSE(InPlace(fs, "C:\\P\\a", "D:\\War3\\a"));
}

TEST_F(QuickCheckTest, AFileThatCannotBeLookedUpIsNotInPlace) {
  CopyIn("C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll");
  EXPECT_FALSE(InPlace(fs, "C:\\P\\1.20\\Nope.dll", "D:\\War3\\Game.dll"));
  EXPECT_FALSE(InPlace(fs, "C:\\P\\1.20\\Game.dll", "D:\\War3\\Nope.dll"));
  fs.Fail(testing::Op::kGetFile, "D:\\War3\\Game.dll", fs::kPermissionDenied);
  EXPECT_FALSE(InPlace(fs, "C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll"));
}

TEST_F(QuickCheckTest, AVersionIsInstalledOnlyWhenEveryEntryIsInPlace) {
  EXPECT_FALSE(VersionInstalled(fs, kApp, "1.20", kGame));
  CopyIn("C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll");
  EXPECT_FALSE(VersionInstalled(fs, kApp, "1.20", kGame));
  CopyIn("C:\\P\\1.20\\x.w3x", "D:\\War3\\Maps\\x.w3x");
  EXPECT_TRUE(VersionInstalled(fs, kApp, "1.20", "D:\\War3\\"));

  EXPECT_FALSE(VersionInstalled(fs, kApp, "1.20", ""));
  EXPECT_FALSE(VersionInstalled(fs, kApp, "1.21", kGame));
}

TEST_F(QuickCheckTest, EmptyEscapingOrUnreadableVersionsAreNeverInstalled) {
  fs.PutFile("C:\\P\\empty.w3v", "");
  EXPECT_FALSE(VersionInstalled(fs, kApp, "empty", kGame));

  fs.PutFile("C:\\P\\out.w3v", "..\\Game.dll\r\n");
  fs.PutFile("C:\\P\\out\\Game.dll", "x");
  fs.PutFile("D:\\Game.dll", "x");
  ASSERT_TRUE(fs.Copy("C:\\P\\out\\Game.dll", "D:\\Game.dll").ok());
  EXPECT_FALSE(VersionInstalled(fs, kApp, "out", kGame));

  CopyIn("C:\\P\\1.20\\Game.dll", "D:\\War3\\Game.dll");
  CopyIn("C:\\P\\1.20\\x.w3x", "D:\\War3\\Maps\\x.w3x");
  fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\n\xff\xff\r\n");
  EXPECT_FALSE(VersionInstalled(fs, kApp, "1.20", kGame));
}

}  // namespace
}  // namespace plover::versions
