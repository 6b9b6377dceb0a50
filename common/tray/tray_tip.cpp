#include "common/tray/tray_tip.h"

#include <cstdint>

#include "common/text/codepage.h"

namespace plover::tray {
namespace {

// Length in bytes of the UTF-8 sequence that starts with `lead`, 0 when
// `lead` cannot start one.
std::size_t SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// Bytes the character takes in code page 936; 0 when `ch` is not a
// well-formed UTF-8 character.
std::size_t GbkWidth(std::string_view ch) {
  if (ch.size() == 1) return 1;
  if (!text::IsValidUtf8(ch)) return 0;
  const std::size_t width = text::GbkWidthOf(ch);
  return width ? width : 2;
}

}  // namespace

std::size_t TipLength(std::string_view utf8, std::size_t limit) {
  std::size_t used = 0;  // code page 936 bytes taken so far
  std::size_t end = 0;   // UTF-8 bytes kept so far
  while (end < utf8.size()) {
    const std::size_t len = SequenceLength(static_cast<uint8_t>(utf8[end]));
    if (len == 0 || end + len > utf8.size()) break;
    const std::size_t width = GbkWidth(std::string_view(utf8.data() + end, len));
    if (width == 0 || used + width > limit) break;
    used += width;
    end += len;
  }
  return end;
}

}  // namespace plover::tray
