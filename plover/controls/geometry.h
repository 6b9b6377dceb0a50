// Twips, the unit every layout of the program is written in (1440 to an
// inch; 15 to a pixel at 96 dots per inch), and stretched copies of image
// pieces measured in twips.
#pragma once

#include "plover/controls/image.h"

namespace plover::controls {

inline constexpr int kTwipsPerInch = 1440;
// The stored images are drawn for 96 dots per inch: one image pixel is 15
// twips at every resolution.
inline constexpr int kImageTwipsPerPixel = 15;

// Twips to device pixels at `dpi`, rounded to nearest (halves away from
// zero); 15 twips are one pixel at 96 DPI.
int TwipsToPixels(double twips, unsigned dpi);
// Device pixels to twips at `dpi`, rounded to the nearest twip.
int PixelsToTwips(int pixels, unsigned dpi);

struct TwipRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipRect&) const = default;
};

struct TwipPoint {
  int x = 0, y = 0;
  bool operator==(const TwipPoint&) const = default;
};

// The device pixels that a rectangle of twips covers: every pixel whose
// centre lies inside it.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom excluded
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};
PixelRect ToPixels(const TwipRect& r, unsigned dpi);

// A source rectangle of an image stretched into a destination rectangle.
struct Piece {
  TwipRect dst;
  TwipRect src;
  bool operator==(const Piece&) const = default;
};

// Copies `piece` of `source` (twips of the stored image, taken to its nearest
// whole pixels) onto `target` (twips at `dpi`), nearest pixel: each target
// pixel whose centre lies in the destination takes the source pixel under the
// corresponding point. Pieces with an empty source or destination draw
// nothing.
void DrawPiece(Image& target, const Image& source, const Piece& piece, unsigned dpi);

// The whole of `source` scaled to `target`'s size, nearest pixel.
void DrawScaled(Image& target, const Image& source);

}  // namespace plover::controls
