// The info window as a real widget; the desktop's opener is replaced so that the test sees what
// would be opened.
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>

#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "ui/AnimatedLogo.h"
#include "ui/HelpDocument.h"
#include "ui/uInfo.h"
#include "ui/uMain.h"

class TestInfo : public TProgramWindowsTest {
  Q_OBJECT

  QGroupBox* Group(const char* name) { return Find<QGroupBox>(Info(), name); }
  QLabel* Label(const char* name) { return Find<QLabel>(Info(), name); }
  QPushButton* Help() { return Find<QPushButton>(Info(), "btnHELP"); }
  TAnimatedLogo* Logo() { return Find<TAnimatedLogo>(Info(), "imgLOGO1"); }

 private slots:

  void looksAsDescribed() {
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    QVERIFY(Info().isVisible());
    QCOMPARE(Info().windowTitle(), QStringLiteral(" [i]  Info/About"));
    QVERIFY(Info().windowFlags() & Qt::Tool);
    QVERIFY(Info().windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(Info().size(), QSize(527, 194));
    QCOMPARE(Info().minimumSize(), Info().maximumSize());
    QCOMPARE(Group("grpMAIN1")->geometry(), QRect(0, 0, 200, 194));
    QVERIFY(Group("grpMAIN1")->isFlat());
    QCOMPARE(Group("grpMAIN1")->title(), QString());
    QCOMPARE(Logo()->geometry(), QRect(0, 1, 200, 194));
    QCOMPARE(Group("grp2")->width(), 327);
    QCOMPARE(Label("txtCAP1")->text(), QStringLiteral("BMW HU Tarvelo"));
    QVERIFY(Label("txtCAP1")->font().bold());
    QCOMPARE(Label("txtCAP1")->font().pixelSize(), 16);
    QCOMPARE(Label("txtCAP1")->geometry(), QRect(22, 16, 277, 23));
    QCOMPARE(Label("txtVer1")->text(), QStringLiteral("Version: 1.00.100"));
    QCOMPARE(Label("txtWWW")->text(), Label("txtWWW")->text().toUpper());
    QVERIFY(Label("txtWWW")->font().bold());
    QVERIFY(Label("txtWWW")->font().underline());
    QCOMPARE(Label("txtWWW")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(Label("txtWWW")->geometry(), QRect(22, 143, 146, 17));
    QCOMPARE(Help()->text(), QStringLiteral("HELP"));
    QCOMPARE(Help()->geometry(), QRect(220, 112, 75, 25));
    // Nothing is cut off: every text fits its label.
    for (QLabel* label : {Label("txtCAP1"), Label("txtVer1"), Label("txtWWW")}) {
      QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
    }
  }

  void theLogoAnimatesAgainAfterACloseAndANewShow() {
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    QVERIFY(Logo()->IsAnimating());
    const int frame = Logo()->Frame();
    QTRY_VERIFY(Logo()->Frame() != frame);
    Info().close();
    QVERIFY(!Info().isVisible());
    QVERIFY(!Logo()->IsAnimating());
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    QVERIFY(Logo()->IsAnimating());
    const int again = Logo()->Frame();
    QTRY_VERIFY(Logo()->Frame() != again);
    // Showing it while open only brings it to the front.
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    QVERIFY(Info().isVisible());
    QVERIFY(Logo()->IsAnimating());
  }

  void helpAndTheLinkAskTheDesktopToOpenTheirTargets() {
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    // The guide lies in the folder the program was started from.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(TARVELO_BINARY_DIR "/ui"));
    QTest::mouseClick(Help(), Qt::LeftButton);
    QTest::mouseClick(Label("txtWWW"), Qt::LeftButton);
    QDir::setCurrent(before);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0], QUrl::fromLocalFile(QStringLiteral(TARVELO_BINARY_DIR "/ui/tarvelo_help.pdf")));
    QCOMPARE(opened[1], QUrl(QStringLiteral("https://tarvelo.github.io")));
    QCOMPARE(opened[1].host().toUpper(), Label("txtWWW")->text());
  }

  // When the desktop has no program for the guide or the page, a message says so and where they are.
  void whenNothingCanOpenTheGuideOrThePageAMessageSaysWhereTheyAre() {
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(Dir().Path().string()));
    const QString guide = QDir::toNativeSeparators(QDir::current().absoluteFilePath(QStringLiteral("tarvelo_help.pdf")));
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    QString shown;
    WhenMessageBox([&](QMessageBox* box) { shown = box->text(); });
    QTest::mouseClick(Help(), Qt::LeftButton);
    QCOMPARE(shown, QStringLiteral("The user guide is not in the folder Tarvelo was started from: ") + guide +
                        QStringLiteral(" does not exist."));
    QVERIFY(opened.isEmpty());

