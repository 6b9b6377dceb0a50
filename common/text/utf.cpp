// The conversions that need no allocation: Quenlock links only these.
#include "common/text/codepage.h"

#include <cstdint>

namespace plover::text {
namespace {

// Decodes one scalar value at `i`; returns false on malformed input.
bool DecodeOne(std::string_view s, size_t& i, char32_t& out) {
  const auto b0 = static_cast<uint8_t>(s[i]);
  if (b0 < 0x80) {
    out = b0;
    ++i;
    return true;
  }
  int extra;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    out = b0 & 0x1F;
    min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    out = b0 & 0x0F;
    min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    out = b0 & 0x07;
    min = 0x10000;
  } else {
    return false;
  }
  if (i + static_cast<size_t>(extra) >= s.size()) return false;
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) return false;
    out = (out << 6) | (b & 0x3F);
  }
  if (out < min || out > 0x10FFFF || (out >= 0xD800 && out <= 0xDFFF)) return false;
  i += extra + 1;
  return true;
}

}  // namespace

bool OneCharacterUtf16(std::string_view character, char16_t (&units)[2], std::size_t& count) {
  count = Utf8ToUtf16(character, units, 2);
  if (count == 0 || count == kNoFit) return false;
  // Two units are one character only as a surrogate pair.
  return count == 1 || (units[0] >= 0xD800 && units[0] <= 0xDBFF);
}

bool IsValidUtf8(std::string_view utf8) {
  size_t i = 0;
  char32_t c;
  while (i < utf8.size()) {
    if (!DecodeOne(utf8, i, c)) return false;
  }
  return true;
}

std::size_t Utf8ToUtf16(std::string_view utf8, char16_t* out, std::size_t capacity) {
  std::size_t n = 0;
  size_t i = 0;
  char32_t c;
  while (i < utf8.size()) {
    if (!DecodeOne(utf8, i, c)) return kNoFit;
    if (c >= 0x10000) {
      if (capacity - n < 2) return kNoFit;
      c -= 0x10000;
      out[n++] = static_cast<char16_t>(0xD800 + (c >> 10));
      out[n++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      if (n == capacity) return kNoFit;
      out[n++] = static_cast<char16_t>(c);
    }
  }
  return n;
}

}  // namespace plover::text
