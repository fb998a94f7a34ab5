// tarvelo-cli detect [--timeout SECONDS] [--all]: find the car's gateway on the local networks.
#include <CLI/CLI.hpp>

#include <chrono>

#include "CliSupport.h"
#include "Discovery.h"
#include "TarveloError.h"

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
    using Clock = std::chrono::steady_clock;
    TDiscoverySession discovery(EnumInterfaces, args->all ? TDiscoverySession::Mode::AllGateways
                                                          : TDiscoverySession::Mode::FirstGateway);
    io.out << "Auto detecting...\n\n" << std::flush;
    try {
      discovery.Start();
    } catch (const TarveloError& e) {
      io.err << ErrorReportText(e.what()) << "\n";
      ExitWith(kExitUsage);
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<long long>(args->timeout * 1000));
    bool found = false;
    while (discovery.WaitForDatagram(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()))) {
      while (const std::optional<TDatagram> datagram = discovery.ReadDatagram()) {
        const std::optional<TGatewayAnswer> gateway = discovery.Accept(*datagram);
        if (!gateway) continue;
        if (!args->all) {
          for (const std::string& line : FoundLines(*gateway)) io.out << line << "\n";
          return;
        }
        found = true;
        io.out << gateway->vin << "  " << gateway->address << "\n" << std::flush;
      }
    }
    if (!found) {
      io.err << "ERR: No vehicle answered\n";
      ExitWith(kExitFailed);
    }
  });
}
