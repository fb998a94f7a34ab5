#pragma once
// The application object, set up as the program is wherever it is made (the program, the window
// tests, the benchmarks): named "Tarvelo" (the caption of its message boxes) and in the visual
// style "Windows10". Its notify() is the program's one error handler: an error that escapes an
// event handler (a file that cannot be read or created, a text that is not a valid integer or
// date, a failing UDP port) ends that event and is shown as a message box; the program goes on.

#include <QApplication>

class TTarveloApplication : public QApplication {
  Q_OBJECT
 public:
  TTarveloApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// The default error report: a modal message box with the error icon and one "OK", captioned with
// the application title, showing the text with a full stop appended when its last character sorts
// above ".".
void ShowErrorReport(const QString& text);

// A message for the user: a modal message box without icon and with one "OK", captioned with the
// application title.
void ShowMessage(const QString& text);

// A question for the user: a modal message box with the question icon, "Yes" and "No" (the
// default), captioned with the application title. True when the answer is "Yes".
bool AskYesNo(const QString& question);
