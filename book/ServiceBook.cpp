#include "book/ServiceBook.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "book/CodeTexts.h"
#include "book/ServiceBookLayout.h"
#include "history/FileIo.h"
#include "history/RecordTexts.h"
#include "history/TarveloError.h"

namespace {

constexpr int kPdfResolution = 300;  // device pixels per inch
constexpr qreal kMarginMm = 18;
constexpr qreal kBodyPoints = 9.5;
constexpr qreal kTitlePoints = 18;
const QString kFontFamily = QStringLiteral("DejaVu Sans");

// The procedures' columns: the widest number and status there can be.
const QString kWidestProcedureNumber = QStringLiteral("255.");
constexpr const char* kWidestProcedureStatus = "UNKNOWN(255)";

// An entry's header: number, date, km, workshop type and ID, service status. Each is one run of
// text that never breaks.
enum THeaderColumn { kNumber, kDate, kKm, kWorkshopType, kWorkshopID, kStatus, kHeaderColumns };
constexpr bool kBoldColumn[kHeaderColumns] = {true, true, true, false, true, false};

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

// The book's own words in the program's language (tarvelo-cli's book stays English: it installs
// no translation).
class TBookWords {
  Q_DECLARE_TR_FUNCTIONS(ServiceBook)
};

// "98450" as a reader takes it in: "98,450 km".
QString GroupedKm(const TBuffer& entry) {
  return NumberLocale().toString(static_cast<qulonglong>(KMStand(entry))) + QStringLiteral(" km");
}

QString HeaderText(const TBuffer& entry, std::size_t row, std::size_t count, THeaderColumn column) {
  const auto cell = [&](TEntryColumn c) { return FromUtf8(EntryCellText(entry, row, count, c)); };
  switch (column) {
    case kNumber: return TBookWords::tr("No. %1").arg(cell(TEntryColumn::Number));
    case kDate: return cell(TEntryColumn::Date);
    case kKm: return GroupedKm(entry);
    case kWorkshopType: return CodeText(EntryCellText(entry, row, count, TEntryColumn::WorkshopType));
    case kWorkshopID: return cell(TEntryColumn::WorkshopID);
    case kStatus:
    case kHeaderColumns: break;
  }
  return TBookWords::tr("Service: %1").arg(CodeText(EntryCellText(entry, row, count, TEntryColumn::Status)));
}

// Measures, plans and draws. All sizes in device pixels of the PDF.
class TBookSetter {
 public:
  TBookSetter(QPainter& painter, const QRect& page, int resolution, const THistoryList& entries)
      : painter_(painter), page_(page) {
    const auto font = [](qreal points, bool bold) {
      QFont f(kFontFamily);
      f.setPointSizeF(points);
      f.setBold(bold);
      // The same glyph positions whatever the device: what is measured is what is drawn. No
      // ligatures either, so that the words copied or searched in the PDF are the words printed.
      f.setHintingPreference(QFont::PreferNoHinting);
      f.setStyleStrategy(QFont::PreferNoShaping);
      return f;
    };
    body_ = font(kBodyPoints, false);
    bold_ = font(kBodyPoints, true);
    italic_ = body_;
    italic_.setItalic(true);
    title_ = font(kTitlePoints, true);
    const qreal mm = resolution / 25.4;
    pad_ = qRound(1.6 * mm);
    rule_ = std::max(1, qRound(0.25 * mm));
    line_ = qCeil(QFontMetricsF(bold_, painter.device()).height());

    PlaceHeaderColumns(entries);
    const QFontMetricsF bodyMetrics(body_, painter.device());
    procedureNameX_ = page_.left() + pad_ + qCeil(bodyMetrics.horizontalAdvance(kWidestProcedureNumber)) + pad_;
    procedureStatusX_ = page_.right() - pad_ - qCeil(bodyMetrics.horizontalAdvance(CodeText(kWidestProcedureStatus)));

    metrics_.headerHeight = line_ + 2 * pad_;
    metrics_.continuedHeaderHeight = metrics_.headerHeight + line_ + pad_ / 2;
    metrics_.rowHeight = line_ + pad_ / 2;
    metrics_.emptyHeight = line_ + pad_;
    metrics_.gap = 2 * pad_;
    footer_ = line_ + 2 * pad_;
    metrics_.pageHeight = page_.height() - footer_;
    const int titleLine = qCeil(QFontMetricsF(title_, painter.device()).height());
    metrics_.firstPageTop = titleLine + 3 * line_ + 4 * pad_;
  }

  const TBookMetrics& Metrics() const { return metrics_; }

