#pragma once
// TFConnect: the ENET connection window. "Start" writes the whole history list into the car's
// head unit and logs each step; "DETECT" finds the car's gateway on the local networks.

#include <QWidget>
#include <memory>

#include "Discovery.h"
#include "EnetSession.h"
#include "UdpPort.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSocketNotifier;

class TFConnect : public QWidget {
  Q_OBJECT
 public:
  explicit TFConnect(QWidget* owner);
  ~TFConnect() override;

  // "Start" runs a write; while one runs, the button reads "Stop" and a press stops it before its
  // next request.
  void btnStartClick();
  void btnCloseClick();
  void btnDetectClick();
  // One received datagram: the first gateway answer fills the address and closes the port.
  void udp1DataIn(const std::string& Datagram, const std::string& SourceAddress, int SourcePort);

  // Appends one line to the log and keeps the newest line in view.
  void AppendLog(const QString& line);

  bool Writing() const { return writing_; }
  // Asks a running write to stop before its next request (an exchange in progress is given up).
  void StopWrite();

  // The gateway's TCP port. The car always listens on 6801; tests point this at a simulated car
  // on a free port.
  uint32_t GatewayPort = kEnetPort;

  // Where "DETECT" finds the local interfaces; tests may hand in a list of loopback only.
  TInterfaceEnumerator InterfaceEnumerator = EnumInterfaces;

  TUdpPort udp1;
  QGroupBox* GroupBox1 = nullptr;
  QLineEdit* edtGWIP = nullptr;
  QPushButton* btnDetect = nullptr;
  QPlainTextEdit* mmoENET = nullptr;
  QProgressBar* prgWrite = nullptr;  // the entries written, shown below the log while a write runs
  QGroupBox* grp1 = nullptr;
  QPushButton* btnStart = nullptr;
  QCheckBox* chkErase = nullptr;
  QPushButton* btnClose = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void SetWriting(bool writing);
  void RunWrite();
  void WatchUdpPort();
  void CloseUdpPort();
  void ReadDatagrams();
  bool shownBefore_ = false;
  bool writing_ = false;
  QSocketNotifier* udpNotifier_ = nullptr;
  std::unique_ptr<TEnetSession> session_;  // the diagnostic connection this window writes over
};

extern TFConnect* FConnect;
