// The icon's tip is cut at 63 bytes of its code page 936 form, never inside a
// double-byte character.
#include "common/tray/tray_tip.h"

#include <gtest/gtest.h>

#include <string>

#include "common/text/codepage.h"

namespace plover::tray {
namespace {

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

size_t GbkSize(const std::string& utf8) {
  return text::Utf8ToGbk(utf8).value().size();
}

TEST(TrayTip, ShortTipsAreShownWhole) {
  EXPECT_EQ(CutTip(""), "");
  EXPECT_EQ(CutTip("Plover 2.0"), "Plover 2.0");
  EXPECT_EQ(CutTip("点击取消屏蔽"), "点击取消屏蔽");
}

TEST(TrayTip, SixtyThreeBytesAreWholeAndTheSixtyFourthIsCut) {
  const std::string a63 = Repeat("a", 63);
  EXPECT_EQ(CutTip(a63), a63);
  EXPECT_EQ(CutTip(a63 + "b"), a63);
  EXPECT_EQ(CutTip(Repeat("a", 200)), a63);

  // 31 double-byte characters and one single byte: exactly 63 bytes.
  const std::string mixed = Repeat("屏", 31) + "x";
  ASSERT_EQ(GbkSize(mixed), 63u);
  EXPECT_EQ(CutTip(mixed), mixed);
  EXPECT_EQ(CutTip(std::string("x") + Repeat("屏", 31)), std::string("x") + Repeat("屏", 31));
}

TEST(TrayTip, DoubleByteCharacterAcrossTheLimitIsLeftOutWhole) {
  // Bytes 63 and 64 would be the two halves of the 32nd character.
  const std::string tip = Repeat("屏", 32);
  const std::string cut = CutTip(tip);
  EXPECT_EQ(cut, Repeat("屏", 31));
  EXPECT_EQ(GbkSize(cut), 62u);
  // One byte earlier the boundary falls between characters again.
  EXPECT_EQ(CutTip(std::string("ab") + Repeat("屏", 31)), std::string("ab") + Repeat("屏", 30));
  EXPECT_EQ(CutTip(std::string("a") + Repeat("屏", 32)), std::string("a") + Repeat("屏", 31));
}

TEST(TrayTip, ResultAlwaysHasAGbkFormWithinTheLimit) {
  const std::string pieces[] = {"a", "屏", "蔽 ", "Created by Velmor", "。"};
  std::string tip;
  for (int i = 0; i < 60; ++i) {
    tip += pieces[i % 5];
    const std::string cut = CutTip(tip);
    ASSERT_TRUE(text::Utf8ToGbk(cut).has_value()) << cut;
    EXPECT_LE(GbkSize(cut), kTipBytes);
    EXPECT_EQ(tip.compare(0, cut.size(), cut), 0) << "the tip's beginning is kept";
    if (GbkSize(tip) <= kTipBytes) {
      EXPECT_EQ(cut, tip);
    } else {
      EXPECT_GE(GbkSize(cut), kTipBytes - 1);
    }
  }
}

TEST(TrayTip, CharactersWithoutACodePageFormCountAsTwoBytes) {
  const std::string smile = "\xF0\x9F\x98\x80";  // U+1F600
  EXPECT_EQ(CutTip(Repeat("a", 61) + smile), Repeat("a", 61) + smile);
  EXPECT_EQ(CutTip(Repeat("a", 62) + smile), Repeat("a", 62));
}

TEST(TrayTip, MalformedTextEndsTheTip) {
  EXPECT_EQ(CutTip(std::string("ok\xFF"
                               "more")),
            "ok");
  EXPECT_EQ(CutTip(std::string("ok\xE5\xB1")), "ok");  // a character cut short
}

}  // namespace
}  // namespace plover::tray
