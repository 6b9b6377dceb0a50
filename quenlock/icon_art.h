// Quenlock's picture, drawn in code: a dark key cap carrying a four-pane
// window sign, struck through by a red bar. Plain pixels, so that any size
// can be made and checked without Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quenlock {

// `size` x `size` pixels, rows from the top, each 0xAARRGGBB with straight
// (not premultiplied) alpha; the edges are smoothed.
// Into `pixels`, which holds `size` x `size` values.
void DrawIcon(int size, uint32_t* pixels);
inline std::vector<uint32_t> DrawIcon(int size) {
  if (size <= 0) return {};
  std::vector<uint32_t> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
  DrawIcon(size, pixels.data());
  return pixels;
}

}  // namespace quenlock
