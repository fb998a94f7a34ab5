// Files given to the desktop program: the file named on its command line, opened at start, and a
// file dropped on its main window. Both go the way of "Open": the same texts in the status bar,
// the same error report for a file that cannot be read. The drops travel as the window system
// delivers them, to the main window's window handle at a point over the entries list.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTreeView>
#include <QWindow>

#include "exchange/HistoryExchange.h"
#include "history/HistoryFile.h"
#include "tests/TestEntries.h"
#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "ui/StartArguments.h"
#include "ui/uEditor.h"
#include "ui/uInfo.h"
#include "ui/uMain.h"

namespace {

THistoryList TwoEntries() { return {EntryWithProcedures(1, 2000), EntryWithProcedures(2, 1000)}; }

QByteArray TextBytes(const std::string& text) { return QByteArray::fromStdString(text); }

std::unique_ptr<QMimeData> FileDrag(const QStringList& paths) {
  auto data = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  data->setUrls(urls);
  return data;
}

}  // namespace

class TestOpenFiles : public TProgramWindowsTest {
  Q_OBJECT

 private:
  QString Status() { return Find<QLabel>(Main(), "stat1")->text(); }

  QString WriteFile(const QString& name, const QByteArray& bytes) {
    const std::string path = Dir().File(name.toStdString());
    WriteBytes(path, TBuffer(bytes.begin(), bytes.end()));
    return QDir::toNativeSeparators(QString::fromStdString(path));
  }
  QString WriteHistory(const QString& name, const THistoryList& entries) {
    const TBuffer bytes = JoinHistory(entries);
    return WriteFile(name, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  }

  // The point over the entries list, in the coordinates of the main window's window handle.
  QPoint OverTheList() { return Lv1()->mapTo(&Main(), Lv1()->rect().center()); }

  struct TDragOutcome {
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
  };

  // A drag that enters the main window over its list and is let go there (or, when the window
  // refuses it, leaves again), as the window system delivers them.
  TDragOutcome Drop(const QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWindow* window = Main().windowHandle();
    if (!window) qFatal("the main window has no window handle");
    QDragEnterEvent enter(OverTheList(), actions, &data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) {
      QDragLeaveEvent leave;
      QCoreApplication::sendEvent(window, &leave);
      return {false, Qt::IgnoreAction};
    }
    QDropEvent drop(OverTheList(), actions, &data, Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(window, &drop);
    return {drop.isAccepted(), drop.dropAction()};
  }

  // Runs action and answers the error report that it shows with "OK"; expected is its text.
  void ExpectErrorReport(const std::function<void()>& action, const QString& expected) {
    auto shown = std::make_shared<QString>();
    WhenMessageBox([shown](QMessageBox* box) {
      QCOMPARE(box->icon(), QMessageBox::Critical);
      QCOMPARE(box->windowTitle(), QStringLiteral("Tarvelo"));
      *shown = box->text();
    });
    action();
    QTRY_VERIFY_WITH_TIMEOUT(!shown->isEmpty(), 10000);
    CancelModalWatchers();
    QCOMPARE(*shown, expected);
  }

 private slots:
  void theCommandLineNamesAtMostOneFile_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");
    QTest::newRow("nothing") << QStringList{} << QString() << QString();
    QTest::newRow("one file") << QStringList{"history.kelta"} << "history.kelta" << QString();
    QTest::newRow("a path with blanks") << QStringList{"/home/a b/my car.kelta"} << "/home/a b/my car.kelta" << QString();
    QTest::newRow("a Windows path") << QStringList{R"(C:\Users\A B\car.kelta)"} << R"(C:\Users\A B\car.kelta)" << QString();
    QTest::newRow("a name after --") << QStringList{"--", "-odd.kelta"} << "-odd.kelta" << QString();
    QTest::newRow("-- alone") << QStringList{"--"} << QString() << QString();
    QTest::newRow("- is a name") << QStringList{"-"} << "-" << QString();
    QTest::newRow("unknown option") << QStringList{"-x"} << QString() << "unknown option -x";
    QTest::newRow("unknown long option") << QStringList{"--open", "a.kelta"} << QString() << "unknown option --open";
    QTest::newRow("two files") << QStringList{"a.kelta", "b.kelta"} << QString() << "one file at a time, not 2";
    QTest::newRow("three files, one after --") << QStringList{"a.kelta", "b.csv", "--", "-c.json"} << QString()
                                               << "one file at a time, not 3";
    QTest::newRow("an empty name") << QStringList{""} << QString() << "the file name is empty";
    QTest::newRow("a file and the language") << QStringList{"--lang", "de", "a.kelta"} << "a.kelta" << QString();
    QTest::newRow("the language after the file") << QStringList{"a.kelta", "--lang=en"} << "a.kelta" << QString();
    QTest::newRow("a file named de after --") << QStringList{"--", "de"} << "de" << QString();
    QTest::newRow("an unknown language") << QStringList{"--lang", "fr"} << QString() << "unknown language \"fr\": de or en";
    QTest::newRow("--lang without a language") << QStringList{"--lang"} << QString() << "--lang needs a language: de or en";
  }
  void theCommandLineNamesAtMostOneFile() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(QString, error);
    const TStartArguments start = ParseStartArguments(arguments);
    QCOMPARE(start.file, file);
    QCOMPARE(start.error, error);
  }

