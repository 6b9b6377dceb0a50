// The folder where Windows keeps its own copies of the files that programs
// without a manifest (the game's War3.exe among them) write below Program
// Files or the Windows folder: %LOCALAPPDATA%\VirtualStore\ followed by the
// path without its drive. What such a program reads comes from there first.
#pragma once

#include <string>
#include <string_view>

namespace plover {

// The system's folders, as the Win32 layer found them ("" when unknown).
struct KnownFolders {
  std::string programFiles;     // %ProgramFiles%
  std::string programFilesX86;  // %ProgramFiles(x86)%, on 64-bit Windows
  std::string windows;          // %windir%
  std::string localAppData;     // %LOCALAPPDATA%
  // %ProgramW6432%: a 32-bit program on 64-bit Windows, such as Plover, sees
  // both variables above as "Program Files (x86)"; this is the other one.
  std::string programFilesNative;
};

// The mirror of `gameDir` (a drive path), ending in "\"; "" when it lies
// below none of the virtualized folders or the local application data folder
// is unknown.
std::string VirtualStoreOf(std::string_view gameDir, const KnownFolders& known);

}  // namespace plover
