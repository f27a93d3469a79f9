// The score window: what it shows for a given ranking file, and that it
// always gives the game table back when it closes.

#include "fake_platform.h"
#include "helpers.h"
#include "ui/vb_controls.h"
#include "windows/score_window.h"

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

QStringList texts(const std::array<VbLabel *, 5> &labels)
{
    QStringList out;
    for (VbLabel *l : labels)
        out << l->text();
    return out;
}

// Bytes this process has read from files so far; -1 where that is not
// known.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

} // namespace

class TestScoreWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void everyOpeningShowsTheFileAsStored();
    void backAndFrameCloseBothGiveTheTableBack_data();
    void backAndFrameCloseBothGiveTheTableBack();
    void closingWithoutATableIsHarmless();
    void theFileIsReadOncePerOpening();
    void windowAndRowsAreLaidOut();
};

void TestScoreWindow::cleanup()
{
    flushDeletes();
}

void TestScoreWindow::everyOpeningShowsTheFileAsStored()
{
    FakePlatform fp;
    // No file: ten empty labels, and no file is made.
    QPointer<Score> first = Score::open(nullptr);
    QCOMPARE(texts(first->Label2), QStringList(5, QString()));
    QCOMPARE(texts(first->Label3), QStringList(5, QString()));
    QVERIFY(!QFile::exists(fp.dir + "/data.ini"));
    first->close();
    flushDeletes();
    QVERIFY(first.isNull());

    // The next opening reads the file anew. Rank 3 has a name but no
    // score, rank 5 a score but no name; rank 2 lists its score before
    // its name; rank 1's score has a leading zero.
    putFile(fp.dir + "/data.ini", rankHeader(1) + "name=QLX\r\nscore=0150\r\n"
                                      + rankHeader(2) + "score=120\r\nname=T-9\r\n"
                                      + rankHeader(3) + "name=AB.\r\n"
                                      + rankHeader(4) + "name=\r\nscore=-5\r\n"
                                      + rankHeader(5) + "score=7\r\n");
    QPointer<Score> s = Score::open(nullptr);
    QCOMPARE(texts(s->Label2), (QStringList{"QLX", "T-9", "AB.", "", ""}));
    QCOMPARE(texts(s->Label3), (QStringList{"0150", "120", "", "-5", "7"}));
    s->close();
}

void TestScoreWindow::backAndFrameCloseBothGiveTheTableBack_data()
{
    QTest::addColumn<bool>("viaBack");
    QTest::newRow("Back") << true;
    QTest::newRow("frame") << false;
}

void TestScoreWindow::backAndFrameCloseBothGiveTheTableBack()
{
    QFETCH(bool, viaBack);
    FakePlatform fp;
    QWidget table;
    table.setEnabled(false);

    QPointer<Score> s = Score::open(&table);
    QVERIFY(QTest::qWaitForWindowExposed(s, kPatienceMs));
    QVERIFY(!table.isEnabled());
    if (viaBack)
        QTest::mouseClick(s->Command1, Qt::LeftButton);
    else
        QVERIFY(s->close());
    QVERIFY(table.isEnabled());
    flushDeletes();
    QVERIFY2(s.isNull(), "the window is destroyed when it closes");
}

void TestScoreWindow::closingWithoutATableIsHarmless()
{
    FakePlatform fp;
    QPointer<Score> s = Score::open(nullptr);
    s->Command1_Click();
    flushDeletes();
    QVERIFY(s.isNull());
}

void TestScoreWindow::theFileIsReadOncePerOpening()
{
    // A ranking file damaged into megabytes of junk after its five
    // ranks: an opening reads it once, not once for each of its ten
    // labels.
    FakePlatform fp;
    QByteArray file = rankingBytes({{"QLX", "500"}, {"TIV", "400"}, {"AAA", "300"}, {"RIN", "200"}, {"GO-", "100"}});
    const QByteArray junk = QByteArray("\x81junk=\xff\xfe damaged\r\n").repeated(256 * 1024);
    file += junk;
    putFile(fp.dir + "/data.ini", file);
    Score::open(nullptr)->close(); // fonts and the like are in once this has run
    flushDeletes();
    const qint64 before = bytesRead();
    if (before < 0)
        QSKIP("this system does not count the bytes a process reads");
    QPointer<Score> s = Score::open(nullptr);
    const qint64 read = bytesRead() - before;
    QCOMPARE(s->Label2[4]->text(), QStringLiteral("GO-"));
    QCOMPARE(s->Label3[0]->text(), QStringLiteral("500"));
    QVERIFY2(read >= file.size() && read < 2 * file.size(),
             qPrintable(QStringLiteral("%1 bytes read for a file of %2").arg(read).arg(file.size())));
    s->close();
}

void TestScoreWindow::windowAndRowsAreLaidOut()
{
    FakePlatform fp;
    putFile(fp.dir + "/data.ini", rankingBytes({{"QLX", "500"}, {"TIV", "400"}, {"AAA", "300"}, {"RIN", "200"},
                                                {"GO-", "100"}}));
    QPointer<Score> s = Score::open(nullptr);
    QCOMPARE(s->windowTitle(), QString("               Tivoran  ランキング"));
    QCOMPARE(s->size(), QSize(317, 420));
    QCOMPARE(s->minimumSize(), s->maximumSize());
    QCOMPARE(s->Label1[0]->text(), QString("Name"));
    QCOMPARE(s->Label1[1]->text(), QString("Score"));
    QCOMPARE(s->Command1->text(), QString("Back"));
    const Qt::WindowFlags f = s->windowFlags();
    QVERIFY(f & Qt::WindowCloseButtonHint);
    QVERIFY(!(f & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f & Qt::WindowMaximizeButtonHint));

    // Rows 56 px apart, each name beside its score, all on the blue panel;
    // "Back" below the panel.
    const QRect panel = Score::shape1Rect();
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(s->Label2[i]->y(), 88 + 56 * i);
        QCOMPARE(s->Label3[i]->y(), s->Label2[i]->y());
        QVERIFY(panel.contains(s->Label2[i]->geometry()));
        QVERIFY(panel.contains(s->Label3[i]->geometry()));
        QVERIFY(s->Label2[i]->geometry().right() < s->Label3[i]->x());
    }
    QVERIFY(s->Command1->y() > panel.bottom());

    // Every caption stands at the top of its label: its first line
    // starts at the label's top edge, whatever room is left below.
    QList<VbLabel *> labels{s->Label1[0], s->Label1[1]};
    for (int i = 0; i < 5; ++i)
        labels << s->Label2[i] << s->Label3[i];
    for (VbLabel *l : labels) {
        const QFontMetrics metrics(l->font());
        const int top = metrics.ascent() + metrics.tightBoundingRect(l->text()).top();
        const QRect ink = inkRect(l, colorFromRef(l->backColor()));
        QVERIFY2(std::abs(ink.top() - top) <= 1,
                 qPrintable(QStringLiteral("%1 \"%2\": ink from %3, the top line's ink from %4")
                                .arg(l->objectName(), l->text()).arg(ink.top()).arg(top)));
    }
    QCOMPARE(s->findChild<QPushButton *>("Command1"), s->Command1);
    QCOMPARE(s->findChild<VbLabel *>("Label3_4"), s->Label3[4]);
    s->close();
}

QTEST_MAIN(TestScoreWindow)
#include "test_score_window.moc"
