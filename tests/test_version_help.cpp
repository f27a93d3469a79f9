// The version window and the help item.

#include "fake_platform.h"
#include "helpers.h"
#include "ui/help.h"
#include "ui/vb_controls.h"
#include "windows/version_window.h"

#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

class TestVersionHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void showsProductVersionAndMaker();
    void openedTwiceGivesOneWindow();
    void addressClickOpensTheHomePage();
    void helpOpensTheReadmeOncePerClick();
};

void TestVersionHelp::cleanup()
{
    for (version *v : openWindows<version>())
        v->close();
    flushDeletes();
}

void TestVersionHelp::showsProductVersionAndMaker()
{
    FakePlatform fp;
    version::open();
    version *v = version::instance();
    QVERIFY(v);
    QCOMPARE(v->windowTitle(), QString("Tivoran"));
    QCOMPARE(v->size(), QSize(312, 147));
    QCOMPARE(v->Label1->text(), QString("Tivoran ver " TIVORAN_VERSION));
    QCOMPARE(v->Label2->text(), QString("Quillex"));
    QCOMPARE(v->Label3->text(), QString(HomePageAddress));
    QCOMPARE(colorFromRef(v->Label3->foreColor()), QColor(0, 0, 255));
    QVERIFY(!v->Label3->font().underline());
    // The whole address is readable on its line.
    QVERIFY(QFontMetrics(v->Label3->font()).horizontalAdvance(v->Label3->text()) <= v->Label3->width());
    // A hand over the address line, the ordinary arrow elsewhere.
    QVERIFY(v->Label3->cursor().shape() != Qt::ArrowCursor);
    QCOMPARE(v->Label2->cursor().shape(), Qt::ArrowCursor);
    // The hand clicks with its fingertip: the click point is the
    // topmost point of the hand as drawn.
    const QCursor hand = v->Label3->cursor();
    const QImage picture = hand.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!picture.isNull());
    int tipRow = -1;
    for (int y = 0; y < picture.height() && tipRow < 0; ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) > 128)
                tipRow = y;
    QCOMPARE(hand.hotSpot().y(), tipRow);
    QVERIFY2(qAlpha(picture.pixel(hand.hotSpot())) > 128, "the click point is on the hand");
    QCOMPARE(v->Command1->text(), QString("Back"));
    const Qt::WindowFlags f = v->windowFlags();
    QVERIFY(f & Qt::WindowCloseButtonHint);
    QVERIFY(!(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(v->Image1->geometry(), QRect(16, 40, 32, 32));
}

void TestVersionHelp::openedTwiceGivesOneWindow()
{
    FakePlatform fp;
    version::open();
    QPointer<version> first = version::instance();
    QVERIFY(QTest::qWaitForWindowExposed(first, kPatienceMs));
    version::open();
    QCOMPARE(version::instance(), first.data());
    QCOMPARE(openWindows<version>().size(), 1);

    // Back destroys it; the next opening creates a new one.
    QTest::mouseClick(first->Command1, Qt::LeftButton);
    flushDeletes();
    QVERIFY(first.isNull());
    QVERIFY(!version::instance());
    QVERIFY(openWindows<version>().isEmpty());
    version::open();
    QVERIFY(version::instance());
    QCOMPARE(openWindows<version>().size(), 1);

    // So does the close box.
    QPointer<version> second = version::instance();
    QVERIFY(second->close());
    flushDeletes();
    QVERIFY(second.isNull());
    QVERIFY(!version::instance());
}

void TestVersionHelp::addressClickOpensTheHomePage()
{
    FakePlatform fp;
    version::open();
    version *v = version::instance();
    QVERIFY(QTest::qWaitForWindowExposed(v, kPatienceMs));
    QTest::mouseClick(v->Label3, Qt::LeftButton);
    QCOMPARE(fp.openedUrls, QList<QUrl>{QUrl(QString(HomePageAddress))});
    QVERIFY(fp.openedUrls.first().isValid());

    // A press elsewhere released over the address, or another button,
    // is no click.
    QTest::mouseClick(v->Label3, Qt::RightButton);
    QTest::mousePress(v->Label2, Qt::LeftButton);
    QTest::mouseRelease(v->Label3, Qt::LeftButton);
    QCOMPARE(fp.openedUrls.size(), 1);

    // A browser that fails to open shows nothing and leaves the window.
    fp.openSucceeds = false;
    QTest::mouseClick(v->Label3, Qt::LeftButton);
    QCOMPARE(fp.openedUrls.size(), 2);
    QVERIFY(fp.messages.isEmpty());
    QCOMPARE(version::instance(), v);
}

void TestVersionHelp::helpOpensTheReadmeOncePerClick()
{
    FakePlatform fp;
    openHelpFile();
    QVERIFY2(fp.openedFiles.isEmpty(), "no readme.txt: nothing happens");

    QDir(fp.dir).mkdir("readme.txt");
    openHelpFile();
    QVERIFY2(fp.openedFiles.isEmpty(), "a directory is not the help file");
    QDir(fp.dir).rmdir("readme.txt");

    putFile(fp.dir + "/readme.txt", "help");
    openHelpFile();
    QCOMPARE(fp.openedFiles, QStringList{fp.dir + "/readme.txt"});
    fp.openSucceeds = false;
    openHelpFile();
    QCOMPARE(fp.openedFiles.size(), 2);
    QVERIFY(fp.messages.isEmpty());
}

QTEST_MAIN(TestVersionHelp)
#include "test_version_help.moc"
