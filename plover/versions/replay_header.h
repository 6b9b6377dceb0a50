// What a replay file (*.w3g) says about the game that recorded it. Every
// replay starts with a header that names the product, the patch and the
// build; a replay plays only on the patch it was recorded with.
//
//   0x00  28 bytes  "Warcraft III recorded game" 0x1A 0x00
//   0x1C  dword     size of the header (0x40 for header version 0, 0x44 for 1)
//   0x20  dword     size of the whole file
//   0x24  dword     header version (0: patches up to 1.06, 1: 1.07 and later)
//   0x28  dword     size of the decompressed data
//   0x2C  dword     number of compressed blocks
//   0x30  version 0: word 0, word patch, word build, word flags, dword length,
//                    dword checksum
//         version 1: four bytes product ("PX3W" The Frozen Throne, "3RAW" Reign
//                    of Chaos), dword patch, word build, word flags, dword
//                    length, dword checksum
// All numbers are little endian.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace plover::versions {

enum class ReplayProduct { kReignOfChaos, kFrozenThrone };

struct ReplayHeader {
  ReplayProduct product = ReplayProduct::kReignOfChaos;
  uint32_t patch = 0;  // 26 for 1.26
  uint32_t build = 0;  // 6401
  bool operator==(const ReplayHeader&) const = default;
};

// How many bytes of a file the header can take at the most: read this many
// (or the whole file when it is shorter) and hand them to ParseReplayHeader.
inline constexpr size_t kReplayHeaderBytes = 0x44;

// The header of a replay whose first bytes are `head` and whose whole length
// is `fileSize`; nullopt when the bytes are not a plausible replay header
// (wrong magic, unknown header version or product, sizes that do not fit the
// file). Never reads past `head`.
std::optional<ReplayHeader> ParseReplayHeader(std::string_view head, uint64_t fileSize);

}  // namespace plover::versions
