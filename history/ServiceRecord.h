#pragma once
// One service entry, in exactly the bytes the head unit receives.
//
//   offset  width  field        encoding
//   0       1      Day          1..31
//   1       1      Month        1..12
//   2       2      Year         unsigned, big-endian
//   4       1      Reserved     written as 0, never read
//   5       4      KMStand      unsigned, big-endian
//   9       1      WorkshopTYP  code
//   10      7      WorkshopID   8-bit text, zero-filled, no terminator when all 7 bytes are used
//   17      1      SVCStatus    code
//   18      1      ProcCount    N
//   19      8 x N  procedures   ProcTYP, ProcStatus, 6 reserved zero bytes each
//
// The length is 19 + 8 x ProcCount and nothing else: there is no length field, no checksum and
// no terminator. A history file relies on this to find where each entry ends.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "history/Bytes.h"


constexpr std::size_t kOffDay = 0;
constexpr std::size_t kOffMonth = 1;
constexpr std::size_t kOffYear = 2;
constexpr std::size_t kOffReserved = 4;
constexpr std::size_t kOffKMStand = 5;
constexpr std::size_t kOffWorkshopTYP = 9;
constexpr std::size_t kOffWorkshopID = 10;
constexpr std::size_t kWorkshopIDSize = 7;
constexpr std::size_t kOffSVCStatus = 17;
constexpr std::size_t kOffProcCount = 18;
constexpr std::size_t kRecordHeadSize = 19;

// Offsets inside one procedure item, which starts at kRecordHeadSize + kProcedureEntrySize * i.
constexpr std::size_t kProcedureEntrySize = 8;
constexpr std::size_t kOffProcTYP = 0;
constexpr std::size_t kOffProcStatus = 1;
constexpr std::size_t kOffProcReserved = 2;      // 6 bytes up to the next item, written as 0
constexpr std::size_t kProcedureReservedSize = kProcedureEntrySize - kOffProcReserved;

constexpr std::size_t kMaxProcedures = 255;  // ProcCount is one byte, so an entry is at most 2059 bytes


// Length of an entry with the given number of procedures.
constexpr std::size_t RecordSize(std::size_t procCount) {
  return kRecordHeadSize + kProcedureEntrySize * procCount;
}

// True when rec has a complete head and exactly the procedure items its ProcCount announces.
bool IsWellFormedRecord(const uint8_t* data, std::size_t size);
bool IsWellFormedRecord(const TBuffer& rec);

// Field accessors. They expect a well-formed record (every element of the history list is one);
// ProcTYP and ProcStatus expect i < ProcCount(rec).
uint8_t Day(const TBuffer& rec);
uint8_t Month(const TBuffer& rec);
uint16_t Year(const TBuffer& rec);
uint32_t KMStand(const TBuffer& rec);
uint8_t WorkshopTYP(const TBuffer& rec);
std::string WorkshopIDBytes(const TBuffer& rec);  // up to the first zero byte, at most 7 bytes
uint8_t SVCStatus(const TBuffer& rec);
uint8_t ProcCount(const TBuffer& rec);
uint8_t ProcTYP(const TBuffer& rec, std::size_t i);
uint8_t ProcStatus(const TBuffer& rec, std::size_t i);

// The values an entry is built from; the workshop ID is text (UTF-8) and goes through the
// code page on its way into the record.
struct TProcedureFields {
  uint8_t type = 0;
  uint8_t status = 0;
  friend bool operator==(const TProcedureFields&, const TProcedureFields&) = default;
};

struct TServiceFields {
  uint8_t day = 0;
  uint8_t month = 0;
  uint16_t year = 0;
  uint32_t km = 0;
  uint8_t workshopType = 0;
  std::string workshopID;  // UTF-8; stored as at most 7 bytes of the 8-bit code page
  uint8_t serviceStatus = 0;
  std::vector<TProcedureFields> procedures;
  friend bool operator==(const TServiceFields&, const TServiceFields&) = default;
};

// Builds the 19 + 8 x N bytes of an entry. Throws std::length_error for more than 255 procedures,
// since ProcCount could not say how long the entry is.
TBuffer BuildServiceRecord(const TServiceFields& fields);

// The fields of a well-formed record (the inverse of BuildServiceRecord, reserved bytes dropped).
TServiceFields DecodeServiceRecord(const TBuffer& rec);
