#pragma once
// The log of a write that every request went through, as the ENET window and tarvelo-cli print it.
#include <string>
#include <vector>

inline std::vector<std::string> CompleteWriteLog(bool erase, const std::string& host = "127.0.0.1") {
  std::vector<std::string> lines = {"[ BEGIN ]", "", "- Connected to " + host};
  if (erase) lines.push_back("- Erasing current service history...");
  for (const char* line : {"- Writing new service history...", "- Finished writing, restarting Headunit...", "",
                           "[ COMPLETE ]", ""}) {
    lines.push_back(line);
  }
  return lines;
}
