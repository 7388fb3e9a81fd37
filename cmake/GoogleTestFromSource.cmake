# GoogleTest for a cross build: Debian ships GoogleTest compiled only for Linux, so a Windows build
# compiles it from Debian's sources (the googletest package, /usr/src/googletest) into its own build
# tree. Its own build names the targets as find_package(GTest) does (GTest::gtest, GTest::gtest_main,
# GTest::gmock, GTest::gmock_main), so the tests link the same either way.
set(QUILLOMAT_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest's sources, for cross builds")
if(NOT EXISTS "${QUILLOMAT_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
  message(FATAL_ERROR "No GoogleTest sources in ${QUILLOMAT_GOOGLETEST_SOURCE_DIR} (Debian package googletest); "
                      "a cross build compiles GoogleTest from them.")
endif()

if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  # Only what the tests link is built: EXCLUDE_FROM_ALL.
  add_subdirectory("${QUILLOMAT_GOOGLETEST_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
endif()
