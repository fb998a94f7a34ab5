# tarvelo_add_test(<name> SOURCES ... [LIBS ...] [QT] [OWN_MAIN] [SOCKETS] [LABELS ...] [TIMEOUT s] [SKIP_WHEN regex])
#
# One test executable per module. GoogleTest executables get one CTest entry per test case
# (discovered when ctest starts), so ctest -j spreads them over the cores; so do Qt Test executables
# (QT), one entry per test function, which run with the offscreen platform and show as skipped when
# the function says SKIP. OWN_MAIN: the test brings
# its own main() (for example to enter a private network namespace before anything else runs).
# SOCKETS: a GoogleTest executable whose main() starts the socket library first (Winsock).
# SKIP_WHEN: no longer needed (every skipped function shows as skipped), accepted for old callers.
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
  # On Linux each netns test makes a private network namespace of its own. A Windows program under
  # Wine cannot, so there the whole ctest run shares one (scripts/windows/private-network.sh), and
  # the tests that use the discovery port take turns in it.
  set(resource_lock "")
  if(CMAKE_CROSSCOMPILING_EMULATOR AND "netns" IN_LIST T_LABELS)
    set(resource_lock tarvelo_private_network)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE ${TARVELO_TEST_DEFINITIONS})
  if(T_QT)
    # One CTest entry per test function, found when ctest starts (cmake/QtTestFunctions.cmake).
    target_link_libraries(${name} PRIVATE Qt6::Test)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_functions.cmake)
    file(GENERATE OUTPUT ${script} CONTENT "
set(TARGET [[${name}]])
set(EXECUTABLE [[$<TARGET_FILE:${name}>]])
set(EMULATOR [[${CMAKE_CROSSCOMPILING_EMULATOR}]])
set(TIMEOUT [[${T_TIMEOUT}]])
set(LABELS [[ui;${T_LABELS}]])
set(WORKING_DIRECTORY [[${CMAKE_CURRENT_BINARY_DIR}]])
set(CMAKE [[${CMAKE_COMMAND}]])
set(RESOURCE_LOCK [[${resource_lock}]])
include([[${PROJECT_SOURCE_DIR}/cmake/QtTestFunctions.cmake]])
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock)
    if(NOT T_OWN_MAIN)
      target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    # Under an emulator (Wine) a program takes longer to start than the discovery's usual 5 s allow
    # on a loaded machine.
    set(discovery_timeout 5)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      set(discovery_timeout 60)
    endif()
    set(properties TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
    if(resource_lock)
      list(APPEND properties RESOURCE_LOCK ${resource_lock})
    endif()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT ${discovery_timeout}
      PROPERTIES ${properties})
  endif()
endfunction()
