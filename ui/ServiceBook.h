#pragma once
// The service book: the history as a document to print and hand to a buyer or a workshop. A4,
// black on white (bold and rules, no colours that a black-and-white printer would lose), the
// car's VIN when it is known (else a line to fill in by hand), and every entry in the order the
// list shows, with its date, km, workshop, status and procedures.

#include <QDate>
#include <QString>

#include "HistoryList.h"

// The book as HTML for a QTextDocument; vin empty: a line to fill in.
QString ServiceBookHtml(const THistoryList& entries, const QString& vin, const QDate& printedOn);

// The book as a PDF at path, written whole or not at all. Throws TarveloError
// "Cannot create file "<path>". <why>" when it cannot be written.
void WriteServiceBookPdf(const QString& path, const THistoryList& entries, const QString& vin);
