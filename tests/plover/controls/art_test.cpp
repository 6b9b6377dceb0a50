// The drawn pictures of the skin: button states, frame, caption buttons,
// pointer and pictures, checked for the shapes the nine-slice relies on.
#include "plover/controls/art.h"

#include <gtest/gtest.h>

namespace plover::controls::art {
namespace {

bool AllOpaque(const Image& img) {
  for (Argb c : img.pixels) {
    if (AlphaOf(c) != 0xFF) return false;
  }
  return true;
}

// Whether columns `from` to `to` of every row are one colour.
bool UniformAcross(const Image& img, int from, int to) {
  for (int y = 0; y < img.height; ++y) {
    for (int x = from; x <= to; ++x) {
      if (img.At(x, y) != img.At(from, y)) return false;
    }
  }
  return true;
}

uint32_t Brightness(uint32_t rgb) {
  return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF);
}

// Each state of a button is a rounded rim over a gradient that the nine-slice
// can stretch; hovering lightens the face, pressing and disabling change it.
TEST(ButtonStateImages, RoundedRimsOverStretchableGradients) {
  std::vector<Image> images;
  for (int index : {kImageNormal, kImageHover, kImagePressed, kImageDisabled}) {
    SCOPED_TRACE(index);
    const Image img = ButtonStateImage(index);
    ASSERT_EQ(img.width, 45);
    ASSERT_EQ(img.height, 20);
    EXPECT_TRUE(AllOpaque(img));
    // Corners white, a soft pixel on either side, the rim between them.
    const uint32_t rim = img.RgbAt(1, 1);
    for (const auto& [x, y] : {std::pair{0, 0}, {44, 0}, {0, 19}, {44, 19}}) {
      EXPECT_EQ(img.RgbAt(x, y), 0xFFFFFFu);
    }
    EXPECT_NE(img.RgbAt(1, 0), 0xFFFFFFu);
    EXPECT_NE(img.RgbAt(1, 0), rim);
    EXPECT_EQ(img.RgbAt(1, 0), img.RgbAt(0, 1));
    for (const auto& [x, y] : {std::pair{22, 0}, {22, 19}, {0, 10}, {44, 10}}) {
      EXPECT_EQ(img.RgbAt(x, y), rim);
    }
    EXPECT_NE(img.RgbAt(22, 2), img.RgbAt(22, 16)) << "a gradient from top to bottom";
    // The nine-slice relies on the rows being the same between the corners.
    EXPECT_TRUE(UniformAcross(img, 3, 41));
    images.push_back(img);
  }
  for (size_t i = 0; i < images.size(); ++i) {
    for (size_t j = i + 1; j < images.size(); ++j) EXPECT_NE(images[i].pixels, images[j].pixels);
  }
  EXPECT_EQ(images[0].RgbAt(1, 1), images[1].RgbAt(1, 1)) << "hover keeps the rim";
  EXPECT_NE(images[0].RgbAt(1, 1), images[3].RgbAt(1, 1)) << "disabled has a rim of its own";
  for (int y = 2; y <= 17; ++y) {
    EXPECT_GE(Brightness(images[1].RgbAt(22, y)), Brightness(images[0].RgbAt(22, y))) << y;
  }
}

TEST(ButtonStateImages, TheDisabledImageHasAnInnerRingDownTheSides) {
  const Image img = ButtonStateImage(kImageDisabled);
  EXPECT_EQ(img.RgbAt(1, 8), 0xFAB52Du);
  EXPECT_EQ(img.RgbAt(2, 8), 0xE5E768u);
  EXPECT_EQ(img.RgbAt(43, 8), 0xFAB52Du);
  EXPECT_EQ(img.RgbAt(42, 8), 0xE5E768u);
}

TEST(Skin, BorderTitleBandClientAreaAndBottomLines) {
  const Image skin = Skin();
  ASSERT_EQ(skin.width, 256);
  ASSERT_EQ(skin.height, 159);
  EXPECT_TRUE(AllOpaque(skin));
  for (const auto& [x, y] : {std::pair{128, 0}, {128, 158}, {0, 80}, {255, 80}, {1, 1}}) {
    EXPECT_EQ(skin.RgbAt(x, y), 0x1E3E93u) << x << "," << y;
  }
  for (const auto& [x, y] :
       {std::pair{0, 0}, {1, 0}, {0, 1}, {255, 0}, {254, 0}, {0, 158}, {255, 158}, {255, 157}}) {
    EXPECT_EQ(skin.RgbAt(x, y), 0xFFFFFFu) << x << "," << y;
  }
  const std::vector<std::pair<int, uint32_t>> rows{
      {1, 0x99D5F6},  {2, 0x1577D3},   {19, 0x68B6F7},  {20, 0x4F93D5},
      {21, 0xFFFFFF}, {155, 0xCCEBFF}, {156, 0x439BED}, {157, 0x6BCEF5},
  };
  for (const auto& [y, colour] : rows) EXPECT_EQ(skin.RgbAt(128, y), colour) << "row " << y;
  // The client area's light-blue inner edge, on both sides.
  EXPECT_EQ(skin.RgbAt(1, 80), 0x4EA7EDu);
  EXPECT_EQ(skin.RgbAt(2, 80), 0xAADCFAu);
  EXPECT_EQ(skin.RgbAt(254, 80), 0x4EA7EDu);
  EXPECT_EQ(skin.RgbAt(253, 80), 0xAADCFAu);
  // Lighter columns inside the borders of the title band.
  EXPECT_EQ(skin.RgbAt(2, 1), 0x2BC3EDu);
  EXPECT_EQ(skin.RgbAt(2, 20), 0xAADCFAu);
  EXPECT_TRUE(UniformAcross(skin, 3, 252));
}

TEST(CaptionButtonImages, RoundedSquaresWithTheirGlyphs) {
  for (CaptionButton b : {CaptionButton::kClose, CaptionButton::kMin, CaptionButton::kMax}) {
    const int last = b == CaptionButton::kMax ? 6 : 3;
    for (int i = 1; i <= last; ++i) {
      SCOPED_TRACE(testing::Message() << static_cast<int>(b) << "/" << i);
      const Image img = CaptionButtonImage(b, i);
      ASSERT_EQ(img.width, 16);
      ASSERT_EQ(img.height, 16);
      EXPECT_TRUE(AllOpaque(img));
      for (const auto& [x, y] : {std::pair{0, 0}, {15, 0}, {0, 15}, {15, 15}}) {
        EXPECT_EQ(img.RgbAt(x, y), 0x1779D4u);
      }
    }
  }
  const Image close = CaptionButtonImage(CaptionButton::kClose, 1);
  EXPECT_EQ(close.RgbAt(8, 0), 0xB12602u);
  EXPECT_EQ(close.RgbAt(1, 1), 0xF66D24u);
  EXPECT_EQ(close.RgbAt(1, 14), 0xAC4B1Bu);
  EXPECT_EQ(close.RgbAt(8, 8), 0xFBCBBBu);  // where the strokes cross
  EXPECT_EQ(CaptionButtonImage(CaptionButton::kClose, 2).RgbAt(8, 8), 0xFFFFFFu);
  EXPECT_EQ(CaptionButtonImage(CaptionButton::kClose, 3).RgbAt(8, 0), 0x610C00u);

  const Image min = CaptionButtonImage(CaptionButton::kMin, 1);
  EXPECT_EQ(min.RgbAt(8, 0), 0x1767B6u);
  EXPECT_EQ(min.RgbAt(1, 1), 0xA5CEFFu);
  EXPECT_EQ(min.RgbAt(4, 10), 0xD8EAFFu);
  EXPECT_EQ(min.RgbAt(11, 11), 0xD8EAFFu);
  EXPECT_NE(min.RgbAt(4, 9), 0xD8EAFFu);  // the darker outline above the bar
  EXPECT_NE(min.RgbAt(7, 7), 0xD8EAFFu);

  const Image max = CaptionButtonImage(CaptionButton::kMax, 1);
  EXPECT_EQ(max.RgbAt(4, 4), 0xD8EAFFu);
  EXPECT_EQ(max.RgbAt(11, 11), 0xD8EAFFu);
  EXPECT_EQ(max.RgbAt(8, 6), 0xD8EAFFu);  // the title band, 3 pixels high
  EXPECT_NE(max.RgbAt(8, 8), 0xD8EAFFu);  // the window's inside
  const Image restore = CaptionButtonImage(CaptionButton::kMax, 4);
  EXPECT_NE(restore.pixels, max.pixels);
  EXPECT_EQ(CaptionButtonImage(CaptionButton::kMax, 5).RgbAt(8, 0), 0x186DBAu);
  EXPECT_EQ(CaptionButtonImage(CaptionButton::kMax, 6).RgbAt(8, 0), 0x0A3971u);
}

TEST(HandPointer, BlackTipAtItsHotSpotOverTransparency) {
  const Image hand = HandPointer();
  ASSERT_EQ(hand.width, 32);
  ASSERT_EQ(hand.height, 32);
  EXPECT_EQ(hand.At(kHandHotX, kHandHotY), Opaque(0x000000));
  EXPECT_EQ(AlphaOf(hand.At(0, 0)), 0);
  EXPECT_EQ(AlphaOf(hand.At(31, 31)), 0);
  EXPECT_EQ(hand.At(5, 3), Opaque(0xFFFFFF));
  for (Argb c : hand.pixels) {
    EXPECT_TRUE(AlphaOf(c) == 0 || c == Opaque(0) || c == Opaque(0xFFFFFF));
  }
}

TEST(Pictures, SquareWithTransparentCornersAndOpaqueMiddles) {
  for (const Image& img : {SwitchPicture(), LoaderPicture(), AppIcon(32), AppIcon(16)}) {
    ASSERT_EQ(img.width, img.height);
    EXPECT_TRUE(img.width == 32 || img.width == 16);
    EXPECT_EQ(AlphaOf(img.At(0, 0)), 0);
    EXPECT_EQ(AlphaOf(img.At(img.width - 1, 0)), 0);
    int opaque = 0;
    for (Argb c : img.pixels) opaque += AlphaOf(c) == 0xFF;
    EXPECT_GT(opaque, img.width * img.height / 5);
  }
}

}  // namespace
}  // namespace plover::controls::art
