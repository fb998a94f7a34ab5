#include "tools/carsim/CarSim.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iterator>
#include <stdexcept>

#include "enet/HexText.h"
#include "history/HistoryFile.h"
#include "history/TarveloError.h"
#include "tools/carsim/SocketIo.h"

namespace {

// A request longer than this is not a frame of ours; the connection is closed.
constexpr uint32_t kMaxRequestPayload = 1 << 20;
constexpr std::size_t kAcknowledgedUdsBytes = 5;
constexpr uint16_t kOversizeLength = 5000;

std::runtime_error SystemError(const std::string& what) { return std::runtime_error(what + ": " + LastSocketErrorText()); }

}  // namespace

TCarSim::TCarSim(TCarSimOptions options) : options_(std::move(options)) {}

TCarSim::~TCarSim() { Stop(); }

void TCarSim::Start() {
  if (!options_.loadFile.empty()) {
    THistoryLoad load = LoadHistoryFile(options_.loadFile);
    if (!load.Loaded()) throw std::runtime_error(load.Message());
    headUnit_ = THeadUnit(std::move(load.entries));
  } else {
    headUnit_ = THeadUnit(options_.history);
  }

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(options_.tcpPort);
  if (inet_pton(AF_INET, options_.bind.c_str(), &address.sin_addr) != 1) {
    throw std::runtime_error("not an IPv4 address: " + options_.bind);
  }
  if (options_.vin.size() != 17) throw std::runtime_error("a VIN has 17 characters: " + options_.vin);
  listenFd_ = OpenSocket(SOCK_STREAM);
  if (listenFd_ == kNoSocket) throw SystemError("socket");
#ifndef _WIN32
  // A restarted car gets its port back at once. (On Windows the option would let a second car
  // take a port that is in use; there a port is free again at once anyway.)
  const int on = 1;
  setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
  if (bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const auto error = SystemError("bind " + options_.bind + ":" + std::to_string(options_.tcpPort));
    CloseSocketHandle(listenFd_);
    listenFd_ = kNoSocket;
    throw error;
  }
  listen(listenFd_, 8);
  socklen_t length = sizeof address;
  getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
  tcpPort_ = ntohs(address.sin_port);

  OpenDiscoveryPort();
  wakeUp_ = std::make_unique<TWakeUp>();
  Store();
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void TCarSim::Stop() {
  if (stopping_.exchange(true)) return;
  {
    std::lock_guard lock(mutex_);
    for (TSocketHandle fd : connectionFds_) ShutdownSocket(fd);
  }
  stopSignal_.notify_all();
  if (wakeUp_) wakeUp_->Signal();
  if (acceptThread_.joinable()) acceptThread_.join();
  std::vector<Connection> connections;
  {
    std::lock_guard lock(mutex_);
    connections.swap(connectionThreads_);
  }
  for (Connection& c : connections) c.thread.join();
  for (TSocketHandle fd : {listenFd_, udpFd_}) {
    if (fd != kNoSocket) CloseSocketHandle(fd);
  }
  wakeUp_.reset();
}

void TCarSim::SetFaults(const TCarSimFaults& faults) {
  std::lock_guard lock(mutex_);
  options_.faults = faults;
}

std::vector<TReceivedFrame> TCarSim::ReceivedFrames() const {
  std::lock_guard lock(mutex_);
  return frames_;
}

std::vector<TBuffer> TCarSim::ReceivedRequests() const {
  std::vector<TBuffer> requests;
  for (const TReceivedFrame& f : ReceivedFrames()) requests.push_back(f.uds);
  return requests;
}

THistoryList TCarSim::History() const {
  std::lock_guard lock(mutex_);
  return headUnit_.History();
}

int TCarSim::Connections() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

int TCarSim::OpenConnections() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(connectionFds_.size());
}

