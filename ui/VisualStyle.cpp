#include "ui/VisualStyle.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QStyleFactory>

void ApplyVisualStyle(QApplication& app) {
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // Every window speaks Tahoma at 11 pixels; set once for all, since the style sheet does not
  // pass a window's own font on to its children.
  app.setFont(WindowFont(kWindowFontPixels));
  QFile sheet(QStringLiteral(":/styles/%1.qss").arg(QString::fromLatin1(kVisualStyleName)));
  if (sheet.open(QIODevice::ReadOnly)) app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
}

QFont WindowFont(int pixelHeight, bool bold) {
  QFont font;
  if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
    font.setFamily(QStringLiteral("Tahoma"));
  } else {
    // Tahoma is narrow; the common sans-serifs of Linux are wider, so take their condensed face
    // to keep the texts within the windows' fixed column widths.
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")});
    font.setStretch(QFont::SemiCondensed);
  }
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}
