// One diagnostic exchange against the simulated car on loopback, beside a minimal blocking
// ping-pong of the same bytes in the same run: the exchange's own cost is their ratio.
//
//   bench_enet --benchmark_filter='EnetRequest|PingPong'
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>

#include "bench/BenchEntries.h"
#include "enet/EnetSession.h"
#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"
#include "enet/HistoryWriter.h"
#include "tests/support/LoopbackListener.h"
#include "tools/carsim/CarSim.h"

namespace {

// The reset request and what the gateway sends back for it, as two writes.
const TBuffer kRequest = HexTextToBytes("000000040001F4631101");
const TBuffer kAck = HexTextToBytes("000000040002F4631101");
const TBuffer kAnswer = HexTextToBytes("00000004000163F45101");

// The simulated car on a free loopback port.
std::unique_ptr<TCarSim> StartSimulatedCar() {
  TCarSimOptions options;
  options.tcpPort = 0;
  options.udpPort = kNoDiscovery;
  options.recordFrames = false;
  auto sim = std::make_unique<TCarSim>(options);
  sim->Start();
  return sim;
}

void BM_EnetRequest(benchmark::State& state) {
  const std::unique_ptr<TCarSim> sim = StartSimulatedCar();
  TEnetSession session;
  session.SetTarget("127.0.0.1", sim->TcpPort());
  const TBuffer reset = ResetRequest();
  const TBuffer answer = PositiveAnswerHead(reset);
  for (auto _ : state) {
    if (session.EnetRequest(reset, kHeadUnitAddress).uds != answer) state.SkipWithError("no answer");
  }
}
BENCHMARK(BM_EnetRequest)->Unit(benchmark::kMicrosecond)->UseRealTime();

int NoDelaySocket() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

// The least a blocking client and server can do for the same bytes: one send, the server's two
// writes, and the client reading both.
void BM_BarePingPong(benchmark::State& state) {
  TLoopbackListener listener;
  std::thread server([&listener] {
    const int fd = listener.Accept();
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    uint8_t buffer[sizeof(uint8_t) * 64];
    while (recv(fd, buffer, kRequest.size(), MSG_WAITALL) == static_cast<ssize_t>(kRequest.size())) {
      send(fd, kAck.data(), kAck.size(), 0);
      send(fd, kAnswer.data(), kAnswer.size(), 0);
    }
    close(fd);
  });

  const int client = NoDelaySocket();
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(listener.Port());
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  connect(client, reinterpret_cast<sockaddr*>(&a), sizeof a);
  uint8_t buffer[64];
  const std::size_t back = kAck.size() + kAnswer.size();
  for (auto _ : state) {
    send(client, kRequest.data(), kRequest.size(), 0);
    if (recv(client, buffer, back, MSG_WAITALL) != static_cast<ssize_t>(back)) state.SkipWithError("short");
  }
  close(client);
  server.join();
}
BENCHMARK(BM_BarePingPong)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Writing 50 entries with erase: the fixed pauses alone take 50 x 100 ms + 200 ms = 5.2 s; the
// "overhead" counter is the share of the time spent above that floor.
void BM_Write50Entries(benchmark::State& state) {
  const std::unique_ptr<TCarSim> sim = StartSimulatedCar();
  constexpr std::size_t kEntries = 50;
  const TWriteJob job{"127.0.0.1", sim->TcpPort(), MakeBenchHistory(kEntries), true};
  const double floorSeconds = (kEntries * kEntryPauseMs + kErasePauseMs) / 1000.0;
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    TEnetSession session;
    if (!WriteServiceHistory(session, job, [](const std::string&) {})) state.SkipWithError("write failed");
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const double mean = total / static_cast<double>(state.iterations());
  state.counters["floor_s"] = floorSeconds;
  state.counters["overhead_%"] = 100.0 * (mean - floorSeconds) / floorSeconds;
}
BENCHMARK(BM_Write50Entries)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
