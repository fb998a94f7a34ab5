#pragma once
// The file dialogs of the windows: "Open" of a history (or its spreadsheet or JSON form), "Save As"
// with what it writes for each type it offers, and the save dialog of one type (the ENET log, the
// trace). Their texts are in the program's language, made when a dialog opens.

#include <QLocale>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "exchange/HistoryExchange.h"
#include "history/HistoryList.h"

class QWidget;

// What "Save As" writes for a type of its dialog, and the extension a name without one gets (a
// history file gets ".bin", as it always has).
struct TSaveType {
  enum class Kind { HistoryFile, Exchange, ServiceBook };
  QString filter;
  QString defaultSuffix;
  Kind kind = Kind::HistoryFile;
  TExchangeFormat exchange = TExchangeFormat::Csv;  // for Kind::Exchange
  TExportOptions options;
};

// The types in the order the dialog lists them: history file, the CSV that the locale's
// spreadsheets read without being asked (semicolons where decimals have a comma), the other CSV,
// JSON, the service book.
std::vector<TSaveType> SaveTypes(const QLocale& locale);

// The path the user chose in "Open" (native separators), or empty when the dialog was cancelled.
QString AskOpenHistoryPath(QWidget* parent);

// The path and the type the user chose in "Save As", or nullopt when the dialog was cancelled.
struct TSaveChoice {
  QString path;
  TSaveType type;
};
std::optional<TSaveChoice> AskSaveHistoryPath(QWidget* parent, const QLocale& locale);

// A save dialog of one type (named, for the tests), or empty when it was cancelled.
QString AskSavePath(QWidget* parent, const QString& name, const QString& title, const QString& filter, const QString& suffix);

// Writes the list at path as a history file or in its exchange form, as type says (the service book
// is the main window's, as it shows its progress).
void SaveHistoryAs(const std::string& path, const THistoryList& entries, const TSaveType& type);
