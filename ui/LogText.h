#pragma once
// The lines of the ENET log and the bar's wait text as the window shows them: in the program's
// language. The writer and the search write their lines in English (tarvelo-cli prints them as
// they are); here each line is matched against the forms the writer writes and said again in the
// translation's words. The car's bytes, addresses, VINs and the names of negative response codes
// stay as they are, and a line of no known form is shown unchanged.

#include <QString>
#include <string>

QString LogLineText(const std::string& line);

// "Entry 3 of 9: the head unit asks for more time (12 s)" and the like.
QString WaitingText(const std::string& text);
