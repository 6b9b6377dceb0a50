#include "common/win32/late_bound.h"

#include "common/win32/load_plan.h"

namespace plover::win {
namespace {

bool Redirected(const wchar_t* dll) {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof data;
  return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, dll,
                                  &data) != FALSE;
}

HMODULE Load(const wchar_t* dll, bool searchFlagKnown) {
  switch (HowToLoad(searchFlagKnown, !searchFlagKnown && Redirected(dll))) {
    case LoadWay::kSearchSystem32:
      return LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    case LoadWay::kByName:
      return LoadLibraryExW(dll, nullptr, 0);
    case LoadWay::kFullPath:
      break;
  }
  wchar_t dir[MAX_PATH];
  const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  wchar_t path[MAX_PATH];
  if (n == 0 || n >= MAX_PATH || !SystemDllPath(std::wstring_view(dir, n), dll, path, MAX_PATH)) {
    return nullptr;
  }
  // The DLL's own dependencies are then looked for beside it first.
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

HMODULE LoadSystemDll(const wchar_t* dll) {
  // kernel32 is always loaded; AddDllDirectory comes with the search flags.
  static const bool searchFlagKnown =
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
  return Load(dll, searchFlagKnown);
}

HMODULE LoadSystemDllWithoutSearchFlag(const wchar_t* dll) {
  return Load(dll, false);
}

}  // namespace plover::win
