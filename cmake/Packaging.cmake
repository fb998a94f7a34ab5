# cpack -G DEB: a Debian package of the three programs with their manual pages, the user guide,
# the sample history, the desktop entry, the AppStream metadata and the icon, installed under
# /usr, depending on the Debian packages of the libraries the programs link.
#
# The package's documentation, as Debian wants it: packaging/copyright (machine-readable) and
# packaging/changelog, compressed with gzip -9n, in /usr/share/doc/tarvelo. Also installed by
# cmake --install.
set(TARVELO_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tarvelo)
find_program(TARVELO_GZIP gzip REQUIRED)
set(TARVELO_CHANGELOG_GZ ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${TARVELO_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
  COMMAND ${TARVELO_GZIP} -9nf ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the package's changelog"
  VERBATIM)
add_custom_target(tarvelo_changelog ALL DEPENDS ${TARVELO_CHANGELOG_GZ})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${TARVELO_CHANGELOG_GZ} DESTINATION ${TARVELO_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelo)
set(CPACK_PACKAGE_VENDOR "Tarvelo")
set(CPACK_PACKAGE_CONTACT "Tarvelo developers <tarvelo@users.noreply.github.com>")
# The first line is the package's synopsis, the others its extended description (lines under 80
# characters, as Debian policy wants them).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keep a BMW car's service history and write it into the head unit")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tarvelo keeps the service history that a BMW car stores in its head unit: a"
  "list of service entries (date, km, workshop, status and the procedures done),"
  "saved as *.kelta history files and written into the head unit over the car's"
  "Ethernet diagnostic access (ENET)."
  ""
  "The package holds the desktop program tarvelo, tarvelo-cli, which does the"
  "same from the command line, and tarvelo-carsim, a simulated car for trying"
  "Tarvelo without one.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: computed by dpkg-shlibdeps from the libraries the programs really link (the Qt 6
# libraries, libstdc++, libgcc, libc), with the versions their symbols need.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# "HELP" opens the guide with QDesktopServices, which hands it to xdg-open outside a portal.
# xdg-utils opens the guide and the web page; qt6-translations-l10n gives Qt's own texts (Yes, No,
# the file dialogs) in German.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
# The build keeps debugging information (RelWithDebInfo); the packaged programs are stripped.
set(CPACK_STRIP_FILES ON)
include(CPack)
