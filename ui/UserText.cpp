#include "ui/UserText.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include "ui/Language.h"
#include "ui/TextForms.h"

namespace {

QString Tr(const char* context, const char* source) { return QCoreApplication::translate(context, source); }

// "79,300" as the check writes thousands, in the program's language ("79.300" in German).
QString Thousands(const QString& english) {
  bool ok = false;
  const qulonglong value = QString(english).remove(QLatin1Char(',')).toULongLong(&ok);
  if (!ok) return english;
  const QLocale locale(CurrentLanguage() == TLanguage::German ? QLocale::German : QLocale::English);
  return locale.toString(value);
}
const TFormPart kThousands = SaidAs(Thousands, QStringLiteral("[0-9][0-9,]*"));

// A field of an imported file as an import names it: a column of the spreadsheet or a key of the
// JSON, by the name the file has ("Status code", in quotes), or a value of a procedure ("procedure
// 2's type code").
QString QuotedName(const QString& name) { return Tr("Import", QT_TRANSLATE_NOOP("Import", "\"%1\"")).arg(name); }
QString ProcedureFieldText(const QString& field) {
  static const std::vector<const char*> kFields = {
      QT_TRANSLATE_NOOP("Import", "type code"),   QT_TRANSLATE_NOOP("Import", "status code"),
      QT_TRANSLATE_NOOP("Import", "service type"), QT_TRANSLATE_NOOP("Import", "status"),
      QT_TRANSLATE_NOOP("Import", "reserved bytes"),
  };
  for (const char* known : kFields) {
    if (field == QLatin1String(known)) return Tr("Import", known);
  }
  return QuotedName(field);
}
QString FieldText(const QString& field) {
  static const TTextForms kProcedureField({
      {"Import", QT_TRANSLATE_NOOP("Import", "procedure %1's %2"), {Digits(), SaidAs(ProcedureFieldText)}},
  });
  return kProcedureField.Translate(field).value_or(QuotedName(field));
}
const TFormPart kField = SaidAs(FieldText, QStringLiteral("[^\"]+"));

// What a value is not the text of: "Status code 2", "type code 1", "the number of procedures".
QString OfWhatText(const QString& what) {
  static const TTextForms kOfWhat({
      {"Import", QT_TRANSLATE_NOOP("Import", "the number of procedures"), {}},
      {"Import", QT_TRANSLATE_NOOP("Import", "type code %1"), {}},
      {"Import", QT_TRANSLATE_NOOP("Import", "status code %1"), {}},
      {"Import", QT_TRANSLATE_NOOP("Import", "Workshop type code %1"), {}},
      {"Import", QT_TRANSLATE_NOOP("Import", "Status code %1"), {}},
  });
  return kOfWhat.Translate(what).value_or(what);
}

// The byte count a hex cell must give: "1 byte", "4 bytes (day, month, year)".
QString ByteCountText(const QString& count) {
  static const std::vector<const char*> kCounts = {
      QT_TRANSLATE_NOOP("Import", "1 byte"), QT_TRANSLATE_NOOP("Import", "4 bytes (day, month, year)"),
      QT_TRANSLATE_NOOP("Import", "6 bytes"), QT_TRANSLATE_NOOP("Import", "7 bytes"),
  };
  return PhraseText("Import", kCounts, count);
}

// The kind of a JSON value that is neither a number nor a text.
QString JsonKindText(const QString& kind) {
  static const std::vector<const char*> kKinds = {
      QT_TRANSLATE_NOOP("Import", "null"), QT_TRANSLATE_NOOP("Import", "boolean"),
      QT_TRANSLATE_NOOP("Import", "array"), QT_TRANSLATE_NOOP("Import", "object"),
  };
  return PhraseText("Import", kKinds, kind);
}

// Where a JSON number stands: a key, "item 2 of a list", "the JSON text".
QString JsonPlaceText(const QString& place) {
  static const TTextForms kPlaces({
      {"Import", QT_TRANSLATE_NOOP("Import", "the JSON text"), {}},
      {"Import", QT_TRANSLATE_NOOP("Import", "item %1 of a list"), {Digits()}},
  });
  return kPlaces.Translate(place).value_or(FieldText(place));
}

// "Date, KM, Workshop type code, Workshop ID, Status code and Procedures": the names as they are.
QString ColumnNamesText(const QString& names) {
  static const TTextForms kList({TTextForm{"Import", QT_TRANSLATE_NOOP("Import", "%1 and %2"), {}}});
  return kList.Translate(names).value_or(names);
}

// How the columns of a header row are separated.
QString SeparatorText(const QString& separator) {
  static const std::vector<const char*> kSeparators = {
      QT_TRANSLATE_NOOP("Import", "commas"), QT_TRANSLATE_NOOP("Import", "semicolons"), QT_TRANSLATE_NOOP("Import", "tabs")};
  return PhraseText("Import", kSeparators, separator);
}

// "byte order mark FF FE"
QString MarkText(const QString& mark) {
  static const TTextForms kMark({TTextForm{"Import", QT_TRANSLATE_NOOP("Import", "byte order mark %1"), {}}});
  return kMark.Translate(mark).value_or(mark);
}

// Why an import refused its input, after the line's number.
const TTextForms& ImportReasons() {
  static const TTextForms forms = [] {
    const TFormPart value = KeptOrEmpty();
    return TTextForms({
        // The cells of an entry.
        {"Import", QT_TRANSLATE_NOOP("Import", "no \"%1\"; add it, as export writes it (an empty list for an entry without procedures)"),
         {kField}},
        {"Import", QT_TRANSLATE_NOOP("Import", "no \"%1\"; add it, as export writes it"), {kField}},
        {"Import", QT_TRANSLATE_NOOP("Import", "KM \"%1\" is not a whole number from 0 to 4294967295"), {value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "%1 \"%2\" is not a whole number from 0 to 255"), {kField, value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "%1 \"%2\" is not %3 of hex"), {kField, value, SaidAs(ByteCountText)}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Date \"%1\" is not a calendar date written YYYY-MM-DD (or D.M.YYYY)"), {value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Date is empty; write the date as YYYY-MM-DD"), {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Date \"%1\" has a year of 1 digit; write the year in full (YYYY-MM-DD or "
                                               "D.M.YYYY): a spreadsheet that saves dates with short years drops the century"),
         {value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Date \"%1\" has a year of %2 digits; write the year in full (YYYY-MM-DD or "
                                               "D.M.YYYY): a spreadsheet that saves dates with short years drops the century"),
         {value, Digits()}},
        {"Import", QT_TRANSLATE_NOOP("Import", "%1 \"%2\" does not match %3 \"%4\", which is \"%5\" (a spreadsheet may have "
                                               "rewritten the text, or it was edited without the bytes): to take \"%2\", clear "
                                               "the %3 cell; to keep \"%5\", clear the %1 cell"),
         {kField, value, kField, value, value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Workshop ID \"%1\" holds \"%2\", which the code page cannot hold"), {value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Workshop ID \"%1\" takes %2 bytes in the code page, at most %3 fit"),
         {value, Digits(), Digits()}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Workshop ID \"%1\" holds a zero character; give its bytes in \"Workshop ID bytes\""),
         {value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Workshop ID \"%1\" looks like \"%2\" read in the wrong character set (UTF-8 read "
                                               "as Western 8-bit text); open the file that export wrote again as \"Unicode "
                                               "(UTF-8)\", or give the ID's bytes in \"Workshop ID bytes\""),
         {value, value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "%1 \"%2\" is not the text of %3 (\"%4\")"),
         {kField, value, SaidAs(OfWhatText), value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Procedures \"%1\" are not \"TYPE (code): STATUS (code)\" items separated by "
                                               "\";\", for example \"Engine oil (1): ON TIME (1)\""),
         {value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "Procedure reserved \"%1\" has %2 items for %3 procedures"),
         {value, Digits(), Digits()}},
        {"Import", QT_TRANSLATE_NOOP("Import", "%1 procedures, at most %2 fit in an entry"), {Digits(), Digits()}},
        // JSON.
        {"Import", QT_TRANSLATE_NOOP("Import", "\"%1\" is %2, not a number or a text; write it as export writes it"),
         {Kept(), SaidAs(JsonKindText)}},
        {"Import", QT_TRANSLATE_NOOP("Import", "entry %1 is not an object; write it as {...}, as export does"), {Digits()}},
        {"Import", QT_TRANSLATE_NOOP("Import", "\"Procedures\" is not a list; write it as [...], as export does"), {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "procedure %1 is not an object; write it as {...}, as export does"), {Digits()}},
        {"Import", QT_TRANSLATE_NOOP("Import", "no \"entries\" list in a JSON object; the text must be {\"entries\": [...]}, as "
                                               "export writes it"),
         {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the \"entries\" list is empty; a history has at least one entry"), {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the key \"%1\" is there twice in one object (first on line %2); remove one of "
                                               "them, as only one can count"),
         {value, Digits()}},
        {"Import", QT_TRANSLATE_NOOP("Import", "%1 \"%2\" is a number out of every range; write a whole number, as export writes it"),
         {SaidAs(JsonPlaceText), Kept()}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the JSON is nested deeper than %1 levels; a history has five (the entries, each "
                                               "entry, its procedures)"),
         {Digits()}},
        // CSV.
        {"Import", QT_TRANSLATE_NOOP("Import", "a quoted field is not closed; add its closing quote (a quote inside a quoted field "
                                               "is written twice: \"\")"),
         {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "text after the closing quote of a field; a quote inside a quoted field is written "
                                               "twice (\"\"), and the field ends at its closing quote"),
         {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "a quote inside a field that does not begin with one; put the whole field in quotes "
                                               "and write the quote twice (\"\")"),
         {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "no header row; the first line names the columns, as export writes it"), {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the column \"%1\" is there twice; delete one of them"), {value}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the column \"%1\" is missing; the header row needs the columns %2, named as export "
                                               "names them, separated by commas, semicolons or tabs (this one has 1 column "
                                               "separated by %3)"),
         {Kept(), SaidAs(ColumnNamesText), SaidAs(SeparatorText)}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the column \"%1\" is missing; the header row needs the columns %2, named as export "
                                               "names them, separated by commas, semicolons or tabs (this one has %3 columns "
                                               "separated by %4)"),
         {Kept(), SaidAs(ColumnNamesText), Digits(), SaidAs(SeparatorText)}},
        {"Import", QT_TRANSLATE_NOOP("Import", "no entry below the header row; a history has at least one"), {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "%1 fields where the header row has %2; a field with a tab in it must be in quotes"),
         {Digits(), Digits()}},
        {"Import", QT_TRANSLATE_NOOP("Import", "%1 fields where the header row has %2; a field with a \"%3\" in it must be in quotes"),
         {Digits(), Digits()}},
        // The character set.
        {"Import", QT_TRANSLATE_NOOP("Import", "the file is UTF-16 (%1) but holds half of a character pair; save it again as "
                                               "UTF-16 (\"Unicode text\") or as UTF-8"),
         {SaidAs(MarkText)}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the file is UTF-16 (%1) but ends in the middle of a character; save it again as "
                                               "UTF-16 (\"Unicode text\") or as UTF-8"),
         {SaidAs(MarkText)}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the file begins with \"\xC3\xAF\xC2\xBB\xC2\xBF\", the UTF-8 byte order mark read "
                                               "as Western 8-bit text: a spreadsheet opened this UTF-8 file in the wrong character "
                                               "set, which also turns \"\xC3\xBC\" into \"\xC3\x83\xC2\xBC\"; open the file that "
                                               "export wrote again, choose the character set \"Unicode (UTF-8)\" when the "
                                               "spreadsheet asks, and save it again"),
         {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the file begins with the UTF-8 byte order mark, but holds the byte %1, which is "
                                               "not UTF-8: it was saved in another character set after it was read; open the "
                                               "file that export wrote again, choose the character set \"Unicode (UTF-8)\" when "
                                               "the spreadsheet asks, and save it again"),
         {}},
        {"Import", QT_TRANSLATE_NOOP("Import", "the file holds a zero byte beside every character, as UTF-16 text without a byte "
                                               "order mark does; save it again as UTF-8, or as UTF-16 (\"Unicode text\") with "
                                               "the mark"),
         {}},
    });
  }();
  return forms;
}

