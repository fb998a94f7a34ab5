// "DETECT" in the ENET window, as real widgets. main() first enters a private network namespace
// (unshare, loopback up), so that the broadcasts stay inside it.
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <thread>

#include "history/TarveloError.h"
#include "tests/TestEntries.h"
#include "tests/support/NetworkNamespace.h"
#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "tools/carsim/SocketIo.h"
#include "ui/Connect.h"
#include "ui/uMain.h"

namespace {

std::unique_ptr<TCarSim> Gateway(const std::string& vin, int tcpPort = 0) {
  TCarSimOptions options;
  options.bind = "0.0.0.0";
  options.tcpPort = static_cast<uint16_t>(tcpPort);
  options.udpPort = kDiscoveryPort;
  options.vin = vin;
  auto sim = std::make_unique<TCarSim>(options);
  sim->Start();
  return sim;
}

// A device on port 6811 that hears the requests and answers only when told to.
class QuietDevice {
 public:
  QuietDevice() {
    fd_ = OpenSocket(SOCK_DGRAM);
    const int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(kDiscoveryPort);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
  }
  ~QuietDevice() { CloseSocketHandle(fd_); }
  // Waits for one request; returns the sender, or nothing after waitMs (a second unless told).
  std::optional<sockaddr_in> Hear(int waitMs = 1000) {
    TSocketPoll p{fd_, POLLIN, 0};
    if (PollSockets(&p, 1, waitMs) <= 0) return std::nullopt;
    char data[64];
    sockaddr_in from{};
    socklen_t length = sizeof from;
    if (recvfrom(fd_, data, sizeof data, 0, reinterpret_cast<sockaddr*>(&from), &length) != 6) return std::nullopt;
    return from;
  }
  void Answer(const sockaddr_in& to, const std::string& text) {
    const std::string datagram = std::string("\0\0\0\0\0\x11", 6) + text;
    sendto(fd_, datagram.data(), static_cast<int>(datagram.size()), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }

 private:
  TSocketHandle fd_;
};

const QStringList kFound = {"Auto detecting...", "", "Found WBA8E9C57GK123456", "* IP: 127.0.0.1", ""};

}  // namespace

class TestDetect : public TProgramWindowsTest {
  Q_OBJECT

  QLineEdit* Address() { return Find<QLineEdit>(Connect(), "edtGWIP"); }
  QStringList LogLines() { return Find<QPlainTextEdit>(Connect(), "mmoENET")->toPlainText().split(QLatin1Char('\n')); }
  void Detect() { QTest::mouseClick(Find<QPushButton>(Connect(), "btnDetect"), Qt::LeftButton); }
  void Start() { QTest::mouseClick(Find<QPushButton>(Connect(), "btnStart"), Qt::LeftButton); }

  // The windows again, with changed options, and the ENET window shown.
  void RestartWith(const std::function<void(TAppOptions&)>& change) {
    TAppOptions options = NetworkTestOptions();
    change(options);
    Restart(options);
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
  }

  void InitTest() override {
    if (!InPrivateNetworkNamespace()) QSKIP(qPrintable("needs a private network namespace: " + QString::fromStdString(PrivateNetworkNamespaceProblem())));
    Restart(NetworkTestOptions());
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
  }

 private slots:

