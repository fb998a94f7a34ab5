#pragma once
// The service book: the history as a document to print and hand to a buyer or a workshop. A4,
// black on white (bold and rules, no colours that a black-and-white printer would lose), the
// car's VIN when it is known (else a line to fill in by hand), and every entry in the order the
// list shows, with its date, km, workshop, status and procedures.
//
// It is typeset page by page with QPainter straight into the PDF, so time and memory grow with the
// number of entries and nothing more: the plan of the pages (ServiceBookLayout.h) is made first,
// then each page is drawn and written out before the next. Needs a QGuiApplication (for fonts);
// no widgets.

#include <QDate>
#include <QString>
#include <functional>

#include "history/HistoryList.h"

class QIODevice;

// Told after each page how many entries are done; false cancels the book.
using TBookProgress = std::function<bool(std::size_t entriesDone, std::size_t entriesTotal)>;

struct TServiceBookInput {
  const THistoryList& entries;
  QString vin;         // empty: a line to fill in
  QDate printedOn;     // the date the title block names
};

// The book as PDF into device (open for writing). Returns false when progress cancelled it; what
// was written then is no whole PDF.
bool WriteServiceBook(QIODevice& device, const TServiceBookInput& book, const TBookProgress& progress = {});

enum class TBookOutcome { Written, Cancelled };

// The book as a PDF file at path, written whole or not at all (also when cancelled: no file, and
// a file that was there stays). Throws ETarveloError "Cannot create file "<path>". <why>" when it
// cannot be written.
TBookOutcome WriteServiceBookPdf(const QString& path, const THistoryList& entries, const QString& vin,
                                 const TBookProgress& progress = {});
