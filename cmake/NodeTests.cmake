# quillomat_node_test(<name> <file> [LABELS <label>...] [TIMEOUT <seconds>]): one CTest test that runs
# a file of Node's own test runner (node --test) from tests/web/, where npm ci puts puppeteer-core.
# The tests find in their environment Debian's Chromium, the web build's site folder, a folder for
# what a person may want to look at afterwards (screenshots) and CMake, which writes parts of the site.
include_guard(GLOBAL)

find_program(QUILLOMAT_NODE NAMES node nodejs REQUIRED DOC "Node.js, which runs the web tests")
find_program(QUILLOMAT_CHROMIUM NAMES chromium REQUIRED DOC "Debian's Chromium, which the browser tests drive")
set(QUILLOMAT_WEB_ARTIFACTS "${PROJECT_BINARY_DIR}/tests/web")
file(MAKE_DIRECTORY "${QUILLOMAT_WEB_ARTIFACTS}")

function(quillomat_node_test name file)
  cmake_parse_arguments(arg "" "TIMEOUT" "LABELS" ${ARGN})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 120)
  endif()
  add_test(NAME ${name} COMMAND "${QUILLOMAT_NODE}" --test "${file}"
           WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}/tests/web")
  set_tests_properties(${name} PROPERTIES LABELS "${arg_LABELS}" TIMEOUT ${arg_TIMEOUT}
    ENVIRONMENT "QUILLOMAT_CHROMIUM=${QUILLOMAT_CHROMIUM};QUILLOMAT_SITE=${PROJECT_BINARY_DIR}/site;QUILLOMAT_ARTIFACTS=${QUILLOMAT_WEB_ARTIFACTS};QUILLOMAT_CMAKE=${CMAKE_COMMAND}")
endfunction()
