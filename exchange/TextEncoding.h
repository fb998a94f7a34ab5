#pragma once
// The character sets that spreadsheets and editors save an exported file in, back to the UTF-8 the
// exchange reads. Export writes UTF-8 with a byte order mark; what comes back may be:
//   UTF-8, with or without the mark            (LibreOffice, Excel's "CSV UTF-8", most editors)
//   UTF-16 LE or BE with the mark              (Excel's and Calc's "Unicode text", PowerShell 5)
//   8-bit text in the code page                (Excel's plain "CSV" on a Western Windows: Windows-1252)
// 8-bit text is taken only when the bytes are not UTF-8, and the caller says so to the user.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

enum class TTextEncoding { Utf8, Utf16LE, Utf16BE, CodePage };

struct TDecodedText {
  std::string utf8;  // the text without its byte order mark
  TTextEncoding encoding = TTextEncoding::Utf8;
};

// The file's text as UTF-8. Throws TImportError ("Line 3: ...", with what to do) for bytes that
// cannot be read as any of the above: a UTF-8 byte order mark before bytes that are not UTF-8,
// UTF-16 of an odd length or with a broken surrogate pair, zero bytes in text without a mark (UTF-16
// that lost its mark), and text that shows a UTF-8 file read as Western 8-bit text by a
// spreadsheet (the byte order mark turned into "ï»¿" at its start).
TDecodedText DecodeExchangeText(std::span<const uint8_t> bytes);
TDecodedText DecodeExchangeText(std::string_view bytes);

// What the user should know of the character set taken: empty for UTF-8, else for example
// "read as Windows-1252, as the file is not UTF-8".
std::string EncodingNote(TTextEncoding encoding);

// Whether UTF-8 text looks like UTF-8 that was read as 8-bit text in the code page and saved again
// ("Müller" as "MÃ¼ller"): its code page bytes are UTF-8 with at least one character beyond ASCII.
bool LooksDecodedTwice(std::string_view utf8);
