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

struct TypedHexCase {
  const char* text;
  std::optional<TBuffer> bytes;
  std::string problem;  // when refused
};

// Hex typed by hand is taken only as whole bytes; anything else is refused with what to type, so
// that no byte the user did not mean reaches the car.
TEST(TypedHex, WholeBytesOrARefusalThatSaysWhy) {
  const TBuffer erase = {0x31, 0x01, 0xA0, 0x80};
  const TypedHexCase cases[] = {
      {"3101A080", erase, ""},
      {"31 01 A0 80", erase, ""},
      {"3101a080", erase, ""},
      {" 3101 a080 ", erase, ""},
      {"63", TBuffer{0x63}, ""},
      {"ZZ", std::nullopt, "\"ZZ\" holds \"Z\" at character 1, which is no hex digit; write bytes as two digits 0-9 or "
                           "A-F each, such as 3101A080"},
      {"31O1A080", std::nullopt, "\"31O1A080\" holds \"O\" at character 3, which is no hex digit; write bytes as two "
                                 "digits 0-9 or A-F each, such as 3101A080"},
      {"3101A08", std::nullopt, "\"3101A08\" is not whole bytes: \"3101A08\" has 7 hex digits; write two digits for "
                                "every byte, such as 0A for 10"},
      {"31 0 1", std::nullopt, "\"31 0 1\" is not whole bytes: \"0\" has 1 hex digit; write two digits for every "
                               "byte, such as 0A for 10"},
      {"1FF", std::nullopt, "\"1FF\" is not whole bytes: \"1FF\" has 3 hex digits; write two digits for every byte, "
                            "such as 0A for 10"},
      {"0x31", std::nullopt, "\"0x31\" holds \"x\" at character 2, which is no hex digit; write bytes as two digits "
                             "0-9 or A-F each, such as 3101A080"},
      {"31,01", std::nullopt, "\"31,01\" holds \",\" at character 3, which is no hex digit; write bytes as two digits "
                              "0-9 or A-F each, such as 3101A080"},
      {"", std::nullopt, "\"\" holds no byte; write at least one, as two hex digits"},
      {"   ", std::nullopt, "\"   \" holds no byte; write at least one, as two hex digits"},
  };
  for (const TypedHexCase& c : cases) {
    SCOPED_TRACE(c.text);
    std::string problem;
    EXPECT_EQ(ParseTypedHex(c.text, problem), c.bytes);
    EXPECT_EQ(problem, c.problem);
  }
}

}  // namespace
