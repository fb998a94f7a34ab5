// Hex typed by hand (`tarvelo-cli request`), through the frame the tester sends: taken exactly when
// it is whole bytes of hex digits with spaces between them, and then the bytes are those digits;
// refused with a reason otherwise, never turned into other bytes.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "enet/EnetFrame.h"
#include "enet/HexText.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// What the parser must take: groups between spaces of an even number of hex digits, at least one.
bool WholeBytesOfHex(const std::string& text) {
  bool any = false;
  std::size_t group = 0;
  for (char c : text + " ") {
    if (c == ' ') {
      if (group % 2 != 0) return false;
      any = any || group > 0;
      group = 0;
      continue;
    }
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    ++group;
  }
  return any;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string problem;
  const std::optional<TBuffer> bytes = ParseTypedHex(text, problem);
  Check(bytes.has_value() == WholeBytesOfHex(text));
  if (!bytes) {
    Check(!problem.empty());
    return 0;
  }
  std::string digits;
  for (char c : text) {
    if (c != ' ') digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  Check(BytesToHexText(*bytes) == digits);
  // The first byte as the target, the rest as the request: the frame carries them unchanged.
  const TBuffer request(bytes->begin() + 1, bytes->end());
  if (request.size() <= kMaxRequestSize) {
    const TBuffer frame = BuildDiagnosticFrame(kTesterAddress, bytes->front(), request);
    Check(frame.size() == kFrameHeaderSize + kFrameAddressSize + request.size());
    Check(frame[6] == kTesterAddress && frame[7] == bytes->front());
    Check(TBuffer(frame.begin() + static_cast<std::ptrdiff_t>(kFrameHeaderSize + kFrameAddressSize), frame.end()) == request);
  }
  return 0;
}
