// Functions of system DLLs that the programs need only now and then (the
// pickers, the help link, dropped files, the notification-area icon, file
// versions, session notices, newer user32 calls): the DLL is loaded at the
// first call, not when the program starts, always from the system folder
// (see load_plan.h), and stays loaded.
//
//   static const auto browse =
//       win::LateBound<decltype(&SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
//   if (browse) browse(&bi);
//
// A function the system does not have comes back as nullptr. This is the one
// place that loads a DLL.
#pragma once

#include <windows.h>

namespace plover::win {

// The system's `dll`, loaded as HowToLoad decides; nullptr when it cannot be.
HMODULE LoadSystemDll(const wchar_t* dll);
// The same, as a system without LOAD_LIBRARY_SEARCH_SYSTEM32 loads it: by
// the full path of the system folder's copy, or by name when the manifest
// redirects it. For tests.
HMODULE LoadSystemDllWithoutSearchFlag(const wchar_t* dll);

template <typename Fn>
Fn LateBound(const wchar_t* dll, const char* name) {
  HMODULE module = LoadSystemDll(dll);
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace plover::win
