#include <gtest/gtest.h>

#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"
#include "enet/HistoryWriter.h"
#include "history/HistoryFile.h"
#include "tests/ExpectedLogs.h"
#include "tests/TestEntries.h"
#include "tests/support/SimulatedCar.h"

namespace {

using Lines = std::vector<std::string>;


THistoryList ThreeEntries() { return {EntryWithProcedures(1, 3), ExampleEntryBytes(), EntryWithProcedures(0, 1)}; }

struct Written {
  bool complete;
  Lines log;
  std::vector<std::pair<std::size_t, std::size_t>> progress;
};

using TProgress = std::function<void(std::size_t, std::size_t)>;

Written Write(TEnetSession& session, uint16_t port, THistoryList entries, bool erase, std::string host = "127.0.0.1",
              const TProgress& alsoOnProgress = {}) {
  Written w{};
  TWriteJob job{host, port, std::move(entries), erase};
  TWriteObserver observer;
  observer.progress = [&](std::size_t done, std::size_t total) {
    w.progress.emplace_back(done, total);
    if (alsoOnProgress) alsoOnProgress(done, total);
  };
  w.complete = WriteServiceHistory(session, job, [&](const std::string& line) { w.log.push_back(line); }, observer);
  return w;
}

Written Write(SimulatedCar& car, THistoryList entries, bool erase, std::string host = "127.0.0.1",
              TEnetTimings timings = QuickTimings()) {
  const auto session = car.Session(timings);
  return Write(*session, car.Port(), std::move(entries), erase, std::move(host));
}

std::vector<std::string> RequestTexts(TCarSim& sim) {
  std::vector<std::string> texts;
  for (const TReceivedFrame& f : sim.ReceivedFrames()) {
    EXPECT_EQ(f.source, 0xF4);
    EXPECT_EQ(f.target, 0x63);
    texts.push_back(BytesToHexText(f.uds));
  }
  return texts;
}

TEST(HistoryWriter, WritesWithEraseAndTheHeadUnitHoldsTheListByteForByte) {
  TCarSimOptions options;
  SimulatedCar car({}, options);
  const Written w = Write(car, ThreeEntries(), true);
  EXPECT_TRUE(w.complete);
  EXPECT_EQ(w.log, CompleteWriteLog(true));
  const THistoryList entries = ThreeEntries();
  EXPECT_EQ(car->ReceivedRequests(), (std::vector<TBuffer>{EraseHistoryRequest(), WriteEntryRequest(entries[0]),
                                                             WriteEntryRequest(entries[1]), WriteEntryRequest(entries[2]),
                                                             ResetRequest()}));
  RequestTexts(car.Sim());  // every request from the tester to the head unit
  EXPECT_EQ(JoinHistory(car->History()), JoinHistory(entries));
  EXPECT_EQ(w.progress, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

TEST(HistoryWriter, TheSessionKeepsTheHostAndItsOpenConnection) {
  SimulatedCar car;
  TEnetSession session(QuickTimings());
  EXPECT_TRUE(Write(session, car.Port(), ThreeEntries(), true).complete);
  EXPECT_EQ(session.Host(), "127.0.0.1");
  EXPECT_EQ(session.Port(), car.Port());
  EXPECT_TRUE(session.Connected());  // the connection stays open after the write
}

TEST(HistoryWriter, WithoutEraseNoEraseRequestIsSentAndTheOldHistoryStays) {
  SimulatedCar car;
  Write(car, {EntryWithProcedures(2, 99)}, true);
  const auto start = std::chrono::steady_clock::now();
  const Written w = Write(car, ThreeEntries(), false, "127.0.0.1", TEnetTimings{});  // the car's own pauses
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(w.complete);
  EXPECT_EQ(w.log, CompleteWriteLog(false));
  const std::vector<std::string> requests = RequestTexts(car.Sim());
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "3101A080"), 1);  // only the first write's
  EXPECT_EQ(car->History().size(), 4u);
  EXPECT_GE(took, std::chrono::milliseconds(300));  // three pauses of 100 ms, and no 200 ms one
  EXPECT_LT(took, std::chrono::milliseconds(3000));
}

TEST(HistoryWriter, AnEmptyListOpensNoConnection) {
  SimulatedCar car;
  const Written w = Write(car, {}, true);
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "ERR: Service history list is empty!", "", "[ ERROR ]", ""}));
  EXPECT_EQ(car->Connections(), 0);
}

