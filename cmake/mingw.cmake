# Cross build for Windows with Debian's MinGW-w64, for the processor that the
# including toolchain file sets in VEXEL_MINGW_PREFIX. ctest in such a build
# runs the test programs under Wine (VEXEL_WINE_LOADER when given).
set(CMAKE_SYSTEM_NAME Windows)

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

set(VEXEL_WINE_LOADER "" CACHE FILEPATH "Wine loader that runs this build's programs")
if(VEXEL_WINE_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VEXEL_WINE_LOADER})
else()
  find_program(VEXEL_WINE NAMES wine)
  if(VEXEL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VEXEL_WINE})
  else()
    set(CMAKE_CROSSCOMPILING_EMULATOR wine)
  endif()
endif()
