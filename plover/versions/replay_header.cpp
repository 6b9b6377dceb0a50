#include "plover/versions/replay_header.h"

namespace plover::versions {
namespace {

constexpr std::string_view kMagic{"Warcraft III recorded game\x1A\0", 28};
constexpr size_t kSubHeader = 0x30;
constexpr uint32_t kHeaderSizeV0 = 0x40;
constexpr uint32_t kHeaderSizeV1 = 0x44;

uint32_t Word(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}

uint32_t Dword(std::string_view b, size_t at) {
  return Word(b, at) | Word(b, at + 2) << 16;
}

}  // namespace

std::optional<ReplayHeader> ParseReplayHeader(std::string_view head, uint64_t fileSize) {
  if (head.size() < kSubHeader || head.substr(0, kMagic.size()) != kMagic) return std::nullopt;
  const uint32_t headerSize = Dword(head, 0x1C);
  const uint32_t wholeSize = Dword(head, 0x20);
  const uint32_t version = Dword(head, 0x24);
  const uint32_t expected = version == 0 ? kHeaderSizeV0 : version == 1 ? kHeaderSizeV1 : 0;
  // The header must be the one its version names, lie inside the bytes at
  // hand and inside the file, and the file must be at least as long as the
  // header says it is.
  if (expected == 0 || headerSize != expected || head.size() < headerSize) return std::nullopt;
  if (fileSize < headerSize || wholeSize < headerSize || wholeSize > fileSize) return std::nullopt;

  ReplayHeader h;
  if (version == 0) {
    // Only Reign of Chaos existed before 1.07.
    h.patch = Word(head, kSubHeader + 2);
    h.build = Word(head, kSubHeader + 4);
    return h;
  }
  const std::string_view product = head.substr(kSubHeader, 4);
  if (product == "PX3W") {
    h.product = ReplayProduct::kFrozenThrone;
  } else if (product != "3RAW") {
    return std::nullopt;
  }
  h.patch = Dword(head, kSubHeader + 4);
  h.build = Word(head, kSubHeader + 8);
  return h;
}

}  // namespace plover::versions
