#pragma once
// The user guide, from its Markdown source to pages: the document the build prints as
// tarvelo_help.pdf.
//
// Typeset for reading on paper: a code span ("tarvelo-cli write") and a log marker ("[ ERROR ]")
// never break inside, a paragraph is never split over two pages (no line of it alone at the top or
// the bottom of a page), and a heading stays on the page of the text it heads.

#include <QSizeF>
#include <QString>
#include <memory>

class QTextDocument;

// The Markdown with the spaces inside code spans and inside "[ ... ]" markers made non-breaking.
QString KeepPhrasesTogether(const QString& markdown);

// The guide laid out on pages of pageSize (in the document's own pixels, 96 per inch).
std::unique_ptr<QTextDocument> MakeHelpDocument(const QString& markdown, const QSizeF& pageSize);

// The page (from 0) a block of the document starts on.
int PageOfBlock(const QTextDocument& document, int blockNumber);

// Whether a paragraph is split over two pages so that one of its lines stands alone on one of them.
bool LeavesALineAlone(const QTextDocument& document, const class QTextBlock& block);
