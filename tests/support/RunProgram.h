#pragma once
// Runs a command line through the shell (cmd.exe on Windows) and takes what it prints on stdout
// (stderr too when the command says 2>&1) and its exit status.
#include <string>

struct ProgramRun {
  int code = -1;  // the exit status; -1 when it did not exit normally
  std::string out;
};

ProgramRun RunProgram(const std::string& command);

// A program of this build as a command line names it: BuiltProgram("tools/cli/tarvelo-cli").
std::string BuiltProgram(const std::string& relativePath);

// Appended to a command: what it prints on stderr goes nowhere.
extern const char* const kNoStderr;
