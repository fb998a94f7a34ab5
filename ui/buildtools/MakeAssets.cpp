// Build-time assets of the desktop program, made from sources in the repository:
//   tarvelo-assets help-pdf GUIDE.md OUT.pdf   the user guide as a PDF
//   tarvelo-assets icon OUT.png                the program's icon, 256 x 256
//   tarvelo-assets icon OUT.ico                the same as a Windows icon: 16 to 256 pixels
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

#include "ui/HelpDocument.h"
#include "ui/Icons.h"

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

void AppendLittleEndian(QByteArray& bytes, quint32 value, int size) {
  for (int i = 0; i < size; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A Windows icon file: the directory of images, then each image as a PNG (which Windows takes in
// icon files since Vista), every size drawn on its own rather than scaled down from the largest.
QByteArray IconFile() {
  const int sizes[] = {16, 24, 32, 48, 64, 256};
  const QIcon icon = TarveloIcon(TIconId::Application);
  QList<QByteArray> images;
  for (const int size : sizes) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    icon.pixmap(size).toImage().scaled(size, size).save(&buffer, "PNG");
    images << png;
  }
  QByteArray file;
  AppendLittleEndian(file, 0, 2);  // reserved
  AppendLittleEndian(file, 1, 2);  // an icon, not a cursor
  AppendLittleEndian(file, static_cast<quint32>(images.size()), 2);
  quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
  for (qsizetype i = 0; i < images.size(); ++i) {
    const int size = sizes[i];
    AppendLittleEndian(file, size == 256 ? 0 : size, 1);  // width and height; 0 means 256
    AppendLittleEndian(file, size == 256 ? 0 : size, 1);
    AppendLittleEndian(file, 0, 1);   // no palette
    AppendLittleEndian(file, 0, 1);   // reserved
    AppendLittleEndian(file, 1, 2);   // planes
    AppendLittleEndian(file, 32, 2);  // bits per pixel
    AppendLittleEndian(file, static_cast<quint32>(images[i].size()), 4);
    AppendLittleEndian(file, offset, 4);
    offset += static_cast<quint32>(images[i].size());
  }
  for (const QByteArray& png : images) file += png;
  return file;
}

int MakeIcon(const QString& out) {
  if (out.endsWith(QStringLiteral(".ico"))) {
    QFile file(out);
    const QByteArray bytes = IconFile();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return Fail(QStringLiteral("cannot write %1").arg(out));
    return 0;
  }
  return TarveloIcon(TIconId::Application).pixmap(kIconPixels).save(out) ? 0 : Fail(QStringLiteral("cannot write %1").arg(out));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 4 && args[1] == QStringLiteral("help-pdf")) return MakeHelpPdf(args[2], args[3]);
  if (args.size() == 3 && args[1] == QStringLiteral("icon")) return MakeIcon(args[2]);
  return Fail(QStringLiteral("usage: tarvelo-assets help-pdf GUIDE.md OUT.pdf | icon OUT.png | icon OUT.ico"));
}
