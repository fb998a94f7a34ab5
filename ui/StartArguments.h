#pragma once
// What the desktop program's command line asks for once the application object has taken Qt's own
// options out of it: at most one file, to open at start as "Open" opens the file the user chose.
// "--help" and "--version" are answered earlier, without a display (main.cpp).

#include <QString>
#include <QStringList>

struct TStartArguments {
  QString file;   // the file to open at start; empty: none
  QString error;  // why the command line is refused (the program then ends with status 2); empty: fine
};

// arguments: the command line without the program's name. "--" ends the options, so that a file
// whose name begins with "-" can be given after it; "-" alone is a file name, as elsewhere.
TStartArguments ParseStartArguments(const QStringList& arguments);
