# Debian's mingw-w64 cross compiler for 64-bit Windows, POSIX threads variant
# (std::mutex and std::call_once, which the busy indicator and the SQLite
# set-up use, and the second painter of long PDF reports, std::async, need
# it). The libraries for Windows are looked up in build/windows-deps/ alone, so that no
# Linux library stands in for one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

get_filename_component(VELTRA_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${VELTRA_WINDOWS_DEPS}/prefix"
  "${VELTRA_WINDOWS_DEPS}/qt6.4.2-mingw-w64")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The test programs run under Debian's Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
