/* A DLL with no code of its own: only its version resource matters. */
int plover_versioned_dll_marker = 1;
