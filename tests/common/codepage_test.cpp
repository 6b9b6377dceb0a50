#include "common/text/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace plover::text {
namespace {

TEST(GbkTest, KnownBytesAndRoundTrip) {
  struct Case {
    std::string utf8;
    std::string gbk;
  };
  const Case cases[] = {
      {"", ""},
      {"D:\\War3\\Game.dll", "D:\\War3\\Game.dll"},
      {"中", "\xD6\xD0"},
      {"魔兽争霸", "\xC4\xA7\xCA\xDE\xD5\xF9\xB0\xD4"},
      {"选择魔兽目录：", "\xD1\xA1\xD4\xF1\xC4\xA7\xCA\xDE\xC4\xBF\xC2\xBC\xA3\xBA"},
      {"€", "\x80"},
      // The trail byte of 運 is 0x5C, the code of "\".
      {"運", "\xDF\x5C"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
  }
}

TEST(GbkTest, CharactersWithoutGbkFormAreReported) {
  for (const char* utf8 : {"\xEA\xB0\x80",               // 가 (Hangul)
                           "\xF0\xA0\x80\x80",           // U+20000
                           "\xF0\x9F\x98\x80",           // an emoji
                           "Maps\\\xEA\xB0\x80.w3x"}) {  // inside a path
    SCOPED_TRACE(utf8);
    EXPECT_EQ(Utf8ToGbk(utf8), std::nullopt);
  }
}

TEST(GbkTest, InvalidInputIsReported) {
  for (const char* utf8 :
       {"\xC0\xAF", "\xED\xA0\x80", "\xE4\xB8", "a\x80", "\xF4\x90\x80\x80", "\xFF"}) {
    SCOPED_TRACE(::testing::PrintToString(utf8));
    EXPECT_FALSE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToGbk(utf8), std::nullopt);
    EXPECT_EQ(Utf8ToUtf16(utf8), std::nullopt);
  }
  // A lead byte with nothing after it.
  EXPECT_EQ(GbkToUtf8("\x81"), std::nullopt);
  EXPECT_EQ(GbkToUtf8("D:\\War3\x81"), std::nullopt);
}

TEST(Utf8Test, ValidityAtTheBoundaries) {
  for (const char* utf8 :
       {"", "abc", "\xC2\x80", "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
    SCOPED_TRACE(::testing::PrintToString(utf8));
    EXPECT_TRUE(IsValidUtf8(utf8));
  }
}

TEST(Utf16Test, RoundTripIncludingSurrogatePairs) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"", u""},
      {"A", u"A"},
      {"é", u"\u00E9"},
      {"中", u"\u4E2D"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
      {"D:\\魔兽\\\xF0\xA0\x80\x80.w3x", u"D:\\\u9B54\u517D\\\xD840\xDC00.w3x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
  }
}

TEST(Utf16Test, LoneSurrogatesAreReported) {
  for (const std::u16string& utf16 : {std::u16string(u"\xD800"), std::u16string(u"a\xD83Dz"),
                                      std::u16string(u"\xDE00"), std::u16string(u"\xDE00\xD83D")}) {
    EXPECT_EQ(Utf16ToUtf8(utf16), std::nullopt);
  }
}

}  // namespace
}  // namespace plover::text
