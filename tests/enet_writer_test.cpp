#include <gtest/gtest.h>

#include "ExpectedLogs.h"
#include "HexText.h"
#include "HistoryWriter.h"
#include "NegativeResponse.h"
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

Written Write(SimulatedCar& car, THistoryList entries, bool erase, std::string host = "127.0.0.1") {
  Written w{};
  TWriteJob job{host, car->TcpPort(), std::move(entries), erase};
  w.complete = WriteServiceHistory(
      job, [&](const std::string& line) { w.log.push_back(line); },
      [&](std::size_t done, std::size_t total) { w.progress.emplace_back(done, total); });
  return w;
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
  EXPECT_EQ(RequestTexts(car.Sim()), (std::vector<std::string>{"3101A080", WriteEntryRequest(entries[0]),
                                                                WriteEntryRequest(entries[1]), WriteEntryRequest(entries[2]),
                                                                "1101"}));
  EXPECT_EQ(JoinHistory(car->History()), JoinHistory(entries));
  EXPECT_EQ(w.progress, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 3}, {2, 3}, {3, 3}}));
  EXPECT_EQ(Enet.HOST, "127.0.0.1");
  EXPECT_TRUE(ClientSocket->Connected());  // the connection stays open after the write
}

TEST(HistoryWriter, WithoutEraseNoEraseRequestIsSentAndTheOldHistoryStays) {
  SimulatedCar car;
  Write(car, {EntryWithProcedures(2, 99)}, true);
  const auto start = std::chrono::steady_clock::now();
  const Written w = Write(car, ThreeEntries(), false);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(w.complete);
  EXPECT_EQ(w.log, CompleteWriteLog(false));
  const std::vector<std::string> requests = RequestTexts(car.Sim());
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "3101A080"), 1);  // only the first write's
  EXPECT_EQ(car->History().size(), 4u);
  EXPECT_GE(took, std::chrono::milliseconds(300));  // three pauses of 100 ms, and no 200 ms one
  EXPECT_LT(took, std::chrono::milliseconds(3000));
}

TEST(HistoryWriter, EntryBytesBecomeUpperCaseHex) {
  EXPECT_EQ(WriteEntryRequest({0x0A, 0xFF, 0x00}), "3101A0810AFF00");
}

TEST(HistoryWriter, AnEmptyListOpensNoConnection) {
  SimulatedCar car;
  const Written w = Write(car, {}, true);
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "ERR: Service history list is empty!", "", "[ ERROR ]", ""}));
  EXPECT_EQ(car->Connections(), 0);
  EXPECT_EQ(Enet.HOST, "127.0.0.1");
  EXPECT_EQ(Enet.PORT, car->TcpPort());
}

TEST(HistoryWriter, AnEmptyAddressOrNoGatewayCannotConnect) {
  SimulatedCar car;
  Written w = Write(car, ThreeEntries(), true, "");
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "ERR: Could not connect to target: ", "", "[ ERROR ]", ""}));

  uint16_t closedPort;
  {
    SimulatedCar gone;
    closedPort = gone->TcpPort();
  }
  TWriteJob job{"127.0.0.1", closedPort, ThreeEntries(), true};
  Lines log;
  EXPECT_FALSE(WriteServiceHistory(job, [&](const std::string& line) { log.push_back(line); }));
  EXPECT_EQ(log, (Lines{"[ BEGIN ]", "", "ERR: Could not connect to target: 127.0.0.1", "", "[ ERROR ]", ""}));
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
  CarSimFaults silent;
  silent.silent = true;
  SimulatedCar car(silent);
  const Written w = Write(car, {ExampleEntryBytes()}, false);
  EXPECT_FALSE(w.complete);
  EXPECT_EQ(w.log, (Lines{"[ BEGIN ]", "", "- Connected to 127.0.0.1", "- Writing new service history...",
                          "ERR: No answer to entry 1 of 1", "- Finished writing, restarting Headunit...",
                          "ERR: No answer to the reset request", "", "[ ERROR ]", ""}));
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
  EXPECT_NE(std::find(w.log.begin(), w.log.end(), "ERR: No answer to entry 2 of 3"), w.log.end());
  EXPECT_EQ(car->Connections(), 2);
  EXPECT_EQ(car->History().size(), 2u);
}

struct ProblemCase {
  std::string answer, expected, line;
};

TEST(AnswerProblem, Lines) {
  const ProblemCase cases[] = {
      {"7101A081", "7101A081", ""},
      {"7101A08100", "7101A081", ""},
      {"", "7101A081", "ERR: No answer to entry 3 of 7"},
      {"7F3113", "7101A081", "ERR: Head unit refused entry 3 of 7: 7F 31 13 (incorrectMessageLengthOrInvalidFormat)"},
      {"7F31", "7101A081", "ERR: Head unit refused entry 3 of 7: 7F 31"},
      {"7F3178", "7101A081", "ERR: Head unit refused entry 3 of 7: 7F 31 78 (requestCorrectlyReceived-ResponsePending)"},
      {"7101A080", "7101A081", "ERR: Unexpected answer to entry 3 of 7: 71 01 A0 80"},
      {"5101", "7101A081", "ERR: Unexpected answer to entry 3 of 7: 51 01"},
  };
  for (const ProblemCase& c : cases) {
    SCOPED_TRACE(c.answer);
    EXPECT_EQ(AnswerProblem(c.answer, c.expected, "entry 3 of 7"), c.line);
  }
}

TEST(NegativeResponse, Names) {
  const std::pair<uint8_t, const char*> cases[] = {
      {0x10, "generalReject"},        {0x11, "serviceNotSupported"},        {0x13, "incorrectMessageLengthOrInvalidFormat"},
      {0x22, "conditionsNotCorrect"}, {0x31, "requestOutOfRange"},          {0x33, "securityAccessDenied"},
      {0x72, "generalProgrammingFailure"}, {0x7F, "serviceNotSupportedInActiveSession"}, {0x93, "voltageTooLow"},
      {0x40, "reservedByExtendedDataLinkSecurityDocument"}, {0xA0, "reservedForSpecificConditionsNotCorrect"},
      {0xF3, "vehicleManufacturerSpecificConditionsNotCorrect"}, {0x01, "ISOSAEReserved"}, {0xFF, "ISOSAEReserved"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(NegativeResponseName(code), name) << int(code);
}

}  // namespace
