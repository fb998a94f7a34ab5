# Prints the Windows installer's product code of one version of Tarvelo:
#
#   cmake -DUPGRADE_CODE={...} -DVERSION=1.0.100 -P cmake/MsiProductCode.cmake
#
# A name-based UUID of the version within the upgrade code: every build of one version has the
# same product code, so that installing a rebuild of the installed version is no second copy
# ("Apps & features" would list it twice), while each new version has a code of its own, as an
# upgrade needs.
if(NOT UPGRADE_CODE MATCHES "^{[0-9A-F-]+}$" OR NOT VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "usage: cmake -DUPGRADE_CODE={GUID} -DVERSION=MAJOR.MINOR.BUILD -P ${CMAKE_CURRENT_LIST_FILE}")
endif()
string(REGEX REPLACE "[{}]" "" namespace "${UPGRADE_CODE}")
string(UUID code NAMESPACE "${namespace}" NAME "Tarvelo ${VERSION}" TYPE SHA1 UPPER)
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "{${code}}")
