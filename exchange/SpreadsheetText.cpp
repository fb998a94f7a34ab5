#include "exchange/SpreadsheetText.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The characters of UTF-8 text as code points (a malformed byte stands for itself).
std::vector<char32_t> CodePoints(std::string_view text) {
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < text.size();) {
    const auto b0 = static_cast<uint8_t>(text[i]);
    const std::size_t length = b0 < 0x80 ? 1 : (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 1;
    if (length == 1 || i + length > text.size()) {
      points.push_back(b0);
      ++i;
      continue;
    }
    char32_t cp = b0 & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
    points.push_back(cp);
    i += length;
  }
  return points;
}

// Letters of the Latin scripts the code pages of the workshop ID hold; digits, currency signs,
// punctuation and symbols are no letters.
bool IsLetter(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  if (c == 0xAA || c == 0xB5 || c == 0xBA) return true;  // ª µ º
  if (c >= 0xC0 && c <= 0x24F) return c != 0xD7 && c != 0xF7;  // À..ɏ without × ÷
  // Punctuation, currency signs (€ is U+20AC), arrows and other symbols are no letters: "€12" is an
  // amount.
  if (c >= 0x2000 && c <= 0x2BFF) return false;
  return c >= 0x370;  // Greek, Cyrillic and beyond: letters, as far as a spreadsheet cares
}

char32_t Lower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // À..Þ
  return c;
}

std::u32string LowerWord(const std::vector<char32_t>& points, std::size_t from, std::size_t to) {
  std::u32string word;
  for (std::size_t i = from; i < to; ++i) word += Lower(points[i]);
  return word;
}

// Truth values as spreadsheets in the common languages of Europe and the Americas write them (Calc
// and Excel take them in either case, and write them in capitals).
constexpr std::u32string_view kTruthValues[] = {
    U"true",  U"false",    U"wahr",   U"falsch", U"vrai",  U"faux",  U"verdadero", U"falso",    U"vero",
    U"verdadeiro", U"waar", U"onwaar", U"sant",  U"falsk", U"sand",  U"tosi",      U"epätosi",  U"prawda",
    U"fałsz", U"pravda",   U"nepravda", U"igaz", U"hamis", U"adevărat", U"fals",   U"doğru",    U"yanlış",
};

// Words that make a date or a time of the digits around them: month names and their short forms in
// English, German, French, Spanish, Italian and Dutch, the hours' AM and PM, and the E of an exponent.
constexpr std::u32string_view kDateWords[] = {
    U"jan",  U"feb",  U"mar",  U"apr",  U"may",  U"jun",  U"jul",  U"aug",  U"sep",  U"sept", U"oct",
    U"nov",  U"dec",  U"january", U"february", U"march", U"april", U"june", U"july", U"august",
    U"september", U"october", U"november", U"december", U"jän", U"januar", U"februar", U"mär", U"mrz",
    U"märz", U"mai",  U"juni", U"juli", U"okt",  U"oktober", U"dez", U"dezember", U"janv", U"févr",
    U"mars", U"avr",  U"juin", U"juil", U"août", U"déc",  U"ene",  U"abr",  U"ago",  U"dic",  U"gen",
    U"mag",  U"giu",  U"lug",  U"set",  U"ott",  U"mrt",  U"mei",  U"am",   U"pm",   U"e",
};

template <std::size_t N>
bool OneOf(const std::u32string_view (&words)[N], const std::u32string& word) {
  return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

}  // namespace

bool SpreadsheetMayRewrite(std::string_view utf8) {
  if (utf8.empty()) return false;
  if (std::string_view("=+-@#").find(utf8.front()) != std::string_view::npos) return true;
  if (utf8.front() == ' ' || utf8.back() == ' ') return true;
  const std::vector<char32_t> points = CodePoints(utf8);
  if (OneOf(kTruthValues, LowerWord(points, 0, points.size()))) return true;
  // Digits with no letters at all, or only letters that a date, a time or an exponent is written
  // with: a value.
  bool digit = false;
  bool onlyDateWords = true;
  for (std::size_t i = 0; i < points.size();) {
    if (!IsLetter(points[i])) {
      digit = digit || (points[i] >= '0' && points[i] <= '9');
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < points.size() && IsLetter(points[end])) ++end;
    onlyDateWords = onlyDateWords && OneOf(kDateWords, LowerWord(points, i, end));
    i = end;
  }
  if (onlyDateWords) return digit || std::none_of(points.begin(), points.end(), IsLetter);
  return false;
}
