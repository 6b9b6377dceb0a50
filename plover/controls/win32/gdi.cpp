#include "plover/controls/win32/gdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/win32/scoped.h"

namespace plover::controls::gdi {

namespace {

BITMAPINFO TopDown32(int w, int h) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// Rows of a monochrome bitmap: one bit a pixel, rows padded to 16 bits.
class MonoBits {
 public:
  MonoBits(int w, int h)
      : stride_(((w + 15) / 16) * 2), bytes_(static_cast<size_t>(stride_ * h), 0) {}
  void Set(int x, int y) {
    bytes_[static_cast<size_t>(y * stride_ + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
  }
  const BYTE* data() const { return bytes_.data(); }

 private:
  int stride_;
  std::vector<BYTE> bytes_;
};

}  // namespace

bool Surface::Resize(int w, int h) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  if (bitmap_ && w == width_ && h == height_) return true;
  dc_.reset();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  win::UniqueDC dc(CreateCompatibleDC(win::ScreenDC().get()));
  BITMAPINFO bi = TopDown32(w, h);
  void* bits = nullptr;
  win::UniqueBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc || !bitmap || !bits) return false;
  SelectObject(dc.get(), bitmap.get());
  bitmap_ = std::move(bitmap);
  dc_ = std::move(dc);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = w;
  height_ = h;
  return true;
}

void Surface::Put(const Image& image) {
  if (!bits_) return;
  GdiFlush();
  const int w = std::min(width_, image.width);
  const int h = std::min(height_, image.height);
  for (int y = 0; y < h; ++y) {
    std::memcpy(bits_ + static_cast<size_t>(y) * static_cast<size_t>(width_),
                image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width),
                static_cast<size_t>(w) * sizeof(uint32_t));
  }
}

uint32_t Surface::RgbAt(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] &
         0xFFFFFFu;
}

void Surface::CopyTo(HDC target, int x, int y) const {
  if (dc_) BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

void DrawImage(HDC target, const Image& image, int x, int y) {
  if (image.width <= 0 || image.height <= 0) return;
  BITMAPINFO bi = TopDown32(image.width, image.height);
  SetDIBitsToDevice(target, x, y, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height),
                    0, 0, 0, static_cast<UINT>(image.height), image.pixels.data(), &bi,
                    DIB_RGB_COLORS);
}

win::UniqueIcon MakeIcon(const Image& image) {
  BITMAPINFO bi = TopDown32(image.width, image.height);
  void* bits = nullptr;
  win::UniqueBitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!colour || !bits) return {};
  std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(uint32_t));
  MonoBits mask(image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (AlphaOf(image.At(x, y)) == 0) mask.Set(x, y);
    }
  }
  win::UniqueBitmap maskBitmap(CreateBitmap(image.width, image.height, 1, 1, mask.data()));
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = maskBitmap.get();
  info.hbmColor = colour.get();
  return win::UniqueIcon(CreateIconIndirect(&info));
}

win::UniqueCursor MakePointer(const Image& image, int hotX, int hotY) {
  MonoBits andMask(image.width, image.height);
  MonoBits xorMask(image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Argb c = image.At(x, y);
      if (AlphaOf(c) == 0) {
        andMask.Set(x, y);
      } else if (RgbOf(c) != 0) {
        xorMask.Set(x, y);
      }
    }
  }
  return win::UniqueCursor(CreateCursor(GetModuleHandleW(nullptr), hotX, hotY, image.width,
                                        image.height, andMask.data(), xorMask.data()));
}

SIZE IconSize(HICON icon) {
  SIZE size{0, 0};
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return size;
  // The icon's bitmaps are copies that are the caller's.
  const win::UniqueBitmap colour(info.hbmColor);
  const win::UniqueBitmap mask(info.hbmMask);
  BITMAP bm{};
  if (colour && GetObjectW(colour.get(), sizeof bm, &bm)) {
    size = {bm.bmWidth, bm.bmHeight};
  } else if (mask && GetObjectW(mask.get(), sizeof bm, &bm)) {
    size = {bm.bmWidth, bm.bmHeight / 2};  // a monochrome icon: both masks, one above the other
  }
  return size;
}

}  // namespace plover::controls::gdi
