// Version files: their lines, map entries, paths, and reading and writing
// them whole.
#include "plover/versions/version_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fakes.h"
#include "tests/support/memory_fs.h"

namespace plover::versions {
namespace {

using testing::MemoryFileSystem;
using testing::Op;
using Lines = std::vector<std::string>;

const Lines kExample = {"Game.dll", "War3Patch.mpq", "Maps\\FrozenThrone\\(2)EchoIsles.w3x"};
constexpr std::string_view kExampleBytes =
    "Game.dll\r\nWar3Patch.mpq\r\nMaps\\FrozenThrone\\(2)EchoIsles.w3x\r\n";

TEST(VersionFileTest, SerializesEveryEntryWithCrLf) {
  ASSERT_EQ(kExampleBytes.size(), 61u);
  EXPECT_EQ(SerializeEntries(kExample), kExampleBytes);
  EXPECT_EQ(SerializeEntries({}), "");
  EXPECT_EQ(SerializeEntries({"", "Maps\\魔兽.w3x"}), "\r\nMaps\\\xC4\xA7\xCA\xDE.w3x\r\n");
}

TEST(VersionFileTest, EntryWithoutGbkFormIsNamed) {
  size_t bad = 99;
  EXPECT_EQ(SerializeEntries({"Game.dll", "Maps\\\xEA\xB0\x80.w3x", "\xF0\x9F\x98\x80"}, &bad),
            std::nullopt);
  EXPECT_EQ(bad, 1u);
}

TEST(VersionFileTest, SplitLines) {
  struct Case {
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {std::string(kExampleBytes), kExample},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},  // an empty line is an entry
      {"\r\n", {""}},
      {"a\r\nb", {"a", "b"}},  // last line without CR LF
      {"a\nb\rc\r\n", {"a", "b", "c"}},
      {"a\r\r\n", {"a", ""}},
      {"\n\n", {"", ""}},
      {" Game.dll \r\n", {" Game.dll "}},  // blanks kept
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitLines(c.bytes), c.lines) << ::testing::PrintToString(c.bytes);
  }
}

TEST(VersionFileTest, MapEntriesEndInLowerCaseW3xOrW3m) {
  for (const char* map : {"Maps\\A.w3x", "Maps\\A.w3m", "A.w3x", ".w3m"}) {
    EXPECT_TRUE(IsMapEntry(map)) << map;
  }
  for (const char* program : {"Maps\\A.W3X", "Maps\\A.W3m", "Game.dll", "A.w3x.bak", "w3x", ""}) {
    EXPECT_FALSE(IsMapEntry(program)) << program;
  }
}

TEST(VersionFileTest, Paths) {
  EXPECT_EQ(VersionFilePath("C:\\P\\", "1.20"), "C:\\P\\1.20.w3v");
  EXPECT_EQ(VersionFilePath("C:\\", "1.20"), "C:\\1.20.w3v");
  EXPECT_EQ(StoreFolderPath("C:\\", "1.20"), "C:\\1.20");
  EXPECT_EQ(StoreCopyPath("C:\\P\\", "1.20", "Game.dll"), "C:\\P\\1.20\\Game.dll");
  // The store is flat: entries of the same file name share one copy.
  EXPECT_EQ(StoreCopyPath("C:\\P\\", "1.20", "Maps\\A.w3x"), "C:\\P\\1.20\\A.w3x");
  EXPECT_EQ(StoreCopyPath("C:\\P\\", "1.20", "Maps\\FrozenThrone\\A.w3x"), "C:\\P\\1.20\\A.w3x");
  EXPECT_EQ(StoreCopyPath("C:\\P\\", "1.20", "Maps\\運.w3x"), "C:\\P\\1.20\\運.w3x");
  EXPECT_EQ(GameFilePath("D:\\War3", "Maps\\A.w3x"), "D:\\War3\\Maps\\A.w3x");
  EXPECT_EQ(GameFilePath("D:\\War3\\", "Game.dll"), "D:\\War3\\Game.dll");
}

