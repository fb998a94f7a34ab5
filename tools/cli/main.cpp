#include <cerrno>
#include <cstdio>
#include <iostream>
#include <streambuf>
#include <system_error>

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "enet/SocketPlatform.h"
#include "tools/cli/CliSupport.h"

namespace {

// stdout as a stream that remembers why a write failed: std::cout sees only that it did.
class TStdoutBuffer : public std::streambuf {
 public:
  std::string FailureText() const { return error_ ? std::error_code(error_, std::generic_category()).message() : ""; }

 protected:
  int overflow(int c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    errno = 0;
    const std::size_t written = std::fwrite(s, 1, static_cast<std::size_t>(n), stdout);
    if (written != static_cast<std::size_t>(n)) Remember();
    return static_cast<std::streamsize>(written);
  }
  int sync() override {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    Remember();
    return -1;
  }

 private:
  void Remember() {
    if (!error_) error_ = errno ? errno : EIO;
  }
  int error_ = 0;
};

// Whether stdout is redirected into the file at path.
bool StdoutIsFile(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return false;  // Windows has no inode numbers to compare: left to the shell
#else
  struct stat out, file;
  if (fstat(STDOUT_FILENO, &out) != 0 || stat(path.c_str(), &file) != 0) return false;
  return S_ISREG(out.st_mode) && out.st_dev == file.st_dev && out.st_ino == file.st_ino;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  StartSocketLibrary();
#ifdef _WIN32
  const bool terminal = _isatty(_fileno(stderr)) != 0;
#else
  const bool terminal = isatty(STDERR_FILENO) != 0;
#endif
  TStdoutBuffer stdoutBuffer;
  std::ostream out(&stdoutBuffer);
  const int code = RunCli(argc, argv,
                          TCliStreams{out, std::cerr, terminal, [&stdoutBuffer] { return stdoutBuffer.FailureText(); },
                                     StdoutIsFile});
  StopSocketLibrary();
  return code;
}
