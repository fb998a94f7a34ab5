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

#include "HistoryList.h"

inline constexpr std::size_t kMaxHistoryFileBytes = std::size_t{1} << 30;

// Splits the bytes of a history file into entries, all or nothing: nullopt when the bytes are
// empty, a head is cut short or the last entry is shorter than its ProcCount demands.
std::optional<THistoryList> SplitHistory(std::span<const uint8_t> bytes);

// Number of entries the bytes split into, or nullopt; walks the offsets without copying.
std::optional<std::size_t> CountHistoryEntries(std::span<const uint8_t> bytes);

// The bytes of a history file for the list: every entry whole, in list order.
TBuffer JoinHistory(const THistoryList& list);

// Splitting is all or nothing also when memory runs out: nullopt, never a part of the list.

// Reads a whole file. Throws TarveloError
//   Cannot open file "<path>". <the system's error text>
// also for more than maxBytes ("File too large"): no history file comes near 1 GiB (some 20 million
// entries). A regular file over the limit is refused from its size, before a byte is read; a device
// such as /dev/zero, or a pipe, is read until it passes the limit. Also when memory runs out.
TBuffer ReadHistoryFileBytes(const std::string& path, std::size_t maxBytes = kMaxHistoryFileBytes);

// Writes bytes to path through a temporary file beside it, renamed over the target only once every
// byte is written and flushed: a failed save leaves an existing file whole. When the folder refuses
// the temporary file (no permission), the target is written in place instead. A target that is a
// device or a FIFO (/dev/null, a named pipe) is written into as it is, never replaced by a file.
// Throws TarveloError
//   Cannot create file "<path>". <the system's error text>
void WriteHistoryFileBytes(const std::string& path, std::span<const uint8_t> bytes);

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

// The same for a file of another form: parse turns the bytes into entries, or throws TarveloError
// with the reason it refuses them (the problem of an InvalidData load).
using THistoryParser = std::function<THistoryList(std::span<const uint8_t> bytes)>;
THistoryLoad LoadHistoryFileAs(const std::string& path, const THistoryParser& parse,
                               const std::function<void()>& afterRead = {});

// The list as a history file at path, as WriteHistoryFileBytes writes it.
void WriteHistoryFile(const std::string& path, const THistoryList& list);
