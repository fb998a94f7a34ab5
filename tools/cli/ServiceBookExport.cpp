#include "tools/cli/ServiceBookExport.h"

#include "history/TarveloError.h"

#ifdef TARVELO_CLI_BOOK
#include <QGuiApplication>
#include <cstdio>
#include <optional>

#include "book/ServiceBook.h"

bool ServiceBookExportAvailable() { return true; }

namespace {

// Qt's own notes about the desktop it runs on (no XDG_RUNTIME_DIR as root, say) are no business of
// the command's output; what is critical still reaches stderr.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "tarvelo-cli: %s\n", qPrintable(message));
}

}  // namespace

void ExportServiceBookOrExit(const THistoryList& list, const std::string& path, const std::string& vin, TCliStreams& io) {
  // Fonts need an application object; no window is ever shown, so no display is needed either.
#ifndef _WIN32
  qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  static int argc = 1;
  static char name[] = "tarvelo-cli";
  static char* argv[] = {name, nullptr};
  qInstallMessageHandler(QuietQtMessages);
  // For this command only: taken down when it returns, fonts and all.
  std::optional<QGuiApplication> app;
  if (!QCoreApplication::instance()) app.emplace(argc, argv);
  const std::size_t total = list.size();
  std::size_t shown = 0;
  try {
    WriteServiceBookPdf(QString::fromLocal8Bit(path.c_str()), list, QString::fromStdString(vin),
                        [&io, &shown, total](std::size_t done, std::size_t) {
                          // On a terminal, how far a long book is, every thousand entries.
                          if (io.showProgress && done / 1000 != shown / 1000) io.err << "\rService book: " << done << " of " << total << " entries" << std::flush;
                          shown = done;
                          return true;
                        });
    if (io.showProgress && total >= 1000) io.err << "\n";
  } catch (const ETarveloError& e) {
    io.err << ErrorReportText(e.what()) << "\n";
    ExitWith(kExitUsage);
  }
}

#else

bool ServiceBookExportAvailable() { return false; }

void ExportServiceBookOrExit(const THistoryList&, const std::string&, const std::string&, TCliStreams& io) {
  io.err << "tarvelo-cli: this build has no PDF service book (it was built without Qt); the desktop program's "
            "\"Save As\" makes it\n";
  ExitWith(kExitUsage);
}

#endif