TEST(HistoryWriter, AnEmptyAddressOrNoGatewayCannotConnect) {
  SimulatedCar car;
  Written w = Write(car, ThreeEntries(), true, "");
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "ERR: Could not connect to target: ", "", "[ ERROR ]", ""}));

  uint16_t closedPort;
  {
    SimulatedCar gone;
    closedPort = gone.Port();
  }
  TEnetSession session(QuickTimings());
  w = Write(session, closedPort, ThreeEntries(), true);
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "ERR: Could not connect to target: 127.0.0.1", "", "[ ERROR ]", ""}));
}

// Refused entries do not stop the write: every request is still sent, and the end of the log names
// the entries the head unit did not take.
TEST(HistoryWriter, RefusedEntriesAreReportedAndTheSequenceGoesOn) {
  TCarSimFaults refuse;
  refuse.nrc = {{0x31, 0x22}};
  SimulatedCar car(refuse);
  const Written w = Write(car, {ExampleEntryBytes(), EntryWithProcedures(1)}, false);
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Writing new service history...",
                          "ERR: Head unit refused entry 1 of 2: 7F 31 22 (conditionsNotCorrect)",
                          "ERR: Head unit refused entry 2 of 2: 7F 31 22 (conditionsNotCorrect)",
                          "- Finished writing, restarting Headunit...",
                          "ERR: The head unit holds its old history and no entry of the list; it refused entries 1 to 2.",
                          "", "[ ERROR ]", ""}));
  EXPECT_EQ(car->ReceivedFrames().size(), 3u);  // every request was still sent
}

// An erase the head unit refuses stops the write before any entry: the old history stays whole
// (no entry of the list would otherwise be added to it, as duplicates).
TEST(HistoryWriter, ARefusedEraseWritesNothing) {
  const THistoryList old = {EntryWithProcedures(2, 500), EntryWithProcedures(1, 400)};
  TCarSimFaults refuse;
  refuse.refuseErase = 0x22;
  SimulatedCar car(refuse, CarSimOptionsLoading(old));
  const Written w = Write(car, ThreeEntries(), true);
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Erasing current service history...",
                          "ERR: Head unit refused the erase request: 7F 31 22 (conditionsNotCorrect)",
                          "ERR: The old service history was not erased, so nothing was written.", "", "[ ERROR ]", ""}));
  EXPECT_EQ(car->ReceivedRequests(), std::vector<TBuffer>{EraseHistoryRequest()});
  EXPECT_EQ(car->History(), old);
}

TEST(HistoryWriter, AMalformedEntryIsRefusedByTheHeadUnit) {
  SimulatedCar car;
  TBuffer broken = ExampleEntryBytes();
  broken.pop_back();
  const Written w = Write(car, {EntryWithProcedures(1), broken, EntryWithProcedures(2)}, false);
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log[3], "- Writing new service history...");
  EXPECT_EQ(w.log[4], "ERR: Head unit refused entry 2 of 3: 7F 31 13 (incorrectMessageLengthOrInvalidFormat)");
  EXPECT_EQ(w.log[5], "- Finished writing, restarting Headunit...");
  EXPECT_EQ(car->History().size(), 2u);
}

// A head unit that keeps silent: the session gives the connection up after its time-out, and the
// write stops there rather than going on over a new connection.
TEST(HistoryWriter, ASilentHeadUnitStopsTheWriteAtTheFirstEntry) {
  SimulatedCar car(SilentCar());
  const Written w = Write(car, {ExampleEntryBytes(), ExampleEntryBytes()}, false, "127.0.0.1", ImpatientTimings());
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Writing new service history...",
                          "ERR: No answer to entry 1 of 2 (the car did not answer in time)",
                          "ERR: The connection was lost at entry 1 of 2, so the write stopped (without the erase, a new "
                          "connection could only add a gap or a duplicate).",
                          "ERR: The head unit holds its old history and no entry of the list; entry 1 got no answer or an "
                          "unexpected one, so it may be there too; entry 2 was not written.",
                          "", "[ ERROR ]", ""}));
  EXPECT_EQ(car->Connections(), 1);
}

