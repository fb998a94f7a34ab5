# tarvelo_add_test(<name> SOURCES ... [LIBS ...] [QT] [OWN_MAIN] [LABELS ...] [TIMEOUT s] [SKIP_WHEN regex])
#
# One test executable per module. GoogleTest executables get one CTest entry per test case
# (discovered after the build), so ctest -j spreads them over the cores; Qt Test executables
# (QT) are one CTest entry each and run with the offscreen platform. OWN_MAIN: the test brings
# its own main() (for example to enter a private network namespace before anything else runs).
# SKIP_WHEN: output that marks a Qt Test executable as skipped in CTest (GoogleTest's skips are
# marked by the discovery).
include(GoogleTest)

function(tarvelo_add_test name)
  cmake_parse_arguments(T "QT;OWN_MAIN" "TIMEOUT;SKIP_WHEN" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    TARVELO_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    TARVELO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TARVELO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(T_QT)
    target_link_libraries(${name} PRIVATE Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      TIMEOUT ${T_TIMEOUT}
      LABELS "ui;${T_LABELS}")
    if(T_SKIP_WHEN)
      set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "${T_SKIP_WHEN}")
    endif()
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock)
    if(NOT T_OWN_MAIN)
      target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
  endif()
endfunction()
