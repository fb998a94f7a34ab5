// What the layers below the windows tell the user, as UserText says it: in English the very text
// they wrote, in German each text in German with the path, the system's words and the file's
// values as they are. The English texts are made by the real code that writes them (a file that is
// missing, an import of a broken spreadsheet, the check of a history), so that a text changed there
// and forgotten here fails.
#include <QApplication>
#include <QTest>
#include <cerrno>
#include <functional>
#include <system_error>

#include "enet/UdpPort.h"
#include "exchange/HistoryExchange.h"
#include "exchange/TextEncoding.h"
#include "history/CodePage.h"
#include "history/FileIo.h"
#include "history/HistoryCheck.h"
#include "history/HistoryFile.h"
#include "history/ServiceRecord.h"
#include "history/TextParsing.h"
#include "tests/TestEntries.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "ui/Language.h"
#include "ui/UserText.h"

namespace {

// The text of what f throws.
std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(nothing was thrown)";
}

std::string CsvRefusal(const std::string& csv) { return ErrorOf([&] { ImportHistory(csv, TExchangeFormat::Csv); }); }
std::string JsonRefusal(const std::string& json) { return ErrorOf([&] { ImportHistory(json, TExchangeFormat::Json); }); }

// The findings of the check, one on each line, as the write's question lists them.
std::string Findings(const std::vector<TServiceFields>& entries, TCalendarDate today = {1, 1, 2025}) {
  THistoryList list;
  for (const TServiceFields& fields : entries) list.push_back(BuildServiceRecord(fields));
  std::string text;
  for (const TFinding& finding : CheckHistory(list, today)) text += (text.empty() ? "" : "\n") + finding.text;
  return text;
}

TServiceFields Fields(uint8_t day, uint8_t month, uint16_t year, uint32_t km) {
  TServiceFields f = ExampleFields();
  f.day = day;
  f.month = month;
  f.year = year;
  f.km = km;
  return f;
}

const std::string kHeader =
    "#,Date,KM,Workshop type,Workshop type code,Workshop ID,Status,Status code,CNT,Procedures,"
    "Date bytes,Reserved,Workshop ID bytes,Procedure reserved\n";
const std::string kOil = "Engine oil (1): ON TIME (1)";

// A row of the columns above: date, km, workshop ID, status code, procedures, the four raw cells.
std::string Row(const std::string& date, const std::string& km, const std::string& id, const std::string& status,
                const std::string& procedures, const std::string& raw = ",,,") {
  return "1," + date + "," + km + ",,1," + id + ",," + status + ",," + procedures + "," + raw + "\n";
}

const std::string kJsonEntry = R"({"Date": "2020-02-01", "KM": 1, "Workshop type code": 1, "Workshop ID": "A", "Status code": 2, )";

std::string SystemText(int error) { return std::generic_category().message(error); }

}  // namespace

class TestUserText : public QObject {
  Q_OBJECT

  TempDir dir_;

