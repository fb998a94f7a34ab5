// tarvelo-cli detect against simulated gateways. main() (NetnsGtestMain.cpp) first enters a private
// network namespace (unshare, loopback up), so the broadcasts stay inside it; the two-host test adds a second
// namespace joined by a veth pair.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <thread>

#include "enet/Discovery.h"
#include "history/HistoryFile.h"
#include "tests/TestEntries.h"
#include "tests/support/NetworkNamespace.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tools/carsim/CarSim.h"

namespace {

const std::string kCli = BuiltProgram("tools/cli/tarvelo-cli");
const std::string kCarsim = BuiltProgram("tools/carsim/tarvelo-carsim");

// What a command printed on stdout and stderr, and its exit status.
ProgramRun RunCommand(const std::string& command) { return RunProgram(command + " 2>&1"); }

std::unique_ptr<TCarSim> Gateway(const std::string& vin) {
  TCarSimOptions options;
  options.bind = "0.0.0.0";  // a broadcast reaches only a socket bound to all addresses
  options.tcpPort = 0;
  options.udpPort = kDiscoveryPort;
  options.vin = vin;
  auto sim = std::make_unique<TCarSim>(options);
  sim->Start();
  return sim;
}

TEST(CliDetect, FindsTheSimulatedGatewayOnTheLoopbackBroadcast) {
  REQUIRE_PRIVATE_NETWORK();
  auto gateway = Gateway("WBA8E9C57GK123456");
  const ProgramRun r = RunCommand(kCli + " detect --timeout 5");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, "Auto detecting...\n\nFound WBA8E9C57GK123456\n* IP: 127.0.0.1\n\n");
  // The namespace has one interface, loopback: one request a round (a second round only if the
  // answer took longer than the repeat).
  EXPECT_GE(gateway->IdentificationRequests(), 1);
}

// A car switched on two seconds after the search began is found: the request goes out again every
// 1.5 s while nobody answered.
TEST(CliDetect, FindsACarSwitchedOnAfterTheSearchBegan) {
  REQUIRE_PRIVATE_NETWORK();
  // The car comes up in this process, two seconds after the search began in the other.
  std::unique_ptr<TCarSim> gateway;
  std::thread switchOn([&gateway] {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    gateway = Gateway("WBA8E9C57GK123456");
  });
  const ProgramRun r = RunCommand(kCli + " detect --timeout 20");
  switchOn.join();
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, "Auto detecting...\n\nFound WBA8E9C57GK123456\n* IP: 127.0.0.1\n\n");
}

// Nothing answers for a while: stderr says once what to check, and the search goes on to its end.
TEST(CliDetect, SaysOnceThatNoGatewayAnsweredYet) {
  REQUIRE_PRIVATE_NETWORK();
  const ProgramRun r = RunCommand(kCli + " detect --timeout 8");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "Auto detecting...\n\n" + std::string(kNoGatewayYet) + "\nERR: No vehicle answered\n");
}

TEST(CliDetect, AllListsEveryGatewayThatAnswered) {
  REQUIRE_PRIVATE_NETWORK();
  auto first = Gateway("WBA00000000000001");
  auto second = Gateway("WBA00000000000002");
  const ProgramRun r = RunCommand(kCli + " detect --all --timeout 1");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("WBA00000000000001  127.0.0.1\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("WBA00000000000002  127.0.0.1\n"), std::string::npos) << r.out;
}

TEST(CliDetect, NoAnswerIsAnError) {
  REQUIRE_PRIVATE_NETWORK();
  const auto start = std::chrono::steady_clock::now();
  const ProgramRun r = RunCommand(kCli + " detect --timeout 0.5");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "Auto detecting...\n\nERR: No vehicle answered\n");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(RunCommand(kCli + " detect --timeout -1").code, 2);
  EXPECT_NE(RunCommand(kCli + " detect --help").out.find("--timeout"), std::string::npos);
}

// A second host: a child process in a network namespace of its own, joined to ours by a veth pair
// with link-local addresses, runs the simulated car. Tarvelo finds it by the broadcast on
// 169.254.255.255 and writes the history into it.
TEST(CliDetect, FindsAndWritesToACarOnASecondHost) {
  REQUIRE_PRIVATE_NETWORK();
#ifdef _WIN32
  GTEST_SKIP() << "the second host is a Linux network namespace joined by a veth pair, which a Windows program cannot make";
#else
  int ready[2], go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  TempDir dir;
  const std::string stored = dir.File("head-unit.kelta");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const char ok = unshare(CLONE_NEWNET) == 0 ? '1' : '0';
    (void)!write(ready[1], &ok, 1);
    char start;
    if (ok != '1' || read(go[0], &start, 1) != 1) _exit(3);
    const std::string setup = "ip link set lo up && ip addr add 169.254.10.2/16 dev veth-car && ip link set veth-car up";
    if (std::system(("PATH=$PATH:/usr/sbin:/sbin; " + setup).c_str()) != 0) _exit(4);
    execl(kCarsim.c_str(), "tarvelo-carsim", "--bind", "0.0.0.0", "--vin", "WBASECONDHOST0001", "--store",
          stored.c_str(), static_cast<char*>(nullptr));
    _exit(5);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  if (ok != '1') {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    GTEST_SKIP() << "cannot make a second network namespace here";
  }
  const bool linked = RunIp("link add veth-pc type veth peer name veth-car netns " + std::to_string(child)) &&
                      RunIp("addr add 169.254.10.1/16 dev veth-pc") && RunIp("link set veth-pc up");
  (void)!write(go[1], "g", 1);
  if (!linked) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    GTEST_SKIP() << "cannot make a veth pair here";
  }

  // The link and the simulator take a moment to come up.
  ProgramRun found{};
  for (int attempt = 0; attempt < 20; ++attempt) {
    found = RunCommand(kCli + " detect --timeout 1");
    if (found.code == 0) break;
  }
  EXPECT_EQ(found.code, 0) << found.out;
  EXPECT_EQ(found.out, "Auto detecting...\n\nFound WBASECONDHOST0001\n* IP: 169.254.10.2\n\n");

  const std::string file = dir.File("history.kelta");
  WriteBytes(file, JoinHistory({ExampleEntryBytes(), EntryWithProcedures(3)}));
  const ProgramRun written = RunCommand(kCli + " write --host 169.254.10.2 " + file);
  EXPECT_EQ(written.code, 0) << written.out;
  EXPECT_NE(written.out.find("[ COMPLETE ]"), std::string::npos);
  EXPECT_EQ(ReadBytes(stored), ReadBytes(file));

  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
#endif
}

}  // namespace
