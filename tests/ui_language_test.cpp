// The program in German: the choice of the language, and the four windows walked widget by widget
// for any text of the English catalogue that was left untranslated. (The other window tests run in
// English, as the program does in the C locale.)
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <functional>
#include <optional>

#include "book/CodeTexts.h"
#include "history/Bytes.h"
#include "history/HistoryCheck.h"
#include "history/HistoryFile.h"
#include "history/ServiceRecord.h"
#include "tests/TestEntries.h"
#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "ui/Connect.h"
#include "ui/HistoryModel.h"
#include "ui/Language.h"
#include "ui/LogText.h"
#include "ui/StartArguments.h"
#include "ui/uEditor.h"
#include "ui/uInfo.h"
#include "ui/uMain.h"

namespace {

TBuffer BytesOf(const std::string& text) { return TBuffer(text.begin(), text.end()); }

// The English texts of the catalogue whose German differs: none of them may show in German.
QSet<QString> EnglishOnlyTexts() {
  QFile file(QStringLiteral(TARVELO_SOURCE_DIR "/ui/i18n/tarvelo_de.ts"));
  if (!file.open(QIODevice::ReadOnly)) qFatal("the translation is missing: %s", qPrintable(file.fileName()));
  QXmlStreamReader xml(&file);
  QSet<QString> english;
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
    if (xml.name() == QLatin1String("translation")) {
      const QString german = xml.readElementText(QXmlStreamReader::IncludeChildElements);
      if (german != source) english.insert(source.trimmed());
    }
  }
  return english;
}

// Every text a user can read in the window: captions, labels, buttons, group titles, cue texts,
// drop-down items, column headers, menu entries and tool tips.
QStringList VisibleTexts(QWidget& window) {
  QStringList texts{window.windowTitle()};
  QList<QWidget*> widgets = window.findChildren<QWidget*>();
  widgets << &window;
  for (QWidget* widget : widgets) {
    texts << widget->toolTip();
    if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) texts << group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) texts << edit->placeholderText();
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
      texts << box->placeholderText();
      for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    }
    if (auto* header = qobject_cast<QHeaderView*>(widget); header && header->model()) {
      for (int i = 0; i < header->count(); ++i) {
        texts << header->model()->headerData(i, header->orientation()).toString();
        texts << header->model()->headerData(i, header->orientation(), Qt::ToolTipRole).toString();
      }
    }
  }
  for (QAction* action : window.findChildren<QAction*>()) texts << action->text() << action->toolTip();
  texts.removeAll(QString());
  return texts;
}

}  // namespace

class TestLanguage : public TProgramWindowsTest {
  Q_OBJECT

  QSet<QString> english_;

