#include "quenlock/icon_art.h"

#include <algorithm>
#include <cmath>

namespace quenlock {
namespace {

struct Colour {
  double r, g, b;
};

constexpr Colour kKeyBody{40, 48, 60};
constexpr Colour kKeyTop{78, 92, 112};
constexpr Colour kPane{120, 200, 255};
constexpr Colour kBar{222, 44, 44};

// Inside the rectangle [x0,x1]x[y0,y1] with corners rounded by `r`.
bool InRoundRect(double x, double y, double x0, double y0, double x1, double y1, double r) {
  if (x < x0 || x > x1 || y < y0 || y > y1) return false;
  const double cx = std::clamp(x, x0 + r, x1 - r);
  const double cy = std::clamp(y, y0 + r, y1 - r);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

// Distance from (x, y) to the segment from (ax, ay) to (bx, by).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  const double px = ax + t * dx - x, py = ay + t * dy - y;
  return std::sqrt(px * px + py * py);
}

// The colour at a point of the unit square, painted back to front; false
// where the picture is transparent.
bool Sample(double x, double y, Colour& out) {
  if (!InRoundRect(x, y, 0.04, 0.06, 0.96, 0.98, 0.18)) return false;
  out = kKeyBody;
  if (InRoundRect(x, y, 0.12, 0.10, 0.88, 0.82, 0.12)) out = kKeyTop;
  // Four panes of 0.17 with a gap of 0.04, centred on the key's top face.
  for (double px : {0.305, 0.515}) {
    for (double py : {0.245, 0.455}) {
      if (x >= px && x <= px + 0.17 && y >= py && y <= py + 0.17) out = kPane;
    }
  }
  if (SegmentDistance(x, y, 0.20, 0.18, 0.80, 0.78) <= 0.065) out = kBar;
  return true;
}

}  // namespace

void DrawIcon(int size, uint32_t* pixels) {
  constexpr int kSub = 4;  // samples per pixel along each axis
  for (int row = 0; row < size; ++row) {
    for (int col = 0; col < size; ++col) {
      double r = 0, g = 0, b = 0;
      int covered = 0;
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          const double x = (col + (sx + 0.5) / kSub) / size;
          const double y = (row + (sy + 0.5) / kSub) / size;
          Colour c{};
          if (!Sample(x, y, c)) continue;
          r += c.r;
          g += c.g;
          b += c.b;
          ++covered;
        }
      }
      uint32_t argb = 0;
      if (covered > 0) {
        const auto channel = [covered](double sum) {
          return static_cast<uint32_t>(std::lround(sum / covered)) & 0xFF;
        };
        const uint32_t alpha = static_cast<uint32_t>(covered * 255 / (kSub * kSub));
        argb = (alpha << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
      }
      pixels[static_cast<size_t>(row) * static_cast<size_t>(size) + static_cast<size_t>(col)] =
          argb;
    }
  }
}

}  // namespace quenlock
