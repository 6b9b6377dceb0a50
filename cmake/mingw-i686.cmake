# 32-bit Windows with MinGW-w64 (posix threads), statically linked.
set(PLOVER_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
