// tarvelo-cli request --host HOST [--target 63] HEX: one diagnostic exchange, by hand.
#include <CLI/CLI.hpp>

#include "CliSupport.h"
#include "EnetSession.h"
#include "HeadUnitProtocol.h"
#include "HexText.h"

void AddRequestCommand(CLI::App& app, CliStreams& io) {
  auto* cmd = app.add_subcommand("request", "Send one UDS request to a control unit and print its answer");
  cmd->footer("Prints the answer as hex text (response-pending answers are waited out).\n"
              "Exit status: 0 answered, 1 no answer (\"ERR: no answer\" and why), 2 bad usage.\n"
              "Example: tarvelo-cli request --host 127.0.0.1 3101A080");
  struct Args {
    std::string host;
    int port = kEnetPort;
    std::string target = BytesToHexText(TBuffer{kHeadUnitAddress});
    std::vector<std::string> request;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("--host", args->host, "Gateway address or host name")->required();
  cmd->add_option("--port", args->port, "Gateway TCP port")->capture_default_str()->check(CLI::Range(1, 65535));
  cmd->add_option("--target", args->target, "Diagnostic address of the control unit, hex")->capture_default_str();
  cmd->add_option("HEX", args->request, "The request as hex text; spaces between bytes are allowed")->required();
  cmd->callback([args, &io] {
    std::string request;
    for (const std::string& part : args->request) request += part;
    const std::optional<THexRequest> hex = HexRequest(args->target, request);
    if (!hex) {
      io.err << "tarvelo-cli: --target takes the control unit's address in hex, for example 63\n";
      ExitWith(kExitUsage);
    }
    TEnetSession session;
    session.SetTarget(args->host, static_cast<uint32_t>(args->port));
    StopOnInterrupt stop(session.Wait());
    const TEnetAnswer answer = session.EnetRequest(hex->request, hex->target);
    if (!answer.Answered() || answer.uds.empty()) {
      io.err << "ERR: no answer (" << (answer.Answered() ? "the answer held no message" : NoAnswerText(*answer.missing))
             << ")\n";
      ExitWith(stop.Interrupted() ? kExitInterrupted : kExitFailed);
    }
    io.out << BytesToHexText(answer.uds) << "\n";
  });
}
