#include <gtest/gtest.h>

#include "enet/HexText.h"
#include "history/HistoryFile.h"
#include "tests/TestEntries.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "tools/carsim/CarSim.h"
#include "tools/carsim/SocketIo.h"

namespace {

TBuffer Hex(const std::string& text) { return HexTextToBytes(text); }

struct HeadUnitCase {
  const char* name;
  std::string request;
  std::string answer;
  std::size_t entriesAfter;
};

TEST(HeadUnit, AnswersAndKeepsTheHistory) {
  const std::string entry = BytesToHexText(ExampleEntryBytes());
  const HeadUnitCase cases[] = {
      {"write a well-formed entry", "3101A081" + entry, "7101A081", 2},
      {"write an entry one byte short", "3101A081" + entry.substr(0, entry.size() - 2), "7F3113", 1},
      {"write an entry one byte long", "3101A081" + entry + "00", "7F3113", 1},
      {"write nothing", "3101A081", "7F3113", 1},
      {"erase", "3101A080", "7101A080", 0},
      {"erase with data", "3101A08000", "7F3113", 1},
      {"another routine", "3101A082", "7F3131", 1},
      {"stop routine", "3102A080", "7F3112", 1},
      {"routine control cut short", "3101", "7F3113", 1},
      {"hard reset", "1101", "5101", 1},
      {"soft reset", "1103", "7F1112", 1},
      {"another service", "2201", "7F2211", 1},
      {"empty request", "", "7F0013", 1},
  };
  for (const HeadUnitCase& c : cases) {
    SCOPED_TRACE(c.name);
    THeadUnit hu({EntryWithProcedures(1)});
    const THeadUnit::Outcome outcome = hu.Answer(Hex(c.request));
    EXPECT_EQ(BytesToHexText(outcome.answer), c.answer);
    EXPECT_EQ(hu.History().size(), c.entriesAfter);
  }
  THeadUnit hu;
  hu.Answer(Hex("3101A081" + entry));
  EXPECT_EQ(hu.History(), THistoryList{ExampleEntryBytes()});
}

// A raw tester: connects, sends one frame and reads whatever comes back.
class RawTester {
 public:
  explicit RawTester(uint16_t port) {
    fd_ = OpenSocket(SOCK_STREAM);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
#ifdef _WIN32
    const DWORD timeoutMs = 5000;
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
#else
    const timeval tv{5, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
#endif
  }
  ~RawTester() { CloseSocketHandle(fd_); }
  bool Connected() const { return connected_; }
  void Send(const TBuffer& bytes) { ASSERT_TRUE(SendAll(fd_, bytes.data(), bytes.size())); }
  // The bytes that came within the time-out, at most size.
  TBuffer Receive(std::size_t size) {
    TBuffer bytes(size);
    std::size_t got = 0;
    while (got < size) {
      const auto n = recv(fd_, reinterpret_cast<char*>(bytes.data() + got), static_cast<int>(size - got), 0);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
  }

 private:
  TSocketHandle fd_;
  bool connected_;
};

TEST(Gateway, AcknowledgesWithTheFirstFiveBytesThenAnswersWithAddressesSwapped) {
  TempDir dir;
  TCarSimOptions options;
  options.tcpPort = 0;
  options.udpPort = kNoDiscovery;
  options.storeFile = dir.File("hu.kelta");
  std::vector<std::string> log;
  std::mutex logMutex;
  options.log = [&](const std::string& line) {
    std::lock_guard lock(logMutex);
    log.push_back(line);
  };
  TCarSim sim(options);
  sim.Start();
  EXPECT_TRUE(ReadBytes(options.storeFile).empty());

  RawTester tester(sim.TcpPort());
  ASSERT_TRUE(tester.Connected());
  const TBuffer request = Hex("000000290001F4633101A081" + BytesToHexText(ExampleEntryBytes()));
  tester.Send(request);
  EXPECT_EQ(tester.Receive(13), Hex("000000070002F4633101A08101"));
  EXPECT_EQ(tester.Receive(12), Hex("00000006000163F47101A081"));
  EXPECT_EQ(ReadBytes(options.storeFile), ExampleEntryBytes());

  tester.Send(Hex("000000040001F4631101"));
  EXPECT_EQ(tester.Receive(10), Hex("000000040002F4631101"));
  EXPECT_EQ(tester.Receive(10), Hex("00000004000163F45101"));

  ASSERT_TRUE(WaitFor([&] {
    std::lock_guard lock(logMutex);
    return log.size() == 6;
  }));
  std::lock_guard lock(logMutex);
  EXPECT_EQ(log[0], "<- " + BytesToSpacedHexText(request));
  EXPECT_EQ(log[1], "-> 00 00 00 07 00 02 F4 63 31 01 A0 81 01");
  EXPECT_EQ(log[2], "-> 00 00 00 06 00 01 63 F4 71 01 A0 81");
  EXPECT_EQ(sim.ReceivedRequests(), (std::vector<TBuffer>{Hex("3101A081" + BytesToHexText(ExampleEntryBytes())), Hex("1101")}));
}

TEST(Gateway, StartsWithALoadedHistoryAndRefusesABadOne) {
  TempDir dir;
  const std::string file = dir.File("start.kelta");
  WriteBytes(file, JoinHistory({ExampleEntryBytes(), EntryWithProcedures(0)}));
  TCarSimOptions options;
  options.tcpPort = 0;
  options.udpPort = kNoDiscovery;
  options.loadFile = file;
  TCarSim sim(options);
  sim.Start();
  EXPECT_EQ(sim.History().size(), 2u);

  WriteBytes(file, TBuffer(20, 0));
  TCarSim bad(options);
  try {
    bad.Start();
    ADD_FAILURE() << "started";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid data: " + file);
  }
}

TEST(Gateway, OversizeAnnouncesMoreThanTheReceiveBuffer) {
  TCarSimOptions options;
  options.tcpPort = 0;
  options.udpPort = kNoDiscovery;
  options.faults.oversize = true;
  TCarSim sim(options);
  sim.Start();
  RawTester tester(sim.TcpPort());
  tester.Send(Hex("000000040001F4631101"));
  EXPECT_EQ(tester.Receive(10), Hex("000000040002F4631101"));
  const TBuffer answer = tester.Receive(6 + 5000);
  ASSERT_EQ(answer.size(), 5006u);
  EXPECT_EQ(TBuffer(answer.begin(), answer.begin() + 6), Hex("000013880001"));
}

TEST(CarSimProgram, HelpAndBadOptions) {
  const std::string carsim = BuiltProgram("tools/carsim/tarvelo-carsim");
  const ProgramRun run = RunProgram(carsim + " --help");
  EXPECT_EQ(run.code, 0);
  const std::string& help = run.out;
  for (const char* option : {"--bind", "--port", "--vin", "--load", "--store", "--pending", "--nrc", "--close-after",
                             "--split", "--delay-ms", "--silent", "--oversize", "--verbose"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(RunProgram(carsim + " --nrc 31" + kNoStderr).code, 2);
  EXPECT_EQ(RunProgram(carsim + " --bind 999.1.1.1 --port 0" + kNoStderr).code, 1);
}

}  // namespace
