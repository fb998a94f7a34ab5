// A request typed by hand as hex text, and its target, through the frame the tester sends.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "EnetFrame.h"
#include "HexText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte says where the target ends and the request begins.
  if (size == 0) return 0;
  const std::size_t split = std::min<std::size_t>(data[0] % 4, size - 1);
  const std::string target(reinterpret_cast<const char*>(data) + 1, split);
  const std::string request(reinterpret_cast<const char*>(data) + 1 + split, size - 1 - split);
  const std::optional<THexRequest> typed = HexRequest(target, request);

  std::string clean = target + request;
  std::erase(clean, ' ');
  const std::size_t n = clean.size() / 2;
  if (n == 0) {
    if (typed) std::abort();
    return 0;
  }
  if (!typed || typed->request.size() + 1 != n) std::abort();
  TBuffer payload{typed->target};
  payload.insert(payload.end(), typed->request.begin(), typed->request.end());
  if (n + kFrameAddressSize <= kMaxFramePayload) {
    const TBuffer frame = BuildDiagnosticFrame(kTesterAddress, typed->target, typed->request);
    if (frame.size() != kFrameHeaderSize + kFrameAddressSize + typed->request.size()) std::abort();
    if (frame[6] != kTesterAddress || FrameControlWord(frame.data()) != kControlDiagnosticMessage) std::abort();
  }
  // Converted text round-trips: the hex of the bytes matches the cleaned text up to the first pair
  // that is not hex, and everything after it is zero.
  const std::string hex = BytesToHexText(payload);
  std::string upper = clean.substr(0, 2 * n);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  std::size_t same = 0;
  while (same < hex.size() && hex[same] == upper[same]) ++same;
  for (std::size_t i = same / 2; i < n; ++i) {
    const bool pairIsHex = std::isxdigit(static_cast<unsigned char>(upper[2 * i])) &&
                           std::isxdigit(static_cast<unsigned char>(upper[2 * i + 1]));
    if (i == same / 2 && pairIsHex) std::abort();  // a hex pair was not converted
    if (payload[i] != 0) std::abort();
  }
  return 0;
}
