# quillomat_warnings(<target>): the project's warning set, as errors when QUILLOMAT_WERROR is on.
function(quillomat_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion -Wold-style-cast -Wnon-virtual-dtor)
  if(QUILLOMAT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
