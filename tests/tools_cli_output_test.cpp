// Where tarvelo-cli's output goes, and what it takes in before it sends anything: a full disk, a
// device, a FIFO, the input file itself, and hex typed by hand. Nothing fails silently, nothing is
// replaced that is not a file of its own, nothing is sent that the user did not type.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "exchange/HistoryExchange.h"
#include "history/HistoryFile.h"
#include "tests/TestEntries.h"
#include "tests/support/CliInProcess.h"
#include "tests/support/RunProgram.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/TempDir.h"
#include "tools/cli/CliSupport.h"

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

const std::string kSample = std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta";

// -o naming the input, by its own name or another: refused before anything is written, and the
// input stays as it was.
TEST(CliOutput, AnOutputThatIsTheInputIsRefusedBeforeAnythingIsWritten) {
  TempDir dir;
  const std::string history = dir.File("same.kelta");
  WriteBytes(history, ReadBytes(kSample));
  const std::string csv = dir.File("same.csv");
  WriteBytes(csv, [] {
    const std::string text = ExportHistory(*SplitHistory(ReadBytes(kSample)), TExchangeFormat::Csv);
    return TBuffer(text.begin(), text.end());
  }());
  fs::create_directory(dir.File("sub"));
  const std::string otherName = dir.File("sub/../same.kelta");
  const std::string link = dir.File("link.kelta");
  std::error_code ec;
  fs::create_hard_link(history, link, ec);
  struct Case {
    std::vector<std::string> args;
    std::string input;
  };
  std::vector<Case> cases = {
      {{"export", history, "-o", history}, history},
      {{"export", "--format", "csv", history, "-o", otherName}, history},
      {{"export", history, "--format", "pdf", "-o", history}, history},
      {{"import", csv, "-o", csv}, csv},
      {{"import", "--format", "csv", csv, "-o", dir.File("./same.csv")}, csv},
  };
  if (!ec) cases.push_back({{"export", history, "-o", link}, history});  // the same file through a hard link
  const TBuffer historyBytes = ReadBytes(history);
  const TBuffer csvBytes = ReadBytes(csv);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CliResult r = Cli(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "tarvelo-cli: -o \"" + c.args.back() + "\" is the input file \"" + c.input +
                         "\" itself; writing it would replace what is read. Give another file for the output\n");
  }
  EXPECT_EQ(ReadBytes(history), historyBytes);
  EXPECT_EQ(ReadBytes(csv), csvBytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), ec ? 3 : 4);  // no temporary file left
}

struct TargetCase {
  const char* name;
  std::string command;  // a shell command line; CLI stands for the program, DIR for the folder
  int code;
  std::string err;      // what stderr says (a start of it)
  std::string check;    // a shell test that must hold afterwards, or empty
};

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
  for (std::size_t at; (at = text.find(what)) != std::string::npos;) text.replace(at, what.size(), with);
  return text;
}

