#include <gtest/gtest.h>

#include "EnetFrame.h"
#include "HexText.h"

namespace {

struct RequestFrameCase {
  const char* name;
  std::string request;
  std::string target;
  TBuffer frame;
};

TEST(RequestFrame, IsBuiltFromTheHexText) {
  const TBuffer erase = {0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0xF4, 0x63, 0x31, 0x01, 0xA0, 0x80};
  const RequestFrameCase cases[] = {
      {"example", "3101A080", "63", erase},
      {"spaces between bytes", "31 01 A0 80", "63", erase},
      {"lower case", "3101a080", "63", erase},
      {"spaces and lower case everywhere", " 31 01 a0 80 ", " 6 3", erase},
      {"odd length drops the last character", "3101A08", "63", {0, 0, 0, 5, 0, 1, 0xF4, 0x63, 0x31, 0x01, 0xA0}},
      {"bytes after a non-hex pair are zeros", "31G1A080", "63", {0, 0, 0, 6, 0, 1, 0xF4, 0x63, 0x31, 0, 0, 0}},
      {"non-hex in the target", "1101", "6X", {0, 0, 0, 4, 0, 1, 0xF4, 0, 0, 0}},
      {"empty request", "", "63", {0, 0, 0, 2, 0, 1, 0xF4, 0x63}},
      {"entry 0A FF 00", "3101A0810AFF00", "63", {0, 0, 0, 9, 0, 1, 0xF4, 0x63, 0x31, 0x01, 0xA0, 0x81, 0x0A, 0xFF, 0x00}},
  };
  for (const RequestFrameCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildEnetRequestFrame(c.request, c.target), c.frame);
  }
}

TEST(RequestFrame, LengthFieldTakesTheLongestRequestAndRefusesLonger) {
  const std::string longest(2 * 65533, 'A');  // 65,533 bytes + 2 address bytes = 65,535
  const TBuffer frame = BuildEnetRequestFrame(longest, "63");
  ASSERT_EQ(frame.size(), 6u + 65535u);
  EXPECT_EQ(frame[2], 0xFF);
  EXPECT_EQ(frame[3], 0xFF);
  EXPECT_TRUE(BuildEnetRequestFrame(longest + "AA", "63").empty());
}

TEST(HexText, BothDirections) {
  EXPECT_EQ(BytesToHexText(std::string("\x71\x01\xA0\x80", 4)), "7101A080");
  EXPECT_EQ(BytesToHexText(std::string()), "");
  EXPECT_EQ(BytesToSpacedHexText(std::string("\x7F\x31\x13", 3)), "7F 31 13");
  EXPECT_EQ(HexTextToBytes("0aFf 00"), TBuffer({0x0A, 0xFF, 0x00}));
  EXPECT_EQ(HexTextToBytes("ABC"), TBuffer({0xAB}));
  EXPECT_EQ(HexTextToBytes("zz11"), TBuffer({0x00, 0x00}));
}

TEST(ResponsePending, OnlyThreeBytesWith7FAnd78) {
  const std::pair<std::string, bool> cases[] = {
      {std::string("\x7F\x31\x78", 3), true},
      {std::string("\x7F\x22\x78", 3), true},
      {std::string("\x7F\x31\x31", 3), false},
      {std::string("\x7F\x31\x78\x00", 4), false},
      {std::string("\x7F\x78", 2), false},
      {std::string("\x71\x31\x78", 3), false},
      {std::string(), false},
  };
  for (const auto& [uds, pending] : cases) {
    SCOPED_TRACE(BytesToHexText(uds));
    EXPECT_EQ(IsResponsePending(uds), pending);
  }
}

TEST(Frame, HeaderFields) {
  const TBuffer frame = BuildFrame(kControlAcknowledge, TBuffer{0xF4, 0x63, 0x11});
  EXPECT_EQ(frame, TBuffer({0, 0, 0, 3, 0, 2, 0xF4, 0x63, 0x11}));
  EXPECT_EQ(FramePayloadLength(frame.data()), 3);
  EXPECT_EQ(FrameControlWord(frame.data()), kControlAcknowledge);
  EXPECT_EQ(BuildDiagnosticFrame(0x63, 0xF4, TBuffer{0x51, 0x01}), TBuffer({0, 0, 0, 4, 0, 1, 0x63, 0xF4, 0x51, 0x01}));
}

}  // namespace
