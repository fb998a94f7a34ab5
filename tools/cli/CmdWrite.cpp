// tarvelo-cli write --host HOST [--no-erase] FILE: the history file into the car's head unit,
// with the same sequence and the same log lines as the desktop program's "Start".
#include <CLI/CLI.hpp>

#include <chrono>
#include <optional>

#include "enet/HistoryWriter.h"
#include "enet/SessionTrace.h"
#include "history/TarveloError.h"
#include "tools/cli/CliSupport.h"

namespace {
// At most one note on stderr in this time while the head unit asks for more time.
constexpr std::chrono::seconds kWaitingNoteInterval{5};
}  // namespace

void AddWriteCommand(CLI::App& app, TCliStreams& io) {
  auto* cmd = app.add_subcommand("write", "Write a history file into the head unit of the car");
  cmd->footer("Prints the log of the write on stdout. Ctrl-C stops the write before its next request\n"
              "(a second Ctrl-C ends the program at once).\n"
              "Exit status: 0 \"[ COMPLETE ]\", 1 \"[ ERROR ]\" or invalid data, 2 unreadable file or bad usage,\n"
              "130 stopped by Ctrl-C.\n"
              "--trace writes every frame sent and received as a pcap file for Wireshark or tshark, flushed\n"
              "after each frame (TCP, IPv4 and Ethernet headers made up around the frames).");
  struct Args {
    std::string host;
    int port = kEnetPort;
    bool noErase = false;
    std::string file;
    std::string trace;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("--host", args->host, "Gateway address or host name")->required();
  cmd->add_option("--port", args->port, "Gateway TCP port")->capture_default_str()->check(CLI::Range(1, 65535));
  cmd->add_flag("--no-erase", args->noErase, "Keep the head unit's old service history (no erase first)");
  cmd->add_option("--trace", args->trace, "Write every frame of the connection to this pcap file");
  cmd->add_option("FILE", args->file, "History file (*.kelta)")->required();
  cmd->callback([args, &io] {
    TWriteJob job;
    job.entries = LoadHistoryOrExit(args->file, io);
    job.host = args->host;
    job.port = static_cast<uint32_t>(args->port);
    job.erase = !args->noErase;
    TEnetSession session;
    std::unique_ptr<TPcapFile> traceFile;
    std::unique_ptr<TSessionTrace> trace;
    if (!args->trace.empty()) {
      try {
        traceFile = std::make_unique<TPcapFile>(args->trace);
      } catch (const ETarveloError& e) {
        io.err << ErrorReportText(e.what()) << "\n";
        ExitWith(kExitUsage);
      }
      trace = std::make_unique<TSessionTrace>(session, traceFile->Sink());
    }
    TStopOnInterrupt stop(session.Wait());
    // The pauses between entries make a long history take a while: show how far it is on a terminal.
    const bool terminal = io.showProgress;
    TWriteObserver observer;
    observer.progress = [&io, terminal](std::size_t written, std::size_t total) {
      if (!terminal) return;
      io.err << "\rWritten " << written << " of " << total << " entries" << (written == total ? "\n" : "") << std::flush;
    };
    // A head unit that keeps asking for more time is no hang: say so, now and then. A short wait
    // is not worth a line (head units ask for time for the erase as a matter of course).
    std::optional<std::chrono::steady_clock::time_point> lastNote;
    observer.waiting = [&io, terminal, &lastNote](const std::string& text, std::chrono::milliseconds waited) {
      const auto now = std::chrono::steady_clock::now();
      if (waited < kWaitingNoteInterval || (lastNote && now - *lastNote < kWaitingNoteInterval)) return;
      lastNote = now;
      io.err << (terminal ? "\r" : "") << text << "\n" << std::flush;
    };
    const bool complete = WriteServiceHistory(
        session, job, [&io](const std::string& line) { io.out << line << std::endl; }, observer);
    if (stop.Interrupted()) ExitWith(kExitInterrupted);
    if (!complete) ExitWith(kExitFailed);
  });
}
