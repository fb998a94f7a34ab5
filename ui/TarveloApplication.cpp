#include "ui/TarveloApplication.h"

#include <QMessageBox>

#include "history/TarveloError.h"
#include "ui/UserText.h"
#include "ui/VisualStyle.h"

TTarveloApplication::TTarveloApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tarvelo"));
  ApplyVisualStyle(*this);
}

bool TTarveloApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowErrorReport(UserText(e.what()));
  } catch (...) {
    ShowErrorReport(QCoreApplication::translate("TFMain", "Unknown error"));
  }
  return false;
}

void ShowErrorReport(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                  QString::fromStdString(ErrorReportText(text.toStdString())), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setObjectName(QStringLiteral("ErrorReport"));
  box.exec();
}

void ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setObjectName(QStringLiteral("Message"));
  box.exec();
}

bool AskYesNo(const QString& question) {
  QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), question,
                  QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
  box.setObjectName(QStringLiteral("Question"));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}
