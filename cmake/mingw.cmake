# MinGW-w64 (posix threads) for the processor PLOVER_MINGW_PROCESSOR (i686 or
# x86_64), statically linked: the part the two toolchain files share.
set(_plover_mingw ${PLOVER_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PLOVER_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${_plover_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_plover_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_plover_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_plover_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
