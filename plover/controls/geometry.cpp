#include "plover/controls/geometry.h"

#include <algorithm>
#include <cmath>

namespace plover::controls {

namespace {

double TwipsPerPixel(unsigned dpi) {
  return static_cast<double>(kTwipsPerInch) / static_cast<double>(dpi ? dpi : 96);
}

// The first pixel whose centre lies at or after `twips`.
int FirstPixelFrom(double twips, unsigned dpi) {
  return static_cast<int>(std::ceil(twips / TwipsPerPixel(dpi) - 0.5));
}

}  // namespace

int TwipsToPixels(double twips, unsigned dpi) {
  return static_cast<int>(std::lround(twips / TwipsPerPixel(dpi)));
}

int PixelsToTwips(int pixels, unsigned dpi) {
  return static_cast<int>(std::lround(pixels * TwipsPerPixel(dpi)));
}

PixelRect ToPixels(const TwipRect& r, unsigned dpi) {
  PixelRect p;
  p.left = FirstPixelFrom(r.left, dpi);
  p.top = FirstPixelFrom(r.top, dpi);
  p.right = std::max(p.left, FirstPixelFrom(static_cast<double>(r.left) + r.width, dpi));
  p.bottom = std::max(p.top, FirstPixelFrom(static_cast<double>(r.top) + r.height, dpi));
  return p;
}

void DrawPiece(Image& target, const Image& source, const Piece& piece, unsigned dpi) {
  const TwipRect& d = piece.dst;
  const TwipRect& s = piece.src;
  if (d.width <= 0 || d.height <= 0 || s.width <= 0 || s.height <= 0) return;
  if (source.width <= 0 || source.height <= 0) return;
  const PixelRect px = ToPixels(d, dpi);
  const double step = TwipsPerPixel(dpi);
  const int x0 = std::max(px.left, 0), x1 = std::min(px.right, target.width);
  const int y0 = std::max(px.top, 0), y1 = std::min(px.bottom, target.height);
  if (x0 >= x1 || y0 >= y1) return;

  // The source in whole pixels of the stored image, at least one each way.
  auto whole = [](int twips) {
    return std::round(static_cast<double>(twips) / kImageTwipsPerPixel);
  };
  const double sl = whole(s.left), st = whole(s.top);
  const double sw = std::max(whole(s.left + s.width) - sl, 1.0);
  const double sh = std::max(whole(s.top + s.height) - st, 1.0);

  // Source column of each target column, worked out once.
  std::vector<int> columns(static_cast<size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) {
    const double t = ((x + 0.5) * step - d.left) / d.width;
    columns[static_cast<size_t>(x - x0)] =
        std::clamp(static_cast<int>(std::floor(sl + t * sw)), 0, source.width - 1);
  }
  for (int y = y0; y < y1; ++y) {
    const double t = ((y + 0.5) * step - d.top) / d.height;
    const int row = std::clamp(static_cast<int>(std::floor(st + t * sh)), 0, source.height - 1);
    for (int x = x0; x < x1; ++x) {
      target.Set(x, y, source.At(columns[static_cast<size_t>(x - x0)], row));
    }
  }
}

void DrawScaled(Image& target, const Image& source) {
  if (source.width <= 0 || source.height <= 0) return;
  for (int y = 0; y < target.height; ++y) {
    const int sy = std::min((2 * y + 1) * source.height / (2 * target.height), source.height - 1);
    for (int x = 0; x < target.width; ++x) {
      const int sx = std::min((2 * x + 1) * source.width / (2 * target.width), source.width - 1);
      target.Set(x, y, source.At(sx, sy));
    }
  }
}

}  // namespace plover::controls
