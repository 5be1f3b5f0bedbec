# Cross-building the Windows program on Linux with MinGW-w64 (64-bit):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake && cmake --build build-win
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VOXA_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "Target triplet of the MinGW-w64 tools")
# The POSIX-thread flavour of the compiler when it exists (Debian ships both), else the default one.
find_program(VOXA_MINGW_CXX NAMES ${VOXA_MINGW_PREFIX}-g++-posix ${VOXA_MINGW_PREFIX}-g++ REQUIRED)
set(CMAKE_CXX_COMPILER ${VOXA_MINGW_CXX})
find_program(CMAKE_RC_COMPILER NAMES ${VOXA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VOXA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
