// The desktop program against faults: a car that keeps saying "response pending", a storm of
// datagrams during "DETECT", and a disk that is full, read-only or busy, files that vanish, turn
// into directories or hold 100 MB of noise. main() first enters a private network namespace and a
// private mount namespace, so that broadcasts stay inside and the test can mount small, read-only
// and busy file systems without touching the machine.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <fstream>
#include <random>
#include <thread>

#include "history/HistoryFile.h"
#include "tests/TestEntries.h"
#include "tests/support/NetworkNamespace.h"
#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/Sandbox.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "tools/carsim/SocketIo.h"
#include "ui/Connect.h"
#include "ui/uMain.h"

// The test function can only run in a private mount namespace: skip it otherwise. (A macro, as
// QSKIP ends the function it is written in.)
#define REQUIRE_MOUNTS()                                                                                      \
  do {                                                                                                        \
    if (!gMountNamespace) QSKIP(qPrintable("needs a private mount namespace: " + QString::fromStdString(gMountProblem))); \
  } while (0)

namespace {

bool gMountNamespace = false;
std::string gMountProblem;

#ifdef _WIN32

// The working set of this process, in bytes, and its peak.
PROCESS_MEMORY_COUNTERS MemoryCounters() {
  PROCESS_MEMORY_COUNTERS counters{};
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}

long long ResidentBytes() { return static_cast<long long>(MemoryCounters().WorkingSetSize); }

long long PeakResidentBytes() { return static_cast<long long>(MemoryCounters().PeakWorkingSetSize); }

#else

// The resident memory of this process, in bytes.
long long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<long long>(resident) * sysconf(_SC_PAGESIZE);
}

long long PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024LL;
}

#endif

}  // namespace

class TestFaults : public TProgramWindowsTest {
  Q_OBJECT


  QString Status() { return Find<QLabel>(Main(), "stat1")->text(); }
  QLineEdit* Address() { return Find<QLineEdit>(Connect(), "edtGWIP"); }
  QPushButton* StartButton() { return Find<QPushButton>(Connect(), "btnStart"); }
  QStringList LogLines() { return Find<QPlainTextEdit>(Connect(), "mmoENET")->toPlainText().split(QLatin1Char('\n')); }

  // The windows again, pointed at the simulated car; the ENET window shown with its address.
  void ShowFor(SimulatedCar& car) {
    TAppOptions options = TestOptions();
    options.connect.gatewayPort = car.Port();
    Restart(options);
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    Address()->setText(QStringLiteral("127.0.0.1"));
  }

  // "Save As" into path through the real dialog; returns the error report's text, if any.
  QString SaveAs(const QString& path) {
    auto shown = std::make_shared<QString>();
    WhenModal([path, shown](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      WhenMessageBox([shown](QMessageBox* box) { *shown = box->text(); });
      AcceptFileDialog(dialog, path);
    });
    ClickHeaderSection(Main(), THeaderSection::SaveAs);
    return *shown;
  }

  // "Open" of path through the real dialog; before the file is read, `meanwhile` may change it.
  QString Open(const QString& path, std::function<void()> meanwhile = {}) {
    auto shown = std::make_shared<QString>();
    WhenModal([path, shown, meanwhile](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      if (meanwhile) connect(dialog, &QDialog::accepted, meanwhile);
      WhenMessageBox([shown](QMessageBox* box) { *shown = box->text(); });
      AcceptFileDialog(dialog, path);
    });
    ClickHeaderSection(Main(), THeaderSection::Open);
    return *shown;
  }

  QString File(const std::string& name) const { return QString::fromStdString(Dir().File(name)); }


 private slots:
  // --- The car ---

