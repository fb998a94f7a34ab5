#pragma once
// The 8-bit code page of the workshop ID and of host texts.
//
// On Windows this is the system's ANSI code page (CP_ACP). Elsewhere it is Windows-1252, so a
// history file carries the same bytes wherever it was made. The rest of the program speaks UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// 8-bit text to UTF-8. Every byte maps to a character; none is dropped.
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 to 8-bit text of at most maxBytes bytes. A character the code page cannot hold, and every
// byte of a malformed UTF-8 sequence, becomes "?". Text that does not fit is cut before the first
// character that would not fit whole: a character is never split.
std::string Utf8ToAnsi(std::string_view utf8, std::size_t maxBytes = std::string::npos);

// The code page's name as users know it: "Windows-1252" (on Windows the system's, "Windows-1250"...).
std::string CodePageName();

// One code point (at most U+10FFFF) appended to text as UTF-8.
void AppendUtf8(std::string& text, char32_t codePoint);

// The length of the longest start of text that is well-formed UTF-8 (text.size() when all of it is).
std::size_t ValidUtf8Prefix(std::string_view text);

// The first character of UTF-8 text that the code page cannot hold (as UTF-8), or nullopt when it
// holds them all: what Utf8ToAnsi would have to replace by "?".
std::optional<std::string> FirstCharacterOutsideCodePage(std::string_view utf8);
