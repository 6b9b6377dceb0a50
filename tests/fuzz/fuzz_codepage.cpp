// The code page 936 codec and the UTF-8/UTF-16 conversions. The input is
// taken as UTF-8, as code page 936 and as UTF-16 in turn:
// - whatever encodes decodes back to the same text, and the reverse;
// - a text has a form exactly when each of its characters has one, and the
//   form is theirs put together (likewise for code page 936 units);
// - UTF-8 validity agrees with a plain decoder written here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text/codepage.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using plover::text::GbkToUtf8;
using plover::text::IsValidUtf8;
using plover::text::Utf16ToUtf8;
using plover::text::Utf8ToGbk;
using plover::text::Utf8ToUtf16;

// The UTF-8 characters of `s` when it is well-formed (shortest forms, no
// surrogates, nothing above U+10FFFF), nullopt otherwise.
std::optional<std::vector<std::string_view>> Utf8Characters(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<uint8_t>(s[i]);
    size_t n = b < 0x80                 ? 1
               : b >= 0xC2 && b <= 0xDF ? 2
               : b >= 0xE0 && b <= 0xEF ? 3
               : b >= 0xF0 && b <= 0xF4 ? 4
                                        : 0;
    if (n == 0 || i + n > s.size()) return std::nullopt;
    uint32_t c = n == 1 ? b : b & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
      const auto t = static_cast<uint8_t>(s[i + k]);
      if ((t & 0xC0) != 0x80) return std::nullopt;
      c = c << 6 | (t & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

// Code page 936 units: a byte below 0x80, the single byte 0x80 (the euro
// sign) or 0xFF, or a lead byte 0x81-0xFE with the byte after it.
std::vector<std::string_view> GbkUnits(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<uint8_t>(s[i]);
    const size_t n = (b >= 0x81 && b <= 0xFE && i + 1 < s.size()) ? 2 : 1;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

void CheckAsUtf8(std::string_view s, bool oneByOne) {
  const auto chars = Utf8Characters(s);
  FUZZ_CHECK(IsValidUtf8(s) == chars.has_value());
  const auto wide = Utf8ToUtf16(s);
  FUZZ_CHECK(wide.has_value() == chars.has_value());
  if (wide) FUZZ_CHECK(Utf16ToUtf8(*wide) == s);

  const auto gbk = Utf8ToGbk(s);
  if (!chars) {
    FUZZ_CHECK(!gbk);
    return;
  }
  if (gbk) FUZZ_CHECK(GbkToUtf8(*gbk) == s);
  if (!oneByOne) return;
  std::string joined;
  bool all = true;
  for (const auto ch : *chars) {
    const auto one = Utf8ToGbk(ch);
    if (!one) {
      all = false;
      break;
    }
    FUZZ_CHECK(!one->empty() && one->size() <= 2);
    FUZZ_CHECK(GbkToUtf8(*one) == ch);
    joined += *one;
  }
  FUZZ_CHECK(gbk.has_value() == all);
  if (gbk) FUZZ_CHECK(*gbk == joined);
}

void CheckAsGbk(std::string_view s, bool oneByOne) {
  const auto utf8 = GbkToUtf8(s);
  if (utf8) {
    FUZZ_CHECK(IsValidUtf8(*utf8));
    FUZZ_CHECK(Utf8ToGbk(*utf8) == std::string(s));
  }
  if (!oneByOne) return;
  std::string joined;
  bool all = true;
  for (const auto unit : GbkUnits(s)) {
    const auto one = GbkToUtf8(unit);
    if (!one) {
      all = false;
      break;
    }
    joined += *one;
  }
  FUZZ_CHECK(utf8.has_value() == all);
  if (utf8) FUZZ_CHECK(*utf8 == joined);
}

void CheckAsUtf16(std::string_view s) {
  std::u16string w;
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    w.push_back(
        static_cast<char16_t>(static_cast<uint8_t>(s[i]) | static_cast<uint8_t>(s[i + 1]) << 8));
  }
  const auto utf8 = Utf16ToUtf8(w);
  bool paired = true;  // every surrogate in a high-low pair
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i] >= 0xD800 && w[i] <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 &&
        w[i + 1] <= 0xDFFF) {
      ++i;
    } else if (w[i] >= 0xD800 && w[i] <= 0xDFFF) {
      paired = false;
    }
  }
  FUZZ_CHECK(utf8.has_value() == paired);
  if (utf8) {
    FUZZ_CHECK(IsValidUtf8(*utf8));
    FUZZ_CHECK(Utf8ToUtf16(*utf8) == w);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  // Character by character costs a conversion each: only for short inputs.
  const bool oneByOne = size <= 256;
  CheckAsUtf8(s, oneByOne);
  CheckAsGbk(s, oneByOne);
  CheckAsUtf16(s);
  return 0;
}
