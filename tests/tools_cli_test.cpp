#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <filesystem>
#include <sstream>

#include "exchange/HistoryExchange.h"
#include "history/HistoryCheck.h"
#include "history/HistoryFile.h"
#include "tests/TestEntries.h"
#include "tests/support/AllocationFailure.h"
#include "tests/support/CliInProcess.h"
#include "tests/support/RunProgram.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/TempDir.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/ServiceBookExport.h"

namespace {

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

TEST_F(CliFiles, CheckPrintsFindingsAfterTheCountAndStrictTurnsThemIntoFailure) {
  TServiceFields later = ExampleFields();  // 1.2.2020, 1000 km
  later.day = 3, later.month = 3, later.year = 2021, later.km = 900;
  TServiceFields future = ExampleFields();
  future.year = 2999, future.km = 5000;
  const std::string path = Write("findings.kelta", JoinHistory({BuildServiceRecord(future), BuildServiceRecord(later),
                                                                ExampleEntryBytes(), ExampleEntryBytes()}));
  const std::string expected = "File: " + path + "\nEntries: 4\n" +
                               "WARN: Entry 4: 1.2.2999 is after today, " + [] {
                                 const TCalendarDate t = LocalToday();
                                 return std::to_string(t.day) + "." + std::to_string(t.month) + "." + std::to_string(t.year);
                               }() + ".\n" +
                               "WARN: Entry 3: 900 km on 3.3.2021 is less than entry 1's 1,000 km on 1.2.2020.\n"
                               "WARN: Entry 1: the same as entry 2 (1.2.2020, 1,000 km).\n";
  for (const bool strict : {false, true}) {
    SCOPED_TRACE(strict);
    const CliResult r = strict ? Cli({"check", "--strict", path}) : Cli({"check", path});
    EXPECT_EQ(r.code, strict ? 1 : 0);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");
  }
  const std::string sample = std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta";
  const CliResult r = Cli({"check", "--strict", sample});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "File: " + sample + "\nEntries: 9\n");
}

