#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include "history/HistoryFile.h"
#include "history/TarveloError.h"
#include "tests/TestEntries.h"
#include "tests/support/AllocationFailure.h"
#include "tests/support/Sandbox.h"
#include "tests/support/TempDir.h"

namespace {

TBuffer Concat(std::initializer_list<TBuffer> parts) {
  TBuffer out;
  for (const TBuffer& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct SplitCase {
  const char* name;
  TBuffer bytes;
  std::optional<std::vector<std::size_t>> entrySizes;  // nullopt: invalid
};

TEST(SplitHistory, Cases) {
  TBuffer nineteen = EntryWithProcedures(0);
  TBuffer announcesThreeEndsEarly = EntryWithProcedures(3);
  announcesThreeEndsEarly.resize(announcesThreeEndsEarly.size() - 8);
  const SplitCase cases[] = {
      {"empty file", {}, std::nullopt},
      {"one entry without procedures", nineteen, std::vector<std::size_t>{19}},
      {"19 bytes and one more", Concat({nineteen, {0x00}}), std::nullopt},
      {"head cut short", TBuffer(18, 0), std::nullopt},
      {"last entry 8 bytes short", Concat({ExampleEntryBytes(), announcesThreeEndsEarly}), std::nullopt},
      {"27 + 35 bytes", Concat({EntryWithProcedures(1), ExampleEntryBytes()}), std::vector<std::size_t>{27, 35}},
      {"255 procedures", EntryWithProcedures(255), std::vector<std::size_t>{2059}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<THistoryList> list = SplitHistory(c.bytes);
    ASSERT_EQ(list.has_value(), c.entrySizes.has_value());
    EXPECT_EQ(CountHistoryEntries(c.bytes).has_value(), c.entrySizes.has_value());
    if (!list) continue;
    ASSERT_EQ(list->size(), c.entrySizes->size());
    std::size_t offset = 0;
    for (std::size_t i = 0; i < list->size(); ++i) {
      EXPECT_EQ((*list)[i].size(), (*c.entrySizes)[i]);
      EXPECT_EQ((*list)[i], TBuffer(c.bytes.begin() + offset, c.bytes.begin() + offset + (*c.entrySizes)[i]));
      offset += (*c.entrySizes)[i];
    }
  }
}

TEST(SplitHistory, FixtureFiles) {
  const std::pair<const char*, std::optional<std::size_t>> cases[] = {
      {"example.kelta", 1},          {"two-entries.kelta", 2},         {"no-procedures.kelta", 1},
      {"last-entry-short.kelta", {}}, {"one-byte-too-many.kelta", {}},
  };
  for (const auto& [name, entries] : cases) {
    SCOPED_TRACE(name);
    const std::optional<THistoryList> list = SplitHistory(ReadWholeFile(std::string(TARVELO_TEST_DATA_DIR) + "/" + name));
    ASSERT_EQ(list.has_value(), entries.has_value());
    if (list) {
      EXPECT_EQ(list->size(), *entries);
    }
  }
  EXPECT_EQ(ReadWholeFile(std::string(TARVELO_TEST_DATA_DIR) + "/example.kelta"), ExampleEntryBytes());
}

TEST(SplitHistory, FieldValuesPlayNoPart) {
  TBuffer odd = ExampleEntryBytes();
  odd[0] = 40;   // day 40
  odd[17] = 9;   // service status 9
  ASSERT_TRUE(SplitHistory(odd));
}

TEST(JoinHistory, IsTheInverseOfSplit) {
  const THistoryList list = {EntryWithProcedures(1, 5), ExampleEntryBytes(), EntryWithProcedures(0, 7)};
  const TBuffer bytes = JoinHistory(list);
  EXPECT_EQ(bytes.size(), 27u + 35u + 19u);
  EXPECT_EQ(SplitHistory(bytes), list);
  EXPECT_TRUE(JoinHistory({}).empty());
}

TEST(HistoryFile, SaveAndOpenGiveTheSameEntriesByteForByte) {
  TempDir dir;
  const THistoryList list = {ExampleEntryBytes(), EntryWithProcedures(255, 9999999), EntryWithProcedures(0)};
  const std::string path = dir.File("history.kelta");
  WriteFileAtomically(path, JoinHistory(list));
  EXPECT_EQ(ReadBytes(path), JoinHistory(list));
  EXPECT_EQ(SplitHistory(ReadWholeFile(path)), list);
}

TEST(HistoryFile, SaveReplacesAnExistingFileAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string path = dir.File("history.kelta");
  WriteBytes(path, TBuffer(100, 0xAA));
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  // The mode as the system keeps it (Windows knows only "read-only or not" and shows it for all).
  const std::filesystem::perms mode = std::filesystem::status(path).permissions() & std::filesystem::perms::all;
#ifndef _WIN32
  EXPECT_EQ(mode, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
  WriteFileAtomically(path, ExampleEntryBytes());
  EXPECT_EQ(ReadBytes(path), ExampleEntryBytes());
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all, mode);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(HistoryFile, SaveThroughASymbolicLinkKeepsTheLink) {
  TempDir dir;
  const std::string real = dir.File("real.kelta");
  const std::string link = dir.File("link.kelta");
  WriteBytes(real, TBuffer(3, 1));
  std::error_code linked;
  std::filesystem::create_symlink(real, link, linked);
#ifdef _WIN32
  // Windows makes symbolic links only for administrators or in developer mode; Wine makes none.
  if (linked) GTEST_SKIP() << "cannot make a symbolic link here: " << linked.message();
#endif
  ASSERT_FALSE(linked) << linked.message();
  WriteFileAtomically(link, ExampleEntryBytes());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), ExampleEntryBytes());
}

std::string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const ETarveloError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(HistoryFile, OpenErrorsCarryTheNameAndTheSystemText) {
  TempDir dir;
  const std::string missing = dir.File("missing.kelta");
  EXPECT_EQ(ErrorText([&] { ReadWholeFile(missing); }),
            "Cannot open file \"" + missing + "\". No such file or directory");
#ifdef _WIN32
  // Windows refuses to open a folder as a file with "access denied".
  EXPECT_EQ(ErrorText([&] { ReadWholeFile(dir.Path().string()); }),
            "Cannot open file \"" + dir.Path().string() + "\". Permission denied");
#else
  EXPECT_EQ(ErrorText([&] { ReadWholeFile(dir.Path().string()); }),
            "Cannot open file \"" + dir.Path().string() + "\". Is a directory");
#endif
}

TEST(HistoryFile, ADeviceWithoutEndIsRefusedAtTheLimit) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no device that reads without end, like /dev/zero";
#endif
  EXPECT_EQ(ErrorText([] { ReadWholeFile("/dev/zero", 1 << 20); }),
            "Cannot open file \"/dev/zero\". File too large");
}

#ifndef _WIN32
// The most memory the process has held so far, in KiB.
long PeakMemoryKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
#endif

// A file over the limit is refused from its size: no byte is read and no buffer is taken, so a
// file of gigabytes costs neither time nor memory. A sparse file stands for it.
TEST(HistoryFile, AFileOverTheLimitIsRefusedFromItsSizeBeforeItIsRead) {
  TempDir dir;
#ifndef _WIN32  // a sparse file of 2 GiB, which Windows file systems may well write out whole
  const std::string path = dir.File("huge.kelta");
  WriteBytes(path, ExampleEntryBytes());
  std::filesystem::resize_file(path, std::uintmax_t{2} << 30);  // 2 GiB, holes but for the first entry
  const long before = PeakMemoryKiB();
  EXPECT_EQ(ErrorText([&] { ReadWholeFile(path); }), "Cannot open file \"" + path + "\". File too large");
  EXPECT_LT(PeakMemoryKiB() - before, 256 * 1024);  // reading up to the limit would take 1 GiB
#endif
  // At the limit a file is still read whole.
  const std::string small = dir.File("small.kelta");
  WriteBytes(small, TBuffer(100, 1));
  EXPECT_EQ(ReadWholeFile(small, 100).size(), 100u);
  EXPECT_EQ(ErrorText([&] { ReadWholeFile(small, 99); }), "Cannot open file \"" + small + "\". File too large");
}

// A device or a FIFO named as the target is written into, never replaced by a regular file.
TEST(HistoryFile, ADeviceOrAFifoIsWrittenIntoNotReplaced) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no /dev/null or FIFOs in its file system";
#else
  WriteFileAtomically("/dev/null", ExampleEntryBytes());
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(ErrorText([] { WriteFileAtomically("/dev/full", ExampleEntryBytes()); }),
              "Cannot create file \"/dev/full\". No space left on device");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
  }
  TempDir dir;
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string got = dir.File("got");
  WriteBytes(got, {});
  // A reader on the other end, for at most a minute should the write never come.
  ASSERT_EQ(std::system(("timeout 60 cat '" + fifo + "' > '" + got + "' &").c_str()), 0);
  WriteFileAtomically(fifo, ExampleEntryBytes());
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  for (int i = 0; i < 600 && ReadBytes(got) != ExampleEntryBytes(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(ReadBytes(got), ExampleEntryBytes());
#endif
}

TEST(HistoryFile, CreateErrorCarriesTheNameAndTheSystemText) {
  TempDir dir;
  const std::string path = dir.File("no-such-dir/history.kelta");
  EXPECT_EQ(ErrorText([&] { WriteFileAtomically(path, ExampleEntryBytes()); }),
            "Cannot create file \"" + path + "\". No such file or directory");
}

TEST(HistoryFile, FailedSaveIntoAReadOnlyDirectoryLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.File("history.kelta");
  const TBuffer old = JoinHistory({ExampleEntryBytes(), EntryWithProcedures(3)});
  WriteBytes(path, old);
  const ChildOutcome outcome = RunWithReadOnlyDirectory(dir.Path().string(), [&] {
    return ErrorText([&] { WriteFileAtomically(path, EntryWithProcedures(1)); });
  });
  if (!outcome.ran) GTEST_SKIP() << "no private mount namespace here: " << outcome.why;
  EXPECT_EQ(outcome.output, "Cannot create file \"" + path + "\". Read-only file system");
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(HistoryFile, FailedSaveIntoAFullFileSystemLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.File("history.kelta");
  const TBuffer old = JoinHistory({ExampleEntryBytes()});
  THistoryList big(200, EntryWithProcedures(255));  // about 400 KB, more than the file system holds
  const ChildOutcome outcome = RunWithSmallFileSystem(dir.Path().string(), 64 * 1024, [&] {
    WriteBytes(path, old);
    std::string text = ErrorText([&] { WriteFileAtomically(path, JoinHistory(big)); });
    const bool oldWhole = ReadBytes(path) == old;
    const auto files = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
    return text + "|" + (oldWhole ? "whole" : "damaged") + "|" + std::to_string(files);
  });
  if (!outcome.ran) GTEST_SKIP() << "no private mount namespace here: " << outcome.why;
  EXPECT_EQ(outcome.output, "Cannot create file \"" + path + "\". No space left on device|whole|1");
}

TEST(HistoryFile, SaveIntoAFolderThatRefusesNewFilesWritesTheFileInPlace) {
  TempDir dir;
  const std::string path = dir.File("history.kelta");
  const std::string missing = dir.File("new.kelta");
  WriteBytes(path, TBuffer(100, 0xAA));
  const ChildOutcome outcome = RunInUnwritableDirectory(dir.Path().string(), [&] {
    const std::string saved = ErrorText([&] { WriteHistoryFile(path, {ExampleEntryBytes()}); });
    const std::string created = ErrorText([&] { WriteHistoryFile(missing, {ExampleEntryBytes()}); });
    return saved + "|" + created;
  });
  if (!outcome.ran) GTEST_SKIP() << "cannot take the folder's write permission away here: " << outcome.why;
  EXPECT_EQ(outcome.output, "(no error)|Cannot create file \"" + missing + "\". Permission denied");
  EXPECT_EQ(ReadBytes(path), ExampleEntryBytes());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Memory that runs out while a file is read, split or joined ends in the file's own error, never in
// a part of a list.
TEST(HistoryFile, MemoryRunningOutGivesTheFilesOwnOutcome) {
  const std::size_t entries = 1000;
  const TBuffer bytes = JoinHistory(THistoryList(entries, EntryWithProcedures(0)));
  const std::size_t listBytes = entries * sizeof(TBuffer);
  const std::size_t entryBytes = RecordSize(0);
  for (const std::size_t failing : {listBytes, entryBytes}) {
    SCOPED_TRACE(failing);
    ScopedAllocationFailure noMemory(failing);
    EXPECT_EQ(SplitHistory(bytes), std::nullopt);
    EXPECT_GT(FailedAllocations(), 0u);
  }
  EXPECT_EQ(SplitHistory(bytes)->size(), entries);

  TempDir dir;
  const std::string path = dir.File("history.kelta");
  WriteBytes(path, bytes);
  {
    ScopedAllocationFailure noMemory(bytes.size() + 1);  // the read's one buffer
    EXPECT_EQ(ErrorText([&] { ReadWholeFile(path); }),
              "Cannot open file \"" + path + "\". Cannot allocate memory");
  }
  const THistoryList other(entries, ExampleEntryBytes());
  {
    ScopedAllocationFailure noMemory(entries * ExampleEntryBytes().size());  // the joined bytes
    EXPECT_EQ(ErrorText([&] { WriteHistoryFile(path, other); }),
              "Cannot create file \"" + path + "\". Cannot allocate memory");
  }
  EXPECT_EQ(ReadBytes(path), bytes);
}

}  // namespace
