// Pixel images held in memory, independent of any window system: the skinned
// controls compose their looks in these and hand the result to the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plover::controls {

// 0xAARRGGBB; alpha 0xFF is opaque.
using Argb = uint32_t;

constexpr Argb Opaque(uint32_t rgb) {
  return 0xFF000000u | (rgb & 0xFFFFFFu);
}
constexpr uint32_t RgbOf(Argb c) {
  return c & 0xFFFFFFu;
}
constexpr int AlphaOf(Argb c) {
  return static_cast<int>(c >> 24);
}

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Argb> pixels;  // rows top to bottom

  Image() = default;
  Image(int w, int h, Argb fill = 0);

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Argb At(int x, int y) const { return pixels[Index(x, y)]; }
  uint32_t RgbAt(int x, int y) const { return RgbOf(At(x, y)); }
  // Writes inside the image only; points outside are ignored.
  void Set(int x, int y, Argb c) {
    if (Contains(x, y)) pixels[Index(x, y)] = c;
  }
  void Fill(Argb c);
  void FillRect(int x, int y, int w, int h, Argb c);

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
  }
};

// Straight interpolation between two RGB colours, t from 0 (a) to 1 (b).
uint32_t Mix(uint32_t a, uint32_t b, double t);
// Step `i` of a gradient of `steps` colours from `from` to `to` (the first
// step is `from`, the last one `to`).
uint32_t GradientStep(uint32_t from, uint32_t to, int i, int steps);
// Paints `c` over the pixel with the given coverage (0 to 1), keeping the
// pixel's own alpha where it is more opaque.
void Blend(Image& image, int x, int y, Argb c, double coverage);

}  // namespace plover::controls
