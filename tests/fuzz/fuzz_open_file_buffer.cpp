// The buffer the file-open dialog fills: one full path, or the directory and
// then each chosen name, separated by NUL characters, the rest of the buffer
// NULs.
// - Any buffer: every path is non-empty and holds no NUL; several paths all
//   start with the directory the buffer begins with.
// - A buffer made the way the dialog makes it, from a directory and names
//   taken from the input, gives back exactly the directory joined to each
//   name, in order.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plover/base/functions.h"
#include "plover/versions/editor.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace plover;

void CheckAnyBuffer(const std::string& buffer) {
  const std::vector<std::string> paths = versions::ParseOpenFileBuffer(buffer);
  size_t nuls = 0;
  for (char c : buffer) nuls += c == '\0';
  FUZZ_CHECK(paths.size() <= nuls + 1);
  for (const auto& p : paths) {
    FUZZ_CHECK(!p.empty());
    FUZZ_CHECK(p.find('\0') == std::string::npos);
  }
  if (paths.size() > 1) {
    const size_t start = buffer.find_first_not_of(' ');
    const std::string dir = AddBackslash(buffer.substr(start, buffer.find('\0', start) - start));
    for (const auto& p : paths) FUZZ_CHECK(p.starts_with(dir) && p.size() > dir.size());
  }
  const std::string chosen = versions::DirectoryOfChoice(buffer);
  FUZZ_CHECK(chosen.empty() || chosen.back() == '\\');
  FUZZ_CHECK(chosen.find('\0') == std::string::npos);
}

// A name the dialog can give: no NUL; not empty.
std::string Name(FuzzedDataProvider& in) {
  std::string name = in.ConsumeRandomLengthString(40);
  for (char& c : name) {
    if (c == '\0') c = '_';
  }
  return name.empty() ? "x" : name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckAnyBuffer(std::string(reinterpret_cast<const char*>(data), size));

  FuzzedDataProvider in(data, size);
  // The directory is a full path ("C:\..." or "\\server\..."), so it starts
  // with no blank; the last name ends in none, as file names do.
  std::string dir = (in.ConsumeBool() ? "C:\\" : "\\\\server\\share\\") + Name(in);
  if (in.ConsumeBool()) dir = AddBackslash(dir);
  std::vector<std::string> names;
  const size_t count = in.ConsumeIntegralInRange<size_t>(1, 6);
  for (size_t i = 0; i < count; ++i) names.push_back(Name(in));
  while (!names.back().empty() && names.back().back() == ' ') names.back().pop_back();
  if (names.back().empty()) names.back() = "x";
  const size_t padding = in.ConsumeIntegralInRange<size_t>(1, 64);

  std::string buffer;
  std::vector<std::string> expected;
  if (count == 1) {
    // One file: its full path alone.
    buffer = AddBackslash(dir) + names[0];
    expected = {buffer};
  } else {
    buffer = dir;
    for (const auto& n : names) {
      buffer += '\0' + n;
      expected.push_back(AddBackslash(dir) + n);
    }
  }
  buffer.append(padding, '\0');
  FUZZ_CHECK(versions::ParseOpenFileBuffer(buffer) == expected);
  return 0;
}
