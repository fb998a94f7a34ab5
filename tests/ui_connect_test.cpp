// The ENET connection window as a real widget, writing into the simulated car on loopback.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTreeView>
#include <QPushButton>

#include "Connect.h"
#include "ExpectedLogs.h"
#include "HexText.h"
#include "HistoryWriter.h"
#include "SimulatedCar.h"
#include "TempDir.h"
#include "TestEntries.h"
#include "UiTestSupport.h"

namespace {

QStringList LogLines() { return FConnect->mmoENET->toPlainText().split(QLatin1Char('\n')); }

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

class TestConnect : public QObject {
  Q_OBJECT

  void ShowFor(SimulatedCar& car) {
    ClickHeaderSection(THeaderSection::WriteToCar);
    QVERIFY(FConnect->isVisible());
    FConnect->GatewayPort = car->TcpPort();
    FConnect->edtGWIP->setText(QStringLiteral("127.0.0.1"));
  }

 private slots:
  void init() {
    CreateWindows();
    FMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(FMain));
  }

  void cleanup() {
    CancelModalWatchers();
    DestroyWindows();
  }

  void looksAsDescribed() {
    ClickHeaderSection(THeaderSection::WriteToCar);
    QCOMPARE(FConnect->windowTitle(), QStringLiteral("ENET Connection"));
    QVERIFY(FConnect->windowFlags() & Qt::Tool);
    QCOMPARE(FConnect->size(), QSize(337, 400));
    QCOMPARE(FConnect->minimumSize(), FConnect->maximumSize());
    QCOMPARE(FConnect->GroupBox1->geometry(), QRect(0, 0, 337, 41));
    QCOMPARE(FConnect->grp1->geometry(), QRect(0, 364, 337, 36));
    QCOMPARE(FConnect->GroupBox1->title(), QString());
    QCOMPARE(FConnect->edtGWIP->width(), 201);
    QCOMPARE(FConnect->edtGWIP->placeholderText(), QStringLiteral("CAR/ZGW/FEM/BDC IP"));
    QVERIFY(FConnect->edtGWIP->font().bold());
    QCOMPARE(FConnect->edtGWIP->maxLength(), 32767);  // no limit of our own
    QCOMPARE(FConnect->btnDetect->text(), QStringLiteral("DETECT"));
    QCOMPARE(FConnect->btnDetect->width(), 66);
    QVERIFY(FConnect->mmoENET->isReadOnly());
    QCOMPARE(FConnect->mmoENET->geometry(), QRect(0, 41, 337, 400 - 41 - 36));
    QCOMPARE(FConnect->btnStart->text(), QStringLiteral("Start"));
    QCOMPARE(FConnect->btnStart->width(), 75);
    QCOMPARE(FConnect->chkErase->text(), QStringLiteral("Erase old service data"));
    QVERIFY(FConnect->chkErase->isChecked());
    QCOMPARE(FConnect->btnClose->text(), QStringLiteral("Close"));
    QVERIFY(FConnect->btnStart->x() < FConnect->chkErase->x());
    QVERIFY(FConnect->chkErase->geometry().right() < FConnect->btnClose->x());
    QVERIFY(!FConnect->prgWrite->isVisible());
    const QList<QWidget*> order = {FConnect->mmoENET, FConnect->btnClose, FConnect->btnStart, FConnect->chkErase,
                                   FConnect->btnDetect, FConnect->edtGWIP};
    for (int i = 0; i + 1 < order.size(); ++i) {
      QWidget* next = order[i]->nextInFocusChain();
      while (next && (next->focusPolicy() == Qt::NoFocus || order[i]->isAncestorOf(next))) next = next->nextInFocusChain();
      QCOMPARE(next, order[i + 1]);
    }
  }

  void startWritesTheListIntoTheCar() {
    SimulatedCar car;
    FMain->SHRecord = ThreeEntries();
    ShowFor(car);
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QCOMPARE(LogLines(), CompleteBlock(true));
    QCOMPARE(car->History(), ThreeEntries());
    QCOMPARE(car->ReceivedFrames().front().uds, HexTextToBytes("3101A080"));
    QCOMPARE(FConnect->prgWrite->value(), 3);
    QVERIFY(FConnect->btnStart->isEnabled());
    QVERIFY(FConnect->btnDetect->isEnabled());
    QVERIFY(!FConnect->prgWrite->isVisible());

    // A second press adds a second block.
    FConnect->chkErase->setChecked(false);
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QCOMPARE(LogLines(), CompleteBlock(true) + CompleteBlock(false));
    QCOMPARE(car->History().size(), std::size_t{6});
  }

