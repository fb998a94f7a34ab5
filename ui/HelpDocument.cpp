#include "ui/HelpDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextDocument>
#include <cmath>

namespace {

constexpr QChar kNoBreakSpace(0x00A0);
constexpr int kMostLayoutPasses = 20;

QString WithoutBreaks(QString phrase) { return phrase.replace(QLatin1Char(' '), kNoBreakSpace); }

void SetPageBreakBefore(const QTextBlock& block, bool breakBefore) {
  QTextCursor cursor(block);
  QTextBlockFormat format = block.blockFormat();
  format.setPageBreakPolicy(breakBefore ? QTextFormat::PageBreak_AlwaysBefore : QTextFormat::PageBreak_Auto);
  cursor.setBlockFormat(format);
}

}  // namespace

QString KeepPhrasesTogether(const QString& markdown) {
  QString out;
  const QStringList lines = markdown.split(QLatin1Char('\n'));
  static const QRegularExpression kPhrase(QStringLiteral("`[^`\\n]+`|\\[ [A-Z]+ \\]"));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QString line = lines[i];
    // An indented block is shown as it stands.
    if (!line.startsWith(QStringLiteral("    "))) {
      QString kept;
      qsizetype from = 0;
      for (auto match = kPhrase.globalMatch(line); match.hasNext();) {
        const QRegularExpressionMatch phrase = match.next();
        kept += line.mid(from, phrase.capturedStart() - from) + WithoutBreaks(phrase.captured());
        from = phrase.capturedEnd();
      }
      line = kept + line.mid(from);
    }
    out += line;
    if (i + 1 < lines.size()) out += QLatin1Char('\n');
  }
  return out;
}

bool LeavesALineAlone(const QTextDocument& document, const QTextBlock& block) {
  const QTextLayout* layout = block.layout();
  if (!layout || layout->lineCount() < 2) return false;
  const qreal top = document.documentLayout()->blockBoundingRect(block).top();
  const qreal pageHeight = document.pageSize().height();
  const auto pageOfLine = [&](int i) { return static_cast<int>(std::floor((top + layout->lineAt(i).y()) / pageHeight)); };
  const int first = pageOfLine(0);
  const int last = pageOfLine(layout->lineCount() - 1);
  if (first == last) return false;
  int onFirstPage = 0;
  while (onFirstPage < layout->lineCount() && pageOfLine(onFirstPage) == first) ++onFirstPage;
  return onFirstPage == 1 || layout->lineCount() - onFirstPage == 1;
}

int PageOfBlock(const QTextDocument& document, int blockNumber) {
  // Where its first line stands: the layout moves lines that would cross a page's end down to the
  // next page, inside the block.
  const QTextBlock block = document.findBlockByNumber(blockNumber);
  qreal top = document.documentLayout()->blockBoundingRect(block).top();
  if (block.layout() && block.layout()->lineCount() > 0) top += block.layout()->lineAt(0).y();
  return static_cast<int>(std::floor(top / document.pageSize().height()));
}

std::unique_ptr<QTextDocument> MakeHelpDocument(const QString& markdown, const QSizeF& pageSize) {
  auto document = std::make_unique<QTextDocument>();
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10.5);
  document->setDefaultFont(font);
  document->setDefaultStyleSheet(QStringLiteral("h1 { color: #1c3f6e; } h2 { color: #1c3f6e; } code { font-family: monospace; }"));
  document->setMarkdown(KeepPhrasesTogether(markdown));
  document->setPageSize(pageSize);

  // A paragraph that would leave one line alone at the bottom or the top of a page starts on the
  // next page; a heading left at the bottom of a page goes over to the page of its text. Each move
  // can move what follows, so this runs until nothing moves.
  for (int pass = 0; pass < kMostLayoutPasses; ++pass) {
    document->pageCount();  // lays the whole document out: the layout works lazily otherwise
    QTextBlock moving;
    for (QTextBlock block = document->begin(); block.isValid() && !moving.isValid(); block = block.next()) {
      if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) continue;
      const bool headingApart = block.blockFormat().headingLevel() > 0 && block.next().isValid() &&
                                PageOfBlock(*document, block.next().blockNumber()) != PageOfBlock(*document, block.blockNumber());
      if (headingApart || LeavesALineAlone(*document, block)) moving = block;
    }
    if (!moving.isValid()) break;
    // A block that goes over to the next page takes its heading along; a heading that goes over
    // takes the page break of the block after it, which then follows it on the same page. (Else,
    // with other fonts, the block moved for a line left alone moves once more after its heading.)
    const QTextBlock above = moving.previous();
    if (above.isValid() && above.blockFormat().headingLevel() > 0 &&
        !(above.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)) {
      moving = above;
    }
    SetPageBreakBefore(moving, true);
    if (moving.blockFormat().headingLevel() > 0 && moving.next().isValid()) SetPageBreakBefore(moving.next(), false);
  }
  document->pageCount();
  return document;
}
