#pragma once
// TFConnect: the ENET connection window. "Start" writes the whole history into the car's head unit
// and logs each step; "DETECT" finds the car's gateway on the local networks.

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

#include "enet/Discovery.h"
#include "enet/EnetSession.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSocketNotifier;
class QTimer;
class THistoryModel;

// What the window talks to. The car always listens on port 6801 and its answers take their own
// time; a simulated car may listen elsewhere, and a test may hand in a list of loopback only.
struct TConnectOptions {
  uint32_t gatewayPort = kEnetPort;
  TInterfaceEnumerator interfaces = EnumInterfaces;
  TEnetTimings timings;
  std::chrono::milliseconds detectRepeat = kDiscoveryRepeat;      // "DETECT" asks again this often
  std::chrono::milliseconds detectHintAfter = kDiscoveryHintAfter;  // and says nothing answered after this
};

class TFConnect : public QWidget {
  Q_OBJECT
 public:
  TFConnect(QWidget* owner, const THistoryModel& history, TConnectOptions options = {});
  ~TFConnect() override;

  bool Writing() const { return writing_; }
  // Asks a running write to stop before its next request (an exchange in progress is given up).
  void StopWrite();

 signals:
  // "DETECT" found the car's gateway: its VIN (empty when it reported none) and address.
  void GatewayFound(const QString& vin, const QString& address);

 private:
  void FormCreate();
  // "Start" runs a write; while one runs, the button reads "Stop" and a press stops it.
  void btnStartClick();
  void btnCloseClick();
  void btnDetectClick();
  // One received datagram: the first gateway answer fills the address and closes the port.
  void udp1DataIn(const TDatagram& datagram);

  // Appends one line to the log and keeps the newest line in view.
  void AppendLog(const QString& line);
  void SetWriting(bool writing);
  enum class TProgressState { Hidden, Running, Complete, Failed };
  void ShowProgress(TProgressState state, int written, int total);
  void RunWrite();
  void WatchUdpPort();
  void CloseUdpPort();
  void DetectAgain();  // the repeat of "DETECT" while no gateway answered
  void ReadDatagrams();
  void ShowLogMenu(const QPoint& at);
  void SaveLogClick();
  void SaveTraceClick();

  const THistoryModel& history_;
  TConnectOptions options_;
  std::unique_ptr<TEnetSession> session_;  // the diagnostic connection this window writes over
  TDiscoverySession discovery_;            // "DETECT", over the window's UDP port
  TBuffer lastTrace_;                      // every frame of the last write, as a pcap file
  bool writing_ = false;
  QSocketNotifier* udpNotifier_ = nullptr;
  QTimer* detectRepeat_ = nullptr;
  QElapsedTimer detectClock_;  // since "DETECT"
  bool hintShown_ = false;     // the "No gateway has answered yet" line of this search

  QGroupBox* GroupBox1 = nullptr;
  QLineEdit* edtGWIP = nullptr;
  QPushButton* btnDetect = nullptr;
  QPlainTextEdit* mmoENET = nullptr;
  QProgressBar* prgWrite = nullptr;  // the entries written, and then the outcome, below the log
  QGroupBox* grp1 = nullptr;
  QPushButton* btnStart = nullptr;
  QCheckBox* chkErase = nullptr;
  QPushButton* btnClose = nullptr;
  QAction* SaveLog1 = nullptr;    // on the log's context menu
  QAction* SaveTrace1 = nullptr;
};
