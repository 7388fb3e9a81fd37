# Builds Quillomat for the web with Debian's emscripten: em++ compiles to WebAssembly, and each program
# is a .js loader beside its .wasm. CTest runs the test programs under Node, the emulator Debian's
# toolchain file names. The handlers' error path throws and catches C++ exceptions, which emscripten
# compiles only with -fexceptions, given to every compile and link.
set(quillomat_emscripten_toolchain /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
if(NOT EXISTS "${quillomat_emscripten_toolchain}")
  message(FATAL_ERROR "No ${quillomat_emscripten_toolchain}: the web build needs Debian's emscripten package.")
endif()
include("${quillomat_emscripten_toolchain}")

set(CMAKE_C_FLAGS_INIT "-fexceptions")
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")

# The linker rewrites the JavaScript it writes with Node modules (acorn) that Debian keeps in its
# shared folder, where Node does not look unless told.
set(quillomat_node_modules /usr/share/nodejs)
set(CMAKE_C_LINKER_LAUNCHER env NODE_PATH=${quillomat_node_modules})
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=${quillomat_node_modules})
