// What the skinned push button QQButton decides, apart from any window: the
// nine pieces of its state image, where its caption and picture go, and how
// it answers the mouse and the keyboard.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plover/controls/geometry.h"

namespace plover::controls {

// The four state images, 45 x 20 pixels each.
enum StateImage : int { kImageDisabled = 0, kImageNormal = 1, kImageHover = 2, kImagePressed = 3 };
// What a repaint asks for: 1 normal (disabled when the button is), 2 hover,
// 3 pressed.
enum ButtonState : int { kStateNormal = 1, kStateHover = 2, kStatePressed = 3 };

inline constexpr int kStateImageTwipsWide = 675;
inline constexpr int kStateImageTwipsHigh = 300;
// A newly placed button.
inline constexpr int kDefaultButtonTwipsWide = 1365;
inline constexpr int kDefaultButtonTwipsHigh = 375;
// The white copy of a disabled caption lies this far right of and below the
// grey one.
inline constexpr float kEmbossTwips = 18;
// The background of the button surface, under the state image.
inline constexpr uint32_t kButtonBackground = 0xD7D7D7;

// The image a repaint in `state` shows.
int StateImageFor(int state, bool enabled);

// The nine pieces of the state image over a button of w x h twips, in the
// order they are drawn: four corners, four edges, the centre.
std::array<Piece, 9> NineSlice(int w, int h);

struct PointF {
  float x = 0, y = 0;
  bool operator==(const PointF&) const = default;
};

struct CaptionPlacement {
  std::optional<PointF> picture;  // top-left corner, picture at its own size
  std::optional<PointF> caption;  // top-left corner of the text
};

// Where the picture and caption go on a button of w x h twips. The caption
// is tw x th twips as one line; the picture iw x ih. `style` 0 puts the
// picture left of the caption, 1 above it; any other value draws neither when
// both are present.
CaptionPlacement PlaceCaption(float w, float h, bool hasCaption, float tw, float th,
                              bool hasPicture, float iw, float ih, int32_t style);

// The access key kept for `keys`: its first character, upper-cased; "" clears.
std::string AccessKeyOf(std::string_view keys);

enum class MouseButton : int { kLeft = 1, kRight = 2, kMiddle = 4 };

// Everything one input asks the window layer to do, in this order: repaint,
// take or release the mouse capture, then raise Click to the host last.
struct ButtonEffects {
  std::optional<int> repaint;  // the state to repaint in
  bool capture = false;
  bool releaseCapture = false;
  bool click = false;
  bool operator==(const ButtonEffects&) const = default;
};

// The button's input handling. Positions and sizes are in twips from the
// button's top-left corner.
class ButtonModel {
 public:
  // The pointer moved to (x, y) over a button of w x h: inside when
  // 0 <= x <= w and 0 <= y <= h.
  ButtonEffects Move(float x, float y, float w, float h);
  // A mouse button went down on the button.
  ButtonEffects Down(MouseButton button);
  // The second press of a double click: no MouseDown and no pressed image,
  // and its release is no click.
  ButtonEffects DoubleClick();
  // A mouse button came up; `inside` tells whether over the button.
  ButtonEffects Up(bool inside);
  // Enter on the focused button, or its access key.
  ButtonEffects Enter();
  ButtonEffects AccessKey() { return Enter(); }
  // Something else took the mouse capture away (a window that opened, the
  // button being disabled): the hover image goes.
  ButtonEffects CaptureLost();

  bool hovering() const { return hovering_; }
  bool leftPressed() const { return leftPressed_; }

 private:
  ButtonEffects ClickReported();

  bool hovering_ = false;
  bool leftPressed_ = false;
  // A press on the button whose release over it is a click.
  bool pressedHere_ = false;
};

}  // namespace plover::controls
