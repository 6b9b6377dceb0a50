// QQButton's model: which piece of which state image goes where, and where
// the caption and the picture sit for each style.
#include "plover/controls/button_model.h"

#include <gtest/gtest.h>

namespace plover::controls {
namespace {

TEST(NineSlice, PiecesOfTheStateImageOverTheButton) {
  // btnTran, 2055 x 495 twips.
  const auto p = NineSlice(2055, 495);
  const std::array<Piece, 9> expected{{
      {{0, 0, 45, 45}, {0, 0, 45, 45}},
      {{2010, 0, 45, 45}, {630, 0, 45, 45}},
      {{2010, 450, 45, 45}, {630, 250, 45, 45}},
      {{0, 450, 45, 45}, {0, 250, 45, 45}},
      {{45, 0, 1965, 45}, {45, 0, 225, 45}},
      {{2010, 45, 45, 405}, {630, 45, 45, 225}},
      {{0, 45, 45, 405}, {0, 45, 45, 225}},
      {{45, 450, 1965, 45}, {45, 255, 225, 45}},
      {{45, 45, 1965, 405}, {45, 45, 180, 180}},
  }};
  for (size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i], expected[i]) << "piece " << i;
}

TEST(NineSlice, BottomCornersComeFromRow250AndTheBottomEdgeFrom255) {
  for (const auto& [w, h] : {std::pair{375, 255}, std::pair{255, 495}, std::pair{1365, 375}}) {
    const auto p = NineSlice(w, h);
    EXPECT_EQ(p[2].src.top, 250);
    EXPECT_EQ(p[3].src.top, 250);
    EXPECT_EQ(p[7].src.top, kStateImageTwipsHigh - 45);
    EXPECT_EQ(p[7].src.top, 255);
    // The corners always sit in the button's own corners.
    EXPECT_EQ(p[1].dst.left + 45, w);
    EXPECT_EQ(p[2].dst.top + 45, h);
  }
}

TEST(StateImage, RepaintInStateOneShowsTheDisabledImageWhenDisabled) {
  EXPECT_EQ(StateImageFor(kStateNormal, true), kImageNormal);
  EXPECT_EQ(StateImageFor(kStateNormal, false), kImageDisabled);
  EXPECT_EQ(StateImageFor(kStateHover, true), kImageHover);
  EXPECT_EQ(StateImageFor(kStatePressed, false), kImagePressed);
}

// btnTran: 2055 x 495 twips with a 32 x 32 picture (480 twips).
constexpr float kW = 2055, kH = 495, kPic = 480;

TEST(PlaceCaption, CaptionAloneOrPictureAloneIsCentred) {
  const auto caption = PlaceCaption(kW, kH, true, 600, 180, false, 0, 0, 0);
  EXPECT_FALSE(caption.picture);
  EXPECT_EQ(caption.caption, (PointF{727.5f, 157.5f}));
  const auto picture = PlaceCaption(kW, kH, false, 0, 0, true, kPic, kPic, 0);
  EXPECT_EQ(picture.picture, (PointF{787.5f, 7.5f}));
  EXPECT_FALSE(picture.caption);
  const auto neither = PlaceCaption(kW, kH, false, 0, 0, false, 0, 0, 0);
  EXPECT_FALSE(neither.picture);
  EXPECT_FALSE(neither.caption);
}

TEST(PlaceCaption, StyleZeroPutsThePictureLeftWithThreeEqualGaps) {
  const float tw = 600, th = 180;
  const auto p = PlaceCaption(kW, kH, true, tw, th, true, kPic, kPic, 0);
  ASSERT_TRUE(p.picture && p.caption);
  const float g = p.picture->x;
  EXPECT_FLOAT_EQ(g, (kW - kPic - tw) / 3);
  EXPECT_FLOAT_EQ(p.caption->x - (g + kPic), g);  // between picture and caption
  EXPECT_FLOAT_EQ(kW - (p.caption->x + tw), g);   // after the caption
  EXPECT_FLOAT_EQ(p.picture->y, (kH - kPic) / 2);
  EXPECT_FLOAT_EQ(p.caption->y, (kH - th) / 2);
}

TEST(PlaceCaption, StyleOnePutsThePictureAboveWithThreeEqualGaps) {
  const float h = 1200, tw = 600, th = 180;
  const auto p = PlaceCaption(kW, h, true, tw, th, true, kPic, kPic, 1);
  ASSERT_TRUE(p.picture && p.caption);
  const float v = p.picture->y;
  EXPECT_FLOAT_EQ(v, (h - kPic - th) / 3);
  EXPECT_FLOAT_EQ(p.caption->y - (v + kPic), v);
  EXPECT_FLOAT_EQ(h - (p.caption->y + th), v);
  EXPECT_FLOAT_EQ(p.picture->x, (kW - kPic) / 2);
  EXPECT_FLOAT_EQ(p.caption->x, (kW - tw) / 2);
}

TEST(PlaceCaption, OtherStylesDrawNeitherWhenBothArePresent) {
  for (int32_t style : {2, -1, 100, INT32_MIN}) {
    const auto both = PlaceCaption(kW, kH, true, 600, 180, true, kPic, kPic, style);
    EXPECT_FALSE(both.picture) << style;
    EXPECT_FALSE(both.caption) << style;
    // With only one of them the style plays no part.
    EXPECT_TRUE(PlaceCaption(kW, kH, true, 600, 180, false, 0, 0, style).caption) << style;
    EXPECT_TRUE(PlaceCaption(kW, kH, false, 0, 0, true, kPic, kPic, style).picture) << style;
  }
}

TEST(PlaceCaption, ACaptionWiderThanTheButtonStartsLeftOfIt) {
  const auto p = PlaceCaption(375, 255, true, 600, 180, false, 0, 0, 0);
  EXPECT_FLOAT_EQ(p.caption->x, -112.5f);
  const auto both = PlaceCaption(375, 255, true, 600, 180, true, kPic, kPic, 0);
  EXPECT_LT(both.picture->x, 0);
}

TEST(AccessKey, KeepsTheFirstCharacterUpperCased) {
  EXPECT_EQ(AccessKeyOf("keys"), "K");
  EXPECT_EQ(AccessKeyOf("x"), "X");
  EXPECT_EQ(AccessKeyOf("Q"), "Q");
  EXPECT_EQ(AccessKeyOf("1a"), "1");
  EXPECT_EQ(AccessKeyOf("转换"), "转");
  EXPECT_EQ(AccessKeyOf(""), "");
}

// ---- Input ---------------------------------------------------------------------

constexpr float kBw = 1095, kBh = 375;  // btnRun

struct Pointer {
  ButtonModel m;
  ButtonEffects MoveIn() { return m.Move(500, 200, kBw, kBh); }
  ButtonEffects MoveOut() { return m.Move(-15, 200, kBw, kBh); }
};

ButtonEffects Repaint(int state, bool capture = false, bool release = false, bool click = false) {
  ButtonEffects e;
  e.repaint = state;
  e.capture = capture;
  e.releaseCapture = release;
  e.click = click;
  return e;
}

ButtonEffects Capture() {
  ButtonEffects e;
  e.capture = true;
  return e;
}

ButtonEffects Click() {
  ButtonEffects e;
  e.click = true;
  return e;
}

TEST(ButtonInput, HoverLightsOnceHoldsTheCaptureAndLeavingReleasesIt) {
  Pointer p;
  EXPECT_EQ(p.MoveIn(), Repaint(kStateHover, true));
  EXPECT_TRUE(p.m.hovering());
  EXPECT_EQ(p.MoveIn(), Capture());  // no second repaint, the capture is renewed
  EXPECT_EQ(p.MoveOut(), Repaint(kStateNormal, false, true));
  EXPECT_FALSE(p.m.hovering());
  // Every move outside repaints the normal image again.
  EXPECT_EQ(p.MoveOut(), Repaint(kStateNormal, false, true));
}

TEST(ButtonInput, BothEdgesOfTheButtonCountAsInside) {
  ButtonModel m;
  EXPECT_TRUE(m.Move(0, 0, kBw, kBh).capture);
  EXPECT_TRUE(m.Move(kBw, kBh, kBw, kBh).capture);
  EXPECT_TRUE(m.Move(kBw + 0.5f, 10, kBw, kBh).releaseCapture);
  EXPECT_TRUE(m.Move(10, -0.5f, kBw, kBh).releaseCapture);
}

TEST(ButtonInput, LeftClickShowsPressedThenNormalAndClicks) {
  Pointer p;
  p.MoveIn();
  EXPECT_EQ(p.m.Down(MouseButton::kLeft), Repaint(kStatePressed));
  EXPECT_TRUE(p.m.leftPressed());
  EXPECT_EQ(p.MoveIn(), Capture());  // the pressed image stays while inside
  EXPECT_EQ(p.m.Up(true), Repaint(kStateNormal, false, false, true));
  EXPECT_FALSE(p.m.hovering());
  EXPECT_TRUE(p.m.leftPressed());  // not reset by the release
  // The normal image shows until the next move brings the hover image back.
  EXPECT_EQ(p.MoveIn(), Repaint(kStateHover, true));
}

TEST(ButtonInput, ReleaseOutsideIsNoClick) {
  Pointer p;
  p.MoveIn();
  p.m.Down(MouseButton::kLeft);
  EXPECT_EQ(p.MoveOut(), Repaint(kStateNormal, false, true));
  EXPECT_EQ(p.m.Up(false), Repaint(kStateNormal));
  // Back inside with the button still held: the press was given up on leaving.
  p.m.Down(MouseButton::kLeft);
  p.MoveOut();
  p.MoveIn();
  EXPECT_EQ(p.m.Up(true), Repaint(kStateNormal));
  // A release over the button after a press elsewhere is no click either.
  ButtonModel fresh;
  fresh.Move(10, 10, kBw, kBh);
  EXPECT_EQ(fresh.Up(true), Repaint(kStateNormal));
}

TEST(ButtonInput, RightOrMiddleClickShowsNoPressedImageAndDoesNotClick) {
  for (MouseButton b : {MouseButton::kRight, MouseButton::kMiddle}) {
    Pointer p;
    p.MoveIn();
    p.m.Down(MouseButton::kLeft);
    p.m.Up(true);
    EXPECT_EQ(p.m.Down(b), ButtonEffects{});
    EXPECT_FALSE(p.m.leftPressed());
    EXPECT_EQ(p.m.Up(true), Repaint(kStateNormal));
  }
}

TEST(ButtonInput, EnterClicksOnlyAfterALeftPress) {
  ButtonModel m;
  EXPECT_EQ(m.Enter(), ButtonEffects{});  // never pressed
  m.Down(MouseButton::kLeft);
  m.Up(true);
  EXPECT_EQ(m.Enter(), Click());
  EXPECT_EQ(m.Enter(), Click());  // each time
  EXPECT_EQ(m.AccessKey(), Click());
  m.Down(MouseButton::kRight);
  EXPECT_EQ(m.Enter(), ButtonEffects{});
  EXPECT_EQ(m.AccessKey(), ButtonEffects{});
  // A left press is enough, even one released outside.
  m.Down(MouseButton::kLeft);
  m.Up(false);
  EXPECT_EQ(m.Enter(), Click());
}

TEST(ButtonInput, ADoubleClickClicksOnce) {
  Pointer p;
  p.MoveIn();
  p.m.Down(MouseButton::kLeft);
  EXPECT_TRUE(p.m.Up(true).click);
  EXPECT_EQ(p.m.DoubleClick(), ButtonEffects{});  // the second press: no pressed image
  EXPECT_EQ(p.m.Up(true), Repaint(kStateNormal));
}

TEST(ButtonInput, LosingTheCaptureToAnotherWindowDropsTheHoverImage) {
  Pointer p;
  p.MoveIn();
  EXPECT_EQ(p.m.CaptureLost(), Repaint(kStateNormal));
  EXPECT_FALSE(p.m.hovering());
  EXPECT_EQ(p.m.CaptureLost(), ButtonEffects{});
  // A press interrupted that way is no click.
  p.MoveIn();
  p.m.Down(MouseButton::kLeft);
  p.m.CaptureLost();
  EXPECT_FALSE(p.m.Up(true).click);
}

}  // namespace
}  // namespace plover::controls
