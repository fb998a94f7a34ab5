// A hostile car: gateways that announce too much, stop half way, answer in pieces, refuse, never
// acknowledge, answer out of order, reset the connection, never read, or send garbage. For each,
// the write must end with the right "ERR: " lines and "[ ERROR ]" (or complete, where the car
// merely is slow), nothing may crash, and a write to a healthy car afterwards must succeed.
#include <gtest/gtest.h>

#include <random>

#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"
#include "enet/HistoryWriter.h"
#include "tests/TestEntries.h"
#include "tests/support/ScriptedPeer.h"
#include "tests/support/SimulatedCar.h"

namespace {

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// The gateway under test: the simulated car with fault switches, or a scripted peer.
struct HostileCase {
  const char* name;
  std::function<TCarSimFaults()> faults;            // the simulated car misbehaves...
  std::function<std::vector<ScriptStep>()> script;  // ...or a scripted gateway does
  THistoryList entries;
  bool erase;
  Lines problems;  // the "ERR: " lines, in order; none: the write completes
  bool completes = false;  // it completes all the same (it started over after the ERR lines)
};

TCarSimFaults Faults(std::function<void(TCarSimFaults&)> set) {
  TCarSimFaults f;
  set(f);
  return f;
}

TBuffer Garbage(std::size_t size) {
  std::mt19937 random(20261210);
  TBuffer bytes(size);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  bytes[2] = 0x00;  // a first header that announces a little, so the garbage is read as frames
  bytes[3] = 0x20;
  return bytes;
}

const TBuffer kAnyAck = AckFrame(HexTextToBytes("3101A081"));

std::vector<HostileCase> Cases() {
  const THistoryList one = {ExampleEntryBytes()};
  const THistoryList two = {ExampleEntryBytes(), EntryWithProcedures(1)};
  // An erase without an answer: nothing of the list is written after it.
  const auto noErase = [](const std::string& why) {
    return Lines{"ERR: No answer to the erase request (" + why + ")",
                 "ERR: The erase got no answer: the head unit holds its old history, or nothing if it erased it; nothing "
                 "of the list was written."};
  };
  const std::string stoppedWithoutErase =
      "ERR: The connection was lost at entry 1 of 1, so the write stopped (without the erase, a new connection could only "
      "add a gap or a duplicate).";
  const std::string entryOneUnknown =
      "ERR: The head unit holds its old history and no entry of the list; entry 1 got no answer or an unexpected one, so "
      "it may be there too.";
  return {
      {"a header announcing 65,535 bytes", nullptr,
       [] {
         TBuffer huge = {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x01};
         huge.resize(6 + 100, 0x71);
         return std::vector<ScriptStep>{ReadFrame{}, SendBytes{kAnyAck}, SendBytes{huge}};
       },
       one, true, noErase("the answer was longer than 4,096 bytes")},
      {"a header cut short, then the connection closed", nullptr,
       [] { return std::vector<ScriptStep>{ReadFrame{}, SendBytes{TBuffer{0x00, 0x00, 0x00}}, CloseConnection{}}; },
       one, true, noErase("the car closed the connection")},
      {"a payload cut short, then the connection closed", nullptr,
       [] {
         return std::vector<ScriptStep>{ReadFrame{}, SendBytes{kAnyAck},
                                        SendBytes{TBuffer{0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0x63, 0xF4}},
                                        CloseConnection{}};
       },
       one, true, noErase("the car closed the connection")},
      {"frames in 1-byte pieces, 100 ms apart",
       [] { return Faults([](TCarSimFaults& f) { f.split = 1; f.delayMs = 100; }); }, nullptr, one, false, {}},
      {"a negative answer to every request",
       [] { return Faults([](TCarSimFaults& f) { f.nrc = {{0x31, 0x22}, {0x11, 0x22}}; }); }, nullptr, two, true,
       {"ERR: Head unit refused the erase request: 7F 31 22 (conditionsNotCorrect)",
        "ERR: The old service history was not erased, so nothing was written."}},
      {"a negative answer to every request but the erase",
       [] { return Faults([](TCarSimFaults& f) { f.nrc = {{0x11, 0x22}}; }); }, nullptr, two, false,
       {"ERR: Head unit refused the reset request: 7F 11 22 (conditionsNotCorrect)"}},
      {"a refused erase only", [] { return Faults([](TCarSimFaults& f) { f.refuseErase = 0x22; }); }, nullptr, two, true,
       {"ERR: Head unit refused the erase request: 7F 31 22 (conditionsNotCorrect)",
        "ERR: The old service history was not erased, so nothing was written."}},
      {"the connection dropped at entry 2, before the head unit stored it: the write starts over",
       [] { return Faults([](TCarSimFaults& f) { f.dropAtEntry = 2; }); }, nullptr, two, true,
       {"ERR: No answer to entry 2 of 2 (the car closed the connection)"}, true},
      {"the connection dropped at entry 2, after the head unit stored it: the write starts over",
       [] { return Faults([](TCarSimFaults& f) { f.dropAtEntry = 2; f.dropAfterStoring = true; }); }, nullptr, two, true,
       {"ERR: No answer to entry 2 of 2 (the car closed the connection)"}, true},
      {"the connection dropped at entry 2 without the erase: the write stops",
       [] { return Faults([](TCarSimFaults& f) { f.dropAtEntry = 2; }); }, nullptr, two, false,
       {"ERR: No answer to entry 2 of 2 (the car closed the connection)",
        "ERR: The connection was lost at entry 2 of 2, so the write stopped (without the erase, a new connection could "
        "only add a gap or a duplicate).",
        "ERR: The head unit holds its old history and entry 1 of 2; entry 2 got no answer or an unexpected one, so it may "
        "be there too."}},
      {"an acknowledgement that never comes", [] { return Faults([](TCarSimFaults& f) { f.noAck = true; }); }, nullptr,
       one, false,
       {"ERR: No answer to entry 1 of 1 (the car did not answer in time)", stoppedWithoutErase, entryOneUnknown}},
      {"an answer that comes before the acknowledgement",
       [] { return Faults([](TCarSimFaults& f) { f.answerFirst = true; }); }, nullptr, one, false,
       {"ERR: Unexpected answer to entry 1 of 1: 31 01 A0 81 01", "ERR: Unexpected answer to the reset request: 11 01",
        entryOneUnknown}},
      {"a connection reset in the middle of the write",
       [] { return Faults([](TCarSimFaults& f) { f.resetAfter = 2; }); }, nullptr, two, true,
       {"ERR: No answer to entry 1 of 2 (the car closed the connection)",
        "ERR: No answer to entry 1 of 2 (the car closed the connection)",
        "ERR: No answer to entry 1 of 2 (the car closed the connection)",
        "ERR: The connection was lost 3 times, so the write stopped.",
        "ERR: The head unit holds no entry of the list; entry 1 got no answer or an unexpected one, so it may be there too; "
        "entry 2 was not written."}},
      {"a gateway that accepts and never reads", nullptr,
       [] { return std::vector<ScriptStep>{SleepMs{60000}}; }, one, false,
       {"ERR: No answer to entry 1 of 1 (the car did not answer in time)", stoppedWithoutErase, entryOneUnknown}},
      {"garbage bytes", nullptr, [] { return std::vector<ScriptStep>{ReadFrame{}, SendBytes{Garbage(300)}, CloseConnection{}}; },
       one, true, noErase("the answer was longer than 4,096 bytes")},  // the second "frame" of the noise announces too much
  };
}

class HostileCar : public ::testing::TestWithParam<std::size_t> {};

TEST_P(HostileCar, TheWriteEndsWithTheRightErrorsAndTheProgramStaysUsable) {
  const HostileCase c = Cases()[GetParam()];
  SCOPED_TRACE(c.name);
  std::unique_ptr<SimulatedCar> car;
  std::unique_ptr<ScriptedPeer> peer;
  uint16_t port;
  if (c.faults) {
    car = std::make_unique<SimulatedCar>(c.faults());
    port = car->Port();
  } else {
    peer = std::make_unique<ScriptedPeer>(c.script());
    port = peer->Port();
  }

  // A receive gives up after a second here, not after the car's 5 s: long enough for the car that
  // sends its bytes 100 ms apart, short enough that no test waits long for a car that never answers.
  TEnetSession session(ImpatientTimings(std::chrono::seconds(1)));
  Lines log;
  TWriteJob job{"127.0.0.1", port, c.entries, c.erase};
  const auto start = Clock::now();
  const bool complete = WriteServiceHistory(session, job, [&](const std::string& line) { log.push_back(line); });
  const auto took = Clock::now() - start;

  Lines problems;
  for (const std::string& line : log) {
    if (line.rfind("ERR: ", 0) == 0) problems.push_back(line);
  }
  EXPECT_EQ(problems, c.problems);
  const bool completes = c.problems.empty() || c.completes;
  EXPECT_EQ(complete, completes);
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2], completes ? "[ COMPLETE ]" : "[ ERROR ]");
  if (c.completes) {
    EXPECT_EQ((*car)->History(), c.entries);  // exactly the list, whatever it stored before the drop
  }
  EXPECT_EQ(log.back(), "");
  // Every receive gives up after its time-out, so even the worst gateway holds a write of n requests
  // for no more than about that long each.
  EXPECT_LT(took, std::chrono::seconds(5 * (c.entries.size() + 2)));

  // The program stays usable: the next write, to a healthy car, completes.
  car.reset();
  peer.reset();
  SimulatedCar healthy;
  Lines again;
  TWriteJob next{"127.0.0.1", healthy.Port(), c.entries, true};
  EXPECT_TRUE(WriteServiceHistory(session, next, [&](const std::string& line) { again.push_back(line); }));
  EXPECT_EQ(healthy->History(), c.entries);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileCar, ::testing::Range<std::size_t>(0, Cases().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           std::string name = Cases()[info.param].name;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

// A frame read from a peer that sends its bytes one at a time still comes out whole, and a frame
// that would not fit the receive buffer never gets written into it.
TEST(HostileCarFrames, TheReceiveBufferIsNeverOverrun) {
  for (const std::size_t length : {std::size_t{4096}, std::size_t{4097}, std::size_t{65535}}) {
    SCOPED_TRACE(length);
    TBuffer answer = {0x00, 0x00, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), 0x00, 0x01};
    answer.resize(6 + length, 0x5A);
    ScriptedPeer peer({ReadFrame{}, SendBytes{kAnyAck}, SendBytes{answer}});
    TEnetSession session(QuickTimings());
    session.SetTarget("127.0.0.1", peer.Port());
    const TEnetAnswer result = session.EnetRequest(WriteEntryRequest({}), kHeadUnitAddress);
    EXPECT_EQ(result.uds.size(), length <= 4096 ? length - 2 : 0u);
    EXPECT_EQ(result.Answered(), length <= 4096);
    EXPECT_EQ(session.Connected(), length <= 4096);
  }
}

}  // namespace
