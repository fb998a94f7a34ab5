// main() of the GoogleTest executables that use sockets: the socket library (Winsock on Windows)
// is started for the whole run.
#include <gtest/gtest.h>

#include "enet/SocketPlatform.h"

int main(int argc, char** argv) {
  StartSocketLibrary();
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  StopSocketLibrary();
  return result;
}
