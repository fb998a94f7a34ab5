// The service book as a PDF, read back with pdftotext: what it says, how its pages are made up
// (no entry split unless it is longer than a page, then its header repeats; no workshop ID or km
// broken), and that a book that cannot be made or is cancelled leaves no file.
#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "book/ServiceBook.h"
#include "history/CodePage.h"
#include "history/HistoryFile.h"
#include "history/RecordTexts.h"
#include "history/TarveloError.h"
#include "tests/TestEntries.h"
#include "tests/support/PdfText.h"

namespace {

// An entry of n procedures with the given workshop ID and km; the procedures cycle through the
// table so that each line is told apart.
TBuffer Entry(std::size_t procedures, const std::string& workshopID, uint32_t km) {
  TServiceFields f = ExampleFields();
  f.km = km;
  f.workshopID = workshopID;
  f.procedures.clear();
  for (std::size_t i = 0; i < procedures; ++i) f.procedures.push_back({static_cast<uint8_t>(i % 2 == 0 ? 1 : 100), 1});
  return BuildServiceRecord(f);
}

// What a book's pages hold, read back from pdftotext -layout: for each entry (by its number as
// the list shows it), the pages its header stands on, whether the header after the first says
// "continued", and the procedure numbers in the order they were seen.
struct TEntryOnPages {
  std::vector<int> pages;
  int continuedHeaders = 0;
  std::vector<int> procedures;
  QString headerLine;
};

struct TBookPages {
  int pages = 0;
  std::vector<QString> footers;
  std::map<int, TEntryOnPages> entries;
};

TBookPages ReadPages(const QString& text) {
  TBookPages book;
  const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
  static const QRegularExpression header(QStringLiteral("^\\s*No\\. (\\d+)\\s"));
  static const QRegularExpression procedure(QStringLiteral("^\\s*(\\d+)\\.\\s+\\S"));
  static const QRegularExpression footer(QStringLiteral("Page (\\d+) of (\\d+)\\s*$"));
  for (const QString& page : pages) {
    if (page.trimmed().isEmpty()) continue;
    ++book.pages;
    int current = -1;
    for (const QString& line : page.split(QLatin1Char('\n'))) {
      if (const auto m = header.match(line); m.hasMatch()) {
        current = m.captured(1).toInt();
        TEntryOnPages& entry = book.entries[current];
        entry.pages.push_back(book.pages);
        if (entry.headerLine.isEmpty()) entry.headerLine = line;
      } else if (line.contains(QStringLiteral("continued from page")) && current >= 0) {
        ++book.entries[current].continuedHeaders;
      } else if (const auto p = procedure.match(line); p.hasMatch() && current >= 0) {
        book.entries[current].procedures.push_back(p.captured(1).toInt());
      } else if (const auto f = footer.match(line); f.hasMatch()) {
        book.footers.push_back(f.captured(0).trimmed());
      }
    }
  }
  return book;
}

std::vector<int> OneTo(std::size_t n) {
  std::vector<int> all;
  for (std::size_t i = 1; i <= n; ++i) all.push_back(static_cast<int>(i));
  return all;
}

}  // namespace

class TestServiceBook : public QObject {
  Q_OBJECT

  // Made for the test functions only (listing them, as ctest does, makes nothing).
  std::unique_ptr<QTemporaryDir> dir_;

  QString Write(const THistoryList& entries, const QString& vin, const QString& name) {
    const QString path = dir_->filePath(name);
    if (WriteServiceBookPdf(path, entries, vin) != TBookOutcome::Written) return {};
    return path;
  }

 private slots:
  void init() { dir_ = std::make_unique<QTemporaryDir>(); }
  void cleanup() { dir_.reset(); }

