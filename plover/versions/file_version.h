// The file version a.b.c.d of a program file, from its version resource.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace plover::versions {

struct FileVersion {
  uint16_t a = 0, b = 0, c = 0, d = 0;
  bool operator==(const FileVersion&) const = default;
};

// The fixed file version of the file at `path` (UTF-8); nullopt when the
// file is missing or carries no version resource.
std::optional<FileVersion> ReadFileVersion(const std::string& path);

}  // namespace plover::versions
