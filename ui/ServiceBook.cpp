#include "ServiceBook.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include "RecordTexts.h"
#include "TarveloError.h"

namespace {

constexpr int kPdfResolution = 300;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8).toHtmlEscaped(); }

// "98450" as a reader takes it in: "98,450".
QString GroupedKm(const TBuffer& entry) { return QLocale(QLocale::English).toString(static_cast<qulonglong>(KMStand(entry))); }

QString EntryHtml(const TBuffer& entry, std::size_t row, std::size_t count) {
  const auto cell = [&](EntryColumn column) { return Text(EntryCellText(entry, row, count, column)); };
  QString html = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\" border=\"1\" "
                                "style=\"border-collapse: collapse; border-color: #000000; margin-bottom: 10px;\">");
  html += QStringLiteral("<tr><td width=\"12%\"><b>No. %1</b></td><td width=\"22%\"><b>%2</b></td>"
                         "<td width=\"22%\"><b>%3 km</b></td><td width=\"44%\">%4, workshop %5<br/>Service: <b>%6</b></td></tr>")
              .arg(cell(EntryColumn::Number), cell(EntryColumn::Date), GroupedKm(entry), cell(EntryColumn::WorkshopType),
                   cell(EntryColumn::WorkshopID), cell(EntryColumn::Status));
  html += QStringLiteral("<tr><td colspan=\"4\">");
  if (ProcCount(entry) == 0) {
    html += QStringLiteral("<i>No procedures recorded.</i>");
  } else {
    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"0\">");
    for (std::size_t k = 0; k < ProcCount(entry); ++k) {
      html += QStringLiteral("<tr><td width=\"6%\">%1.</td><td width=\"64%\">%2</td><td width=\"30%\">%3</td></tr>")
                  .arg(Text(ProcedureCellText(entry, k, ProcedureColumn::Number)),
                       Text(ProcedureCellText(entry, k, ProcedureColumn::ServiceType)),
                       Text(ProcedureCellText(entry, k, ProcedureColumn::Status)));
    }
    html += QStringLiteral("</table>");
  }
  html += QStringLiteral("</td></tr></table>");
  return html;
}

}  // namespace

QString ServiceBookHtml(const THistoryList& entries, const QString& vin, const QDate& printedOn) {
  QString html = QStringLiteral("<html><body style=\"color: #000000;\">");
  html += QStringLiteral("<h1>Service book</h1>");
  html += QStringLiteral("<p>Vehicle identification number (VIN): ");
  html += vin.isEmpty() ? QStringLiteral("______________________________") : QStringLiteral("<b>%1</b>").arg(vin.toHtmlEscaped());
  html += QStringLiteral("</p>");
  html += QStringLiteral("<p>%1 services, the newest first. Printed on %2 with Tarvelo " TARVELO_VERSION_TEXT ".</p><hr/>")
              .arg(entries.size())
              .arg(printedOn.toString(QStringLiteral("d.M.yyyy")));
  for (std::size_t row = 0; row < entries.size(); ++row) html += EntryHtml(entries[row], row, entries.size());
  html += QStringLiteral("</body></html>");
  return html;
}

void WriteServiceBookPdf(const QString& path, const THistoryList& entries, const QString& vin) {
  // Written through a file beside the target that takes its place only when whole.
  QSaveFile file(path);
  const auto fail = [&](const QString& why) {
    return TarveloError("Cannot create file \"" + path.toStdString() + "\". " + why.toStdString());
  };
  if (!file.open(QIODevice::WriteOnly)) throw fail(file.errorString());
  {
    QPdfWriter writer(&file);
    writer.setTitle(QStringLiteral("Service book"));
    writer.setCreator(QStringLiteral("Tarvelo " TARVELO_VERSION_TEXT));
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                     QPageLayout::Millimeter));
    QTextDocument book;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    book.setDefaultFont(font);
    book.setHtml(ServiceBookHtml(entries, vin, QDate::currentDate()));
    book.print(&writer);
  }
  if (!file.commit()) throw fail(file.errorString());
}
