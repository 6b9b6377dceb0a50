// Quenlock's picture, drawn in code: a dark key cap carrying a four-pane
// window sign, struck through by a red bar. Plain pixels, so that any size
// can be made and checked without Windows.
#pragma once

#include <cstdint>
#include <vector>

namespace quenlock {

// `size` x `size` pixels, rows from the top, each 0xAARRGGBB with straight
// (not premultiplied) alpha; the edges are smoothed.
std::vector<uint32_t> DrawIcon(int size);

}  // namespace quenlock