QString ImportReasonText(const QString& reason) { return ImportReasons().Translate(reason).value_or(reason); }

// Whole lines, each a text of its own.
const TTextForms& LineForms() {
  static const TTextForms forms({
      // A file that cannot be read or written: the path and the system's words stay as they are.
      {"FileIo", QT_TRANSLATE_NOOP("FileIo", "Cannot open file \"%1\". %2"), {{QStringLiteral(".*"), {}}}},
      {"FileIo", QT_TRANSLATE_NOOP("FileIo", "Cannot create file \"%1\". %2"), {{QStringLiteral(".*"), {}}}},
      {"HistoryFile", QT_TRANSLATE_NOOP("HistoryFile", "Invalid data: %1"), {}},
      {"HistoryFile", QT_TRANSLATE_NOOP("HistoryFile", "the file is too big for the memory left"), {}},
      // A text typed into a field.
      {"TextParsing", QT_TRANSLATE_NOOP("TextParsing", "'%1' is not a valid integer value"), {KeptOrEmpty()}},
      {"TextParsing", QT_TRANSLATE_NOOP("TextParsing", "'%1' is not a valid date"), {KeptOrEmpty()}},
      {"ServiceRecord", QT_TRANSLATE_NOOP("ServiceRecord", "An entry can hold at most 255 procedures"), {}},
      // An import's refusals, one on each line, and the character set of a file it read.
      {"Import", QT_TRANSLATE_NOOP("Import", "Line %1: %2"), {Digits(), SaidAs(ImportReasonText)}},
      {"Import", QT_TRANSLATE_NOOP("Import", "... and %1 more entries refused"), {Digits()}},
      {"TextEncoding", QT_TRANSLATE_NOOP("TextEncoding", "read as UTF-16 LE (\"Unicode text\"), as its byte order mark says"), {}},
      {"TextEncoding", QT_TRANSLATE_NOOP("TextEncoding", "read as UTF-16 BE, as its byte order mark says"), {}},
      {"TextEncoding", QT_TRANSLATE_NOOP("TextEncoding", "read as %1, as the file is not UTF-8"), {}},
      // The check before a write.
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: %2 is not a calendar date."), {Digits()}},
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: %2 is after today, %3."), {Digits()}},
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: %2 km on %3 is less than entry %4's %5 km on %6."),
       {Digits(), kThousands, Kept(), Digits(), kThousands, Kept()}},
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: %2 km is more than the editor takes (%3)."),
       {Digits(), kThousands, kThousands}},
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: the same as entry %2 (%3, %4 km)."),
       {Digits(), Digits(), Kept(), kThousands}},
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: no procedure; the editor asks for at least one."), {Digits()}},
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: the workshop ID is empty."), {Digits()}},
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: the workshop ID holds a control character (%2 at character %3)."),
       {Digits(), Kept(), Digits()}},
      {"HistoryCheck", QT_TRANSLATE_NOOP("HistoryCheck", "Entry %1: the workshop ID has %2 characters, at most %3 fit."),
       {Digits(), Digits(), Digits()}},
      // The search's UDP port; the system's words stay as they are.
      {"UdpPort", QT_TRANSLATE_NOOP("UdpPort", "Cannot open the UDP port. %1"), {}},
      {"UdpPort", QT_TRANSLATE_NOOP("UdpPort", "Cannot send to %1. The UDP port is closed"), {}},
      {"UdpPort", QT_TRANSLATE_NOOP("UdpPort", "Cannot send to %1. Not an IPv4 address"), {}},
      {"UdpPort", QT_TRANSLATE_NOOP("UdpPort", "Cannot send to %1. %2"), {}},
  });
  return forms;
}

}  // namespace

QString UserText(const std::string& english) {
  const QString text = QString::fromStdString(english);
  if (CurrentLanguage() == TLanguage::English) return text;
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines) line = LineForms().Translate(line).value_or(line);
  return lines.join(QLatin1Char('\n'));
}

std::vector<const char*> UserTextSources() {
  std::vector<const char*> sources = LineForms().Sources();
  const std::vector<const char*> reasons = ImportReasons().Sources();
  sources.insert(sources.end(), reasons.begin(), reasons.end());
  return sources;
}
