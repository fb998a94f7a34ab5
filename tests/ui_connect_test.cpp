// The ENET connection window as a real widget, writing into the simulated car on loopback.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
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
    QVERIFY(ClientSocket);
    QCOMPARE(Enet.PORT, 6801u);
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

  void buttonsAreDisabledWhileAWriteRunsAndTheWriteUsesItsCopy() {
    CarSimFaults pending;
    pending.pending = 1;  // each answer waits a second: window events run meanwhile
    SimulatedCar car(pending);
    FMain->SHRecord = ThreeEntries();
    FMain->RefreshList();
    ShowFor(car);
    FConnect->chkErase->setChecked(false);
    bool startEnabled = true, detectEnabled = true, progressShown = false;
    QTimer::singleShot(300, [&] {
      startEnabled = FConnect->btnStart->isEnabled();
      detectEnabled = FConnect->btnDetect->isEnabled();
      progressShown = FConnect->prgWrite->isVisible();
      // The user empties the list meanwhile; the running write keeps its own copy.
      FMain->SHRecord.clear();
      FMain->RefreshList();
    });
    QTest::mouseClick(FConnect->btnStart, Qt::LeftButton);
    QVERIFY(!startEnabled);
    QVERIFY(!detectEnabled);
    QVERIFY(progressShown);
    QVERIFY(FConnect->btnStart->isEnabled());
    QCOMPARE(car->History(), ThreeEntries());
    QCOMPARE(LogLines().last(1), QStringList{""});
    QVERIFY(LogLines().contains(QStringLiteral("[ COMPLETE ]")));
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
    const std::optional<THistoryList> sample = SplitHistory(ReadBytes(TARVELO_SOURCE_DIR "/examples/sample.kelta"));
    QVERIFY(sample);
    FMain->SHRecord = *sample;
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
};

TARVELO_QT_TEST_MAIN(TestConnect)
#include "ui_connect_test.moc"
