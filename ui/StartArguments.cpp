#include "ui/StartArguments.h"

#include "ui/Language.h"

TStartArguments ParseStartArguments(const QStringList& arguments) {
  TStartArguments start;
  QStringList files;
  bool options = true;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (options && argument == QLatin1String("--")) {
      options = false;
    } else if (options && (argument == QLatin1String("--lang") || argument.startsWith(QLatin1String("--lang=")))) {
      const bool separate = argument == QLatin1String("--lang");
      if (separate && i + 1 >= arguments.size()) {
        start.error = QStringLiteral("--lang needs a language: de or en");
        return start;
      }
      const QString value = separate ? arguments[++i] : argument.mid(7);
      if (!LanguageNamed(value)) {
        start.error = QStringLiteral("unknown language \"%1\": de or en").arg(value);
        return start;
      }
      start.language = value;
    } else if (options && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
      start.error = QStringLiteral("unknown option ") + argument;
      return start;
    } else {
      files << argument;
    }
  }
  // One window shows one history: a second file would have nowhere to go. (A file manager starts
  // the program once per file when it is given several.)
  if (files.size() > 1) {
    start.error = QStringLiteral("one file at a time, not %1").arg(files.size());
    return start;
  }
  if (!files.isEmpty()) {
    if (files.first().isEmpty()) {
      start.error = QStringLiteral("the file name is empty");
      return start;
    }
    start.file = files.first();
  }
  return start;
}
