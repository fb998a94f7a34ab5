#include "exchange/HistoryJson.h"

#include <nlohmann/json.hpp>

#include "exchange/ExchangeEntry.h"
#include "exchange/ImportError.h"
#include "exchange/JsonTree.h"

namespace {

using TJson = nlohmann::ordered_json;
constexpr std::string_view kEntries = "entries";

std::string Key(std::string_view key) { return std::string(key); }

TJson ProcedureJson(const TExportProcedure& p) {
  TJson j;
  j[Key(procedure_key::kServiceType)] = p.serviceType;
  j[Key(procedure_key::kTypeCode)] = p.typeCode;
  j[Key(procedure_key::kStatus)] = p.status;
  j[Key(procedure_key::kStatusCode)] = p.statusCode;
  if (!p.reserved.empty()) j[Key(procedure_key::kReserved)] = p.reserved;
  return j;
}

TJson EntryJson(const TExportEntry& e) {
  TJson j;
  j[Key(column::kNumber)] = e.number;
  j[Key(column::kDate)] = e.date;
  j[Key(column::kKM)] = e.km;
  j[Key(column::kWorkshopType)] = e.workshopType;
  j[Key(column::kWorkshopTypeCode)] = e.workshopTypeCode;
  j[Key(column::kWorkshopID)] = e.workshopID;
  j[Key(column::kStatus)] = e.status;
  j[Key(column::kStatusCode)] = e.statusCode;
  j[Key(column::kCount)] = e.procedures.size();
  TJson procedures = TJson::array();
  for (const TExportProcedure& p : e.procedures) procedures.push_back(ProcedureJson(p));
  j[Key(column::kProcedures)] = std::move(procedures);
  if (!e.dateBytes.empty()) j[Key(column::kDateBytes)] = e.dateBytes;
  if (!e.reserved.empty()) j[Key(column::kReserved)] = e.reserved;
  if (!e.workshopIDBytes.empty()) j[Key(column::kWorkshopIDBytes)] = e.workshopIDBytes;
  return j;
}

// A value as a cell's text: a text as it is, a number as typed; anything else is refused. A cell
// stands on its key's line.
std::optional<TImportCell> Cell(const TJsonValue& object, std::string_view key) {
  const TJsonMember* member = object.Find(key);
  if (!member) return std::nullopt;
  const TJsonValue& value = member->value;
  if (value.kind == TJsonValue::Kind::String || value.kind == TJsonValue::Kind::Number) {
    return TImportCell{value.text, member->line};
  }
  throw TImportError(member->line, "\"" + std::string(key) + "\" is " + value.KindName() +
                                       ", not a number or a text; write it as export writes it");
}

// One entry of the "entries" list (the i-th, from 0) as bytes; throws TImportError.
TBuffer EntryFromJson(const TJsonValue& e, std::size_t i) {
  if (e.kind != TJsonValue::Kind::Object) {
    throw TImportError(e.line, "entry " + std::to_string(i + 1) + " is not an object; write it as {...}, as export does");
  }
  TImportEntry entry = EntryCells(e.line, [&](std::string_view key) { return Cell(e, key); });
  const TJsonMember* procedures = e.Find(column::kProcedures);
  entry.proceduresGiven = procedures != nullptr;
  if (procedures && procedures->value.kind != TJsonValue::Kind::Array) {
    throw TImportError(procedures->line, "\"Procedures\" is not a list; write it as [...], as export does");
  }
  for (std::size_t k = 0; procedures && k < procedures->value.items.size(); ++k) {
    const TJsonValue& p = procedures->value.items[k];
    if (p.kind != TJsonValue::Kind::Object) {
      throw TImportError(p.line, "procedure " + std::to_string(k + 1) + " is not an object; write it as {...}, "
                                 "as export does");
    }
    TImportProcedure procedure;
    procedure.line = p.line;
    procedure.typeCode = Cell(p, procedure_key::kTypeCode);
    procedure.statusCode = Cell(p, procedure_key::kStatusCode);
    procedure.serviceType = Cell(p, procedure_key::kServiceType);
    procedure.status = Cell(p, procedure_key::kStatus);
    procedure.reserved = Cell(p, procedure_key::kReserved);
    entry.procedures.push_back(std::move(procedure));
  }
  return ImportEntry(entry);
}

}  // namespace

std::string HistoryToJson(const THistoryList& list) {
  TJson entries = TJson::array();
  for (std::size_t row = 0; row < list.size(); ++row) entries.push_back(EntryJson(ExportEntry(list[row], row, list.size())));
  TJson doc;
  doc[Key(kEntries)] = std::move(entries);
  return doc.dump(2) + "\n";
}

THistoryList HistoryFromJson(std::string_view text) {
  const TJsonValue doc = ParseJsonTree(text);
  const TJsonMember* entries = doc.kind == TJsonValue::Kind::Object ? doc.Find(kEntries) : nullptr;
  if (!entries || entries->value.kind != TJsonValue::Kind::Array) {
    throw TImportError(entries ? entries->line : 1, "no \"entries\" list in a JSON object; the text must be "
                                                    "{\"entries\": [...]}, as export writes it");
  }
  if (entries->value.items.empty()) {
    throw TImportError(entries->line, "the \"entries\" list is empty; a history has at least one entry");
  }
  THistoryList list;
  list.reserve(entries->value.items.size());
  TImportRefusals refusals;
  for (std::size_t i = 0; i < entries->value.items.size(); ++i) {
    try {
      list.push_back(EntryFromJson(entries->value.items[i], i));
    } catch (const TImportError& refused) {
      refusals.Add(refused);
    }
  }
  refusals.ThrowIfAny();
  return list;
}

