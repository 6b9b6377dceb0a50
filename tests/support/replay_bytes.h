// The first bytes of replay files as the game writes them, for tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plover::testing {

inline void PutWord(std::string& b, size_t at, uint32_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
inline void PutDword(std::string& b, size_t at, uint32_t v) {
  PutWord(b, at, v & 0xFFFF);
  PutWord(b, at + 2, v >> 16);
}

// A replay of `total` bytes as the game writes it: header version 1 with
// `product`, or header version 0 (patches up to 1.06).
inline std::string Replay(uint32_t patch, uint32_t build, int headerVersion = 1,
                          std::string_view product = "PX3W", uint32_t total = 0x200) {
  const uint32_t headerSize = headerVersion == 0 ? 0x40 : 0x44;
  std::string b(total, '\x55');
  b.replace(0, 28, std::string("Warcraft III recorded game\x1A\0", 28));
  PutDword(b, 0x1C, headerSize);
  PutDword(b, 0x20, total);
  PutDword(b, 0x24, static_cast<uint32_t>(headerVersion));
  PutDword(b, 0x28, 0x1000);
  PutDword(b, 0x2C, 1);
  if (headerVersion == 0) {
    PutWord(b, 0x30, 0);
    PutWord(b, 0x32, patch);
    PutWord(b, 0x34, build);
    PutWord(b, 0x36, 0x8000);
  } else {
    b.replace(0x30, 4, product);
    PutDword(b, 0x34, patch);
    PutWord(b, 0x38, build);
    PutWord(b, 0x3A, 0x8000);
  }
  return b;
}

}  // namespace plover::testing
