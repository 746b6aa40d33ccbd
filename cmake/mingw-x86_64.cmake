# The same sources for 64-bit Windows (x86_64-w64-mingw32). Not the product:
# it lets the Windows layer be tested under a Wine that runs 64-bit programs
# only, on machines that cannot run 32-bit ones.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VEXEL_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
