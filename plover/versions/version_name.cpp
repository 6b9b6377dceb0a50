#include "plover/versions/version_name.h"

#include <string>

#include "common/text/codepage.h"
#include "plover/base/file_system.h"
#include "plover/versions/version_file.h"

namespace plover::versions {
namespace {

// A device name: the name up to its first dot, blanks before the dot left
// out, in any letter case.
bool NamesDevice(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  const std::string upper = fs::UpperAscii(stem);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "CONIN$" ||
      upper == "CONOUT$") {
    return true;
  }
  if (!upper.starts_with("COM") && !upper.starts_with("LPT")) return false;
  const std::string_view digit = std::string_view(upper).substr(3);
  // 0-9, or ¹ ² ³ (U+00B9, U+00B2, U+00B3), which Windows reads as digits.
  return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\u00B9" ||
         digit == "\u00B2" || digit == "\u00B3";
}

}  // namespace

bool IsStorableName(std::string_view name, std::string_view appDir) {
  if (name.empty() || !text::IsValidUtf8(name)) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  if (name.back() == '.' || name.back() == ' ') return false;
  if (NamesDevice(name)) return false;
  const auto units = Utf16Length(StoreFolderPath(appDir, name));
  return units && *units + kRoomBelowStore <= kPathLimit;
}

}  // namespace plover::versions
