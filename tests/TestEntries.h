#pragma once
// Entries that many tests share.
#include "history/ServiceRecord.h"

// 1.2.2020, 1000 km, BMW dealer "A1", service LATE, Engine oil on time, Vehicle check overdue.
inline TServiceFields ExampleFields() {
  return {1, 2, 2020, 1000, 1, "A1", 2, {{1, 1}, {100, 3}}};
}

inline TBuffer ExampleEntryBytes() {
  return {0x01, 0x02, 0x07, 0xE4, 0x00, 0x00, 0x00, 0x03, 0xE8, 0x01, 0x41, 0x31,
          0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x00, 0x64, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
}

// An entry of n procedures, all "Engine oil" on time, with a recognisable km value.
inline TBuffer EntryWithProcedures(std::size_t n, uint32_t km = 1000) {
  TServiceFields f = ExampleFields();
  f.km = km;
  f.procedures.assign(n, TProcedureFields{1, 1});
  return BuildServiceRecord(f);
}
