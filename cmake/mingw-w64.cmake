# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads flavour,
# which std::thread and GoogleTest need):
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Programs are linked statically, so Windows (or Wine) needs none of the toolchain's DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARNEX_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNEX_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNEX_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNEX_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VARNEX_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
