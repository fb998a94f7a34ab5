// Writes examples/sample.kelta: the service history of one car from delivery in 2017 to 2024,
// newest entry first (the order of the main window's list). Run it as
//   tarvelo-make-sample examples/sample.kelta
// A test checks that the committed file is what this program writes.
#include <iostream>

#include "history/CodeTables.h"
#include "history/HistoryFile.h"
#include "history/TarveloError.h"

namespace {

// Codes as the editor stores them.
enum TWorkshop : uint8_t { kIndependent = 0, kBMWDealer = 1 };
enum TServiceStatus : uint8_t { kServiceOnTime = 1, kServiceLate = 2, kServiceIncomplete = 3 };
enum TProcStatus : uint8_t { kOnTime = 1, kLate = 2, kOverdue = 3 };

uint8_t Procedure(std::string_view name) {
  for (const TProcedureType& type : kProcedureTypes) {
    if (type.name == name) return type.code;
  }
  throw std::invalid_argument(std::string(name));
}

THistoryList SampleHistory() {
  const std::vector<TServiceFields> entries = {
      {14, 3, 2024, 98450, kBMWDealer, "M4021", kServiceOnTime,
       {{Procedure("Engine oil"), kOnTime}, {Procedure("Micro-filter"), kOnTime}, {Procedure("Vehicle check"), kOnTime}}},
      {2, 9, 2023, 86120, kIndependent, "KFZ-BAU", kServiceLate,
       {{Procedure("Brake fluid"), kLate}, {Procedure("Front Brake"), kOnTime}, {Procedure("Rear Brake"), kOverdue}}},
      {21, 1, 2023, 79300, kBMWDealer, "M4021", kServiceOnTime,
       {{Procedure("Engine oil"), kOnTime},
        {Procedure("Air filter element"), kOnTime},
        {Procedure("Spark plugs"), kOnTime},
        {Procedure("Statutory vehicle inspection"), kOnTime},
        {Procedure("Statutory emissions test"), kOnTime}}},
      {8, 6, 2021, 61875, kIndependent, "M\xC3\xBCller", kServiceIncomplete,  // "Müller", stored as 4D FC 6C 6C 65 72
       {{Procedure("Engine oil"), kOnTime}, {Procedure("Fuel filter"), kOverdue}}},
      {30, 11, 2020, 48210, kBMWDealer, "B1187", kServiceLate,
       {{Procedure("Engine oil"), kLate},
        {Procedure("Micro-filter"), kLate},
        {Procedure("Recirculating air filter"), kLate},
        {Procedure("Vehicle check"), kOnTime}}},
      {15, 4, 2019, 30560, kBMWDealer, "B1187", kServiceOnTime,
       {{Procedure("Engine oil"), kOnTime}, {Procedure("Brake fluid"), kOnTime}, {Procedure("Vehicle check"), kOnTime}}},
      {3, 5, 2018, 15020, kBMWDealer, "M4021", kServiceOnTime,
       {{Procedure("Engine oil"), kOnTime}, {Procedure("Vehicle check"), kOnTime}}},
      {20, 7, 2017, 1980, kBMWDealer, "M4021", kServiceOnTime, {{Procedure("Service - running in check"), kOnTime}}},
      {12, 6, 2017, 12, kBMWDealer, "M4021", kServiceOnTime, {{Procedure("Pre-delivery inspection"), kOnTime}}},
  };
  THistoryList list;
  for (const TServiceFields& fields : entries) list.push_back(BuildServiceRecord(fields));
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tarvelo-make-sample OUTPUT.kelta\n";
    return 2;
  }
  try {
    WriteFileAtomically(argv[1], JoinHistory(SampleHistory()));
  } catch (const ETarveloError& e) {
    std::cerr << ErrorReportText(e.what()) << "\n";
    return 2;
  }
  return 0;
}
