#include "plover/base/file_system.h"

#include <algorithm>

namespace plover::fs {

namespace {
constexpr std::string_view kTempSuffix = ".plover-tmp";

char UpperChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), UpperChar);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperChar(x) == UpperChar(y);
         });
}

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(UpperChar(x)) < static_cast<unsigned char>(UpperChar(y));
  });
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // Iterative glob with backtracking on the last '*'.
  size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || UpperChar(pattern[p]) == UpperChar(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

namespace {

// Makes `target` through a temporary file beside it: `make` writes the
// temporary, which then replaces the target in one step. No temporary stays.
template <typename Make>
Status ThroughTemporary(FileSystem& fs, const std::string& target, Make make) {
  const std::string temp = target + std::string(kTempSuffix);
  Status s = make(temp);
  if (s.ok()) s = fs.Move(temp, target, /*replace=*/true);
  // A temporary that is still read-only cannot be deleted as it is.
  if (!s.ok() && !fs.Delete(temp).ok() && fs.ClearReadOnly(temp).ok()) (void)fs.Delete(temp);
  return s;
}

}  // namespace

Status SafeCopy(FileSystem& fs, const std::string& from, const std::string& to) {
  return ThroughTemporary(fs, to, [&](const std::string& temp) {
    // The copy carries the read-only attribute of its source; the game file
    // must not.
    Status s = fs.Copy(from, temp);
    if (s.ok()) s = fs.ClearReadOnly(temp);
    return s;
  });
}

Status SafeWrite(FileSystem& fs, const std::string& path, std::string_view bytes) {
  return ThroughTemporary(fs, path,
                          [&](const std::string& temp) { return fs.WriteAll(temp, bytes); });
}

}  // namespace plover::fs
