#include <gtest/gtest.h>

#include "ExpectedLogs.h"
#include "HeadUnitProtocol.h"
#include "HexText.h"
#include "HistoryFile.h"
#include "HistoryWriter.h"
#include "SimulatedCar.h"
#include "TestEntries.h"

namespace {

using Lines = std::vector<std::string>;


THistoryList ThreeEntries() { return {EntryWithProcedures(1, 3), ExampleEntryBytes(), EntryWithProcedures(0, 1)}; }

struct Written {
  bool complete;
  Lines log;
  std::vector<std::pair<std::size_t, std::size_t>> progress;
};

Written Write(TEnetSession& session, uint16_t port, THistoryList entries, bool erase, std::string host = "127.0.0.1",
              const TWriteProgress& alsoOnProgress = {}) {
  Written w{};
  TWriteJob job{host, port, std::move(entries), erase};
  w.complete = WriteServiceHistory(
      session, job, [&](const std::string& line) { w.log.push_back(line); },
      [&](std::size_t done, std::size_t total) {
        w.progress.emplace_back(done, total);
        if (alsoOnProgress) alsoOnProgress(done, total);
      });
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
  CarSimOptions options;
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
  EXPECT_EQ(w.progress, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 3}, {2, 3}, {3, 3}}));
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

TEST(HistoryWriter, RefusedRequestsAreReportedAndTheSequenceGoesOn) {
  CarSimFaults refuse;
  refuse.nrc = {{0x31, 0x22}};
  SimulatedCar car(refuse);
  const Written w = Write(car, {ExampleEntryBytes(), EntryWithProcedures(1)}, true);
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Erasing current service history...",
                          "ERR: Head unit refused the erase request: 7F 31 22 (conditionsNotCorrect)",
                          "- Writing new service history...",
                          "ERR: Head unit refused entry 1 of 2: 7F 31 22 (conditionsNotCorrect)",
                          "ERR: Head unit refused entry 2 of 2: 7F 31 22 (conditionsNotCorrect)",
                          "- Finished writing, restarting Headunit...", "", "[ ERROR ]", ""}));
  EXPECT_EQ(car->ReceivedFrames().size(), 4u);  // every request was still sent
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

TEST(HistoryWriter, ASilentHeadUnitGivesNoAnswerLines) {
  SimulatedCar car(SilentCar());
  const Written w = Write(car, {ExampleEntryBytes()}, false, "127.0.0.1", ImpatientTimings());
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Writing new service history...",
                          "ERR: No answer to entry 1 of 1 (the car did not answer in time)",
                          "- Finished writing, restarting Headunit...",
                          "ERR: No answer to the reset request (the car did not answer in time)", "", "[ ERROR ]", ""}));
}

TEST(HistoryWriter, AConnectionLostOnTheWayIsOpenedAgain) {
  CarSimFaults closing;
  closing.closeAfter = 2;
  SimulatedCar car(closing);
  const Written w = Write(car, {EntryWithProcedures(1, 1), EntryWithProcedures(1, 2), EntryWithProcedures(1, 3)}, true);
  // erase, entry 1 on the first connection; entry 2 meets the closed connection; entry 3 and the
  // reset go over a new one.
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(std::count_if(w.log.begin(), w.log.end(), [](const std::string& l) { return l.rfind("ERR: ", 0) == 0; }), 1);
  EXPECT_NE(std::find(w.log.begin(), w.log.end(), "ERR: No answer to entry 2 of 3 (the car closed the connection)"),
            w.log.end());
  EXPECT_EQ(car->Connections(), 2);
  EXPECT_EQ(car->History().size(), 2u);
}

// The user stops the write: before the next request, whatever the car is doing.
struct StopCase {
  const char* name;
  CarSimFaults faults;
  std::size_t stopAfterEntries;  // stop once this many entries went (0: during the first exchange)
  Lines tail;                    // the log from "- Writing new service history..." on
  std::size_t stored;            // entries the head unit holds
};

TEST(HistoryWriter, AStopEndsTheWriteBeforeTheNextRequest) {
  const StopCase cases[] = {
      {"after entry 2 of 4", {}, 2,
       {"- Writing new service history...", "ERR: Stopped by the user before entry 3 of 4.", "", "[ ERROR ]", ""}, 2},
      {"after the last entry", {}, 4,
       {"- Writing new service history...", "ERR: Stopped by the user before the reset request.", "", "[ ERROR ]", ""},
       4},
      {"while the car keeps silent about entry 1", SilentCar(), 0,
       {"- Writing new service history...", "ERR: No answer to entry 1 of 4 (stopped by the user)",
        "ERR: Stopped by the user before entry 2 of 4.", "", "[ ERROR ]", ""},
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
      if (done == c.stopAfterEntries) session.Wait().RequestStop();
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
