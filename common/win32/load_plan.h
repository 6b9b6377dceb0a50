// How a system DLL is loaded late, decided apart from Windows so that it is
// tested natively: never by a bare name, which would take a DLL of that name
// from the program's folder (the Downloads folder, say) before the system's.
#pragma once

#include <cstddef>
#include <string_view>

namespace plover::win {

enum class LoadWay {
  kSearchSystem32,  // LoadLibraryEx with LOAD_LIBRARY_SEARCH_SYSTEM32
  kByName,          // the manifest's activation context names the DLL itself
  kFullPath,        // the system folder's copy, by its full path
};

// `searchFlagKnown`: the system takes LOAD_LIBRARY_SEARCH_SYSTEM32 (it has
// AddDllDirectory; Windows 7 without update KB2533623 has neither).
// `redirected`: the program's manifest sends the DLL to a side-by-side copy
// (comctl32 version 6), which a full path would miss and which the loader
// finds by its name before any folder.
constexpr LoadWay HowToLoad(bool searchFlagKnown, bool redirected) {
  if (searchFlagKnown) return LoadWay::kSearchSystem32;
  return redirected ? LoadWay::kByName : LoadWay::kFullPath;
}

// The system folder's copy of `dll`, NUL-terminated into `out`; false when
// it does not fit `capacity` characters. (Quenlock links no C++ strings.)
inline bool SystemDllPath(std::wstring_view systemDir, std::wstring_view dll, wchar_t* out,
                          size_t capacity) {
  const bool slash = !systemDir.empty() && systemDir.back() != L'\\';
  if (systemDir.size() + (slash ? 1 : 0) + dll.size() + 1 > capacity) return false;
  for (wchar_t c : systemDir) *out++ = c;
  if (slash) *out++ = L'\\';
  for (wchar_t c : dll) *out++ = c;
  *out = L'\0';
  return true;
}

}  // namespace plover::win
