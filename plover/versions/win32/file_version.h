// The file version of a program file, from its version resource, on the
// real file system.
#pragma once

#include <optional>
#include <string>

#include "plover/base/ui.h"

namespace plover::versions {

// The fixed file version of the file at `path` (UTF-8); nullopt when the
// file is missing or carries no version resource.
std::optional<ui::FileVersion> ReadFileVersion(const std::string& path);

class Win32FileVersionReader final : public ui::FileVersionReader {
 public:
  std::optional<ui::FileVersion> Read(const std::string& path) override {
    return ReadFileVersion(path);
  }
};

}  // namespace plover::versions
