#include "Connect.h"

#include <QCheckBox>
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

#include "Command.h"
#include "HistoryModel.h"
#include "HistoryWriter.h"
#include "VisualStyle.h"
#include "WindowPlacement.h"

namespace {

constexpr int kClientWidth = 337;
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
struct AtScopeExit {
  F f;
  ~AtScopeExit() { f(); }
};
template <typename F>
AtScopeExit(F) -> AtScopeExit<F>;

}  // namespace

TFConnect::TFConnect(QWidget* owner, const THistoryModel& history, TConnectOptions options)
    : QWidget(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      history_(history),
      options_(std::move(options)),
      discovery_(options_.interfaces) {
  setObjectName(QStringLiteral("TFConnect"));
  setWindowTitle(QStringLiteral("ENET Connection"));
  setFixedSize(kClientWidth, kClientHeight);

  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(0, 0, kClientWidth, kTopBandHeight);
  edtGWIP = new QLineEdit(GroupBox1);
  edtGWIP->setObjectName(QStringLiteral("edtGWIP"));
  edtGWIP->setPlaceholderText(QStringLiteral("CAR/ZGW/FEM/BDC IP"));
  edtGWIP->setFont(WindowFont(kAddressFontPixels, true));
  edtGWIP->setGeometry(8, 8, 201, 25);
  btnDetect = new QPushButton(QStringLiteral("DETECT"), GroupBox1);
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
  btnStart = new QPushButton(QStringLiteral("Start"), grp1);
  btnStart->setObjectName(QStringLiteral("btnStart"));
  btnStart->setGeometry(8, 6, 75, 25);
  chkErase = new QCheckBox(QStringLiteral("Erase old service data"), grp1);
  chkErase->setObjectName(QStringLiteral("chkErase"));
  chkErase->setChecked(true);
  chkErase->setGeometry(92, 8, 160, 21);
  btnClose = new QPushButton(QStringLiteral("Close"), grp1);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setGeometry(kClientWidth - 8 - 75, 6, 75, 25);

  setTabOrder(mmoENET, btnClose);
  setTabOrder(btnClose, btnStart);
  setTabOrder(btnStart, chkErase);
  setTabOrder(chkErase, btnDetect);
  setTabOrder(btnDetect, edtGWIP);

  ConnectCommand(btnStart, &QPushButton::clicked, this, &TFConnect::btnStartClick);
  ConnectCommand(btnClose, &QPushButton::clicked, this, &TFConnect::btnCloseClick);
  ConnectCommand(btnDetect, &QPushButton::clicked, this, &TFConnect::btnDetectClick);
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
  btnStart->setText(writing ? QStringLiteral("Stop") : QStringLiteral("Start"));
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
      prgWrite->setFormat(QStringLiteral("%1 of %2").arg(written).arg(total));
      prgWrite->setProperty("outcome", QString());
      break;
    case TProgressState::Complete:
    case TProgressState::Failed:
      prgWrite->setValue(prgWrite->maximum());
      prgWrite->setFormat(state == TProgressState::Complete ? QStringLiteral("Complete: %1 of %2 written").arg(written).arg(total)
                                                            : QStringLiteral("Error: see the log"));
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

  const int total = static_cast<int>(job.entries.size());
  int written = 0;
  ShowProgress(TProgressState::Running, written, total);
  SetWriting(true);
  AtScopeExit done{[this] { SetWriting(false); }};

  const bool complete = WriteServiceHistory(
      *session_, job, [this](const std::string& line) { AppendLog(QString::fromStdString(line)); },
      [this, &written, total](std::size_t done, std::size_t) {
        written = static_cast<int>(done);
        ShowProgress(TProgressState::Running, written, total);
      });
  ShowProgress(complete ? TProgressState::Complete : TProgressState::Failed, written, total);
}

void TFConnect::btnCloseClick() { hide(); }

void TFConnect::btnDetectClick() {
  session_->EnetInit();
  edtGWIP->clear();
  mmoENET->clear();
  ShowProgress(TProgressState::Hidden, 0, 0);
  AppendLog(QStringLiteral("Auto detecting..."));
  AppendLog(QString());
  // An error while opening or sending goes on to the error report (the interfaces after it get no
  // request); a port it leaves open is watched all the same.
  AtScopeExit watch{[this] { WatchUdpPort(); }};
  discovery_.Start();
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
  for (const std::string& line : FoundLines(*gateway)) AppendLog(QString::fromStdString(line));
}
