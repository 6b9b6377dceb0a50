// The cut of a notification-area tip to its code page 936 limit. For any
// text and limit: the tip is a beginning of the text made of whole, well-formed
// characters; it takes at most `limit` bytes in code page 936 (a character
// without a form counts two); and it is the longest such beginning: the
// character after it is malformed or would pass the limit. The default cut
// is 63 bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text/codepage.h"
#include "common/tray/tray_tip.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace plover;

// The length of the well-formed UTF-8 character at `at`, 0 when there is none.
size_t CharacterAt(std::string_view s, size_t at) {
  for (size_t n = 1; n <= 4 && at + n <= s.size(); ++n) {
    if (text::IsValidUtf8(s.substr(at, n))) return n;
  }
  return 0;
}

size_t Width(std::string_view ch) {
  const auto gbk = text::Utf8ToGbk(ch);
  return gbk ? gbk->size() : 2;
}

void Check(std::string_view s, size_t limit, const std::string& tip) {
  FUZZ_CHECK(s.starts_with(tip));
  FUZZ_CHECK(text::IsValidUtf8(tip));
  size_t used = 0;
  for (size_t at = 0; at < tip.size();) {
    const size_t n = CharacterAt(tip, at);
    FUZZ_CHECK(n > 0);
    used += Width(tip.substr(at, n));
    at += n;
  }
  FUZZ_CHECK(used <= limit);
  if (const auto gbk = text::Utf8ToGbk(tip)) FUZZ_CHECK(gbk->size() <= limit);
  if (tip.size() < s.size()) {
    const size_t n = CharacterAt(s, tip.size());
    FUZZ_CHECK(n == 0 || used + Width(s.substr(tip.size(), n)) > limit);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t limit = data[0] % 80;
  const std::string_view s(reinterpret_cast<const char*>(data + 1), size - 1);
  Check(s, limit, tray::CutTip(s, limit));
  Check(s, tray::kTipBytes, tray::CutTip(s));
  FUZZ_CHECK(tray::kTipBytes == 63);
  return 0;
}
