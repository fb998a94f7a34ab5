#include "ScriptedPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "EnetFrame.h"
#include "HeadUnitProtocol.h"
#include "SocketIo.h"

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
  listener_.Shutdown();
  {
    std::lock_guard lock(mutex_);
    for (int fd : openFds_) shutdown(fd, SHUT_RDWR);
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
    const int fd = listener_.Accept(50);
    if (fd < 0) continue;
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

void ScriptedPeer::Serve(int fd) {
  bool closed = false;
  for (const ScriptStep& step : script_) {
    if (stopping_ || closed) break;
    if (std::holds_alternative<ReadFrame>(step)) {
      uint8_t header[kFrameHeaderSize];
      if (!ReceiveAll(fd, header, sizeof header)) break;
      TBuffer frame(header, header + sizeof header);
      frame.resize(sizeof header + FramePayloadLength(header));
      if (!ReceiveAll(fd, frame.data() + sizeof header, frame.size() - sizeof header)) break;
      std::lock_guard lock(mutex_);
      frames_.push_back(std::move(frame));
    } else if (const auto* send = std::get_if<SendBytes>(&step)) {
      if (::send(fd, send->bytes.data(), send->bytes.size(), MSG_NOSIGNAL) < 0) break;
    } else if (const auto* sleep = std::get_if<SleepMs>(&step)) {
      for (int waited = 0; waited < sleep->ms && !stopping_; waited += 10) usleep(10 * 1000);
    } else if (std::holds_alternative<ResetConnection>(step)) {
      const linger hard{1, 0};
      setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
      closed = true;
    } else {
      closed = true;
    }
  }
  if (!closed) {
    // Wait for the client to go away, so that nothing the script sent is cut off by our close.
    uint8_t sink[256];
    while (!stopping_ && recv(fd, sink, sizeof sink, 0) > 0) {
    }
  }
  close(fd);
}
