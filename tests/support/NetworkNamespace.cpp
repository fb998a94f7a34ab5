#include "tests/support/NetworkNamespace.h"

#ifdef _WIN32

#include <cstdlib>

#include "enet/NetworkInterfaces.h"

// A Windows program cannot make a network namespace; under Wine it runs in the one that
// scripts/windows/private-network.sh made around it (which says so in TARVELO_PRIVATE_NETWORK).
// The interface list must show it too: loopback addresses only.
namespace {

bool entered = false;
std::string problem = "not entered";

}  // namespace

bool EnterPrivateNetworkNamespace(std::string* why) {
  const char* marker = std::getenv("TARVELO_PRIVATE_NETWORK");
  tNetworkInterfaceList list;
  if (!marker || std::string(marker) != "1") {
    problem = "a Windows program cannot make a network namespace; run it through scripts/windows/private-network.sh";
  } else if (!EnumInterfaces(list)) {
    problem = "cannot list the network interfaces";
  } else {
    problem.clear();
    for (const tNetworkInterface& i : list) {
      if (i.AddrIP.rfind("127.", 0) != 0) problem = "the interface " + i.AddrIP + " is not loopback: this is no private network";
    }
  }
  entered = problem.empty();
  *why = problem;
  return entered;
}

bool InPrivateNetworkNamespace() { return entered; }

const std::string& PrivateNetworkNamespaceProblem() { return problem; }

bool RunIp(const std::string&) { return false; }

#else

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

bool entered = false;
std::string problem = "not entered";

bool WriteTextFile(const char* path, const std::string& text) {
  std::ofstream out(path);
  out << text;
  return static_cast<bool>(out);
}

std::string LoopbackUp() {
  const int s = socket(AF_INET, SOCK_DGRAM, 0);
  if (s < 0) return std::string("socket: ") + std::strerror(errno);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  std::string why;
  if (ioctl(s, SIOCGIFFLAGS, &request) != 0) {
    why = std::string("SIOCGIFFLAGS lo: ") + std::strerror(errno);
  } else {
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    if (ioctl(s, SIOCSIFFLAGS, &request) != 0) why = std::string("SIOCSIFFLAGS lo: ") + std::strerror(errno);
  }
  close(s);
  return why;
}

}  // namespace

bool EnterPrivateNetworkNamespace(std::string* why) {
  if (geteuid() == 0) {
    if (unshare(CLONE_NEWNET) != 0) {
      problem = std::string("unshare(CLONE_NEWNET): ") + std::strerror(errno);
      *why = problem;
      return false;
    }
  } else {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
      problem = std::string("unshare(CLONE_NEWUSER|CLONE_NEWNET): ") + std::strerror(errno);
      *why = problem;
      return false;
    }
    WriteTextFile("/proc/self/setgroups", "deny");
    WriteTextFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
    WriteTextFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
  }
  problem = LoopbackUp();
  entered = problem.empty();
  *why = problem;
  return entered;
}

bool InPrivateNetworkNamespace() { return entered; }

const std::string& PrivateNetworkNamespaceProblem() { return problem; }

bool RunIp(const std::string& arguments) {
  if (!entered) return false;  // never change the machine's own interfaces
  for (const char* ip : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"}) {
    if (access(ip, X_OK) == 0) return std::system((std::string(ip) + " " + arguments + " >/dev/null 2>&1").c_str()) == 0;
  }
  return false;
}

#endif
