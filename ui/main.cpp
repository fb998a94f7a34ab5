#include <iostream>
#include <string_view>

#include "ui/AppWindows.h"
#include "ui/CallersConsole.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: tarvelo [--help] [--version] [--lang de|en] [FILE]\n"
    "\n"
    "Tarvelo, the desktop program: keep a BMW car's service history (*.kelta files) and write it\n"
    "into the car's head unit over the Ethernet diagnostic access (ENET). It looks for its user\n"
    "guide tarvelo_help.pdf in the folder it is started from; the desktop entry starts it in the\n"
    "folder of the installed guide.\n"
    "\n"
    "FILE, a history file (*.kelta, *.bin) or its form as a spreadsheet or JSON (*.csv, *.json),\n"
    "is opened at start as \"Open\" opens it; so is a file dropped on the main window. A file\n"
    "that cannot be read is reported, and the program stays open with an empty list. Give a\n"
    "name that begins with \"-\" after \"--\".\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "  --lang de|en   the language of the windows: German or English (also TARVELO_LANG); without\n"
    "                 it, German where the system's language is German, English elsewhere\n"
    "\n"
    "The same work from the command line: tarvelo-cli (tarvelo-cli --help).\n"
    "A simulated car to try it with: tarvelo-carsim (tarvelo-carsim --help).\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before the application object exists, so that they need no display.
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg == "-h" || arg == "--help") {
      UseTheCallersConsole();
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version") {
      UseTheCallersConsole();
      std::cout << "tarvelo " TARVELO_VERSION_TEXT "\n";
      return 0;
    }
  }
  return RunTarvelo(argc, argv);
}