  // Every text of the table: its name, the English the lower layer wrote, the German.
  void Table() {
    QTest::addColumn<QByteArray>("english");
    QTest::addColumn<QString>("german");
    const auto row = [](const char* name, const std::string& english, const std::string& german) {
      QTest::newRow(name) << QByteArray::fromStdString(english) << QString::fromStdString(german);
    };
    const auto csv = [&row](const char* name, const std::string& input, const std::string& german) {
      row(name, CsvRefusal(input), german);
    };
    const auto json = [&row](const char* name, const std::string& input, const std::string& german) {
      row(name, JsonRefusal(input), german);
    };

    // Files: the path and the system's words stay.
    const std::string missing = dir_.File("missing.kelta");
    row("a file that is not there", ErrorOf([&] { ReadWholeFile(missing); }),
        "Die Datei „" + missing + "“ kann nicht geöffnet werden. " + SystemText(ENOENT));
    const std::string nowhere = dir_.File("no-folder/saved.kelta");
    row("a file in a folder that is not there", ErrorOf([&] { WriteHistoryFile(nowhere, {ExampleEntryBytes()}); }),
        "Die Datei „" + nowhere + "“ kann nicht erstellt werden. " + SystemText(ENOENT));
#ifdef _WIN32
    // Windows has no '"' in file names (it refuses them with another error than a missing file).
    const std::string odd = dir_.File("Report %2. 100% done.kelta");
#else
    const std::string odd = dir_.File("Report \"%2\". 100% done.kelta");
#endif
    row("a path that looks like a form", ErrorOf([&] { ReadWholeFile(odd); }),
        "Die Datei „" + odd + "“ kann nicht geöffnet werden. " + SystemText(ENOENT));
    const std::string cut = dir_.File("cut.kelta");
    WriteBytes(cut, {1, 2, 3});
    row("a history file that does not split", LoadHistoryFile(cut).problem, "Ungültige Daten: " + cut);
    // Only a file beyond the memory left is refused so; the loader's words, as it writes them.
    row("a file too big for the memory", "the file is too big for the memory left",
        "die Datei ist zu groß für den freien Arbeitsspeicher");

    // Fields.
    row("a km that is no integer", ErrorOf([] { ParseIntegerText("12a"); }), "„12a“ ist keine gültige ganze Zahl");
    row("an empty km", ErrorOf([] { ParseIntegerText(""); }), "„“ ist keine gültige ganze Zahl");
    row("a date that is none", ErrorOf([] { ParseDateText("31.4.2020"); }), "„31.4.2020“ ist kein gültiges Datum");
    row("an entry of 256 procedures", ErrorOf([] { EntryWithProcedures(256); }), "Ein Eintrag fasst höchstens 255 Arbeiten");

    // The character set an exchange file was read in.
    row("UTF-16 LE", EncodingNote(TTextEncoding::Utf16LE), "als UTF-16 LE („Unicode-Text“) gelesen, wie ihre Byte-Order-Mark sagt");
    row("UTF-16 BE", EncodingNote(TTextEncoding::Utf16BE), "als UTF-16 BE gelesen, wie ihre Byte-Order-Mark sagt");
    row("the code page", EncodingNote(TTextEncoding::CodePage), "als " + CodePageName() + " gelesen, da die Datei kein UTF-8 ist");

    // The check's findings, several at once as the question before a write lists them.
    row("not a calendar date", Findings({Fields(31, 2, 2020, 1000)}), "Eintrag 1: 31.2.2020 ist kein Kalenderdatum.");
    row("after today", Findings({Fields(1, 2, 2020, 1000)}, {1, 1, 2020}),
        "Eintrag 1: Der 1.2.2020 liegt nach dem heutigen Tag (1.1.2020).");
    row("km going down", Findings({Fields(1, 3, 2020, 500), Fields(1, 2, 2020, 79300)}),
        "Eintrag 2: 500 km am 1.3.2020 sind weniger als die 79.300 km von Eintrag 1 am 1.2.2020.");
    row("km beyond the editor", Findings({Fields(1, 2, 2020, 12345678)}),
        "Eintrag 1: 12.345.678 km sind mehr, als der Editor annimmt (9.999.999).");
    row("the same entry twice", Findings({Fields(1, 2, 2020, 1000), Fields(1, 2, 2020, 1000)}),
        "Eintrag 1: derselbe wie Eintrag 2 (1.2.2020, 1.000 km).");
    TServiceFields bare = ExampleFields();
    bare.procedures.clear();
    bare.workshopID = "";
    TServiceFields control = ExampleFields();
    control.workshopID = "A\x01";
    row("several findings", Findings({bare, control}),
        "Eintrag 2: keine Arbeit; der Editor verlangt mindestens eine.\n"
        "Eintrag 2: Die Werkstatt-ID ist leer.\n"
        "Eintrag 1: Die Werkstatt-ID enthält ein Steuerzeichen (U+0001 an Stelle 2).");
    // An entry's 7 bytes never hold 8 characters: the check's words for them, as it would say them.
    row("a workshop ID too long", "Entry 4: the workshop ID " + WorkshopIDProblem("ABCDEFGH") + ".",
        "Eintrag 4: Die Werkstatt-ID hat 8 Zeichen, höchstens 7 passen.");

    // A spreadsheet's refusals: the column names and the cells' values as the file has them.
    csv("an empty file", "", "Zeile 1: keine Kopfzeile; die erste Zeile nennt die Spalten, wie der Export sie schreibt");
    csv("only the header", kHeader, "Zeile 1: kein Eintrag unter der Kopfzeile; eine Historie hat mindestens einen");
    csv("a missing column, one column", "Date\n2020-02-01\n",
        "Zeile 1: die Spalte „KM“ fehlt; die Kopfzeile braucht die Spalten Date, KM, Workshop type code, Workshop ID, "
        "Status code und Procedures, benannt wie der Export sie benennt, getrennt durch Kommas, Semikolons oder "
        "Tabulatoren (diese hat 1 Spalte, getrennt durch Kommas)");
    csv("a missing column, semicolons", "Date;Status\n2020-02-01;1\n",
        "Zeile 1: die Spalte „KM“ fehlt; die Kopfzeile braucht die Spalten Date, KM, Workshop type code, Workshop ID, "
        "Status code und Procedures, benannt wie der Export sie benennt, getrennt durch Kommas, Semikolons oder "
        "Tabulatoren (diese hat 2 Spalten, getrennt durch Semikolons)");
    csv("a column twice", "Date,KM,Date\n", "Zeile 1: die Spalte „Date“ gibt es zweimal; löschen Sie eine davon");
    csv("an open quote", kHeader + "1,\"2020-02-01,1000\n",
        "Zeile 2: ein Feld in Anführungszeichen ist nicht geschlossen; ergänzen Sie das schließende Anführungszeichen "
        "(ein Anführungszeichen in einem Feld in Anführungszeichen wird doppelt geschrieben: \"\")");
    csv("a quote inside a field", kHeader + "1,20\"20,1000\n",
        "Zeile 2: ein Anführungszeichen in einem Feld, das nicht mit einem beginnt; setzen Sie das ganze Feld in "
        "Anführungszeichen und schreiben Sie das Anführungszeichen doppelt (\"\")");
    csv("text after a closing quote", kHeader + "1,\"2020\"-02-01\n",
        "Zeile 2: Text nach dem schließenden Anführungszeichen eines Felds; ein Anführungszeichen in einem Feld in "
        "Anführungszeichen wird doppelt geschrieben (\"\"), und das Feld endet an seinem schließenden Anführungszeichen");
    csv("a short row", kHeader + "1,2020-02-01\n",
        "Zeile 2: 2 Felder, wo die Kopfzeile 14 hat; ein Feld mit einem „,“ darin muss in Anführungszeichen stehen");
    csv("a short row, tabs", "Date\tKM\tWorkshop type code\tWorkshop ID\tStatus code\tProcedures\n2020-02-01\t1\n",
        "Zeile 2: 2 Felder, wo die Kopfzeile 6 hat; ein Feld mit einem Tabulator darin muss in Anführungszeichen stehen");
    csv("not a calendar date", kHeader + Row("2020-02-30", "1000", "A1", "2", kOil),
        "Zeile 2: Datum „2020-02-30“ ist kein Kalenderdatum in der Form JJJJ-MM-TT (oder T.M.JJJJ)");
    csv("a year of 2 digits", kHeader + Row("21.01.23", "1000", "A1", "2", kOil),
        "Zeile 2: Datum „21.01.23“ hat eine Jahreszahl mit 2 Stellen; schreiben Sie das Jahr vollständig (JJJJ-MM-TT "
        "oder T.M.JJJJ): Eine Tabellenkalkulation, die Daten mit kurzen Jahreszahlen speichert, lässt das Jahrhundert weg");
    csv("a year of 1 digit", kHeader + Row("1.1.5", "1000", "A1", "2", kOil),
        "Zeile 2: Datum „1.1.5“ hat eine einstellige Jahreszahl; schreiben Sie das Jahr vollständig (JJJJ-MM-TT oder "
        "T.M.JJJJ): Eine Tabellenkalkulation, die Daten mit kurzen Jahreszahlen speichert, lässt das Jahrhundert weg");
    csv("no date", kHeader + Row("", "1000", "A1", "2", kOil), "Zeile 2: Das Datum ist leer; schreiben Sie es als JJJJ-MM-TT");
    csv("date bytes of 3 bytes", kHeader + Row("", "1000", "A1", "2", kOil, "28 0D 07,,,"),
        "Zeile 2: Feld „Date bytes“: „28 0D 07“ ist kein Hex-Text von 4 Bytes (Tag, Monat, Jahr)");
    csv("km with a thousands separator", kHeader + Row("2020-02-01", "\"1,000\"", "A1", "2", kOil),
        "Zeile 2: Feld „KM“: „1,000“ ist keine ganze Zahl von 0 bis 4294967295");
    csv("a status code out of range", kHeader + Row("2020-02-01", "1000", "A1", "256", kOil),
        "Zeile 2: Feld „Status code“: „256“ ist keine ganze Zahl von 0 bis 255");
    csv("a procedure's type code out of range", kHeader + Row("2020-02-01", "1000", "A1", "2", kOil + "; Brake (300): LATE (2)"),
        "Zeile 2: Feld Typcode von Arbeit 2: „300“ ist keine ganze Zahl von 0 bis 255");
    csv("procedures without codes", kHeader + Row("2020-02-01", "1000", "A1", "2", "Engine oil: ON TIME"),
        "Zeile 2: Feld „Procedures“: „Engine oil: ON TIME“ sind keine durch „;“ getrennten Angaben der Form "
        "„TYPE (code): STATUS (code)“, zum Beispiel „Engine oil (1): ON TIME (1)“");
    csv("a workshop ID of 8 bytes", kHeader + Row("2020-02-01", "1000", "ABCDEFGH", "2", kOil),
        "Zeile 2: Werkstatt-ID „ABCDEFGH“ braucht 8 Bytes in der Codepage, höchstens 7 passen");
    csv("a character the code page cannot hold", kHeader + Row("2020-02-01", "1000", "A\xD0\x96", "2", kOil),
        "Zeile 2: Werkstatt-ID „A\xD0\x96“ enthält „\xD0\x96“, das die Codepage nicht darstellen kann");
    csv("a workshop ID read in the wrong character set", kHeader + Row("2020-02-01", "1000", "M\xC3\x83\xC2\xBC", "2", kOil),
        "Zeile 2: Werkstatt-ID „M\xC3\x83\xC2\xBC“ sieht aus wie „M\xC3\xBC“, im falschen Zeichensatz gelesen (UTF-8 als "
        "westeuropäischer 8-Bit-Text); öffnen Sie die Datei, die der Export geschrieben hat, noch einmal als "
        "„Unicode (UTF-8)“, oder geben Sie die Bytes der ID im Feld „Workshop ID bytes“ an");
    csv("workshop ID bytes of 1 byte", kHeader + Row("2020-02-01", "1000", "A1", "2", kOil, ",,41,"),
        "Zeile 2: Feld „Workshop ID bytes“: „41“ ist kein Hex-Text von 7 Bytes");
    csv("a reserved byte of 3 digits", kHeader + Row("2020-02-01", "1000", "A1", "2", kOil, ",1FF,,"),
        "Zeile 2: Feld „Reserved“: „1FF“ ist kein Hex-Text von 1 Byte");
    csv("a procedure's reserved bytes", kHeader + Row("2020-02-01", "1000", "A1", "2", kOil, ",,,ZZ"),
        "Zeile 2: Feld reservierte Bytes von Arbeit 1: „ZZ“ ist kein Hex-Text von 6 Bytes");
    csv("procedure reserved of another count", kHeader + Row("2020-02-01", "1000", "A1", "2", kOil + "; " + kOil, ",,,00 00 00 00 00 01"),
        "Zeile 2: Feld „Procedure reserved“: „00 00 00 00 00 01“ hat 1 Angaben für 2 Arbeiten");
    csv("a status text of another code", kHeader + "1,2020-02-01,1000,,1,A1,ON TIME,2,,Engine oil (1): ON TIME (1),,,,\n",
        "Zeile 2: Feld „Status“: „ON TIME“ ist nicht der Text für „Status code“ 2 („LATE“)");
    csv("a workshop type text of another code", kHeader + "1,2020-02-01,1000,Independent,1,A1,,2,,Engine oil (1): ON TIME (1),,,,\n",
        "Zeile 2: Feld „Workshop type“: „Independent“ ist nicht der Text für „Workshop type code“ 1 („BMW Service“)");
    csv("a count of other procedures", kHeader + "1,2020-02-01,1000,,1,A1,,2,3,Engine oil (1): ON TIME (1),,,,\n",
        "Zeile 2: Feld „CNT“: „3“ ist nicht der Text für die Anzahl der Arbeiten („1“)");
    csv("a procedure's status text", kHeader + Row("2020-02-01", "1000", "A1", "2", "Engine oil (1): LATE (1)"),
        "Zeile 2: Feld Status von Arbeit 1: „LATE“ ist nicht der Text für Statuscode 1 („ON TIME“)");
    csv("a procedure's type text", kHeader + Row("2020-02-01", "1000", "A1", "2", "Engine oyl (1): ON TIME (1)"),
        "Zeile 2: Feld Bezeichnung von Arbeit 1: „Engine oyl“ ist nicht der Text für Typcode 1 („Engine oil“)");
    csv("a date that does not match its bytes", kHeader + Row("2020-02-02", "1000", "A1", "2", kOil, "01 02 07 E4,,,"),
        "Zeile 2: „2020-02-02“ in Feld „Date“ passt nicht zu „01 02 07 E4“ in Feld „Date bytes“, das „2020-02-01“ "
        "ergibt (eine Tabellenkalkulation hat den Text vielleicht umgeschrieben, oder er wurde ohne die Bytes "
        "geändert): Um „2020-02-02“ zu übernehmen, leeren Sie das Feld „Date bytes“; um „2020-02-01“ zu behalten, "
        "leeren Sie das Feld „Date“");
    csv("256 procedures", kHeader + Row("2020-02-01", "1000", "A1", "2", [] {
          std::string procedures = kOil;
          for (int i = 1; i < 256; ++i) procedures += "; " + kOil;
          return procedures;
        }()),
        "Zeile 2: 256 Arbeiten, in einen Eintrag passen höchstens 255");
    std::string manyRows = kHeader;
    std::string manyGerman;
    for (int i = 0; i < 22; ++i) {
      manyRows += Row("2020-02-01", "x", "A1", "2", kOil);
      if (i < 20) manyGerman += "Zeile " + std::to_string(i + 2) + ": Feld „KM“: „x“ ist keine ganze Zahl von 0 bis 4294967295\n";
    }
    csv("more refusals than are listed", manyRows, manyGerman + "... und 2 weitere Einträge abgelehnt");

    // The character set of the bytes.
    csv("UTF-16 cut in a character", std::string("\xFF\xFE" "D\0a", 5),
        "Zeile 1: die Datei ist UTF-16 (Byte-Order-Mark FF FE), endet aber mitten in einem Zeichen; speichern Sie sie "
        "noch einmal als UTF-16 („Unicode-Text“) oder als UTF-8");
    csv("UTF-16 with half a pair", std::string("\xFE\xFF" "\xD8\x00" "\x00" "D", 6),
        "Zeile 1: die Datei ist UTF-16 (Byte-Order-Mark FE FF), enthält aber die Hälfte eines Zeichenpaars; speichern "
        "Sie sie noch einmal als UTF-16 („Unicode-Text“) oder als UTF-8");
    csv("UTF-16 without its mark", std::string("D\0a\0", 4),
        "Zeile 1: die Datei enthält neben jedem Zeichen ein Nullbyte, wie UTF-16-Text ohne Byte-Order-Mark; speichern "
        "Sie sie noch einmal als UTF-8 oder als UTF-16 („Unicode-Text“) mit der Byte-Order-Mark");
    csv("the UTF-8 mark before other bytes", "\xEF\xBB\xBF" "Date\n\xFC\n",
        "Zeile 2: die Datei beginnt mit der UTF-8-Byte-Order-Mark, enthält aber das Byte 0xFC, das kein UTF-8 ist: Sie "
        "wurde nach dem Lesen in einem anderen Zeichensatz gespeichert; öffnen Sie die Datei, die der Export "
        "geschrieben hat, noch einmal, wählen Sie den Zeichensatz „Unicode (UTF-8)“, wenn die Tabellenkalkulation "
        "fragt, und speichern Sie sie noch einmal");
    csv("the UTF-8 mark read as 8-bit text", "\xC3\xAF\xC2\xBB\xC2\xBF" "Date\n",
        "Zeile 1: die Datei beginnt mit „\xC3\xAF\xC2\xBB\xC2\xBF“, der UTF-8-Byte-Order-Mark, als westeuropäischer "
        "8-Bit-Text gelesen: Eine Tabellenkalkulation hat diese UTF-8-Datei im falschen Zeichensatz geöffnet, was auch "
        "„\xC3\xBC“ zu „\xC3\x83\xC2\xBC“ macht; öffnen Sie die Datei, die der Export geschrieben hat, noch einmal, "
        "wählen Sie den Zeichensatz „Unicode (UTF-8)“, wenn die Tabellenkalkulation fragt, und speichern Sie sie noch "
        "einmal");

    // JSON's refusals.
    json("not an object", "[]",
         "Zeile 1: keine Liste „entries“ in einem JSON-Objekt; der Text muss {\"entries\": [...]} lauten, wie der "
         "Export ihn schreibt");
    json("no entries", "{\"entries\": []}", "Zeile 1: die Liste „entries“ ist leer; eine Historie hat mindestens einen Eintrag");
    json("a missing key", "{\"entries\": [\n{\"Date\": \"2020-02-01\",\n \"Workshop type code\": 1}]}",
         "Zeile 2: Feld „KM“ fehlt; ergänzen Sie es, wie der Export es schreibt");
    json("no procedures", "{\"entries\": [\n" + kJsonEntry + "\"CNT\": 0}]}",
         "Zeile 2: Feld „Procedures“ fehlt; ergänzen Sie es, wie der Export es schreibt (eine leere Liste für einen "
         "Eintrag ohne Arbeiten)");
    json("a procedure without its type code", "{\"entries\": [\n" + kJsonEntry + "\"Procedures\": [\n{\"Status code\": 1}]}]}",
         "Zeile 3: Feld „Type code“ von Arbeit 1 fehlt; ergänzen Sie es, wie der Export es schreibt");
    json("km as a list", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\n\"KM\": [5]}]}",
         "Zeile 3: „KM“ ist eine Liste, keine Zahl und kein Text; schreiben Sie den Wert, wie der Export ihn schreibt");
    json("km as true", "{\"entries\": [{\"Date\": \"2020-02-01\", \"KM\": true}]}",
         "Zeile 1: „KM“ ist ein Wahrheitswert, keine Zahl und kein Text; schreiben Sie den Wert, wie der Export ihn schreibt");
    json("an entry that is no object", "{\"entries\": [\n3]}",
         "Zeile 2: Eintrag 1 ist kein Objekt; schreiben Sie ihn als {...}, wie der Export");
    json("procedures not a list", "{\"entries\": [" + kJsonEntry + "\n\"Procedures\": 3}]}",
         "Zeile 2: „Procedures“ ist keine Liste; schreiben Sie es als [...], wie der Export");
    json("a procedure that is no object", "{\"entries\": [" + kJsonEntry + "\"Procedures\": [\n7]}]}",
         "Zeile 2: Arbeit 1 ist kein Objekt; schreiben Sie sie als {...}, wie der Export");
    json("a key twice", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\"KM\": 5,\n\"KM\": 6}]}",
         "Zeile 3: der Schlüssel „KM“ steht zweimal in einem Objekt (zuerst in Zeile 2); entfernen Sie einen davon, denn "
         "nur einer kann gelten");
    json("a number beyond every range", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\"KM\": 1e999}]}",
         "Zeile 2: „KM“: „1e999“ ist eine Zahl außerhalb jedes Wertebereichs; schreiben Sie eine ganze Zahl, wie der "
         "Export sie schreibt");
    json("a number beyond every range in a list", "{\"entries\": [1e999]}",
         "Zeile 1: Element 1 einer Liste: „1e999“ ist eine Zahl außerhalb jedes Wertebereichs; schreiben Sie eine ganze "
         "Zahl, wie der Export sie schreibt");
    json("a number beyond every range alone", "1e999",
         "Zeile 1: JSON-Text: „1e999“ ist eine Zahl außerhalb jedes Wertebereichs; schreiben Sie eine ganze Zahl, wie der "
         "Export sie schreibt");
    json("a zero character in the workshop ID", "{\"entries\": [{\"Date\": \"2020-02-01\", \"KM\": 1, \"Workshop type code\": 1,\n"
                                                "\"Workshop ID\": \"A\\u0000B\"}]}",
         "Zeile 2: Werkstatt-ID „A\\x00B“ enthält ein Nullzeichen; geben Sie ihre Bytes im Feld „Workshop ID bytes“ an");
    json("nested too deep", std::string(70, '['),
         "Zeile 1: das JSON ist tiefer als 64 Ebenen verschachtelt; eine Historie hat fünf (die Einträge, jeder Eintrag, "
         "seine Arbeiten)");
    // The JSON reader's own words after "JSON" stay as the library gives them, as the system's do.
    json("a syntax error", "{\n  \"entries\": [\n    {\"Date\": }\n  ]\n}",
         "Zeile 3: JSON syntax error while parsing value - unexpected '}'; expected '[', '{', or a literal");

    // The search's UDP port: a closed one is refused before anything is sent.
    row("a closed UDP port", ErrorOf([] {
          TUdpPort port;
          port.SetRemoteHost("169.254.255.255");
          port.SetRemotePort(6811);
          const char request[] = {0, 0, 0, 0, 0, 0x11};
          port.SendDatagram(request, sizeof request);
        }),
        "Senden an 169.254.255.255:6811 nicht möglich. Der UDP-Port ist geschlossen");
    row("not an IPv4 address", "Cannot send to car.local:6811. Not an IPv4 address",
        "Senden an car.local:6811 nicht möglich. Keine IPv4-Adresse");
    row("a send the system refused", "Cannot send to 10.0.0.255:6811. " + SystemText(EACCES),
        "Senden an 10.0.0.255:6811 nicht möglich. " + SystemText(EACCES));
    row("a port the system refused", "Cannot open the UDP port. " + SystemText(EMFILE),
        "Der UDP-Port kann nicht geöffnet werden. " + SystemText(EMFILE));

    // A text of no known form stays as it is.
    row("no known form", "Something the system said", "Something the system said");
  }

