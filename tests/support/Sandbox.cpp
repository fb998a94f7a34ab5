#include "tests/support/Sandbox.h"

#ifdef _WIN32

// Windows has neither mount namespaces nor fork: the private views cannot be made, and the tests
// that need them are skipped with this reason.
namespace {

const std::string kNoPrivateMounts = "Windows has no mount namespaces";

}  // namespace

std::string EnterPrivateMountNamespace() { return kNoPrivateMounts; }
std::string MountSmallFileSystem(const std::string&, std::size_t) { return kNoPrivateMounts; }
std::string MountReadOnly(const std::string&) { return kNoPrivateMounts; }
std::string BindFileOver(const std::string&, const std::string&) { return kNoPrivateMounts; }
std::string Unmount(const std::string&) { return kNoPrivateMounts; }

ChildOutcome RunWithReadOnlyDirectory(const std::string&, const std::function<std::string()>&) {
  return {false, kNoPrivateMounts, {}};
}

ChildOutcome RunWithSmallFileSystem(const std::string&, std::size_t, const std::function<std::string()>&) {
  return {false, kNoPrivateMounts, {}};
}

ChildOutcome RunInUnwritableDirectory(const std::string&, const std::function<std::string()>&) {
  return {false, "Windows keeps a folder's write permission in its access control list, which a test cannot take away under Wine", {}};
}

#else

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kSetupFailed = 3;

bool WriteTextFile(const char* path, const std::string& text) {
  std::ofstream out(path);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

std::string EnterPrivateMountNamespace() {
  if (geteuid() == 0) {
    if (unshare(CLONE_NEWNS) != 0) return std::string("unshare(CLONE_NEWNS): ") + std::strerror(errno);
  } else {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
      return std::string("unshare(CLONE_NEWUSER|CLONE_NEWNS): ") + std::strerror(errno);
    }
    WriteTextFile("/proc/self/setgroups", "deny");
    if (!WriteTextFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !WriteTextFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
      return "cannot map the user into a user namespace";
    }
  }
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("mount --make-rprivate /: ") + std::strerror(errno);
  }
  return {};
}

std::string MountSmallFileSystem(const std::string& dir, std::size_t bytes) {
  const std::string options = "size=" + std::to_string(bytes);
  if (mount("tarvelo-test", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) {
    return std::string("tmpfs mount: ") + std::strerror(errno);
  }
  return {};
}

std::string MountReadOnly(const std::string& dir) {
  if (mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
      mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
    return std::string("read-only bind mount: ") + std::strerror(errno);
  }
  return {};
}

std::string BindFileOver(const std::string& file, const std::string& target) {
  if (mount(file.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    return std::string("bind mount: ") + std::strerror(errno);
  }
  return {};
}

std::string Unmount(const std::string& path) {
  if (umount2(path.c_str(), MNT_DETACH) != 0) return std::string("umount: ") + std::strerror(errno);
  return {};
}

namespace {

ChildOutcome RunInChild(const std::function<std::string()>& setup, const std::function<std::string()>& body,
                        bool privateMounts = true) {
  int fds[2];
  if (pipe(fds) != 0) return {false, "pipe failed", {}};
  const pid_t pid = fork();
  if (pid < 0) return {false, "fork failed", {}};
  if (pid == 0) {
    close(fds[0]);
    std::string why = privateMounts ? EnterPrivateMountNamespace() : std::string();
    if (why.empty()) why = setup();
    const std::string text = why.empty() ? body() : why;
    (void)!write(fds[1], text.data(), text.size());
    _exit(why.empty() ? 0 : kSetupFailed);
  }
  close(fds[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return {false, "the child process did not end normally", text};
  if (WEXITSTATUS(status) == kSetupFailed) return {false, text, {}};
  return {true, {}, text};
}

}  // namespace

ChildOutcome RunWithReadOnlyDirectory(const std::string& dir, const std::function<std::string()>& body) {
  return RunInChild([&] { return MountReadOnly(dir); }, body);
}

ChildOutcome RunWithSmallFileSystem(const std::string& dir, std::size_t bytes,
                                    const std::function<std::string()>& body) {
  return RunInChild([&] { return MountSmallFileSystem(dir, bytes); }, body);
}

ChildOutcome RunInUnwritableDirectory(const std::string& dir, const std::function<std::string()>& body) {
  namespace fs = std::filesystem;
  constexpr uid_t kNobody = 65534;
  const auto setup = [&]() -> std::string {
    std::error_code ec;
    if (geteuid() == 0) {
      for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
        if (chown(e.path().c_str(), kNobody, kNobody) != 0) return std::string("chown: ") + std::strerror(errno);
      }
      if (chown(dir.c_str(), 0, 0) != 0) return std::string("chown: ") + std::strerror(errno);
    }
    // Anybody may look into the folder and read it; nobody may add a file to it.
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace, ec);
    if (ec) return "chmod: " + ec.message();
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
      return std::string("cannot become nobody: ") + std::strerror(errno);
    }
    return {};
  };
  ChildOutcome outcome = RunInChild(setup, body, false);
  std::error_code ec;
  fs::permissions(dir, fs::perms::owner_write, fs::perm_options::add, ec);
  return outcome;
}

#endif
