#include "plover/controls/button_model.h"

namespace plover::controls {

int StateImageFor(int state, bool enabled) {
  if (state == kStateNormal) return enabled ? kImageNormal : kImageDisabled;
  return state;
}

std::array<Piece, 9> NineSlice(int w, int h) {
  constexpr int c = 45;  // the corners: 3 pixels of the stored image
  constexpr int iw = kStateImageTwipsWide;
  constexpr int ih = kStateImageTwipsHigh;
  return {{
      {{0, 0, c, c}, {0, 0, c, c}},                      // top-left corner
      {{w - c, 0, c, c}, {iw - c, 0, c, c}},             // top-right corner
      {{w - c, h - c, c, c}, {iw - c, 250, c, c}},       // bottom-right corner
      {{0, h - c, c, c}, {0, 250, c, c}},                // bottom-left corner
      {{c, 0, w - 2 * c, c}, {c, 0, 225, c}},            // top edge
      {{w - c, c, c, h - 2 * c}, {iw - c, c, c, 225}},   // right edge
      {{0, c, c, h - 2 * c}, {0, c, c, 225}},            // left edge
      {{c, h - c, w - 2 * c, c}, {c, ih - c, 225, c}},   // bottom edge
      {{c, c, w - 2 * c, h - 2 * c}, {c, c, 180, 180}},  // centre
  }};
}

CaptionPlacement PlaceCaption(float w, float h, bool hasCaption, float tw, float th,
                              bool hasPicture, float iw, float ih, int32_t style) {
  CaptionPlacement out;
  if (!hasCaption && !hasPicture) return out;
  if (!hasCaption) {
    out.picture = PointF{(w - iw) / 2, (h - ih) / 2};
    return out;
  }
  if (!hasPicture) {
    out.caption = PointF{(w - tw) / 2, (h - th) / 2};
    return out;
  }
  if (style == 0) {
    const float g = (w - iw - tw) / 3;
    out.picture = PointF{g, (h - ih) / 2};
    out.caption = PointF{iw + 2 * g, (h - th) / 2};
  } else if (style == 1) {
    const float v = (h - ih - th) / 3;
    out.picture = PointF{(w - iw) / 2, v};
    out.caption = PointF{(w - tw) / 2, ih + 2 * v};
  }
  return out;
}

std::string AccessKeyOf(std::string_view keys) {
  if (keys.empty()) return {};
  const auto lead = static_cast<unsigned char>(keys[0]);
  // One whole UTF-8 character.
  size_t n = 1;
  if (lead >= 0xF0) {
    n = 4;
  } else if (lead >= 0xE0) {
    n = 3;
  } else if (lead >= 0xC0) {
    n = 2;
  }
  std::string key(keys.substr(0, n));
  if (n == 1 && key[0] >= 'a' && key[0] <= 'z') key[0] = static_cast<char>(key[0] - 'a' + 'A');
  return key;
}

ButtonEffects ButtonModel::Move(float x, float y, float w, float h) {
  ButtonEffects e;
  const bool inside = x >= 0 && x <= w && y >= 0 && y <= h;
  if (!inside) {
    e.repaint = kStateNormal;
    hovering_ = false;
    pressedHere_ = false;
    e.releaseCapture = true;
    return e;
  }
  if (!hovering_) {
    e.repaint = kStateHover;
    hovering_ = true;
  }
  e.capture = true;
  return e;
}

ButtonEffects ButtonModel::Down(MouseButton button) {
  ButtonEffects e;
  pressedHere_ = true;
  if (button == MouseButton::kLeft) {
    e.repaint = kStatePressed;
    leftPressed_ = true;
  } else {
    leftPressed_ = false;
  }
  return e;
}

ButtonEffects ButtonModel::DoubleClick() {
  pressedHere_ = false;
  return {};
}

ButtonEffects ButtonModel::Up(bool inside) {
  ButtonEffects e;
  hovering_ = false;
  e.repaint = kStateNormal;
  const bool clicked = pressedHere_ && inside;
  pressedHere_ = false;
  if (clicked) e.click = ClickReported().click;
  return e;
}

ButtonEffects ButtonModel::Enter() {
  return ClickReported();
}

ButtonEffects ButtonModel::ClickReported() {
  ButtonEffects e;
  e.click = leftPressed_;
  return e;
}

ButtonEffects ButtonModel::CaptureLost() {
  ButtonEffects e;
  pressedHere_ = false;
  if (hovering_) {
    hovering_ = false;
    e.repaint = kStateNormal;
  }
  return e;
}

}  // namespace plover::controls
