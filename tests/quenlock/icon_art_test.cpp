// The drawn picture: transparent outside the key cap, opaque inside it, and
// the red bar across the middle at every size the system asks for.
#include "quenlock/icon_art.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quenlock {
namespace {

uint32_t At(const std::vector<uint32_t>& p, int size, int x, int y) {
  return p[static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)];
}
uint32_t Alpha(uint32_t argb) {
  return argb >> 24;
}
uint32_t Red(uint32_t argb) {
  return (argb >> 16) & 0xFF;
}
uint32_t Green(uint32_t argb) {
  return (argb >> 8) & 0xFF;
}

TEST(IconArt, EverySystemSizeHasTransparentCornersAndAnOpaqueRedCentre) {
  for (int size : {16, 20, 24, 32, 40, 48, 64}) {
    SCOPED_TRACE(size);
    const auto pixels = DrawIcon(size);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size));
    EXPECT_EQ(Alpha(At(pixels, size, 0, 0)), 0u);
    EXPECT_EQ(Alpha(At(pixels, size, size - 1, 0)), 0u);
    EXPECT_EQ(Alpha(At(pixels, size, 0, size - 1)), 0u);
    EXPECT_EQ(Alpha(At(pixels, size, size - 1, size - 1)), 0u);
    const uint32_t centre = At(pixels, size, size / 2, size / 2);
    EXPECT_EQ(Alpha(centre), 255u);
    EXPECT_GT(Red(centre), 200u);
    EXPECT_LT(Green(centre), 80u);
    // Fully transparent pixels carry no colour.
    for (uint32_t p : pixels) {
      if (Alpha(p) == 0) {
        EXPECT_EQ(p, 0u);
      }
    }
  }
}

TEST(IconArt, NoSizeGivesNoPixels) {
  EXPECT_TRUE(DrawIcon(0).empty());
  EXPECT_TRUE(DrawIcon(-3).empty());
}

}  // namespace
}  // namespace quenlock
