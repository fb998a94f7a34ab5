# tarvelo_add_test(<name> SOURCES ... [LIBS ...] [QT] [OWN_MAIN] [SOCKETS] [LABELS ...] [TIMEOUT s] [SKIP_WHEN regex])
#
# One test executable per module. GoogleTest executables get one CTest entry per test case
# (discovered when ctest starts), so ctest -j spreads them over the cores; Qt Test executables
# (QT) are one CTest entry each and run with the offscreen platform. OWN_MAIN: the test brings
# its own main() (for example to enter a private network namespace before anything else runs).
# SOCKETS: a GoogleTest executable whose main() starts the socket library first (Winsock).
# SKIP_WHEN: output that marks a Qt Test executable as skipped in CTest (GoogleTest's skips are
# marked by the discovery).
include(GoogleTest)

# Where the tests find the sources and the build. A Windows program under Wine sees the Linux
# file system as drive Z:.
set(TARVELO_TEST_PATH_PREFIX "")
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(TARVELO_TEST_PATH_PREFIX "Z:")
endif()
set(TARVELO_TEST_DEFINITIONS
  TARVELO_TEST_DATA_DIR="${TARVELO_TEST_PATH_PREFIX}${PROJECT_SOURCE_DIR}/tests/data"
  TARVELO_SOURCE_DIR="${TARVELO_TEST_PATH_PREFIX}${PROJECT_SOURCE_DIR}"
  TARVELO_BINARY_DIR="${TARVELO_TEST_PATH_PREFIX}${PROJECT_BINARY_DIR}")

function(tarvelo_add_test name)
  cmake_parse_arguments(T "QT;OWN_MAIN;SOCKETS" "TIMEOUT;SKIP_WHEN" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_SOCKETS)
    list(APPEND T_SOURCES ${PROJECT_SOURCE_DIR}/tests/support/SocketGtestMain.cpp)
    set(T_OWN_MAIN ON)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE ${TARVELO_TEST_DEFINITIONS})
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
