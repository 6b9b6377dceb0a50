// Code page 936, UTF-8 and UTF-16 conversions: known bytes, round trips, and
// every malformed or unencodable input reported rather than guessed.
#include "common/text/codepage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

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

TEST(GbkTest, WhatIsEncodedDecodesBack) {
  // Tag characters have no code page 936 form (iconv would drop them), and
  // the private use area holds only the user's own characters, which each
  // system maps its own way (Windows turns U+F8F5 into 0xFF, which does not
  // decode). All are refused, alone or inside text.
  for (const char* utf8 : {"\U000E0001", "\U000E0020", "\U000E007F", "a\U000E0041b", "\uE000",
                           "\uE4C5", "\uE864", "\uF8F5", "\uF8FF", "D:\\\uE000.w3x"}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(utf8)));
    EXPECT_EQ(Utf8ToGbk(utf8), std::nullopt);
  }
  // The bytes of the user-defined areas and 0xFF decode to nothing either.
  for (const char* gbk : {"\xAA\xA1", "\xFE\xA0", "\xA1\x40", "\xF8\xA1", "\xFF",
                          "a\xFF"
                          "b"}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(gbk)));
    EXPECT_EQ(GbkToUtf8(gbk), std::nullopt);
  }
  // The characters just outside those ranges are ordinary ones.
  for (const auto& [utf8, gbk] : {std::pair<std::string, std::string>{"\u9FA5", "\xFD\x9B"},
                                  {"\uF92C", "\xFD\x9C"},
                                  {"\uFA0C", "\xFE\x40"}}) {
    EXPECT_EQ(Utf8ToGbk(utf8), gbk);
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
  }
}

// FNV-1a over the whole table: for every code point (no surrogates) the length
// and bytes of its code page 936 form, 0xFF when it has none; then for every
// single byte and every pair of a lead byte 0x81-0xFE with any trail byte, the
// length and bytes of its UTF-8 form, 0xFF when it is refused.
struct CodecTable {
  uint64_t digest = 14695981039346656037ull;
  size_t encoded = 0;
  size_t decoded = 0;

  void Add(const std::optional<std::string>& bytes) {
    if (!bytes) return Byte(0xFF);
    Byte(static_cast<uint8_t>(bytes->size()));
    for (char c : *bytes) Byte(static_cast<uint8_t>(c));
  }
  void Byte(uint8_t b) {
    digest ^= b;
    digest *= 1099511628211ull;
  }
};

std::string Utf8Of(char32_t c) {
  std::u16string w;
  if (c >= 0x10000) {
    w = {static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
         static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
  } else {
    w = {static_cast<char16_t>(c)};
  }
  return Utf16ToUtf8(w).value();
}

TEST(GbkTest, TheWholeTableIsTheSameOnEveryBuild) {
  CodecTable t;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string utf8 = Utf8Of(c);
    const auto gbk = Utf8ToGbk(utf8);
    t.Add(gbk);
    if (!gbk) continue;
    ++t.encoded;
    ASSERT_EQ(GbkToUtf8(*gbk), utf8) << "U+" << std::hex << static_cast<uint32_t>(c);
  }
  for (int lead = 0; lead <= 0xFE; ++lead) {
    for (int trail = lead < 0x81 ? -1 : 0; trail <= (lead < 0x81 ? -1 : 0xFF); ++trail) {
      std::string gbk(1, static_cast<char>(lead));
      if (trail >= 0) gbk.push_back(static_cast<char>(trail));
      const auto utf8 = GbkToUtf8(gbk);
      t.Add(utf8);
      if (!utf8) continue;
      ++t.decoded;
      ASSERT_EQ(Utf8ToGbk(*utf8), gbk) << ::testing::PrintToString(gbk);
    }
  }
  // 21 791 pairs of GBK, the 128 ASCII bytes and 0x80 for the euro sign.
  EXPECT_EQ(t.encoded, 21920u);
  EXPECT_EQ(t.decoded, 21920u);
  EXPECT_EQ(t.digest, 17334408157038094311ull);
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
