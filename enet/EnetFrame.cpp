#include "enet/EnetFrame.h"

TBuffer BuildFrame(uint16_t control, std::span<const uint8_t> payload) {
  TBuffer frame(kFrameHeaderSize, 0);
  StoreBigEndian16(&frame[2], static_cast<uint16_t>(payload.size()));
  StoreBigEndian16(&frame[4], control);
  frame.insert(frame.end(), payload.begin(), payload.end());
  return frame;
}

TBuffer BuildDiagnosticFrame(uint8_t source, uint8_t target, std::span<const uint8_t> uds) {
  TBuffer payload{source, target};
  payload.insert(payload.end(), uds.begin(), uds.end());
  return BuildFrame(kControlDiagnosticMessage, payload);
}

uint16_t FramePayloadLength(const uint8_t* header) { return LoadBigEndian16(header + 2); }

uint16_t FrameControlWord(const uint8_t* header) { return LoadBigEndian16(header + 4); }
