// tarvelo-cli request --host HOST [--target 63] HEX: one diagnostic exchange, by hand.
#include <CLI/CLI.hpp>

#include "CliSupport.h"
#include "EnetFrame.h"
#include "uENET.h"

void AddRequestCommand(CLI::App& app, CliStreams& io) {
  auto* cmd = app.add_subcommand("request", "Send one UDS request to a control unit and print its answer");
  cmd->footer("Prints the answer as hex text (response-pending answers are waited out).\n"
              "Exit status: 0 answered, 1 no answer (\"ERR: no answer\"), 2 bad usage.\n"
              "Example: tarvelo-cli request --host 127.0.0.1 3101A080");
  struct Args {
    std::string host;
    int port = kEnetPort;
    std::string target{kHeadUnitAddressText};
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
    SetEnetTarget(args->host, static_cast<uint32_t>(args->port));
    const std::string answer = EnetRequest(request, args->target);
    if (answer.empty()) {
      io.err << "ERR: no answer\n";
      ExitWith(kExitFailed);
    }
    io.out << answer << "\n";
  });
}
