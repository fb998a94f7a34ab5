#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "CliSupport.h"
#include "SocketPlatform.h"

int main(int argc, char** argv) {
  StartSocketLibrary();
#ifdef _WIN32
  const bool terminal = _isatty(_fileno(stderr)) != 0;
#else
  const bool terminal = isatty(STDERR_FILENO) != 0;
#endif
  const int code = RunCli(argc, argv, std::cout, std::cerr, terminal);
  StopSocketLibrary();
  return code;
}
