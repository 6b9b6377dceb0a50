// Twips to pixels at any DPI, and drawing (stretched) pieces of an image.
#include "plover/controls/geometry.h"

#include <gtest/gtest.h>

namespace plover::controls {
namespace {

TEST(Twips, FifteenAreOnePixelAt96Dpi) {
  EXPECT_EQ(TwipsToPixels(15, 96), 1);
  EXPECT_EQ(TwipsToPixels(4935, 96), 329);
  EXPECT_EQ(TwipsToPixels(4110, 96), 274);
  EXPECT_EQ(PixelsToTwips(329, 96), 4935);
  // Other resolutions keep the proportions: an inch is `dpi` pixels.
  EXPECT_EQ(TwipsToPixels(1440, 120), 120);
  EXPECT_EQ(TwipsToPixels(1440, 144), 144);
  EXPECT_EQ(TwipsToPixels(1440, 192), 192);
  EXPECT_EQ(TwipsToPixels(4935, 144), 494);  // 493.5, halves away from zero
  EXPECT_EQ(TwipsToPixels(-15, 96), -1);
}

TEST(Twips, ARectangleCoversThePixelsWhoseCentresLieInIt) {
  EXPECT_EQ(ToPixels({420, 0, 120, 600}, 96), (PixelRect{28, 0, 36, 40}));
  // 12 twips a pixel: the first centre at or after 50 twips is pixel 4's (54).
  EXPECT_EQ(ToPixels({50, 50, 240, 240}, 120), (PixelRect{4, 4, 24, 24}));
  const PixelRect empty = ToPixels({100, 100, -30, 0}, 96);
  EXPECT_EQ(empty.width(), 0);
  EXPECT_EQ(empty.height(), 0);
}

// A source whose every pixel tells its own column and row.
Image Numbered(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) img.Set(x, y, Opaque(static_cast<uint32_t>(x << 8 | y)));
  }
  return img;
}
int ColumnOf(Argb c) {
  return static_cast<int>((c >> 8) & 0xFFFF);
}
int RowOf(Argb c) {
  return static_cast<int>(c & 0xFF);
}

TEST(DrawPiece, EqualSizesCopyPixelForPixel) {
  const Image source = Numbered(8, 6);
  Image target(20, 20, Opaque(0));
  DrawPiece(target, source, {{30, 45, 120, 90}, {0, 0, 120, 90}}, 96);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(target.At(x + 2, y + 3), source.At(x, y));
  }
  EXPECT_EQ(target.At(1, 3), Opaque(0));
  EXPECT_EQ(target.At(10, 3), Opaque(0));
}

TEST(DrawPiece, SourcesAreTakenToWholePixelsOfTheImage) {
  // The frame's top-right corner: 1660 twips (110 2/3 pixels) of the skin into
  // 1665 (111): the source's last pixel, the border, is kept.
  const Image skin = Numbered(256, 159);
  Image target(329, 29, Opaque(0));
  DrawPiece(target, skin, {{4935 - 1665, 0, 1665, 435}, {3840 - 1665, 0, 1660, 435}}, 96);
  for (int x = 218; x < 329; ++x) EXPECT_EQ(ColumnOf(target.At(x, 0)), x - 218 + 145);
  EXPECT_EQ(target.At(217, 0), Opaque(0));
  // The frame's client area starts 310 twips down the skin: at row 21, below
  // the title band's last line (row 20).
  Image client(20, 40, Opaque(0));
  DrawPiece(client, skin, {{50, 350, 200, 225}, {200, 310, 200, 225}}, 96);
  EXPECT_EQ(RowOf(client.At(5, 23)), 21);
  EXPECT_EQ(ColumnOf(client.At(3, 23)), 13);
  // Bottom corners (from 250 twips) and bottom edges (from 255) of a button
  // both come from the image's last three rows.
  const Image state = Numbered(45, 20);
  Image button(10, 3, Opaque(0));
  DrawPiece(button, state, {{0, 0, 45, 45}, {0, 250, 45, 45}}, 96);
  DrawPiece(button, state, {{45, 0, 45, 45}, {45, 255, 225, 45}}, 96);
  EXPECT_EQ(RowOf(button.At(0, 0)), 17);
  EXPECT_EQ(RowOf(button.At(4, 0)), 17);
  EXPECT_EQ(RowOf(button.At(4, 2)), 19);
}

TEST(DrawPiece, StretchesAndShrinksByNearestPixel) {
  const Image source = Numbered(3, 15);
  Image target(9, 3, Opaque(0));
  DrawPiece(target, source, {{0, 0, 135, 45}, {0, 0, 45, 225}}, 96);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(ColumnOf(target.At(x, 0)), x / 3);
  EXPECT_EQ(RowOf(target.At(0, 0)), 2);  // centre of 5 rows
  EXPECT_EQ(RowOf(target.At(0, 1)), 7);
  EXPECT_EQ(RowOf(target.At(0, 2)), 12);
}

TEST(DrawPiece, AtOtherResolutionsPiecesScaleWithTheirTwips) {
  // 45 twips are 3 image pixels and 4.5 screen pixels at 144 DPI.
  const Image source = Numbered(3, 3);
  Image target(6, 6, Opaque(0));
  DrawPiece(target, source, {{0, 0, 45, 45}, {0, 0, 45, 45}}, 144);
  EXPECT_EQ(ColumnOf(target.At(0, 0)), 0);
  EXPECT_EQ(ColumnOf(target.At(1, 0)), 1);
  EXPECT_EQ(ColumnOf(target.At(3, 0)), 2);
  EXPECT_EQ(target.At(4, 0), Opaque(0));  // its centre lies at 45 twips, outside
}

TEST(DrawPiece, EmptyOrOutsidePiecesDrawNothingAndEdgesAreClipped) {
  const Image source = Numbered(4, 4);
  Image target(4, 4, Opaque(0));
  const Image before = target;
  DrawPiece(target, source, {{0, 0, -30, 60}, {0, 0, 60, 60}}, 96);
  DrawPiece(target, source, {{0, 0, 60, 0}, {0, 0, 60, 60}}, 96);
  DrawPiece(target, source, {{0, 0, 60, 60}, {0, 0, 0, 60}}, 96);
  DrawPiece(target, source, {{600, 600, 60, 60}, {0, 0, 60, 60}}, 96);
  EXPECT_EQ(target.pixels, before.pixels);
  DrawPiece(target, source, {{-30, -30, 120, 120}, {0, 0, 120, 120}}, 96);
  EXPECT_EQ(target.At(0, 0), source.At(2, 2));
  EXPECT_EQ(target.At(1, 1), source.At(3, 3));
}

TEST(DrawScaled, SamplesThePixelUnderEachCentre) {
  const Image source = Numbered(16, 16);
  Image same(16, 16);
  DrawScaled(same, source);
  EXPECT_EQ(same.pixels, source.pixels);
  Image doubled(32, 32);
  DrawScaled(doubled, source);
  EXPECT_EQ(doubled.At(31, 31), source.At(15, 15));
  EXPECT_EQ(doubled.At(2, 3), source.At(1, 1));
}

}  // namespace
}  // namespace plover::controls
