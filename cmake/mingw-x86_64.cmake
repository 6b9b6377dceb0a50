# 64-bit Windows with MinGW-w64 (posix threads), statically linked. Used to
# run the tests under wine64 on machines that cannot run 32-bit Linux
# programs (and so no wine32); the shipped programs are the 32-bit build.
set(PLOVER_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
