#include <unistd.h>

#include <iostream>

#include "CliSupport.h"

int main(int argc, char** argv) { return RunCli(argc, argv, std::cout, std::cerr, isatty(STDERR_FILENO) != 0); }
