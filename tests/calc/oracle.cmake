# The percentage oracle: the number and text layer checked against an exact decimal reference.
# Included from tests/calc/CMakeLists.txt.
if(NOT TARGET GTest::gtest_main)
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

add_executable(percent_oracle_test ${CMAKE_CURRENT_LIST_DIR}/percent_oracle_test.cpp)
target_include_directories(percent_oracle_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../..)
target_link_libraries(percent_oracle_test PRIVATE quillomat_calc GTest::gtest_main)
quillomat_warnings(percent_oracle_test)
quillomat_gtest(percent_oracle_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
# The reference is slow by design; keep sanitizer (Debug) runs and size-optimised (web) runs of the
# full sweeps short.
target_compile_options(percent_oracle_test PRIVATE $<$<CONFIG:Debug>:-O1> $<$<CONFIG:MinSizeRel>:-O2>)