  void DrawTitle(const TServiceBookInput& book) {
    int y = page_.top();
    const int titleLine = qCeil(QFontMetricsF(title_, painter_.device()).height());
    Text(title_, page_.left(), y, titleLine, TBookWords::tr("Service book"));
    y += titleLine + pad_;
    const QString vinCaption = TBookWords::tr("Vehicle identification number (VIN): ");
    const int vinX = Text(body_, page_.left(), y, line_, vinCaption).right() + 1;
    Text(bold_, vinX, y, line_, book.vin.isEmpty() ? QStringLiteral("______________________________") : book.vin);
    y += line_ + pad_;
    const QString services = book.entries.size() == 1
                                 ? TBookWords::tr("1 service.")
                                 : TBookWords::tr("%1 services, the newest first.")
                                       .arg(NumberLocale().toString(static_cast<qulonglong>(book.entries.size())));
    Text(body_, page_.left(), y, line_,
         services + TBookWords::tr(" Printed on %1 with Tarvelo %2.")
                        .arg(book.printedOn.toString(QStringLiteral("d.M.yyyy")), QStringLiteral(TARVELO_VERSION_TEXT)));
    y += line_ + pad_;
    painter_.fillRect(QRect(page_.left(), y, page_.width(), rule_), Qt::black);
  }

  void DrawFooter(const TServiceBookInput& book, std::size_t page, std::size_t pages) {
    const int y = page_.bottom() + 1 - line_;
    const QString left = book.vin.isEmpty() ? TBookWords::tr("Service book") : TBookWords::tr("Service book, VIN %1").arg(book.vin);
    Text(body_, page_.left(), y, line_, left);
    const QString right = TBookWords::tr("Page %1 of %2").arg(page).arg(pages);
    Text(body_, page_.right() + 1 - qCeil(QFontMetricsF(body_, painter_.device()).horizontalAdvance(right)), y, line_, right);
  }

  void DrawPiece(const TBookPiece& piece, const TServiceBookInput& book, std::size_t pageOfHeader) {
    const TBuffer& entry = book.entries[piece.entry];
    const std::size_t count = book.entries.size();
    const int top = page_.top() + piece.top;
    const int height = PieceHeight(piece, metrics_);

    // The header: number, date, km, workshop type and ID, status; each a run of its own that
    // never breaks.
    int y = top + pad_;
    for (int c = 0; c < kHeaderColumns; ++c) {
      Text(kBoldColumn[c] ? headerBold_ : headerBody_, columns_[c], y, line_,
           HeaderText(entry, piece.entry, count, static_cast<THeaderColumn>(c)));
    }
    y += line_ + pad_;
    if (piece.continued) {
      Text(italic_, columns_[0], y - pad_ / 2, line_,
           TBookWords::tr("continued from page %1, procedures %2 to %3 of %4")
               .arg(pageOfHeader)
               .arg(piece.firstProcedure + 1)
               .arg(piece.firstProcedure + piece.procedures)
               .arg(ProcCount(entry)));
      y += line_ + pad_ / 2;
    }
    painter_.fillRect(QRect(page_.left(), y - pad_ / 2, page_.width(), rule_), Qt::black);

    if (piece.procedures == 0) {
      Text(italic_, columns_[0], y + pad_ / 2, line_, TBookWords::tr("No procedures recorded."));
    }
    for (std::size_t k = piece.firstProcedure; k < piece.firstProcedure + piece.procedures; ++k) {
      const int rowY = y + pad_ / 4;
      Text(body_, page_.left() + pad_, rowY, line_, FromUtf8(ProcedureCellText(entry, k, TProcedureColumn::Number)) + QLatin1Char('.'));
      Text(body_, procedureNameX_, rowY, line_, CodeText(ProcedureCellText(entry, k, TProcedureColumn::ServiceType)));
      Text(body_, procedureStatusX_, rowY, line_, CodeText(ProcedureCellText(entry, k, TProcedureColumn::Status)));
      y += metrics_.rowHeight;
    }
    // The frame around the piece.
    painter_.setPen(QPen(Qt::black, rule_));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(page_.left() + rule_ / 2.0, top + rule_ / 2.0, page_.width() - rule_, height - rule_));
  }

