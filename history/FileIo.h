#pragma once
// Whole files in and out: the one reader with a size limit and the one atomic writer that history
// files, logs, traces, spreadsheets, JSON and service books are saved with, and the words of their
// errors.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "history/Bytes.h"
#include "history/TarveloError.h"

// No file Tarvelo reads comes near 1 GiB (a history file of that size holds some 20 million entries).
inline constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;

// Reads a whole file. Throws ETarveloError
//   Cannot open file "<path>". <the system's error text>
// also for more than maxBytes ("File too large"). A regular file over the limit is refused from its
// size, before a byte is read; a device such as /dev/zero, or a pipe, is read until it passes the
// limit. Also when memory runs out.
TBuffer ReadWholeFile(const std::string& path, std::size_t maxBytes = kMaxFileBytes);

// Writes bytes to path through a temporary file beside it, renamed over the target only once every
// byte is written and flushed: a failed save leaves an existing file whole. When the folder refuses
// the temporary file (no permission), the target is written in place instead. A target that is a
// device or a FIFO (/dev/null, a named pipe) is written into as it is, never replaced by a file.
// Throws ETarveloError
//   Cannot create file "<path>". <the system's error text>
void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

// The errors of a file that cannot be read or written, in the words every part of Tarvelo uses:
//   Cannot open file "<path>". <why>        Cannot create file "<path>". <why>
ETarveloError CannotOpenFileError(const std::string& path, const std::string& why);
ETarveloError CannotCreateFileError(const std::string& path, const std::string& why);
