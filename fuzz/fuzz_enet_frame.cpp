// One ENET exchange with a gateway whose bytes come from the fuzzer: the bytes wait in a socket
// pair, then EnetReadFrame reads one frame from them, and a whole EnetRequest runs on fresh ones.
// The gateway's side is closed after the bytes, so that no read waits for more.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "EnetFrame.h"
#include "uENET.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// A socket pair with data waiting at the client's end; the client socket takes that end.
bool Feed(const uint8_t* data, size_t size) {
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return false;
  const int room = 1 << 20;
  setsockopt(ends[1], SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
  setsockopt(ends[0], SOL_SOCKET, SO_RCVBUF, &room, sizeof room);
  size_t sent = 0;
  while (sent < size) {
    const ssize_t n = send(ends[1], data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  shutdown(ends[1], SHUT_WR);
  close(ends[1]);
  ClientSocket->AdoptConnectedSocket(ends[0]);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnetCreate();
  EnetInit();
  SetResponsePendingWait(std::chrono::milliseconds(0));  // a fuzzer has no time to wait
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 256 * 1024) return 0;
  if (!Feed(data, size)) return 0;
  const std::string uds = EnetReadFrame();
  Check(uds.size() + kFrameAddressSize <= kReceiveBufferSize);
  Check(!IsResponsePending(uds) || uds.size() == 3);

  if (!Feed(data, size)) return 0;
  const std::string answer = EnetRequest("3101A081010207E4", "63");
  Check(answer.size() % 2 == 0 && answer.size() <= 2 * (kReceiveBufferSize - kFrameAddressSize));
  Check(answer.size() != 6 || answer.substr(0, 2) != "7F" || answer.substr(4, 2) != "78");
  EnetInit();
  return 0;
}
