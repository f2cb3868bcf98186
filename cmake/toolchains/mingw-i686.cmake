# Cross build for 32-bit Windows with MinGW-w64 (posix threads).
set(ZELK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
