#pragma once
// Texts that the layers below the windows compose in English, said again in the program's
// language by their forms. A form is the English text with %1, %2... for the parts that change (a
// path, a number, an entry's date); the whole text is matched against it, and the translation of
// the form is filled with the parts, each one kept as it is or said again (a known phrase in its
// translation). The lower layers stay free of Qt, and their English is never touched: files,
// exports and tarvelo-cli keep it.
//
// The English of a form must be marked for lupdate where it is written (QT_TRANSLATE_NOOP, with
// its context), so that the translation has it.

#include <QRegularExpression>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// One part of a form: what text it may stand for, and how the translation says it.
struct TFormPart {
  QString pattern = QStringLiteral(".+?");           // a regular expression for the part's text
  std::function<QString(const QString&)> said;       // empty: the part as it is
};

// The part as it is: any text of at least one character.
TFormPart Kept();
// The part as it is, also when empty (a quoted value that may be "").
TFormPart KeptOrEmpty();
// The part as it is, digits only (a line, an entry's number): it never swallows words.
TFormPart Digits();
// The part said again by a function (a phrase of its own, a number in the language's digits).
TFormPart SaidAs(std::function<QString(const QString&)> said, QString pattern = QStringLiteral(".+?"));

struct TTextForm {
  const char* context;
  const char* english;            // the translation's source, UTF-8, with %1, %2... for the parts
  std::vector<TFormPart> parts;   // for %1, %2... in that order; a part not given is kept as it is
};

// A table of forms. The first form the whole text matches wins, so a longer form goes before a
// shorter one that would also match. A number that stands twice in the English (the same value
// named twice) must stand for the same text both times.
class TTextForms {
 public:
  explicit TTextForms(std::vector<TTextForm> forms);

  // The text in the installed translation by the first form it matches, or nullopt when it
  // matches none. Without a translation installed the result is the English text again.
  std::optional<QString> Translate(const QString& text) const;

  // The English of every form, in table order.
  std::vector<const char*> Sources() const;

 private:
  struct TCompiled {
    TTextForm form;
    QRegularExpression pattern;
    std::vector<int> groupOfNumber;  // the capture group of %n at n - 1
  };
  std::vector<TCompiled> forms_;
};

// translated with each %n (n from 1) replaced by parts[n - 1], in one pass: a part that itself
// holds "%2" (a path) stays as it is.
QString FillParts(const QString& translated, const QStringList& parts);

// One of known phrases in its translation (same context), or the text as it is when it is none of them.
QString PhraseText(const char* context, const std::vector<const char*>& phrases, const QString& text);
