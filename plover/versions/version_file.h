// Versions on disk: the version file <name>.w3v (one entry a line, code page
// 936, CR LF after every line) and the flat store folder <name> beside the
// program, holding one copy per entry file name.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plover/base/file_system.h"

namespace plover::versions {

std::string VersionFilePath(std::string_view appDir, std::string_view name);
std::string StoreFolderPath(std::string_view appDir, std::string_view name);
// Store folder + "\" + the entry's last path component.
std::string StoreCopyPath(std::string_view appDir, std::string_view name, std::string_view entry);
// AddBackslash(game directory) + entry.
std::string GameFilePath(std::string_view gameDir, std::string_view entry);

// Map entries end in exactly ".w3x" or ".w3m" (lower case); all others are
// program entries.
bool IsMapEntry(std::string_view entry);

// Splits the raw bytes of a version file into lines, kept exactly as read.
// CR LF, a lone CR and a lone LF each end a line; a last line without a line
// end is still a line; an empty file has none.
std::vector<std::string> SplitLines(std::string_view bytes);

// The bytes of a version file for `entries` (UTF-8): each entry in code page
// 936 followed by CR LF. Empty optional, with the index of the first entry
// that has no code page 936 form in `badEntry`, when one cannot be written.
std::optional<std::string> SerializeEntries(const std::vector<std::string>& entries,
                                            size_t* badEntry = nullptr);

struct ReadResult {
  fs::Status status;
  std::vector<std::string> entries;  // UTF-8
};
// Reads and decodes a whole version file. A line that is not valid code page
// 936 makes the read fail with kBadFileName.
ReadResult ReadEntries(fs::FileSystem& fs, std::string_view appDir, std::string_view name);

// Writes the version file whole or not at all.
fs::Status WriteEntries(fs::FileSystem& fs, std::string_view appDir, std::string_view name,
                        const std::vector<std::string>& entries);

// For showing a line that could not be decoded: ASCII kept, other bytes "?".
std::string DisplayableLine(std::string_view rawLine);

// A line of a version file as text to show (UTF-8): decoded where it is valid
// code page 936, with "?" for each byte or character that is not.
std::string ShownLine(std::string_view rawLine);

}  // namespace plover::versions
