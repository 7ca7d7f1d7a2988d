# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers (the
# POSIX thread model, which std::thread and Qt need). Every program links the
# compiler's runtime (libgcc, libstdc++, winpthread) statically, so it runs
# without DLLs of the compiler beside it.
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

# -static takes the static form of every library that has one; Windows' own
# DLLs and Qt's are still linked through their import libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine, so CTest and gtest_discover_tests need nothing
# else to run them. WINEPREFIX and WINEDEBUG come from the environment.
find_program(VORNAK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT VORNAK_WINE)
  find_program(VORNAK_WINE NAMES wine64 wine)
endif()
if(VORNAK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VORNAK_WINE})
endif()