  // The cells of every row of a list, as shown.
  static QStringList Cells(QAbstractItemModel* model) {
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row) {
      for (int column = 0; column < model->columnCount(); ++column) cells << model->index(row, column).data().toString();
    }
    return cells;
  }

  // The sentences of the English catalogue: each text's words between its %1, %2 parts, where they
  // are long enough to be a phrase of their own. None of them may show in a German message.
  QStringList EnglishSentences() const {
    static const QRegularExpression kPart(QStringLiteral("%\\d"));
    QStringList sentences;
    for (const QString& source : english_) {
      for (const QString& piece : source.split(kPart)) {
        if (piece.trimmed().size() >= 12 && piece.trimmed().contains(QLatin1Char(' '))) sentences << piece.trimmed();
      }
    }
    return sentences;
  }
  void ExpectNoEnglishSentence(const QString& text) const {
    for (const QString& sentence : EnglishSentences()) {
      QVERIFY2(!text.contains(sentence), qPrintable(QStringLiteral("\"") + sentence + QStringLiteral("\" in: ") + text));
    }
  }

  // What the next message box says while action runs (its only button closes it), with its icon.
  struct TShownBox {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
  };
  TShownBox BoxShownBy(const std::function<void()>& action) {
    TShownBox shown;
    WhenMessageBox([&shown](QMessageBox* box) { shown = {box->text(), box->icon()}; });
    action();
    CancelModalWatchers();
    return shown;
  }

  // Opens path through "Open" and its file dialog, as a user does; gone: the file goes away once
  // the dialog has taken it, before it is read.
  void OpenThroughTheDialog(const QString& path, bool gone = false) {
    WhenModal([path, gone](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      if (gone) QObject::connect(dialog, &QDialog::accepted, [path] { QFile::remove(path); });
      AcceptFileDialog(dialog, path);
    }, 10000, [](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; });
    ClickHeaderSection(Main(), THeaderSection::Open);
  }

  void ExpectGerman(QWidget& window, const QStringList& german) {
    const QStringList texts = VisibleTexts(window);
    QVERIFY2(texts.size() >= german.size(), qPrintable(window.objectName()));
    for (const QString& text : texts) {
      // A text is English when it is a source of the catalogue, also with a prefix it is shown with.
      const QString core = text.trimmed().remove(QLatin1Char('&'));
      QVERIFY2(!english_.contains(core), qPrintable(window.objectName() + QStringLiteral(": \"") + text + QLatin1Char('"')));
    }
    for (const QString& word : german) {
      QVERIFY2(texts.contains(word), qPrintable(window.objectName() + QStringLiteral(" lacks \"") + word + QLatin1Char('"')));
    }
  }

 private slots:
  // Before any window is made: the program's and Qt's German.
  void initTestCase() {
    english_ = EnglishOnlyTexts();
    QVERIFY(english_.size() > 100);
    QVERIFY(InstallTranslations(*qobject_cast<QApplication*>(QCoreApplication::instance()), TLanguage::German));
    QCOMPARE(CurrentLanguage(), TLanguage::German);
  }

  void theLanguageFollowsTheCommandLineThenTheEnvironmentThenTheSystem_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("system");
    QTest::addColumn<bool>("german");
    // An empty column is a choice not made; a value that names no language is passed over.
    QTest::newRow("German system") << QString() << QString() << "de_DE" << true;
    QTest::newRow("Austrian system") << QString() << QString() << "de_AT" << true;
    QTest::newRow("Swiss German system") << QString() << QString() << "de_CH" << true;
    QTest::newRow("English system") << QString() << QString() << "en_GB" << false;
    QTest::newRow("French system") << QString() << QString() << "fr_FR" << false;
    QTest::newRow("C locale") << QString() << QString() << "C" << false;
    QTest::newRow("--lang de on an English system") << "de" << QString() << "en_US" << true;
    QTest::newRow("--lang en on a German system") << "en" << QString() << "de_DE" << false;
    QTest::newRow("--lang DE in capitals") << "DE" << QString() << "en_US" << true;
    QTest::newRow("TARVELO_LANG=de") << QString() << "de" << "en_US" << true;
    QTest::newRow("TARVELO_LANG=en") << QString() << "en" << "de_DE" << false;
    QTest::newRow("--lang over TARVELO_LANG") << "en" << "de" << "de_DE" << false;
    QTest::newRow("--lang fr is passed over") << "fr" << "de" << "en_US" << true;
    QTest::newRow("an empty TARVELO_LANG is passed over") << QString() << " " << "de_DE" << true;
  }
  void theLanguageFollowsTheCommandLineThenTheEnvironmentThenTheSystem() {
    QFETCH(QString, commandLine);
    QFETCH(QString, environment);
    QFETCH(QString, system);
    QFETCH(bool, german);
    const auto choice = [](const QString& value) { return value.isNull() ? std::nullopt : std::optional<QString>(value); };
    QCOMPARE(ChooseLanguage(choice(commandLine), choice(environment), QLocale(system)) == TLanguage::German, german);
  }

  void theLanguageArgumentIsFoundInEitherForm() {
    QCOMPARE(ParseStartArguments({}).language, std::nullopt);
    QCOMPARE(ParseStartArguments({QStringLiteral("--lang"), QStringLiteral("de")}).language, QStringLiteral("de"));
    QCOMPARE(ParseStartArguments({QStringLiteral("--lang=en")}).language, QStringLiteral("en"));
    QCOMPARE(ParseStartArguments({QStringLiteral("--lang=en"), QStringLiteral("--lang"), QStringLiteral("DE")}).language,
             QStringLiteral("DE"));
    QVERIFY(!ParseStartArguments({QStringLiteral("--lang")}).error.isEmpty());  // no value: refused, not guessed
    QCOMPARE(HelpDocumentName(TLanguage::German), QStringLiteral("tarvelo_help_de.pdf"));
    QCOMPARE(HelpDocumentName(TLanguage::English), QStringLiteral("tarvelo_help.pdf"));
  }

  // The writer's lines as the ENET log shows them in German; the car's bytes, addresses and the
  // names of negative response codes as they are.
  void theLogSpeaksGerman_data() {
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");
    const auto row = [](const char* name, const char* english, const char* german) {
      QTest::newRow(name) << QString::fromUtf8(english) << QString::fromUtf8(german);
    };
    row("begin", "[ BEGIN ]", "[ BEGINN ]");
    row("complete", "[ COMPLETE ]", "[ FERTIG ]");
    row("connected", "- Connected to 169.254.10.2", "- Verbunden mit 169.254.10.2");
    row("refused entry", "ERR: Head unit refused entry 3 of 7: 7F 31 13 (incorrectMessageLengthOrInvalidFormat)",
        "FEHLER: Die Headunit hat Eintrag 3 von 7 abgelehnt: 7F 31 13 (incorrectMessageLengthOrInvalidFormat)");
    row("refused erase", "ERR: Head unit refused the erase request: 7F 31 22 (conditionsNotCorrect)",
        "FEHLER: Die Headunit hat die Löschanfrage abgelehnt: 7F 31 22 (conditionsNotCorrect)");
    row("no answer", "ERR: No answer to entry 3 of 9 (the car closed the connection)",
        "FEHLER: Keine Antwort auf Eintrag 3 von 9 (das Auto hat die Verbindung geschlossen)");
    row("stopped before the reset", "ERR: Stopped by the user before the reset request.",
        "FEHLER: Vom Benutzer gestoppt vor der Neustartanfrage.");
    row("connecting again", "ERR: Stopped by the user while connecting to 127.0.0.1 again.",
        "FEHLER: Vom Benutzer gestoppt beim erneuten Verbinden mit 127.0.0.1.");
    row("restart", "- The connection was lost at entry 3 of 9; connected again, writing the whole history again...",
        "- Die Verbindung brach bei Eintrag 3 von 9 ab; neu verbunden, die ganze Historie wird noch einmal geschrieben...");
    row("held, erased", "ERR: The head unit holds entries 1 to 2 of 5; entry 3 got no answer or an unexpected one, so it may be there too; entries 4 to 5 were not written.",
        "FEHLER: Die Headunit enthält Einträge 1 bis 2 von 5; auf Eintrag 3 kam keine oder eine unerwartete Antwort, daher kann er auch dort sein; Einträge 4 bis 5 wurden nicht geschrieben.");
    row("held, refused", "ERR: The head unit holds its old history and entries 1, 3 and 5 of 5; it refused entries 2 and 4.",
        "FEHLER: Die Headunit enthält ihre alte Historie und Einträge 1, 3 und 5 von 5; sie hat Einträge 2 und 4 abgelehnt.");
    row("held, nothing", "ERR: The head unit holds no entry of the list; entry 1 got no answer or an unexpected one, so it may be there too; entries 2 to 9 were not written.",
        "FEHLER: Die Headunit enthält keinen Eintrag der Liste; auf Eintrag 1 kam keine oder eine unerwartete Antwort, daher kann er auch dort sein; Einträge 2 bis 9 wurden nicht geschrieben.");
    row("found", "Found WBA8E9C57GK123456", "Gefunden: WBA8E9C57GK123456");
    row("address", "* IP: 169.254.10.2", "* IP: 169.254.10.2");
    row("waiting", "Entry 3 of 9: the head unit asks for more time (12 s)", "Eintrag 3 von 9: Die Headunit bittet um mehr Zeit (12 s)");
    row("a line of no known form", "- Something else", "- Something else");
  }
  void theLogSpeaksGerman() {
    QFETCH(QString, english);
    QFETCH(QString, german);
    QCOMPARE(LogLineText(english.toStdString()), german);
  }

  void theMainWindowIsGerman() {
    History().ReplaceAll({ExampleEntryBytes()});
    ExpectGerman(Main(), {QStringLiteral("Öffnen"), QStringLiteral("Speichern unter"), QStringLiteral("In Auto schreiben"),
                          QStringLiteral("Datum"), QStringLiteral("km-Stand"), QStringLiteral("Werkstatttyp"),
                          QStringLiteral("Hinzufügen"), QStringLiteral("Bearbeiten"), QStringLiteral("Löschen")});
    QVERIFY(Find<QLabel>(Main(), "stat1")->text().startsWith(QStringLiteral("Status: Hallo Welt")));
  }

  void theListsShowTheCodeTablesInGerman() {
    // The example entry: a BMW dealer, late, with engine oil on time; an entry with a status
    // outside the table keeps its number.
    TServiceFields unknown = ExampleFields();
    unknown.serviceStatus = 7;
    History().ReplaceAll({ExampleEntryBytes(), BuildServiceRecord(unknown)});
    auto* entries = Find<QTreeView>(Main(), "lv1");
    const QStringList cells = Cells(entries->model());
    QVERIFY2(cells.contains(QStringLiteral("BMW-Service")), qPrintable(cells.join(QLatin1Char('|'))));
    QVERIFY2(cells.contains(QStringLiteral("VERSPÄTET")), qPrintable(cells.join(QLatin1Char('|'))));
    QVERIFY2(cells.contains(QStringLiteral("UNBEKANNT(7)")), qPrintable(cells.join(QLatin1Char('|'))));
    entries->setCurrentIndex(entries->model()->index(0, 0));
    const QStringList procedures = Cells(Find<QTreeView>(Main(), "lv2")->model());
    QVERIFY2(procedures.contains(QStringLiteral("Motoröl")), qPrintable(procedures.join(QLatin1Char('|'))));
    QVERIFY2(procedures.contains(QStringLiteral("PÜNKTLICH")), qPrintable(procedures.join(QLatin1Char('|'))));
    for (const QString& cell : cells + procedures) QVERIFY2(!english_.contains(cell), qPrintable(cell));
    // The history itself stays as it was: translation is only what the windows show.
    QCOMPARE(Entries()[0], ExampleEntryBytes());
  }

  void theEditorIsGerman() {
    History().ReplaceAll({ExampleEntryBytes()});
    Editor().EditEntry(QPersistentModelIndex(History().index(0)), ExampleEntryBytes());
    ExpectGerman(Editor(), {QStringLiteral("Serviceeintrag bearbeiten"), QStringLiteral("Abbrechen"), QStringLiteral("HINZUFÜGEN"),
                            QStringLiteral("FREIE WERKSTATT"), QStringLiteral("BMW-HÄNDLER"), QStringLiteral("ÜBERFÄLLIG"),
                            QStringLiteral("Motoröl"), QStringLiteral("Hauptuntersuchung")});
    // The procedures list keeps the status number in front of the translated word.
    auto* procedures = Find<QTreeWidget>(Editor(), "lvProcedures");
    QVERIFY(procedures->topLevelItemCount() > 0);
    QVERIFY2(procedures->topLevelItem(0)->text(3).contains(QRegularExpression(QStringLiteral("^[0-3] [A-ZÄÖÜ]"))),
             qPrintable(procedures->topLevelItem(0)->text(3)));
    for (int i = 0; i < procedures->topLevelItemCount(); ++i) {
      for (int c = 0; c < procedures->columnCount(); ++c) {
        const QString cell = procedures->topLevelItem(i)->text(c);
        QVERIFY2(!english_.contains(cell.section(QLatin1Char(' '), 1)), qPrintable(cell));
      }
    }
  }

  void theEnetWindowIsGerman() {
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    ExpectGerman(Connect(), {QStringLiteral("ENET-Verbindung"), QStringLiteral("SUCHEN"), QStringLiteral("Alte Servicedaten löschen"),
                             QStringLiteral("Schließen"), QStringLiteral("Protokoll speichern...")});
  }

  void theInfoWindowIsGerman() {
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    ExpectGerman(Info(), {QStringLiteral("HILFE"), QStringLiteral(" [i]  Info/Über")});
  }

 private:
  // The windows pointed at the simulated car, the sample written into it; the log's lines.
  QStringList WriteTheSample(SimulatedCar& car) {
    TAppOptions options = TestOptions();
    options.connect.gatewayPort = car.Port();
    Restart(options);
    History().ReplaceAll(*SplitHistory(ReadBytes(TARVELO_SOURCE_DIR "/examples/sample.kelta")));
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    Find<QLineEdit>(Connect(), "edtGWIP")->setText(QStringLiteral("127.0.0.1"));
    QTest::mouseClick(Find<QPushButton>(Connect(), "btnStart"), Qt::LeftButton);
    return Find<QPlainTextEdit>(Connect(), "mmoENET")->toPlainText().split(QLatin1Char('\n'));
  }

 private slots:
  // A write and a refused one, as the ENET window logs them in German.
  void aWriteIsLoggedInGerman() {
    SimulatedCar car;
    QStringList lines = WriteTheSample(car);
    QCOMPARE(lines.mid(0, 6), (QStringList{QStringLiteral("[ BEGINN ]"), QString(), QStringLiteral("- Verbunden mit 127.0.0.1"),
                                           QStringLiteral("- Aktuelle Servicehistorie wird gelöscht..."),
                                           QStringLiteral("- Neue Servicehistorie wird geschrieben..."),
                                           QStringLiteral("- Schreiben beendet, Headunit wird neu gestartet...")}));
    QVERIFY(lines.contains(QStringLiteral("[ FERTIG ]")));
    QCOMPARE(Find<QProgressBar>(Connect(), "prgWrite")->text(), QStringLiteral("Fertig: 9 von 9 geschrieben"));
    QCOMPARE(car->History(), Entries());  // what the car gets is the same in every language

    car->SetFaults([] {
      TCarSimFaults f;
      f.nrc = {{0x31, 0x22}};
      return f;
    }());
    QTest::mouseClick(Find<QPushButton>(Connect(), "btnStart"), Qt::LeftButton);
    lines = Find<QPlainTextEdit>(Connect(), "mmoENET")->toPlainText().split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("FEHLER: Die Headunit hat die Löschanfrage abgelehnt: 7F 31 22 (conditionsNotCorrect)")));
    QVERIFY(lines.contains(QStringLiteral("FEHLER: Die alte Servicehistorie wurde nicht gelöscht, daher wurde nichts geschrieben.")));
    QVERIFY(lines.contains(QStringLiteral("[ FEHLER ]")));
    for (const QString& line : lines) QVERIFY2(!line.startsWith(QStringLiteral("ERR:")), qPrintable(line));
  }

  // The README's German screenshots: the main window with the sample, the ENET window after a write.
  void screenshot() {
    const QByteArray folder = qgetenv("TARVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TARVELO_SCREENSHOT_DIR to a folder to take the README's screenshots");
    SimulatedCar car;
    QVERIFY(WriteTheSample(car).contains(QStringLiteral("[ FERTIG ]")));
    auto* entries = Find<QTreeView>(Main(), "lv1");
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, RowCenter(entries, 2));
    Find<QLabel>(Main(), "stat1")->setText(QStringLiteral("Status: Datei: sample.kelta"));  // not the build folder's path
    QVERIFY(Main().grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/main-window-de.png")));
    QVERIFY(Connect().grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/enet-connection-de.png")));
  }

  // HILFE opens the German guide, which the build makes beside the program.
  void helpOpensTheGermanGuide() {
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    const QString before = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(TARVELO_BINARY_DIR "/ui"));
    QTest::mouseClick(Find<QPushButton>(Info(), "btnHELP"), Qt::LeftButton);
    QDir::setCurrent(before);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0], QUrl::fromLocalFile(QStringLiteral(TARVELO_BINARY_DIR "/ui/tarvelo_help_de.pdf")));
    QVERIFY(QFile::exists(opened[0].toLocalFile()));
  }

  // What the layers below the windows tell the user, in German through the real windows: the
  // error report of a file that cannot be read or written, of a km that is no number, the status
  // of a refused spreadsheet, and the question before a write.
  void aFileThatCannotBeOpenedIsReportedInGerman() {
    // The catalogue has the lower layers' English, so that the checks below could see it.
    QVERIFY(EnglishSentences().contains(QStringLiteral("Cannot open file \"")));
    QVERIFY(EnglishSentences().contains(QStringLiteral("' is not a valid integer value")));
    const QString missing = QDir::toNativeSeparators(QString::fromStdString(Dir().File("fehlt.kelta")));
    WriteBytes(Dir().File("fehlt.kelta"), ExampleEntryBytes());
    const TShownBox shown = BoxShownBy([&] { OpenThroughTheDialog(missing, true); });
    QCOMPARE(shown.text, QStringLiteral("Die Datei „") + missing +
                             QStringLiteral("“ kann nicht geöffnet werden. No such file or directory."));
    QCOMPARE(shown.icon, QMessageBox::Critical);
    ExpectNoEnglishSentence(shown.text);
  }

  void savingIntoAMissingFolderIsReportedInGerman() {
    History().ReplaceAll({ExampleEntryBytes()});
    const QString target = QDir::toNativeSeparators(QString::fromStdString(Dir().File("weg/gespeichert.kelta")));
    const TShownBox shown = BoxShownBy([&] {
      WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        AcceptFileDialog(dialog, target);
      }, 10000, [](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; });
      ClickHeaderSection(Main(), THeaderSection::SaveAs);
    });
    QCOMPARE(shown.text, QStringLiteral("Die Datei „") + target +
                             QStringLiteral("“ kann nicht erstellt werden. No such file or directory."));
    ExpectNoEnglishSentence(shown.text);
    QVERIFY(!QFile::exists(target));
  }

  void aKmThatIsNoNumberIsReportedInGerman() {
    Find<QAction>(Main(), "Add1")->trigger();
    Find<QLineEdit>(Editor(), "edtKMStand")->setText(QStringLiteral("12a"));  // pasted past the digits-only typing
    QTest::keyClicks(Find<QLineEdit>(Editor(), "edtWorkshopID"), QStringLiteral("W"));
    Find<QComboBox>(Editor(), "cbbProcTYP")->setCurrentIndex(0);
    Find<QComboBox>(Editor(), "cbbPROCStatus")->setCurrentIndex(0);
    QTest::mouseClick(Find<QPushButton>(Editor(), "btnProcADD"), Qt::LeftButton);
    const TShownBox shown = BoxShownBy([&] { QTest::mouseClick(Find<QPushButton>(Editor(), "btnSAVE"), Qt::LeftButton); });
    QCOMPARE(shown.text, QStringLiteral("„12a“ ist keine gültige ganze Zahl."));
    QCOMPARE(shown.icon, QMessageBox::Critical);
    ExpectNoEnglishSentence(shown.text);
    QVERIFY(Editor().isVisible());
    QVERIFY(Entries().empty());
  }

  void anEntryWhoseDateIsNoneIsReportedInGerman() {
    TBuffer entry = ExampleEntryBytes();
    entry[0] = 31;  // 31.2.2020
    History().ReplaceAll({entry});
    const TShownBox shown = BoxShownBy([&] { DoubleClickRow(Find<QTreeView>(Main(), "lv1"), 0); });
    QCOMPARE(shown.text, QStringLiteral("„31.2.2020“ ist kein gültiges Datum."));
    ExpectNoEnglishSentence(shown.text);
    QVERIFY(!Editor().isVisible());
  }

  void aRefusedSpreadsheetIsReportedInGermanInTheStatus() {
    const std::string header = "Date,KM,Workshop type code,Workshop ID,Status code,Procedures\n";
    const std::string row = "2020-02-01,1000,1,A1,2,Engine oil (1): ON TIME (1)\n";
    const std::string refused = Dir().File("abgelehnt.csv");
    WriteBytes(refused, BytesOf(header + "2020-02-01,1.000,1,A1,2,Engine oil (1): ON TIME (1)\n" + "2020-02-30," + row.substr(11)));
    OpenThroughTheDialog(QString::fromStdString(refused));
    const QString status = Find<QLabel>(Main(), "stat1")->text();
    QCOMPARE(status, QStringLiteral("Status: Ungültige Daten: ") + QString::fromStdString(refused) +
                         QStringLiteral(" (Zeile 2: Feld „KM“: „1.000“ ist keine ganze Zahl von 0 bis 4294967295; und 1 "
                                        "weitere: tarvelo-cli import nennt sie alle)"));
    ExpectNoEnglishSentence(status);
    QVERIFY(Entries().empty());

    // A file that Excel saved in the code page loads, and the status says how it was read.
    const std::string ansi = Dir().File("excel.csv");
    WriteBytes(ansi, BytesOf(header + "2020-02-01,1000,1,M\xFC,2,Engine oil (1): ON TIME (1)\n"));
    OpenThroughTheDialog(QString::fromStdString(ansi));
    QCOMPARE(Find<QLabel>(Main(), "stat1")->text(), QStringLiteral("Status: Datei: ") + QString::fromStdString(ansi) +
                                                       QStringLiteral(" (als Windows-1252 gelesen, da die Datei kein UTF-8 ist)"));
    QCOMPARE(History().Count(), 1);
  }

  void theQuestionBeforeAWriteListsTheFindingsInGerman() {
    TBuffer future = ExampleEntryBytes();
    StoreBigEndian16(&future[2], 2999);  // 1.2.2999
    History().ReplaceAll({future, ExampleEntryBytes(), ExampleEntryBytes()});
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    Find<QLineEdit>(Connect(), "edtGWIP")->setText(QStringLiteral("127.0.0.1"));
    QString asked;
    WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      QVERIFY(box);
      asked = box->text();
      QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    QTest::mouseClick(Find<QPushButton>(Connect(), "btnStart"), Qt::LeftButton);
    CancelModalWatchers();
    const QString today = [] {
      const TCalendarDate d = LocalToday();
      return QStringLiteral("%1.%2.%3").arg(d.day).arg(d.month).arg(d.year);
    }();
    QCOMPARE(asked, QStringLiteral("Die Historie hat 2 Befunde:\n\nEintrag 3: Der 1.2.2999 liegt nach dem heutigen Tag (") + today +
                        QStringLiteral(").\nEintrag 1: derselbe wie Eintrag 2 (1.2.2020, 1.000 km).\n\nTrotzdem schreiben?"));
    ExpectNoEnglishSentence(asked);
  }

  // Qt's own words come from Qt's German catalogue: the buttons of a question.
  void questionsHaveGermanButtons() {
    History().ReplaceAll({ExampleEntryBytes()});
    Editor().EditEntry(QPersistentModelIndex(History().index(0)), ExampleEntryBytes());
    Find<QLineEdit>(Editor(), "edtKMStand")->setText(QStringLiteral("1"));
    QStringList buttons;
    QString question;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      question = box->text();
      for (QAbstractButton* button : box->buttons()) buttons << button->text().remove(QLatin1Char('&'));
      box->button(QMessageBox::No)->click();
    });
    Editor().EditNew();
    QVERIFY2(question.startsWith(QStringLiteral("Der Eintrag im Editor hat Änderungen")), qPrintable(question));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
  }
};

TARVELO_QT_TEST_MAIN(TestLanguage)
#include "ui_language_test.moc"
