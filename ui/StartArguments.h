#pragma once
// What the desktop program's command line asks for once the application object has taken Qt's own
// options out of it: at most one file, to open at start as "Open" opens the file the user chose.
// "--help" and "--version" are answered earlier, without a display (main.cpp).

#include <QString>
#include <QStringList>

#include <optional>

struct TStartArguments {
  QString file;   // the file to open at start; empty: none
  std::optional<QString> language;  // "--lang de" or "--lang=de" (the last one given); none: not chosen
  QString error;  // why the command line is refused (the program then ends with status 2); empty: fine
};

// arguments: the command line without the program's name. "--lang de|en" (or "--lang=de") chooses
// the language. "--" ends the options, so that a file whose name begins with "-" can be given
// after it; "-" alone is a file name, as elsewhere.
TStartArguments ParseStartArguments(const QStringList& arguments);