  void emptyListAndEmptyAddress() {
    SimulatedCar car;
    ShowFor(car);
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "ERR: Service history list is empty!", "", "[ ERROR ]", ""}));
    FMain->SHRecord = ThreeEntries();
    FConnect->edtGWIP->clear();
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QCOMPARE(LogLines().mid(6),
             (QStringList{"[ BEGIN ]", "", "ERR: Could not connect to target: ", "", "[ ERROR ]", ""}));
    QCOMPARE(car->Connections(), 0);
  }

  void whileAWriteRunsStartReadsStopDetectIsDisabledAndTheWriteUsesItsCopy() {
    CarSimFaults pending;
    pending.pending = 1;  // each answer waits a second: window events run meanwhile
    SimulatedCar car(pending);
    FMain->SHRecord = ThreeEntries();
    FMain->RefreshList();
    ShowFor(car);
    FConnect->chkErase->setChecked(false);
    QString startText;
    bool startEnabled = false, detectEnabled = true, progressShown = false;
    QTimer::singleShot(300, [&] {
      startText = FConnect->btnStart->text();
      startEnabled = FConnect->btnStart->isEnabled();
      detectEnabled = FConnect->btnDetect->isEnabled();
      progressShown = FConnect->prgWrite->isVisible();
      // The user deletes every entry meanwhile; the running write keeps its own copy.
      while (!FMain->SHRecord.empty()) {
        QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, 0));
        FMain->Delete2->trigger();
      }
    });
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QCOMPARE(startText, QStringLiteral("Stop"));
    QVERIFY(startEnabled);
    QVERIFY(!detectEnabled);
    QVERIFY(progressShown);
    QVERIFY(FMain->SHRecord.empty());
    QCOMPARE(FConnect->btnStart->text(), QStringLiteral("Start"));
    QVERIFY(FConnect->btnDetect->isEnabled());
    QCOMPARE(car->History(), ThreeEntries());
    QCOMPARE(LogLines().last(1), QStringList{""});
    QVERIFY(LogLines().contains(QStringLiteral("[ COMPLETE ]")));
  }

  // A car that never answers: the windows still take every click at once, and "Stop" ends the
  // write before its next request.
  void clicksAreTakenAtOnceWhileTheCarIsSilentAndStopEndsTheWrite() {
    CarSimFaults silent;
    silent.silent = true;
    SimulatedCar car(silent);
    FMain->SHRecord = SampleEntries();
    FMain->RefreshList();
    ShowFor(car);

    // Every 50 ms a click on another row of the entries list, delivered as the window system
    // delivers it; the time until the selection shows it is how long the click was held back.
    QElapsedTimer clock;
    qint64 clickedAt = -1;
    qint64 longestWait = 0;
    int clicks = 0;
    connect(FMain->lv1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [&] {
      if (clickedAt >= 0) longestWait = std::max(longestWait, clock.elapsed() - clickedAt);
      clickedAt = -1;
    });
    QTimer clicker;
    clicker.setInterval(50);
    connect(&clicker, &QTimer::timeout, this, [&] {
      if (clickedAt >= 0) return;  // the last click is still waiting
      const int row = ++clicks % 9;
      const QPoint at = RowCenter(FMain->lv1, row);
      for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(FMain->lv1->viewport(),
                                    new QMouseEvent(type, at, FMain->lv1->viewport()->mapToGlobal(at), Qt::LeftButton,
                                                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                    Qt::NoModifier));
      }
      clickedAt = clock.elapsed();
    });
    // After two seconds of the car's silence, the user presses "Stop".
    QTimer::singleShot(2000, this, [] { QTest::mouseClick(FConnect->btnStart, Qt::LeftButton); });
    clock.start();
    clicker.start();
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    const qint64 stoppedAfter = clock.elapsed();
    clicker.stop();

    qInfo("%d clicks during the write; the longest waited %lld ms", clicks, longestWait);
    QVERIFY(clicks >= 10);
    QVERIFY2(longestWait < 500, qPrintable(QString::number(longestWait)));  // 100 ms wanted; generous for a loaded machine
    QVERIFY2(stoppedAfter < 4500, qPrintable(QString::number(stoppedAfter)));  // well before the car's 5 s time-out
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Erasing current service history...",
                                      "ERR: No answer to the erase request (stopped by the user)",
                                      "ERR: Stopped by the user before entry 1 of 9.", "", "[ ERROR ]", ""}));
    QCOMPARE(FConnect->btnStart->text(), QStringLiteral("Start"));
    QVERIFY(FConnect->btnDetect->isEnabled());
    QCOMPARE(car->ReceivedRequests().size(), std::size_t{1});
  }

  void stopInTheMiddleOfAWriteEndsItBeforeTheNextEntry() {
    SimulatedCar car;
    FMain->SHRecord = SampleEntries();
    ShowFor(car);
    // The user presses "Stop" as the bar shows the third entry written.
    const QMetaObject::Connection pressStop =
        connect(FConnect->prgWrite, &QProgressBar::valueChanged, this, [](int written) {
          if (written == 3) QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
        });
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    disconnect(pressStop);
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Erasing current service history...",
                                      "- Writing new service history...", "ERR: Stopped by the user before entry 4 of 9.",
                                      "", "[ ERROR ]", ""}));
    const THistoryList sample = SampleEntries();
    QCOMPARE(car->History(), THistoryList(sample.begin(), sample.begin() + 3));

    // "Start" reads "Start" again, and a new write goes through.
    QCOMPARE(FConnect->btnStart->text(), QStringLiteral("Start"));
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QCOMPARE(LogLines().mid(9), CompleteBlock(true));
    QCOMPARE(car->History(), sample);
  }

  void closeAndReopenKeepLogAndAddress() {
    SimulatedCar car;
    FMain->SHRecord = ThreeEntries();
    ShowFor(car);
    FConnect->chkErase->setChecked(false);
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    const QString log = FConnect->mmoENET->toPlainText();
    QTest::mouseClick(FConnect->btnClose, Qt::LeftButton);
    QVERIFY(!FConnect->isVisible());
    ClickHeaderSection(THeaderSection::WriteToCar);
    QVERIFY(FConnect->isVisible());
    QCOMPARE(FConnect->mmoENET->toPlainText(), log);
    QCOMPARE(FConnect->edtGWIP->text(), QStringLiteral("127.0.0.1"));
    QVERIFY(!FConnect->chkErase->isChecked());
  }

  void screenshot() {
    const QByteArray folder = qgetenv("TARVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TARVELO_SCREENSHOT_DIR to a folder to take the README's screenshots");
    SimulatedCar car;
    FMain->SHRecord = SampleEntries();
    ShowFor(car);
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QVERIFY(LogLines().contains(QStringLiteral("[ COMPLETE ]")));
    QVERIFY(FConnect->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/enet-connection.png")));
  }

  void aRefusingHeadUnitEndsTheBlockWithError() {
    CarSimFaults refuse;
    refuse.nrc = {{0x31, 0x13}};
    SimulatedCar car(refuse);
    FMain->SHRecord = {ExampleEntryBytes()};
    ShowFor(car);
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QCOMPARE(LogLines(),
             (QStringList{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Erasing current service history...",
                          "ERR: Head unit refused the erase request: 7F 31 13 (incorrectMessageLengthOrInvalidFormat)",
                          "- Writing new service history...",
                          "ERR: Head unit refused entry 1 of 1: 7F 31 13 (incorrectMessageLengthOrInvalidFormat)",
                          "- Finished writing, restarting Headunit...", "", "[ ERROR ]", ""}));
  }

  // The last test of all: the program's exit reaches every later event loop of this process.
  void closingTheMainWindowDuringAWriteAsksAndYesEndsTheProgramAtOnce() {
    CarSimFaults silent;
    silent.silent = true;
    SimulatedCar car(silent);
    FMain->SHRecord = SampleEntries();
    ShowFor(car);

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
      FMain->close();
    };
    bool stillWritingAfterNo = false;
    QTimer::singleShot(500, this, [&] { closeAndAnswer(QMessageBox::No); });
    QTimer::singleShot(1500, this, [&] {
      stillWritingAfterNo = FMain->isVisible() && FConnect->btnStart->text() == QStringLiteral("Stop");
      closeAndAnswer(QMessageBox::Yes);
    });
    // The program's own event loop: the exit ends it.
    QEventLoop programLoop;
    QTimer::singleShot(0, this, [] { QTest::mouseClick(FConnect->btnStart, Qt::LeftButton); });
    clock.start();
    programLoop.exec();
    const qint64 endedAt = clock.elapsed();

    QCOMPARE(asked, QStringList(2, QStringLiteral("A write to the car is running. Stop it and quit?")));
    QVERIFY(stillWritingAfterNo);
    QVERIFY(yesAt >= 0);
    qInfo("the program's loop ended %lld ms after \"Yes\"", endedAt - yesAt);
    QVERIFY2(endedAt - yesAt < 1000, qPrintable(QString::number(endedAt - yesAt)));
    QCOMPARE(LogLines().mid(LogLines().size() - 5),
             (QStringList{"ERR: No answer to the erase request (stopped by the user)",
                          "ERR: Stopped by the user before entry 1 of 9.", "", "[ ERROR ]", ""}));
  }
};

TARVELO_QT_TEST_MAIN(TestConnect)
#include "ui_connect_test.moc"
