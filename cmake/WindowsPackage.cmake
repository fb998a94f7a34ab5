# The Windows programs as Windows wants them, and the folder that the Windows zip holds.
#
# - Version information for tarvelo.exe, tarvelo-cli.exe and tarvelo-carsim.exe, and the icon
#   (tarvelo-assets draws tarvelo.ico at build time, under Wine when cross-building): resources
#   from packaging/windows/program.rc.in.
# - tarvelo.exe is a window program (no console window of its own).
# - cmake --install puts the programs, the Qt and runtime DLLs with the plugins, the user guide,
#   the sample history, README.txt and the licence texts into one flat folder; `--strip` strips
#   the programs and the DLLs. scripts/windows/build.sh zips that folder.

set(TARVELO_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
file(MAKE_DIRECTORY ${TARVELO_WINDOWS_DIR})

# "1.00.100" -> "1,0,100,0"
set(TARVELO_RC_VERSION "")
foreach(part MAJOR MINOR PATCH)
  math(EXPR number "${PROJECT_VERSION_${part}} + 0")
  string(APPEND TARVELO_RC_VERSION "${number},")
endforeach()
string(APPEND TARVELO_RC_VERSION "0")

if(TARVELO_GUI)
  set(TARVELO_ICO ${TARVELO_WINDOWS_DIR}/tarvelo.ico)
  add_custom_command(OUTPUT ${TARVELO_ICO}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:tarvelo-assets> icon ${TARVELO_ICO}
    DEPENDS tarvelo-assets
    COMMENT "Drawing the Windows icon tarvelo.ico")
  add_custom_target(tarvelo_windows_icon DEPENDS ${TARVELO_ICO})
endif()

# tarvelo_windows_resources(<target> <description>): version information, and the icon when
# there is one.
function(tarvelo_windows_resources target description)
  get_target_property(TARVELO_RC_NAME ${target} OUTPUT_NAME)
  if(NOT TARVELO_RC_NAME)
    set(TARVELO_RC_NAME ${target})
  endif()
  set(TARVELO_RC_DESCRIPTION "${description}")
  set(TARVELO_RC_ICON "")
  set(rc ${TARVELO_WINDOWS_DIR}/${target}.rc)
  if(TARVELO_ICO)
    set(TARVELO_RC_ICON "1 ICON \"${TARVELO_ICO}\"")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  if(TARVELO_ICO)
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${TARVELO_ICO})
    add_dependencies(${target} tarvelo_windows_icon)
  endif()
endfunction()

tarvelo_windows_resources(tarvelo-cli "Tarvelo from the command line")
tarvelo_windows_resources(tarvelo-carsim "Tarvelo's simulated car")
if(TARVELO_GUI)
  tarvelo_windows_resources(tarvelo "Tarvelo, the service history of a BMW head unit")
  set_target_properties(tarvelo PROPERTIES WIN32_EXECUTABLE ON)
endif()

# The folder of the zip. The Linux install rules of ui/ and tools/ put the programs into bin/ and
# the guide into share/; a component of its own keeps them apart: cmake --install --component windows.
if(TARVELO_GUI)
  get_filename_component(TARVELO_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
  set(TARVELO_QT_NOTICES ${TARVELO_QT_PREFIX}/licenses)
  if(NOT EXISTS ${TARVELO_QT_NOTICES}/source-version)
    message(FATAL_ERROR "${TARVELO_QT_NOTICES} has no licence notices: build Qt with scripts/windows/qt-mingw.sh")
  endif()
  file(STRINGS ${TARVELO_QT_NOTICES}/source-version TARVELO_QT_SOURCE_VERSION LIMIT_COUNT 1)

  # The versions of the runtime DLLs, from the Debian packages that hold them.
  function(tarvelo_package_field variable package field)
    execute_process(COMMAND dpkg-query -W "-f=\${${field}}" ${package}
                    OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed OR value STREQUAL "")
      message(FATAL_ERROR "dpkg-query knows no ${field} of ${package}")
    endif()
    set(${variable} "${value}" PARENT_SCOPE)
  endfunction()
  tarvelo_package_field(TARVELO_GCC_RUNTIME_VERSION gcc-mingw-w64-x86-64-posix-runtime Version)
  tarvelo_package_field(TARVELO_GCC_SOURCE_VERSION gcc-mingw-w64-x86-64-posix-runtime source:Version)
  tarvelo_package_field(TARVELO_MINGW_DEV_VERSION mingw-w64-x86-64-dev Version)
  tarvelo_package_field(TARVELO_MINGW_SOURCE_VERSION mingw-w64-x86-64-dev source:Version)
  string(REGEX REPLACE "-.*" "" TARVELO_GCC_VERSION "${TARVELO_GCC_RUNTIME_VERSION}")

  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in ${TARVELO_WINDOWS_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/licenses-SOURCES.txt.in ${TARVELO_WINDOWS_DIR}/SOURCES.txt @ONLY NEWLINE_STYLE CRLF)

  set(component COMPONENT windows EXCLUDE_FROM_ALL)
  install(TARGETS tarvelo tarvelo-cli tarvelo-carsim RUNTIME DESTINATION . ${component})
  install(FILES ${CMAKE_BINARY_DIR}/ui/tarvelo_help.pdf ${CMAKE_BINARY_DIR}/ui/tarvelo_help_de.pdf ${PROJECT_SOURCE_DIR}/examples/sample.kelta
                ${TARVELO_WINDOWS_DIR}/README.txt DESTINATION . ${component})
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt ${component})
  install(FILES ${TARVELO_QT_PREFIX}/bin/Qt6Core.dll ${TARVELO_QT_PREFIX}/bin/Qt6Gui.dll ${TARVELO_QT_PREFIX}/bin/Qt6Widgets.dll
                ${TARVELO_MINGW_STDCXX_DLL} ${TARVELO_MINGW_GCC_DLL_DIR}/libgcc_s_seh-1.dll ${TARVELO_MINGW_PTHREAD_DLL}
          DESTINATION . ${component})
  install(FILES ${TARVELO_QT_PREFIX}/plugins/platforms/qwindows.dll DESTINATION platforms ${component})
  # Qt's own texts in German (Yes, No, the file dialogs): Debian's catalogue, the same for every
  # platform, in the folder beside the program where the program looks for it.
  install(FILES ${TARVELO_QTBASE_DE_QM} DESTINATION translations ${component})
  install(FILES ${TARVELO_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles ${component})
  install(FILES ${TARVELO_WINDOWS_DIR}/SOURCES.txt DESTINATION licenses ${component})
  install(FILES ${TARVELO_QT_NOTICES}/LGPL-3.0-only.txt ${TARVELO_QT_NOTICES}/GPL-3.0-only.txt
                ${TARVELO_QT_NOTICES}/GPL-2.0-only.txt ${TARVELO_QT_NOTICES}/copyright
          DESTINATION licenses/Qt ${component})
  install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright /usr/share/common-licenses/GPL-3
          DESTINATION licenses/gcc-runtime ${component})
  install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright DESTINATION licenses/mingw-w64 ${component})
  # --strip strips the programs; the DLLs are stripped here, as they are copied.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      file(GLOB_RECURSE dlls \"\${CMAKE_INSTALL_PREFIX}/*.dll\")
      foreach(dll IN LISTS dlls)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${dll}\" COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()
  " ${component})
endif()
