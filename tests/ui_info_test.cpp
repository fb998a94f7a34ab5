// The info window as a real widget; the desktop's opener is replaced so that the test sees what
// would be opened.
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "AnimatedLogo.h"
#include "UiTestSupport.h"
#include "uInfo.h"

class TestInfo : public QObject {
  Q_OBJECT
  QList<QUrl> opened_;

 private slots:
  void init() {
    CreateWindows();
    FMain->show();
    opened_.clear();
    FInfo->OpenWithDesktop = [this](const QUrl& url) { opened_ << url; };
  }

  void cleanup() {
    CancelModalWatchers();
    DestroyWindows();
  }

  void looksAsDescribed() {
    ClickHeaderSection(THeaderSection::InfoHelp);
    QVERIFY(FInfo->isVisible());
    QCOMPARE(FInfo->windowTitle(), QStringLiteral(" [i]  Info/About"));
    QVERIFY(FInfo->windowFlags() & Qt::Tool);
    QVERIFY(FInfo->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(FInfo->size(), QSize(527, 194));
    QCOMPARE(FInfo->minimumSize(), FInfo->maximumSize());
    QCOMPARE(FInfo->grpMAIN1->geometry(), QRect(0, 0, 200, 194));
    QVERIFY(FInfo->grpMAIN1->isFlat());
    QCOMPARE(FInfo->grpMAIN1->title(), QString());
    QCOMPARE(FInfo->imgLOGO1->geometry(), QRect(0, 1, 200, 194));
    QCOMPARE(FInfo->grp2->width(), 327);
    QCOMPARE(FInfo->txtCAP1->text(), QStringLiteral("BMW HU Tarvelo"));
    QVERIFY(FInfo->txtCAP1->font().bold());
    QCOMPARE(FInfo->txtCAP1->font().pixelSize(), 16);
    QCOMPARE(FInfo->txtCAP1->geometry(), QRect(22, 16, 277, 23));
    QCOMPARE(FInfo->txtVer1->text(), QStringLiteral("Version: 1.00.100"));
    QCOMPARE(FInfo->txtWWW->text(), FInfo->txtWWW->text().toUpper());
    QVERIFY(FInfo->txtWWW->font().bold());
    QVERIFY(FInfo->txtWWW->font().underline());
    QCOMPARE(FInfo->txtWWW->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(FInfo->txtWWW->geometry(), QRect(22, 143, 146, 17));
    QCOMPARE(FInfo->btnHELP->text(), QStringLiteral("HELP"));
    QCOMPARE(FInfo->btnHELP->geometry(), QRect(220, 112, 75, 25));
    // Nothing is cut off: every text fits its label.
    for (QLabel* label : {FInfo->txtCAP1, FInfo->txtVer1, FInfo->txtWWW}) {
      QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
    }
  }

  void theLogoAnimatesAgainAfterACloseAndANewShow() {
    ClickHeaderSection(THeaderSection::InfoHelp);
    QVERIFY(FInfo->imgLOGO1->IsAnimating());
    const int frame = FInfo->imgLOGO1->Frame();
    QTRY_VERIFY(FInfo->imgLOGO1->Frame() != frame);
    FInfo->close();
    QVERIFY(!FInfo->isVisible());
    QVERIFY(!FInfo->imgLOGO1->IsAnimating());
    ClickHeaderSection(THeaderSection::InfoHelp);
    QVERIFY(FInfo->imgLOGO1->IsAnimating());
    const int again = FInfo->imgLOGO1->Frame();
    QTRY_VERIFY(FInfo->imgLOGO1->Frame() != again);
    // Showing it while open only brings it to the front.
    ClickHeaderSection(THeaderSection::InfoHelp);
    QVERIFY(FInfo->isVisible());
    QVERIFY(FInfo->imgLOGO1->IsAnimating());
  }

  void helpAndTheLinkAskTheDesktopToOpenTheirTargets() {
    ClickHeaderSection(THeaderSection::InfoHelp);
    QTest::mouseClick(FInfo->btnHELP, Qt::LeftButton);
    QTest::mouseClick(FInfo->txtWWW, Qt::LeftButton);
    QCOMPARE(opened_.size(), 2);
    QCOMPARE(opened_[0], QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("tarvelo_help.pdf"))));
    QCOMPARE(opened_[1], QUrl(QStringLiteral("https://tarvelo.github.io")));
    QCOMPARE(opened_[1].host().toUpper(), FInfo->txtWWW->text());
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
    ClickHeaderSection(THeaderSection::InfoHelp);
    QTest::qWait(300);
    QVERIFY(FInfo->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/info.png")));
  }
};

TARVELO_QT_TEST_MAIN(TestInfo)
#include "ui_info_test.moc"
