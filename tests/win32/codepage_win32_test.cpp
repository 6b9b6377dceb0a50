// The code page 936 codec on Windows gives the same bytes as the one the
// logic is tested with on Linux, whatever the system's ANSI code page is.
#include <gtest/gtest.h>

#include "common/text/codepage.h"

namespace plover::text {
namespace {

TEST(CodepageWin32, KnownBytesBothWays) {
  EXPECT_EQ(Utf8ToGbk("中"), std::optional<std::string>("\xD6\xD0"));
  EXPECT_EQ(Utf8ToGbk("选择魔兽目录：").value().size(), 14u);
  EXPECT_EQ(GbkToUtf8("\xC4\xA7\xCA\xDE"), std::optional<std::string>("魔兽"));
  EXPECT_EQ(Utf8ToGbk("Maps\\(2)EchoIsles.w3x"),
            std::optional<std::string>("Maps\\(2)EchoIsles.w3x"));
}

TEST(CodepageWin32, TextWithoutAGbkFormIsReportedNotReplaced) {
  EXPECT_FALSE(Utf8ToGbk("가").has_value());                // Hangul
  EXPECT_FALSE(Utf8ToGbk("\xF0\x9F\x98\x80").has_value());  // emoji
  EXPECT_FALSE(Utf8ToGbk("\xC3").has_value());              // broken UTF-8
  EXPECT_FALSE(GbkToUtf8("abc\x81").has_value());           // lead byte at the end
}

}  // namespace
}  // namespace plover::text
