#pragma once
// A gateway that follows a script, for the answers the simulated car does not give on its own:
// an answer cut short, a response-pending answer followed by silence, an answer that is only the
// two address bytes. It listens on a free loopback port; every accepted connection runs the
// script from the top.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

#include "history/ServiceRecord.h"
#include "tests/support/LoopbackListener.h"
#include "tools/carsim/SocketIo.h"

struct ReadFrame {};            // read one whole request frame
struct SendBytes { TBuffer bytes; };
struct SleepMs { int ms; };
struct CloseConnection {};      // close at once (the script's end also closes, after the peer does)
struct ResetConnection {};      // close with a reset (RST)
using ScriptStep = std::variant<ReadFrame, SendBytes, SleepMs, CloseConnection, ResetConnection>;

class ScriptedPeer {
 public:
  explicit ScriptedPeer(std::vector<ScriptStep> script);
  ~ScriptedPeer();
  uint16_t Port() const { return listener_.Port(); }
  std::vector<TBuffer> Frames() const;  // every frame read, raw
  int Connections() const { return connections_; }

 private:
  void Run();
  void Serve(TSocketHandle fd);
  std::vector<ScriptStep> script_;
  TLoopbackListener listener_;
  TWakeUp wakeUp_;  // ends the receives of the connection being served
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::vector<TSocketHandle> openFds_;
  mutable std::mutex mutex_;
  std::vector<TBuffer> frames_;
  std::thread thread_;
};

// Frame helpers for scripts: an acknowledgement and an answer from the head unit to the tester.
TBuffer AckFrame(const TBuffer& uds);
TBuffer AnswerFrame(const TBuffer& uds);
