#include "plover/controls/form_model.h"

namespace plover::controls {

std::array<Piece, 9> FramePieces(int w, int h) {
  constexpr int sw = kSkinTwipsWide;
  constexpr int sh = kSkinTwipsHigh;
  return {{
      {{420, 0, w, 600}, {420, 0, 120, 600}},                              // title bar middle
      {{420, h - 600, w, 600}, {420, sh - 600, 120, 600}},                 // bottom middle
      {{0, 0, 200, h}, {0, 880, 200, 40}},                                 // left edge
      {{w - 210, 0, 210, h}, {sw - 210, 880, 210, 40}},                    // right edge
      {{0, 0, 450, 600}, {0, 0, 450, 600}},                                // top-left corner
      {{0, h - 600, 450, 600}, {0, sh - 600, 450, 600}},                   // bottom-left corner
      {{w - 1665, 0, 1665, 435}, {sw - 1665, 0, 1660, 435}},               // top-right corner
      {{w - 1665, h - 525, 1665, 525}, {sw - 1665, sh - 525, 1665, 525}},  // bottom-right
      {{50, 350, w - 100, h - 425}, {200, 310, sw - 250, sh - 380}},       // client area
  }};
}

CaptionButtonsLayout LayoutCaptionButtons(int cw, bool hasMin, bool hasMax) {
  constexpr int size = kCaptionButtonTwips;
  constexpr int top = 50;
  constexpr int gap = 30;
  CaptionButtonsLayout out;
  out.titleBar = {0, 0, cw - 15, size + 50};
  out.close = {cw - size - 70, top, size, size};
  int left = out.close.left;
  if (hasMax) {
    left -= size + gap;
    out.max = TwipRect{left, top, size, size};
  }
  if (hasMin) {
    left -= size + gap;
    out.min = TwipRect{left, top, size, size};
  }
  return out;
}

TwipPoint CaptionTextOrigin(bool hasIcon) {
  return {hasIcon ? 360 : 100, 90};
}

int RoundShapeExtent(int pixels, unsigned dpi) {
  return TwipsToPixels(PixelsToTwips(pixels, dpi) + 10, dpi);
}

HostState Toggled(HostState state) {
  if (state == HostState::kMinimized) return state;
  return state == HostState::kNormal ? HostState::kMaximized : HostState::kNormal;
}

void FrameModel::SetMax(HostState state, int maximise, int restore) {
  auto& max = images_[static_cast<size_t>(CaptionButton::kMax)];
  if (state == HostState::kNormal) max = maximise;
  if (state == HostState::kMaximized) max = restore;
}

void FrameModel::Repaint(HostState state) {
  SetMax(state, kCaptionNormal, kRestoreNormal);
  if (state == HostState::kNormal) maxTip_ = kTipMaximize;
  if (state == HostState::kMaximized) maxTip_ = kTipRestore;
}

void FrameModel::PointerOverFrame(HostState state) {
  if (buttonsAtRest_) return;
  images_[static_cast<size_t>(CaptionButton::kClose)] = kCaptionNormal;
  images_[static_cast<size_t>(CaptionButton::kMin)] = kCaptionNormal;
  SetMax(state, kCaptionNormal, kRestoreNormal);
  buttonsAtRest_ = true;
}

void FrameModel::PointerOnButton(CaptionButton b, HostState state) {
  if (!buttonsAtRest_) return;
  if (b == CaptionButton::kMax) {
    SetMax(state, kCaptionHover, kRestoreHover);
  } else {
    images_[static_cast<size_t>(b)] = kCaptionHover;
  }
  buttonsAtRest_ = false;
}

void FrameModel::ButtonDown(CaptionButton b, HostState state) {
  if (b == CaptionButton::kMax) {
    SetMax(state, kCaptionPressed, kRestorePressed);
  } else {
    images_[static_cast<size_t>(b)] = kCaptionPressed;
  }
}

void FrameModel::ButtonUp(CaptionButton b, HostState state) {
  if (b == CaptionButton::kMax) {
    SetMax(state, kCaptionNormal, kRestoreNormal);
  } else {
    images_[static_cast<size_t>(b)] = kCaptionNormal;
  }
}

FrameCommand FrameModel::Click(CaptionButton b) {
  switch (b) {
    case CaptionButton::kClose:
      return FrameCommand::kClose;
    case CaptionButton::kMin:
      return FrameCommand::kMinimize;
    case CaptionButton::kMax:
      return FrameCommand::kToggleMaximize;
  }
  return FrameCommand::kNone;
}

FrameCommand FrameModel::TitleBarDoubleClick(bool maxVisible) {
  return maxVisible ? FrameCommand::kToggleMaximize : FrameCommand::kNone;
}

bool FrameModel::StartsMove(MouseButton button, HostState state) {
  return button == MouseButton::kLeft && state == HostState::kNormal;
}

}  // namespace plover::controls
