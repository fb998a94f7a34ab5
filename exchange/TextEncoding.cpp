#include "exchange/TextEncoding.h"

#include <algorithm>
#include <cstdio>

#include "exchange/ImportError.h"
#include "history/CodePage.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";
// The UTF-8 byte order mark as a spreadsheet shows it when it reads UTF-8 as Western 8-bit text,
// in UTF-8 again: "ï»¿".
constexpr std::string_view kMarkDecodedTwice = "\xC3\xAF\xC2\xBB\xC2\xBF";

constexpr std::string_view kOpenAsUtf8 =
    "open the file that export wrote again, choose the character set \"Unicode (UTF-8)\" when the spreadsheet "
    "asks, and save it again";

std::size_t LineAt(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, std::min(offset, text.size()));
  return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

std::string ByteText(uint8_t byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

// UTF-16 after its mark. The line of a fault counts the line breaks decoded before it.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian, std::string_view markName) {
  const auto unitAt = [&](std::size_t i) {
    const auto first = static_cast<uint8_t>(bytes[i]);
    const auto second = static_cast<uint8_t>(bytes[i + 1]);
    return static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  };
  const std::string saveAgain = "; save it again as UTF-16 (\"Unicode text\") or as UTF-8";
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char16_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const char16_t low = i + 3 < bytes.size() ? unitAt(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) {
        throw TImportError(LineAt(out, out.size()), "the file is UTF-16 (" + std::string(markName) +
                                                        ") but holds half of a character pair" + saveAgain);
      }
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
      i += 2;
      continue;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      throw TImportError(LineAt(out, out.size()), "the file is UTF-16 (" + std::string(markName) +
                                                      ") but holds half of a character pair" + saveAgain);
    }
    AppendUtf8(out, unit);
  }
  if (i < bytes.size()) {
    throw TImportError(LineAt(out, out.size()), "the file is UTF-16 (" + std::string(markName) +
                                                    ") but ends in the middle of a character" + saveAgain);
  }
  return out;
}

// The decoded text must not show the signs of a UTF-8 file that a spreadsheet read as 8-bit text.
void RefuseTextDecodedTwice(std::string_view text) {
  if (!text.empty() && text.front() == '"') text.remove_prefix(1);  // Calc quotes every text cell
  if (text.substr(0, kMarkDecodedTwice.size()) != kMarkDecodedTwice) return;
  throw TImportError(1, "the file begins with \"\xC3\xAF\xC2\xBB\xC2\xBF\", the UTF-8 byte order mark read as Western "
                        "8-bit text: a spreadsheet opened this UTF-8 file in the wrong character set, which also "
                        "turns \"\xC3\xBC\" into \"\xC3\x83\xC2\xBC\"; " + std::string(kOpenAsUtf8));
}

}  // namespace

TDecodedText DecodeExchangeText(std::span<const uint8_t> bytes) {
  return DecodeExchangeText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TDecodedText DecodeExchangeText(std::string_view bytes) {
  TDecodedText decoded;
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    const std::string_view text = bytes.substr(kUtf8Mark.size());
    const std::size_t valid = ValidUtf8Prefix(text);
    if (valid < text.size()) {
      throw TImportError(LineAt(text, valid),
                         "the file begins with the UTF-8 byte order mark, but holds the byte " +
                             ByteText(static_cast<uint8_t>(text[valid])) +
                             ", which is not UTF-8: it was saved in another character set after it was read; " +
                             std::string(kOpenAsUtf8));
    }
    decoded.utf8 = std::string(text);
  } else if (bytes.substr(0, kUtf16LEMark.size()) == kUtf16LEMark) {
    decoded.utf8 = DecodeUtf16(bytes.substr(kUtf16LEMark.size()), false, "byte order mark FF FE");
    decoded.encoding = TTextEncoding::Utf16LE;
  } else if (bytes.substr(0, kUtf16BEMark.size()) == kUtf16BEMark) {
    decoded.utf8 = DecodeUtf16(bytes.substr(kUtf16BEMark.size()), true, "byte order mark FE FF");
    decoded.encoding = TTextEncoding::Utf16BE;
  } else if (bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0')) {
    throw TImportError(1, "the file holds a zero byte beside every character, as UTF-16 text without a byte order "
                          "mark does; save it again as UTF-8, or as UTF-16 (\"Unicode text\") with the mark");
  } else if (ValidUtf8Prefix(bytes) == bytes.size()) {
    decoded.utf8 = std::string(bytes);
  } else {
    decoded.utf8 = AnsiToUtf8(bytes);
    decoded.encoding = TTextEncoding::CodePage;
  }
  RefuseTextDecodedTwice(decoded.utf8);
  return decoded;
}

std::string EncodingNote(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf8: return {};
    case TTextEncoding::Utf16LE: return "read as UTF-16 LE (\"Unicode text\"), as its byte order mark says";
    case TTextEncoding::Utf16BE: return "read as UTF-16 BE, as its byte order mark says";
    case TTextEncoding::CodePage: return "read as " + CodePageName() + ", as the file is not UTF-8";
  }
  return {};
}

bool LooksDecodedTwice(std::string_view utf8) {
  if (FirstCharacterOutsideCodePage(utf8)) return false;
  const std::string bytes = Utf8ToAnsi(utf8);
  const bool beyondAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<uint8_t>(c) >= 0x80; });
  return beyondAscii && ValidUtf8Prefix(bytes) == bytes.size();
}
