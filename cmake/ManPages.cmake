# tarvelo_add_manpage(<target> <what it is> [COMMANDS <command>...] [SEE_ALSO <page>...])
#
# The manual page <target>.1.gz of a program, made at build time by help2man from the program's
# --help and --version, so that it says what the program does and never goes stale. COMMANDS adds
# a COMMANDS section made from `<program> <command> --help` of each command
# (cmake/ManPageCommands.cmake); SEE_ALSO names other manual pages of section 1. The page is
# compressed with gzip -9n (no file name, no time stamp), as Debian wants it, and installed into
# share/man/man1.
if(WIN32)
  # Windows has no manual pages; its programs print the same with --help.
  function(tarvelo_add_manpage)
  endfunction()
  return()
endif()

find_program(TARVELO_HELP2MAN help2man REQUIRED)
find_program(TARVELO_GZIP gzip REQUIRED)

function(tarvelo_add_manpage target what)
  cmake_parse_arguments(M "" "" "COMMANDS;SEE_ALSO" ${ARGN})
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
  set(includes)
  set(generate)
  if(M_COMMANDS)
    set(commands ${CMAKE_CURRENT_BINARY_DIR}/${target}-commands.h2m)
    list(APPEND includes --include ${commands})
    string(REPLACE ";" "," command_list "${M_COMMANDS}")
    set(generate COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DCOMMANDS=${command_list}
                         -DOUTPUT=${commands} -P ${PROJECT_SOURCE_DIR}/cmake/ManPageCommands.cmake)
  endif()
  if(M_SEE_ALSO)
    list(TRANSFORM M_SEE_ALSO APPEND " (1)")
    list(TRANSFORM M_SEE_ALSO PREPEND ".BR ")
    list(JOIN M_SEE_ALSO ",\n" see_also)
    file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}-see-also.h2m CONTENT "[SEE ALSO]\n${see_also}\n")
    list(APPEND includes --include ${CMAKE_CURRENT_BINARY_DIR}/${target}-see-also.h2m)
  endif()
  add_custom_command(OUTPUT ${page}.gz
    ${generate}
    COMMAND ${TARVELO_HELP2MAN} --no-info --name ${what} ${includes} --output ${page} $<TARGET_FILE:${target}>
    COMMAND ${TARVELO_GZIP} -9nf ${page}
    DEPENDS ${target} ${PROJECT_SOURCE_DIR}/cmake/ManPageCommands.cmake
    COMMENT "Writing the manual page ${target}.1"
    VERBATIM)
  add_custom_target(${target}_manpage ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
