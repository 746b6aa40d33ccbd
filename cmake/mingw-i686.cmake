# Cross build for 32-bit Windows with Debian's MinGW-w64 (i686-w64-mingw32).
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# ctest in that build runs the test programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VEXEL_MINGW_PREFIX i686-w64-mingw32)
# The "posix" thread model gives the C++ runtime the std::mutex that
# GoogleTest needs; with -static nothing of it is left as a DLL.
set(VEXEL_MINGW_THREADS posix)

set(CMAKE_C_COMPILER ${VEXEL_MINGW_PREFIX}-gcc-${VEXEL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${VEXEL_MINGW_PREFIX}-g++-${VEXEL_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${VEXEL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VEXEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static linking, so that no MinGW runtime DLL is needed, is set up by
# cmake/WindowsStatic.cmake.

find_program(VEXEL_WINE NAMES wine)
if(VEXEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VEXEL_WINE})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
