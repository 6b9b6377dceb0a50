// Text operations on paths and typed names shared by every window. Plain text
// work: nothing here touches the file system.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plover {

// The longest path, in UTF-16 units, that Win32 calls take without the
// "\\?\" form: MAX_PATH less its terminating NUL.
inline constexpr size_t kPathLimit = 259;

// The longest path, in UTF-16 units, that Win32 calls take in the "\\?\"
// form; a longer entry can never be written.
inline constexpr size_t kLongPathLimit = 32767;

// How many characters of a text from a file a message box shows.
inline constexpr size_t kBoxTextCharacters = 200;

// The length of a UTF-8 path in UTF-16 units, as Win32 counts it; nullopt when
// the text is not well-formed UTF-8.
std::optional<size_t> Utf16Length(std::string_view utf8);

// A text from a file as a message box shows it: its first 200 characters,
// then "……" when there was more. Never cuts inside a character.
std::string CutForBox(std::string_view utf8);

// How many lines of a list a message box shows.
inline constexpr size_t kBoxLines = 20;

// `header`, then each line cut as CutForBox cuts it, one a line; after
// kBoxLines lines, one line "……" stands for the rest.
std::string ListForBox(std::string_view header, const std::vector<std::string>& lines);

// The path itself when it ends in "\", otherwise the path followed by "\".
// An empty text gives "\".
std::string AddBackslash(std::string_view path);

// The characters after the last "\" (the whole text when there is none, an
// empty text when the path ends in "\").
std::string FileNameOf(std::string_view path);

// A version file's name without its last four characters ("1.20.w3v" gives
// "1.20"). Shorter names give an empty text.
std::string VersionNameOf(std::string_view fileName);

// The text without the blanks (" ") at its start and end.
std::string_view TrimBlanks(std::string_view text);

// The arguments part of a Windows command line: everything after the program
// name and the blanks that follow it. Quotation marks in the arguments stay.
std::string ArgumentsOf(std::string_view commandLine);

// True when an entry of a version file would write outside the game
// directory: a drive or UNC prefix, a leading "\" or "/", a ".." part, or a
// NUL, where a Win32 call would end the path.
bool EntryEscapesGameDirectory(std::string_view entry);

// True for a path that names one place whatever the current drive and
// directory: a drive path ("D:\War3") or a UNC path ("\\server\share").
// An empty text, "\War3" and "D:War3" are not.
bool IsAbsolutePath(std::string_view path);

}  // namespace plover
