#include "enet/HistoryWriter.h"

#include <algorithm>

#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"
#include "history/CodePage.h"

namespace {

void EndBlock(const TLogSink& log, const char* outcome) {
  log("");
  log(outcome);
  log("");
}

std::string EntryName(std::size_t index, std::size_t count) {
  return "entry " + std::to_string(index + 1) + " of " + std::to_string(count);
}

std::string Capitalized(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

// The indices of fates that are `fate`.
std::vector<std::size_t> IndicesOf(const std::vector<TEntryFate>& fates, TEntryFate fate) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < fates.size(); ++i) {
    if (fates[i] == fate) found.push_back(i);
  }
  return found;
}

// How one attempt of the write ended.
enum class TPassEnd {
  Completed,       // every request was sent (some may have failed)
  EraseFailed,     // the erase was refused or not answered: no entry was sent
  Stopped,         // the user stopped it
  ConnectionLost,  // the connection was gone after an entry's request
};

struct TPass {
  TPassEnd end = TPassEnd::Completed;
  bool erased = false;
  std::vector<TEntryFate> fates;
  std::size_t lostAt = 0;  // the entry whose request lost the connection
  bool failed = false;     // an "ERR: " line was logged
  bool eraseAnswered = false;  // EraseFailed: the head unit answered (it refused), else no answer came
};

// One attempt: erase (when asked), every entry, reset, over the open connection. It never opens
// the connection again: a request after the connection was lost would go to a new one.
class TWritePass {
 public:
  TWritePass(TEnetSession& session, const TWriteJob& job, const TLogSink& log, const TWriteObserver& observer)
      : session_(session), job_(job), log_(log), observer_(observer) {}

  TPass Run() {
    const std::size_t n = job_.entries.size();
    pass_.fates.assign(n, TEntryFate::NotSent);
    Progress(0);
    if (job_.erase) {
      if (StoppedBefore("the erase request")) return End(TPassEnd::Stopped);
      log_("- Erasing current service history...");
      const TExchange erase = Exchange(EraseHistoryRequest(), "the erase request", "Erasing the old history");
      if (!erase.ok) {
        pass_.eraseAnswered = erase.answer.Answered();
        if (erase.answer.missing == TNoAnswer::Stopped) StoppedBefore(EntryName(0, n));
        return End(TPassEnd::EraseFailed);
      }
      pass_.erased = true;
      session_.Pause(session_.Timings().erasePause);
    }
    if (StoppedBefore(EntryName(0, n))) return End(TPassEnd::Stopped);
    log_("- Writing new service history...");
    for (std::size_t i = 0; i < n; ++i) {
      if (i > 0 && StoppedBefore(EntryName(i, n))) return End(TPassEnd::Stopped);
      if (ClosedBefore(EntryName(i, n))) {
        pass_.lostAt = i;
        return End(TPassEnd::ConnectionLost);
      }
      const TExchange sent = Exchange(WriteEntryRequest(job_.entries[i]), EntryName(i, n), Capitalized(EntryName(i, n)));
      if (sent.ok) {
        pass_.fates[i] = TEntryFate::Taken;
      } else if (sent.answer.Answered()) {
        pass_.fates[i] = IsNegativeAnswer(sent.answer.uds) ? TEntryFate::Refused : TEntryFate::Unconfirmed;
      } else {
        pass_.fates[i] = TEntryFate::Unconfirmed;
        if (sent.answer.missing == TNoAnswer::Stopped) {
          StoppedBefore(i + 1 < n ? EntryName(i + 1, n) : std::string("the reset request"));
          return End(TPassEnd::Stopped);
        }
        if (!session_.Connected()) {
          pass_.lostAt = i;
          return End(TPassEnd::ConnectionLost);
        }
      }
      session_.Pause(session_.Timings().entryPause);
      Progress(i + 1);
    }
    if (StoppedBefore("the reset request")) return End(TPassEnd::Stopped);
    log_("- Finished writing, restarting Headunit...");
    // Every entry is in: a connection lost now is no reason to write them again.
    if (!ClosedBefore("the reset request")) Exchange(ResetRequest(), "the reset request", "Restarting the head unit");
    return End(TPassEnd::Completed);
  }

 private:
  TPass End(TPassEnd end) {
    pass_.end = end;
    return pass_;
  }

  void Progress(std::size_t written) {
    if (observer_.progress) observer_.progress(written, job_.entries.size());
  }

  // A stop takes effect before the next request, and before the step line that announces it.
  bool StoppedBefore(const std::string& what) {
    if (!session_.Wait().StopRequested()) return false;
    log_("ERR: Stopped by the user before " + what + ".");
    session_.Disconnect();
    pass_.failed = true;
    return true;
  }

  // The car closed the connection after its last answer: nothing more can be sent over it.
  bool ClosedBefore(const std::string& what) {
    if (session_.Connected()) return false;
    log_("ERR: The car closed the connection before " + what + ".");
    pass_.failed = true;
    return true;
  }

  struct TExchange {
    TEnetAnswer answer;
    bool ok = false;  // the expected positive answer
  };