TEST_F(CliFiles, ExportAndImportGiveTheSameFileBack) {
  const std::string sample = std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta";
  const THistoryList list = *SplitHistory(ReadBytes(sample));
  struct Case {
    std::vector<std::string> exportArgs;  // the output file last
    TExchangeFormat format;
    std::vector<std::string> importArgs;  // before IN
  };
  const std::vector<Case> cases = {
      {{"export", sample, "-o", dir_.File("s.csv")}, TExchangeFormat::Csv, {"import"}},
      {{"export", sample, "-o", dir_.File("s.json")}, TExchangeFormat::Json, {"import"}},
      {{"export", sample, "-o", dir_.File("s.txt")}, TExchangeFormat::Json, {"import", "--format", "json"}},
      {{"export", "--format", "csv", sample, "-o", dir_.File("s.dat")}, TExchangeFormat::Csv, {"import", "--format", "CSV"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exportArgs.back());
    CliResult r = Cli(c.exportArgs);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const TBuffer text = ReadBytes(c.exportArgs.back());
    EXPECT_EQ(std::string(text.begin(), text.end()), ExportHistory(list, c.format));
    const std::string back = dir_.File("back.kelta");
    std::vector<std::string> importArgs = c.importArgs;
    importArgs.insert(importArgs.end(), {c.exportArgs.back(), "-o", back});
    r = Cli(importArgs);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(ReadBytes(back), ReadBytes(sample));
  }
  // Without -o, on stdout, JSON unless told.
  EXPECT_EQ(Cli({"export", sample}).out, ExportHistory(list, TExchangeFormat::Json));
  EXPECT_EQ(Cli({"export", "--format", "csv", sample}).out, ExportHistory(list, TExchangeFormat::Csv));
}

TEST_F(CliFiles, ImportRefusesBadInputWithItsLineAndWritesNothing) {
  const std::string out = Write("kept.kelta", ExampleEntryBytes());
  const std::string csv = Write("bad.csv", TBuffer());
  WriteBytes(csv, [] {
    const std::string text = "Date,KM,Workshop type code,Workshop ID,Status code,Procedures\n"
                             "2020-02-01,1000,1,A1,2,(1): (1)\n2020-02-01,1000,1,A1,2,(1): (1)\n"
                             "2020-02-30,1000,1,A1,2,(1): (1)\n";
    return TBuffer(text.begin(), text.end());
  }());
  CliResult r = Cli({"import", csv, "-o", out});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, csv + ": Line 4: Date \"2020-02-30\" is not a calendar date written YYYY-MM-DD (or D.M.YYYY)\n");
  EXPECT_EQ(ReadBytes(out), ExampleEntryBytes());  // the file that was there stays as it was
  const std::string fresh = dir_.File("fresh.kelta");
  EXPECT_EQ(Cli({"import", csv, "-o", fresh}).code, 1);
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 2);  // no temporary file left

  struct UsageCase {
    std::vector<std::string> args;
    std::string err;
  };
  const std::string missing = dir_.File("missing.csv");
  const std::vector<UsageCase> usage = {
      {{"import", missing, "-o", fresh}, "Cannot open file \"" + missing + "\". No such file or directory.\n"},
      {{"import", out, "-o", fresh},
       "tarvelo-cli: cannot tell the format of " + out + " by its extension; give --format csv or json\n"},
      {{"import", "--format", "xml", csv, "-o", fresh}, "tarvelo-cli: --format takes csv or json, not \"xml\"\n"},
      {{"export", "--format", "xml", out}, "tarvelo-cli: --format takes csv or json, not \"xml\"\n"},
      {{"export", missing}, "Cannot open file \"" + missing + "\". No such file or directory.\n"},
      {{"export", out, "-o", dir_.File("no/such/dir/x.csv")},
       "Cannot create file \"" + dir_.File("no/such/dir/x.csv") + "\". No such file or directory.\n"},
  };
  for (const UsageCase& c : usage) {
    SCOPED_TRACE(c.args.front() + " " + c.args[1]);
    r = Cli(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_EQ(Cli({"import", csv}).code, 2);  // no -o
  EXPECT_FALSE(std::filesystem::exists(fresh));
  const std::string invalid = Write("invalid.kelta", TBuffer(20, 0));
  r = Cli({"export", invalid});
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

// `export --format pdf`: the service book, as the desktop program's "Save As" makes it, without a
// display; or the reason it is not made.
TEST_F(CliFiles, ExportPdfWritesTheServiceBook) {
  const std::string sample = TARVELO_SOURCE_DIR "/examples/sample.kelta";
  const std::string book = dir_.File("book.pdf");
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string err;  // the start of stderr
  };
  const std::vector<Case> refused = {
      {{"export", "--format", "pdf", sample}, 2, "tarvelo-cli: the service book is a PDF file: name it with -o BOOK.pdf\n"},
      {{"export", "--vin", "WBA8E9C57GK123456", sample}, 2, "tarvelo-cli: --vin is for the service book (--format pdf)\n"},
      {{"export", "--format", "pdf", sample, "-o", dir_.File("no-such-folder/book.pdf")}, 2,
       "Cannot create file \"" + dir_.File("no-such-folder/book.pdf") + "\". "},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.args[1]);
    const CliResult r = Cli(c.args);
    EXPECT_EQ(r.code, c.code);
    if (!ServiceBookExportAvailable() && c.args.size() > 4) {
      EXPECT_NE(r.err.find("no PDF service book"), std::string::npos) << r.err;
      continue;
    }
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
  }

  // By the extension of OUT, with the VIN on the title.
  const CliResult r = Cli({"export", sample, "-o", book, "--vin", "WBA8E9C57GK123456"});
  if (!ServiceBookExportAvailable()) {
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("no PDF service book"), std::string::npos) << r.err;
    GTEST_SKIP() << "this build has no Qt, so no service book";
  }
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "");
  const TBuffer pdf = ReadBytes(book);
  ASSERT_GT(pdf.size(), 1000u);
  EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
#ifdef _WIN32
  GTEST_SKIP() << "the book is read back with Linux's pdftotext, which a Windows program cannot start";
#else
  const ProgramRun text = RunProgram("pdftotext " + book + " -");
  if (text.code != 0) GTEST_SKIP() << "pdftotext (Debian's poppler-utils) is needed to read the book back";
  for (const char* seen : {"Vehicle identification number (VIN): WBA8E9C57GK123456", "9 services, the newest first.", "No. 9",
                           "98,450 km", "KFZ-BAU", "Pre-delivery inspection", "Page 1 of 1"}) {
    EXPECT_NE(text.out.find(seen), std::string::npos) << seen;
  }
#endif
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
    TCarSimFaults f;
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
  SimulatedCar car(SilentCar());
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
            "ERR: Stopped by the user before entry 1 of 9.\n"
            "ERR: The erase got no answer: the head unit holds its old history, or nothing if it erased it; nothing of "
            "the list was written.\n\n[ ERROR ]\n\nexit 130\n");
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
