// File versions read from the version resources of real files.
#include "plover/versions/win32/file_version.h"

#include <gtest/gtest.h>

#include <string>

#include "common/win32/win32_util.h"

namespace plover::versions {
namespace {

std::string VersionedDll(const char* version) {
  return std::string(PLOVER_VERSIONED_DIR) + "\\" + version + "\\Game.dll";
}

TEST(FileVersionTest, ReadsTheFixedFileVersion) {
  EXPECT_EQ(ReadFileVersion(VersionedDll("1.20.4.6074")), (ui::FileVersion{1, 20, 4, 6074}));
  EXPECT_EQ(ReadFileVersion(VersionedDll("1.24.4.6387")), (ui::FileVersion{1, 24, 4, 6387}));
  EXPECT_EQ(ReadFileVersion(VersionedDll("1.26.0.6401")), (ui::FileVersion{1, 26, 0, 6401}));
}

TEST(FileVersionTest, NoResourceOrNoFileGivesNothing) {
  EXPECT_EQ(ReadFileVersion(std::string(PLOVER_VERSIONED_DIR) + "\\missing.dll"), std::nullopt);
  // The test program itself carries no version resource.
  EXPECT_EQ(ReadFileVersion(win::ExecutablePath().value_or("")), std::nullopt);
}

}  // namespace
}  // namespace plover::versions
