#pragma once
// What the layers below the windows tell the user, in the program's language: a file that cannot
// be read or created, a text that is no integer or date, an import's refusal and the character
// set a file was read in, a finding of the check before a write, a UDP port that fails. Those
// layers write it in English (tarvelo-cli prints it as it is, files and exports keep it); the
// windows show it through UserText.

#include <QString>
#include <string>
#include <vector>

// The text in the program's language. In English it is the text as given, byte for byte. In
// German each line of a known form is said in German: the parts that the system or the file
// gives (a path, the system's error text, a value of a cell, a column's name) stay as they are,
// and a line of no known form is shown as it is.
QString UserText(const std::string& english);

// The English of every form UserText knows, for tests.
std::vector<const char*> UserTextSources();