// The car drops the connection at entry 3 of 5, before or after its head unit stored the entry.
struct DropCase {
  const char* name;
  bool erase;
  bool dropAfterStoring;
  int drops;          // connections that drop
  Lines tail;         // the log from the first "ERR: " line on
  int connections;
  std::function<THistoryList(const THistoryList& old, const THistoryList& list)> holds;
};

TEST(HistoryWriter, AConnectionLostOnTheWayLeavesTheCarHoldingExactlyTheListOrSaysWhatItHolds) {
  const THistoryList old = {EntryWithProcedures(2, 700), EntryWithProcedures(1, 600)};
  const THistoryList list = {EntryWithProcedures(1, 1), EntryWithProcedures(1, 2), EntryWithProcedures(2, 3),
                             EntryWithProcedures(1, 4), EntryWithProcedures(3, 5)};
  const std::string lost = "ERR: No answer to entry 3 of 5 (the car closed the connection)";
  const std::string again = "- The connection was lost at entry 3 of 5; connected again, writing the whole history again...";
  const Lines restarted = {lost, again, "- Erasing current service history...", "- Writing new service history...",
                           "- Finished writing, restarting Headunit...", "", "[ COMPLETE ]", ""};
  const auto exactly = [](const THistoryList&, const THistoryList& l) { return l; };
  const DropCase cases[] = {
      {"erase, dropped before storing", true, false, 1, restarted, 2, exactly},
      {"erase, dropped after storing", true, true, 1, restarted, 2, exactly},
      {"erase, dropped every time", true, false, 3,
       {lost, again, "- Erasing current service history...", "- Writing new service history...", lost,
        "- The connection was lost at entry 3 of 5; connected again, writing the whole history again...",
        "- Erasing current service history...", "- Writing new service history...", lost,
        "ERR: The connection was lost 3 times, so the write stopped.",
        "ERR: The head unit holds entries 1 to 2 of 5; entry 3 got no answer or an unexpected one, so it may be there "
        "too; entries 4 to 5 were not written.",
        "", "[ ERROR ]", ""},
       3, [](const THistoryList&, const THistoryList& l) { return THistoryList(l.begin(), l.begin() + 2); }},
      {"no erase, dropped before storing", false, false, 1,
       {lost,
        "ERR: The connection was lost at entry 3 of 5, so the write stopped (without the erase, a new connection could "
        "only add a gap or a duplicate).",
        "ERR: The head unit holds its old history and entries 1 to 2 of 5; entry 3 got no answer or an unexpected one, so "
        "it may be there too; entries 4 to 5 were not written.",
        "", "[ ERROR ]", ""},
       1,
       [](const THistoryList& o, const THistoryList& l) {
         THistoryList held = o;
         held.insert(held.end(), l.begin(), l.begin() + 2);
         return held;
       }},
      {"no erase, dropped after storing", false, true, 1,
       {lost,
        "ERR: The connection was lost at entry 3 of 5, so the write stopped (without the erase, a new connection could "
        "only add a gap or a duplicate).",
        "ERR: The head unit holds its old history and entries 1 to 2 of 5; entry 3 got no answer or an unexpected one, so "
        "it may be there too; entries 4 to 5 were not written.",
        "", "[ ERROR ]", ""},
       1,
       [](const THistoryList& o, const THistoryList& l) {
         THistoryList held = o;
         held.insert(held.end(), l.begin(), l.begin() + 3);
         return held;
       }},
  };
  for (const DropCase& c : cases) {
    SCOPED_TRACE(c.name);
    TCarSimFaults drop;
    drop.dropAtEntry = 3;
    drop.dropAfterStoring = c.dropAfterStoring;
    drop.drops = c.drops;
    SimulatedCar car(drop, CarSimOptionsLoading(old));
    const Written w = Write(car, list, c.erase);
    const auto first = std::find_if(w.log.begin(), w.log.end(), [](const std::string& l) { return l.rfind("ERR: ", 0) == 0; });
    EXPECT_EQ(Lines(first, w.log.end()), c.tail);
    EXPECT_EQ(w.complete, c.tail[c.tail.size() - 2] == "[ COMPLETE ]");
    EXPECT_EQ(car->Connections(), c.connections);
    EXPECT_EQ(car->History(), c.holds(old, list));
  }
}

