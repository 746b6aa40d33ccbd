# 32-bit build for the x86 machine the build runs on (GCC with -m32, Debian
# package g++-multilib), so that the tool's code runs with 32-bit pointers,
# size_t and long and the 32-bit C library, as on a 32-bit Linux (time_t and
# off_t are 64-bit there too: CMakeLists.txt asks for them):
#   cmake -S . -B build-m32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/linux-m32.cmake
# scripts/test-m32.sh makes this build and runs its tests through qemu-i386,
# also where the kernel cannot start 32-bit programs itself.
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
# The installed GoogleTest is a 64-bit library: built from its sources here.
set(CMAKE_DISABLE_FIND_PACKAGE_GTest ON)
