#include "plover/controls/art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace plover::controls::art {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// ---- Shapes for the pictures ------------------------------------------------

struct Pt {
  double x, y;
};
using Polygon = std::vector<Pt>;
using Shape = std::vector<Polygon>;  // the union of its polygons

// Where the edges of `poly` cross the line at height y, in increasing order.
// A point of that line is inside when an odd number of them lie to its right
// (the even-odd rule, with the crossings worked out once a line instead of
// once a point).
void Crossings(const Polygon& poly, double y, std::vector<double>& xs) {
  xs.clear();
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Pt& a = poly[i];
    const Pt& b = poly[j];
    if ((a.y > y) != (b.y > y)) xs.push_back((b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x);
  }
  std::sort(xs.begin(), xs.end());
}

bool InsideCrossings(const std::vector<double>& xs, double x) {
  const auto right = xs.end() - std::upper_bound(xs.begin(), xs.end(), x);
  return right % 2 != 0;
}

// Coverage of each pixel by `shape`, drawn in a 32-unit square scaled to
// `size` pixels, from 4 x 4 samples a pixel.
std::vector<double> Coverage(const Shape& shape, int size) {
  std::vector<int> hits(static_cast<size_t>(size) * static_cast<size_t>(size), 0);
  const double unit = 32.0 / size;
  std::vector<std::vector<double>> crossings(shape.size());
  for (int y = 0; y < size; ++y) {
    for (int sy = 0; sy < 4; ++sy) {
      const double py = (y + (sy + 0.5) / 4) * unit;
      for (size_t i = 0; i < shape.size(); ++i) Crossings(shape[i], py, crossings[i]);
      for (int x = 0; x < size; ++x) {
        for (int sx = 0; sx < 4; ++sx) {
          const double px = (x + (sx + 0.5) / 4) * unit;
          if (std::any_of(crossings.begin(), crossings.end(),
                          [&](const std::vector<double>& xs) { return InsideCrossings(xs, px); })) {
            ++hits[static_cast<size_t>(y * size + x)];
          }
        }
      }
    }
  }
  std::vector<double> out(hits.size());
  for (size_t i = 0; i < hits.size(); ++i) out[i] = hits[i] / 16.0;
  return out;
}

// Paints `shape` in `fill` with a one-pixel `outline` around it.
void Paint(Image& image, const Shape& shape, uint32_t fill, std::optional<uint32_t> outline) {
  const int size = image.width;
  const std::vector<double> cover = Coverage(shape, size);
  auto at = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= size || y >= size) return 0.0;
    return cover[static_cast<size_t>(y * size + x)];
  };
  if (outline) {
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        double around = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) around = std::max(around, at(x + dx, y + dy));
        }
        Blend(image, x, y, Opaque(*outline), around);
      }
    }
  }
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) Blend(image, x, y, Opaque(fill), at(x, y));
  }
}

Polygon Rect(double l, double t, double r, double b) {
  return {{l, t}, {r, t}, {r, b}, {l, b}};
}

Polygon RoundRect(double l, double t, double r, double b, double radius) {
  Polygon p;
  const double pi = 3.14159265358979323846;
  const std::array<Pt, 4> centres{{{r - radius, t + radius},
                                   {r - radius, b - radius},
                                   {l + radius, b - radius},
                                   {l + radius, t + radius}}};
  for (int corner = 0; corner < 4; ++corner) {
    const double start = -pi / 2 + corner * pi / 2;
    for (int i = 0; i <= 6; ++i) {
      const double a = start + i * (pi / 2) / 6;
      p.push_back({centres[static_cast<size_t>(corner)].x + radius * std::cos(a),
                   centres[static_cast<size_t>(corner)].y + radius * std::sin(a)});
    }
  }
  return p;
}

// An arrow along y = mid from `tail` to the tip at `tip` (either direction).
Shape Arrow(double tail, double tip, double mid, double shaft, double head, double headLength) {
  const double dir = tip > tail ? 1 : -1;
  const double neck = tip - dir * headLength;
  Polygon body = Rect(std::min(tail, neck), mid - shaft / 2, std::max(tail, neck), mid + shaft / 2);
  Polygon point{{neck, mid - head / 2}, {tip, mid}, {neck, mid + head / 2}};
  return {body, point};
}

// ---- The button's state images --------------------------------------------

struct StateLook {
  uint32_t rim;
  std::vector<uint32_t> rows;  // the inside, rows 1 to 18
  // Side columns 1 and 2 (mirrored at 43 and 42) where they differ from the
  // rows: 0 keeps the row's colour lightened as the inner highlight.
  uint32_t side1, side2;
};