// The real program, its stdout and -o pointed at full disks, devices, FIFOs and the input file.
TEST(CliOutput, EveryOutputTargetIsWrittenWholeOrTheCommandFails) {
#ifdef _WIN32
  GTEST_SKIP() << "the targets are POSIX ones: /dev/full, /dev/null, FIFOs, a shell's redirections";
#else
  TempDir dir;
  const std::string history = dir.File("h.kelta");
  WriteBytes(history, ReadBytes(kSample));
  const bool full = fs::exists("/dev/full");
  const std::string noSpace = "tarvelo-cli: the output could not be written (No space left on device), so it is "
                              "incomplete; make room where it goes, or send it elsewhere\n";
  std::vector<TargetCase> cases = {
      {"export to a regular file", "CLI export --format csv H -o DIR/out.csv", 0, "", "test -f DIR/out.csv"},
      {"export -o /dev/null", "CLI export H -o /dev/null", 0, "", "test -c /dev/null"},
      {"export into a FIFO", "mkfifo DIR/fifo && (timeout 60 cat DIR/fifo > DIR/got &) && CLI export --format csv H -o DIR/fifo",
       0, "", "test -p DIR/fifo && cmp -s DIR/got DIR/expected.csv"},
      {"show into the file it shows, appended", "CLI show H >> H", 2,
       "tarvelo-cli: the output goes into the input file \"H\" itself (a shell redirection), which would damage it. "
       "Send the output to another file\n",
       "cmp -s H DIR/original"},
      {"check into the file it checks", "CLI check H >> H", 2, "tarvelo-cli: the output goes into the input file", ""},
  };
  if (full) {
    cases.push_back({"export to stdout on a full disk", "CLI export H > /dev/full", 2, noSpace, ""});
    cases.push_back({"export csv to stdout on a full disk", "CLI export --format csv H > /dev/full", 2, noSpace, ""});
    cases.push_back({"show to stdout on a full disk", "CLI show H > /dev/full", 2, noSpace, ""});
    cases.push_back({"show --json to stdout on a full disk", "CLI show --json H > /dev/full", 2, noSpace, ""});
    cases.push_back({"check to stdout on a full disk", "CLI check H > /dev/full", 2, noSpace, ""});
    cases.push_back({"export -o /dev/full", "CLI export H -o /dev/full", 2,
                     "Cannot create file \"/dev/full\". No space left on device.\n", "test -c /dev/full"});
  }
  WriteBytes(dir.File("original"), ReadBytes(history));
  const std::string expected = ExportHistory(*SplitHistory(ReadBytes(kSample)), TExchangeFormat::Csv);
  WriteBytes(dir.File("expected.csv"), TBuffer(expected.begin(), expected.end()));
  const std::string cli = BuiltProgram("tools/cli/tarvelo-cli");
  for (const TargetCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(dir.File("fifo"));
    fs::remove(dir.File("got"));
    const auto line = [&](const std::string& text) {
      return Replaced(Replaced(Replaced(text, "CLI", cli), " H", " " + Quoted(history)), "DIR", Quoted(dir.Path().string()));
    };
    const ProgramRun run = RunProgram("(" + line(c.command) + ") 2>&1");
    EXPECT_EQ(run.code, c.code) << run.out;
    const std::string err = Replaced(c.err, "\"H\"", "\"" + history + "\"");
    if (c.code != 0) {
      EXPECT_EQ(run.out.substr(0, err.size()), err);
    } else {
      EXPECT_EQ(run.out, "");
    }
    if (!c.check.empty()) {
      // The FIFO's reader may still be writing what it got: wait for it, for at most a minute.
      const ProgramRun check =
          RunProgram("for i in $(seq 600); do " + line(c.check) + " && exit 0; sleep 0.1; done; exit 1");
      EXPECT_EQ(check.code, 0) << c.check;
    }
    EXPECT_EQ(ReadBytes(history), ReadBytes(dir.File("original")));
  }
#endif
}

// A file name that is not UTF-8 shows in `show --json` with U+FFFD in its place, never as the JSON
// library's exception.
TEST(CliOutput, ShowJsonOfAFileNameThatIsNotUtf8) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names are UTF-16";
#else
  TempDir dir;
  const std::string path = dir.File("M\xFCller.kelta");
  WriteBytes(path, ExampleEntryBytes());
  const CliResult r = Cli({"show", "--json", path});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("M\xEF\xBF\xBDller.kelta\""), std::string::npos) << r.out;
#endif
}

