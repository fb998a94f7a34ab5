// The ENET connection window as a real widget, writing into the simulated car on loopback.
#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeView>
#include <QPushButton>

#include "enet/HexText.h"
#include "enet/HistoryWriter.h"
#include "history/HistoryFile.h"
#include "tests/ExpectedLogs.h"
#include "tests/TestEntries.h"
#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "ui/Connect.h"
#include "ui/uMain.h"

namespace {

QStringList CompleteBlock(bool erase) {
  QStringList lines;
  for (const std::string& line : CompleteWriteLog(erase)) lines << QString::fromStdString(line);
  return lines;
}

THistoryList ThreeEntries() { return {EntryWithProcedures(1, 3), ExampleEntryBytes(), EntryWithProcedures(2, 1)}; }

THistoryList SampleEntries() {
  return *SplitHistory(ReadBytes(TARVELO_SOURCE_DIR "/examples/sample.kelta"));
}

}  // namespace

class TestConnect : public TProgramWindowsTest {
  Q_OBJECT

  QLineEdit* Address() { return Find<QLineEdit>(Connect(), "edtGWIP"); }
  QPushButton* StartButton() { return Find<QPushButton>(Connect(), "btnStart"); }
  QPushButton* DetectButton() { return Find<QPushButton>(Connect(), "btnDetect"); }
  QPushButton* CloseButton() { return Find<QPushButton>(Connect(), "btnClose"); }
  QPlainTextEdit* Log() { return Find<QPlainTextEdit>(Connect(), "mmoENET"); }
  QProgressBar* Progress() { return Find<QProgressBar>(Connect(), "prgWrite"); }
  QCheckBox* Erase() { return Find<QCheckBox>(Connect(), "chkErase"); }
  QStringList LogLines() { return Log()->toPlainText().split(QLatin1Char('\n')); }

  // The windows again, pointed at the simulated car; the ENET window shown with its address.
  void ShowFor(SimulatedCar& car) {
    TAppOptions options = TestOptions();
    options.connect.gatewayPort = car.Port();
    Restart(options);
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    QVERIFY(Connect().isVisible());
    Address()->setText(QStringLiteral("127.0.0.1"));
  }

 private slots:

  void looksAsDescribed() {
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    QCOMPARE(Connect().windowTitle(), QStringLiteral("ENET Connection"));
    QVERIFY(Connect().windowFlags() & Qt::Tool);
    QCOMPARE(Connect().size(), QSize(337, 400));
    QCOMPARE(Connect().minimumSize(), Connect().maximumSize());
    QCOMPARE(Find<QGroupBox>(Connect(), "GroupBox1")->geometry(), QRect(0, 0, 337, 41));
    QCOMPARE(Find<QGroupBox>(Connect(), "grp1")->geometry(), QRect(0, 364, 337, 36));
    QCOMPARE(Find<QGroupBox>(Connect(), "GroupBox1")->title(), QString());
    QCOMPARE(Address()->width(), 201);
    QCOMPARE(Address()->placeholderText(), QStringLiteral("CAR/ZGW/FEM/BDC IP"));
    QVERIFY(Address()->font().bold());
    QCOMPARE(Address()->maxLength(), 32767);  // no limit of our own
    QCOMPARE(DetectButton()->text(), QStringLiteral("DETECT"));
    QCOMPARE(DetectButton()->width(), 66);
    QVERIFY(Log()->isReadOnly());
    QCOMPARE(Log()->geometry(), QRect(0, 41, 337, 400 - 41 - 36));
    QCOMPARE(StartButton()->text(), QStringLiteral("Start"));
    QCOMPARE(StartButton()->width(), 75);
    QCOMPARE(Erase()->text(), QStringLiteral("Erase old service data"));
    QVERIFY(Erase()->isChecked());
    QCOMPARE(CloseButton()->text(), QStringLiteral("Close"));
    QVERIFY(StartButton()->x() < Erase()->x());
    QVERIFY(Erase()->geometry().right() < CloseButton()->x());
    QVERIFY(!Progress()->isVisible());
    QVERIFY(Log()->lineWrapMode() == QPlainTextEdit::WidgetWidth);
    // Tab follows the window from top to bottom.
    const QList<QWidget*> order = {Address(), DetectButton(), Erase(), StartButton(), Log(), CloseButton()};
    for (int i = 0; i + 1 < order.size(); ++i) {
      QWidget* next = order[i]->nextInFocusChain();
      while (next && (next->focusPolicy() == Qt::NoFocus || order[i]->isAncestorOf(next))) next = next->nextInFocusChain();
      QCOMPARE(next, order[i + 1]);
    }
  }

