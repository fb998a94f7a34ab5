#include <cstdio>
#include <iostream>
#include <string_view>

#include "AppWindows.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr std::string_view kUsage =
    "Usage: tarvelo [--help] [--version] [--lang de|en]\n"
    "\n"
    "Tarvelo, the desktop program: keep a BMW car's service history (*.kelta files) and write it\n"
    "into the car's head unit over the Ethernet diagnostic access (ENET). It looks for its user\n"
    "guide tarvelo_help.pdf in the folder it is started from; the desktop entry starts it in the\n"
    "folder of the installed guide.\n"
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

// On Windows tarvelo.exe is a window program, which has no console: --help and --version print
// into the console of the command window it was started from, when there is one.
void PrintToTheCallersConsole() {
#ifdef _WIN32
  if (GetStdHandle(STD_OUTPUT_HANDLE) == nullptr && AttachConsole(ATTACH_PARENT_PROCESS)) {
    (void)!std::freopen("CONOUT$", "w", stdout);
  }
#endif
}

int main(int argc, char** argv) {
  // Answered before the application object exists, so that they need no display.
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help" || arg == "--version") PrintToTheCallersConsole();
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version") {
      std::cout << "tarvelo " TARVELO_VERSION_TEXT "\n";
      return 0;
    }
  }
  return RunTarvelo(argc, argv);
}
