#include "ui/DesktopOpener.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

bool OpenWithDesktop(const QUrl& url) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  // The shell answers at once whether it found a program.
  return QDesktopServices::openUrl(url);
#else
  // A Linux desktop hands the document to xdg-open, which starts in the background and fails later,
  // unseen, when no program can show it. Asking first which program would show it lets the user
  // know at once.
  const QString type = url.isLocalFile() ? QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name()
                                         : QStringLiteral("x-scheme-handler/") + url.scheme();
  QProcess query;
  query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
  constexpr int kAnswerWithinMs = 3000;
  if (!query.waitForFinished(kAnswerWithinMs) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) {
    return false;
  }
  if (query.readAllStandardOutput().trimmed().isEmpty()) return false;
  return QDesktopServices::openUrl(url);
#endif
}
