#include "plover/base/file_system.h"

#include <algorithm>

namespace plover::fs {

namespace {
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
Status ThroughTemporary(FileSystem& fs, const std::string& target, const std::string& temp,
                        Make make) {
  Status s = make(temp);
  if (s.ok()) s = fs.Move(temp, target, /*replace=*/true);
  // A temporary that is still read-only cannot be deleted as it is.
  if (!s.ok() && !fs.Delete(temp).ok() && fs.ClearReadOnly(temp).ok()) (void)fs.Delete(temp);
  return s;
}

std::string TemporaryBeside(const std::string& target) {
  return target + std::string(kTempSuffix);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

Status SafeCopy(FileSystem& fs, const std::string& from, const std::string& to,
                const std::string& tempFolder) {
  const auto copy = [&](const std::string& temp) {
    // The copy carries the read-only attribute of its source; the game file
    // must not.
    Status s = fs.Copy(from, temp);
    if (s.ok()) s = fs.FlushCopy(temp);
    return s;
  };
  if (tempFolder.empty()) return ThroughTemporary(fs, to, TemporaryBeside(to), copy);

  // A path is split only at ASCII backslashes, which are never part of a
  // multi-byte UTF-8 character.
  const size_t slash = to.find_last_of('\\');
  const std::string name = slash == std::string::npos ? to : to.substr(slash + 1);
  std::string temp = tempFolder;
  if (temp.back() != '\\') temp += '\\';
  temp += name + std::string(kTempSuffix);
  const Status s = ThroughTemporary(fs, to, temp, copy);
  if (!s.ok() && !s.is(kFileNotFound) && !fs.FolderExists(FolderOf(to))) {
    return {kFileAlreadyExists};
  }
  return s;
}

Status SafeWrite(FileSystem& fs, const std::string& path, std::string_view bytes) {
  return ThroughTemporary(fs, path, TemporaryBeside(path),
                          [&](const std::string& temp) { return fs.WriteAll(temp, bytes); });
}

}  // namespace plover::fs