  void aFileOnTheCommandLineIsOpenedAtStart() {
    const QString path = WriteHistory(QStringLiteral("car.kelta"), TwoEntries());
    StartWith(path);
    QVERIFY(Main().isVisible());
    QTRY_COMPARE(Status(), QStringLiteral("Status: File: ") + path);
    QCOMPARE(Entries(), TwoEntries());
    QCOMPARE(ModelTexts(Lv1()->model()).size(), 2);
    QCOMPARE(ModelTexts(Lv1()->model())[0][2], QStringLiteral("2000"));
  }

  void aRelativeNameIsOpenedFromTheCurrentFolderAndShownWhole() {
    const QString path = WriteHistory(QStringLiteral("here.kelta"), TwoEntries());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(Dir().Path().string())));
    StartWith(QStringLiteral("here.kelta"));
    QTRY_COMPARE(Status(), QStringLiteral("Status: File: ") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    QDir::setCurrent(before);
    QCOMPARE(Entries(), TwoEntries());
  }

  void nothingOnTheCommandLineStartsAsAlways() {
    StartWith(QString());
    QTest::qWait(50);  // the loop has run: nothing was opened
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QVERIFY(Entries().empty());
  }

  void aFileThatCannotBeReadIsReportedAndTheProgramStaysWithAnEmptyList() {
    const QString missing = QDir::toNativeSeparators(QString::fromStdString(Dir().File("gone.kelta")));
    ExpectErrorReport([&] { StartWith(missing); },
                      QStringLiteral("Cannot open file \"") + missing + QStringLiteral("\". No such file or directory."));
    if (QTest::currentTestFailed()) return;
    QVERIFY(Main().isVisible());
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QVERIFY(Entries().empty());
    QCOMPARE(Lv1()->model()->rowCount(), 0);
  }

  void aFileThatIsNoHistoryIsInvalidDataAtStart_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("bytes that are no whole entries") << "short.kelta" << QByteArray(20, '\0') << QString();
    QTest::newRow("an empty file") << "empty.bin" << QByteArray() << QString();
    QTest::newRow("a CSV without the KM column") << "bad.csv" << QByteArray("Date\r\n2020-01-01\r\n")
                                                 << " (Line 1: the column \"KM\" is missing;";
  }
  void aFileThatIsNoHistoryIsInvalidDataAtStart() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = WriteFile(name, bytes);
    StartWith(path);
    // A refused spreadsheet's reason goes on to say what the header needs; its start is enough here.
    if (reason.isEmpty()) {
      QTRY_COMPARE(Status(), QStringLiteral("Status: Invalid data: ") + path);
    } else {
      QTRY_VERIFY2(Status().startsWith(QStringLiteral("Status: Invalid data: ") + path + reason), qPrintable(Status()));
    }
    QVERIFY(Entries().empty());
  }

  void aDroppedFileIsOpenedAsOpenWould_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");  // 0 history file, 1 CSV, 2 JSON
    QTest::newRow("*.kelta") << "car.kelta" << 0;
    QTest::newRow("*.bin") << "car.bin" << 0;
    QTest::newRow("*.KELTA") << "CAR.KELTA" << 0;
    QTest::newRow("*.csv") << "car.csv" << 1;
    QTest::newRow("*.json") << "car.json" << 2;
  }
  void aDroppedFileIsOpenedAsOpenWould() {
    QFETCH(QString, name);
    QFETCH(int, kind);
    History().ReplaceAll({EntryWithProcedures(3, 7000)});
    const QString path = kind == 0 ? WriteHistory(name, TwoEntries())
                                   : WriteFile(name, TextBytes(ExportHistory(TwoEntries(), kind == 1 ? TExchangeFormat::Csv
                                                                                                 : TExchangeFormat::Json)));
    const auto data = FileDrag({path});
    const TDragOutcome outcome = Drop(*data);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.action, Qt::CopyAction);
    QTRY_COMPARE(Status(), QStringLiteral("Status: File: ") + path);
    QCOMPARE(Entries(), TwoEntries());
    QCOMPARE(ModelTexts(Lv1()->model()).size(), 2);
  }

  void aDropIsTakenAsACopyAndNeverAsAMove() {
    // Shift proposes "move": the file manager would delete the file once the drop took it so.
    const QString path = WriteHistory(QStringLiteral("car.kelta"), TwoEntries());
    const auto data = FileDrag({path});
    const TDragOutcome outcome = Drop(*data, Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.action, Qt::CopyAction);
    QTRY_COMPARE(Entries(), TwoEntries());
    QVERIFY(QFile::exists(path));

    // A drag that can only be a move is not taken.
    History().ReplaceAll({});
    const QString status = Status();
    QVERIFY(!Drop(*data, Qt::MoveAction).accepted);
    QTest::qWait(50);
    QVERIFY(Entries().empty());
    QCOMPARE(Status(), status);
  }

  void dragsOfOtherThingsAreRefusedAndChangeNothing() {
    History().ReplaceAll(TwoEntries());
    const QString status = Status();
    const QString one = WriteHistory(QStringLiteral("one.kelta"), TwoEntries());
    const QString two = WriteHistory(QStringLiteral("two.kelta"), TwoEntries());
    const QString text = WriteFile(QStringLiteral("notes.txt"), "a note");
    const QString folder = QString::fromStdString(Dir().File("folder.kelta"));
    QVERIFY(QDir().mkpath(folder));

    struct TCase {
      const char* what;
      std::unique_ptr<QMimeData> data;
    };
    std::vector<TCase> cases;
    cases.push_back({"two files", FileDrag({one, two})});
    cases.push_back({"a text file", FileDrag({text})});
    cases.push_back({"a folder named like a history", FileDrag({folder})});
    auto web = std::make_unique<QMimeData>();
    web->setUrls({QUrl(QStringLiteral("https://example.org/car.kelta"))});
    cases.push_back({"a web address", std::move(web)});
    auto words = std::make_unique<QMimeData>();
    words->setText(one);
    cases.push_back({"the path as text", std::move(words)});
    cases.push_back({"no files", FileDrag({})});
    for (const TCase& c : cases) {
      QVERIFY2(!Drop(*c.data).accepted, c.what);
    }
    QTest::qWait(50);
    QCOMPARE(Entries(), TwoEntries());
    QCOMPARE(Status(), status);
  }

  void aDroppedFileThatCannotBeReadGoesToTheErrorReportAndTheListStays() {
    History().ReplaceAll(TwoEntries());
    const QString path = WriteHistory(QStringLiteral("vanishing.kelta"), {ExampleEntryBytes()});
    const auto data = FileDrag({path});
    QVERIFY(QFile::remove(path));  // gone between the drag and the open
    ExpectErrorReport([&] { QVERIFY(Drop(*data).accepted); },
                      QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". No such file or directory."));
    if (QTest::currentTestFailed()) return;
    QCOMPARE(Entries(), TwoEntries());
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));

    // The program goes on: the next drop opens.
    const QString good = WriteHistory(QStringLiteral("good.kelta"), {ExampleEntryBytes()});
    const auto next = FileDrag({good});
    QVERIFY(Drop(*next).accepted);
    QTRY_COMPARE(Status(), QStringLiteral("Status: File: ") + good);
    QCOMPARE(Entries(), THistoryList{ExampleEntryBytes()});
  }

  void aDroppedFileThatIsNoHistoryKeepsTheList() {
    History().ReplaceAll(TwoEntries());
    const QString path = WriteFile(QStringLiteral("short.kelta"), QByteArray(20, '\0'));
    const auto data = FileDrag({path});
    QVERIFY(Drop(*data).accepted);
    QTRY_COMPARE(Status(), QStringLiteral("Status: Invalid data: ") + path);
    QCOMPARE(Entries(), TwoEntries());
  }

  void aDropWhileTheEditorHoldsChangesActsAsOpen() {
    // "Open" keeps what the editor holds and asks nothing: its "OK" then adds the edit to the
    // opened list, at the end, as the entry it came from is gone. A drop does the same.
    History().ReplaceAll(TwoEntries());
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 0));
    Find<QAction>(Main(), "Edit1")->trigger();
    QVERIFY(Editor().isVisible());
    auto* km = Find<QLineEdit>(Editor(), "edtKMStand");
    km->clear();
    QTest::keyClicks(km, QStringLiteral("2500"));

    const QString path = WriteHistory(QStringLiteral("other.kelta"), {EntryWithProcedures(1, 9000)});
    const auto data = FileDrag({path});
    bool asked = false;
    WhenModal([&asked](QWidget*) { asked = true; }, 500);
    QVERIFY(Drop(*data).accepted);
    QTRY_COMPARE(Status(), QStringLiteral("Status: File: ") + path);
    QTest::qWait(600);
    QVERIFY(!asked);
    QVERIFY(Editor().isVisible());
    QCOMPARE(km->text(), QStringLiteral("2500"));

    QTest::mouseClick(Find<QPushButton>(Editor(), "btnSAVE"), Qt::LeftButton);
    QCOMPARE(Entries().size(), std::size_t{2});
    QCOMPARE(KMStand(Entries()[0]), 9000u);
    QCOMPARE(KMStand(Entries()[1]), 2500u);
  }

  void aProgramStartedInAFilesFolderFindsTheGuideBesideItself() {
    // A double-click on a history file starts the program in the file's folder; "HELP" then takes
    // the guide installed beside the program. A guide in the current folder comes first.
    const QString beside = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("tarvelo_help.pdf"));
    const bool madeHere = !QFileInfo::exists(beside);
    if (madeHere) WriteBytes(QFile::encodeName(beside).toStdString(), TBuffer{'%', 'P', 'D', 'F'});
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(Dir().Path().string())));
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    auto* help = Find<QPushButton>(Info(), "btnHELP");
    QTest::mouseClick(help, Qt::LeftButton);
    const QString inTheFolder = WriteFile(QStringLiteral("tarvelo_help.pdf"), "%PDF");
    QTest::mouseClick(help, Qt::LeftButton);
    QDir::setCurrent(before);
    if (madeHere) QFile::remove(beside);
    QCOMPARE(opened, (QList<QUrl>{QUrl::fromLocalFile(beside), QUrl::fromLocalFile(QDir::fromNativeSeparators(inTheFolder))}));
  }
};

TARVELO_QT_TEST_MAIN(TestOpenFiles)
#include "ui_open_test.moc"
