# project(VERSION ...) is the one place the version is written. Everything else takes it from
# there: the program shows MAJOR.MM ("1.00"), the Windows version record also as four numbers,
# the AppStream release and the Debian package as configured here.
if(PROJECT_VERSION_MINOR LESS 10)
  set(QUILLOMAT_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(QUILLOMAT_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(QUILLOMAT_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")

# One header for C++ and for the Windows resource compiler alike.
set(QUILLOMAT_GENERATED_DIR "${PROJECT_BINARY_DIR}/generated")
configure_file("${PROJECT_SOURCE_DIR}/res/quillomat_version.h.in" "${QUILLOMAT_GENERATED_DIR}/quillomat_version.h"
               @ONLY)
