#pragma once
// tarvelo-cli run inside the test's own process, as its main runs it: the arguments after the
// program's name, the exit code and what it wrote to stdout and stderr.
#include <sstream>
#include <string>
#include <vector>

#include "tools/cli/CliSupport.h"

struct CliResult {
  int code;
  std::string out;
  std::string err;
};

inline CliResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "tarvelo-cli");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int code = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}
