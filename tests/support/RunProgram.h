#pragma once
// Runs a command line through the shell and takes what it prints on stdout (stderr too when the
// command says 2>&1) and its exit status.
#include <string>

struct ProgramRun {
  int code = -1;  // the exit status; -1 when it did not exit normally
  std::string out;
};

ProgramRun RunProgram(const std::string& command);
