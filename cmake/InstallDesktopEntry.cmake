# Writes the desktop entry of the desktop program at install time, for the prefix that this
# installation really uses. Included by the install(CODE) of ui/CMakeLists.txt, which sets
#   TARVELO_DESKTOP_TEMPLATE   the .desktop.in file (@TARVELO_DESKTOP_EXEC@, @TARVELO_DESKTOP_PATH@)
#   TARVELO_DESKTOP_NAME       the installed file's name
#   TARVELO_BINDIR, TARVELO_DATADIR   CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_DATADIR of the build
#
# Why at install time: the entry names absolute paths (Exec= the program, Path= the folder with
# the user guide, which the program looks for in its current directory). Configured at configure
# time they would carry the configured CMAKE_INSTALL_PREFIX (/usr/local unless told), while
# `cpack -G DEB` installs with the prefix /usr and `cmake --install --prefix X` with X. Here
# CMAKE_INSTALL_PREFIX is the prefix of the running installation (cpack sets it to its packaging
# prefix and puts its staging folder into DESTDIR), so the entry always names the installed files.

function(tarvelo_install_full_dir dir out)
  if(IS_ABSOLUTE "${dir}")
    set(full "${dir}")
  else()
    set(full "${CMAKE_INSTALL_PREFIX}")
    cmake_path(APPEND full "${dir}")
  endif()
  cmake_path(NORMAL_PATH full)
  string(REGEX REPLACE "(.)/$" "\\1" full "${full}")
  set(${out} "${full}" PARENT_SCOPE)
endfunction()

tarvelo_install_full_dir("${TARVELO_BINDIR}" bindir)
tarvelo_install_full_dir("${TARVELO_DATADIR}" datadir)

# Exec= is a command line: an argument with a space or another reserved character goes in double
# quotes, where ", `, $ and \ take a backslash, and the value's own escaping doubles every
# backslash; a literal % is written %%.
set(program "${bindir}/tarvelo")
if(program MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" program "${program}")
  string(REPLACE "\\" "\\\\" program "${program}")
  set(program "\"${program}\"")
endif()
string(REPLACE "%" "%%" TARVELO_DESKTOP_EXEC "${program}")
# Path= is a plain string value: only a backslash needs escaping.
string(REPLACE "\\" "\\\\" TARVELO_DESKTOP_PATH "${datadir}/tarvelo")

set(entry "${datadir}/applications/${TARVELO_DESKTOP_NAME}")
message(STATUS "Installing: $ENV{DESTDIR}${entry}")
configure_file("${TARVELO_DESKTOP_TEMPLATE}" "$ENV{DESTDIR}${entry}" @ONLY NO_SOURCE_PERMISSIONS)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "$ENV{DESTDIR}${entry}")