std::vector<uint32_t> InsideRows(uint32_t top, uint32_t from, uint32_t to, uint32_t low1,
                                 uint32_t low2) {
  std::vector<uint32_t> rows{top};
  for (int i = 0; i < 15; ++i) rows.push_back(GradientStep(from, to, i, 15));  // 14 steps
  rows.push_back(low1);
  rows.push_back(low2);
  return rows;
}

StateLook LookOf(int index) {
  switch (index) {
    case kImageDisabled: {
      std::vector<uint32_t> rows{0xFFE762, 0xFBB833};
      for (int i = 0; i < 14; ++i) rows.push_back(GradientStep(0xECF7FF, 0x9ED2FF, i, 14));
      rows.push_back(0xEBB133);
      rows.push_back(0xE5E362);
      return {0x336BA4, rows, 0xFAB52D, 0xE5E768};
    }
    case kImageHover:
      return {0x2360B1, InsideRows(kWhite, 0xF2FAFF, 0xB8E0FF, 0xB7E1FF, 0xCEF7FF), 0, 0};
    case kImagePressed:
      return {0x2360B1, InsideRows(0xCBF3FC, 0x9BC9EE, 0xCAEBFD, 0xC7E6F7, 0xD1F6FC), 0, 0};
    default:
      return {0x2360B1, InsideRows(kWhite, 0xECF8FF, 0x9ED2FF, 0x9DD3FF, 0xBAF4FF), 0, 0};
  }
}

// Rounded corners: the corner pixel white, the two beside it half rim and
// half white, the diagonal pixel inside rim.
void RoundCorners(Image& img, uint32_t rim, uint32_t outside) {
  const int r = img.width - 1, b = img.height - 1;
  const uint32_t soft = Mix(rim, outside, 0.5);
  const std::array<std::array<int, 4>, 4> corners{
      {{0, 0, 1, 1}, {r, 0, -1, 1}, {0, b, 1, -1}, {r, b, -1, -1}}};
  for (const auto& c : corners) {
    const int x = c[0], y = c[1], dx = c[2], dy = c[3];
    img.Set(x, y, Opaque(outside));
    img.Set(x + dx, y, Opaque(soft));
    img.Set(x, y + dy, Opaque(soft));
    img.Set(x + dx, y + dy, Opaque(rim));
  }
}

// ---- The caption buttons ----------------------------------------------------

struct CaptionLook {
  uint32_t rim;
  uint32_t top, middle, bottom;
  uint32_t glyph;
  std::optional<uint32_t> outline;
};

// A face whose middle is halfway between its top and bottom, and a glyph
// without an outline.
CaptionLook EvenLook(uint32_t rim, uint32_t top, uint32_t bottom, uint32_t glyph) {
  return {rim, top, Mix(top, bottom, 0.5), bottom, glyph, {}};
}

// State 2 is hover, 3 pressed, anything else normal.
CaptionLook CaptionLookOf(CaptionButton button, int state) {
  const size_t i = state == 2 || state == 3 ? static_cast<size_t>(state - 1) : 0;
  if (button == CaptionButton::kClose) {
    const CaptionLook close[] = {EvenLook(0xB12602, 0xF66D24, 0xAC4B1B, 0xFBCBBB),
                                 EvenLook(0xB52802, 0xF77622, 0xCA6215, kWhite),
                                 EvenLook(0x610C00, 0x922B0E, 0xA24419, 0xEDC5B9)};
    return close[i];
  }
  const CaptionLook other[] = {{0x1767B6, 0xA5CEFF, 0x7DB7FF, 0x669ADE, 0xD8EAFF, 0x2F5C99},
                               EvenLook(0x186DBA, 0xA8D2FF, 0x6BBCEA, kWhite),
                               EvenLook(0x0A3971, 0x3E6399, 0x6794D0, 0xC8D4E5)};
  return other[i];
}

// The glyphs on the 16-pixel grid: which pixels belong to them.
bool MaximiseGlyph(int x, int y) {
  if (x < 4 || x > 11 || y < 4 || y > 11) return false;
  return x == 4 || x == 11 || y == 11 || y <= 6;  // outline with a 3-pixel title band
}

bool RestoreGlyph(int x, int y) {
  // The front window: columns 4 to 9, rows 6 to 11, a 2-pixel title band.
  const bool inFront = x >= 4 && x <= 9 && y >= 6 && y <= 11;
  if (inFront) return x == 4 || x == 9 || y == 11 || y <= 7;
  // The one behind, showing where the front one does not cover it.
  const bool inBack = x >= 6 && x <= 11 && y >= 4 && y <= 9;
  if (inBack) return x == 11 || y == 9 || y <= 5;
  return false;
}

