# Toolchain for cross-building 64-bit Windows programs on Debian with mingw-w64.
#
#   cmake -S . -B build-win -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#     -DCMAKE_PREFIX_PATH="$TARVELO_QT_MINGW_PREFIX;$TARVELO_GTEST_MINGW_PREFIX"
#
# scripts/windows/qt-mingw.sh builds those two prefixes (Qt 6 and GoogleTest for mingw).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARVELO_MINGW_TRIPLE x86_64-w64-mingw32)

# The -posix compilers use winpthreads; the -win32 ones have no std::thread or std::mutex in GCC 12.
set(CMAKE_C_COMPILER ${TARVELO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVELO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVELO_MINGW_TRIPLE}-windres)

# Tests and other built programs run under Wine (ctest, add_custom_command, gtest discovery).
# Debian 12's wine64 package puts the 64-bit loader in /usr/lib/wine, not on PATH; the
# "wine" wrapper from the wine package falls back to it when wine32 is missing.
find_program(TARVELO_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT TARVELO_WINE)
  find_program(TARVELO_WINE NAMES wine64 wine)
endif()
if(TARVELO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVELO_WINE})
endif()

# Headers and libraries come only from the mingw sysroot and from the prefixes the caller
# passes in CMAKE_PREFIX_PATH (Qt, GoogleTest); never from the Linux system.  Each prefix is
# added as a root of its own, since in ONLY mode CMake would otherwise re-root it under the
# sysroot and not find it.  Programs (moc, rcc, uic, windres) are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${TARVELO_MINGW_TRIPLE})
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  list(APPEND CMAKE_FIND_ROOT_PATH "${prefix}")
endforeach()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A cross-built Qt runs its code generators (moc, rcc, uic) from a host Qt of the same
# version: Debian's qt6-base-dev-tools.
if(NOT DEFINED QT_HOST_PATH)
  set(QT_HOST_PATH /usr CACHE PATH "Host Qt used for moc, rcc and uic")
endif()
if(NOT DEFINED QT_HOST_PATH_CMAKE_DIR)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "CMake packages of the host Qt")
endif()
