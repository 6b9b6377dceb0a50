// Building a version's store and file as one step that is whole or absent,
// and the version names Windows can store.
#include "plover/versions/store_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plover/versions/version_name.h"
#include "tests/support/fakes.h"

namespace plover::versions {
namespace {

using testing::MemoryFileSystem;
using testing::Op;
using testing::Snapshot;

const std::vector<StoreCopy> kCopies = {
    {"D:\\W\\war3.exe", "war3.exe"},
    {"D:\\W\\Game.dll", "Game.dll"},
    {"D:\\W\\Maps\\(2)EchoIsles.w3x", "(2)EchoIsles.w3x"},
};
constexpr const char* kNewFile = "War3.exe\r\nGame.dll\r\nMaps\\(2)EchoIsles.w3x\r\n";

void Install(MemoryFileSystem& fs, bool oldVersion) {
  fs.MakeFolders("C:\\P");
  for (const auto& c : kCopies) fs.PutFile(c.source, "new " + c.storeName);
  if (!oldVersion) return;
  fs.PutFile("C:\\P\\1.20.w3v", "Game.dll\r\n");
  fs.PutFile("C:\\P\\1.20\\(2)EchoIsles.w3x", "old map");
  fs.PutFile("C:\\P\\1.20\\Game.dll", "old dll");
  fs.PutFile("C:\\P\\1.20\\notes.txt", "mine");
}

BuildResult Build(MemoryFileSystem& fs) {
  return BuildVersion(fs, "C:\\P\\", "1.20", kCopies, kNewFile);
}

TEST(StoreBuilderTest, BuildsANewVersion) {
  MemoryFileSystem fs;
  Install(fs, false);
  ASSERT_EQ(Build(fs), BuildResult::kDone);
  EXPECT_EQ(Snapshot(fs, "C:\\P"), (std::map<std::string, std::optional<std::string>>{
                                       {"C:\\P\\1.20", std::nullopt},
                                       {"C:\\P\\1.20.w3v", kNewFile},
                                       {"C:\\P\\1.20\\(2)EchoIsles.w3x", "new (2)EchoIsles.w3x"},
                                       {"C:\\P\\1.20\\Game.dll", "new Game.dll"},
                                       {"C:\\P\\1.20\\war3.exe", "new war3.exe"},
                                   }));
}

TEST(StoreBuilderTest, ReplacesAnExistingVersionAndKeepsItsOtherFiles) {
  MemoryFileSystem fs;
  Install(fs, true);
  fs.PutFile("C:\\P\\1.20.plover-new\\stale.dll", "left by a crash");
  ASSERT_EQ(Build(fs), BuildResult::kDone);
  EXPECT_EQ(Snapshot(fs, "C:\\P"), (std::map<std::string, std::optional<std::string>>{
                                       {"C:\\P\\1.20", std::nullopt},
                                       {"C:\\P\\1.20.w3v", kNewFile},
                                       {"C:\\P\\1.20\\(2)EchoIsles.w3x", "new (2)EchoIsles.w3x"},
                                       {"C:\\P\\1.20\\Game.dll", "new Game.dll"},
                                       {"C:\\P\\1.20\\notes.txt", "mine"},
                                       {"C:\\P\\1.20\\war3.exe", "new war3.exe"},
                                   }));
}

TEST(StoreBuilderTest, MissingSourceIsToldApart) {
  MemoryFileSystem fs;
  Install(fs, false);
  (void)fs.Delete("D:\\W\\Maps\\(2)EchoIsles.w3x");
  EXPECT_EQ(Build(fs), BuildResult::kSourceMissing);
  EXPECT_TRUE(fs.Below("C:\\P").empty());
}

// A failure at any step either completes the version or leaves everything
// as it was: a new version leaves nothing, an old one stays whole.
TEST(StoreBuilderTest, AFailureAtAnyStepLeavesTheOldVersionWhole) {
  for (const bool oldVersion : {false, true}) {
    MemoryFileSystem clean;
    Install(clean, oldVersion);
    ASSERT_EQ(Build(clean), BuildResult::kDone);
    const auto done = Snapshot(clean, "C:\\P");
    for (const Op op : {Op::kGetFile, Op::kCopy, Op::kWrite, Op::kMove, Op::kCreateFolder,
                        Op::kMoveFolder, Op::kListFiles}) {
      for (int skip = 0; skip < clean.CallCount(op); ++skip) {
        SCOPED_TRACE(::testing::Message() << (oldVersion ? "overwrite" : "new") << ", op "
                                          << static_cast<int>(op) << ", call " << skip + 1);
        MemoryFileSystem fs;
        Install(fs, oldVersion);
        const auto before = Snapshot(fs, "C:\\P");
        fs.Fail(op, "", fs::kPermissionDenied, skip);
        const BuildResult r = Build(fs);
        EXPECT_EQ(Snapshot(fs, "C:\\P"), r == BuildResult::kDone ? done : before);
      }
    }
  }
}

TEST(StoreBuilderTest, HeldFilesOfTheOldVersionKeepItWhole) {
  for (const char* held : {"C:\\P\\1.20\\Game.dll", "C:\\P\\1.20.w3v"}) {
    SCOPED_TRACE(held);
    MemoryFileSystem fs;
    Install(fs, true);
    fs.Hold(held);
    const auto before = Snapshot(fs, "C:\\P");
    EXPECT_EQ(Build(fs), BuildResult::kFailed);
    EXPECT_EQ(Snapshot(fs, "C:\\P"), before);
  }
}

TEST(VersionNameTest, OnlyNamesWindowsCanStoreAreAccepted) {
  for (const char* bad :
       {"",      "a\\b",  "a/b",     "a:b",   "a*b",   "a?b",  "a\"b", "a<b",     "a>b", "a|b",
        "a\x01", "a\tb",  "a\nb",    "1.20.", "1.20 ", ".",    "CON",  "con",     "Prn", "AUX",
        "nul",   "NUL.1", "nul.txt", "COM1",  "com9",  "LPT1", "Lpt9", "aux.1.20"}) {
    EXPECT_FALSE(IsStorableName(bad, "C:\\P\\")) << ::testing::PrintToString(std::string(bad));
  }
  for (const char* good : {"1.20", "1.18 beta", "COM10", "LPT0x", "CONSOLE", "NULL", "com",
                           "魔兽1.20", " 1.20", ".20", "a.con", "1.20a"}) {
    EXPECT_TRUE(IsStorableName(good, "C:\\P\\")) << good;
  }
}

TEST(VersionNameTest, EveryDeviceNameIsRefused) {
  // Windows opens these devices whatever the letter case and whatever
  // extension follows; the superscript digits count as digits there.
  for (const char* bad :
       {"COM0", "lpt0", "com0.1", "COM\u00B9", "com\u00B2", "Lpt\u00B3", "LPT\u00B9.20", "CONIN$",
        "conout$", "CONIN$.1", "Conout$ .20", "nul .w3v"}) {
    EXPECT_FALSE(IsStorableName(bad, "C:\\P\\")) << bad;
  }
  for (const char* good : {"COM\u00B4", "COM\u2074", "LPT\u00B9\u00B9", "CONIN", "CONOUT",
                           "CONIN$$", "\u00B9", "COM1$", "1.20 COM1"}) {
    EXPECT_TRUE(IsStorableName(good, "C:\\P\\")) << good;
  }
  EXPECT_FALSE(IsStorableName("a\xFF", "C:\\P\\"));  // not text at all
}

TEST(VersionNameTest, TheStorePathMustStayWithinThePathLimit) {
  // The longest store path a version makes leaves room for the store copies
  // of the standard files and the loader under their temporary names.
  const std::string dir = "C:\\P\\";
  const size_t room = kPathLimit - kRoomBelowStore - dir.size();
  EXPECT_TRUE(IsStorableName(std::string(room, 'a'), dir));
  EXPECT_FALSE(IsStorableName(std::string(room + 1, 'a'), dir));
  // The limit counts UTF-16 units: 魔 takes three bytes but one unit, and a
  // character beyond U+FFFF takes two.
  std::string chinese;
  for (size_t i = 0; i < room; ++i) chinese += "魔";
  EXPECT_TRUE(IsStorableName(chinese, dir));
  EXPECT_FALSE(IsStorableName(chinese + "魔", dir));
  std::string astral(room - 2, 'a');
  EXPECT_TRUE(IsStorableName(astral + "\U00020000", dir));
  EXPECT_FALSE(IsStorableName(astral + "a\U00020000", dir));
  // A longer program directory leaves less room for the name.
  EXPECT_FALSE(IsStorableName(std::string(room, 'a'), "C:\\Programs\\"));
  EXPECT_FALSE(IsStorableName("1.20", std::string(kPathLimit, 'x')));
}

}  // namespace
}  // namespace plover::versions
