#include "plover/versions/version_file.h"

#include "common/text/codepage.h"
#include "plover/base/functions.h"

namespace plover::versions {
namespace {

// The length of the character at `i` by the form of code page 936: a lead
// byte 0x81-0xFE with a trail byte 0x40-0x7E or 0x80-0xFE makes two bytes,
// everything else one.
size_t UnitLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x81 || lead > 0xFE || i + 1 >= s.size()) return 1;
  const auto trail = static_cast<unsigned char>(s[i + 1]);
  return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
}

// True when the unit at `i` cannot be a character whatever the code page's
// table says: a lead byte without its trail byte, or 0xFF.
bool Malformed(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  return b >= 0x81 && UnitLength(s, i) == 1;
}

}  // namespace

std::string VersionFilePath(std::string_view appDir, std::string_view name) {
  return AddBackslash(appDir) + std::string(name) + ".w3v";
}

std::string StoreFolderPath(std::string_view appDir, std::string_view name) {
  return AddBackslash(appDir) + std::string(name);
}

std::string StoreCopyPath(std::string_view appDir, std::string_view name, std::string_view entry) {
  return StoreFolderPath(appDir, name) + "\\" + FileNameOf(entry);
}

std::string GameFilePath(std::string_view gameDir, std::string_view entry) {
  return AddBackslash(gameDir) + std::string(entry);
}

bool IsMapEntry(std::string_view entry) {
  return entry.ends_with(".w3x") || entry.ends_with(".w3m");
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

std::optional<std::string> SerializeEntries(const std::vector<std::string>& entries,
                                            size_t* badEntry) {
  std::string out;
  for (size_t i = 0; i < entries.size(); ++i) {
    auto gbk = text::Utf8ToGbk(entries[i]);
    if (!gbk) {
      if (badEntry) *badEntry = i;
      return std::nullopt;
    }
    out += *gbk;
    out += "\r\n";
  }
  return out;
}

ReadResult ReadEntries(fs::FileSystem& fs, std::string_view appDir, std::string_view name) {
  ReadResult r;
  std::string bytes;
  r.status = fs.ReadAll(VersionFilePath(appDir, name), bytes);
  if (!r.status.ok()) return r;
  for (const auto& line : SplitLines(bytes)) {
    auto utf8 = text::GbkToUtf8(line);
    if (!utf8) {
      r.status = {fs::kBadFileName};
      r.entries.clear();
      return r;
    }
    r.entries.push_back(std::move(*utf8));
  }
  return r;
}

fs::Status WriteEntries(fs::FileSystem& fs, std::string_view appDir, std::string_view name,
                        const std::vector<std::string>& entries) {
  auto bytes = SerializeEntries(entries);
  if (!bytes) return {fs::kBadFileName};
  return fs::SafeWrite(fs, VersionFilePath(appDir, name), *bytes);
}

std::string ShownLine(std::string_view rawLine) {
  if (auto whole = text::GbkToUtf8(rawLine)) return *whole;
  // Runs of well-formed characters are decoded together; only a run that
  // fails is gone through a character at a time.
  constexpr int kRun = 64;
  std::string out;
  size_t i = 0;
  while (i < rawLine.size()) {
    if (Malformed(rawLine, i)) {
      out.push_back('?');
      ++i;
      continue;
    }
    size_t end = i;
    for (int n = 0; n < kRun && end < rawLine.size() && !Malformed(rawLine, end); ++n) {
      end += UnitLength(rawLine, end);
    }
    if (auto run = text::GbkToUtf8(rawLine.substr(i, end - i))) {
      out += *run;
      i = end;
      continue;
    }
    while (i < end) {
      const size_t n = UnitLength(rawLine, i);
      auto one = text::GbkToUtf8(rawLine.substr(i, n));
      out += one ? *one : std::string("?");
      i += n;
    }
  }
  return out;
}

std::string DisplayableLine(std::string_view rawLine) {
  std::string out;
  for (char c : rawLine) out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
  return out;
}

}  // namespace plover::versions