  void theTitleHasTheVinOrALineForIt() {
    const THistoryList one = {ExampleEntryBytes()};
    for (const QString& vin : {QStringLiteral("WBA8E9C57GK123456"), QString()}) {
      QBuffer pdf;
      pdf.open(QIODevice::WriteOnly);
      QVERIFY(WriteServiceBook(pdf, {one, vin, QDate(2026, 12, 10)}));
      const QString path = dir_->filePath(QStringLiteral("title.pdf"));
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pdf.data()) == pdf.size());
      file.close();
      const TPdfText read = ReadPdfText(path);
      if (!read.whyNot.isEmpty()) QSKIP(qPrintable(read.whyNot));
      const QString& words = read.words;
      QVERIFY(words.contains(QStringLiteral("Service book")));
      QVERIFY2(words.contains(QStringLiteral("1 service. Printed on 10.12.2026 with Tarvelo")),
               qPrintable(words));
      QVERIFY(words.contains(QStringLiteral("1,000 km")));
      QVERIFY(words.contains(QStringLiteral("Engine oil")) && words.contains(QStringLiteral("OVERDUE")));
      if (vin.isEmpty()) {
        QVERIFY(words.contains(QStringLiteral("______________________________")));
      } else {
        QVERIFY(words.contains(vin));
        QVERIFY(!words.contains(QStringLiteral("____")));
      }
    }
  }

  // The pages of books of 1, 9 and 1,000 entries and of one longer than a page: every entry with
  // all its procedures on the page of its header, or, for the long one, its header on every page.
  void thePagesKeepEachEntryTogether_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("longEntry");  // 0: none; else the procedures of the one in the middle
    QTest::newRow("1") << 1 << 0;
    QTest::newRow("9") << 9 << 0;
    QTest::newRow("1000") << 1000 << 0;
    QTest::newRow("a page-long entry") << 5 << 255;
  }
  void thePagesKeepEachEntryTogether() {
    QFETCH(int, entries);
    QFETCH(int, longEntry);
    THistoryList list;
    for (int i = 0; i < entries; ++i) {
      const std::size_t procedures = longEntry && i == entries / 2 ? static_cast<std::size_t>(longEntry) : 1 + (i * 7) % 12;
      list.push_back(Entry(procedures, i % 3 == 0 ? "KFZ-BAU" : "M4021", 1234567 + static_cast<uint32_t>(i)));
    }
    const QString path = Write(list, QString(), QStringLiteral("pages.pdf"));
    QVERIFY(!path.isEmpty());
    const TPdfText read = ReadPdfText(path, true);
    if (!read.whyNot.isEmpty()) QSKIP(qPrintable(read.whyNot));
    const TBookPages book = ReadPages(read.words);

    QCOMPARE(book.footers.size(), std::size_t(book.pages));
    for (int p = 1; p <= book.pages; ++p) {
      QCOMPARE(book.footers[p - 1], QStringLiteral("Page %1 of %2").arg(p).arg(book.pages));
    }
    QCOMPARE(book.entries.size(), std::size_t(entries));
    for (int row = 0; row < entries; ++row) {
      const int number = entries - row;  // as the list numbers them, the top one highest
      const TEntryOnPages& seen = book.entries.at(number);
      const std::size_t procedures = ProcCount(list[row]);
      QCOMPARE(seen.procedures, OneTo(procedures));
      // The workshop ID and the km stand whole on the header's line.
      QVERIFY2(seen.headerLine.contains(QString::fromStdString(WorkshopIDText(list[row]))), qPrintable(seen.headerLine));
      QVERIFY2(seen.headerLine.contains(QLocale(QLocale::English).toString(KMStand(list[row])) + QStringLiteral(" km")),
               qPrintable(seen.headerLine));
      if (longEntry && row == entries / 2) {
        QVERIFY2(seen.pages.size() >= 5, qPrintable(QString::number(seen.pages.size())));
        QCOMPARE(seen.continuedHeaders, int(seen.pages.size()) - 1);
        for (std::size_t k = 1; k < seen.pages.size(); ++k) QCOMPARE(seen.pages[k], seen.pages[k - 1] + 1);
      } else {
        QCOMPARE(seen.pages.size(), std::size_t{1});
        QCOMPARE(seen.continuedHeaders, 0);
      }
    }
    // The list's order: the top entry first.
    QVERIFY(book.entries.at(entries).pages.front() <= book.entries.at(1).pages.front());
  }

  // A cancelled book leaves no file, and a file that was there stays as it was.
  void aCancelledBookLeavesNoFile() {
    THistoryList list(300, Entry(3, "M4021", 1000));
    const QString path = dir_->filePath(QStringLiteral("cancelled.pdf"));
    int calls = 0;
    QCOMPARE(WriteServiceBookPdf(path, list, QString(), [&](std::size_t done, std::size_t total) {
               [&] { QVERIFY(done > 0 && done < total); }();
               return ++calls < 2;
             }),
             TBookOutcome::Cancelled);
    QCOMPARE(calls, 2);
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(dir_->path()).entryList(QDir::Files).filter(QStringLiteral("cancelled")).isEmpty());

    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    QCOMPARE(WriteServiceBookPdf(path, list, QString(), [](std::size_t, std::size_t) { return false; }), TBookOutcome::Cancelled);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
  }

  void aBookThatCannotBeWrittenSaysWhy() {
    const QString path = dir_->filePath(QStringLiteral("no-such-folder/book.pdf"));
    try {
      WriteServiceBookPdf(path, {ExampleEntryBytes()}, QString());
      QFAIL("no error");
    } catch (const ETarveloError& e) {
      QVERIFY2(QString::fromStdString(e.what()).startsWith(QStringLiteral("Cannot create file \"") + path + QStringLiteral("\". ")),
               e.what());
    }
  }
};

int main(int argc, char** argv) {
  // Fonts and painting without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  TestServiceBook test;
  return QTest::qExec(&test, argc, argv);
}

#include "book_test.moc"
