#pragma once
// The text of a PDF file as Debian's pdftotext reads it, for tests that read a service book back.
#include <QProcess>
#include <QString>
#include <QStringList>

// The words of a PDF file, or, in whyNot, why they cannot be read here (for QSKIP). With layout,
// each line as it stands on the page (pdftotext -layout), and "\f" between the pages.
struct TPdfText {
  QString words;
  QString whyNot;
};

inline TPdfText ReadPdfText(const QString& path, bool layout = false) {
#ifdef _WIN32
  Q_UNUSED(path);
  Q_UNUSED(layout);
  return {{}, QStringLiteral("the book is read back with Linux's pdftotext, which a Windows program cannot start")};
#else
  QProcess text;
  QStringList arguments;
  if (layout) arguments << QStringLiteral("-layout");
  arguments << path << QStringLiteral("-");
  text.start(QStringLiteral("pdftotext"), arguments);
  if (!text.waitForFinished(120000) || text.exitStatus() != QProcess::NormalExit || text.exitCode() != 0) {
    return {{}, QStringLiteral("pdftotext (Debian's poppler-utils) is needed to read the book back")};
  }
  return {QString::fromUtf8(text.readAllStandardOutput()), {}};
#endif
}
