# Cross-build for the 64-bit Windows target with MinGW-w64 (posix threads, as
# for 32 bits).  The same sources and tests as the 32-bit build; the records
# take their natural 64-bit layout.  Tests run under wine64, chosen by
# ZAL_WINE (see scripts/wine-leg.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZAL_WINE "$ENV{ZAL_WINE}" CACHE STRING "Wine loader that runs the tests")
if(NOT ZAL_WINE)
  set(ZAL_WINE /usr/lib/wine/wine64 CACHE STRING "Wine loader that runs the tests" FORCE)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZAL_WINE})
