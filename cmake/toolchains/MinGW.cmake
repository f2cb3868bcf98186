# Shared part of the MinGW-w64 toolchain files: ZELK_MINGW_TRIPLE names the
# target (i686-w64-mingw32 or x86_64-w64-mingw32).
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${ZELK_MINGW_TRIPLE})

# The posix-thread compilers: std::thread and std::mutex need them.
set(CMAKE_C_COMPILER ${ZELK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every binary stands alone: the C++ runtime, libgcc and winpthread are
# linked in, so that only system libraries remain to be imported and a
# host's copy of the MinGW runtime can never meet ours.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine, whose loader starts 32-bit and 64-bit
# programs alike (CTest puts the emulator before them); scripts/test-windows
# gives each run a prefix of its own through WINEPREFIX.
find_program(ZELK_WINE wine)
if(ZELK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELK_WINE})
endif()
