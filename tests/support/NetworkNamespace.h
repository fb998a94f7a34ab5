#pragma once
// A private network namespace for the tests that broadcast: inside it the only interface is
// loopback, so a discovery request can never reach the machine's real networks.
#include <string>

// Moves the calling process into a new network namespace with loopback up (through a user
// namespace of its own when not root). Call it first thing in main(), before any thread exists.
// False, with the reason in why, when namespaces cannot be made here. On Windows (under Wine) it
// checks that the program already runs in one: scripts/windows/private-network.sh made it, and
// every interface is loopback.
bool EnterPrivateNetworkNamespace(std::string* why);

// Whether main() entered the namespace, and why not.
bool InPrivateNetworkNamespace();
const std::string& PrivateNetworkNamespaceProblem();

// Runs `ip` with the arguments inside the namespace; true when it succeeded (never on Windows).
bool RunIp(const std::string& arguments);

// The test can only run inside the private network namespace: skip it otherwise.
#define REQUIRE_PRIVATE_NETWORK()                                                                 \
  do {                                                                                            \
    if (!InPrivateNetworkNamespace())                                                             \
      GTEST_SKIP() << "needs a private network namespace: " << PrivateNetworkNamespaceProblem(); \
  } while (0)
