#include "tests/support/ScriptedPeer.h"

#include <chrono>
#include <stdexcept>

#include "enet/EnetFrame.h"
#include "enet/HeadUnitProtocol.h"
#include "tools/carsim/SocketIo.h"

TBuffer AckFrame(const TBuffer& uds) {
  TBuffer payload{kTesterAddress, kHeadUnitAddress};
  payload.insert(payload.end(), uds.begin(), uds.end());
  return BuildFrame(kControlAcknowledge, payload);
}

TBuffer AnswerFrame(const TBuffer& uds) { return BuildDiagnosticFrame(kHeadUnitAddress, kTesterAddress, uds); }

ScriptedPeer::ScriptedPeer(std::vector<ScriptStep> script) : script_(std::move(script)) {
  thread_ = std::thread([this] { Run(); });
}

ScriptedPeer::~ScriptedPeer() {
  stopping_ = true;
  wakeUp_.Signal();
  listener_.Shutdown();
  {
    std::lock_guard lock(mutex_);
    for (TSocketHandle fd : openFds_) ShutdownSocket(fd);
  }
  thread_.join();
}

std::vector<TBuffer> ScriptedPeer::Frames() const {
  std::lock_guard lock(mutex_);
  return frames_;
}

void ScriptedPeer::Run() {
  // One connection at a time: the client under test holds one connection at a time too.
  while (!stopping_) {
    const TSocketHandle fd = listener_.Accept(50);
    if (fd == kNoSocket) continue;
    ++connections_;
    {
      std::lock_guard lock(mutex_);
      openFds_.push_back(fd);
    }
    Serve(fd);
    std::lock_guard lock(mutex_);
    openFds_.clear();
  }
}

void ScriptedPeer::Serve(TSocketHandle fd) {
  bool closed = false;
  for (const ScriptStep& step : script_) {
    if (stopping_ || closed) break;
    if (std::holds_alternative<ReadFrame>(step)) {
      uint8_t header[kFrameHeaderSize];
      if (!ReceiveAll(fd, header, sizeof header, wakeUp_.Handle())) break;
      TBuffer frame(header, header + sizeof header);
      frame.resize(sizeof header + FramePayloadLength(header));
      if (!ReceiveAll(fd, frame.data() + sizeof header, frame.size() - sizeof header, wakeUp_.Handle())) break;
      std::lock_guard lock(mutex_);
      frames_.push_back(std::move(frame));
    } else if (const auto* send = std::get_if<SendBytes>(&step)) {
      if (::send(fd, reinterpret_cast<const char*>(send->bytes.data()), static_cast<int>(send->bytes.size()), kSendFlags) < 0) {
        break;
      }
    } else if (const auto* sleep = std::get_if<SleepMs>(&step)) {
      for (int waited = 0; waited < sleep->ms && !stopping_; waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    } else if (std::holds_alternative<ResetConnection>(step)) {
      ResetOnClose(fd);
      closed = true;
    } else {
      closed = true;
    }
  }
  if (!closed) {
    // Wait for the client to go away, so that nothing the script sent is cut off by our close.
    uint8_t sink;
    while (!stopping_ && ReceiveAll(fd, &sink, 1, wakeUp_.Handle())) {
    }
  }
  CloseSocketHandle(fd);
}
