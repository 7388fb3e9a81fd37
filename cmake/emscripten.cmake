# Builds Quillomat for the web with Debian's emscripten: em++ compiles to WebAssembly, and each program
# is a .js loader beside its .wasm. CTest runs the test programs under Node, the emulator Debian's
# toolchain file names. The handlers' error path throws and catches C++ exceptions: WebAssembly's own
# (-fwasm-exceptions, given to every compile and link, which must agree), thrown and caught by the
# engine. Emscripten's other kind, -fexceptions, routes every call that may throw through a
# JavaScript trampoline, which makes each keystroke slower and the program larger.
set(quillomat_emscripten_toolchain /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
if(NOT EXISTS "${quillomat_emscripten_toolchain}")
  message(FATAL_ERROR "No ${quillomat_emscripten_toolchain}: the web build needs Debian's emscripten package.")
endif()
include("${quillomat_emscripten_toolchain}")

set(CMAKE_C_FLAGS_INIT "-fwasm-exceptions")
set(CMAKE_CXX_FLAGS_INIT "-fwasm-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions")

# The linker rewrites the JavaScript it writes with Node modules (acorn) that Debian keeps in its
# shared folder, where Node does not look unless told.
set(quillomat_node_modules /usr/share/nodejs)
set(CMAKE_C_LINKER_LAUNCHER env NODE_PATH=${quillomat_node_modules})
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=${quillomat_node_modules})
