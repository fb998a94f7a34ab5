#include "HistoryJson.h"

#include <iterator>
#include <map>
#include <nlohmann/json.hpp>

#include "ExchangeEntry.h"
#include "ImportError.h"

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

// An input iterator over the text that counts the line breaks it has passed, so that the parser's
// callback knows on which line a key or an object stands.
class TLineCountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  TLineCountingIterator(const char* at, std::size_t* lineBreaks) : at_(at), lineBreaks_(lineBreaks) {}
  reference operator*() const { return *at_; }
  TLineCountingIterator& operator++() {
    if (*at_ == '\n') ++*lineBreaks_;
    ++at_;
    return *this;
  }
  TLineCountingIterator operator++(int) {
    TLineCountingIterator before = *this;
    ++*this;
    return before;
  }
  friend bool operator==(const TLineCountingIterator& a, const TLineCountingIterator& b) { return a.at_ == b.at_; }

 private:
  const char* at_;
  std::size_t* lineBreaks_;
};

// Where the parts of the "entries" list stand in the text.
struct TProcedureLines {
  std::size_t line = 0;
  std::map<std::string, std::size_t> keys;
};
struct TEntryLines {
  std::size_t line = 0;
  std::map<std::string, std::size_t> keys;
  std::vector<TProcedureLines> procedures;
};

// nlohmann's "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ..."
// without what the line number already says.
std::string SyntaxReason(const std::string& what) {
  const std::size_t column = what.find("column ");
  const std::size_t colon = column == std::string::npos ? column : what.find(": ", column);
  return colon == std::string::npos ? what : what.substr(colon + 2);
}

std::size_t LineAt(std::string_view text, std::size_t byte) {
  const std::string_view before = text.substr(0, std::min(byte, text.size()));
  return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

// A value as a cell's text: a text as it is, a number in decimal; anything else is refused.
std::optional<TImportCell> Cell(const TJson& object, std::string_view key, const std::map<std::string, std::size_t>& lines,
                                std::size_t objectLine) {
  const auto found = object.find(Key(key));
  if (found == object.end()) return std::nullopt;
  const auto line = lines.find(Key(key));
  const std::size_t at = line == lines.end() ? objectLine : line->second;
  if (found->is_string()) return TImportCell{found->get<std::string>(), at};
  if (found->is_number()) return TImportCell{found->dump(), at};
  throw TImportError(at, "\"" + Key(key) + "\" is " + found->type_name() + ", not a number or a text");
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
  std::size_t lineBreaks = 0;
  std::vector<TEntryLines> lines;
  std::string rootKey, entryKey;
  // Depths as the parser counts them: the top object 0, "entries" 1, an entry 2, its keys 3, a
  // procedure 4, its keys 5.
  const auto callback = [&](int depth, nlohmann::json::parse_event_t event, TJson& parsed) {
    using Event = nlohmann::json::parse_event_t;
    const std::size_t line = lineBreaks + 1;
    const bool inEntries = rootKey == kEntries;
    if (event == Event::key && depth == 1) rootKey = parsed.get<std::string>();
    if (!inEntries) return true;
    if (event == Event::object_start && depth == 2) lines.push_back({line, {}, {}});
    if (lines.empty()) return true;
    if (event == Event::key && depth == 3) {
      entryKey = parsed.get<std::string>();
      lines.back().keys.emplace(entryKey, line);
    }
    if (entryKey != column::kProcedures) return true;
    if (event == Event::object_start && depth == 4) lines.back().procedures.push_back({line, {}});
    if (event == Event::key && depth == 5 && !lines.back().procedures.empty()) {
      lines.back().procedures.back().keys.emplace(parsed.get<std::string>(), line);
    }
    return true;
  };
  TJson doc;
  try {
    doc = TJson::parse(TLineCountingIterator(text.data(), &lineBreaks),
                       TLineCountingIterator(text.data() + text.size(), &lineBreaks), callback);
  } catch (const TJson::parse_error& e) {
    throw TImportError(LineAt(text, e.byte == 0 ? 0 : e.byte - 1), "JSON " + SyntaxReason(e.what()));
  }
  if (!doc.is_object() || !doc.contains(Key(kEntries)) || !doc[Key(kEntries)].is_array()) {
    throw TImportError(1, "no \"entries\" list in a JSON object");
  }
  const TJson& entries = doc[Key(kEntries)];
  if (entries.empty()) throw TImportError(1, "the \"entries\" list is empty");
  THistoryList list;
  list.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TEntryLines& at = i < lines.size() ? lines[i] : TEntryLines{};
    const TJson& e = entries[i];
    if (!e.is_object()) throw TImportError(at.line ? at.line : 1, "entry " + std::to_string(i + 1) + " is not an object");
    const auto cell = [&](std::string_view key) { return Cell(e, key, at.keys, at.line); };
    TImportEntry entry;
    entry.line = at.line;
    entry.date = cell(column::kDate);
    entry.km = cell(column::kKM);
    entry.workshopType = cell(column::kWorkshopType);
    entry.workshopTypeCode = cell(column::kWorkshopTypeCode);
    entry.workshopID = cell(column::kWorkshopID);
    entry.status = cell(column::kStatus);
    entry.statusCode = cell(column::kStatusCode);
    entry.count = cell(column::kCount);
    entry.dateBytes = cell(column::kDateBytes);
    entry.reserved = cell(column::kReserved);
    entry.workshopIDBytes = cell(column::kWorkshopIDBytes);
    const auto procedures = e.find(Key(column::kProcedures));
    const auto proceduresLine = at.keys.find(Key(column::kProcedures));
    entry.proceduresGiven = procedures != e.end();
    if (entry.proceduresGiven && !procedures->is_array()) {
      throw TImportError(proceduresLine == at.keys.end() ? at.line : proceduresLine->second, "\"Procedures\" is not a list");
    }
    for (std::size_t k = 0; entry.proceduresGiven && k < procedures->size(); ++k) {
      const TProcedureLines& pAt = k < at.procedures.size() ? at.procedures[k] : TProcedureLines{at.line, {}};
      const TJson& p = (*procedures)[k];
      if (!p.is_object()) throw TImportError(pAt.line, "procedure " + std::to_string(k + 1) + " is not an object");
      const auto pCell = [&](std::string_view key) { return Cell(p, key, pAt.keys, pAt.line); };
      TImportProcedure procedure;
      procedure.line = pAt.line;
      procedure.typeCode = pCell(procedure_key::kTypeCode);
      procedure.statusCode = pCell(procedure_key::kStatusCode);
      procedure.serviceType = pCell(procedure_key::kServiceType);
      procedure.status = pCell(procedure_key::kStatus);
      procedure.reserved = pCell(procedure_key::kReserved);
      entry.procedures.push_back(std::move(procedure));
    }
    list.push_back(ImportEntry(entry));
  }
  return list;
}
