# Run with cmake -P: the version that each generated file carries must be the project's.
#   project 1.2.3 -> "1.02" in the program and its version record, 1,2,3,0 as numbers,
#   "1.02" as the AppStream release, 1.2.3 as the Debian package version.
string(REPLACE "." ";" parts "${PROJECT_VERSION}")
list(GET parts 0 major)
list(GET parts 1 minor)
list(GET parts 2 patch)
if(minor LESS 10)
  set(text "${major}.0${minor}")
else()
  set(text "${major}.${minor}")
endif()

function(expect_in file pattern what)
  file(READ "${file}" content)
  string(FIND "${content}" "${pattern}" at)
  if(at EQUAL -1)
    message(SEND_ERROR "${what}: ${file} lacks ${pattern}")
  endif()
endfunction()

expect_in("${VERSION_HEADER}" "#define QUILLOMAT_VERSION_TEXT \"${text}\"" "program version text")
expect_in("${VERSION_HEADER}" "#define QUILLOMAT_VERSION_NUMBERS ${major},${minor},${patch},0" "version numbers")
expect_in("${METAINFO}" "<release version=\"${text}\"" "AppStream release")
expect_in("${CPACK_CONFIG}" "set(CPACK_PACKAGE_VERSION \"${PROJECT_VERSION}\")" "Debian package version")
# The program and the version record take the generated values, not numbers of their own.
expect_in("${APPLICATION_INFO}" "setApplicationVersion(QStringLiteral(QUILLOMAT_VERSION_TEXT))" "application info")
expect_in("${RC_SCRIPT}" "FILEVERSION    QUILLOMAT_VERSION_NUMBERS" "version record")
expect_in("${RC_SCRIPT}" "\"FileVersion\",      QUILLOMAT_VERSION_TEXT" "version record")
expect_in("${RC_SCRIPT}" "\"ProductVersion\",   QUILLOMAT_VERSION_TEXT" "version record")
