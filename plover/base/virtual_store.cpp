#include "plover/base/virtual_store.h"

#include "plover/base/file_system.h"
#include "plover/base/functions.h"

namespace plover {
namespace {

// `path` is `folder` or lies below it, without regard to letter case.
bool Below(std::string_view path, std::string_view folder) {
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  if (folder.size() < 3 || path.size() < folder.size()) return false;
  if (!fs::EqualsNoCase(path.substr(0, folder.size()), folder)) return false;
  return path.size() == folder.size() || path[folder.size()] == '\\';
}

}  // namespace

std::string VirtualStoreOf(std::string_view gameDir, const KnownFolders& known) {
  const bool driveLetter = gameDir.size() >= 3 && gameDir[1] == ':' && gameDir[2] == '\\';
  if (!driveLetter || known.localAppData.empty()) return "";
  for (const std::string* folder :
       {&known.programFiles, &known.programFilesX86, &known.programFilesNative, &known.windows}) {
    if (!folder->empty() && Below(gameDir, *folder)) {
      return AddBackslash(known.localAppData) + "VirtualStore\\" + AddBackslash(gameDir.substr(3));
    }
  }
  return "";
}

}  // namespace plover
