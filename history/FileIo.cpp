#include "history/FileIo.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "history/TarveloError.h"

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string SystemErrorText(int error) { return std::error_code(error, std::generic_category()).message(); }

ETarveloError CannotOpen(const std::string& path, int error) { return CannotOpenFileError(path, SystemErrorText(error)); }

ETarveloError CannotCreate(const std::string& path, int error) { return CannotCreateFileError(path, SystemErrorText(error)); }

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

// Pushes the file's bytes to the disk before it takes the old file's place.
bool FlushToDisk(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

// A file name beside target that no other save uses at the same time.
fs::path TemporaryPathBeside(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path tmp = target;
  tmp.replace_filename("." + target.filename().string() + "." + std::to_string(stamp) + "." +
                       std::to_string(counter++) + ".tmp");
  return tmp;
}

// The file a save replaces: a symbolic link keeps pointing at the saved file.
fs::path SaveTarget(const std::string& path) {
  std::error_code ec;
  if (fs::is_symlink(path, ec)) {
    fs::path resolved = fs::weakly_canonical(path, ec);
    if (!ec) return resolved;
  }
  return fs::path(path);
}

}  // namespace

ETarveloError CannotOpenFileError(const std::string& path, const std::string& why) {
  return ETarveloError("Cannot open file \"" + path + "\". " + why);
}

ETarveloError CannotCreateFileError(const std::string& path, const std::string& why) {
  return ETarveloError("Cannot create file \"" + path + "\". " + why);
}

namespace {

// What the system says of an open file: whether it is a regular file (not a device, a FIFO or a
// pipe) and, if so, its size.
struct TOpenFileKind {
  bool regular = false;
  std::uintmax_t size = 0;
};

TOpenFileKind KindOfOpenFile(std::FILE* file) {
#ifdef _WIN32
  struct _stat64 st;
  if (_fstat64(_fileno(file), &st) != 0) return {};
  return {(st.st_mode & _S_IFMT) == _S_IFREG, static_cast<std::uintmax_t>(st.st_size)};
#else
  struct stat st;
  if (fstat(fileno(file), &st) != 0) return {};
  return {S_ISREG(st.st_mode), static_cast<std::uintmax_t>(st.st_size)};
#endif
}

TBuffer ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  errno = 0;
  TFileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) throw CannotOpen(path, errno);
  TBuffer bytes;
  // A regular file says its size before a byte is read: one over the limit is refused at once, and
  // the buffer is sized once. A file that grows while it is read is still read whole, up to the
  // limit; a device or a pipe is read until it ends or passes the limit.
  const TOpenFileKind kind = KindOfOpenFile(file.get());
  if (kind.regular && kind.size > maxBytes) throw CannotOpen(path, EFBIG);
  if (kind.regular) bytes.reserve(static_cast<std::size_t>(kind.size) + 1);
  constexpr std::size_t kChunk = 1 << 16;
  for (;;) {
    const std::size_t used = bytes.size();
    const std::size_t room = bytes.capacity() > used ? bytes.capacity() - used : kChunk;
    bytes.resize(used + room);
    const std::size_t got = std::fread(bytes.data() + used, 1, room, file.get());
    bytes.resize(used + got);
    if (got < room) break;
    if (bytes.size() > maxBytes) throw CannotOpen(path, EFBIG);  // a device that never ends
  }
  if (bytes.size() > maxBytes) throw CannotOpen(path, EFBIG);
  if (std::ferror(file.get())) throw CannotOpen(path, errno ? errno : EIO);  // a directory: EISDIR
  return bytes;
}

// Writes the whole of bytes into an open file and closes it; the system's error, or 0.
int WriteAndClose(TFileHandle file, std::span<const uint8_t> bytes) {
  errno = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    return errno ? errno : EIO;
  }
  if (!FlushToDisk(file.get())) return errno ? errno : EIO;
  errno = 0;
  if (std::fclose(file.release()) != 0) return errno ? errno : EIO;
  return 0;
}

// A folder the user may not write can still hold a file the user may write: then the file is
// written where it is. Not atomic, but the only way such a file can be saved at all.
void WriteInPlace(const std::string& path, const fs::path& target, std::span<const uint8_t> bytes) {
  errno = 0;
  TFileHandle file(std::fopen(target.string().c_str(), "wb"));
  if (!file) throw CannotCreate(path, errno ? errno : EACCES);
  if (const int error = WriteAndClose(std::move(file), bytes)) throw CannotCreate(path, error);
}

bool IsPermissionRefusal(int error) { return error == EACCES || error == EPERM; }

// A target that exists and is neither a regular file nor a folder: a device (/dev/null, a printer,
// a terminal) or a FIFO. It takes the bytes as a stream and must never be replaced by a file.
bool IsStreamTarget(const fs::path& target) {
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (ec || !fs::exists(status)) return false;
  return !fs::is_regular_file(status) && !fs::is_directory(status);
}

// Writes the bytes into a device or a FIFO as it is: no temporary file, no rename, and no flush to
// a disk (which such targets refuse), but every byte handed over or the system's error.
void WriteIntoStream(const std::string& path, const fs::path& target, std::span<const uint8_t> bytes) {
  errno = 0;
  TFileHandle file(std::fopen(target.string().c_str(), "wb"));
  if (!file) throw CannotCreate(path, errno ? errno : EACCES);
  errno = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    throw CannotCreate(path, errno ? errno : EIO);
  }
  if (std::fflush(file.get()) != 0) throw CannotCreate(path, errno ? errno : EIO);
  errno = 0;
  if (std::fclose(file.release()) != 0) throw CannotCreate(path, errno ? errno : EIO);
}

}  // namespace

TBuffer ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  try {
    return ReadFileBytes(path, maxBytes);
  } catch (const std::bad_alloc&) {
    throw CannotOpen(path, ENOMEM);
  }
}

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
  const fs::path target = SaveTarget(path);
  if (IsStreamTarget(target)) return WriteIntoStream(path, target, bytes);
  fs::path tmp;
  TFileHandle file;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    tmp = TemporaryPathBeside(target);
    errno = 0;
    file.reset(std::fopen(tmp.string().c_str(), "wbx"));
    if (!file && errno != EEXIST) break;
  }
  if (!file) {
    const int error = errno ? errno : EEXIST;
    if (IsPermissionRefusal(error)) return WriteInPlace(path, target, bytes);
    throw CannotCreate(path, error);
  }

  const auto fail = [&](int error) {
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return CannotCreate(path, error ? error : EIO);
  };
  if (const int error = WriteAndClose(std::move(file), bytes)) throw fail(error);

  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  if (!ec && fs::exists(old)) fs::permissions(tmp, old.permissions(), ec);  // keep the old file's mode
  fs::rename(tmp, target, ec);
  if (ec) throw fail(ec.value());
}
