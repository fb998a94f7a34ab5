#include "tests/support/RunProgram.h"

#include <algorithm>
#include <cstdio>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

std::string ReadToEnd(FILE* pipe) {
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  return out;
}

}  // namespace

#ifdef _WIN32

const char* const kNoStderr = " 2>NUL";

// Text mode: the program's CR LF line ends arrive as "\n", as on POSIX.
ProgramRun RunProgram(const std::string& command) {
  ProgramRun run;
  FILE* pipe = _popen(command.c_str(), "rt");
  if (!pipe) return run;
  run.out = ReadToEnd(pipe);
  run.code = _pclose(pipe);
  return run;
}

// cmd.exe takes "/" for the start of a switch, so the path gets backslashes.
std::string BuiltProgram(const std::string& relativePath) {
  std::string path = std::string(TARVELO_BINARY_DIR) + "/" + relativePath + ".exe";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

#else

const char* const kNoStderr = " 2>/dev/null";

ProgramRun RunProgram(const std::string& command) {
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  run.out = ReadToEnd(pipe);
  const int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string BuiltProgram(const std::string& relativePath) { return std::string(TARVELO_BINARY_DIR) + "/" + relativePath; }

#endif
