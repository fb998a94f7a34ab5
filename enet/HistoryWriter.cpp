#include "HistoryWriter.h"

#include <chrono>
#include <thread>

#include "CodePage.h"
#include "HexText.h"
#include "NegativeResponse.h"
#include "uENET.h"

namespace {

const std::string kHeadUnit(kHeadUnitAddressText);
const std::string kEraseRequest = "3101A080";
const std::string kEraseAnswer = "7101A080";
const std::string kWriteRequest = "3101A081";
const std::string kWriteAnswer = "7101A081";
const std::string kResetRequest = "1101";
const std::string kResetAnswer = "5101";


void EndBlock(const TLogSink& log, const char* outcome) {
  log("");
  log(outcome);
  log("");
}

}  // namespace

std::string WriteEntryRequest(const TBuffer& entry) { return kWriteRequest + BytesToHexText(entry); }

std::string AnswerProblem(const std::string& answerHex, const std::string& expectedHex, const std::string& what) {
  if (answerHex.empty()) return "ERR: No answer to " + what;
  if (answerHex.rfind(expectedHex, 0) == 0) return {};
  const TBuffer answer = HexTextToBytes(answerHex);
  const std::string spaced = BytesToSpacedHexText(answer);
  if (answer[0] == kNegativeResponse) {
    std::string line = "ERR: Head unit refused " + what + ": " + spaced;
    if (answer.size() >= 3) line += " (" + NegativeResponseName(answer[2]) + ")";
    return line;
  }
  return "ERR: Unexpected answer to " + what + ": " + spaced;
}

bool WriteServiceHistory(const TWriteJob& job, const TLogSink& log, const TWriteProgress& progress) {
  log("[ BEGIN ]");
  log("");
  Enet.HOST = Utf8ToAnsi(job.host);  // the connection speaks 8-bit text
  Enet.PORT = job.port;
  if (job.entries.empty()) {
    log("ERR: Service history list is empty!");
    EndBlock(log, "[ ERROR ]");
    return false;
  }
  if (!EnetConnect()) {
    log("ERR: Could not connect to target: " + job.host);
    EndBlock(log, "[ ERROR ]");
    return false;
  }
  log("- Connected to " + job.host);

  bool failed = false;
  const auto check = [&](const std::string& answer, const std::string& expected, const std::string& what) {
    const std::string problem = AnswerProblem(answer, expected, what);
    if (problem.empty()) return;
    log(problem);
    failed = true;
  };

  if (job.erase) {
    log("- Erasing current service history...");
    check(EnetRequest(kEraseRequest, kHeadUnit), kEraseAnswer, "the erase request");
    std::this_thread::sleep_for(job.erasePause);
  }
  log("- Writing new service history...");
  const std::size_t n = job.entries.size();
  for (std::size_t i = 0; i < n; ++i) {
    check(EnetRequest(WriteEntryRequest(job.entries[i]), kHeadUnit), kWriteAnswer,
          "entry " + std::to_string(i + 1) + " of " + std::to_string(n));
    std::this_thread::sleep_for(job.entryPause);
    if (progress) progress(i + 1, n);
  }
  log("- Finished writing, restarting Headunit...");
  check(EnetRequest(kResetRequest, kHeadUnit), kResetAnswer, "the reset request");

  EndBlock(log, failed ? "[ ERROR ]" : "[ COMPLETE ]");
  return !failed;
}
