#include <unistd.h>

#include <iostream>

#include "CliSupport.h"
#include "SocketPlatform.h"

int main(int argc, char** argv) {
  StartSocketLibrary();
  const int code = RunCli(argc, argv, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
  StopSocketLibrary();
  return code;
}
