# Cross-build for the 32-bit Windows target with MinGW-w64 (posix threads:
# the win32 thread model lacks std::mutex, which GoogleTest needs).  Tests
# run under Wine (ZAL_WINE, default `wine`).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZAL_WINE "$ENV{ZAL_WINE}" CACHE STRING "Wine loader that runs the tests")
if(NOT ZAL_WINE)
  set(ZAL_WINE wine CACHE STRING "Wine loader that runs the tests" FORCE)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZAL_WINE})
