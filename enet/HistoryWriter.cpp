#include "HistoryWriter.h"

#include <algorithm>

#include "CodePage.h"
#include "HeadUnitProtocol.h"
#include "HexText.h"

namespace {

void EndBlock(const TLogSink& log, const char* outcome) {
  log("");
  log(outcome);
  log("");
}

std::string EntryName(std::size_t index, std::size_t count) {
  return "entry " + std::to_string(index + 1) + " of " + std::to_string(count);
}

}  // namespace

std::string AnswerProblem(const TEnetAnswer& answer, std::span<const uint8_t> request, const std::string& what) {
  if (!answer.Answered()) return "ERR: No answer to " + what + " (" + NoAnswerText(*answer.missing) + ")";
  const TBuffer expected = PositiveAnswerHead(request);
  if (answer.uds.size() >= expected.size() && std::equal(expected.begin(), expected.end(), answer.uds.begin())) return {};
  const std::string spaced = answer.uds.empty() ? "(an empty message)" : BytesToSpacedHexText(answer.uds);
  if (IsNegativeAnswer(answer.uds)) {
    std::string line = "ERR: Head unit refused " + what + ": " + spaced;
    if (answer.uds.size() >= 3) line += " (" + NegativeResponseName(answer.uds[2]) + ")";
    return line;
  }
  return "ERR: Unexpected answer to " + what + ": " + spaced;
}

bool WriteServiceHistory(TEnetSession& session, const TWriteJob& job, const TLogSink& log,
                         const TWriteProgress& progress) {
  session.Wait().ClearStop();
  log("[ BEGIN ]");
  log("");
  session.SetTarget(Utf8ToAnsi(job.host), job.port);  // the connection speaks 8-bit text
  if (job.entries.empty()) {
    log("ERR: Service history list is empty!");
    EndBlock(log, "[ ERROR ]");
    return false;
  }
  if (!session.EnetConnect()) {
    log(session.Wait().StopRequested() ? "ERR: Stopped by the user while connecting to " + job.host + "."
                                       : "ERR: Could not connect to target: " + job.host);
    EndBlock(log, "[ ERROR ]");
    return false;
  }
  log("- Connected to " + job.host);

  bool failed = false;
  // A stop takes effect before the next request, and before the step line that announces it.
  const auto stoppedBefore = [&](const std::string& what) {
    if (!session.Wait().StopRequested()) return false;
    log("ERR: Stopped by the user before " + what + ".");
    session.Disconnect();
    failed = true;
    return true;
  };
  const auto send = [&](const TBuffer& request, const std::string& what) {
    const std::string problem = AnswerProblem(session.EnetRequest(request, kHeadUnitAddress), request, what);
    if (problem.empty()) return;
    log(problem);
    failed = true;
  };
  const auto finish = [&] {
    EndBlock(log, failed ? "[ ERROR ]" : "[ COMPLETE ]");
    return !failed;
  };

  const std::size_t n = job.entries.size();
  if (job.erase) {
    if (stoppedBefore("the erase request")) return finish();
    log("- Erasing current service history...");
    send(EraseHistoryRequest(), "the erase request");
    session.Pause(session.Timings().erasePause);
  }
  if (stoppedBefore(EntryName(0, n))) return finish();
  log("- Writing new service history...");
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && stoppedBefore(EntryName(i, n))) return finish();
    send(WriteEntryRequest(job.entries[i]), EntryName(i, n));
    session.Pause(session.Timings().entryPause);
    if (progress) progress(i + 1, n);
  }
  if (stoppedBefore("the reset request")) return finish();
  log("- Finished writing, restarting Headunit...");
  send(ResetRequest(), "the reset request");
  return finish();
}
