#include "ui/Connect.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QSocketNotifier>
#include <QTimer>

#include "enet/HistoryWriter.h"
#include "enet/SessionTrace.h"
#include "history/HistoryCheck.h"
#include "history/HistoryFile.h"
#include "ui/Command.h"
#include "ui/HistoryFiles.h"
#include "ui/HistoryModel.h"
#include "ui/LogText.h"
#include "ui/TarveloApplication.h"
#include "ui/UserText.h"
#include "ui/VisualStyle.h"
#include "ui/WindowPlacement.h"

namespace {

constexpr int kClientWidth = 337;
// The findings a question lists before it says how many more there are.
constexpr std::size_t kFindingsShown = 10;

QString FindingsQuestion(const std::vector<TFinding>& findings) {
  QString text = findings.size() == 1 ? TFConnect::tr("The history has 1 finding:\n")
                                      : TFConnect::tr("The history has %1 findings:\n").arg(findings.size());
  for (std::size_t i = 0; i < findings.size() && i < kFindingsShown; ++i) {
    text += QStringLiteral("\n") + UserText(findings[i].text);
  }
  if (findings.size() > kFindingsShown) text += TFConnect::tr("\n... and %1 more.").arg(findings.size() - kFindingsShown);
  return text + TFConnect::tr("\n\nWrite anyway?");
}
constexpr int kClientHeight = 400;
constexpr int kTopBandHeight = 41;
constexpr int kBottomBandHeight = 36;
constexpr int kProgressHeight = 14;
constexpr int kAddressFontPixels = 13;  // Tahoma 10 pt
// Datagrams taken per wake-up of the port's notifier: a flood of answers from other devices must
// not keep the window from its other events. After a full batch the notifier rests for a moment
// (on Windows timers and painting wait until no socket message is queued), then comes back for the rest.
constexpr int kDatagramsPerWakeUp = 64;
constexpr int kFloodRestMs = 1;

// Runs a function when leaving a scope, also when an error leaves it.
template <typename F>
struct TAtScopeExit {
  F f;
  ~TAtScopeExit() { f(); }
};
template <typename F>
TAtScopeExit(F) -> TAtScopeExit<F>;

}  // namespace

