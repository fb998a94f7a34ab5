// The head unit's requests and answers, in bytes, and a request typed by hand as hex text.
#include <gtest/gtest.h>

#include "enet/EnetFrame.h"
#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"

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

}  // namespace
