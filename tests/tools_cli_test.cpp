#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "AllocationFailure.h"
#include "CliSupport.h"
#include "HistoryFile.h"
#include "RunProgram.h"
#include "SimulatedCar.h"
#include "TempDir.h"
#include "TestEntries.h"

namespace {

struct CliResult {
  int code;
  std::string out;
  std::string err;
};

CliResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "tarvelo-cli");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int code = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

class CliFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const TBuffer& bytes) {
    const std::string path = dir_.File(name);
    WriteBytes(path, bytes);
    return path;
  }
  TempDir dir_;
};

TEST_F(CliFiles, ShowJsonGivesTheTextsOfTheMainWindow) {
  const std::string path = Write("example.kelta", ExampleEntryBytes());
  const CliResult r = Cli({"show", "--json", path});
  ASSERT_EQ(r.code, 0) << r.err;
  const nlohmann::json expected = {
      {"file", path},
      {"entries",
       {{{"#", "1"},
         {"Date", "1.2.2020"},
         {"KM stand", "1000"},
         {"Workshop type", "BMW Service"},
         {"Workshop ID", "A1"},
         {"Status", "LATE"},
         {"CNT", "2"},
         {"procedures",
          {{{"#", "1"}, {"SERVICE TYPE", "Engine oil"}, {"STATUS", "ON TIME"}},
           {{"#", "2"}, {"SERVICE TYPE", "Vehicle check"}, {"STATUS", "OVERDUE"}}}}}}}};
  EXPECT_EQ(nlohmann::json::parse(r.out), expected);
  // Keys in the order of the columns.
  EXPECT_LT(r.out.find("\"#\""), r.out.find("\"Date\""));
  EXPECT_LT(r.out.find("\"Status\""), r.out.find("\"CNT\""));
}

TEST_F(CliFiles, ShowPrintsAlignedRowsWithProceduresUnderEachEntry) {
  TBuffer unknown = EntryWithProcedures(0, 4294967295u);
  unknown[9] = 2;    // workshop type outside the table
  unknown[17] = 0;   // service status outside the table
  const std::string path = Write("two.kelta", JoinHistory({ExampleEntryBytes(), unknown}));
  const CliResult r = Cli({"show", path});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "#      Date    KM stand  Workshop type  Workshop ID    Status    CNT\n"
            "2  1.2.2020        1000   BMW Service       A1          LATE       2\n"
            "    #  SERVICE TYPE   STATUS\n"
            "    1  Engine oil     ON TIME\n"
            "    2  Vehicle check  OVERDUE\n"
            "1  1.2.2020  4294967295     UNKNOWN         A1       UNKNOWN(0)    0\n");
}

TEST_F(CliFiles, CheckReportsValidInvalidAndUnreadableFiles) {
  const std::string valid = Write("valid.kelta", JoinHistory({ExampleEntryBytes(), EntryWithProcedures(1)}));
  CliResult r = Cli({"check", valid});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "File: " + valid + "\nEntries: 2\n");

  const std::string invalid = Write("invalid.kelta", TBuffer(20, 0));
  r = Cli({"check", invalid});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Invalid data: " + invalid + "\n");

  const std::string missing = dir_.File("missing.kelta");
  r = Cli({"check", missing});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "Cannot open file \"" + missing + "\". No such file or directory.\n");

  r = Cli({"show", invalid});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Invalid data: " + invalid + "\n");
}

TEST_F(CliFiles, CheckOfAFileTooBigForTheMemoryLeftSaysInvalidData) {
  const std::size_t entries = 1000;
  const std::string path = Write("many.kelta", JoinHistory(THistoryList(entries, EntryWithProcedures(0))));
  ScopedAllocationFailure noMemory(entries * sizeof(TBuffer));  // the list the entries would go into
  const CliResult r = Cli({"check", path});
  EXPECT_GT(FailedAllocations(), 0u);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Invalid data: " + path + "\n");
}

