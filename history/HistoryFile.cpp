#include "history/HistoryFile.h"

#include <cerrno>
#include <new>
#include <system_error>

#include "history/FileIo.h"
#include "history/TarveloError.h"

std::optional<std::size_t> CountHistoryEntries(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return std::nullopt;
  std::size_t count = 0;
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const std::size_t remaining = bytes.size() - offset;
    if (remaining < kRecordHeadSize) return std::nullopt;
    const std::size_t size = RecordSize(bytes[offset + kOffProcCount]);
    if (remaining < size) return std::nullopt;
    offset += size;
    ++count;
  }
  return count;
}

std::optional<THistoryList> SplitHistory(std::span<const uint8_t> bytes) {
  // Walk the offsets first, so that bytes which do not split cost no copies at all, and the list
  // is allocated once.
  const std::optional<std::size_t> count = CountHistoryEntries(bytes);
  if (!count) return std::nullopt;
  try {
    THistoryList list;
    list.reserve(*count);
    std::size_t offset = 0;
    while (offset < bytes.size()) {
      const std::size_t size = RecordSize(bytes[offset + kOffProcCount]);
      list.emplace_back(bytes.begin() + offset, bytes.begin() + offset + size);
      offset += size;
    }
    return list;
  } catch (const std::bad_alloc&) {
    // A file of many small entries needs far more memory as a list than as bytes. Without it the
    // split fails as a whole, like bytes that do not add up: the caller's list stays as it was.
    return std::nullopt;
  }
}

TBuffer JoinHistory(const THistoryList& list) {
  std::size_t total = 0;
  for (const TBuffer& entry : list) total += entry.size();
  TBuffer bytes;
  bytes.reserve(total);
  for (const TBuffer& entry : list) bytes.insert(bytes.end(), entry.begin(), entry.end());
  return bytes;
}

void WriteHistoryFile(const std::string& path, const THistoryList& list) {
  TBuffer bytes;
  try {
    bytes = JoinHistory(list);
  } catch (const std::bad_alloc&) {
    throw CannotCreateFileError(path, std::error_code(ENOMEM, std::generic_category()).message());
  }
  WriteFileAtomically(path, bytes);
}

std::string THistoryLoad::Message() const {
  return outcome == Outcome::Unreadable ? ErrorReportText(problem) : problem;
}

THistoryLoad LoadHistoryFileAs(const std::string& path, const THistoryParser& parse,
                               const std::function<void()>& afterRead) {
  THistoryLoad load;
  TBuffer bytes;
  try {
    bytes = ReadWholeFile(path);
  } catch (const ETarveloError& e) {
    load.outcome = THistoryLoad::Outcome::Unreadable;
    load.problem = e.what();
    return load;
  }
  if (afterRead) afterRead();
  try {
    load.entries = parse(bytes);
  } catch (const ETarveloError& e) {
    load.outcome = THistoryLoad::Outcome::InvalidData;
    load.problem = e.what();
  } catch (const std::bad_alloc&) {
    load.outcome = THistoryLoad::Outcome::InvalidData;
    load.problem = "the file is too big for the memory left";
  }
  return load;
}

THistoryLoad LoadHistoryFile(const std::string& path, const std::function<void()>& afterRead) {
  const auto split = [&path](std::span<const uint8_t> bytes) {
    std::optional<THistoryList> entries = SplitHistory(bytes);
    if (!entries) throw ETarveloError("Invalid data: " + path);
    return std::move(*entries);
  };
  return LoadHistoryFileAs(path, split, afterRead);
}