void TCarSim::OpenDiscoveryPort() {
  if (options_.udpPort == kNoDiscovery) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(options_.udpPort));
  inet_pton(AF_INET, options_.bind.c_str(), &address.sin_addr);
  udpFd_ = OpenSocket(SOCK_DGRAM);
  if (udpFd_ == kNoSocket) throw SystemError("socket");
  // Several simulated gateways on one host each get their copy of a broadcast request.
  const int on = 1;
  setsockopt(udpFd_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
  SetSocketNonBlocking(udpFd_);  // read only when waiting; a datagram gone by then is no reason to hang
  if (bind(udpFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    throw SystemError("bind UDP " + options_.bind + ":" + std::to_string(options_.udpPort));
  }
  socklen_t length = sizeof address;
  getsockname(udpFd_, reinterpret_cast<sockaddr*>(&address), &length);
  udpPort_ = ntohs(address.sin_port);
}

int TCarSim::IdentificationRequests() const {
  std::lock_guard lock(mutex_);
  return identificationRequests_;
}

void TCarSim::AnswerIdentification() {
  uint8_t request[kReceiveBufferSize];
  sockaddr_in from{};
  socklen_t fromLength = sizeof from;
  const auto n = recvfrom(udpFd_, reinterpret_cast<char*>(request), sizeof request, 0, reinterpret_cast<sockaddr*>(&from),
                          &fromLength);
  if (n < 0 || static_cast<std::size_t>(n) < kFrameHeaderSize || FrameControlWord(request) != kControlVehicleIdentification) return;
  Log("<- UDP " + BytesToSpacedHexText(TBuffer(request, request + n)));
  const std::string text = "DIAGADR10BMWMAC" + options_.mac + "BMWVIN" + options_.vin;
  const TBuffer answer = BuildFrame(kControlVehicleIdentification,
                                    std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  {
    // Counted before the answer goes out: whoever reads the count after the answer arrived sees it.
    std::lock_guard lock(mutex_);
    ++identificationRequests_;
  }
  Log("-> UDP " + BytesToSpacedHexText(answer));
  sendto(udpFd_, reinterpret_cast<const char*>(answer.data()), static_cast<int>(answer.size()), 0,
         reinterpret_cast<const sockaddr*>(&from), fromLength);
}

void TCarSim::AcceptLoop() {
  while (!stopping_) {
    TSocketPoll fds[] = {{listenFd_, POLLIN, 0}, {wakeUp_->Handle(), POLLIN, 0}, {udpFd_, POLLIN, 0}};
    if (PollSockets(fds, udpFd_ != kNoSocket ? 3 : 2, -1) < 0 && !WouldBlock(LastSocketError())) return;
    if (stopping_ || fds[1].revents) return;
    if (udpFd_ != kNoSocket && (fds[2].revents & POLLIN)) AnswerIdentification();
    if (!(fds[0].revents & POLLIN)) continue;
    ReapFinishedConnections();
    const TSocketHandle fd = AcceptConnection(listenFd_);
    if (fd == kNoSocket) continue;
    const int on = 1;
    // The ack and the answer go out at once.
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    std::lock_guard lock(mutex_);
    ++connections_;
    connectionFds_.push_back(fd);
    auto done = std::make_shared<std::atomic<bool>>(false);
    connectionThreads_.push_back({std::thread([this, fd, done] {
                                    Serve(fd);
                                    *done = true;
                                  }),
                                  done});
  }
}

void TCarSim::ReapFinishedConnections() {
  std::vector<Connection> finished;
  {
    std::lock_guard lock(mutex_);
    auto unfinished = std::partition(connectionThreads_.begin(), connectionThreads_.end(),
                                     [](const Connection& c) { return !*c.done; });
    std::move(unfinished, connectionThreads_.end(), std::back_inserter(finished));
    connectionThreads_.erase(unfinished, connectionThreads_.end());
  }
  for (Connection& c : finished) c.thread.join();
}

bool TCarSim::Pause(int ms) {
  if (ms <= 0) return !stopping_;
  std::unique_lock lock(mutex_);
  stopSignal_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_.load(); });
  return !stopping_;
}

bool TCarSim::SendFrame(TSocketHandle fd, const TBuffer& frame, const TCarSimFaults& faults) {
  Log("-> " + BytesToSpacedHexText(frame));
  const std::size_t piece = faults.split == 0 ? frame.size() : faults.split;
  for (std::size_t offset = 0; offset < frame.size(); offset += piece) {
    if (!Pause(faults.delayMs)) return false;
    if (!SendAll(fd, frame.data() + offset, std::min(piece, frame.size() - offset))) return false;
  }
  return true;
}

