// A long run in one process: 10,000 exchanges and a write of 2,000 entries against the simulated
// car, with no growth in open file descriptors or memory. (Under the sanitizer build,
// LeakSanitizer checks the same run for leaks when the process ends.)
#include <gtest/gtest.h>

#include <fstream>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

#include "enet/HeadUnitProtocol.h"
#include "enet/HistoryWriter.h"
#include "tests/TestEntries.h"
#include "tests/support/SimulatedCar.h"

#if defined(__SANITIZE_ADDRESS__)
#define TARVELO_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARVELO_UNDER_ASAN 1
#endif
#endif

namespace {

// Open file descriptors; on Windows the process's open handles, sockets among them.
int OpenFileDescriptors() {
#ifdef _WIN32
  DWORD count = 0;
  GetProcessHandleCount(GetCurrentProcess(), &count);
  return static_cast<int>(count);
#else
  int count = 0;
  DIR* dir = opendir("/proc/self/fd");
  while (readdir(dir)) ++count;
  closedir(dir);
  return count;
#endif
}

// The process's resident memory (its working set on Windows).
long ResidentKilobytes() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<long>(counters.WorkingSetSize / 1024);
#else
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE) / 1024;
#endif
}

TEST(Soak, TenThousandExchangesAndATwoThousandEntryWrite) {
  TCarSimOptions options;
  options.recordFrames = false;  // the simulated car keeps no log of its own to grow
  SimulatedCar car({}, options);
  THistoryList entries;
  for (int i = 0; i < 2000; ++i) entries.push_back(EntryWithProcedures(1 + i % 5, static_cast<uint32_t>(i)));
  TWriteJob job{"127.0.0.1", car.Port(), entries, true};
  const auto session = car.Session();  // the head unit's pauses left out: they would only make it slow
  const TBuffer reset = ResetRequest();
  const TBuffer resetAnswer = PositiveAnswerHead(reset);

  // A first round warms up what is allocated once (buffers, the connection).
  for (int i = 0; i < 500; ++i) ASSERT_EQ(session->EnetRequest(reset, kHeadUnitAddress).uds, resetAnswer);
  ASSERT_TRUE(WriteServiceHistory(*session, job, [](const std::string&) {}));
  const int fdsBefore = OpenFileDescriptors();
  const long memoryBefore = ResidentKilobytes();

  for (int i = 0; i < 10000; ++i) {
    ASSERT_EQ(session->EnetRequest(reset, kHeadUnitAddress).uds, resetAnswer) << "exchange " << i;
  }
  std::vector<std::string> log;
  ASSERT_TRUE(WriteServiceHistory(*session, job, [&](const std::string& line) { log.push_back(line); }));
  EXPECT_EQ(car->History(), entries);

  const int fdsAfter = OpenFileDescriptors();
  const long memoryAfter = ResidentKilobytes();
  EXPECT_EQ(fdsAfter, fdsBefore);
#ifndef TARVELO_UNDER_ASAN
  // (AddressSanitizer holds freed memory back for a while, so there LeakSanitizer judges instead.)
  EXPECT_LT(memoryAfter - memoryBefore, 1024) << "kB";
#endif
  std::printf("open file descriptors %d -> %d, resident memory %ld kB -> %ld kB\n", fdsBefore, fdsAfter, memoryBefore,
              memoryAfter);
}

TEST(Soak, ReconnectingAfterEveryExchangeLeaksNoSockets) {
  TCarSimFaults closing;
  closing.closeAfter = 1;
  SimulatedCar car(closing);
  const auto session = car.Session();
  const int fdsBefore = OpenFileDescriptors();
  for (int i = 0; i < 1000; ++i) session->EnetRequest(ResetRequest(), kHeadUnitAddress);  // every other one meets a closed connection
  session->EnetInit();
  EXPECT_EQ(OpenFileDescriptors(), fdsBefore);
}

}  // namespace