TEST(Cli, HelpVersionAndUsageErrors) {
  CliResult r = Cli({"--version"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "1.00.100\n");

  for (const char* command : {"show", "check"}) {
    SCOPED_TRACE(command);
    r = Cli({command, "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("FILE"), std::string::npos);
  }
  r = Cli({"--help"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("show"), std::string::npos);

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{}, {"frobnicate"}, {"show"}, {"check", "a", "b"}, {"show", "--bogus", "x"}}) {
    r = Cli(bad);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
  }
}

TEST(CliRequest, PrintsTheAnswerOrSaysThereWasNone) {
  std::string port;
  {
    SimulatedCar car;
    port = car.PortText();
    CliResult r = Cli({"request", "--host", "127.0.0.1", "--port", port, "31 01 a0 80"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "7101A080\n");
    r = Cli({"request", "--host", "localhost", "--port", port, "--target", "12", "2201"});
    EXPECT_EQ(r.out, "7F2211\n");
    EXPECT_EQ(car->ReceivedFrames().back().target, 0x12);
  }
  const CliResult r = Cli({"request", "--host", "127.0.0.1", "--port", port, "1101"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "ERR: no answer (no connection to the car)\n");
  EXPECT_EQ(Cli({"request", "1101"}).code, 2);
}

TEST_F(CliFiles, WritePrintsTheLogAndExitsWithTheOutcome) {
  const std::string file = Write("three.kelta", JoinHistory({ExampleEntryBytes(), EntryWithProcedures(1)}));
  SimulatedCar car;
  CliResult r = Cli({"write", "--host", "127.0.0.1", "--port", car.PortText(), file});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "[ BEGIN ]\n\n- Connected to 127.0.0.1\n- Erasing current service history...\n"
            "- Writing new service history...\n- Finished writing, restarting Headunit...\n\n[ COMPLETE ]\n\n");
  EXPECT_EQ(JoinHistory(car->History()), ReadBytes(file));

  r = Cli({"write", "--host", "127.0.0.1", "--port", car.PortText(), "--no-erase", file});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.find("Erasing"), std::string::npos);
  EXPECT_EQ(car->History().size(), 4u);

  car->SetFaults([] {
    CarSimFaults f;
    f.nrc = {{0x11, 0x22}};
    return f;
  }());
  r = Cli({"write", "--host", "127.0.0.1", "--port", car.PortText(), file});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("ERR: Head unit refused the reset request: 7F 11 22 (conditionsNotCorrect)\n\n[ ERROR ]\n\n"),
            std::string::npos);

  EXPECT_EQ(Cli({"write", "--host", "127.0.0.1", Write("bad.kelta", TBuffer(20, 0))}).code, 1);
  EXPECT_EQ(Cli({"write", "--host", "127.0.0.1", dir_.File("missing.kelta")}).code, 2);
  EXPECT_EQ(Cli({"write", file}).code, 2);
}

TEST(CliProgram, ExecutableAnswersAndExitsWithTheCode) {
  const std::string cli = BuiltProgram("tools/cli/tarvelo-cli");
  const ProgramRun version = RunProgram(cli + " --version");
  EXPECT_EQ(version.out, "1.00.100\n");
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(RunProgram(cli + " check nonexistent/x.kelta" + kNoStderr).code, 2);
}

// Ctrl-C in the middle of a write to a car that keeps silent: the write stops before its next
// request, says so, and the program exits with 130; a second Ctrl-C ends it at once.
TEST(CliProgram, CtrlCStopsAWriteBeforeItsNextRequest) {
#ifdef _WIN32
  GTEST_SKIP() << "the test sends Ctrl-C as a POSIX signal (SIGINT) from a POSIX shell; "
                  "a Windows program gets Ctrl-C as a console control event instead";
#endif
  CarSimFaults silent;
  silent.silent = true;
  SimulatedCar car(silent);
  const std::string cli = BuiltProgram("tools/cli/tarvelo-cli");
  const std::string sample = std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta";
  // The shell sends the interrupt once the car has the first request (the erase), while the
  // write waits for its answer; a second run gets two interrupts.
  const std::string write = cli + " write --host 127.0.0.1 --port " + car.PortText() + " " + sample;
  const auto run = [&](const std::string& interrupts) {
    return RunProgram("(" + write + " & pid=$!; sleep 1; " + interrupts + " wait $pid; echo \"exit $?\") 2>&1");
  };
  const ProgramRun once = run("kill -INT $pid;");
  EXPECT_EQ(once.out,
            "[ BEGIN ]\n\n- Connected to 127.0.0.1\n- Erasing current service history...\n"
            "ERR: No answer to the erase request (stopped by the user)\n"
            "ERR: Stopped by the user before entry 1 of 9.\n\n[ ERROR ]\n\nexit 130\n");
  EXPECT_EQ(car->ReceivedRequests().size(), 1u);

  const ProgramRun twice = run("kill -INT $pid; kill -INT $pid;");
  EXPECT_NE(twice.out.find("exit 130"), std::string::npos) << twice.out;  // killed by the signal: 128 + 2
}

TEST(SampleFile, IsWhatTheGeneratorWritesAndShowsEveryStatus) {
  TempDir dir;
  const std::string out = dir.File("sample.kelta");
  ASSERT_EQ(RunProgram(BuiltProgram("examples/tarvelo-make-sample") + " " + out).code, 0);
  const TBuffer committed = ReadBytes(std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta");
  EXPECT_EQ(ReadBytes(out), committed);

  const std::optional<THistoryList> list = SplitHistory(committed);
  ASSERT_TRUE(list);
  EXPECT_GE(list->size(), 6u);
  EXPECT_LE(list->size(), 10u);
  std::set<int> workshopTypes, serviceStatuses, procedureStatuses;
  for (const TBuffer& e : *list) {
    workshopTypes.insert(WorkshopTYP(e));
    serviceStatuses.insert(SVCStatus(e));
    for (std::size_t i = 0; i < ProcCount(e); ++i) procedureStatuses.insert(ProcStatus(e, i));
  }
  EXPECT_EQ(workshopTypes, (std::set<int>{0, 1}));
  EXPECT_EQ(serviceStatuses, (std::set<int>{1, 2, 3}));
  EXPECT_EQ(procedureStatuses, (std::set<int>{1, 2, 3}));
}

}  // namespace
