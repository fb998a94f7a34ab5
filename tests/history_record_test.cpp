#include <gtest/gtest.h>

#include <stdexcept>

#include "history/ServiceRecord.h"
#include "tests/TestEntries.h"

namespace {

TEST(ServiceRecord, BuildsTheExampleEntryByteForByte) {
  EXPECT_EQ(BuildServiceRecord(ExampleFields()), ExampleEntryBytes());
}

TEST(ServiceRecord, ReadsTheExampleEntryBack) {
  const TBuffer rec = ExampleEntryBytes();
  ASSERT_TRUE(IsWellFormedRecord(rec));
  EXPECT_EQ(Day(rec), 1);
  EXPECT_EQ(Month(rec), 2);
  EXPECT_EQ(Year(rec), 2020);
  EXPECT_EQ(KMStand(rec), 1000u);
  EXPECT_EQ(WorkshopTYP(rec), 1);
  EXPECT_EQ(WorkshopIDBytes(rec), "A1");
  EXPECT_EQ(SVCStatus(rec), 2);
  ASSERT_EQ(ProcCount(rec), 2);
  EXPECT_EQ(ProcTYP(rec, 0), 1);
  EXPECT_EQ(ProcStatus(rec, 0), 1);
  EXPECT_EQ(ProcTYP(rec, 1), 100);
  EXPECT_EQ(ProcStatus(rec, 1), 3);
  EXPECT_EQ(DecodeServiceRecord(rec), ExampleFields());
}

TEST(ServiceRecord, SevenCharacterWorkshopIdHasNoTerminatorAndStopsBeforeTheStatus) {
  TServiceFields f = ExampleFields();
  f.workshopID = "ABCDEFG";
  const TBuffer rec = BuildServiceRecord(f);
  EXPECT_EQ(TBuffer(rec.begin() + 10, rec.begin() + 17), TBuffer({'A', 'B', 'C', 'D', 'E', 'F', 'G'}));
  EXPECT_EQ(rec[17], 2);  // the service status follows directly, non-zero
  EXPECT_EQ(WorkshopIDBytes(rec), "ABCDEFG");
}

TEST(ServiceRecord, ZeroByteInsideWorkshopIdEndsTheText) {
  TBuffer rec = ExampleEntryBytes();
  const uint8_t id[] = {'X', 'Y', 0, 'Z', 'Z', 'Z', 'Z'};
  std::copy(std::begin(id), std::end(id), rec.begin() + 10);
  EXPECT_EQ(WorkshopIDBytes(rec), "XY");
}

TEST(ServiceRecord, LongerWorkshopIdIsCutToSevenBytes) {
  TServiceFields f = ExampleFields();
  f.workshopID = "ABCDEFGHIJ";
  EXPECT_EQ(WorkshopIDBytes(BuildServiceRecord(f)), "ABCDEFG");
}

TEST(ServiceRecord, LargestEditorKmIsStoredBigEndian) {
  TServiceFields f = ExampleFields();
  f.km = 9999999;
  const TBuffer rec = BuildServiceRecord(f);
  EXPECT_EQ(TBuffer(rec.begin() + 5, rec.begin() + 9), TBuffer({0x00, 0x98, 0x96, 0x7F}));
  EXPECT_EQ(KMStand(rec), 9999999u);
}

TEST(ServiceRecord, TopBitOfKmAndYearReadsUnsigned) {
  TBuffer rec = ExampleEntryBytes();
  rec[2] = 0xFF;
  rec[3] = 0xFF;
  std::fill(rec.begin() + 5, rec.begin() + 9, 0xFF);
  EXPECT_EQ(Year(rec), 65535);
  EXPECT_EQ(KMStand(rec), 4294967295u);
}

TEST(ServiceRecord, EntryWithoutProceduresIsNineteenBytes) {
  TServiceFields f = ExampleFields();
  f.procedures.clear();
  const TBuffer rec = BuildServiceRecord(f);
  EXPECT_EQ(rec.size(), 19u);
  EXPECT_EQ(ProcCount(rec), 0);
  EXPECT_TRUE(IsWellFormedRecord(rec));
}

TEST(ServiceRecord, BuilderTakes255ProceduresAndRefusesMore) {
  TServiceFields f = ExampleFields();
  f.procedures.assign(255, {20, 1});
  const TBuffer rec = BuildServiceRecord(f);
  EXPECT_EQ(rec.size(), 19u + 8u * 255u);
  EXPECT_EQ(ProcCount(rec), 255);
  EXPECT_EQ(ProcTYP(rec, 254), 20);
  f.procedures.push_back({20, 1});
  EXPECT_THROW(BuildServiceRecord(f), std::length_error);
}

TEST(ServiceRecord, ProcedureItemsKeepTheirSixReservedBytesZero) {
  const TBuffer rec = BuildServiceRecord(ExampleFields());
  for (std::size_t i = 0; i < 2; ++i) {
    for (std::size_t b = 2; b < 8; ++b) EXPECT_EQ(rec[19 + 8 * i + b], 0) << "procedure " << i << " byte " << b;
  }
  EXPECT_EQ(rec[4], 0);
}

TEST(ServiceRecord, WellFormedMeansLengthAgreesWithCount) {
  TBuffer rec = ExampleEntryBytes();
  EXPECT_TRUE(IsWellFormedRecord(rec));
  rec.push_back(0);
  EXPECT_FALSE(IsWellFormedRecord(rec));
  rec.resize(34);
  EXPECT_FALSE(IsWellFormedRecord(rec));
  EXPECT_FALSE(IsWellFormedRecord(TBuffer(18, 0)));
}

TEST(ByteSwap, SwapsAndBigEndianLoads) {
  EXPECT_EQ(Swap16(0x07E4), 0xE407);
  EXPECT_EQ(Swap32(0x0098967F), 0x7F969800u);
  const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78};
  EXPECT_EQ(LoadBigEndian16(bytes), 0x1234);
  EXPECT_EQ(LoadBigEndian32(bytes), 0x12345678u);
  uint8_t out[4] = {};
  StoreBigEndian32(out, 0xA1B2C3D4);
  EXPECT_EQ(TBuffer(out, out + 4), TBuffer({0xA1, 0xB2, 0xC3, 0xD4}));
  StoreBigEndian16(out, 0x1A91);
  EXPECT_EQ(out[0], 0x1A);
  EXPECT_EQ(out[1], 0x91);
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