bool MinimiseGlyph(int x, int y) {
  return x >= 4 && x <= 11 && y >= 10 && y <= 11;
}

double CloseGlyphCoverage(int x, int y) {
  // Two strokes from corner to corner of columns and rows 4 to 11.
  int hits = 0;
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
      if (px < 4 || px > 12 || py < 4 || py > 12) continue;
      const double d1 = std::abs(px - py) / std::sqrt(2.0);
      const double d2 = std::abs(px + py - 16) / std::sqrt(2.0);
      if (std::min(d1, d2) <= 0.95) ++hits;
    }
  }
  return hits / 16.0;
}

// ---- The hand pointer ---------------------------------------------------------

// X black, o white, anything else transparent.
constexpr std::array<std::string_view, 21> kHand{
    ".....XX..........",  //
    "....XooX.........",  //
    "....XooX.........",  //
    "....XooX.........",  //
    "....XooX.........",  //
    "....XooXXX.......",  //
    "....XooXooXXX....",  //
    "....XooXooXooXX..",  //
    ".XX.XooXooXooXoX.",  //
    "XooXXooXooXooXoX.",  //
    "XoooXooooooooooX.",  //
    ".XooXoooooooooooX",  //
    "..XoXoooooooooooX",  //
    "..XooooooooooooX.",  //
    "...XoooooooooooX.",  //
    "...XoooooooooooX.",  //
    "....XooooooooooX.",  //
    "....XoooooooooX..",  //
    ".....XooooooooX..",  //
    ".....XooooooooX..",  //
    ".....XXXXXXXXXX..",  //
};

}  // namespace

Image ButtonStateImage(int index) {
  const StateLook look = LookOf(index);
  Image img(45, 20, Opaque(look.rim));
  for (int y = 1; y <= 18; ++y) {
    const uint32_t row = look.rows[static_cast<size_t>(y - 1)];
    for (int x = 1; x <= 43; ++x) img.Set(x, y, Opaque(row));
    if (look.side1 != 0) {
      // An inner ring in its own colours beside the top and bottom rows.
      if (y >= 3 && y <= 16) {
        img.Set(1, y, Opaque(look.side1));
        img.Set(43, y, Opaque(look.side1));
        img.Set(2, y, Opaque(look.side2));
        img.Set(42, y, Opaque(look.side2));
      }
    } else if (y >= 2) {
      // The inner highlight down the sides.
      img.Set(1, y, Opaque(Mix(row, kWhite, 0.5)));
      img.Set(43, y, Opaque(Mix(row, kWhite, 0.5)));
    }
  }
  RoundCorners(img, look.rim, kWhite);
  return img;
}

Image Skin() {
  constexpr uint32_t kBorder = 0x1E3E93;
  Image img(256, 159, Opaque(kBorder));
  for (int y = 1; y <= 157; ++y) {
    uint32_t row;
    uint32_t outer, inner;  // columns 1 and 2, mirrored at 254 and 253
    if (y == 1) {
      row = 0x99D5F6;
    } else if (y <= 19) {
      row = GradientStep(0x1577D3, 0x68B6F7, y - 2, 18);
    } else if (y == 20) {
      row = 0x4F93D5;
    } else if (y <= 155) {
      row = GradientStep(kWhite, 0xCCEBFF, y - 21, 135);
    } else if (y == 156) {
      row = 0x439BED;
    } else {
      row = 0x6BCEF5;
    }
    if (y <= 20) {
      // The title band is lighter just inside the side borders.
      inner = GradientStep(0x2BC3ED, 0xAADCFA, y - 1, 20);
      outer = Mix(inner, kWhite, 0.25);
    } else if (y <= 155) {
      outer = 0x4EA7ED;
      inner = 0xAADCFA;
    } else {
      outer = inner = row;
    }
    for (int x = 1; x <= 254; ++x) img.Set(x, y, Opaque(row));
    img.Set(1, y, Opaque(outer));
    img.Set(254, y, Opaque(outer));
    img.Set(2, y, Opaque(inner));
    img.Set(253, y, Opaque(inner));
  }
  // Round corners: white outside, the border cutting across.
  for (const auto& [x, y, dx, dy] : std::array<std::array<int, 4>, 4>{
           {{0, 0, 1, 1}, {255, 0, -1, 1}, {0, 158, 1, -1}, {255, 158, -1, -1}}}) {
    img.Set(x, y, Opaque(kWhite));
    img.Set(x + dx, y, Opaque(kWhite));
    img.Set(x, y + dy, Opaque(kWhite));
    img.Set(x + dx, y + dy, Opaque(kBorder));
  }
  return img;
}

