#include "plover/controls/image.h"

#include <algorithm>
#include <cmath>

namespace plover::controls {

Image::Image(int w, int h, Argb fill)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

void Image::Fill(Argb c) {
  std::fill(pixels.begin(), pixels.end(), c);
}

void Image::FillRect(int x, int y, int w, int h, Argb c) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, width), y1 = std::min(y + h, height);
  for (int j = y0; j < y1; ++j) {
    for (int i = x0; i < x1; ++i) pixels[Index(i, j)] = c;
  }
}

namespace {

int Channel(uint32_t c, int shift) {
  return static_cast<int>((c >> shift) & 0xFF);
}

int Lerp(int a, int b, double t) {
  return std::clamp(static_cast<int>(std::lround(a + (b - a) * t)), 0, 255);
}

}  // namespace

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  const int r = Lerp(Channel(a, 16), Channel(b, 16), t);
  const int g = Lerp(Channel(a, 8), Channel(b, 8), t);
  const int bl = Lerp(Channel(a, 0), Channel(b, 0), t);
  return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
         static_cast<uint32_t>(bl);
}

uint32_t GradientStep(uint32_t from, uint32_t to, int i, int steps) {
  if (steps <= 1) return from & 0xFFFFFFu;
  return Mix(from, to, static_cast<double>(i) / (steps - 1));
}

void Blend(Image& image, int x, int y, Argb c, double coverage) {
  if (!image.Contains(x, y) || coverage <= 0) return;
  coverage = std::min(coverage, 1.0) * AlphaOf(c) / 255.0;
  const Argb under = image.At(x, y);
  const double underAlpha = AlphaOf(under) / 255.0;
  const double outAlpha = coverage + underAlpha * (1 - coverage);
  if (outAlpha <= 0) return;
  // Colour of the result, weighted by how much each layer shows.
  const double wTop = coverage / outAlpha;
  const uint32_t rgb = Mix(RgbOf(under), RgbOf(c), wTop);
  const auto a = static_cast<uint32_t>(std::lround(outAlpha * 255));
  image.Set(x, y, (a << 24) | rgb);
}

}  // namespace plover::controls
