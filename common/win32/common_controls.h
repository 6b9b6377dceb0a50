// The few common-control services the programs use: subclassing and
// tooltips. comctl32 is loaded at the first call, not when the program
// starts; with the programs' manifest it is the version 6 DLL.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace plover::win {

// SetWindowSubclass, DefSubclassProc and RemoveWindowSubclass of comctl32.
// Subclass fails (false) when comctl32 cannot be loaded; DefSubclass is
// only ever called from a subclass procedure, so comctl32 is there by then.
bool Subclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
bool Unsubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);

// Registers the common-control classes (tooltips among them) once; false
// when comctl32 cannot be loaded.
bool NeedCommonControls();

// Gives the child window `tool` of `owner` the tip `text` in `tooltip`,
// which then watches the tool's mouse messages itself.
void AddTip(HWND tooltip, HWND owner, HWND tool, wchar_t* text);

}  // namespace plover::win
