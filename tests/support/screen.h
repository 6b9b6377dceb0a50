// The screen read back for tests: a part of it as pixels, one pixel, and
// pictures saved as 24-bit BMP files to look at after a run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace plover::testing {

struct ScreenImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB, rows top to bottom

  bool empty() const { return rgb.empty(); }
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

// The rectangle `area` (screen coordinates) as the screen shows it; empty
// when the rectangle is empty or the screen cannot be read.
ScreenImage CaptureScreen(const RECT& area);
// One pixel of the screen, 0xRRGGBB.
uint32_t ScreenPixel(int x, int y);
// The client area of a window, in screen coordinates.
RECT ClientOnScreen(HWND hwnd);

// Writes the picture as a 24-bit BMP file (the folder must exist); false when
// the picture is empty or the file cannot be written.
bool SaveBmp(const ScreenImage& image, const std::wstring& path);

}  // namespace plover::testing
