#pragma once
// A simulated car: the diagnostic gateway on TCP and the head unit behind it, in one object that
// runs its own threads. Tests start it in-process on a free loopback port; tarvelo-carsim runs it
// as a program.
//
// For every request frame the gateway first sends an acknowledgement (control word 0x0002, the
// request's addresses and its first five UDS bytes at most), then the head unit's answer with
// source and target swapped, as two separate writes. Fault switches make it misbehave on purpose.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "enet/EnetFrame.h"
#include "tools/carsim/HeadUnit.h"
#include "tools/carsim/SocketIo.h"

inline constexpr int kEndlessPending = -1;
inline constexpr int kNoDiscovery = -1;

struct TCarSimFaults {
  int pending = 0;             // response-pending answers before each real answer; kEndlessPending
  int pendingIntervalMs = 0;   // pause after each response-pending answer
  std::vector<std::pair<uint8_t, uint8_t>> nrc;  // service, code: negative answers to those services
  int closeAfter = 0;          // close the connection after this many requests (0: never)
  int resetAfter = 0;          // reset (RST) the connection on this many-th request instead of answering it
  std::size_t split = 0;       // send frames in pieces of this many bytes (0: whole)
  int delayMs = 0;             // pause before each frame, and before each piece of a split frame
  bool silent = false;         // acknowledge, never answer
  bool noAck = false;          // neither acknowledge nor answer
  bool answerFirst = false;    // send the answer before the acknowledgement
  bool oversize = false;       // answer with a frame announcing more than 4,096 payload bytes
  uint8_t refuseErase = 0;     // answer the erase request negatively with this code (0: never)
  // The connection drops when the dropAtEntry-th entry request of a connection arrives (0: never):
  // before the head unit stores that entry, or after it (dropAfterStoring), without an answer either
  // way. Only the first `drops` connections drop; the ones after them are healthy, as a car is once
  // its gateway is awake again.
  int dropAtEntry = 0;
  bool dropAfterStoring = false;
  int drops = 1;
};

struct TCarSimOptions {
  std::string bind = "127.0.0.1";
  uint16_t tcpPort = kEnetPort;  // 0: a free port the system picks (see TcpPort)
  int udpPort = kDiscoveryPort;  // vehicle identification; 0: a free port; kNoDiscovery: none
  std::string vin = "WBA8E9C57GK123456";
  std::string mac = "001A37C0FFEE";
  std::string loadFile;   // start with this history file
  THistoryList history;   // or with these entries (without a loadFile)
  std::string storeFile;  // write the head unit's history here after every change
  TCarSimFaults faults;
  bool recordFrames = true;  // keep every request frame for ReceivedFrames (a long soak need not)
  // Every frame received and sent as hex ("<- ..." and "-> ..."); nothing when empty.
  std::function<void(const std::string&)> log;
};

// One frame as the gateway received it.
struct TReceivedFrame {
  TBuffer raw;  // header and payload, as they came
  uint8_t source = 0;
  uint8_t target = 0;
  TBuffer uds;
};

class TCarSim {
 public:
  explicit TCarSim(TCarSimOptions options);
  ~TCarSim();
  TCarSim(const TCarSim&) = delete;
  TCarSim& operator=(const TCarSim&) = delete;

  // Loads the history, binds and starts serving. Throws std::runtime_error with the reason.
  void Start();
  // Closes every connection and the listening socket, and waits for the threads.
  void Stop();

  uint16_t TcpPort() const { return tcpPort_; }
  uint16_t UdpPort() const { return udpPort_; }

  void SetFaults(const TCarSimFaults& faults);
  std::vector<TReceivedFrame> ReceivedFrames() const;
  std::vector<TBuffer> ReceivedRequests() const;  // the UDS bytes of every request, in order
  THistoryList History() const;
  int Connections() const;  // connections accepted so far
  int OpenConnections() const;  // connections the tester has not closed yet
  int IdentificationRequests() const;  // vehicle identification requests answered so far

 private:
  void AcceptLoop();
  void AnswerIdentification();
  void OpenDiscoveryPort();
  void Serve(TSocketHandle fd);
  bool SendFrame(TSocketHandle fd, const TBuffer& frame, const TCarSimFaults& faults);
  // The acknowledgement and the answer to one request, as the faults shape them; false when the
  // connection failed.
  bool Respond(TSocketHandle fd, uint8_t source, uint8_t target, std::span<const uint8_t> request, const TBuffer& answerUds,
               const TCarSimFaults& faults);
  bool Pause(int ms);  // false when stopping
  void Log(const std::string& line) const;
  void Store();

  TCarSimOptions options_;
  uint16_t tcpPort_ = 0;
  uint16_t udpPort_ = 0;
  TSocketHandle listenFd_ = kNoSocket;
  TSocketHandle udpFd_ = kNoSocket;
  std::unique_ptr<TWakeUp> wakeUp_;  // ends the accept loop's wait
  std::atomic<bool> stopping_{false};
  std::thread acceptThread_;

  struct Connection {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void ReapFinishedConnections();

  mutable std::mutex mutex_;
  mutable std::mutex logMutex_;
  std::condition_variable stopSignal_;
  std::vector<Connection> connectionThreads_;
  std::vector<TSocketHandle> connectionFds_;
  std::vector<TReceivedFrame> frames_;
  THeadUnit headUnit_;
  int connections_ = 0;
  int identificationRequests_ = 0;
  int dropsDone_ = 0;
};
