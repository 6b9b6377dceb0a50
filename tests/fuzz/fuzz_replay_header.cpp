// The replay header parser. The first eight input bytes give the file's
// length, the rest are the bytes read from its start, held in a buffer of
// exactly their size so that AddressSanitizer stops any read past it. The
// result must agree with a plain reading of the format written here, and
// must not change when more of the file is at hand than the header takes.
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "plover/versions/replay_header.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace plover::versions;

uint32_t Le(const unsigned char* p, size_t n) {
  uint32_t v = 0;
  for (size_t i = n; i-- > 0;) v = v << 8 | p[i];
  return v;
}

std::optional<ReplayHeader> Reference(const unsigned char* b, size_t n, uint64_t fileSize) {
  static const char kMagic[] = "Warcraft III recorded game\x1A";  // and its NUL
  if (n < 0x30 || std::memcmp(b, kMagic, 28) != 0) return std::nullopt;
  const uint32_t headerSize = Le(b + 0x1C, 4);
  const uint32_t wholeSize = Le(b + 0x20, 4);
  const uint32_t version = Le(b + 0x24, 4);
  if (!((version == 0 && headerSize == 0x40) || (version == 1 && headerSize == 0x44))) {
    return std::nullopt;
  }
  if (n < headerSize || fileSize < headerSize) return std::nullopt;
  if (wholeSize < headerSize || wholeSize > fileSize) return std::nullopt;
  ReplayHeader h;
  if (version == 0) {
    h.product = ReplayProduct::kReignOfChaos;
    h.patch = Le(b + 0x32, 2);
    h.build = Le(b + 0x34, 2);
    return h;
  }
  if (std::memcmp(b + 0x30, "PX3W", 4) == 0) {
    h.product = ReplayProduct::kFrozenThrone;
  } else if (std::memcmp(b + 0x30, "3RAW", 4) == 0) {
    h.product = ReplayProduct::kReignOfChaos;
  } else {
    return std::nullopt;
  }
  h.patch = Le(b + 0x34, 4);
  h.build = Le(b + 0x38, 2);
  return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  uint64_t fileSize = 0;
  for (int i = 7; i >= 0; --i) fileSize = fileSize << 8 | data[i];
  const size_t n = size - 8;
  // Mostly a length near the bytes at hand, sometimes any at all.
  if (fileSize >> 63 == 0) fileSize = n + (fileSize & 0xFF);
  const auto bytes = std::make_unique<unsigned char[]>(n);
  std::memcpy(bytes.get(), data + 8, n);
  const std::string_view head(reinterpret_cast<const char*>(bytes.get()), n);

  const auto parsed = ParseReplayHeader(head, fileSize);
  FUZZ_CHECK(parsed == Reference(bytes.get(), n, fileSize));
  if (n > kReplayHeaderBytes) {
    FUZZ_CHECK(ParseReplayHeader(head.substr(0, kReplayHeaderBytes), fileSize) == parsed);
  }
  if (parsed) FUZZ_CHECK(n >= 0x40 && fileSize >= 0x40);
  return 0;
}
