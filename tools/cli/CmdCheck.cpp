// tarvelo-cli check FILE: whether the bytes of a history file split into whole entries.
#include <CLI/CLI.hpp>

#include "CliSupport.h"

void AddCheckCommand(CLI::App& app, CliStreams& io) {
  auto* cmd = app.add_subcommand("check", "Check that a history file splits into whole entries");
  cmd->footer("Exit status: 0 valid, 1 invalid data, 2 unreadable file or bad usage.");
  auto path = std::make_shared<std::string>();
  cmd->add_option("FILE", *path, "History file (*.kelta)")->required();
  cmd->callback([path, &io] {
    const THistoryList list = LoadHistoryOrExit(*path, io);
    io.out << "File: " << *path << "\n" << "Entries: " << list.size() << "\n";
  });
}