  void detectFillsTheAddressAndTheLog() {
    auto gateway = Gateway("WBA8E9C57GK123456");
    Address()->setText(QStringLiteral("typed by hand"));
    Start();  // an empty list: a block in the log, no connection
    QVERIFY(LogLines().contains(QStringLiteral("[ BEGIN ]")));
    Detect();
    QCOMPARE(Address()->text(), QString());
    QCOMPARE(LogLines(), (QStringList{"Auto detecting...", ""}));
    QTRY_COMPARE(Address()->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(LogLines(), kFound);
  }

  // The service book prints the VIN that "DETECT" found.
  void theServiceBookPrintsTheVinDetectFound() {
    auto gateway = Gateway("WBA8E9C57GK123456");
    Detect();
    QTRY_COMPARE(LogLines(), kFound);
    History().ReplaceAll({ExampleEntryBytes()});
    const QString book = QString::fromStdString(Dir().File("book.pdf"));
    WhenModal([book](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      dialog->selectNameFilter(QStringLiteral("PDF service book (*.pdf)"));
      AcceptFileDialog(dialog, book);
    });
    ClickHeaderSection(Main(), THeaderSection::SaveAs);
    const TPdfText read = ReadPdfText(book);
    if (!read.whyNot.isEmpty()) QSKIP(qPrintable(read.whyNot));
    QVERIFY(read.words.contains(QStringLiteral("WBA8E9C57GK123456")));
  }

  void aSecondGatewaysAnswerHasNoEffect() {
    auto first = Gateway("WBA8E9C57GK123456");
    QuietDevice late;
    Detect();
    QTRY_COMPARE(LogLines(), kFound);
    const std::optional<sockaddr_in> requester = late.Hear();
    QVERIFY(requester);
    late.Answer(*requester, "DIAGADR10BMWVINWBALATEANSWER00001");
    QTest::qWait(200);
    QCOMPARE(LogLines(), kFound);
    QCOMPARE(Address()->text(), QStringLiteral("127.0.0.1"));
  }

  void detectTwiceWithoutAnswerKeepsOnePortAndSendsTwice() {
    QuietDevice device;
    Detect();
    const std::optional<sockaddr_in> first = device.Hear();
    QVERIFY(first);
    Detect();
    const std::optional<sockaddr_in> second = device.Hear();
    QVERIFY(second);
    QCOMPARE(ntohs(second->sin_port), ntohs(first->sin_port));  // the same open port sent both
    QCOMPARE(LogLines(), (QStringList{"Auto detecting...", ""}));
    // Non-matching answers leave no trace; a later gateway answer is still taken.
    device.Answer(*second, "DIAGADR40BMWVINWBANOTAGATEWAY0001");
    device.Answer(*second, "DIAGADR10BMWVINWBA8E9C57GK123456");
    QTRY_COMPARE(LogLines(), kFound);
  }

  void detectClosesAnOpenDiagnosticConnection() {
    SimulatedCar car;
    RestartWith([&](TAppOptions& options) { options.connect.gatewayPort = car.Port(); });
    History().ReplaceAll({ExampleEntryBytes()});
    Address()->setText(QStringLiteral("127.0.0.1"));
    Start();
    QVERIFY(LogLines().contains(QStringLiteral("[ COMPLETE ]")));
    QCOMPARE(car->OpenConnections(), 1);  // a write leaves its connection open
    Detect();
    QTRY_COMPARE(car->OpenConnections(), 0);
  }

  void anAnswerWhileTheWindowIsHiddenStillArrives() {
    QuietDevice device;
    Detect();
    const std::optional<sockaddr_in> requester = device.Hear();
    QVERIFY(requester);
    QTest::mouseClick(Find<QPushButton>(Connect(), "btnClose"), Qt::LeftButton);
    QVERIFY(!Connect().isVisible());
    device.Answer(*requester, "DIAGADR10BMWVINWBA8E9C57GK123456");
    QTRY_COMPARE(Address()->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(LogLines(), kFound);
  }

  void anAnswerArrivesInsideTheResponsePendingWait() {
    TCarSimFaults pending;
    pending.pending = 1;
    SimulatedCar car(pending);
    RestartWith([&](TAppOptions& options) { options.connect.gatewayPort = car.Port(); });
    History().ReplaceAll({ExampleEntryBytes()});
    QuietDevice device;
    Detect();
    const std::optional<sockaddr_in> requester = device.Hear();
    QVERIFY(requester);
    Address()->setText(QStringLiteral("127.0.0.1"));
    Find<QCheckBox>(Connect(), "chkErase")->setChecked(false);
    std::thread answer([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(400));
      device.Answer(*requester, "DIAGADR10BMWVINWBA8E9C57GK123456");
    });
    Start();
    answer.join();
    const QStringList lines = LogLines();
    QVERIFY2(lines.contains(QStringLiteral("Found WBA8E9C57GK123456")), qPrintable(lines.join('|')));
    QVERIFY(lines.indexOf(QStringLiteral("Found WBA8E9C57GK123456")) < lines.indexOf(QStringLiteral("[ COMPLETE ]")));
    QCOMPARE(car->History(), THistoryList{ExampleEntryBytes()});  // the write went on undisturbed
  }

  void aFailingSendGoesToTheErrorReportAndThePortStaysOpen() {
    QuietDevice device;
    RestartWith([](TAppOptions& options) {
      options.connect.interfaces = [](tNetworkInterfaceList& list) {
        tNetworkInterface loopback, unreachable, loopbackAgain;
        loopback.AddrDirectedBroadcast = "127.255.255.255";
        unreachable.AddrDirectedBroadcast = "10.9.8.255";
        loopbackAgain.AddrDirectedBroadcast = "127.0.0.1";
        list = {loopback, unreachable, loopbackAgain};
        return true;
      };
    });
    QString shown;
    WhenMessageBox([&](QMessageBox* box) { shown = box->text(); });
    Detect();
#ifdef _WIN32
    QCOMPARE(shown, QString::fromStdString(ErrorReportText("Cannot send to 10.9.8.255:6811. " + SocketErrorText(WSAENETUNREACH))));
#else
    QCOMPARE(shown, QStringLiteral("Cannot send to 10.9.8.255:6811. Network is unreachable."));
#endif
    QCOMPARE(LogLines(), (QStringList{"Auto detecting...", ""}));
    QCOMPARE(Address()->text(), QString());
    const std::optional<sockaddr_in> requester = device.Hear();
    QVERIFY(requester);
    QVERIFY(!device.Hear());  // the interface after the failing one got no request
    // The port stays open and watched: the gateway's answer still arrives.
    device.Answer(*requester, "DIAGADR10BMWVINWBA8E9C57GK123456");
    QTRY_COMPARE(LogLines(), kFound);
  }

  // A car switched on a while after the click: "DETECT" keeps asking, says once that nothing has
  // answered yet, and takes the gateway's answer when it comes.
  void detectKeepsAskingUntilAGatewayAnswers() {
    RestartWith([](TAppOptions& options) {
      options.connect.detectRepeat = std::chrono::milliseconds(100);
      options.connect.detectHintAfter = std::chrono::milliseconds(300);
    });
    const QString hint = QString::fromLatin1(kNoGatewayYet.data(), static_cast<qsizetype>(kNoGatewayYet.size()));
    Detect();
    QTRY_COMPARE(LogLines(), (QStringList{"Auto detecting...", "", hint, ""}));
    {
      QuietDevice device;  // the requests go on (heard while the window's loop runs)
      int heard = 0;
      QTRY_VERIFY((heard += device.Hear(0) ? 1 : 0) >= 2);
    }
    auto gateway = Gateway("WBA8E9C57GK123456");
    QTRY_COMPARE(Address()->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(LogLines(), (QStringList{"Auto detecting...", "", hint, "", "Found WBA8E9C57GK123456", "* IP: 127.0.0.1", ""}));
    // Found: no more requests.
    const int heard = gateway->IdentificationRequests();
    QTest::qWait(400);
    QCOMPARE(gateway->IdentificationRequests(), heard);
    QCOMPARE(LogLines().count(hint), 1);

    // A second "DETECT" starts afresh: the hint again only after its own wait.
    gateway.reset();
    Detect();
    QCOMPARE(LogLines(), (QStringList{"Auto detecting...", ""}));
    QTRY_COMPARE(LogLines(), (QStringList{"Auto detecting...", "", hint, ""}));
  }

  // A send that fails is reported once: the repeats do not report it again and again.
  void aFailingRepeatIsReportedOnce() {
    int calls = 0;
    RestartWith([&calls](TAppOptions& options) {
      options.connect.detectRepeat = std::chrono::milliseconds(50);
      options.connect.interfaces = [&calls](tNetworkInterfaceList& list) {
        tNetworkInterface i;
        i.AddrDirectedBroadcast = ++calls == 1 ? "127.255.255.255" : "10.9.8.255";
        list = {i};
        return true;
      };
    });
    int reports = 0;
    WhenMessageBox([&](QMessageBox*) { ++reports; });
    Detect();
    QTRY_COMPARE(reports, 1);
    WhenMessageBox([&](QMessageBox*) { ++reports; }, 300);  // a second one would be counted, and closed
    QTest::qWait(400);
    CancelModalWatchers();
    QCOMPARE(reports, 1);
    QCOMPARE(calls, 2);
  }

  void noInterfacesSendNothing() {
    QuietDevice device;
    RestartWith([](TAppOptions& options) {
      options.connect.interfaces = [](tNetworkInterfaceList& list) {
        list.clear();
        return false;
      };
    });
    Detect();
    QVERIFY(!device.Hear());
    QCOMPARE(LogLines(), (QStringList{"Auto detecting...", ""}));
  }
};

int main(int argc, char** argv) {
  StartSocketLibrary();
  std::string why;
  EnterPrivateNetworkNamespace(&why);
  UseDesktopSizedOffscreenScreen();
  TTarveloApplication app(argc, argv);
  TestDetect test;
  return QTest::qExec(&test, argc, argv);
}

#include "ui_detect_test.moc"
