#pragma once
// The history file (*.kelta): the entries of the list back to back, index 0 first. No header, no
// magic, no count, no checksum. Each entry is 19 + 8 x ProcCount bytes, so the file is split by
// walking it once from the front; it is valid only when the last entry ends exactly at its end.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "history/FileIo.h"
#include "history/HistoryList.h"

inline constexpr std::size_t kMaxHistoryFileBytes = kMaxFileBytes;

// Splits the bytes of a history file into entries, all or nothing: nullopt when the bytes are
// empty, a head is cut short or the last entry is shorter than its ProcCount demands.
std::optional<THistoryList> SplitHistory(std::span<const uint8_t> bytes);

// Number of entries the bytes split into, or nullopt; walks the offsets without copying.
std::optional<std::size_t> CountHistoryEntries(std::span<const uint8_t> bytes);

// The bytes of a history file for the list: every entry whole, in list order.
TBuffer JoinHistory(const THistoryList& list);

// Splitting is all or nothing also when memory runs out: nullopt, never a part of the list.

// Loading a history file: its entries, or why there are none.
struct THistoryLoad {
  enum class Outcome { Loaded, Unreadable, InvalidData };
  Outcome outcome = Outcome::Loaded;
  THistoryList entries;  // the file's entries in file order, when loaded
  // Why not, as the user reads it: "Cannot open file "<path>". <the system's text>" (error report
  // text, no full stop yet) or "Invalid data: <path>".
  std::string problem;
  // Something the reader took that the user should know, even when the file loaded: a spreadsheet
  // file read in another character set than UTF-8 ("read as Windows-1252: ..."). Empty when none.
  std::string note;
  bool Loaded() const { return outcome == Outcome::Loaded; }
  // The problem as a message stands on its own (the error report's full stop included).
  std::string Message() const;
};

// Reads the whole file, then splits it (all or nothing); afterRead runs in between, once the bytes
// are in (the desktop program says "Verifying file: " then).
THistoryLoad LoadHistoryFile(const std::string& path, const std::function<void()>& afterRead = {});

// The same for a file of another form: parse turns the bytes into entries, or throws ETarveloError
// with the reason it refuses them (the problem of an InvalidData load).
using THistoryParser = std::function<THistoryList(std::span<const uint8_t> bytes)>;
THistoryLoad LoadHistoryFileAs(const std::string& path, const THistoryParser& parse,
                               const std::function<void()>& afterRead = {});

// The list as a history file at path, written as WriteFileAtomically writes.
void WriteHistoryFile(const std::string& path, const THistoryList& list);
