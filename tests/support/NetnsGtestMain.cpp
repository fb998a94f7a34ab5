// main() of the GoogleTest executables that send broadcasts: before anything else runs (and before
// any thread exists), the process moves into a private network namespace with loopback up. Tests
// that send check REQUIRE_PRIVATE_NETWORK() and are skipped where the namespace could not be made.
#include <gtest/gtest.h>

#include "enet/SocketPlatform.h"
#include "tests/support/NetworkNamespace.h"

int main(int argc, char** argv) {
  StartSocketLibrary();  // before the check, which lists the interfaces on Windows
  std::string why;
  EnterPrivateNetworkNamespace(&why);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  StopSocketLibrary();
  return result;
}
