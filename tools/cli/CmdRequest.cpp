// tarvelo-cli request --host HOST [--target 63] HEX: one diagnostic exchange, by hand.
#include <CLI/CLI.hpp>

#include "enet/EnetFrame.h"
#include "enet/EnetSession.h"
#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"
#include "tools/cli/CliSupport.h"

namespace {

// The request's and the target's hex texts as bytes, checked before anything is sent: a byte the
// user did not mean must never reach a control unit.
struct TTypedRequest {
  uint8_t target = 0;
  TBuffer request;
};

TTypedRequest TypedRequestOrExit(const std::string& target, const std::string& request, TCliStreams& io) {
  std::string problem;
  const std::optional<TBuffer> targetBytes = ParseTypedHex(target, problem);
  if (!targetBytes || targetBytes->size() != 1) {
    io.err << "tarvelo-cli: --target takes the control unit's address as one byte in hex, such as 63 (the head "
              "unit), not \""
           << target << "\"\n";
    ExitWith(kExitUsage);
  }
  const std::optional<TBuffer> requestBytes = ParseTypedHex(request, problem);
  if (!requestBytes) {
    io.err << "tarvelo-cli: the request " << problem << "\n";
    ExitWith(kExitUsage);
  }
  if (requestBytes->size() > kMaxRequestSize) {
    io.err << "tarvelo-cli: the request has " << requestBytes->size() << " bytes; at most " << kMaxRequestSize
           << " fit in one frame\n";
    ExitWith(kExitUsage);
  }
  return {targetBytes->front(), *requestBytes};
}

}  // namespace

void AddRequestCommand(CLI::App& app, TCliStreams& io) {
  auto* cmd = app.add_subcommand("request", "Send one UDS request to a control unit and print its answer");
  cmd->footer("The request is whole bytes of two hex digits each (either case; spaces between bytes are allowed),\n"
              "the target one byte; anything else is refused before a connection is made.\n"
              "Prints the answer as hex text (response-pending answers are waited out).\n"
              "Exit status: 0 answered, 1 no answer (\"ERR: no answer\" and why), 2 bad usage (also hex that is\n"
              "not whole bytes).\n"
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
  cmd->add_option("--target", args->target, "Diagnostic address of the control unit, one byte in hex")->capture_default_str();
  cmd->add_option("HEX", args->request, "The request as hex text; spaces between bytes are allowed")->required();
  cmd->callback([args, &io] {
    // The words of the request as typed, one text: "31 01" typed as two words is "31 01".
    std::string request;
    for (const std::string& part : args->request) request += (request.empty() ? "" : " ") + part;
    const TTypedRequest typed = TypedRequestOrExit(args->target, request, io);
    TEnetSession session;
    session.SetTarget(args->host, static_cast<uint32_t>(args->port));
    TStopOnInterrupt stop(session.Wait());
    const TEnetAnswer answer = session.EnetRequest(typed.request, typed.target);
    if (!answer.Answered() || answer.uds.empty()) {
      io.err << "ERR: no answer (" << (answer.Answered() ? "the answer held no message" : NoAnswerText(*answer.missing))
             << ")\n";
      ExitWith(stop.Interrupted() ? kExitInterrupted : kExitFailed);
    }
    io.out << BytesToHexText(answer.uds) << "\n";
  });
}
