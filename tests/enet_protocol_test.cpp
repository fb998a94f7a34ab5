// The head unit's requests and answers, in bytes, and a request typed by hand as hex text.
#include <gtest/gtest.h>

#include "EnetFrame.h"
#include "HeadUnitProtocol.h"
#include "HexText.h"

namespace {

TBuffer Hex(const char* text) { return HexTextToBytes(text); }

TEST(HeadUnitProtocol, TheRequestsOfAWriteAndTheirPositiveAnswers) {
  EXPECT_EQ(EraseHistoryRequest(), Hex("3101A080"));
  EXPECT_EQ(WriteEntryRequest(TBuffer{0x0A, 0xFF, 0x00}), Hex("3101A0810AFF00"));
  EXPECT_EQ(ResetRequest(), Hex("1101"));
  EXPECT_EQ(PositiveAnswerHead(EraseHistoryRequest()), Hex("7101A080"));
  EXPECT_EQ(PositiveAnswerHead(WriteEntryRequest(TBuffer{0x0A, 0xFF})), Hex("7101A081"));
  EXPECT_EQ(PositiveAnswerHead(ResetRequest()), Hex("5101"));
  EXPECT_EQ(PositiveAnswerHead(Hex("2201")), Hex("62"));
  EXPECT_EQ(PositiveAnswerHead(Hex("3101")), Hex("7101"));  // cut short: what is there is echoed
  EXPECT_EQ(NegativeAnswer(0x31, uds::kIncorrectMessageLength), Hex("7F3113"));
}

TEST(HeadUnitProtocol, ResponsePendingIsExactlyThreeBytesWith7FAnd78) {
  const std::pair<const char*, bool> cases[] = {
      {"7F3178", true}, {"7F2278", true}, {"7F3131", false}, {"7F317800", false},
      {"7F78", false},  {"713178", false}, {"", false},
  };
  for (const auto& [answer, pending] : cases) {
    SCOPED_TRACE(answer);
    EXPECT_EQ(IsResponsePending(Hex(answer)), pending);
    EXPECT_EQ(IsNegativeAnswer(Hex(answer)), std::string(answer).rfind("7F", 0) == 0);
  }
}

TEST(HeadUnitProtocol, NegativeResponseNames) {
  const std::pair<uint8_t, const char*> cases[] = {
      {0x10, "generalReject"},        {0x11, "serviceNotSupported"},        {0x13, "incorrectMessageLengthOrInvalidFormat"},
      {0x22, "conditionsNotCorrect"}, {0x31, "requestOutOfRange"},          {0x33, "securityAccessDenied"},
      {0x72, "generalProgrammingFailure"}, {0x7F, "serviceNotSupportedInActiveSession"}, {0x93, "voltageTooLow"},
      {0x40, "reservedByExtendedDataLinkSecurityDocument"}, {0xA0, "reservedForSpecificConditionsNotCorrect"},
      {0xF3, "vehicleManufacturerSpecificConditionsNotCorrect"}, {0x01, "ISOSAEReserved"}, {0xFF, "ISOSAEReserved"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(NegativeResponseName(code), name) << int(code);
}

struct HexRequestCase {
  const char* name;
  std::string target;
  std::string request;
  TBuffer frame;  // what the tester sends for it
};

// The target's and the request's texts are one text to the conversion, as typed.
TEST(HexRequest, TheFrameOfARequestTypedByHand) {
  const TBuffer erase = {0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0xF4, 0x63, 0x31, 0x01, 0xA0, 0x80};
  const HexRequestCase cases[] = {
      {"example", "63", "3101A080", erase},
      {"spaces between bytes", "63", "31 01 A0 80", erase},
      {"lower case", "63", "3101a080", erase},
      {"spaces and lower case everywhere", " 6 3", " 31 01 a0 80 ", erase},
      {"odd length drops the last character", "63", "3101A08", {0, 0, 0, 5, 0, 1, 0xF4, 0x63, 0x31, 0x01, 0xA0}},
      {"bytes after a non-hex pair are zeros", "63", "31G1A080", {0, 0, 0, 6, 0, 1, 0xF4, 0x63, 0x31, 0, 0, 0}},
      {"non-hex in the target", "6X", "1101", {0, 0, 0, 4, 0, 1, 0xF4, 0, 0, 0}},
      {"empty request", "63", "", {0, 0, 0, 2, 0, 1, 0xF4, 0x63}},
      {"entry 0A FF 00", "63", "3101A0810AFF00",
       {0, 0, 0, 9, 0, 1, 0xF4, 0x63, 0x31, 0x01, 0xA0, 0x81, 0x0A, 0xFF, 0x00}},
  };
  for (const HexRequestCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<THexRequest> typed = HexRequest(c.target, c.request);
    ASSERT_TRUE(typed);
    EXPECT_EQ(BuildDiagnosticFrame(kTesterAddress, typed->target, typed->request), c.frame);
  }
  EXPECT_FALSE(HexRequest("", ""));
  EXPECT_FALSE(HexRequest("6", ""));
}

}  // namespace
