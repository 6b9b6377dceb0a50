// The name a saved replay gets: the replay directory, then
// " <year>- <month>- <day>  <hour>. <minute>. <second>.w3g". For any time
// the system clock can give, the name is read back here to the same six
// numbers (so two times never share a name), the numbers carry no leading
// zeros, and the file name holds nothing Windows forbids in a name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plover/main/replay_watch.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace plover;

// Reads a number without leading zeros at `at`, moving past it.
std::optional<int> Number(std::string_view s, size_t& at) {
  const size_t start = at;
  while (at < s.size() && s[at] >= '0' && s[at] <= '9') ++at;
  if (at == start || at - start > 5 || (s[start] == '0' && at - start > 1)) return std::nullopt;
  return std::stoi(std::string(s.substr(start, at - start)));
}

bool Expect(std::string_view s, size_t& at, std::string_view what) {
  if (s.substr(at, what.size()) != what) return false;
  at += what.size();
  return true;
}

std::optional<LocalTime> ReadBack(std::string_view file) {
  LocalTime t;
  size_t at = 0;
  int* fields[] = {&t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second};
  const char* before[] = {" ", "- ", "- ", "  ", ". ", ". "};
  for (int i = 0; i < 6; ++i) {
    if (!Expect(file, at, before[i])) return std::nullopt;
    const auto n = Number(file, at);
    if (!n) return std::nullopt;
    *fields[i] = *n;
  }
  if (!Expect(file, at, ".w3g") || at != file.size()) return std::nullopt;
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // The range of the system's local time.
  LocalTime t;
  t.year = in.ConsumeIntegralInRange(1601, 30827);
  t.month = in.ConsumeIntegralInRange(1, 12);
  t.day = in.ConsumeIntegralInRange(1, 31);
  t.hour = in.ConsumeIntegralInRange(0, 23);
  t.minute = in.ConsumeIntegralInRange(0, 59);
  t.second = in.ConsumeIntegralInRange(0, 59);
  const std::string dir = in.ConsumeRemainingBytesAsString();

  const std::string name = ReplayCopyName(dir, t);
  FUZZ_CHECK(name.starts_with(dir));
  const std::string_view file = std::string_view(name).substr(dir.size());
  const auto back = ReadBack(file);
  FUZZ_CHECK(back.has_value());
  FUZZ_CHECK(back->year == t.year && back->month == t.month && back->day == t.day);
  FUZZ_CHECK(back->hour == t.hour && back->minute == t.minute && back->second == t.second);
  FUZZ_CHECK(file.find_first_of("\\/:*?\"<>|") == std::string_view::npos);
  FUZZ_CHECK(file.size() <= std::string_view(" 30827- 12- 31  23. 59. 59.w3g").size());
  return 0;
}
