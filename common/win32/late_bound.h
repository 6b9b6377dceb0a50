// Functions of system DLLs that Plover needs only now and then (the pickers,
// the help link, dropped files, the notification-area icon): the DLL is
// loaded at the first call, not when the program starts, and stays loaded.
//
//   static const auto browse =
//       win::LateBound<decltype(&SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
//   if (browse) browse(&bi);
//
// A function the system does not have comes back as nullptr.
#pragma once

#include <windows.h>

namespace plover::win {

template <typename Fn>
Fn LateBound(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace plover::win
