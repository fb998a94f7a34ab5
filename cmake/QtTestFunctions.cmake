# Run by ctest before the tests (TEST_INCLUDE_FILES; written by tarvelo_add_test): one CTest entry
# per test function of a Qt Test executable, so that each function shows as passed, failed or
# skipped on its own. Asks the executable for its functions (-functions), through the emulator
# when there is one.
#
# Variables: TARGET (the CTest name prefix), EXECUTABLE, EMULATOR, TIMEOUT, LABELS, WORKING_DIRECTORY,
# CMAKE (the cmake program; ctest does not set CMAKE_COMMAND), RESOURCE_LOCK (empty for none).
# The listing runs without LeakSanitizer: fontconfig leaves 288 bytes when a program only lists its
# functions, and the sanitizer's abort would lose the list and run the executable as one entry.
# Each function still runs under the sanitizers' full options.
execute_process(COMMAND ${CMAKE} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ${EMULATOR} "${EXECUTABLE}" -functions
                WORKING_DIRECTORY "${WORKING_DIRECTORY}"
                OUTPUT_VARIABLE listed RESULT_VARIABLE failed ERROR_VARIABLE errors)
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*\\(\\)" functions "${listed}")
if(failed OR NOT functions)
  # The executable could not say: one entry that runs it whole, and fails with its output.
  add_test("${TARGET}" ${EMULATOR} "${EXECUTABLE}")
  set_tests_properties("${TARGET}" PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT "${TIMEOUT}"
                       LABELS "${LABELS}" WORKING_DIRECTORY "${WORKING_DIRECTORY}")
  return()
endif()
foreach(function IN LISTS functions)
  string(REPLACE "()" "" function "${function}")
  add_test("${TARGET}.${function}" ${EMULATOR} "${EXECUTABLE}" "${function}")
  set_tests_properties("${TARGET}.${function}" PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT "${TIMEOUT}"
    LABELS "${LABELS}"
    WORKING_DIRECTORY "${WORKING_DIRECTORY}"
    SKIP_REGULAR_EXPRESSION "SKIP   : [A-Za-z0-9_:]+::${function}\\(\\)")
  if(RESOURCE_LOCK)
    set_tests_properties("${TARGET}.${function}" PROPERTIES RESOURCE_LOCK "${RESOURCE_LOCK}")
  endif()
endforeach()
