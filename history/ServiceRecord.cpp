#include "history/ServiceRecord.h"

#include <cstring>
#include <stdexcept>

#include "history/CodePage.h"

namespace {

std::size_t ProcedureOffset(std::size_t i) { return kRecordHeadSize + kProcedureEntrySize * i; }

}  // namespace

bool IsWellFormedRecord(const uint8_t* data, std::size_t size) {
  return size >= kRecordHeadSize && size == RecordSize(data[kOffProcCount]);
}

bool IsWellFormedRecord(const TBuffer& rec) { return IsWellFormedRecord(rec.data(), rec.size()); }

uint8_t Day(const TBuffer& rec) { return rec[kOffDay]; }
uint8_t Month(const TBuffer& rec) { return rec[kOffMonth]; }
uint16_t Year(const TBuffer& rec) { return LoadBigEndian16(&rec[kOffYear]); }
uint32_t KMStand(const TBuffer& rec) { return LoadBigEndian32(&rec[kOffKMStand]); }
uint8_t WorkshopTYP(const TBuffer& rec) { return rec[kOffWorkshopTYP]; }
uint8_t SVCStatus(const TBuffer& rec) { return rec[kOffSVCStatus]; }
uint8_t ProcCount(const TBuffer& rec) { return rec[kOffProcCount]; }

std::string WorkshopIDBytes(const TBuffer& rec) {
  const uint8_t* id = &rec[kOffWorkshopID];
  // All seven bytes used means no terminator: the byte after them is SVCStatus, not text.
  const void* zero = std::memchr(id, 0, kWorkshopIDSize);
  const std::size_t length = zero ? static_cast<const uint8_t*>(zero) - id : kWorkshopIDSize;
  return std::string(reinterpret_cast<const char*>(id), length);
}

uint8_t ProcTYP(const TBuffer& rec, std::size_t i) { return rec[ProcedureOffset(i) + kOffProcTYP]; }

uint8_t ProcStatus(const TBuffer& rec, std::size_t i) {
  return rec[ProcedureOffset(i) + kOffProcStatus];
}

TBuffer BuildServiceRecord(const TServiceFields& fields) {
  const std::size_t n = fields.procedures.size();
  if (n > kMaxProcedures) {
    throw std::length_error("An entry can hold at most 255 procedures");
  }
  TBuffer rec(RecordSize(n), 0);
  rec[kOffDay] = fields.day;
  rec[kOffMonth] = fields.month;
  StoreBigEndian16(&rec[kOffYear], fields.year);
  StoreBigEndian32(&rec[kOffKMStand], fields.km);
  rec[kOffWorkshopTYP] = fields.workshopType;
  const std::string id = Utf8ToAnsi(fields.workshopID, kWorkshopIDSize);
  std::memcpy(&rec[kOffWorkshopID], id.data(), id.size());
  rec[kOffSVCStatus] = fields.serviceStatus;
  rec[kOffProcCount] = static_cast<uint8_t>(n);
  for (std::size_t i = 0; i < n; ++i) {
    rec[ProcedureOffset(i) + kOffProcTYP] = fields.procedures[i].type;
    rec[ProcedureOffset(i) + kOffProcStatus] = fields.procedures[i].status;
  }
  return rec;
}

TServiceFields DecodeServiceRecord(const TBuffer& rec) {
  TServiceFields f;
  f.day = Day(rec);
  f.month = Month(rec);
  f.year = Year(rec);
  f.km = KMStand(rec);
  f.workshopType = WorkshopTYP(rec);
  f.workshopID = AnsiToUtf8(WorkshopIDBytes(rec));
  f.serviceStatus = SVCStatus(rec);
  const std::size_t n = ProcCount(rec);
  f.procedures.reserve(n);
  for (std::size_t i = 0; i < n; ++i) f.procedures.push_back({ProcTYP(rec, i), ProcStatus(rec, i)});
  return f;
}
