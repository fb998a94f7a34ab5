#include "ui/TextForms.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace {

// "%1" to "%9": a form has at most nine parts.
const QRegularExpression kPlaceholder(QStringLiteral("%([1-9])"));

}  // namespace

TFormPart Kept() { return {}; }

TFormPart KeptOrEmpty() { return {QStringLiteral(".*?"), {}}; }

TFormPart Digits() { return {QStringLiteral("\\d+"), {}}; }

TFormPart SaidAs(std::function<QString(const QString&)> said, QString pattern) { return {std::move(pattern), std::move(said)}; }

TTextForms::TTextForms(std::vector<TTextForm> forms) {
  for (TTextForm& form : forms) {
    const QString english = QString::fromUtf8(form.english);
    // The English itself, each literal piece as it is and each part as its pattern; a number met
    // again must be the same text as the first time.
    QString pattern = QStringLiteral("^");
    std::vector<int> groupOfNumber;
    int groups = 0;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& placeholder : kPlaceholder.globalMatch(english)) {
      pattern += QRegularExpression::escape(english.mid(from, placeholder.capturedStart() - from));
      const auto number = static_cast<std::size_t>(placeholder.captured(1).toInt());
      if (groupOfNumber.size() < number) groupOfNumber.resize(number, 0);
      int& group = groupOfNumber[number - 1];
      if (group == 0) {
        group = ++groups;
        const TFormPart part = number <= form.parts.size() ? form.parts[number - 1] : Kept();
        pattern += QLatin1Char('(') + part.pattern + QLatin1Char(')');
      } else {
        pattern += QStringLiteral("\\g{%1}").arg(group);
      }
      from = placeholder.capturedEnd();
    }
    pattern += QRegularExpression::escape(english.mid(from)) + QLatin1Char('$');
    QRegularExpression compiled(pattern);
    if (!compiled.isValid()) qFatal("the text form \"%s\" makes no valid pattern", form.english);
    forms_.push_back({std::move(form), std::move(compiled), std::move(groupOfNumber)});
  }
}

std::optional<QString> TTextForms::Translate(const QString& text) const {
  for (const TCompiled& compiled : forms_) {
    const QRegularExpressionMatch match = compiled.pattern.match(text);
    if (!match.hasMatch()) continue;
    QStringList parts;
    for (std::size_t n = 0; n < compiled.groupOfNumber.size(); ++n) {
      const QString part = match.captured(compiled.groupOfNumber[n]);
      const bool said = n < compiled.form.parts.size() && compiled.form.parts[n].said;
      parts << (said ? compiled.form.parts[n].said(part) : part);
    }
    return FillParts(QCoreApplication::translate(compiled.form.context, compiled.form.english), parts);
  }
  return std::nullopt;
}

std::vector<const char*> TTextForms::Sources() const {
  std::vector<const char*> sources;
  for (const TCompiled& compiled : forms_) sources.push_back(compiled.form.english);
  return sources;
}

QString FillParts(const QString& translated, const QStringList& parts) {
  QString text;
  qsizetype from = 0;
  for (const QRegularExpressionMatch& placeholder : kPlaceholder.globalMatch(translated)) {
    const qsizetype number = placeholder.captured(1).toInt();
    if (number > parts.size()) continue;  // not a part of this form: left as written
    text += translated.mid(from, placeholder.capturedStart() - from) + parts[number - 1];
    from = placeholder.capturedEnd();
  }
  return text + translated.mid(from);
}

QString PhraseText(const char* context, const std::vector<const char*>& phrases, const QString& text) {
  const auto known = std::find_if(phrases.begin(), phrases.end(),
                                  [&text](const char* phrase) { return text == QString::fromUtf8(phrase); });
  return known == phrases.end() ? text : QCoreApplication::translate(context, *known);
}