// While the head unit asks for more time, the observer hears of it, naming the step.
TEST(HistoryWriter, AHeadUnitThatAsksForMoreTimeIsReported) {
  TCarSimFaults slow;
  slow.pending = 3;
  SimulatedCar car(slow);
  TEnetSession session(QuickTimings());
  TWriteObserver observer;
  Lines waiting;
  observer.waiting = [&](const std::string& text, std::chrono::milliseconds) { waiting.push_back(text); };
  TWriteJob job{"127.0.0.1", car.Port(), {ExampleEntryBytes()}, true};
  EXPECT_TRUE(WriteServiceHistory(session, job, [](const std::string&) {}, observer));
  ASSERT_EQ(waiting.size(), 9u);  // three for each of the three requests
  const std::string prefixes[] = {"Erasing the old history", "Entry 1 of 1", "Restarting the head unit"};
  for (std::size_t i = 0; i < waiting.size(); ++i) {
    SCOPED_TRACE(waiting[i]);
    EXPECT_EQ(waiting[i].rfind(prefixes[i / 3] + ": the head unit asks for more time (", 0), 0u);
    EXPECT_EQ(waiting[i].substr(waiting[i].size() - 3), " s)");
  }
}

TEST(HistoryWriter, WhatTheHeadUnitHolds) {
  using F = TEntryFate;
  struct Case {
    std::vector<F> fates;
    bool erased;
    std::string line;
  };
  const Case cases[] = {
      {{F::Taken, F::Taken}, true, ""},
      {{F::Taken, F::Taken}, false, ""},
      {{F::Taken, F::Taken, F::Unconfirmed, F::NotSent}, true,
       "ERR: The head unit holds entries 1 to 2 of 4; entry 3 got no answer or an unexpected one, so it may be there too; "
       "entry 4 was not written."},
      {{F::Taken, F::Refused, F::Taken, F::Refused, F::Taken}, false,
       "ERR: The head unit holds its old history and entries 1, 3 and 5 of 5; it refused entries 2 and 4."},
      {{F::NotSent, F::NotSent}, false, "ERR: The head unit holds its old history and no entry of the list; entries 1 to 2 were "
                                        "not written."},
      {{F::Unconfirmed, F::Unconfirmed, F::NotSent}, true,
       "ERR: The head unit holds no entry of the list; entries 1 to 2 got no answer or an unexpected one, so they may be "
       "there too; entry 3 was not written."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(HeldByHeadUnit(c.fates, c.erased), c.line);
  }
  EXPECT_EQ(EntriesText({0}), "entry 1");
  EXPECT_EQ(EntriesText({0, 1, 2, 3, 5, 7, 8}), "entries 1 to 4, 6 and 8 to 9");
  EXPECT_EQ(EntriesText({2, 4}), "entries 3 and 5");
}

// The user stops the write: before the next request, whatever the car is doing.
struct StopCase {
  const char* name;
  TCarSimFaults faults;
  std::size_t stopAfterEntries;  // stop once this many entries went (0: during the first exchange)
  Lines tail;                    // the log from "- Writing new service history..." on
  std::size_t stored;            // entries the head unit holds
};

TEST(HistoryWriter, AStopEndsTheWriteBeforeTheNextRequest) {
  const StopCase cases[] = {
      {"after entry 2 of 4", {}, 2,
       {"- Writing new service history...", "ERR: Stopped by the user before entry 3 of 4.",
        "ERR: The head unit holds its old history and entries 1 to 2 of 4; entries 3 to 4 were not written.", "",
        "[ ERROR ]", ""},
       2},
      {"after the last entry", {}, 4,
       {"- Writing new service history...", "ERR: Stopped by the user before the reset request.", "", "[ ERROR ]", ""},
       4},
      {"while the car keeps silent about entry 1", SilentCar(), 0,
       {"- Writing new service history...", "ERR: No answer to entry 1 of 4 (stopped by the user)",
        "ERR: Stopped by the user before entry 2 of 4.",
        "ERR: The head unit holds its old history and no entry of the list; entry 1 got no answer or an unexpected one, "
        "so it may be there too; entries 2 to 4 were not written.",
        "", "[ ERROR ]", ""},
       1},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedCar car(c.faults);
    TEnetSession session(ImpatientTimings(std::chrono::minutes(1)));  // only the stop ends a wait
    int pumped = 0;  // outlives the write that the pump below runs in
    if (c.stopAfterEntries == 0) {
      session.Wait().SetMessagePump([&] {
        if (car->ReceivedFrames().size() == 1 && ++pumped == 10) session.Wait().RequestStop();
      });
    }
    const auto stopAfter = [&](std::size_t done, std::size_t) {
      if (c.stopAfterEntries > 0 && done == c.stopAfterEntries) session.Wait().RequestStop();
    };
    const Written w = Write(session, car.Port(), {EntryWithProcedures(1, 1), EntryWithProcedures(1, 2),
                                                  EntryWithProcedures(1, 3), EntryWithProcedures(1, 4)},
                            false, "127.0.0.1", stopAfter);
    EXPECT_FALSE(w.complete);
    ASSERT_GE(w.log.size(), c.tail.size());
    EXPECT_EQ(Lines(w.log.end() - static_cast<std::ptrdiff_t>(c.tail.size()), w.log.end()), c.tail);
    EXPECT_EQ(car->History().size(), c.stored);
    EXPECT_FALSE(session.Connected());

    // The next write starts afresh.
    SimulatedCar healthy;
    session.Wait().SetMessagePump({});
    EXPECT_TRUE(Write(session, healthy.Port(), {ExampleEntryBytes()}, true).complete);
  }
}

TEST(HistoryWriter, AStopWhileConnectingSaysSo) {
  SimulatedCar car;
  TEnetSession session(QuickTimings());
  session.Wait().SetMessagePump([&] { session.Wait().RequestStop(); });
  const Written w = Write(session, car.Port(), {ExampleEntryBytes()}, true);
  // On loopback the connect may be done before it waits at all; then the stop comes before the erase.
  const Lines stoppedConnecting = {"[ BEGIN ]", "", "ERR: Stopped by the user while connecting to 127.0.0.1.", "",
                                   "[ ERROR ]", ""};
  const Lines stoppedBeforeErase = {"[ BEGIN ]", "", "- Connected to 127.0.0.1",
                                    "ERR: Stopped by the user before the erase request.", "", "[ ERROR ]", ""};
  EXPECT_TRUE(w.log == stoppedConnecting || w.log == stoppedBeforeErase) << ::testing::PrintToString(w.log);
}

struct ProblemCase {
  TEnetAnswer answer;
  TBuffer request;
  std::string line;
};

TEST(AnswerProblem, Lines) {
  const TBuffer entry = WriteEntryRequest(ExampleEntryBytes());
  const ProblemCase cases[] = {
      {{HexTextToBytes("7101A081"), {}}, entry, ""},
      {{HexTextToBytes("7101A08100"), {}}, entry, ""},
      {{HexTextToBytes("5101"), {}}, ResetRequest(), ""},
      {{{}, TNoAnswer::TimedOut}, entry, "ERR: No answer to entry 3 of 7 (the car did not answer in time)"},
      {{{}, TNoAnswer::ClosedByCar}, entry, "ERR: No answer to entry 3 of 7 (the car closed the connection)"},
      {{{}, TNoAnswer::NotConnected}, entry, "ERR: No answer to entry 3 of 7 (no connection to the car)"},
      {{{}, TNoAnswer::FrameTooLong}, entry, "ERR: No answer to entry 3 of 7 (the answer was longer than 4,096 bytes)"},
      {{{}, TNoAnswer::Stopped}, entry, "ERR: No answer to entry 3 of 7 (stopped by the user)"},
      {{HexTextToBytes("7F3113"), {}}, entry,
       "ERR: Head unit refused entry 3 of 7: 7F 31 13 (incorrectMessageLengthOrInvalidFormat)"},
      {{HexTextToBytes("7F31"), {}}, entry, "ERR: Head unit refused entry 3 of 7: 7F 31"},
      {{HexTextToBytes("7F3178"), {}}, entry,
       "ERR: Head unit refused entry 3 of 7: 7F 31 78 (requestCorrectlyReceived-ResponsePending)"},
      {{HexTextToBytes("7101A080"), {}}, entry, "ERR: Unexpected answer to entry 3 of 7: 71 01 A0 80"},
      {{HexTextToBytes("5101"), {}}, entry, "ERR: Unexpected answer to entry 3 of 7: 51 01"},
      {{TBuffer{}, {}}, entry, "ERR: Unexpected answer to entry 3 of 7: (an empty message)"},
  };
  for (const ProblemCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(AnswerProblem(c.answer, c.request, "entry 3 of 7"), c.line);
  }
}

}  // namespace
