// Pixel images on the screen: a retained drawing surface, and icons and
// pointers made from images.
#pragma once

#include <windows.h>

#include "common/win32/owned.h"
#include "plover/controls/image.h"

namespace plover::controls::gdi {

// A 32-bit bitmap with a memory device context, kept between paints: what is
// drawn on it stays until it is drawn over.
class Surface {
 public:
  // A new, black surface of w x h pixels (at least 1 x 1).
  bool Resize(int w, int h);
  int width() const { return width_; }
  int height() const { return height_; }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  // Copies `image` (same size, alpha ignored) onto the surface.
  void Put(const Image& image);
  // The surface's pixel at (x, y) as 0xRRGGBB.
  uint32_t RgbAt(int x, int y) const;
  // Copies the surface to `target` with its top-left corner at (x, y).
  void CopyTo(HDC target, int x = 0, int y = 0) const;

 private:
  // The device context goes first, releasing the bitmap selected into it.
  win::UniqueBitmap bitmap_;
  win::UniqueDC dc_;
  uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

// Draws `image` (opaque) to `target` with its top-left corner at (x, y).
void DrawImage(HDC target, const Image& image, int x, int y);

// An icon with an alpha channel.
win::UniqueIcon MakeIcon(const Image& image);
// A monochrome pointer: transparent pixels (alpha 0) show what is under it,
// the others are black or white.
win::UniqueCursor MakePointer(const Image& image, int hotX, int hotY);

// The size of an icon, in pixels.
SIZE IconSize(HICON icon);

}  // namespace plover::controls::gdi