  // Enter in the address is "Start"; during a write it does not stop it.
  void enterInTheAddressStartsTheWrite() {
    SimulatedCar car;
    ShowFor(car);
    History().ReplaceAll(ThreeEntries());
    Connect().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Connect()));
    QTest::keyClick(Address(), Qt::Key_Return);
    QCOMPARE(LogLines(), CompleteBlock(true));
    QCOMPARE(car->History(), ThreeEntries());
  }

  // An empty address is reported as it is, before any question about the history's findings.
  void anEmptyAddressIsReportedBeforeTheFindings() {
    TBuffer future = ExampleEntryBytes();
    StoreBigEndian16(&future[2], 2999);  // 1.2.2999: a finding
    History().ReplaceAll({future});
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    bool asked = false;
    WhenModal([&](QWidget* w) {
      asked = true;
      if (auto* box = qobject_cast<QMessageBox*>(w)) box->reject();
    }, 500);
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    CancelModalWatchers();
    QVERIFY(!asked);
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "ERR: Could not connect to target: ", "", "[ ERROR ]", ""}));
  }

  void startWritesTheListIntoTheCar() {
    SimulatedCar car;
    ShowFor(car);
    History().ReplaceAll(ThreeEntries());
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QCOMPARE(LogLines(), CompleteBlock(true));
    QCOMPARE(car->History(), ThreeEntries());
    QCOMPARE(car->ReceivedFrames().front().uds, HexTextToBytes("3101A080"));
    QCOMPARE(Progress()->value(), 3);
    QVERIFY(StartButton()->isEnabled());
    QVERIFY(DetectButton()->isEnabled());
    QVERIFY(Progress()->isVisible());  // with the outcome, until the next "Start" or "DETECT"

    // A second press adds a second block.
    Erase()->setChecked(false);
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QCOMPARE(LogLines(), CompleteBlock(true) + CompleteBlock(false));
    QCOMPARE(car->History().size(), std::size_t{6});
  }

  void emptyListAndEmptyAddress() {
    SimulatedCar car;
    ShowFor(car);
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "ERR: Service history list is empty!", "", "[ ERROR ]", ""}));
    History().ReplaceAll(ThreeEntries());
    Address()->clear();
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QCOMPARE(LogLines().mid(6),
             (QStringList{"[ BEGIN ]", "", "ERR: Could not connect to target: ", "", "[ ERROR ]", ""}));
    QCOMPARE(car->Connections(), 0);
  }

  void whileAWriteRunsStartReadsStopDetectIsDisabledAndTheWriteUsesItsCopy() {
    TCarSimFaults pending;
    pending.pending = 1;  // each answer waits a second: window events run meanwhile
    SimulatedCar car(pending);
    ShowFor(car);
    History().ReplaceAll(ThreeEntries());
    Erase()->setChecked(false);
    QString startText;
    bool startEnabled = false, detectEnabled = true, progressShown = false;
    QTimer::singleShot(300, [&] {
      startText = StartButton()->text();
      startEnabled = StartButton()->isEnabled();
      detectEnabled = DetectButton()->isEnabled();
      progressShown = Progress()->isVisible();
      // The user deletes every entry meanwhile; the running write keeps its own copy.
      while (!History().SHRecord().empty()) {
        QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 0));
        Find<QAction>(Main(), "Delete2")->trigger();
      }
    });
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QCOMPARE(startText, QStringLiteral("Stop"));
    QVERIFY(startEnabled);
    QVERIFY(!detectEnabled);
    QVERIFY(progressShown);
    QVERIFY(History().SHRecord().empty());
    QCOMPARE(StartButton()->text(), QStringLiteral("Start"));
    QVERIFY(DetectButton()->isEnabled());
    QCOMPARE(car->History(), ThreeEntries());
    QCOMPARE(LogLines().last(1), QStringList{""});
    QVERIFY(LogLines().contains(QStringLiteral("[ COMPLETE ]")));
  }

  // A car that never answers: the windows still take every click at once, and "Stop" ends the
  // write before its next request.
  void clicksAreTakenAtOnceWhileTheCarIsSilentAndStopEndsTheWrite() {
    SimulatedCar car(SilentCar());
    ShowFor(car);
    History().ReplaceAll(SampleEntries());

    // Every 50 ms a click on another row of the entries list, delivered as the window system
    // delivers it; the time until the selection shows it is how long the click was held back.
    QElapsedTimer clock;
    qint64 clickedAt = -1;
    qint64 longestWait = 0;
    int clicks = 0;
    connect(Lv1()->selectionModel(), &QItemSelectionModel::selectionChanged, this, [&] {
      if (clickedAt >= 0) longestWait = std::max(longestWait, clock.elapsed() - clickedAt);
      clickedAt = -1;
    });
    QTimer clicker;
    clicker.setInterval(50);
    connect(&clicker, &QTimer::timeout, this, [&] {
      if (clickedAt >= 0) return;  // the last click is still waiting
      const int row = ++clicks % 9;
      const QPoint at = RowCenter(Lv1(), row);
      for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(Lv1()->viewport(),
                                    new QMouseEvent(type, at, Lv1()->viewport()->mapToGlobal(at), Qt::LeftButton,
                                                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                    Qt::NoModifier));
      }
      clickedAt = clock.elapsed();
    });
    // After two seconds of the car's silence, the user presses "Stop".
    QTimer::singleShot(2000, this, [this] { QTest::mouseClick(StartButton(), Qt::LeftButton); });
    clock.start();
    clicker.start();
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    const qint64 stoppedAfter = clock.elapsed();
    clicker.stop();

    qInfo("%d clicks during the write; the longest waited %lld ms", clicks, longestWait);
    QVERIFY(clicks >= 10);
    QVERIFY2(longestWait < 500, qPrintable(QString::number(longestWait)));  // 100 ms wanted; generous for a loaded machine
    QVERIFY2(stoppedAfter < 4500, qPrintable(QString::number(stoppedAfter)));  // well before the car's 5 s time-out
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Erasing current service history...",
                                      "ERR: No answer to the erase request (stopped by the user)",
                                      "ERR: Stopped by the user before entry 1 of 9.",
                                      "ERR: The erase got no answer: the head unit holds its old history, or nothing if it erased it; nothing of "
                                      "the list was written.",
                                      "", "[ ERROR ]", ""}));
    QCOMPARE(StartButton()->text(), QStringLiteral("Start"));
    QVERIFY(DetectButton()->isEnabled());
    QCOMPARE(car->ReceivedRequests().size(), std::size_t{1});
  }

  void stopInTheMiddleOfAWriteEndsItBeforeTheNextEntry() {
    SimulatedCar car;
    ShowFor(car);
    History().ReplaceAll(SampleEntries());
    // The user presses "Stop" as the bar shows the third entry written.
    const QMetaObject::Connection pressStop =
        connect(Progress(), &QProgressBar::valueChanged, this, [this](int written) {
          if (written == 3) QTest::mouseClick(StartButton(), Qt::LeftButton);
        });
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    disconnect(pressStop);
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Erasing current service history...",
                                      "- Writing new service history...", "ERR: Stopped by the user before entry 4 of 9.",
                                      "ERR: The head unit holds entries 1 to 3 of 9; entries 4 to 9 were not written.",
                                      "", "[ ERROR ]", ""}));
    const THistoryList sample = SampleEntries();
    QCOMPARE(car->History(), THistoryList(sample.begin(), sample.begin() + 3));

    // "Start" reads "Start" again, and a new write goes through.
    QCOMPARE(StartButton()->text(), QStringLiteral("Start"));
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QCOMPARE(LogLines().mid(10), CompleteBlock(true));
    QCOMPARE(car->History(), sample);
  }

  void closeAndReopenKeepLogAndAddress() {
    SimulatedCar car;
    ShowFor(car);
    History().ReplaceAll(ThreeEntries());
    Erase()->setChecked(false);
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    const QString log = Log()->toPlainText();
    QTest::mouseClick(CloseButton(), Qt::LeftButton);
    QVERIFY(!Connect().isVisible());
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    QVERIFY(Connect().isVisible());
    QCOMPARE(Log()->toPlainText(), log);
    QCOMPARE(Address()->text(), QStringLiteral("127.0.0.1"));
    QVERIFY(!Erase()->isChecked());
  }

  void screenshot() {
    const QByteArray folder = qgetenv("TARVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TARVELO_SCREENSHOT_DIR to a folder to take the README's screenshots");
    SimulatedCar car;
    ShowFor(car);
    History().ReplaceAll(SampleEntries());
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QVERIFY(LogLines().contains(QStringLiteral("[ COMPLETE ]")));
    QVERIFY(Connect().grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/enet-connection.png")));

    // A head unit that refuses: the ERR lines wrap, and the bar shows the outcome in red.
    car->SetFaults([] {
      TCarSimFaults f;
      f.nrc = {{0x31, 0x22}};
      return f;
    }());
    Erase()->setChecked(false);
    History().ReplaceAll({SampleEntries()[0], SampleEntries()[1]});
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QVERIFY(LogLines().contains(QStringLiteral("[ ERROR ]")));
    QVERIFY(Connect().grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/enet-refused.png")));
  }

  // The bar says how far the write is ("2 of 3"), then stays, full, in the colour of the outcome
  // until the next "Start" or "DETECT".
  void theBarSaysHowFarAndThenTheOutcome() {
    SimulatedCar car;
    ShowFor(car);
    History().ReplaceAll(ThreeEntries());
    QStringList seen;
    connect(Progress(), &QProgressBar::valueChanged, this, [&] { seen << Progress()->text(); });
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QVERIFY2(seen.contains(QStringLiteral("2 of 3")), qPrintable(seen.join('|')));
    QVERIFY(Progress()->isVisible());
    QCOMPARE(Progress()->value(), Progress()->maximum());
    QCOMPARE(Progress()->property("outcome").toString(), QStringLiteral("complete"));
    QCOMPARE(Progress()->text(), QStringLiteral("Complete: 3 of 3 written"));

    car->SetFaults([] {
      TCarSimFaults f;
      f.nrc = {{0x11, 0x22}};
      return f;
    }());
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QCOMPARE(Progress()->property("outcome").toString(), QStringLiteral("error"));
    QCOMPARE(Progress()->value(), Progress()->maximum());
    QCOMPARE(Progress()->text(), QStringLiteral("Error: see the log"));
    QVERIFY(Progress()->isVisible());

    QTest::mouseClick(DetectButton(), Qt::LeftButton);
    QVERIFY(!Progress()->isVisible());
  }

  // A long ERR line wraps at word boundaries and shows whole: nothing to scroll sideways for.
  void longLinesWrapAndEscapeCloses() {
    TCarSimFaults refuse;
    refuse.nrc = {{0x31, 0x22}};
    SimulatedCar car(refuse);
    ShowFor(car);
    Erase()->setChecked(false);
    History().ReplaceAll(SampleEntries());
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    const QString line = QStringLiteral("ERR: Head unit refused entry 1 of 9: 7F 31 22 (conditionsNotCorrect)");
    QVERIFY(LogLines().contains(line));
    QCOMPARE(Log()->horizontalScrollBar()->maximum(), 0);
    const QTextBlock block = Log()->document()->findBlockByNumber(static_cast<int>(LogLines().indexOf(line)));
    QVERIFY(block.layout()->lineCount() > 1);
    QVERIFY(block.layout()->lineAt(0).textLength() < line.size());
    QVERIFY(line.at(block.layout()->lineAt(0).textLength() - 1) == QLatin1Char(' '));  // broken after a word

    Connect().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Connect()));
    QTest::keyClick(Log(), Qt::Key_Escape);
    QVERIFY(!Connect().isVisible());
  }

  // "Start" checks the history first: with findings it shows them and asks, "No" the default.
  void theCheckRunsBeforeTheWriteAndAsks() {
    SimulatedCar car;
    ShowFor(car);
    TBuffer future = ExampleEntryBytes();
    StoreBigEndian16(&future[2], 2999);  // 1.2.2999
    History().ReplaceAll({future, ExampleEntryBytes(), ExampleEntryBytes()});
    QString asked;
    bool noIsDefault = false;
    const auto start = [&](QMessageBox::StandardButton answer) {
      WhenModal([&, answer](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        asked = box->text();
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        QTest::mouseClick(box->button(answer), Qt::LeftButton);
      });
      QTest::mouseClick(StartButton(), Qt::LeftButton);
      CancelModalWatchers();
    };
    start(QMessageBox::No);
    QVERIFY(noIsDefault);
    QVERIFY2(asked.startsWith(QStringLiteral("The history has 2 findings:\n\nEntry 3: 1.2.2999 is after today")), qPrintable(asked));
    QVERIFY(asked.contains(QStringLiteral("Entry 1: the same as entry 2")));
    QVERIFY(asked.endsWith(QStringLiteral("\n\nWrite anyway?")));
    QCOMPARE(car->Connections(), 0);  // "No": nothing is written, and the log says so
    QCOMPARE(LogLines(), (QStringList{
                             "Nothing was written: the history has findings, and \"Write anyway?\" was answered \"No\".", ""}));

    start(QMessageBox::Yes);
    QVERIFY(LogLines().contains(QStringLiteral("[ COMPLETE ]")));
    QCOMPARE(car->History().size(), std::size_t{3});
  }

  // The log's context menu saves the log as text and the last write's frames as a pcap trace.
  void theLogAndTheTraceOfTheLastWriteCanBeSaved() {
    SimulatedCar car;
    ShowFor(car);
    History().ReplaceAll(ThreeEntries());
    auto* saveTrace = Find<QAction>(Connect(), "SaveTrace1");
    QVERIFY(!saveTrace->isEnabled());  // no write yet
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QVERIFY(saveTrace->isEnabled());
    TempDir dir;
    const auto saveThrough = [&](const char* action, const std::string& name) {
      const QString path = QString::fromStdString(dir.File(name));
      WhenModal([path](QWidget* w) { AcceptFileDialog(qobject_cast<QFileDialog*>(w), path); });
      Find<QAction>(Connect(), action)->trigger();
      return ReadBytes(path.toStdString());
    };
    const TBuffer log = saveThrough("SaveLog1", "write.txt");
    QCOMPARE(QString::fromUtf8(reinterpret_cast<const char*>(log.data()), static_cast<qsizetype>(log.size())),
             Log()->toPlainText() + QLatin1Char('\n'));

    const TBuffer trace = saveThrough("SaveTrace1", "write.pcap");
    QVERIFY(trace.size() > 24);
    const TBuffer magic = {0xD4, 0xC3, 0xB2, 0xA1};  // pcap, written little-endian
    QCOMPARE(TBuffer(trace.begin(), trace.begin() + 4), magic);
    // Every frame the car received is in it, in order.
    auto from = trace.begin();
    for (const TReceivedFrame& frame : car->ReceivedFrames()) {
      const auto at = std::search(from, trace.end(), frame.raw.begin(), frame.raw.end());
      QVERIFY(at != trace.end());
      from = at + static_cast<std::ptrdiff_t>(frame.raw.size());
    }
  }

  void aRefusingHeadUnitEndsTheBlockWithError() {
    TCarSimFaults refuse;
    refuse.nrc = {{0x31, 0x13}};
    SimulatedCar car(refuse);
    ShowFor(car);
    History().ReplaceAll({ExampleEntryBytes()});
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QCOMPARE(LogLines(),
             (QStringList{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Erasing current service history...",
                          "ERR: Head unit refused the erase request: 7F 31 13 (incorrectMessageLengthOrInvalidFormat)",
                          "ERR: The old service history was not erased, so nothing was written.", "", "[ ERROR ]", ""}));
  }

  // The last test of all: the program's exit reaches every later event loop of this process.
  void closingTheMainWindowDuringAWriteAsksAndYesEndsTheProgramAtOnce() {
    SimulatedCar car(SilentCar());
    ShowFor(car);
    History().ReplaceAll(SampleEntries());

    QElapsedTimer clock;
    qint64 yesAt = -1;
    QStringList asked;
    const auto closeAndAnswer = [&](QMessageBox::StandardButton answer) {
      WhenModal(
          [&, answer](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            asked << box->text();
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            QCOMPARE(box->icon(), QMessageBox::Question);
            if (answer == QMessageBox::Yes) yesAt = clock.elapsed();
            QTest::mouseClick(box->button(answer), Qt::LeftButton);
          },
          10000, [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; });
      Main().close();
    };
    bool stillWritingAfterNo = false;
    QTimer::singleShot(500, this, [&] { closeAndAnswer(QMessageBox::No); });
    QTimer::singleShot(1500, this, [&] {
      stillWritingAfterNo = Main().isVisible() && StartButton()->text() == QStringLiteral("Stop");
      closeAndAnswer(QMessageBox::Yes);
    });
    // The program's own event loop: the exit ends it.
    QEventLoop programLoop;
    QTimer::singleShot(0, this, [this] { QTest::mouseClick(StartButton(), Qt::LeftButton); });
    clock.start();
    programLoop.exec();
    const qint64 endedAt = clock.elapsed();

    QCOMPARE(asked, QStringList(2, QStringLiteral("A write to the car is running. Stop it and quit?")));
    QVERIFY(stillWritingAfterNo);
    QVERIFY(yesAt >= 0);
    qInfo("the program's loop ended %lld ms after \"Yes\"", endedAt - yesAt);
    QVERIFY2(endedAt - yesAt < 1000, qPrintable(QString::number(endedAt - yesAt)));
    QCOMPARE(LogLines().mid(LogLines().size() - 6),
             (QStringList{"ERR: No answer to the erase request (stopped by the user)",
                          "ERR: Stopped by the user before entry 1 of 9.",
                          "ERR: The erase got no answer: the head unit holds its old history, or nothing if it erased it; "
                          "nothing of the list was written.",
                          "", "[ ERROR ]", ""}));
  }
};

TARVELO_QT_TEST_MAIN(TestConnect)
#include "ui_connect_test.moc"
