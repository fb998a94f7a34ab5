// Build-time assets of the desktop program, made from sources in the repository:
//   tarvelo-assets help-pdf GUIDE.md OUT.pdf   the user guide as a PDF
//   tarvelo-assets icon OUT.png                the program's icon, 256 x 256
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

#include "HelpDocument.h"
#include "Icons.h"

namespace {

constexpr int kIconPixels = 256;
constexpr int kPdfResolution = 300;

int Fail(const QString& text) {
  std::fprintf(stderr, "tarvelo-assets: %s\n", qPrintable(text));
  return 1;
}

int MakeHelpPdf(const QString& guide, const QString& out) {
  QFile source(guide);
  if (!source.open(QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read %1").arg(guide));

  QPdfWriter writer(out);
  writer.setTitle(QStringLiteral("Tarvelo user guide"));
  writer.setCreator(QStringLiteral("Tarvelo " TARVELO_VERSION_TEXT));
  writer.setResolution(kPdfResolution);
  const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 20, 18),
                           QPageLayout::Millimeter);
  writer.setPageLayout(layout);
  // Laid out on the page's text area in the document's own pixels (96 per inch), as print() draws it.
  constexpr double kDocumentPixelsPerPoint = 96.0 / 72.0;
  const QSizeF page = layout.paintRect(QPageLayout::Point).size() * kDocumentPixelsPerPoint;
  const std::unique_ptr<QTextDocument> document = MakeHelpDocument(QString::fromUtf8(source.readAll()), page);
  document->print(&writer);
  return QFile::exists(out) ? 0 : Fail(QStringLiteral("cannot write %1").arg(out));
}

int MakeIcon(const QString& out) {
  return TarveloIcon(TIconId::Application).pixmap(kIconPixels).save(out) ? 0 : Fail(QStringLiteral("cannot write %1").arg(out));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 4 && args[1] == QStringLiteral("help-pdf")) return MakeHelpPdf(args[2], args[3]);
  if (args.size() == 3 && args[1] == QStringLiteral("icon")) return MakeIcon(args[2]);
  return Fail(QStringLiteral("usage: tarvelo-assets help-pdf GUIDE.md OUT.pdf | icon OUT.png"));
}
