// tarvelo-cli detect [--timeout SECONDS] [--all]: find the car's gateway on the local networks.
#include <CLI/CLI.hpp>
#include <poll.h>

#include <chrono>
#include <set>

#include "CliSupport.h"
#include "Discovery.h"
#include "TarveloError.h"

namespace {

// Waits until a datagram arrives at the port or the deadline passes.
bool WaitForDatagram(const TUdpPort& port, std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return false;
  pollfd p{port.Handle(), POLLIN, 0};
  return poll(&p, 1, static_cast<int>(left.count())) > 0;
}

}  // namespace

void AddDetectCommand(CLI::App& app, CliStreams& io) {
  auto* cmd = app.add_subcommand("detect", "Find the car's diagnostic gateway by a broadcast on every local network");
  cmd->footer("Sends the vehicle identification request to UDP port 6811 on the directed broadcast address of\n"
              "every local IPv4 interface and waits for the gateway's answer.\n"
              "Exit status: 0 a gateway answered, 1 none answered (\"ERR: No vehicle answered\"), 2 bad usage\n"
              "or the UDP port failed.");
  struct Args {
    double timeout = 3;
    bool all = false;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("--timeout", args->timeout, "Seconds to wait for answers")->capture_default_str()->check(CLI::Range(0.0, 3600.0));
  cmd->add_flag("--all", args->all, "Wait the whole time and list every gateway that answered (VIN and address)");
  cmd->callback([args, &io] {
    TUdpPort port;
    io.out << "Auto detecting...\n\n" << std::flush;
    try {
      SendVehicleIdentification(port, EnumInterfaces);
    } catch (const TarveloError& e) {
      io.err << ErrorReportText(e.what()) << "\n";
      ExitWith(kExitUsage);
    }
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(args->timeout * 1000));
    std::set<std::pair<std::string, std::string>> gateways;  // VIN, address
    while (WaitForDatagram(port, deadline)) {
      while (const std::optional<TDatagram> datagram = port.ReadDatagram()) {
        if (!IsGatewayAnswer(datagram->data)) continue;
        if (!args->all) {
          for (const std::string& line : FoundLines(datagram->data, datagram->sourceAddress)) io.out << line << "\n";
          return;
        }
        if (gateways.emplace(VinText(datagram->data), datagram->sourceAddress).second) {
          io.out << VinText(datagram->data) << "  " << datagram->sourceAddress << "\n" << std::flush;
        }
      }
    }
    if (gateways.empty()) {
      io.err << "ERR: No vehicle answered\n";
      ExitWith(kExitFailed);
    }
  });
}