// Hex that is not whole bytes, and a target that is not one byte, are refused before a connection
// is made: the car gets nothing.
TEST(CliOutput, RequestTakesOnlyWholeBytesOfHexAndSendsNothingElse) {
  SimulatedCar car;
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"ZZ"}, "tarvelo-cli: the request \"ZZ\" holds \"Z\" at character 1, which is no hex digit; write bytes as two "
               "digits 0-9 or A-F each, such as 3101A080\n"},
      {{"3101A08"}, "tarvelo-cli: the request \"3101A08\" is not whole bytes: \"3101A08\" has 7 hex digits; write two "
                    "digits for every byte, such as 0A for 10\n"},
      {{"31O1A080"}, "tarvelo-cli: the request \"31O1A080\" holds \"O\" at character 3, which is no hex digit; write "
                     "bytes as two digits 0-9 or A-F each, such as 3101A080\n"},
      {{"--target", "1FF", "3101A080"}, "tarvelo-cli: --target takes the control unit's address as one byte in hex, "
                                        "such as 63 (the head unit), not \"1FF\"\n"},
      {{"--target", "", "3101A080"}, "tarvelo-cli: --target takes the control unit's address as one byte in hex, "
                                     "such as 63 (the head unit), not \"\"\n"},
      {{"--target", "12 34", "3101A080"}, "tarvelo-cli: --target takes the control unit's address as one byte in "
                                          "hex, such as 63 (the head unit), not \"12 34\"\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    std::vector<std::string> args = {"request", "--host", "127.0.0.1", "--port", car.PortText()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult r = Cli(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_TRUE(car->ReceivedFrames().empty());
  // Bytes typed as two words are one request.
  const CliResult r = Cli({"request", "--host", "127.0.0.1", "--port", car.PortText(), "31 01", "a0", "80"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "7101A080\n");
}

// export --separator: the CSV in the separator asked for; usage errors for anything else.
TEST(CliOutput, ExportWritesTheSeparatorAskedFor) {
  const THistoryList list = *SplitHistory(ReadBytes(kSample));
  EXPECT_EQ(Cli({"export", "--separator", "semicolon", kSample}).out, ExportHistory(list, TExchangeFormat::Csv, {';'}));
  EXPECT_EQ(Cli({"export", "--format", "csv", "--separator", "tab", kSample}).out,
            ExportHistory(list, TExchangeFormat::Csv, {'\t'}));
  EXPECT_EQ(Cli({"export", "--separator", "comma", kSample}).out, ExportHistory(list, TExchangeFormat::Csv));
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"export", "--separator", ";", kSample}, "tarvelo-cli: --separator takes comma, semicolon or tab, not \";\"\n"},
      {{"export", "--format", "json", "--separator", "tab", kSample},
       "tarvelo-cli: --separator is for CSV; give --format csv, or leave --separator out for JSON\n"},
      {{"export", "--format", "pdf", "--separator", "tab", kSample, "-o", "x.pdf"},
       "tarvelo-cli: --separator is for CSV, not for the service book\n"},
  };
  for (const Case& c : cases) {
    const CliResult r = Cli(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
}

// import names the character set it read when it is not UTF-8, and a file that is refused says
// which line and why.
TEST(CliOutput, ImportSaysTheCharacterSetAndTheRefusedLine) {
  TempDir dir;
  const THistoryList list = *SplitHistory(ReadBytes(kSample));
  std::string text = ExportHistory(list, TExchangeFormat::Csv, {';'}).substr(3);
  std::string ansi;
  for (std::size_t i = 0; i < text.size(); ++i) {  // "ü" is the only character beyond ASCII in the sample
    if (text.compare(i, 2, "\xC3\xBC") == 0) {
      ansi += '\xFC';
      ++i;
    } else {
      ansi += text[i];
    }
  }
  const std::string csv = dir.File("excel.csv");
  WriteBytes(csv, TBuffer(ansi.begin(), ansi.end()));
  const std::string back = dir.File("back.kelta");
  CliResult r = Cli({"import", csv, "-o", back});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, csv + ": read as Windows-1252, as the file is not UTF-8\n");
  EXPECT_EQ(ReadBytes(back), ReadBytes(kSample));

  const std::size_t at = ansi.find("2023-01-21");
  ansi.replace(at, 10, "21.01.23");
  WriteBytes(csv, TBuffer(ansi.begin(), ansi.end()));
  r = Cli({"import", csv, "-o", dir.File("short.kelta")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, csv + ": read as Windows-1252, as the file is not UTF-8\n" + csv +
                       ": Line 4: Date \"21.01.23\" has a year of 2 digits; write the year in full (YYYY-MM-DD or "
                       "D.M.YYYY): a spreadsheet that saves dates with short years drops the century\n");
  EXPECT_FALSE(fs::exists(dir.File("short.kelta")));
}

}  // namespace