void TCarSim::Serve(TSocketHandle fd) {
  int requests = 0;
  int entries = 0;  // entry requests on this connection
  for (;;) {
    uint8_t header[kFrameHeaderSize];
    if (!ReceiveAll(fd, header, sizeof header, wakeUp_->Handle())) break;
    const uint32_t length = LoadBigEndian32(header);
    if (length < kFrameAddressSize || length > kMaxRequestPayload) break;
    TBuffer payload(length);
    if (!ReceiveAll(fd, payload.data(), payload.size(), wakeUp_->Handle())) break;
    TBuffer raw(header, header + sizeof header);
    raw.insert(raw.end(), payload.begin(), payload.end());
    Log("<- " + BytesToSpacedHexText(raw));

    const uint8_t source = payload[0];
    const uint8_t target = payload[1];
    const std::span<const uint8_t> request(payload.begin() + kFrameAddressSize, payload.end());
    TCarSimFaults faults;
    THeadUnit::Outcome outcome;
    bool drop = false;
    {
      std::lock_guard lock(mutex_);
      faults = options_.faults;
      if (options_.recordFrames) frames_.push_back({std::move(raw), source, target, TBuffer(request.begin(), request.end())});
      if (IsWriteEntryRequest(request) && ++entries == faults.dropAtEntry && dropsDone_ < faults.drops) {
        ++dropsDone_;
        drop = true;
      }
      const auto refused = std::find_if(faults.nrc.begin(), faults.nrc.end(), [&](const auto& nrc) {
        return !request.empty() && request[0] == nrc.first;
      });
      if (drop && !faults.dropAfterStoring) {
        // The connection breaks off before the head unit sees the entry.
      } else if (refused != faults.nrc.end()) {
        outcome.answer = NegativeAnswer(refused->first, refused->second);
      } else if (faults.refuseErase != 0 && IsEraseHistoryRequest(request)) {
        outcome.answer = NegativeAnswer(uds::kRoutineControl, faults.refuseErase);
      } else if (target == kHeadUnitAddress) {
        outcome = headUnit_.Answer(request);
      } else {
        outcome.answer = NegativeAnswer(request.empty() ? 0 : request[0], uds::kServiceNotSupported);
      }
    }
    if (outcome.historyChanged) Store();
    ++requests;
    if (drop) {
      ResetOnClose(fd);
      break;
    }

    if (faults.resetAfter > 0 && requests >= faults.resetAfter) {
      // The connection breaks off in the middle of this exchange: a reset instead of an answer.
      ResetOnClose(fd);
      break;
    }
    if (!faults.noAck && !Respond(fd, source, target, request, outcome.answer, faults)) break;
    if (faults.closeAfter > 0 && requests >= faults.closeAfter) break;
  }
  std::lock_guard lock(mutex_);
  connectionFds_.erase(std::remove(connectionFds_.begin(), connectionFds_.end(), fd), connectionFds_.end());
  CloseSocketHandle(fd);
}

bool TCarSim::Respond(TSocketHandle fd, uint8_t source, uint8_t target, std::span<const uint8_t> request, const TBuffer& answerUds,
                      const TCarSimFaults& faults) {
  TBuffer ackPayload{source, target};
  const auto acknowledged = static_cast<std::ptrdiff_t>(std::min(request.size(), kAcknowledgedUdsBytes));
  ackPayload.insert(ackPayload.end(), request.begin(), request.begin() + acknowledged);
  const TBuffer ack = BuildFrame(kControlAcknowledge, ackPayload);
  if (!faults.answerFirst && !SendFrame(fd, ack, faults)) return false;
  if (!faults.silent) {
    const uint8_t service = request.empty() ? 0 : request[0];
    const TBuffer pending = NegativeAnswer(service, uds::kResponsePending);
    for (int i = 0; faults.pending == kEndlessPending || i < faults.pending; ++i) {
      if (!SendFrame(fd, BuildDiagnosticFrame(target, source, pending), faults) || !Pause(faults.pendingIntervalMs)) {
        return false;
      }
    }
    TBuffer answer = BuildDiagnosticFrame(target, source, answerUds);
    if (faults.oversize) {
      answer.resize(kFrameHeaderSize + kOversizeLength, 0);
      StoreBigEndian16(&answer[2], kOversizeLength);
    }
    if (!SendFrame(fd, answer, faults)) return false;
  }
  return !faults.answerFirst || SendFrame(fd, ack, faults);
}

void TCarSim::Log(const std::string& line) const {
  if (!options_.log) return;
  std::lock_guard lock(logMutex_);
  options_.log(line);
}

void TCarSim::Store() {
  if (options_.storeFile.empty()) return;
  std::lock_guard lock(mutex_);
  try {
    WriteHistoryFile(options_.storeFile, headUnit_.History());
  } catch (const ETarveloError& e) {
    Log("store: " + ErrorReportText(e.what()));
  }
}