  // One request and its answer; a problem is logged. While the head unit asks for more time, the
  // observer hears of it, with `waiting` naming the step.
  TExchange Exchange(const TBuffer& request, const std::string& what, const std::string& waiting) {
    if (observer_.waiting) {
      session_.SetPendingObserver([this, waiting](std::chrono::milliseconds waited) {
        observer_.waiting(waiting + ": the head unit asks for more time (" +
                          std::to_string(std::chrono::duration_cast<std::chrono::seconds>(waited).count()) + " s)",
                          waited);
      });
    }
    TExchange exchange;
    exchange.answer = session_.EnetRequest(request, kHeadUnitAddress);
    session_.SetPendingObserver({});
    const std::string problem = AnswerProblem(exchange.answer, request, what);
    exchange.ok = problem.empty();
    if (!exchange.ok) {
      log_(problem);
      pass_.failed = true;
    }
    return exchange;
  }

  TEnetSession& session_;
  const TWriteJob& job_;
  const TLogSink& log_;
  const TWriteObserver& observer_;
  TPass pass_;
};

}  // namespace

std::string EntriesText(const std::vector<std::size_t>& indices) {
  std::vector<std::string> runs;
  for (std::size_t i = 0; i < indices.size();) {
    std::size_t j = i;
    while (j + 1 < indices.size() && indices[j + 1] == indices[j] + 1) ++j;
    runs.push_back(j == i ? std::to_string(indices[i] + 1)
                          : std::to_string(indices[i] + 1) + " to " + std::to_string(indices[j] + 1));
    i = j + 1;
  }
  std::string text = indices.size() == 1 ? "entry " : "entries ";
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (r > 0) text += r + 1 == runs.size() ? " and " : ", ";
    text += runs[r];
  }
  return text;
}

std::string HeldByHeadUnit(const std::vector<TEntryFate>& fates, bool erased) {
  const std::vector<std::size_t> taken = IndicesOf(fates, TEntryFate::Taken);
  if (taken.size() == fates.size()) return {};
  const std::string of = " of " + std::to_string(fates.size());
  std::string line = erased ? "ERR: The head unit holds " : "ERR: The head unit holds its old history and ";
  line += taken.empty() ? std::string("no entry of the list") : EntriesText(taken) + of;
  if (const auto refused = IndicesOf(fates, TEntryFate::Refused); !refused.empty()) {
    line += "; it refused " + EntriesText(refused);
  }
  if (const auto unknown = IndicesOf(fates, TEntryFate::Unconfirmed); !unknown.empty()) {
    const bool one = unknown.size() == 1;
    line += "; " + EntriesText(unknown) + " got no answer or an unexpected one, so " +
            (one ? "it may be there too" : "they may be there too");
  }
  if (const auto notSent = IndicesOf(fates, TEntryFate::NotSent); !notSent.empty()) {
    line += "; " + EntriesText(notSent) + (notSent.size() == 1 ? " was" : " were") + " not written";
  }
  return line + ".";
}

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
                         const TWriteObserver& observer) {
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

  const std::size_t n = job.entries.size();
  for (int restarts = 0;; ++restarts) {
    const TPass pass = TWritePass(session, job, log, observer).Run();
    const auto finish = [&](bool failed) {
      if (pass.end != TPassEnd::EraseFailed) {
        if (const std::string held = HeldByHeadUnit(pass.fates, pass.erased); !held.empty()) log(held);
      }
      EndBlock(log, failed ? "[ ERROR ]" : "[ COMPLETE ]");
      return !failed;
    };
    switch (pass.end) {
      case TPassEnd::Completed:
      case TPassEnd::Stopped:
        return finish(pass.failed);
      case TPassEnd::EraseFailed:
        log(pass.eraseAnswered ? "ERR: The old service history was not erased, so nothing was written."
                               : "ERR: The erase got no answer: the head unit holds its old history, or nothing if it "
                                 "erased it; nothing of the list was written.");
        return finish(true);
      case TPassEnd::ConnectionLost:
        break;
    }
    // The head unit holds some of the list, and the entry whose answer was lost may or may not be
    // among them. With the erase the whole list goes in again, from the erase; without it, any
    // further entry would leave a gap or a duplicate.
    if (!job.erase || restarts == kMaxWriteRestarts) {
      log(job.erase ? "ERR: The connection was lost " + std::to_string(restarts + 1) +
                          " times, so the write stopped."
                    : "ERR: The connection was lost at " + EntryName(pass.lostAt, n) +
                          ", so the write stopped (without the erase, a new connection could only add a gap or "
                          "a duplicate).");
      return finish(true);
    }
    session.Disconnect();
    if (!session.EnetConnect()) {
      log(session.Wait().StopRequested() ? "ERR: Stopped by the user while connecting to " + job.host + " again."
                                         : "ERR: Could not connect to target again: " + job.host);
      return finish(true);
    }
    log("- The connection was lost at " + EntryName(pass.lostAt, n) +
        "; connected again, writing the whole history again...");
  }
}
