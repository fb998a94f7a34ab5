#include "book/CodeTexts.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <string>

namespace {

QString Translated(const char* context, std::string_view english) {
  const std::string key(english);
  return QCoreApplication::translate(context, key.c_str());
}

}  // namespace

QString CodeText(std::string_view english) {
  // "2 LATE" in the editor's procedures list, "UNKNOWN(7)" for a code outside its table: the
  // number stays, the words are translated.
  static const QRegularExpression kShape(QStringLiteral("^(\\d+ )?(.*?)(\\(\\d+\\))?$"));
  const QString text = QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
  const QRegularExpressionMatch parts = kShape.match(text);
  if (!parts.hasMatch() || parts.captured(2).isEmpty()) return text;
  return parts.captured(1) + Translated("CodeTables", parts.captured(2).toStdString()) + parts.captured(3);
}

QString ColumnCaption(std::string_view english) { return Translated("Columns", english); }

QLocale NumberLocale() {
  // The translation names its own locale; without one it is English.
  return QLocale(QCoreApplication::translate("CodeTables", "en", "the locale of numbers: en, de"));
}
