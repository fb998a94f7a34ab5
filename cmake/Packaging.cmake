# cpack -G DEB: a Debian package of the three programs, the user guide, the sample history, the
# desktop entry and the icon, depending on Debian's Qt 6 packages.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelo)
set(CPACK_PACKAGE_VENDOR "Tarvelo")
set(CPACK_PACKAGE_CONTACT "Tarvelo developers <tarvelo@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keep a BMW car's service history and write it into the head unit")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvelo keeps the service history that a BMW car stores in its head unit: a list of service entries, "
    "saved as *.kelta history files and written into the head unit over the car's Ethernet diagnostic "
    "access (ENET). With tarvelo-cli for the command line and tarvelo-carsim, a simulated car.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1")
include(CPack)
