#include "ui/HistoryFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <span>

#include "history/FileIo.h"
#include "history/HistoryFile.h"

namespace {

// The dialogs speak the main window's words (its part of the translation).
QString Tr(const char* english) { return QCoreApplication::translate("TFMain", english); }

QString HistoryFilter() { return Tr(QT_TRANSLATE_NOOP("TFMain", "BMW SERVICE HISTORY FILES (*.kelta *.bin)")); }
QString AllFilesFilter() { return Tr(QT_TRANSLATE_NOOP("TFMain", "All files (*)")); }
QString CsvFilter() { return Tr(QT_TRANSLATE_NOOP("TFMain", "CSV for spreadsheets (*.csv)")); }
QString CsvCommaFilter() { return Tr(QT_TRANSLATE_NOOP("TFMain", "CSV for spreadsheets, separated by commas (*.csv)")); }
QString CsvSemicolonFilter() {
  return Tr(QT_TRANSLATE_NOOP("TFMain", "CSV for spreadsheets, separated by semicolons (*.csv)"));
}
QString JsonFilter() { return Tr(QT_TRANSLATE_NOOP("TFMain", "JSON (*.json)")); }
QString ServiceBookFilter() { return Tr(QT_TRANSLATE_NOOP("TFMain", "PDF service book (*.pdf)")); }

QString ChosenPath(const QFileDialog& dialog) { return QDir::toNativeSeparators(dialog.selectedFiles().first()); }

}  // namespace

std::vector<TSaveType> SaveTypes(const QLocale& locale) {
  using Kind = TSaveType::Kind;
  const QString decimalPoint = locale.decimalPoint();
  const char localeSeparator = CsvSeparatorForDecimalPoint(decimalPoint.isEmpty() ? U'.' : decimalPoint.at(0).unicode());
  const TSaveType comma{CsvCommaFilter(), QStringLiteral("csv"), Kind::Exchange, TExchangeFormat::Csv, {kCsvComma}};
  const TSaveType semicolon{CsvSemicolonFilter(), QStringLiteral("csv"), Kind::Exchange, TExchangeFormat::Csv, {kCsvSemicolon}};
  std::vector<TSaveType> types{{HistoryFilter(), QStringLiteral("bin"), Kind::HistoryFile, {}, {}}};
  types.push_back(localeSeparator == kCsvSemicolon ? semicolon : comma);
  types.push_back(localeSeparator == kCsvSemicolon ? comma : semicolon);
  types.push_back({JsonFilter(), QStringLiteral("json"), Kind::Exchange, TExchangeFormat::Json, {}});
  types.push_back({ServiceBookFilter(), QStringLiteral("pdf"), Kind::ServiceBook, {}, {}});
  return types;
}

QString AskOpenHistoryPath(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("OpenHistoryFile"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // History files first; spreadsheets and JSON as `tarvelo-cli export` writes them.
  dialog.setNameFilters({HistoryFilter(), CsvFilter(), JsonFilter(), AllFilesFilter()});
  dialog.selectNameFilter(HistoryFilter());
  dialog.setDirectory(QDir::currentPath());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return ChosenPath(dialog);
}

std::optional<TSaveChoice> AskSaveHistoryPath(QWidget* parent, const QLocale& locale) {
  QFileDialog dialog(parent, Tr(QT_TRANSLATE_NOOP("TFMain", "Save BMW Service History File")));
  dialog.setObjectName(QStringLiteral("SaveHistoryFile"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const std::vector<TSaveType> types = SaveTypes(locale);
  QStringList filters;
  for (const TSaveType& type : types) filters << type.filter;
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(HistoryFilter());
  dialog.setDirectory(QDir::currentPath());
  dialog.setDefaultSuffix(types.front().defaultSuffix);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &types](const QString& filter) {
    for (const TSaveType& type : types) {
      if (type.filter == filter) dialog.setDefaultSuffix(type.defaultSuffix);
    }
  });
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // The type chosen in the dialog decides what is written, whatever the name ends with.
  const QString filter = dialog.selectedNameFilter();
  for (const TSaveType& type : types) {
    if (type.filter == filter) return TSaveChoice{ChosenPath(dialog), type};
  }
  return TSaveChoice{ChosenPath(dialog), types.front()};
}

QString AskSavePath(QWidget* parent, const QString& name, const QString& title, const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, title);
  dialog.setObjectName(name);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(filter);
  dialog.setDirectory(QDir::currentPath());
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return ChosenPath(dialog);
}

void SaveHistoryAs(const std::string& path, const THistoryList& entries, const TSaveType& type) {
  if (type.kind == TSaveType::Kind::Exchange) {
    const std::string text = ExportHistory(entries, type.exchange, type.options);
    WriteFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  } else {
    WriteHistoryFile(path, entries);
  }
}
