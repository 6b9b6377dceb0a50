#include "plover/versions/version_name.h"

#include "plover/base/file_system.h"

namespace plover::versions {

bool IsStorableName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  if (name.back() == '.' || name.back() == ' ') return false;
  // Windows takes a device name with any extension as the device itself.
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  const std::string upper = fs::UpperAscii(stem);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return false;
  if (upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
      upper[3] >= '1' && upper[3] <= '9') {
    return false;
  }
  return true;
}

}  // namespace plover::versions
