// The faces the controls draw, composed from their pieces.
#include "plover/controls/render.h"

#include <gtest/gtest.h>

#include "plover/controls/art.h"
#include "plover/controls/button_model.h"

namespace plover::controls {
namespace {

constexpr uint32_t kBorder = 0x1E3E93;

TEST(FrameFace, TheMainWindowAt96Dpi) {
  // 4935 x 4110 twips.
  const Image f = FrameFace(329, 274, 96);
  const Image skin = art::Skin();
  // Rounded corners, the skin's white outside pixels in all four.
  for (const auto& [x, y] : {std::pair{0, 0}, {328, 0}, {0, 273}, {328, 273}}) {
    EXPECT_EQ(f.RgbAt(x, y), 0xFFFFFFu) << x << "," << y;
  }
  // The border all round, also where the top-right corner is stretched.
  for (int y = 2; y < 272; ++y) {
    EXPECT_EQ(f.RgbAt(0, y), kBorder) << "left, row " << y;
    EXPECT_EQ(f.RgbAt(328, y), kBorder) << "right, row " << y;
  }
  for (int x = 2; x < 327; ++x) {
    EXPECT_EQ(f.RgbAt(x, 0), kBorder) << "top, column " << x;
    EXPECT_EQ(f.RgbAt(x, 273), kBorder) << "bottom, column " << x;
  }
  // The title band, row for row as in the skin, across the whole width.
  for (int y = 1; y <= 20; ++y) {
    for (int x : {40, 165, 300}) EXPECT_EQ(f.RgbAt(x, y), skin.RgbAt(128, y)) << x << "," << y;
  }
  // The client area from white down to light blue, inside its inner edge.
  for (int y = 21; y <= 24; ++y) EXPECT_EQ(f.RgbAt(165, y), 0xFFFFFFu) << "row " << y;
  EXPECT_EQ(f.RgbAt(165, 268), skin.RgbAt(128, 153));
  EXPECT_EQ(f.RgbAt(165, 268) & 0xFF, 0xFFu);
  EXPECT_LT(f.RgbAt(165, 268) >> 16, 0xD0u);
  EXPECT_EQ(f.RgbAt(1, 150), 0x4EA7EDu);
  EXPECT_EQ(f.RgbAt(2, 150), 0xAADCFAu);
  EXPECT_EQ(f.RgbAt(327, 150), 0x4EA7EDu);
  EXPECT_EQ(f.RgbAt(326, 150), 0xAADCFAu);
  // The two lines above the bottom border.
  EXPECT_EQ(f.RgbAt(165, 271), 0x439BEDu);
  EXPECT_EQ(f.RgbAt(165, 272), 0x6BCEF5u);
}

TEST(FrameFace, KeepsItsProportionsAt144Dpi) {
  const Image f = FrameFace(494, 411, 144);
  for (const auto& [x, y] : {std::pair{0, 0}, {493, 0}, {0, 410}, {493, 410}}) {
    EXPECT_EQ(f.RgbAt(x, y), 0xFFFFFFu) << x << "," << y;
  }
  EXPECT_EQ(f.RgbAt(250, 2), 0x99D5F6u);   // skin row 1, now 1.5 pixels high
  EXPECT_EQ(f.RgbAt(250, 30), 0x4F93D5u);  // skin row 20
  EXPECT_EQ(f.RgbAt(493, 200), kBorder);
  EXPECT_EQ(f.RgbAt(493, 20), kBorder);
}

TEST(FrameFace, TinyWindowsOverlapTheirPiecesWithoutHarm) {
  for (const auto& [w, h] : {std::pair{1, 1}, {5, 20}, {60, 8}, {120, 40}}) {
    const Image f = FrameFace(w, h, 96);
    EXPECT_EQ(f.width, w);
    EXPECT_EQ(f.height, h);
  }
}

TEST(ButtonFace, TheStateImageStretchedOverTheButton) {
  // btnTran: 2055 x 495 twips.
  const Image b = ButtonFace(137, 33, kImageNormal, 96);
  const Image img = art::ButtonStateImage(kImageNormal);
  for (const auto& [x, y] : {std::pair{0, 0}, {136, 0}, {0, 32}, {136, 32}}) {
    EXPECT_EQ(b.RgbAt(x, y), 0xFFFFFFu) << x << "," << y;
  }
  EXPECT_EQ(b.RgbAt(68, 0), 0x2360B1u);
  EXPECT_EQ(b.RgbAt(68, 1), 0xFFFFFFu);
  EXPECT_EQ(b.RgbAt(68, 32), 0x2360B1u);
  // The bottom rows come from the image's last three rows.
  EXPECT_EQ(b.RgbAt(68, 31), 0xBAF4FFu);
  EXPECT_EQ(b.RgbAt(68, 30), 0x9DD3FFu);
  EXPECT_EQ(b.RgbAt(0, 16), 0x2360B1u);
  EXPECT_EQ(b.RgbAt(136, 16), 0x2360B1u);
  // The centre is the image's gradient, the same all across.
  EXPECT_EQ(b.RgbAt(3, 3), img.RgbAt(3, 3));
  EXPECT_EQ(b.RgbAt(3, 16), b.RgbAt(133, 16));
  EXPECT_EQ(b.RgbAt(3, 29), img.RgbAt(3, 14));
}

TEST(ButtonFace, EachStateShowsItsOwnImage) {
  EXPECT_EQ(ButtonFace(25, 17, kImageDisabled, 96).RgbAt(12, 0), 0x336BA4u);
  EXPECT_EQ(ButtonFace(25, 17, kImageDisabled, 96).RgbAt(12, 1), 0xFFE762u);
  EXPECT_EQ(ButtonFace(25, 17, kImagePressed, 96).RgbAt(12, 1), 0xCBF3FCu);
  EXPECT_NE(ButtonFace(25, 17, kImageHover, 96).pixels,
            ButtonFace(25, 17, kImageNormal, 96).pixels);
}

TEST(ButtonFace, ASmallerButtonThanTheCornersShowsTheBackgroundNowhere) {
  // The smallest buttons of the program: 375 x 255 and 255 x 495 twips.
  for (const auto& [w, h] : {std::pair{25, 17}, {17, 33}}) {
    const Image b = ButtonFace(w, h, kImageNormal, 96);
    for (Argb c : b.pixels) EXPECT_NE(RgbOf(c), kButtonBackground);
  }
}

TEST(CaptionButtonFace, ScaledToTheButtonsSize) {
  const Image at96 = CaptionButtonFace(0, 1, 16);
  EXPECT_EQ(at96.pixels, art::CaptionButtonImage(CaptionButton::kClose, 1).pixels);
  const Image at144 = CaptionButtonFace(2, 4, 24);
  EXPECT_EQ(at144.width, 24);
  EXPECT_EQ(at144.RgbAt(0, 0), 0x1779D4u);
  EXPECT_EQ(CaptionButtonFace(2, 0, 16).width, 0);  // before the first repaint
}

}  // namespace
}  // namespace plover::controls
