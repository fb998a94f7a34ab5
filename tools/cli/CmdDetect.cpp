// tarvelo-cli detect [--timeout SECONDS] [--all]: find the car's gateway on the local networks.
#include <CLI/CLI.hpp>

#include <chrono>

#include "enet/Discovery.h"
#include "history/TarveloError.h"
#include "tools/cli/CliSupport.h"

void AddDetectCommand(CLI::App& app, TCliStreams& io) {
  auto* cmd = app.add_subcommand("detect", "Find the car's diagnostic gateway by a broadcast on every local network");
  cmd->footer("Sends the vehicle identification request to UDP port 6811 on the directed broadcast address of\n"
              "every local IPv4 interface, again every 1.5 seconds until the gateway answers (a car switched on\n"
              "late is found all the same), and waits for the answer; after 5 seconds without one it says on\n"
              "stderr what to check.\n"
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
    } catch (const ETarveloError& e) {
      io.err << ErrorReportText(e.what()) << "\n";
      ExitWith(kExitUsage);
    }
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(static_cast<long long>(args->timeout * 1000));
    auto nextSend = start + kDiscoveryRepeat;
    bool found = false;
    bool hinted = false;
    for (;;) {
      const auto now = Clock::now();
      if (now >= deadline) break;
      if (now >= nextSend) {
        // Asked again while nobody answered (with --all: while the time lasts).
        if (!found || args->all) {
          try {
            discovery.SendAgain();
          } catch (const ETarveloError& e) {
            io.err << ErrorReportText(e.what()) << "\n";
            ExitWith(kExitUsage);
          }
        }
        nextSend += kDiscoveryRepeat;
        if (!found && !hinted && now - start >= kDiscoveryHintAfter) {
          hinted = true;
          io.err << kNoGatewayYet << "\n" << std::flush;
        }
      }
      const auto until = std::min(deadline, nextSend);
      if (!discovery.WaitForDatagram(std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()))) continue;
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
