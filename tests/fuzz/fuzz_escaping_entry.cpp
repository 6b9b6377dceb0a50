// The check that keeps a version file's entries inside the game directory.
// A plain model of how Windows resolves a relative path is written here:
// "\" and "/" both separate, a part of dots and blanks with two dots or more
// goes up (Windows drops trailing dots and blanks), one dot stays, and the
// Win32 call ends the path at a NUL. Whatever the check lets through must
// stay inside the game directory in that model: no drive, no root, no
// stream, never above the start.
#include <cstdint>
#include <string>
#include <string_view>

#include "plover/base/functions.h"
#include "plover/versions/version_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace plover;

bool StaysInside(std::string_view entry) {
  entry = entry.substr(0, entry.find('\0'));
  if (entry.empty()) return true;
  if (entry.front() == '\\' || entry.front() == '/') return false;
  if (entry.find(':') != std::string_view::npos) return false;
  int depth = 0;
  size_t start = 0;
  while (start <= entry.size()) {
    size_t end = entry.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = entry.size();
    const std::string_view part = entry.substr(start, end - start);
    size_t dots = 0;
    bool onlyDotsAndBlanks = true;
    for (char c : part) {
      if (c == '.') {
        ++dots;
      } else if (c != ' ') {
        onlyDotsAndBlanks = false;
      }
    }
    if (onlyDotsAndBlanks && dots >= 2) {
      if (--depth < 0) return false;
    } else if (!onlyDotsAndBlanks) {
      ++depth;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string entry(reinterpret_cast<const char*>(data), size);
  const bool escapes = EntryEscapesGameDirectory(entry);
  if (!escapes) {
    FUZZ_CHECK(StaysInside(entry));
    const std::string game = versions::GameFilePath("D:\\War3\\", entry);
    FUZZ_CHECK(game == "D:\\War3\\" + entry);
  }
  // Both separators count the same.
  std::string backslashed = entry;
  for (char& c : backslashed) {
    if (c == '/') c = '\\';
  }
  FUZZ_CHECK(EntryEscapesGameDirectory(backslashed) == escapes);
  // The forms that leave the directory are caught in front of anything.
  for (const char* prefix : {"..\\", "../", "\\", "/", "C:", "\\\\server\\", ". .\\"}) {
    FUZZ_CHECK(EntryEscapesGameDirectory(prefix + entry));
  }
  return 0;
}
