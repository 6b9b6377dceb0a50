// The command line of an elevated run, which any program could give Plover:
// - whatever it is, it is read as one switch or as none, and a switch read
//   names a scope of 1 to 3, a version that is not empty, and neither holds
//   a quotation mark;
// - a switch written and read again is the same switch, and its text is
//   what was read;
// - no version name is ever taken for such a command.
#include <cstdint>
#include <string>

#include "plover/main/elevated_switch.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace plover;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto sw = ParseElevatedSwitch(text);
  if (sw) {
    const int scope = static_cast<int>(sw->scope);
    FUZZ_CHECK(scope >= 1 && scope <= 3);
    FUZZ_CHECK(!sw->name.empty());
    FUZZ_CHECK(sw->name.find('"') == std::string::npos);
    FUZZ_CHECK(sw->gameDir.find('"') == std::string::npos);
    FUZZ_CHECK(ElevatedSwitchArguments(*sw) == text);
    FUZZ_CHECK(ParseElevatedSwitch(ElevatedSwitchArguments(*sw)) == sw);
  }
  if (!text.starts_with("/")) FUZZ_CHECK(!sw);
  return 0;
}
