# quillomat_warnings(<target>): the project's warning set, as errors when QUILLOMAT_WERROR is on.
function(quillomat_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion -Wold-style-cast -Wnon-virtual-dtor)
  # GCC 12 reports std::string concatenation in optimised builds as overlapping copies
  # (GCC bug 105329): a false alarm that would stop every -Werror build.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(QUILLOMAT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
