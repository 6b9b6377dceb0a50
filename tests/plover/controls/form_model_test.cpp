// QQForm's model: the frame's pieces, the caption buttons' places and states,
// the caption text, the round shape and the maximise toggle.
#include "plover/controls/form_model.h"

#include <gtest/gtest.h>

namespace plover::controls {
namespace {

TEST(FramePieces, PiecesOfTheSkinOverTheMainWindow) {
  const int w = 4935, h = 4110;
  const auto p = FramePieces(w, h);
  const std::array<Piece, 9> expected{{
      {{420, 0, 4935, 600}, {420, 0, 120, 600}},
      {{420, 3510, 4935, 600}, {420, 1785, 120, 600}},
      {{0, 0, 200, 4110}, {0, 880, 200, 40}},
      {{4725, 0, 210, 4110}, {3630, 880, 210, 40}},
      {{0, 0, 450, 600}, {0, 0, 450, 600}},
      {{0, 3510, 450, 600}, {0, 1785, 450, 600}},
      {{3270, 0, 1665, 435}, {2175, 0, 1660, 435}},
      {{3270, 3585, 1665, 525}, {2175, 1860, 1665, 525}},
      {{50, 350, 4835, 3685}, {200, 310, 3590, 2005}},
  }};
  for (size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i], expected[i]) << "step " << i + 1;
}

TEST(FramePieces, OnlyTheTopRightCornerIsStretchedFrom1660Into1665) {
  for (const auto& [w, h] : {std::pair{4665, 2685}, std::pair{5055, 4110}}) {
    const auto p = FramePieces(w, h);
    EXPECT_EQ(p[6].dst.width, 1665);
    EXPECT_EQ(p[6].src.width, 1660);
    EXPECT_EQ(p[7].dst.width, 1665);
    EXPECT_EQ(p[7].src.width, 1665);
    // Both right corners end at the window's right edge.
    EXPECT_EQ(p[6].dst.left + p[6].dst.width, w);
    EXPECT_EQ(p[7].dst.top + p[7].dst.height, h);
  }
}

TEST(CaptionButtons, CloseThenMaximiseThenMinimiseFromTheRight) {
  const auto l = LayoutCaptionButtons(4935, true, true);
  EXPECT_EQ(l.close, (TwipRect{4625, 50, 240, 240}));
  ASSERT_TRUE(l.max && l.min);
  EXPECT_EQ(l.max->left, 4625 - 240 - 30);
  EXPECT_EQ(l.min->left, l.max->left - 240 - 30);
  EXPECT_EQ(l.min->top, 50);
  EXPECT_EQ(l.titleBar, (TwipRect{0, 0, 4920, 290}));
}

TEST(CaptionButtons, WithoutAMaximiseButtonMinimiseSitsNextToClose) {
  const auto l = LayoutCaptionButtons(4935, true, false);
  EXPECT_FALSE(l.max);
  ASSERT_TRUE(l.min);
  EXPECT_EQ(l.min->left, 4625 - 240 - 30);
  const auto maxOnly = LayoutCaptionButtons(4935, false, true);
  EXPECT_FALSE(maxOnly.min);
  EXPECT_EQ(maxOnly.max->left, 4625 - 240 - 30);
  const auto closeOnly = LayoutCaptionButtons(4680, false, false);
  EXPECT_FALSE(closeOnly.min);
  EXPECT_FALSE(closeOnly.max);
  EXPECT_EQ(closeOnly.close.left, 4370);
  // At 96 DPI the gaps are two pixels.
  const auto all = LayoutCaptionButtons(4935, true, true);
  EXPECT_EQ(TwipsToPixels(all.close.left, 96) - TwipsToPixels(all.max->left + 240, 96), 2);
  EXPECT_EQ(TwipsToPixels(all.max->left, 96) - TwipsToPixels(all.min->left + 240, 96), 2);
}

TEST(CaptionText, StartsAfterTheIconOrNearTheEdgeWithoutOne) {
  EXPECT_EQ(CaptionTextOrigin(true), (TwipPoint{360, 90}));
  EXPECT_EQ(CaptionTextOrigin(false), (TwipPoint{100, 90}));
}

TEST(RoundShape, ReachesOnePixelPastTheWindowSize) {
  EXPECT_EQ(RoundShapeExtent(329, 96), 330);
  EXPECT_EQ(RoundShapeExtent(274, 96), 275);
  EXPECT_EQ(RoundShapeExtent(494, 144), 495);
}

TEST(Toggle, NormalAndMaximisedSwapAndMinimisedStays) {
  EXPECT_EQ(Toggled(HostState::kNormal), HostState::kMaximized);
  EXPECT_EQ(Toggled(HostState::kMaximized), HostState::kNormal);
  EXPECT_EQ(Toggled(HostState::kMinimized), HostState::kMinimized);
}

constexpr auto kClose = CaptionButton::kClose;
constexpr auto kMin = CaptionButton::kMin;
constexpr auto kMax = CaptionButton::kMax;
constexpr auto kNormal = HostState::kNormal;
constexpr auto kMaximized = HostState::kMaximized;
constexpr auto kMinimized = HostState::kMinimized;

TEST(FrameButtons, MaximiseImageAndTipFollowTheWindowStateAtEachRepaint) {
  FrameModel m;
  EXPECT_EQ(m.image(kClose), kCaptionNormal);
  EXPECT_EQ(m.image(kMin), kCaptionNormal);
  EXPECT_EQ(m.image(kMax), kCaptionNone);
  EXPECT_EQ(m.maxTip(), "");
  m.Repaint(kNormal);
  EXPECT_EQ(m.image(kMax), kCaptionNormal);
  EXPECT_EQ(m.maxTip(), "最大化");
  m.Repaint(kMaximized);
  EXPECT_EQ(m.image(kMax), kRestoreNormal);
  EXPECT_EQ(m.maxTip(), "向下还原");
  m.Repaint(kMinimized);
  EXPECT_EQ(m.image(kMax), kRestoreNormal);
  EXPECT_EQ(m.maxTip(), "向下还原");
}

TEST(FrameButtons, TheFirstMoveOverTheFrameSetsThemAtRestAndLaterOnesDoNothing) {
  FrameModel m;
  m.Repaint(kNormal);
  m.ButtonDown(kClose, kNormal);
  EXPECT_FALSE(m.buttonsAtRest());
  m.PointerOverFrame(kNormal);
  EXPECT_TRUE(m.buttonsAtRest());
  EXPECT_EQ(m.image(kClose), kCaptionNormal);
  m.ButtonDown(kMin, kNormal);
  m.PointerOverFrame(kNormal);  // at rest already: nothing
  EXPECT_EQ(m.image(kMin), kCaptionPressed);
}

TEST(FrameButtons, HoverLightsOneButtonUntilThePointerCrossesTheFrame) {
  FrameModel m;
  m.Repaint(kNormal);
  m.PointerOverFrame(kNormal);
  m.PointerOnButton(kMin, kNormal);
  EXPECT_EQ(m.image(kMin), kCaptionHover);
  EXPECT_FALSE(m.buttonsAtRest());
  // Straight across the gap to the close button: it stays normal.
  m.PointerOnButton(kClose, kNormal);
  EXPECT_EQ(m.image(kClose), kCaptionNormal);
  EXPECT_EQ(m.image(kMin), kCaptionHover);
  // Over the frame, then onto the close button.
  m.PointerOverFrame(kNormal);
  EXPECT_EQ(m.image(kMin), kCaptionNormal);
  m.PointerOnButton(kClose, kNormal);
  EXPECT_EQ(m.image(kClose), kCaptionHover);
}

TEST(FrameButtons, TheMaximiseButtonUsesTheRestoreSetWhenMaximisedAndStaysWhenMinimised) {
  FrameModel m;
  m.Repaint(kMaximized);
  m.PointerOverFrame(kMaximized);
  m.PointerOnButton(kMax, kMaximized);
  EXPECT_EQ(m.image(kMax), kRestoreHover);
  m.ButtonDown(kMax, kMaximized);
  EXPECT_EQ(m.image(kMax), kRestorePressed);
  m.ButtonUp(kMax, kMaximized);
  EXPECT_EQ(m.image(kMax), kRestoreNormal);

  FrameModel n;
  n.Repaint(kNormal);
  n.PointerOverFrame(kNormal);
  n.PointerOnButton(kMax, kNormal);
  EXPECT_EQ(n.image(kMax), kCaptionHover);
  n.PointerOverFrame(kMinimized);
  EXPECT_EQ(n.image(kMax), kCaptionHover);  // minimised: unchanged
  n.ButtonDown(kMax, kMinimized);
  EXPECT_EQ(n.image(kMax), kCaptionHover);
}

TEST(FrameButtons, PressShowsThePressedImageAndAnyReleaseTheNormalOne) {
  FrameModel m;
  m.Repaint(kNormal);
  for (CaptionButton b : {kClose, kMin, kMax}) {
    m.ButtonDown(b, kNormal);
    EXPECT_EQ(m.image(b), kCaptionPressed);
    // Released anywhere, over the button or not.
    m.ButtonUp(b, kNormal);
    EXPECT_EQ(m.image(b), kCaptionNormal);
  }
}

TEST(FrameCommands, ClicksDoubleClicksAndMoves) {
  EXPECT_EQ(FrameModel::Click(kClose), FrameCommand::kClose);
  EXPECT_EQ(FrameModel::Click(kMin), FrameCommand::kMinimize);
  EXPECT_EQ(FrameModel::Click(kMax), FrameCommand::kToggleMaximize);
  EXPECT_EQ(FrameModel::TitleBarDoubleClick(true), FrameCommand::kToggleMaximize);
  EXPECT_EQ(FrameModel::TitleBarDoubleClick(false), FrameCommand::kNone);
  EXPECT_TRUE(FrameModel::StartsMove(MouseButton::kLeft, kNormal));
  EXPECT_FALSE(FrameModel::StartsMove(MouseButton::kLeft, kMaximized));
  EXPECT_FALSE(FrameModel::StartsMove(MouseButton::kLeft, kMinimized));
  EXPECT_FALSE(FrameModel::StartsMove(MouseButton::kRight, kNormal));
  EXPECT_FALSE(FrameModel::StartsMove(MouseButton::kMiddle, kNormal));
}

}  // namespace
}  // namespace plover::controls
