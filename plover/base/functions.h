// Path text operations shared by every window. Plain text work: nothing here
// touches the file system.
#pragma once

#include <string>
#include <string_view>

namespace plover {

// The path itself when it ends in "\", otherwise the path followed by "\".
// An empty text gives "\".
std::string AddBackslash(std::string_view path);

// The characters after the last "\" (the whole text when there is none, an
// empty text when the path ends in "\").
std::string FileNameOf(std::string_view path);

// A version file's name without its last four characters ("1.20.w3v" gives
// "1.20"). Shorter names give an empty text.
std::string VersionNameOf(std::string_view fileName);

// The arguments part of a Windows command line: everything after the program
// name and the blanks that follow it. Quotation marks in the arguments stay.
std::string ArgumentsOf(std::string_view commandLine);

// True when an entry of a version file would write outside the game
// directory: a drive or UNC prefix, a leading "\" or "/", or a ".." part.
bool EntryEscapesGameDirectory(std::string_view entry);

// True for a path that names one place whatever the current drive and
// directory: a drive path ("D:\War3") or a UNC path ("\\server\share").
// An empty text, "\War3" and "D:War3" are not.
bool IsAbsolutePath(std::string_view path);

}  // namespace plover