 private slots:
  // First, before any translation is installed: the program in English.
  void inEnglishEveryTextIsTheOneWritten_data() { Table(); }
  void inEnglishEveryTextIsTheOneWritten() {
    QFETCH(QByteArray, english);
    QCOMPARE(CurrentLanguage(), TLanguage::English);
    QCOMPARE(UserText(english.toStdString()).toUtf8(), english);
  }

  void inGermanEveryTextIsGerman_data() { Table(); }
  void inGermanEveryTextIsGerman() {
    QFETCH(QByteArray, english);
    QFETCH(QString, german);
    if (CurrentLanguage() != TLanguage::German) {
      QVERIFY(InstallTranslations(*qobject_cast<QApplication*>(QCoreApplication::instance()), TLanguage::German));
    }
    QCOMPARE(UserText(english.toStdString()), german);
  }

  // Every form has its German in the translation, different from its English.
  void everyFormIsTranslated() {
    if (CurrentLanguage() != TLanguage::German) {
      QVERIFY(InstallTranslations(*qobject_cast<QApplication*>(QCoreApplication::instance()), TLanguage::German));
    }
    const std::vector<const char*> sources = UserTextSources();
    QVERIFY(sources.size() > 60);
    for (const char* source : sources) {
      const QString english = QString::fromUtf8(source);
      bool translated = false;
      for (const char* context : {"FileIo", "HistoryFile", "TextParsing", "ServiceRecord", "Import", "TextEncoding",
                                  "HistoryCheck", "UdpPort"}) {
        translated = translated || QCoreApplication::translate(context, source) != english;
      }
      QVERIFY2(translated, source);
    }
  }
};

TARVELO_QT_TEST_MAIN(TestUserText)
#include "ui_user_text_test.moc"
