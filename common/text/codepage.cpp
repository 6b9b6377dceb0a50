// The code page 936 policy of both builds. The systems' tables differ at the
// edges: iconv drops the tag characters U+E0000-U+E007F without a word, and
// Windows gives the private use area to the user-defined areas of code page
// 936 (each system in its own extent) and turns U+F8F5 into the single byte
// 0xFF, which does not decode. So a conversion is kept only when it is exact
// both ways, and the private use area is refused everywhere: a character
// either encodes to bytes that decode back to it, or it has no form.
#include "common/text/codepage.h"

#include <cstdint>

#include "common/text/codepage_platform.h"

namespace plover::text {
namespace {

// True when well-formed UTF-8 holds a character of the private use area
// U+E000-U+F8FF, whose three-byte forms run from EE 80 80 to EF A3 BF.
bool HoldsPrivateUse(std::string_view utf8) {
  for (size_t i = 0; i + 1 < utf8.size(); ++i) {
    const auto b0 = static_cast<uint8_t>(utf8[i]);
    const auto b1 = static_cast<uint8_t>(utf8[i + 1]);
    if (b0 == 0xEE || (b0 == 0xEF && b1 <= 0xA3)) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  if (!IsValidUtf8(utf8) || HoldsPrivateUse(utf8)) return std::nullopt;
  auto gbk = platform::EncodeGbk(utf8);
  if (!gbk) return std::nullopt;
  const auto back = platform::DecodeGbk(*gbk);
  if (!back || *back != utf8) return std::nullopt;
  return gbk;
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  auto utf8 = platform::DecodeGbk(gbk);
  if (!utf8 || !IsValidUtf8(*utf8) || HoldsPrivateUse(*utf8)) return std::nullopt;
  const auto back = platform::EncodeGbk(*utf8);
  if (!back || *back != gbk) return std::nullopt;
  return utf8;
}

}  // namespace plover::text
