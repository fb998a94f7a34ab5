#pragma once
// The texts of the code tables and of the lists' column captions as the windows and the service
// book show them: in the program's language. The history library keeps them in English (files and tarvelo-cli use them
// as they are); here they are looked up in the translation, with what surrounds them kept:
// "UNKNOWN(7)" and the editor's "2 LATE" keep their numbers.

#include <QLocale>
#include <QString>
#include <string_view>

// A text of the code tables ("Engine oil", "ON TIME", "UNKNOWN(7)", "0 UNKNOWN(7)", "2 LATE").
QString CodeText(std::string_view english);

// A column caption of the entries or procedures list ("Date", "SERVICE TYPE").
QString ColumnCaption(std::string_view english);

// The locale of numbers in the program's language ("98,450" in English, "98.450" in German).
QLocale NumberLocale();
