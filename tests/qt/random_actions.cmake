# The model-based random test of the working window: random_actions_test drives the real window
# with seeded random key and mouse events and compares it with an independent model after every
# action. Included from tests/qt/CMakeLists.txt; needs quillomat_qt and quillomat_resources.
#
# The suite runs the fixed seed. Longer runs take their seed and count from the environment:
#   QUILLOMAT_RANDOM_SEED=123 QUILLOMAT_RANDOM_ACTIONS=50000 tests/qt/random_actions_test
# (see the comment at the top of random_actions_test.cpp).
find_package(GTest REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)

add_executable(random_actions_test
  ${CMAKE_CURRENT_LIST_DIR}/random_actions_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_main.cpp)
target_link_libraries(random_actions_test PRIVATE quillomat_qt quillomat_resources Qt6::Test GTest::gtest)
quillomat_warnings(random_actions_test)

add_test(NAME random_actions COMMAND random_actions_test)
set_tests_properties(random_actions PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
  TIMEOUT 600
  LABELS "gui;random")
