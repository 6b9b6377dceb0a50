// The shared path and text helpers: backslashes, last path components (GBK
// trail bytes included), the message-box cut, names and absolute paths.
#include "plover/base/functions.h"

#include <gtest/gtest.h>

#include <string>

#include "common/text/codepage.h"

namespace plover {
namespace {

struct Case {
  std::string in;
  std::string out;
};

TEST(FunctionsTest, AddBackslash) {
  const Case cases[] = {
      {"", "\\"},
      {"C:\\", "C:\\"},
      {"D:\\War3", "D:\\War3\\"},
      {"D:\\War3\\", "D:\\War3\\"},
      {"\\\\server\\share", "\\\\server\\share\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(AddBackslash(c.in), c.out) << c.in;
}

TEST(FunctionsTest, FileNameOf) {
  const Case cases[] = {
      {"", ""},
      {"Game.dll", "Game.dll"},
      {"Maps\\FrozenThrone\\(2)EchoIsles.w3x", "(2)EchoIsles.w3x"},
      {"D:\\War3\\", ""},
      {"\\x", "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileNameOf(c.in), c.out) << c.in;
}

// Paths are kept in UTF-8, where "\" never occurs inside a character. In GBK
// the second byte of 運 is "\", so splitting GBK bytes would cut it in two.
TEST(FunctionsTest, FileNameOfChineseNameWhoseGbkFormHoldsABackslashByte) {
  const std::string entry = "Maps\\運.w3x";
  EXPECT_EQ(FileNameOf(entry), "運.w3x");
  const std::string gbkEntry = *text::Utf8ToGbk(entry);
  ASSERT_EQ(gbkEntry, "Maps\\\xDF\\.w3x");
  EXPECT_NE(FileNameOf(gbkEntry), *text::Utf8ToGbk("運.w3x"));
}

TEST(FunctionsTest, CutForBoxCountsCharactersNotBytes) {
  const std::string chinese200 = [] {
    std::string t;
    for (int i = 0; i < 200; ++i) t += i % 2 ? "\xe5\xbd\x95" : "\xf0\x9f\x98\x80";
    return t;
  }();
  EXPECT_EQ(CutForBox(chinese200), chinese200);
  EXPECT_EQ(CutForBox(chinese200 + "x"), chinese200 + "……");
  EXPECT_EQ(CutForBox(std::string(1 << 20, 'a')), std::string(200, 'a') + "……");
  EXPECT_EQ(CutForBox(""), "");
}

TEST(FunctionsTest, VersionNameOf) {
  const Case cases[] = {
      {"1.20.w3v", "1.20"}, {"1.20a.W3V", "1.20a"},
      {"魔兽.w3v", "魔兽"}, {".w3v", ""},
      {"w3v", ""},          {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionNameOf(c.in), c.out) << c.in;
}

TEST(FunctionsTest, TrimBlanksLeavesInnerBlanksTabsAndNuls) {
  EXPECT_EQ(TrimBlanks("  1.20 "), "1.20");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks(""), "");
  EXPECT_EQ(TrimBlanks(" 魔兽 争霸 "), "魔兽 争霸");
  EXPECT_EQ(TrimBlanks("\t1.20\t"), "\t1.20\t");
  EXPECT_EQ(TrimBlanks(std::string_view("a \0 ", 4)), std::string_view("a \0", 3));
}

TEST(FunctionsTest, ArgumentsOf) {
  const Case cases[] = {
      {"\"C:\\Program Files\\Plover\\Plover.exe\" 1.20", "1.20"},
      {"\"C:\\Program Files\\Plover\\Plover.exe\"1.20", "1.20"},
      {"C:\\Plover\\Plover.exe 1.20", "1.20"},
      {"Plover.exe    1.20", "1.20"},
      {"  Plover.exe\t1.20", "1.20"},
      {"Plover.exe \"1.20 beta\" x", "\"1.20 beta\" x"},
      {"\"C:\\Program Files\\Plover\\Plover.exe\"", ""},
      {"\"C:\\Program Files\\Plover\\Plover.exe\"   ", ""},
      {"Plover.exe", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ArgumentsOf(c.in), c.out) << c.in;
}

TEST(FunctionsTest, IsAbsolutePath) {
  for (const char* path : {"D:\\", "D:\\War3\\", "d:/War3", "\\\\srv\\games\\War3\\", "//srv/games",
                           "\\\\?\\D:\\War3"}) {
    EXPECT_TRUE(IsAbsolutePath(path)) << path;
  }
  for (const char* path : {"", "\\", "/", "\\\\", "\\\\\\srv", "\\War3\\", "War3\\", ".\\War3",
                           "D:", "D:War3\\", "1:\\War3", "魔兽\\"}) {
    EXPECT_FALSE(IsAbsolutePath(path)) << path;
  }
}

TEST(FunctionsTest, EntryEscapesGameDirectory) {
  const char* escaping[] = {
      "C:\\x",
      "C:x",
      "\\x",
      "/x",
      "\\\\server\\share\\x",
      "..\\x",
      "../x",
      "..",
      "Maps\\..\\..\\x",
      "Maps/../../x",
      "...",
      "Maps\\...\\x",
      "..\\",
      ".. \\x",
      "Maps\\A.w3x:evil",
  };
  for (const char* entry : escaping) EXPECT_TRUE(EntryEscapesGameDirectory(entry)) << entry;

  const char* inside[] = {
      "",
      "Game.dll",
      "Maps\\A.w3x",
      "Maps\\FrozenThrone\\(2)EchoIsles.w3x",
      "a..b.w3x",
      "..x.dll",
      "x..",
      ".\\Game.dll",
      "Maps\\運.w3x",
  };
  for (const char* entry : inside) EXPECT_FALSE(EntryEscapesGameDirectory(entry)) << entry;

  // A Win32 call ends a path at a NUL, so "..\0x" would name the parent.
  using namespace std::string_literals;
  for (const std::string& entry : {"..\0x"s, "Maps\\..\0\\x"s, "Game.dll\0"s, "\0"s}) {
    EXPECT_TRUE(EntryEscapesGameDirectory(entry)) << ::testing::PrintToString(entry);
  }
}

}  // namespace
}  // namespace plover
