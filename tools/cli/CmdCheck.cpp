// tarvelo-cli check [--strict] FILE: whether the bytes of a history file split into whole entries,
// then what the entries say that is likely wrong (HistoryCheck), one "WARN: " line each.
#include <CLI/CLI.hpp>

#include "history/HistoryCheck.h"
#include "tools/cli/CliSupport.h"

void AddCheckCommand(CLI::App& app, TCliStreams& io) {
  auto* cmd = app.add_subcommand("check", "Check that a history file splits into whole entries, and what its entries say");
  cmd->footer("Prints the path and the number of entries, then a \"WARN: \" line for each finding: a date that is\n"
              "no calendar date or lies after today, km that go down as the dates go up or exceed 9,999,999,\n"
              "the same entry twice, an entry without procedures, a workshop ID the editor would not take.\n"
              "Exit status: 0 valid (findings or not, unless --strict), 1 invalid data or, with --strict, any\n"
              "finding, 2 unreadable file, output that could not be written whole, or bad usage.");
  auto path = std::make_shared<std::string>();
  auto strict = std::make_shared<bool>(false);
  cmd->add_option("FILE", *path, "History file (*.kelta)")->required();
  cmd->add_flag("--strict", *strict, "Exit with 1 when there is any finding");
  cmd->callback([path, strict, &io] {
    RefuseOutputOverInput(*path, "", io);
    const THistoryList list = LoadHistoryOrExit(*path, io);
    io.out << "File: " << *path << "\n" << "Entries: " << list.size() << "\n";
    const std::vector<TFinding> findings = CheckHistory(list, LocalToday());
    for (const TFinding& finding : findings) io.out << FindingLine(finding) << "\n";
    if (*strict && !findings.empty()) ExitWith(kExitFailed);
  });
}
