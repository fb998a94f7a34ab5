// tarvelo-carsim: a simulated diagnostic gateway and head unit, for trying Tarvelo without a car.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <thread>

#include "enet/SocketPlatform.h"
#include "tools/carsim/CarSim.h"

namespace {

volatile std::sig_atomic_t StopRequested = 0;

void OnSignal(int) { StopRequested = 1; }

// "31:22" -> service 0x31, code 0x22
std::optional<std::pair<uint8_t, uint8_t>> ParseNrc(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  try {
    std::size_t used1 = 0, used2 = 0;
    const unsigned long sid = std::stoul(text.substr(0, colon), &used1, 16);
    const unsigned long code = std::stoul(text.substr(colon + 1), &used2, 16);
    if (used1 != colon || used2 != text.size() - colon - 1 || sid > 0xFF || code > 0xFF) return std::nullopt;
    return std::make_pair(static_cast<uint8_t>(sid), static_cast<uint8_t>(code));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"tarvelo-carsim: a simulated BMW diagnostic gateway (TCP 6801, vehicle identification on\n"
               "UDP 6811) and head unit (address 63).\n"
               "It answers erase (31 01 A0 80), write (31 01 A0 81 <entry>) and reset (11 01), and keeps\n"
               "the service history written into it.",
               "tarvelo-carsim"};
  app.set_version_flag("--version", std::string(TARVELO_VERSION_TEXT));
  TCarSimOptions options;
  bool verbose = false;
  std::vector<std::string> nrc;
  int port = kEnetPort;
  int udpPort = kDiscoveryPort;
  app.add_option("--bind", options.bind, "Address to listen on")->capture_default_str();
  app.add_option("--port", port, "TCP port of the gateway (0: any free port)")->capture_default_str()->check(CLI::Range(0, 65535));
  app.add_option("--udp-port", udpPort, "UDP port of vehicle identification (0: any free port, -1: none)")
      ->capture_default_str()
      ->check(CLI::Range(-1, 65535));
  app.add_option("--vin", options.vin, "Vehicle identification number the car reports")->capture_default_str();
  app.add_option("--mac", options.mac, "MAC address text the car reports")->capture_default_str();
  app.add_option("--load", options.loadFile, "Start with the history of this file");
  app.add_option("--store", options.storeFile, "Write the head unit's history to this file after every change");
  app.add_option("--pending", options.faults.pending, "Response-pending answers before each real answer (-1: endlessly)");
  app.add_option("--pending-interval-ms", options.faults.pendingIntervalMs, "Pause after each response-pending answer");
  app.add_option("--nrc", nrc, "Answer this service negatively, SID:CODE in hex (31:22); may be given more than once");
  app.add_option("--close-after", options.faults.closeAfter, "Close the connection after K requests");
  app.add_option("--reset-after", options.faults.resetAfter, "Reset (RST) the connection on the K-th request instead of answering it");
  std::string refuseErase;
  app.add_option("--refuse-erase", refuseErase,
                 "Answer the erase request (only that) negatively with this code, in hex (22: conditionsNotCorrect)");
  app.add_option("--drop-at-entry", options.faults.dropAtEntry,
                 "Drop the connection (a reset, no answer) when the K-th entry of a connection arrives, before the head "
                 "unit stores it")
      ->check(CLI::Range(1, 255 * 1000));
  app.add_flag("--drop-after-storing", options.faults.dropAfterStoring,
               "With --drop-at-entry: drop only after the head unit has stored that entry");
  app.add_option("--drops", options.faults.drops, "With --drop-at-entry: how many connections drop (1 unless told)")
      ->capture_default_str()
      ->check(CLI::Range(1, 1000));
  app.add_option("--split", options.faults.split, "Send frames in pieces of N bytes");
  app.add_option("--delay-ms", options.faults.delayMs, "Pause before each frame (and each piece) it sends");
  app.add_flag("--silent", options.faults.silent, "Acknowledge requests, never answer them");
  app.add_flag("--no-ack", options.faults.noAck, "Neither acknowledge nor answer requests");
  app.add_flag("--answer-first", options.faults.answerFirst, "Send the answer before the acknowledgement");
  app.add_flag("--oversize", options.faults.oversize, "Answer with a frame announcing more than 4,096 bytes");
  app.add_flag("-v,--verbose", verbose, "Log every frame received (<-) and sent (->) as hex");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);
    std::cerr << "tarvelo-carsim: " << e.what() << " (see 'tarvelo-carsim --help')\n";
    return 2;
  }
  options.tcpPort = static_cast<uint16_t>(port);
  options.udpPort = udpPort;
  for (const std::string& text : nrc) {
    const std::optional<std::pair<uint8_t, uint8_t>> parsed = ParseNrc(text);
    if (!parsed) {
      std::cerr << "tarvelo-carsim: --nrc takes SID:CODE in hex, for example 31:22\n";
      return 2;
    }
    options.faults.nrc.push_back(*parsed);
  }
  if (!refuseErase.empty()) {
    const std::optional<std::pair<uint8_t, uint8_t>> parsed = ParseNrc("31:" + refuseErase);
    if (!parsed || parsed->second == 0) {
      std::cerr << "tarvelo-carsim: --refuse-erase takes a negative response code in hex, for example 22\n";
      return 2;
    }
    options.faults.refuseErase = parsed->second;
  }
  if (verbose) options.log = [](const std::string& line) { std::cerr << line << std::endl; };

  StartSocketLibrary();
  TCarSim sim(options);
  try {
    sim.Start();
  } catch (const std::exception& e) {
    std::cerr << "tarvelo-carsim: " << e.what() << "\n";
    return 1;
  }
  std::cout << "tarvelo-carsim: gateway on " << options.bind << ":" << sim.TcpPort() << " (TCP)";
  if (udpPort != kNoDiscovery) std::cout << ", vehicle identification on UDP " << sim.UdpPort();
  std::cout << ", VIN " << options.vin << std::endl;
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
#ifdef SIGBREAK
  std::signal(SIGBREAK, OnSignal);  // Ctrl-Break in a Windows console
#endif
  while (!StopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  sim.Stop();
  StopSocketLibrary();
  return 0;
}