TFConnect::TFConnect(QWidget* owner, const THistoryModel& history, TConnectOptions options)
    : QWidget(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      history_(history),
      options_(std::move(options)),
      discovery_(options_.interfaces) {
  setObjectName(QStringLiteral("TFConnect"));
  setWindowTitle(tr("ENET Connection"));
  setFixedSize(kClientWidth, kClientHeight);

  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(0, 0, kClientWidth, kTopBandHeight);
  edtGWIP = new QLineEdit(GroupBox1);
  edtGWIP->setObjectName(QStringLiteral("edtGWIP"));
  edtGWIP->setPlaceholderText(tr("CAR/ZGW/FEM/BDC IP"));
  edtGWIP->setFont(WindowFont(kAddressFontPixels, true));
  edtGWIP->setGeometry(8, 8, 201, 25);
  btnDetect = new QPushButton(tr("DETECT"), GroupBox1);
  btnDetect->setObjectName(QStringLiteral("btnDetect"));
  btnDetect->setGeometry(kClientWidth - 8 - 66, 8, 66, 25);

  mmoENET = new QPlainTextEdit(this);
  mmoENET->setObjectName(QStringLiteral("mmoENET"));
  mmoENET->setReadOnly(true);
  // Long lines (an ERR line with the car's answer) wrap at word boundaries, so every line shows
  // whole and every block starts at the left.
  mmoENET->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  mmoENET->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  mmoENET->setGeometry(0, kTopBandHeight, kClientWidth, kClientHeight - kTopBandHeight - kBottomBandHeight);

  prgWrite = new QProgressBar(this);
  prgWrite->setObjectName(QStringLiteral("prgWrite"));
  prgWrite->setTextVisible(true);
  prgWrite->setGeometry(0, kClientHeight - kBottomBandHeight - kProgressHeight, kClientWidth, kProgressHeight);
  prgWrite->hide();

  grp1 = new QGroupBox(this);
  grp1->setObjectName(QStringLiteral("grp1"));
  grp1->setGeometry(0, kClientHeight - kBottomBandHeight, kClientWidth, kBottomBandHeight);
  btnStart = new QPushButton(tr("Start"), grp1);
  btnStart->setObjectName(QStringLiteral("btnStart"));
  btnStart->setGeometry(8, 6, 75, 25);
  chkErase = new QCheckBox(tr("Erase old service data"), grp1);
  chkErase->setObjectName(QStringLiteral("chkErase"));
  chkErase->setChecked(true);
  chkErase->setGeometry(92, 8, 160, 21);
  btnClose = new QPushButton(tr("Close"), grp1);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setGeometry(kClientWidth - 8 - 75, 6, 75, 25);

  // Tab follows the window from top to bottom: the address and "DETECT", the erase choice and
  // "Start" (in the order they are used), the log, "Close".
  setTabOrder(edtGWIP, btnDetect);
  setTabOrder(btnDetect, chkErase);
  setTabOrder(chkErase, btnStart);
  setTabOrder(btnStart, mmoENET);
  setTabOrder(mmoENET, btnClose);

  ConnectCommand(btnStart, &QPushButton::clicked, this, &TFConnect::btnStartClick);
  ConnectCommand(btnClose, &QPushButton::clicked, this, &TFConnect::btnCloseClick);
  ConnectCommand(btnDetect, &QPushButton::clicked, this, &TFConnect::btnDetectClick);
  // Enter in the address is "Start" (never "Stop": a write that runs goes on).
  connect(edtGWIP, &QLineEdit::returnPressed, this, [this] {
    if (!writing_) btnStart->click();
  });
  // The log's context menu: besides copying, the log as text and the last write's frames as a trace.
  SaveLog1 = new QAction(tr("Save log..."), this);
  SaveLog1->setObjectName(QStringLiteral("SaveLog1"));
  SaveTrace1 = new QAction(tr("Save trace..."), this);
  SaveTrace1->setObjectName(QStringLiteral("SaveTrace1"));
  SaveTrace1->setEnabled(false);
  ConnectCommand(SaveLog1, &QAction::triggered, this, &TFConnect::SaveLogClick);
  ConnectCommand(SaveTrace1, &QAction::triggered, this, &TFConnect::SaveTraceClick);
  mmoENET->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(mmoENET, &QWidget::customContextMenuRequested, this, &TFConnect::ShowLogMenu);

  detectRepeat_ = new QTimer(this);
  detectRepeat_->setObjectName(QStringLiteral("DetectRepeat"));
  detectRepeat_->setInterval(static_cast<int>(options_.detectRepeat.count()));
  ConnectCommand(detectRepeat_, &QTimer::timeout, this, &TFConnect::DetectAgain);

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setObjectName(QStringLiteral("CloseShortcut"));
  ConnectCommand(escape, &QShortcut::activated, this, &TFConnect::btnCloseClick);
  FormCreate();
}

TFConnect::~TFConnect() { CloseUdpPort(); }

void TFConnect::FormCreate() {
  session_ = std::make_unique<TEnetSession>(options_.timings);
  session_->EnetInit();
  // Window events run in every wait of a write, so the program stays usable and "Stop" can be
  // pressed while the car takes its time.
  session_->Wait().SetMessagePump([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
}

void TFConnect::AppendLog(const QString& line) {
  mmoENET->appendPlainText(line);
  mmoENET->verticalScrollBar()->setValue(mmoENET->verticalScrollBar()->maximum());
}

void TFConnect::SetWriting(bool writing) {
  writing_ = writing;
  btnStart->setText(writing ? tr("Stop") : tr("Start"));
  btnDetect->setEnabled(!writing);
}

void TFConnect::ShowProgress(TProgressState state, int written, int total) {
  // The bar stays below the log from "Start" until the next "Start" or "DETECT": first how far the
  // write is, then full, in the colour of its outcome.
  const bool shown = state != TProgressState::Hidden;
  mmoENET->setFixedHeight(kClientHeight - kTopBandHeight - kBottomBandHeight - (shown ? kProgressHeight : 0));
  prgWrite->setVisible(shown);
  prgWrite->setRange(0, std::max(total, 1));
  switch (state) {
    case TProgressState::Hidden:
    case TProgressState::Running:
      prgWrite->setValue(written);
      prgWrite->setFormat(tr("%1 of %2").arg(written).arg(total));
      prgWrite->setProperty("outcome", QString());
      break;
    case TProgressState::Complete:
    case TProgressState::Failed:
      prgWrite->setValue(prgWrite->maximum());
      prgWrite->setFormat(state == TProgressState::Complete ? tr("Complete: %1 of %2 written").arg(written).arg(total)
                                                            : tr("Error: see the log"));
      prgWrite->setProperty("outcome", state == TProgressState::Complete ? QStringLiteral("complete") : QStringLiteral("error"));
      break;
  }
  // The style sheet colours the bar by its outcome.
  prgWrite->style()->unpolish(prgWrite);
  prgWrite->style()->polish(prgWrite);
}

void TFConnect::btnStartClick() {
  if (writing_) {
    StopWrite();
    return;
  }
  RunWrite();
}

void TFConnect::StopWrite() {
  if (writing_) session_->Wait().RequestStop();
}

void TFConnect::RunWrite() {
  // The write works on a copy taken now, and "DETECT" stays disabled until it ends: window events
  // run inside its waits, and neither a search nor a change of the list in the main window may
  // reach into this write. "Start" turns into "Stop" meanwhile.
  TWriteJob job;
  job.host = edtGWIP->text().toStdString();
  job.port = options_.gatewayPort;
  job.entries = history_.SHRecord();
  job.erase = chkErase->isChecked();

  // What the history says that is likely wrong, before it goes into the car; a write that cannot
  // start (no address, an empty list) says so at once instead of asking first.
  const bool canStart = !job.host.empty() && !job.entries.empty();
  const std::vector<TFinding> findings = canStart ? CheckHistory(job.entries, LocalToday()) : std::vector<TFinding>{};
  if (!findings.empty() && !AskYesNo(FindingsQuestion(findings))) {
    AppendLog(tr("Nothing was written: the history has findings, and \"Write anyway?\" was answered \"No\"."));
    AppendLog(QString());
    return;
  }

  // Every frame of this write, kept for "Save trace...".
  lastTrace_.clear();
  TSessionTrace trace(*session_, MemoryTraceSink(lastTrace_));
  SaveTrace1->setEnabled(true);

  const int total = static_cast<int>(job.entries.size());
  int written = 0;
  ShowProgress(TProgressState::Running, written, total);
  SetWriting(true);
  TAtScopeExit done{[this] { SetWriting(false); }};

  TWriteObserver observer;
  observer.progress = [this, &written, total](std::size_t done, std::size_t) {
    written = static_cast<int>(done);
    ShowProgress(TProgressState::Running, written, total);
  };
  // While the head unit asks for more time, the bar says so, with the seconds waited.
  observer.waiting = [this](const std::string& text, std::chrono::milliseconds) { prgWrite->setFormat(WaitingText(text)); };
  const bool complete = WriteServiceHistory(
      *session_, job, [this](const std::string& line) { AppendLog(LogLineText(line)); }, observer);
  ShowProgress(complete ? TProgressState::Complete : TProgressState::Failed, written, total);
}

void TFConnect::btnCloseClick() { hide(); }

void TFConnect::btnDetectClick() {
  session_->EnetInit();
  edtGWIP->clear();
  mmoENET->clear();
  ShowProgress(TProgressState::Hidden, 0, 0);
  AppendLog(tr("Auto detecting..."));
  AppendLog(QString());
  detectClock_.start();
  hintShown_ = false;
  // An error while opening or sending goes on to the error report (the interfaces after it get no
  // request); a port it leaves open is watched all the same. A search that could send asks again
  // until a gateway answers.
  TAtScopeExit watch{[this] { WatchUdpPort(); }};
  detectRepeat_->stop();
  discovery_.Start();
  if (discovery_.Open()) detectRepeat_->start();
}

void TFConnect::DetectAgain() {
  if (!discovery_.Open()) {
    detectRepeat_->stop();
    return;
  }
  // A car switched on (or a gateway that wakes up) after the click is found all the same; one
  // line says that nothing answered yet, and what to check.
  if (!hintShown_ && detectClock_.elapsed() >= options_.detectHintAfter.count()) {
    hintShown_ = true;
    AppendLog(LogLineText(std::string(kNoGatewayYet)));
    AppendLog(QString());
  }
  // A send that fails goes to the error report once; the search then only listens.
  detectRepeat_->stop();
  discovery_.SendAgain();
  detectRepeat_->start();
}

void TFConnect::WatchUdpPort() {
  if (!discovery_.Open() || udpNotifier_) return;
  udpNotifier_ = new QSocketNotifier(static_cast<qintptr>(discovery_.Handle()), QSocketNotifier::Read, this);
  connect(udpNotifier_, &QSocketNotifier::activated, this, &TFConnect::ReadDatagrams);
}

void TFConnect::CloseUdpPort() {
  // The notifier stops before the socket it watches closes; it may be the one calling us, so it is
  // deleted once its signal has returned.
  if (udpNotifier_) {
    udpNotifier_->setEnabled(false);
    udpNotifier_->deleteLater();
    udpNotifier_ = nullptr;
  }
  if (detectRepeat_) detectRepeat_->stop();
  discovery_.Close();
}

void TFConnect::ReadDatagrams() {
  for (int i = 0; i < kDatagramsPerWakeUp && discovery_.Open(); ++i) {
    const std::optional<TDatagram> datagram = discovery_.ReadDatagram();
    if (!datagram) return;
    udp1DataIn(*datagram);
  }
  if (!udpNotifier_) return;
  udpNotifier_->setEnabled(false);
  QTimer::singleShot(kFloodRestMs, udpNotifier_, [notifier = udpNotifier_] { notifier->setEnabled(true); });
}

void TFConnect::udp1DataIn(const TDatagram& datagram) {
  const std::optional<TGatewayAnswer> gateway = discovery_.Accept(datagram);
  if (!gateway) return;
  edtGWIP->setText(QString::fromStdString(gateway->address));
  CloseUdpPort();
  for (const std::string& line : FoundLines(*gateway)) AppendLog(LogLineText(line));
  const bool vinReported = gateway->vin != kVinNotReported;
  emit GatewayFound(vinReported ? QString::fromStdString(gateway->vin) : QString(), QString::fromStdString(gateway->address));
}

void TFConnect::ShowLogMenu(const QPoint& at) {
  QMenu* menu = mmoENET->createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addSeparator();
  menu->addAction(SaveLog1);
  menu->addAction(SaveTrace1);
  menu->popup(mmoENET->viewport()->mapToGlobal(at));
}

void TFConnect::SaveLogClick() {
  const QString path = AskSavePath(this, QStringLiteral("SaveLog"), tr("Save the ENET log"),
                                   tr("Text (*.txt)"), QStringLiteral("txt"));
  if (path.isEmpty()) return;
  const QByteArray text = mmoENET->toPlainText().toUtf8() + '\n';
  WriteFileAtomically(QFile::encodeName(path).toStdString(),
                        std::span(reinterpret_cast<const uint8_t*>(text.constData()), static_cast<std::size_t>(text.size())));
}

void TFConnect::SaveTraceClick() {
  const QString path = AskSavePath(this, QStringLiteral("SaveTrace"), tr("Save the trace of the last write"),
                                   tr("pcap trace for Wireshark (*.pcap)"), QStringLiteral("pcap"));
  if (path.isEmpty()) return;
  WriteFileAtomically(QFile::encodeName(path).toStdString(), lastTrace_);
}
