#include <gtest/gtest.h>

#include "enet/EnetFrame.h"
#include "enet/HexText.h"

namespace {

TEST(HexText, BothDirections) {
  EXPECT_EQ(BytesToHexText(std::string("\x71\x01\xA0\x80", 4)), "7101A080");
  EXPECT_EQ(BytesToHexText(std::string()), "");
  EXPECT_EQ(BytesToSpacedHexText(std::string("\x7F\x31\x13", 3)), "7F 31 13");
  EXPECT_EQ(HexTextToBytes("0aFf 00"), TBuffer({0x0A, 0xFF, 0x00}));
  EXPECT_EQ(HexTextToBytes("ABC"), TBuffer({0xAB}));
  EXPECT_EQ(HexTextToBytes("zz11"), TBuffer({0x00, 0x00}));
}

TEST(Frame, HeaderFields) {
  const TBuffer frame = BuildFrame(kControlAcknowledge, TBuffer{0xF4, 0x63, 0x11});
  EXPECT_EQ(frame, TBuffer({0, 0, 0, 3, 0, 2, 0xF4, 0x63, 0x11}));
  EXPECT_EQ(FramePayloadLength(frame.data()), 3);
  EXPECT_EQ(FrameControlWord(frame.data()), kControlAcknowledge);
  EXPECT_EQ(BuildDiagnosticFrame(0x63, 0xF4, TBuffer{0x51, 0x01}), TBuffer({0, 0, 0, 4, 0, 1, 0x63, 0xF4, 0x51, 0x01}));
}

}  // namespace
