// What the skinned window frame QQForm decides, apart from any window: the
// pieces of the skin that make the frame, where the caption buttons, the icon
// and the caption text go, the rounded shape, and which image each caption
// button shows as the pointer and the mouse buttons act on it.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "plover/controls/button_model.h"
#include "plover/controls/geometry.h"

namespace plover::controls {

// The skin, 256 x 159 pixels.
inline constexpr int kSkinTwipsWide = 3840;
inline constexpr int kSkinTwipsHigh = 2385;
// The caption buttons' images, 16 x 16 pixels.
inline constexpr int kCaptionButtonTwips = 240;
// The host window's icon on the title bar.
inline constexpr TwipRect kIconRect{50, 50, 240, 240};
// The corner of the rounded shape, in pixels at 96 DPI.
inline constexpr int kRoundCornerPixels = 5;
inline constexpr uint32_t kCaptionTextColour = 0xFFFFFF;

// The pieces of the skin over a frame of w x h twips, in the order they are
// drawn (later pieces cover earlier ones).
std::array<Piece, 9> FramePieces(int w, int h);

struct CaptionButtonsLayout {
  TwipRect titleBar;  // the drag and double-click area, under the buttons
  TwipRect close;
  std::optional<TwipRect> min;  // absent when the host shows no minimise button
  std::optional<TwipRect> max;  // absent when the host shows no maximise button
};
// The caption buttons on a frame `cw` twips wide.
CaptionButtonsLayout LayoutCaptionButtons(int cw, bool hasMin, bool hasMax);

// Top-left corner of the caption text.
TwipPoint CaptionTextOrigin(bool hasIcon);

// The rounded shape of a window `pixels` wide (or high): the pixel extent of
// its size in twips plus 10, which covers the last row and column.
int RoundShapeExtent(int pixels, unsigned dpi);

// The host window's state, with the numbers the frame uses for it.
enum class HostState : int { kNormal = 0, kMinimized = 1, kMaximized = 2 };
enum class CaptionButton : int { kClose = 0, kMin = 1, kMax = 2 };

// Images of the caption buttons: 1 normal, 2 hover, 3 pressed; the
// maximise button has 1 to 3 for maximise and 4 to 6 for restore, and 0 until
// the frame's first repaint.
enum CaptionImage : int {
  kCaptionNone,
  kCaptionNormal,
  kCaptionHover,
  kCaptionPressed,
  kRestoreNormal,
  kRestoreHover,
  kRestorePressed,
};

// What a click on a caption button (or a double click on the title bar)
// asks the window layer to do.
enum class FrameCommand { kNone, kClose, kMinimize, kToggleMaximize };

// The state after a maximise/restore toggle.
HostState Toggled(HostState state);

inline constexpr std::string_view kTipClose = "关闭";
inline constexpr std::string_view kTipMinimize = "最小化";
inline constexpr std::string_view kTipMaximize = "最大化";
inline constexpr std::string_view kTipRestore = "向下还原";

class FrameModel {
 public:
  // A repaint: the maximise button shows the maximise or the restore image
  // for the host's state (unchanged while minimised).
  void Repaint(HostState state);
  // The pointer moved over the frame itself or over the title bar.
  void PointerOverFrame(HostState state);
  // The pointer moved over a visible caption button.
  void PointerOnButton(CaptionButton b, HostState state);
  // Any mouse button went down, or came up, on a visible caption button.
  void ButtonDown(CaptionButton b, HostState state);
  void ButtonUp(CaptionButton b, HostState state);
  // A click on a visible caption button.
  static FrameCommand Click(CaptionButton b);
  // A double click on the title bar.
  static FrameCommand TitleBarDoubleClick(bool maxVisible);
  // Whether a press on the title bar starts moving the window.
  static bool StartsMove(MouseButton button, HostState state);

  int image(CaptionButton b) const { return images_[static_cast<size_t>(b)]; }
  bool buttonsAtRest() const { return buttonsAtRest_; }
  // The maximise button's tooltip; "" before the first repaint.
  std::string_view maxTip() const { return maxTip_; }

 private:
  void SetMax(HostState state, int maximise, int restore);

  std::array<int, 3> images_{kCaptionNormal, kCaptionNormal, kCaptionNone};
  bool buttonsAtRest_ = false;
  std::string_view maxTip_;
};

}  // namespace plover::controls