    WriteBytes(Dir().File("tarvelo_help.pdf"), TBuffer{'%', 'P', 'D', 'F'});
    desktopOpens = false;
    WhenMessageBox([&](QMessageBox* box) { shown = box->text(); });
    QTest::mouseClick(Help(), Qt::LeftButton);
    QCOMPARE(shown, QStringLiteral("No program for PDF files was found, so the user guide could not be opened. "
                                   "You can open it by hand: ") + guide);
    WhenMessageBox([&](QMessageBox* box) { shown = box->text(); });
    QTest::mouseClick(Label("txtWWW"), Qt::LeftButton);
    QCOMPARE(shown, QStringLiteral("No web browser was found, so the project's page could not be opened. "
                                   "Its address is https://tarvelo.github.io"));
    QCOMPARE(opened.size(), 2);
    QDir::setCurrent(before);

    Info().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Info()));
    QTest::keyClick(Help(), Qt::Key_Escape);
    QVERIFY(!Info().isVisible());
  }

  // On paper, a code span or a log marker never breaks inside; no paragraph leaves one of its lines
  // alone on a page, and no heading stays behind at the bottom of a page.
  void theGuideKeepsItsPhrasesAndParagraphsTogether() {
    const QChar nbsp(0x00A0);
    QCOMPARE(KeepPhrasesTogether(QStringLiteral("Run `tarvelo-cli write --host X` and see [ ERROR ] or [ COMPLETE ].")),
             QStringLiteral("Run `tarvelo-cli") + nbsp + QStringLiteral("write") + nbsp + QStringLiteral("--host") + nbsp +
                 QStringLiteral("X` and see [") + nbsp + QStringLiteral("ERROR") + nbsp + QStringLiteral("] or [") + nbsp +
                 QStringLiteral("COMPLETE") + nbsp + QStringLiteral("]."));
    QCOMPARE(KeepPhrasesTogether(QStringLiteral("    tarvelo-carsim --store x.kelta\nplain words")),
             QStringLiteral("    tarvelo-carsim --store x.kelta\nplain words"));  // a code block stays as it is

    QFile source(QStringLiteral(TARVELO_SOURCE_DIR "/docs/help/tarvelo_help.md"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const std::unique_ptr<QTextDocument> guide = MakeHelpDocument(QString::fromUtf8(source.readAll()), QSizeF(641, 987));
    QVERIFY(guide->pageCount() >= 3);
    for (QTextBlock block = guide->begin(); block.isValid(); block = block.next()) {
      QVERIFY2(!LeavesALineAlone(*guide, block), qPrintable(block.text().left(40)));
      if (block.blockFormat().headingLevel() > 0 && block.next().isValid()) {
        QCOMPARE(PageOfBlock(*guide, block.next().blockNumber()), PageOfBlock(*guide, block.blockNumber()));
      }
    }
  }

  void theBuildMakesTheUserGuide() {
    QFile pdf(QStringLiteral(TARVELO_BINARY_DIR "/ui/tarvelo_help.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));
    // "/Type /Pages" is the page tree; every other "/Type /Page" is a page.
    const auto pages = bytes.count("/Type /Page") - bytes.count("/Type /Pages");
    QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
    QVERIFY(QFile::exists(QStringLiteral(TARVELO_BINARY_DIR "/ui/sample.kelta")));
  }

  void screenshot() {
    const QByteArray folder = qgetenv("TARVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TARVELO_SCREENSHOT_DIR to a folder to take the README's screenshots");
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    QTest::qWait(300);
    QVERIFY(Info().grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/info.png")));

    // What HELP says on a desktop without a program for PDF files.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(TARVELO_BINARY_DIR "/ui"));
    desktopOpens = false;
    bool saved = false;
    WhenMessageBox([&](QMessageBox* box) {
      saved = box->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/info-no-pdf-viewer.png"));
    });
    QTest::mouseClick(Help(), Qt::LeftButton);
    QDir::setCurrent(before);
    QVERIFY(saved);
  }
};

TARVELO_QT_TEST_MAIN(TestInfo)
#include "ui_info_test.moc"