Image CaptionButtonImage(CaptionButton button, int image) {
  const bool restore = button == CaptionButton::kMax && image >= kRestoreNormal;
  const int state = restore ? image - 3 : image;
  const CaptionLook look = CaptionLookOf(button, state);
  Image img(16, 16, Opaque(look.rim));
  for (int y = 1; y <= 14; ++y) {
    const uint32_t c = y <= 7 ? GradientStep(look.top, look.middle, y - 1, 7)
                              : GradientStep(look.middle, look.bottom, y - 8, 7);
    for (int x = 1; x <= 14; ++x) img.Set(x, y, Opaque(c));
  }
  for (const auto& [x, y] :
       std::array<std::array<int, 2>, 4>{{{0, 0}, {15, 0}, {0, 15}, {15, 15}}}) {
    img.Set(x, y, Opaque(0x1779D4));
  }

  if (button == CaptionButton::kClose) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) Blend(img, x, y, Opaque(look.glyph), CloseGlyphCoverage(x, y));
    }
    return img;
  }
  auto glyph = [&](int x, int y) {
    if (button == CaptionButton::kMin) return MinimiseGlyph(x, y);
    return restore ? RestoreGlyph(x, y) : MaximiseGlyph(x, y);
  };
  for (int y = 1; y <= 14; ++y) {
    for (int x = 1; x <= 14; ++x) {
      if (glyph(x, y)) {
        img.Set(x, y, Opaque(look.glyph));
      } else if (look.outline &&
                 (glyph(x - 1, y) || glyph(x + 1, y) || glyph(x, y - 1) || glyph(x, y + 1))) {
        img.Set(x, y, Opaque(*look.outline));
      }
    }
  }
  return img;
}

Image HandPointer() {
  Image img(32, 32, 0);
  for (size_t y = 0; y < kHand.size(); ++y) {
    for (size_t x = 0; x < kHand[y].size(); ++x) {
      const char c = kHand[y][x];
      if (c == 'X') img.Set(static_cast<int>(x), static_cast<int>(y), Opaque(0x000000));
      if (c == 'o') img.Set(static_cast<int>(x), static_cast<int>(y), Opaque(kWhite));
    }
  }
  return img;
}

Image SwitchPicture(int size) {
  Image img(size, size, 0);
  // Two arrows passing each other: this way, and back.
  Paint(img, Arrow(3, 29, 10, 5, 12, 9), 0x2FA84F, 0x1B5E2C);
  Paint(img, Arrow(29, 3, 22, 5, 12, 9), 0x2F7FE0, 0x163F78);
  return img;
}

Image LoaderPicture(int size) {
  Image img(size, size, 0);
  // A page with a folded corner and lines of text ...
  Polygon page{{5, 2}, {19, 2}, {26, 9}, {26, 30}, {5, 30}};
  Paint(img, {page}, 0xFFFFFF, 0x4A5D7E);
  Paint(img, {Polygon{{19, 2}, {19, 9}, {26, 9}}}, 0xD5DEEA, 0x4A5D7E);
  for (int i = 0; i < 4; ++i) {
    const double y = 12 + i * 4;
    Paint(img, {Rect(9, y, i % 2 ? 18 : 22, y + 1.5)}, 0x8090A8, std::nullopt);
  }
  // ... that starts the game.
  Paint(img, {Polygon{{17, 18}, {30, 24.5}, {17, 31}}}, 0x2FA84F, 0x1B5E2C);
  return img;
}

Image AppIcon(int size) {
  Image img(size, size, 0);
  Paint(img, {RoundRect(1, 1, 31, 31, 6)}, 0x123F80, std::nullopt);
  Paint(img, {RoundRect(2.2, 2.2, 29.8, 29.8, 5)}, 0x1E6FD0, std::nullopt);
  // A lighter upper half, as on the title bar.
  Paint(img, {RoundRect(3, 3, 29, 15, 4)}, 0x4E9BEA, std::nullopt);
  Paint(img, Arrow(6, 27, 11, 4, 10, 7), 0xFFFFFF, std::nullopt);
  Paint(img, Arrow(26, 5, 21, 4, 10, 7), 0xFFE36A, std::nullopt);
  return img;
}

}  // namespace plover::controls::art
