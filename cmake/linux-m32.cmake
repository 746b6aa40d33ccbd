# 32-bit build for the x86 machine the build runs on (GCC with -m32, Debian
# package g++-multilib), so that the tool's code runs with a 32-bit time_t,
# off_t and size_t as on a 32-bit Linux:
#   cmake -S . -B build-m32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/linux-m32.cmake
# Its programs are 32-bit ones: scripts/test-m32.sh runs them on a kernel
# that cannot start them itself.
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
# The installed GoogleTest is a 64-bit library: built from its sources here.
set(CMAKE_DISABLE_FIND_PACKAGE_GTest ON)
