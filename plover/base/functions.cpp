#include "plover/base/functions.h"

#include "common/text/codepage.h"
#include "plover/base/strings.h"

namespace plover {

std::optional<size_t> Utf16Length(std::string_view utf8) {
  if (!text::IsValidUtf8(utf8)) return std::nullopt;
  size_t units = 0;
  for (char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0) != 0x80) ++units;  // each character starts once
    if (b >= 0xF0) ++units;           // and beyond U+FFFF takes a pair
  }
  return units;
}

std::string CutForBox(std::string_view utf8) {
  size_t characters = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (characters++ == kBoxTextCharacters) {
      return std::string(utf8.substr(0, i)) + text_of::kMoreNames;
    }
  }
  return std::string(utf8);
}

std::string ListForBox(std::string_view header, const std::vector<std::string>& lines) {
  std::string text(header);
  for (size_t i = 0; i < lines.size(); ++i) {
    text += "\n";
    if (i == kBoxLines) {
      text += text_of::kMoreNames;
      break;
    }
    text += CutForBox(lines[i]);
  }
  return text;
}

std::string AddBackslash(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != '\\') out.push_back('\\');
  return out;
}

std::string FileNameOf(std::string_view path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return std::string(path);
  return std::string(path.substr(slash + 1));
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string VersionNameOf(std::string_view fileName) {
  if (fileName.size() <= 4) return std::string();
  return std::string(fileName.substr(0, fileName.size() - 4));
}

std::string ArgumentsOf(std::string_view commandLine) {
  size_t i = 0;
  while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
  if (i < commandLine.size() && commandLine[i] == '"') {
    const size_t close = commandLine.find('"', i + 1);
    i = close == std::string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
  }
  while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
  return std::string(commandLine.substr(i));
}

bool EntryEscapesGameDirectory(std::string_view entry) {
  if (entry.empty()) return false;
  // A Win32 call ends the path at a NUL: "..\0x" would name the parent.
  if (entry.find('\0') != std::string_view::npos) return true;
  if (entry.front() == '\\' || entry.front() == '/') return true;  // rooted or UNC
  if (entry.find(':') != std::string_view::npos) return true;      // drive or stream
  size_t start = 0;
  while (start <= entry.size()) {
    size_t end = entry.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = entry.size();
    std::string_view part = entry.substr(start, end - start);
    // Windows drops trailing dots and blanks from a name, so parts such as
    // "..." or ".. " reach the parent folder as well.
    if (part.find_first_not_of(". ") == std::string_view::npos &&
        part.find('.') != part.rfind('.')) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

bool IsAbsolutePath(std::string_view path) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 3 && path[1] == ':' && separator(path[2])) {
    const char d = path[0];
    return (d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z');
  }
  return path.size() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
}

}  // namespace plover