 private:
  // The header's columns, left to right, each as wide as its widest text in this book, and the
  // room left over between them. When the widest texts together are wider than the page (dates
  // that are no calendar dates, the largest km), the header's type gets smaller until they fit:
  // a text is never broken, cut or drawn over its neighbour.
  void PlaceHeaderColumns(const THistoryList& entries) {
    qreal widths[kHeaderColumns] = {};
    QHash<QString, qreal> measured[kHeaderColumns];
    const QFontMetricsF boldMetrics(bold_, painter_.device());
    const QFontMetricsF bodyMetrics(body_, painter_.device());
    for (std::size_t row = 0; row < entries.size(); ++row) {
      for (int c = 0; c < kHeaderColumns; ++c) {
        const QString text = HeaderText(entries[row], row, entries.size(), static_cast<THeaderColumn>(c));
        auto known = measured[c].constFind(text);
        if (known == measured[c].constEnd()) {
          known = measured[c].insert(text, (kBoldColumn[c] ? boldMetrics : bodyMetrics).horizontalAdvance(text));
        }
        widths[c] = std::max(widths[c], *known);
      }
    }
    qreal used = 0;
    for (qreal w : widths) used += w;
    const qreal inner = page_.width() - 2 * pad_;
    const qreal minimumSpace = 2 * pad_;
    const qreal needed = used + minimumSpace * (kHeaderColumns - 1);
    headerBold_ = bold_;
    headerBody_ = body_;
    qreal scale = 1;
    if (needed > inner) {
      scale = (inner - minimumSpace * (kHeaderColumns - 1)) / used * 0.98;  // the fonts' sizes do not scale exactly
      headerBold_.setPointSizeF(bold_.pointSizeF() * scale);
      headerBody_.setPointSizeF(body_.pointSizeF() * scale);
    }
    const qreal space = (inner - used * scale) / (kHeaderColumns - 1);
    qreal x = page_.left() + pad_;
    for (int c = 0; c < kHeaderColumns; ++c) {
      columns_[c] = qRound(x);
      x += widths[c] * scale + space;
    }
  }

  // One line of text at (x, top), never wrapped; returns where it was drawn.
  QRect Text(const QFont& font, int x, int top, int height, const QString& text) {
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    QRect drawn;
    painter_.drawText(QRect(x, top, page_.right() + 1 - x, height), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      text, &drawn);
    return drawn;
  }

  QPainter& painter_;
  QRect page_;
  QFont body_, bold_, italic_, title_;
  QFont headerBold_, headerBody_;  // the header's, smaller than the body's when its texts need it
  int pad_ = 0, rule_ = 0, line_ = 0, footer_ = 0;
  int columns_[kHeaderColumns] = {};
  int procedureNameX_ = 0, procedureStatusX_ = 0;
  TBookMetrics metrics_;
};

}  // namespace

bool WriteServiceBook(QIODevice& device, const TServiceBookInput& book, const TBookProgress& progress) {
  QPdfWriter writer(&device);
  writer.setTitle(TBookWords::tr("Service book"));
  writer.setCreator(QStringLiteral("Tarvelo " TARVELO_VERSION_TEXT));
  writer.setResolution(kPdfResolution);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
  QPainter painter(&writer);
  const QRect page(QPoint(0, 0), writer.pageLayout().paintRectPixels(kPdfResolution).size());
  TBookSetter setter(painter, page, kPdfResolution, book.entries);

  std::vector<std::size_t> counts;
  counts.reserve(book.entries.size());
  for (const TBuffer& entry : book.entries) counts.push_back(ProcCount(entry));
  const std::vector<TBookPage> pages = PlanServiceBook(counts, setter.Metrics());

  std::size_t entriesDone = 0;
  std::size_t headerPage = 0;  // where the entry being continued began
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) writer.newPage();
    if (p == 0) setter.DrawTitle(book);
    for (const TBookPiece& piece : pages[p].pieces) {
      if (!piece.continued) headerPage = p + 1;
      setter.DrawPiece(piece, book, headerPage);
      if (piece.firstProcedure + piece.procedures == counts[piece.entry]) entriesDone = piece.entry + 1;
    }
    setter.DrawFooter(book, p + 1, pages.size());
    if (progress && !progress(entriesDone, book.entries.size())) {
      painter.end();
      return false;
    }
  }
  return painter.end();
}

TBookOutcome WriteServiceBookPdf(const QString& path, const THistoryList& entries, const QString& vin,
                                 const TBookProgress& progress) {
  // Written through a file beside the target that takes its place only when whole.
  QSaveFile file(path);
  const auto fail = [&](const QString& why) {
    return CannotCreateFileError(path.toStdString(), why.toStdString());
  };
  if (!file.open(QIODevice::WriteOnly)) throw fail(file.errorString());
  if (!WriteServiceBook(file, {entries, vin, QDate::currentDate()}, progress)) {
    file.cancelWriting();
    return TBookOutcome::Cancelled;
  }
  if (!file.commit()) throw fail(file.errorString());
  return TBookOutcome::Written;
}
