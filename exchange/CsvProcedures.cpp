#include "exchange/CsvProcedures.h"

#include <algorithm>

#include "exchange/ImportError.h"
#include "history/Bytes.h"
#include "history/ServiceRecord.h"

namespace {

constexpr std::string_view kItemSeparator = "; ";

template <typename T>
std::string JoinItems(const std::vector<TExportProcedure>& procedures, T item) {
  std::string cell;
  for (std::size_t i = 0; i < procedures.size(); ++i) {
    if (i > 0) cell += kItemSeparator;
    cell += item(procedures[i]);
  }
  return cell;
}

}  // namespace

std::string ProceduresCell(const std::vector<TExportProcedure>& procedures) {
  return JoinItems(procedures, [](const TExportProcedure& p) {
    return p.serviceType + " (" + std::to_string(p.typeCode) + "): " + p.status + " (" + std::to_string(p.statusCode) + ")";
  });
}

std::string ProcedureReservedCell(const std::vector<TExportProcedure>& procedures) {
  if (std::all_of(procedures.begin(), procedures.end(), [](const TExportProcedure& p) { return p.reserved.empty(); })) {
    return {};
  }
  const std::string zero = BytesToSpacedHexText(TBuffer(kProcedureReservedSize, 0));
  return JoinItems(procedures, [&](const TExportProcedure& p) { return p.reserved.empty() ? zero : p.reserved; });
}

std::vector<TImportProcedure> ParseProcedureCells(const TImportCell& cell, const std::optional<TImportCell>& reserved) {
  const auto invalid = [&] {
    return TImportError(cell.line, "Procedures " + QuotedValue(cell.text) +
                                       " are not \"TYPE (code): STATUS (code)\" items separated by \";\", for example "
                                       "\"Engine oil (1): ON TIME (1)\"");
  };
  // "Engine oil (1" and "ON TIME (1)" without the last ")": the text before the last "(" and the code after it.
  const auto split = [&](std::string_view part, TImportCell& text, TImportCell& code) {
    const std::size_t open = part.rfind('(');
    if (open == std::string_view::npos) throw invalid();
    text = {std::string(TrimmedSpaces(part.substr(0, open))), cell.line};
    code = {std::string(part.substr(open + 1)), cell.line};
  };
  std::vector<TImportProcedure> procedures;
  if (TrimmedSpaces(cell.text).empty()) return procedures;
  std::string_view rest = cell.text;
  for (;;) {
    const std::size_t end = rest.find(';');
    const std::string_view item = TrimmedSpaces(rest.substr(0, end));
    const std::size_t middle = item.find("):");
    if (middle == std::string_view::npos) throw invalid();
    const std::string_view status = TrimmedSpaces(item.substr(middle + 2));
    if (status.empty() || status.back() != ')') throw invalid();
    TImportProcedure p;
    p.line = cell.line;
    p.serviceType.emplace();
    p.typeCode.emplace();
    p.status.emplace();
    p.statusCode.emplace();
    split(item.substr(0, middle), *p.serviceType, *p.typeCode);
    split(status.substr(0, status.size() - 1), *p.status, *p.statusCode);
    procedures.push_back(std::move(p));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  if (CellGiven(reserved)) {
    std::vector<std::string_view> items;
    std::string_view text = reserved->text;
    for (std::size_t end; (end = text.find(';')) != std::string_view::npos; text.remove_prefix(end + 1)) {
      items.push_back(text.substr(0, end));
    }
    items.push_back(text);
    if (items.size() != procedures.size()) {
      throw TImportError(reserved->line, "Procedure reserved " + QuotedValue(reserved->text) + " has " +
                                             std::to_string(items.size()) + " items for " +
                                             std::to_string(procedures.size()) + " procedures");
    }
    for (std::size_t i = 0; i < items.size(); ++i) procedures[i].reserved = TImportCell{std::string(items[i]), reserved->line};
  }
  return procedures;
}
