# After `cmake --install` into a prefix: makes that prefix's MIME database and desktop entry cache
# know what was just installed (the *.kelta file type and the entry that opens it), as the Debian
# package's triggers do for /usr. Included by the last install(CODE) of ui/CMakeLists.txt, which
# sets TARVELO_DATADIR (CMAKE_INSTALL_DATADIR of the build).
#
# Only for a real installation: a staged one (DESTDIR, as cpack makes the package) leaves the
# databases to the system that installs the package. The files made here are caches, rebuilt from
# every package's files, and stay out of install_manifest.txt: removing the installed files must
# not take other programs' file types with them. Without the tools (shared-mime-info,
# desktop-file-utils) nothing is done; the desktop has no database to update then.

if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()

if(IS_ABSOLUTE "${TARVELO_DATADIR}")
  set(datadir "${TARVELO_DATADIR}")
else()
  set(datadir "${CMAKE_INSTALL_PREFIX}/${TARVELO_DATADIR}")
endif()

find_program(TARVELO_UPDATE_MIME_DATABASE update-mime-database)
find_program(TARVELO_UPDATE_DESKTOP_DATABASE update-desktop-database)
foreach(step IN ITEMS "MIME_DATABASE;mime" "DESKTOP_DATABASE;applications")
  list(GET step 0 tool)
  list(GET step 1 folder)
  set(program "${TARVELO_UPDATE_${tool}}")
  if(NOT program)
    continue()
  endif()
  message(STATUS "Updating: ${datadir}/${folder}")
  execute_process(COMMAND "${program}" "${datadir}/${folder}" RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE errors)
  if(failed)
    message(WARNING "${program} ${datadir}/${folder} failed: ${errors}")
  endif()
endforeach()
