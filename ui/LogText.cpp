#include "ui/LogText.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <optional>
#include <vector>

#include "ui/Language.h"
#include "ui/TextForms.h"

namespace {

QString Tr(const char* source) { return QCoreApplication::translate("EnetLog", source); }

// A word whose German depends on where it stands: its source and the comment that tells them apart.
struct TWordInPlace {
  const char* source;
  const char* comment;
};
QString Tr(TWordInPlace word) { return QCoreApplication::translate("EnetLog", word.source, word.comment); }

// What a line speaks of: "entry 3 of 9", "the erase request", "the reset request". German puts
// it in another case after "vor" (before) than after "auf" (to) or as an object, so each place has
// its own translation.
enum class TPlace { Before, Object };

QString WhatText(const QString& what, TPlace place) {
  static const QRegularExpression kEntry(QStringLiteral("^entry (\\d+) of (\\d+)$"));
  if (const QRegularExpressionMatch entry = kEntry.match(what); entry.hasMatch()) {
    return Tr(QT_TRANSLATE_NOOP("EnetLog", "entry %1 of %2")).arg(entry.captured(1), entry.captured(2));
  }
  const bool before = place == TPlace::Before;
  if (what == QLatin1String("the erase request")) {
    return before ? Tr(QT_TRANSLATE_NOOP3("EnetLog", "the erase request", "after: before"))
                  : Tr(QT_TRANSLATE_NOOP3("EnetLog", "the erase request", "object"));
  }
  if (what == QLatin1String("the reset request")) {
    return before ? Tr(QT_TRANSLATE_NOOP3("EnetLog", "the reset request", "after: before"))
                  : Tr(QT_TRANSLATE_NOOP3("EnetLog", "the reset request", "object"));
  }
  return what;
}

// Why a request got no answer, as the session says it.
QString ReasonText(const QString& reason) {
  static const std::vector<const char*> kReasons = {
      QT_TRANSLATE_NOOP("EnetLog", "no connection to the car"),
      QT_TRANSLATE_NOOP("EnetLog", "the car did not answer in time"),
      QT_TRANSLATE_NOOP("EnetLog", "the car closed the connection"),
      QT_TRANSLATE_NOOP("EnetLog", "the answer was longer than 4,096 bytes"),
      QT_TRANSLATE_NOOP("EnetLog", "the request was too long to send"),
      QT_TRANSLATE_NOOP("EnetLog", "stopped by the user"),
      QT_TRANSLATE_NOOP("EnetLog", "no answer"),
  };
  return PhraseText("EnetLog", kReasons, reason);
}

// "entries 1 to 2 of 5", "entry 3", "entries 1, 3 and 5 of 5", "no entry of the list".
QString EntriesText(QString entries) {
  if (entries == QLatin1String("no entry of the list")) return Tr(QT_TRANSLATE_NOOP("EnetLog", "no entry of the list"));
  static const QRegularExpression kWords(QStringLiteral("\\b(entries|entry|to|and|of)\\b"));
  QString text;
  qsizetype from = 0;
  for (const QRegularExpressionMatch& word : kWords.globalMatch(entries)) {
    text += entries.mid(from, word.capturedStart() - from);
    const QString w = word.captured(1);
    if (w == QLatin1String("entries")) text += Tr(QT_TRANSLATE_NOOP("EnetLog", "entries"));
    if (w == QLatin1String("entry")) text += Tr(QT_TRANSLATE_NOOP("EnetLog", "entry"));
    if (w == QLatin1String("to")) text += Tr(QT_TRANSLATE_NOOP3("EnetLog", "to", "entries 1 to 2"));
    if (w == QLatin1String("and")) text += Tr(QT_TRANSLATE_NOOP3("EnetLog", "and", "entries 1, 3 and 5"));
    if (w == QLatin1String("of")) text += Tr(QT_TRANSLATE_NOOP3("EnetLog", "of", "entries 1 to 2 of 5"));
    from = word.capturedEnd();
  }
  return text + entries.mid(from);
}

// The last line of a write that did not complete: what the head unit now holds.
QString HeldText(const QRegularExpressionMatch& held) {
  QString text = held.captured(1).isEmpty() ? Tr(QT_TRANSLATE_NOOP("EnetLog", "ERR: The head unit holds %1")).arg(EntriesText(held.captured(2)))
                                            : Tr(QT_TRANSLATE_NOOP("EnetLog", "ERR: The head unit holds its old history and %1")).arg(EntriesText(held.captured(2)));
  if (!held.captured(3).isEmpty()) text += Tr(QT_TRANSLATE_NOOP("EnetLog", "; it refused %1")).arg(EntriesText(held.captured(3)));
  if (!held.captured(4).isEmpty()) {
    text += held.captured(5) == QLatin1String("it")
                ? Tr(QT_TRANSLATE_NOOP("EnetLog", "; %1 got no answer or an unexpected one, so it may be there too")).arg(EntriesText(held.captured(4)))
                : Tr(QT_TRANSLATE_NOOP("EnetLog", "; %1 got no answer or an unexpected one, so they may be there too")).arg(EntriesText(held.captured(4)));
  }
  if (!held.captured(6).isEmpty()) {
    text += held.captured(7) == QLatin1String("was") ? Tr(QT_TRANSLATE_NOOP("EnetLog", "; %1 was not written")).arg(EntriesText(held.captured(6)))
                                                     : Tr(QT_TRANSLATE_NOOP("EnetLog", "; %1 were not written")).arg(EntriesText(held.captured(6)));
  }
  return text + QLatin1Char('.');
}

// The lines the writer and the search write, with the parts that change.
const TTextForms& LineForms() {
  static const TTextForms forms = [] {
    const TFormPart whatBefore = SaidAs([](const QString& what) { return WhatText(what, TPlace::Before); });
    const TFormPart whatObject = SaidAs([](const QString& what) { return WhatText(what, TPlace::Object); });
    const TFormPart reason = SaidAs(ReasonText);
    return TTextForms({
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "[ BEGIN ]"), {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "[ COMPLETE ]"), {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "[ ERROR ]"), {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "- Connected to %1"), {Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "- Erasing current service history..."), {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "- Writing new service history..."), {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "- Finished writing, restarting Headunit..."), {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "- The connection was lost at %1; connected again, writing the whole history again..."),
         {whatObject}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: Service history list is empty!"), {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: Stopped by the user while connecting to %1 again."), {Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: Stopped by the user while connecting to %1."), {Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: Could not connect to target again: %1"), {Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: Could not connect to target: %1"), {Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: Stopped by the user before %1."), {whatBefore}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: The car closed the connection before %1."), {whatBefore}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: No answer to %1 (%2)"), {whatObject, reason}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: Head unit refused %1: %2"), {whatObject, Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: Unexpected answer to %1: %2"), {whatObject, Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: The old service history was not erased, so nothing was written."), {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: The erase got no answer: the head unit holds its old history, or nothing if "
                                      "it erased it; nothing of the list was written."),
         {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: The connection was lost %1 times, so the write stopped."), {Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "ERR: The connection was lost at %1, so the write stopped (without the erase, a new "
                                      "connection could only add a gap or a duplicate)."),
         {whatObject}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "Found %1"), {Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "No gateway has answered yet. Check the ENET cable, that the ignition is on, and "
                                      "that this computer has an address on the car's network (it may take half a minute "
                                      "after plugging in). Still looking..."),
         {}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "Entry %1 of %2: the head unit asks for more time (%3 s)"),
         {Kept(), Kept(), Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "Erasing the old history: the head unit asks for more time (%1 s)"), {Kept()}},
        {"EnetLog", QT_TRANSLATE_NOOP("EnetLog", "Restarting the head unit: the head unit asks for more time (%1 s)"), {Kept()}},
    });
  }();
  return forms;
}

QString Translated(const std::string& english) {
  const QString line = QString::fromStdString(english);
  static const QRegularExpression kHeld(QStringLiteral(
      "^ERR: The head unit holds (its old history and )?(.+?)(?:; it refused (.+?))?"
      "(?:; (.+?) got no answer or an unexpected one, so (it|they) may be there too)?(?:; (.+?) (was|were) not written)?\\.$"));
  if (const QRegularExpressionMatch held = kHeld.match(line); held.hasMatch()) return HeldText(held);
  if (std::optional<QString> text = LineForms().Translate(line)) return *text;
  return line;
}

}  // namespace

QString LogLineText(const std::string& line) {
  // In English the line is the writer's own, byte for byte.
  if (CurrentLanguage() == TLanguage::English) return QString::fromStdString(line);
  return Translated(line);
}

QString WaitingText(const std::string& text) { return LogLineText(text); }
