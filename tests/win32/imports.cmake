# Fails unless PROGRAM imports only DLLs that every Windows has, so that it runs from any folder
# with no DLL of the compiler's (libstdc++, libgcc, winpthread) beside it:
#
#   cmake -DOBJDUMP=<x86_64-w64-mingw32-objdump> -DPROGRAM=<file.exe> -P imports.cmake
#
# Prints the DLLs it imports; names the ones Windows does not ship.
if(NOT OBJDUMP OR NOT PROGRAM)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=<objdump> -DPROGRAM=<file.exe> -P imports.cmake")
endif()

set(windows_dlls
    kernel32 user32 gdi32 comctl32 ole32 oleaut32 windowscodecs shell32 advapi32 msvcrt uxtheme "api-ms-win-crt-[a-z0-9-]+")

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE dump ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed: ${error}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "${PROGRAM}: no imported DLL found in ${OBJDUMP}'s report; is it a Windows program?")
endif()

set(foreign)
foreach(line IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  message(STATUS "imports ${dll}")
  string(TOLOWER "${dll}" name)
  set(shipped FALSE)
  foreach(pattern IN LISTS windows_dlls)
    if(name MATCHES "^${pattern}\\.dll$")
      set(shipped TRUE)
    endif()
  endforeach()
  if(NOT shipped)
    message(STATUS "not shipped with Windows: ${dll}")
    list(APPEND foreign "${dll}")
  endif()
endforeach()
if(foreign)
  list(REMOVE_DUPLICATES foreign)
  list(JOIN foreign ", " foreign)
  message(FATAL_ERROR "${PROGRAM} imports DLLs that Windows does not ship: ${foreign}")
endif()
