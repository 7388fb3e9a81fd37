# Cross-compiles Quillomat for 64-bit Windows with Debian's MinGW-w64 (the posix-thread compilers, whose
# libstdc++ has std::thread and std::mutex). Everything is linked statically, so Quillomat.exe and the
# test programs import only DLLs that ship with Windows. Programs built here run through Wine, so CTest
# runs the test programs as `wine PROGRAM`; start CTest inside tools/with_wine.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(quillomat_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${quillomat_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${quillomat_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${quillomat_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${quillomat_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static also takes libgcc, libstdc++ and winpthread's archives instead of their DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
