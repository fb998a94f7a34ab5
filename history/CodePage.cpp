#include "history/CodePage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Decodes one UTF-8 sequence from the front of text. Returns the code point and its length in
// bytes, or nullopt with length 1 for a malformed or overlong sequence.
struct TDecoded {
  std::optional<char32_t> codePoint;
  std::size_t length;
};

TDecoded DecodeUtf8(std::string_view text) {
  const auto b0 = static_cast<uint8_t>(text[0]);
  if (b0 < 0x80) return {b0, 1};
  std::size_t length;
  char32_t cp;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4;
    cp = b0 & 0x07;
  } else {
    return {std::nullopt, 1};
  }
  if (text.size() < length) return {std::nullopt, 1};
  for (std::size_t i = 1; i < length; ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    if ((b & 0xC0) != 0x80) return {std::nullopt, 1};
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return {std::nullopt, 1};
  }
  return {cp, length};
}

void AppendUtf8Bytes(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

constexpr char kReplacement = '?';

#ifndef _WIN32

// Windows-1252 bytes 0x80..0x9F. The five bytes that the code page leaves undefined map to the
// C1 control of the same value, as Windows itself converts them, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t Cp1252ToCodePoint(uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kCp1252High[byte - 0x80];
  return byte;  // ASCII and 0xA0..0xFF are Latin-1
}

std::optional<uint8_t> CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<uint8_t>(cp);
  for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
    if (kCp1252High[i] == cp) return static_cast<uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

#else

std::string WideToUtf8(const wchar_t* w, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    char32_t cp = static_cast<char16_t>(w[i]);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < count) {
      const char32_t low = static_cast<char16_t>(w[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8Bytes(out, cp);
  }
  return out;
}

// One character in the ANSI code page; empty when the code page cannot hold it.
std::string CodePointToAnsi(char32_t cp) {
  wchar_t w[2];
  int wn = 1;
  if (cp >= 0x10000) {
    w[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
    w[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    wn = 2;
  } else {
    w[0] = static_cast<wchar_t>(cp);
  }
  char buffer[8];
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, wn, buffer, sizeof buffer,
                                    nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return {};
  return std::string(buffer, n);
}

#endif

}  // namespace

#ifndef _WIN32

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) AppendUtf8Bytes(out, Cp1252ToCodePoint(static_cast<uint8_t>(c)));
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8, std::size_t maxBytes) {
  std::string out;
  while (!utf8.empty() && out.size() < maxBytes) {
    const TDecoded d = DecodeUtf8(utf8);
    utf8.remove_prefix(d.length);
    const std::optional<uint8_t> byte = d.codePoint ? CodePointToCp1252(*d.codePoint) : std::nullopt;
    out += byte ? static_cast<char>(*byte) : kReplacement;
  }
  return out;
}

#else

std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
  return WideToUtf8(w.data(), n);
}

std::string Utf8ToAnsi(std::string_view utf8, std::size_t maxBytes) {
  std::string out;
  while (!utf8.empty() && out.size() < maxBytes) {
    const TDecoded d = DecodeUtf8(utf8);
    utf8.remove_prefix(d.length);
    std::string ch = d.codePoint ? CodePointToAnsi(*d.codePoint) : std::string();
    if (ch.empty()) ch = std::string(1, kReplacement);
    if (out.size() + ch.size() > maxBytes) break;  // a double-byte character that does not fit whole
    out += ch;
  }
  return out;
}

#endif

void AppendUtf8(std::string& text, char32_t codePoint) { AppendUtf8Bytes(text, codePoint); }

std::string CodePageName() {
#ifdef _WIN32
  return "Windows-" + std::to_string(GetACP());
#else
  return "Windows-1252";
#endif
}

std::size_t ValidUtf8Prefix(std::string_view text) {
  std::size_t valid = 0;
  while (valid < text.size()) {
    const TDecoded d = DecodeUtf8(text.substr(valid));
    if (!d.codePoint) break;
    valid += d.length;
  }
  return valid;
}

std::optional<std::string> FirstCharacterOutsideCodePage(std::string_view utf8) {
  while (!utf8.empty()) {
    const TDecoded d = DecodeUtf8(utf8);
    const std::string_view character = utf8.substr(0, d.length);
    utf8.remove_prefix(d.length);
    if (!d.codePoint) return std::string(character);
#ifdef _WIN32
    if (CodePointToAnsi(*d.codePoint).empty()) return std::string(character);
#else
    if (!CodePointToCp1252(*d.codePoint)) return std::string(character);
#endif
  }
  return std::nullopt;
}