  void endlessResponsePendingKeepsTheWindowsAliveAndStopEndsIt() {
    TCarSimFaults endless;
    endless.pending = kEndlessPending;
    endless.pendingIntervalMs = 200;
    SimulatedCar car(endless);
    ShowFor(car);
    History().ReplaceAll({ExampleEntryBytes()});
    Find<QCheckBox>(Connect(), "chkErase")->setChecked(false);

    // Window events keep running while the exchange waits; after a few rounds of waiting the user
    // presses "Stop".
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(50);
    connect(&ticker, &QTimer::timeout, [&] {
      if (++ticks == 50) QTest::mouseClick(StartButton(), Qt::LeftButton);
    });
    ticker.start();
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    ticker.stop();
    QVERIFY2(ticks >= 50, qPrintable(QString::number(ticks)));
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Writing new service history...",
                                      "ERR: No answer to entry 1 of 1 (stopped by the user)",
                                      "ERR: Stopped by the user before the reset request.",
                                      "ERR: The head unit holds its old history and no entry of the list; entry 1 got no "
                                      "answer or an unexpected one, so it may be there too.",
                                      "", "[ ERROR ]", ""}));
    QCOMPARE(StartButton()->text(), QStringLiteral("Start"));
    QTRY_COMPARE(car->OpenConnections(), 0);  // the exchange was given up with its connection

    car->SetFaults({});  // the car comes to its senses: the next write goes through
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QVERIFY(LogLines().mid(9).contains(QStringLiteral("[ COMPLETE ]")));
  }

  // A gateway address where nobody answers: the system would try to connect for minutes. Inside the
  // private network namespace a veth pair carries the attempt to a hardware address nobody has.
  void aConnectThatNeverEndsCanBeStopped() {
    if (!InPrivateNetworkNamespace()) QSKIP(qPrintable("needs a private network namespace: " + QString::fromStdString(PrivateNetworkNamespaceProblem())));
#ifdef _WIN32
    QSKIP("needs a veth pair made with the Linux ip command, which a Windows program cannot run");
#endif
    QVERIFY(RunIp("link add tarvelo-bh0 type veth peer name tarvelo-bh1"));
    QVERIFY(RunIp("addr add 10.99.0.1/24 dev tarvelo-bh0"));
    QVERIFY(RunIp("link set tarvelo-bh0 up"));
    QVERIFY(RunIp("link set tarvelo-bh1 up"));
    QVERIFY(RunIp("neigh add 10.99.0.2 lladdr 02:00:00:00:00:02 dev tarvelo-bh0 nud permanent"));
    History().ReplaceAll({ExampleEntryBytes()});
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    Address()->setText(QStringLiteral("10.99.0.2"));
    QElapsedTimer clock;
    QTimer::singleShot(1000, this, [this] { QTest::mouseClick(StartButton(), Qt::LeftButton); });
    clock.start();
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(LogLines(), (QStringList{"[ BEGIN ]", "", "ERR: Stopped by the user while connecting to 10.99.0.2.", "",
                                      "[ ERROR ]", ""}));
    RunIp("link del tarvelo-bh0");
  }

  void aStormOfDatagramsDoesNotDrownDetect() {
    if (!InPrivateNetworkNamespace()) QSKIP(qPrintable("needs a private network namespace: " + QString::fromStdString(PrivateNetworkNamespaceProblem())));
    // The window's discovery port is where its request comes from: a listener on 6811 hears it.
    const TSocketHandle listener = OpenSocket(SOCK_DGRAM);
    sockaddr_in here{};
    here.sin_family = AF_INET;
    here.sin_port = htons(kDiscoveryPort);
    QCOMPARE(bind(listener, reinterpret_cast<sockaddr*>(&here), sizeof here), 0);
    Restart(NetworkTestOptions());
    ClickHeaderSection(Main(), THeaderSection::WriteToCar);
    QTest::mouseClick(Find<QPushButton>(Connect(), "btnDetect"), Qt::LeftButton);
    TSocketPoll heard{listener, POLLIN, 0};
    QVERIFY(PollSockets(&heard, 1, 5000) == 1);
    char request[16];
    sockaddr_in requester{};
    socklen_t length = sizeof requester;
    QCOMPARE(static_cast<int>(recvfrom(listener, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&requester), &length)), 6);
    CloseSocketHandle(listener);
    const int port = ntohs(requester.sin_port);

    std::atomic<bool> accepted{false};
    std::thread storm([&] {
      const TSocketHandle s = OpenSocket(SOCK_DGRAM);
      sockaddr_in to{};
      to.sin_family = AF_INET;
      to.sin_port = htons(static_cast<uint16_t>(port));
      to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      const std::string noise = std::string("\0\0\0\0\0\x11", 6) + "DIAGADR40BMWVINNOTTHEGATEWAY00000";
      for (int i = 0; i < 10000; ++i) {
        sendto(s, noise.data(), static_cast<int>(noise.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
      }
      // A loaded socket may drop datagrams: the gateway repeats its answer until it is taken.
      const std::string answer = std::string("\0\0\0\0\0\x11", 6) + "DIAGADR10BMWVINWBASTORMSURVIVED1";
      for (int i = 0; i < 400 && !accepted; ++i) {
        sendto(s, answer.data(), static_cast<int>(answer.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
      }
      CloseSocketHandle(s);
    });
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(20);
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start();
    QElapsedTimer took;
    took.start();
    const bool found = QTest::qWaitFor([&] { return Address()->text() == QStringLiteral("127.0.0.1"); }, 20000);
    qInfo("storm: found after %lld ms, %d ticks", took.elapsed(), ticks);
    accepted = true;
    storm.join();
    QVERIFY(found);
    QVERIFY(ticks > 0);  // the window went on with its other events
    QCOMPARE(LogLines(), (QStringList{"Auto detecting...", "", "Found WBASTORMSURVIVED1", "* IP: 127.0.0.1", ""}));
  }

  // --- The disk ---

  void savingIntoAFullFileSystemKeepsTheOldFile() {
    REQUIRE_MOUNTS();
    QCOMPARE(QString::fromStdString(MountSmallFileSystem(Dir().Path().string(), 64 * 1024)), QString());
    const QString path = File("history.kelta");
    WriteBytes(path.toStdString(), ExampleEntryBytes());
    const THistoryList big(200, EntryWithProcedures(255));  // about 400 KB
    History().ReplaceAll(big);
    QCOMPARE(SaveAs(path), QStringLiteral("Cannot create file \"") + path + QStringLiteral("\". No space left on device."));
    QCOMPARE(ReadBytes(path.toStdString()), ExampleEntryBytes());
    QCOMPARE(History().SHRecord(), big);
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(Dir().Path()), {}), 1);
    Unmount(Dir().Path().string());
  }

  void savingIntoAReadOnlyDirectoryKeepsTheOldFile() {
    REQUIRE_MOUNTS();
    const QString path = File("history.kelta");
    WriteBytes(path.toStdString(), ExampleEntryBytes());
    QCOMPARE(QString::fromStdString(MountReadOnly(Dir().Path().string())), QString());
    History().ReplaceAll({EntryWithProcedures(3)});
    QCOMPARE(SaveAs(path), QStringLiteral("Cannot create file \"") + path + QStringLiteral("\". Read-only file system."));
    QCOMPARE(ReadBytes(path.toStdString()), ExampleEntryBytes());
    QCOMPARE(History().SHRecord(), THistoryList{EntryWithProcedures(3)});
    Unmount(Dir().Path().string());
  }

  void savingOverABusyFileKeepsTheOldFile() {
#ifdef _WIN32
    // A file another program holds open without sharing it cannot be replaced on Windows.
    const QString path = File("history.kelta");
    WriteBytes(path.toStdString(), ExampleEntryBytes());
    HANDLE held = CreateFileW(path.toStdWString().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(held != INVALID_HANDLE_VALUE);
    History().ReplaceAll({EntryWithProcedures(3)});
    const QString shown = SaveAs(path);
    CloseHandle(held);
    const QString prefix = QStringLiteral("Cannot create file \"") + path + QStringLiteral("\". ");
    QVERIFY2(shown.startsWith(prefix) && shown.size() > prefix.size() + 1, qPrintable(shown));
    QCOMPARE(ReadBytes(path.toStdString()), ExampleEntryBytes());
    QCOMPARE(History().SHRecord(), THistoryList{EntryWithProcedures(3)});
    QCOMPARE(std::distance(std::filesystem::directory_iterator(Dir().Path()), {}), 1);  // no temporary file left
#else
    REQUIRE_MOUNTS();
    // A file that is in use as a mount point cannot be replaced (on Windows, a file another
    // program holds open behaves the same way).
    TempDir elsewhere;
    const std::string busy = elsewhere.File("in-use.kelta");
    WriteBytes(busy, ExampleEntryBytes());
    const QString path = File("history.kelta");
    WriteBytes(path.toStdString(), ExampleEntryBytes());
    QCOMPARE(QString::fromStdString(BindFileOver(busy, path.toStdString())), QString());
    History().ReplaceAll({EntryWithProcedures(3)});
    QCOMPARE(SaveAs(path), QStringLiteral("Cannot create file \"") + path + QStringLiteral("\". Device or resource busy."));
    Unmount(path.toStdString());
    QCOMPARE(ReadBytes(path.toStdString()), ExampleEntryBytes());
    QCOMPARE(History().SHRecord(), THistoryList{EntryWithProcedures(3)});
#endif
  }

  void savingOverAFileAnotherProcessReadsLeavesItsCopyWhole() {
    const QString path = File("history.kelta");
    const TBuffer old = JoinHistory({ExampleEntryBytes(), EntryWithProcedures(2)});
    WriteBytes(path.toStdString(), old);
#ifdef _WIN32
    // Another program has the file open, as Windows programs open files for reading (others may
    // read and write it too), and reads it after Tarvelo saved.
    HANDLE held = CreateFileW(path.toStdWString().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(held != INVALID_HANDLE_VALUE);
    History().ReplaceAll({EntryWithProcedures(5)});
    const QString shown = SaveAs(path);
    std::string seen(1 << 16, '\0');
    DWORD got = 0;
    ReadFile(held, seen.data(), static_cast<DWORD>(seen.size()), &got, nullptr);
    seen.resize(got);
    CloseHandle(held);
    // Either the save took the file's place and the reader still has the old one whole, or the
    // save failed and left the old file alone: never a torn mixture of old and new.
    if (shown.isEmpty()) {
      QCOMPARE(ReadBytes(path.toStdString()), EntryWithProcedures(5));
    } else {
      QVERIFY2(shown.startsWith(QStringLiteral("Cannot create file \"") + path), qPrintable(shown));
      QCOMPARE(ReadBytes(path.toStdString()), old);
    }
    QCOMPARE(TBuffer(seen.begin(), seen.end()), old);
    qInfo("saving over a file that another program reads: %s", shown.isEmpty() ? "saved" : qPrintable(shown));
#else
    int go[2], result[2];
    QCOMPARE(pipe(go), 0);
    QCOMPARE(pipe(result), 0);
    const pid_t reader = fork();
    QVERIFY(reader >= 0);
    if (reader == 0) {
      // Another program has the file open, and reads it after Tarvelo saved.
      std::ifstream held(path.toStdString(), std::ios::binary);
      char signal;
      (void)!read(go[0], &signal, 1);
      const std::string bytes((std::istreambuf_iterator<char>(held)), std::istreambuf_iterator<char>());
      (void)!write(result[1], bytes.data(), bytes.size());
      _exit(0);
    }
    QTest::qWait(100);  // the reader opens the file first
    History().ReplaceAll({EntryWithProcedures(5)});
    QCOMPARE(SaveAs(path), QString());
    QCOMPARE(Status(), QStringLiteral("Status: File saved: ") + path);
    QCOMPARE(ReadBytes(path.toStdString()), EntryWithProcedures(5));
    (void)!write(go[1], "r", 1);
    close(result[1]);
    std::string seen;
    char buffer[4096];
    for (ssize_t n; (n = read(result[0], buffer, sizeof buffer)) > 0;) seen.append(buffer, static_cast<std::size_t>(n));
    waitpid(reader, nullptr, 0);
    QCOMPARE(TBuffer(seen.begin(), seen.end()), old);  // never a torn mixture of old and new
#endif
  }

  void openingAFileThatTurnsIntoADirectory() {
    const QString path = File("history.kelta");
    WriteBytes(path.toStdString(), ExampleEntryBytes());
    const QString shown = Open(path, [path] {
      QFile::remove(path);
      QDir().mkdir(path);
    });
#ifdef _WIN32
    // Windows refuses to open a folder as a file with "access denied".
    QCOMPARE(shown, QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". Permission denied."));
#else
    QCOMPARE(shown, QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". Is a directory."));
#endif
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QVERIFY(History().SHRecord().empty());
  }

  void openingAHundredMegabytesOfNoiseIsRefusedQuicklyInBoundedMemory() {
    const QString path = File("noise.kelta");
    {
      std::ofstream out(path.toStdString(), std::ios::binary);
      std::mt19937_64 random(1210);
      std::vector<uint64_t> block(1 << 16);
      for (int i = 0; i < 100 * 1024 * 1024 / static_cast<int>(block.size() * sizeof(uint64_t)); ++i) {
        for (uint64_t& word : block) word = random();
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * sizeof(uint64_t)));
      }
    }
    History().ReplaceAll({ExampleEntryBytes()});
    const long long before = ResidentBytes();
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Open(path), QString());
    const qint64 took = clock.elapsed();
    const long long grew = PeakResidentBytes() - before;
    QCOMPARE(Status(), QStringLiteral("Status: Invalid data: ") + path);
    QCOMPARE(History().SHRecord(), THistoryList{ExampleEntryBytes()});
    QVERIFY2(took < 10000, qPrintable(QString::number(took)));
    // The file is read once into memory (it stays there, as a rejected file's bytes do) and
    // walked without copies: no second 100 MB, let alone a copy per entry.
    QVERIFY2(grew < 180LL * 1024 * 1024, qPrintable(QString::number(grew / (1024 * 1024)) + " MB"));
    qInfo("100 MB of noise refused in %lld ms; the process grew by %lld MB at most", static_cast<long long>(took),
          grew / (1024 * 1024));
  }
};

int main(int argc, char** argv) {
  StartSocketLibrary();
  std::string why;
  EnterPrivateNetworkNamespace(&why);
  gMountProblem = EnterPrivateMountNamespace();
  gMountNamespace = gMountProblem.empty();
  UseDesktopSizedOffscreenScreen();
  TTarveloApplication app(argc, argv);
  TestFaults test;
  return QTest::qExec(&test, argc, argv);
}

#include "ui_faults_test.moc"