class VersionFileIoTest : public ::testing::Test {
 protected:
  void SetUp() override { fs.MakeFolders("C:\\P"); }
  MemoryFileSystem fs;
  const std::string path = "C:\\P\\1.20.w3v";
};

TEST_F(VersionFileIoTest, ReadsWhatWasWritten) {
  const Lines entries = {"Game.dll", "", "Maps\\魔兽\\運.w3x"};
  ASSERT_TRUE(WriteEntries(fs, "C:\\P\\", "1.20", entries).ok());
  EXPECT_EQ(fs.Contents(path), "Game.dll\r\n\r\nMaps\\\xC4\xA7\xCA\xDE\\\xDF\\.w3x\r\n");
  const ReadResult r = ReadEntries(fs, "C:\\P\\", "1.20");
  EXPECT_TRUE(r.status.ok());
  EXPECT_EQ(r.entries, entries);
}

TEST_F(VersionFileIoTest, ReadFailures) {
  EXPECT_TRUE(ReadEntries(fs, "C:\\P\\", "1.20").status.is(fs::kFileNotFound));
  fs.PutFile(path, "Game.dll\r\nMaps\\\x81\r\n");
  const ReadResult r = ReadEntries(fs, "C:\\P\\", "1.20");
  EXPECT_TRUE(r.status.is(fs::kBadFileName));
  EXPECT_TRUE(r.entries.empty());
}

TEST_F(VersionFileIoTest, ReplacesTheWholeFileAndLeavesNoTemporary) {
  fs.PutFile(path, "Old1.dll\r\nOld2.dll\r\nOld3.dll\r\nOld4.dll\r\nOld5.dll\r\n");
  ASSERT_TRUE(WriteEntries(fs, "C:\\P\\", "1.20", {"Game.dll"}).ok());
  EXPECT_EQ(fs.Contents(path), "Game.dll\r\n");
  EXPECT_EQ(fs.Below("C:\\P"), Lines{path});
}

TEST_F(VersionFileIoTest, FailedWriteLeavesTheOldFileIntact) {
  const std::string old = std::string(kExampleBytes);
  for (Op op : {Op::kWrite, Op::kMove}) {
    SCOPED_TRACE(static_cast<int>(op));
    fs.PutFile(path, old);
    fs.Fail(op, "", fs::kDiskFull);
    EXPECT_FALSE(WriteEntries(fs, "C:\\P\\", "1.20", {"Game.dll"}).ok());
    EXPECT_EQ(fs.Contents(path), old);
    EXPECT_EQ(fs.Below("C:\\P"), Lines{path});
  }
}

TEST_F(VersionFileIoTest, EntryWithoutGbkFormWritesNothing) {
  fs.PutFile(path, std::string(kExampleBytes));
  EXPECT_FALSE(WriteEntries(fs, "C:\\P\\", "1.20", {"Game.dll", "\xEA\xB0\x80.w3x"}).ok());
  EXPECT_EQ(fs.Contents(path), kExampleBytes);
  EXPECT_EQ(fs.CallCount(Op::kWrite), 0);
}

TEST(VersionFileTest, ShownLineDecodesWhatItCanAndMarksTheRest) {
  EXPECT_EQ(ShownLine(testing::Gbk("Maps\\魔兽.w3x")), "Maps\\魔兽.w3x");
  EXPECT_EQ(ShownLine("a\x81 b"), "a? b");
  EXPECT_EQ(ShownLine("x\x81"), "x?");
  // 0x5C after a lead byte is a trail byte, not a "\\".
  EXPECT_EQ(ShownLine("\xFF\x81\x5C"), "?" + text::GbkToUtf8("\x81\x5C").value());
  std::string raw, shown;
  for (int i = 0; i < 100; ++i) {
    raw += testing::Gbk("魔");
    shown += "魔";
  }
  EXPECT_EQ(ShownLine(raw + "\xFF" + raw + "\xFF"), shown + "?" + shown + "?");
}

TEST(VersionFileTest, DisplayableLineKeepsAscii) {
  EXPECT_EQ(DisplayableLine("Maps\\\xC4\xA7\x81.w3x"), "Maps\\???.w3x");
}

}  // namespace
}  // namespace plover::versions
