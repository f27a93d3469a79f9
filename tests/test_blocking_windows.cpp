// The windows that block the game table (the name entry and the score
// window) really block it, and the smaller matters of look and feel around
// them: Return on Back, the buttons' and counters' looks, centring, the
// desktop's dialogs in Japanese.

#include "helpers.h"
#include "table_fixture.h"
#include "ui/qt_texts.h"
#include "ui/window_helpers.h"
#include "windows/nameinput_window.h"
#include "windows/score_window.h"
#include "windows/version_window.h"

#include <QColorDialog>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtTest>

namespace {

// A close request as the desktop's close box, Alt+F4 or window menu makes
// it, delivered to the native window. True when the window agreed to close.
bool requestClose(QWidget *window)
{
    QCloseEvent request;
    QCoreApplication::sendEvent(window->windowHandle(), &request);
    return request.isAccepted();
}

bool isDark(QRgb c)
{
    return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
}

} // namespace

class TestBlockingWindows : public QObject {
    Q_OBJECT

    // A shown table whose ranking file holds five entries, 500 down to 100.
    struct ShownTable : Table {
        ShownTable()
        {
            putFile(fake.dataIni(), rankingBytes({{"QLX", "500"}, {"TIV", "400"}, {"AAA", "300"},
                                                          {"RIN", "200"}, {"ZZZ", "100"}}));
            show();
        }
    };

    // Checks that the table, blocked by `blocker`, lives through every kind
    // of close request, and that the ranking file stays as it is.
    static void closeRequestsAreIgnored(ShownTable &t, QWidget *blocker)
    {
        QVERIFY(blocker && blocker->isVisible());
        QCOMPARE(blocker->windowModality(), Qt::WindowModal);
        QCOMPARE(blocker->windowHandle()->transientParent(), t->windowHandle());
        // X11 desktops are told a window's owner only for dialogs.
        QCOMPARE(blocker->windowType(), Qt::Dialog);
        QCOMPARE(QApplication::activeModalWidget(), blocker);
        QVERIFY(!t->isEnabled());
        const QByteArray before = fileBytes(t.fake.dataIni());

        QVERIFY(!requestClose(t.w.get()));
        QCloseEvent direct;
        QCoreApplication::sendEvent(t.w.get(), &direct);
        QVERIFY(!direct.isAccepted());
        QTest::keyClick(t->windowHandle(), Qt::Key_F4, Qt::AltModifier);

        QCOMPARE(t.fake.endCount, 0);
        QVERIFY(t->isVisible());
        QVERIFY(blocker->isVisible());
        QCOMPARE(fileBytes(t.fake.dataIni()), before);
    }

    // The one score window, shown; null (and the test failed) otherwise.
    static Score *shownScoreWindow()
    {
        const QList<Score *> scores = openWindows<Score>();
        if (scores.size() != 1 || !QTest::qWaitForWindowExposed(scores.first(), kPatienceMs)) {
            QTest::qFail("one score window shown", __FILE__, __LINE__);
            return nullptr;
        }
        return scores.first();
    }

private Q_SLOTS:
    void cleanup();
    void rankingEntryCannotBeLostByClosingTheTable();
    void scoreMenuBlocksTheTableUntilBack();
    void nameEntryClosedThroughItsFrameCountsAsEnd();
    void returnAndEnterPressTheFocusedBack_data();
    void returnAndEnterPressTheFocusedBack();
    void endAndBackHaveTheStandardLook();
    void countersHaveADarkBorderAndWhiteDigits();
    void windowsAreCentredByTheirFrame();
    void desktopDialogsSpeakJapanese();
    void colourDialogStartsWithNoColourChosen();
};

void TestBlockingWindows::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && (qobject_cast<Score *>(w) || qobject_cast<nameinput *>(w)))
            w->close();
    flushDeletes();
}

void TestBlockingWindows::rankingEntryCannotBeLostByClosingTheTable()
{
    ShownTable t;
    t->Label1->setText(QStringLiteral("450"));
    t->CheckRank();
    const QList<nameinput *> entries = openWindows<nameinput>();
    QCOMPARE(entries.size(), 1);
    QPointer<nameinput> entry = entries.first();
    QVERIFY(QTest::qWaitForWindowExposed(entry, kPatienceMs));
    closeRequestsAreIgnored(t, entry);
    if (QTest::currentTestFailed())
        return;

    // "A", then 終: the name goes under rank 2, the score window follows.
    entry->Form_KeyDown(13);
    entry->Form_KeyDown(13);
    entry->Form_KeyDown(13);
    entry->Form_KeyDown(13);
    flushDeletes();
    QVERIFY(entry.isNull());
    QVERIFY(fileBytes(t.fake.dataIni()).contains("[2\x88\xca]\r\nname=AAA\r\nscore=450"));
    Score *score = shownScoreWindow();
    QVERIFY(score);
    closeRequestsAreIgnored(t, score);
    if (QTest::currentTestFailed())
        return;

    // Back gives the table back, and then it closes as always.
    QTest::mouseClick(score->Command1, Qt::LeftButton);
    QVERIFY(t->isEnabled());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(requestClose(t.w.get()));
    QCOMPARE(t.fake.endCount, 1);
}

void TestBlockingWindows::scoreMenuBlocksTheTableUntilBack()
{
    ShownTable t;
    t->スコアランキング_Click();
    Score *score = shownScoreWindow();
    QVERIFY(score);
    closeRequestsAreIgnored(t, score);
    if (QTest::currentTestFailed())
        return;
    // Closed through its own frame, it gives the table back as Back does.
    QVERIFY(requestClose(score));
    flushDeletes();
    QVERIFY(openWindows<Score>().isEmpty());
    QVERIFY(t->isEnabled());
    t->AppliEND_Click();
    QCOMPARE(t.fake.endCount, 1);
}

void TestBlockingWindows::nameEntryClosedThroughItsFrameCountsAsEnd()
{
    ShownTable t;
    t->Label1->setText(QStringLiteral("120"));
    t->CheckRank();
    QList<nameinput *> entries = openWindows<nameinput>();
    QCOMPARE(entries.size(), 1);
    entries.first()->Form_KeyDown(13); // "A"
    QVERIFY(requestClose(entries.first()));
    flushDeletes();
    QVERIFY(openWindows<nameinput>().isEmpty());
    QVERIFY(fileBytes(t.fake.dataIni()).contains("[5\x88\xca]\r\nname=A\r\nscore=120"));
    QCOMPARE(openWindows<Score>().size(), 1);
    QVERIFY(!t->isEnabled());
}

void TestBlockingWindows::returnAndEnterPressTheFocusedBack_data()
{
    QTest::addColumn<bool>("scoreWindow");
    QTest::addColumn<int>("key");
    QTest::newRow("score window, Return") << true << int(Qt::Key_Return);
    QTest::newRow("score window, Enter") << true << int(Qt::Key_Enter);
    QTest::newRow("version window, Return") << false << int(Qt::Key_Return);
    QTest::newRow("version window, Enter") << false << int(Qt::Key_Enter);
}

void TestBlockingWindows::returnAndEnterPressTheFocusedBack()
{
    QFETCH(bool, scoreWindow);
    QFETCH(int, key);
    FakePlatform fp;
    QPointer<QWidget> window;
    VbButton *back = nullptr;
    if (scoreWindow) {
        Score *s = Score::open(nullptr);
        window = s;
        back = s->Command1;
    } else {
        version::open();
        window = version::instance();
        back = version::instance()->Command1;
    }
    QVERIFY(QTest::qWaitForWindowActive(window, kPatienceMs));
    // Another key does nothing; without the focus Return does nothing.
    back->clearFocus();
    QTest::keyClick(window, Qt::Key(key));
    QVERIFY(window->isVisible());
    back->setFocus();
    QTest::keyClick(back, Qt::Key_X);
    QVERIFY(window->isVisible());
    QSignalSpy clicked(back, &QPushButton::clicked);
    QTest::keyClick(back, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(clicked.size(), 1);
    flushDeletes();
    QVERIFY(window.isNull());
}

void TestBlockingWindows::endAndBackHaveTheStandardLook()
{
    Table t;
    Score *s = Score::open(nullptr);
    version::open();
    QList<VbButton *> standard{t->ENDS, s->Command1, version::instance()->Command1};
    for (VbButton *b : standard) {
        // Drawn exactly as a plain push button of that size, font and
        // caption: the desktop's style, no colour of the game's own.
        QPushButton plain(b->text(), b->parentWidget());
        plain.setFont(b->font());
        plain.resize(b->size());
        plain.setEnabled(b->isEnabled());
        plain.setAutoDefault(b->autoDefault());
        COMPARE_PICTURES(b->grab().toImage(), plain.grab().toImage());
    }
    // The table's other buttons stay filled with their own colour.
    for (VbButton *b : {t->Allcoin, t->Start, t->StopA, t->Reset}) {
        const QImage img = b->grab().toImage();
        const QColor inside = img.pixelColor(img.width() / 2, 4);
        QCOMPARE(refFromColor(inside), b->backColor());
    }
    s->close();
    version::instance()->close();
    flushDeletes();
}

void TestBlockingWindows::countersHaveADarkBorderAndWhiteDigits()
{
    Table t;
    for (VbLabel *counter : {t->Label1, t->Label11}) {
        counter->setText(QStringLiteral("8888"));
        const QImage img = counter->grab().toImage();
        const int w = img.width(), h = img.height();
        for (const QPoint p : {QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(w / 2, 0), QPoint(w / 2, h - 1)})
            QVERIFY2(isDark(img.pixel(p)), qPrintable(QStringLiteral("border at %1,%2").arg(p.x()).arg(p.y())));
        int white = 0;
        for (int y = 1; y < h - 1; ++y)
            for (int x = 1; x < w - 1; ++x)
                white += img.pixelColor(x, y).lightness() > 200;
        QVERIFY2(white > 20, "the digits are white");
    }
}

void TestBlockingWindows::windowsAreCentredByTheirFrame()
{
    // The frame's corner goes where it centres the whole frame.
    QCOMPARE(centredFramePos(QRect(0, 0, 1000, 800), QSize(300, 200)), QPoint(350, 300));
    QCOMPARE(centredFramePos(QRect(100, 30, 1000, 770), QSize(301, 201)), QPoint(449, 314));
    QCOMPARE(centredFramePos(QRect(0, 0, 200, 100), QSize(300, 200)), QPoint(-50, -50));

    FakePlatform fp;
    Score *s = Score::open(nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(s, kPatienceMs));
    const QRect area = s->screen()->availableGeometry();
    QVERIFY(qAbs(s->frameGeometry().center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(s->frameGeometry().center().y() - area.center().y()) <= 1);
    s->close();
    flushDeletes();
}

void TestBlockingWindows::desktopDialogsSpeakJapanese()
{
    QVERIFY2(installQtJapanese(*qApp), "Qt's Japanese translation (qt6-translations-l10n) is installed");
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tivoran"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QColorDialog dialog;
    bool japanese = false;
    for (QPushButton *b : dialog.findChildren<QPushButton *>())
        for (QChar c : b->text())
            japanese |= c.script() == QChar::Script_Katakana || c.script() == QChar::Script_Han
                || c.script() == QChar::Script_Hiragana;
    QVERIFY2(japanese, "the colour dialog's buttons are in Japanese");
}

void TestBlockingWindows::colourDialogStartsWithNoColourChosen()
{
    // OK without a choice gives black, not the white of Qt's default.
    QColorDialog dialog;
    QColor shown;
    QTimer::singleShot(0, &dialog, [&] {
        shown = dialog.currentColor();
        dialog.accept();
    });
    QCOMPARE(runColourDialog(dialog), std::optional<qint32>(0));
    QCOMPARE(shown, QColor(Qt::black));

    // A colour chosen is a colour reference; cancel gives nothing.
    QTimer::singleShot(0, &dialog, [&] {
        dialog.setCurrentColor(QColor(0x10, 0x20, 0x30));
        dialog.accept();
    });
    QCOMPARE(runColourDialog(dialog), std::optional<qint32>(0x302010));
    QTimer::singleShot(0, &dialog, [&] {
        shown = dialog.currentColor();
        dialog.reject();
    });
    QCOMPARE(runColourDialog(dialog), std::nullopt);
    QCOMPARE(shown, QColor(Qt::black));
}

QTEST_MAIN(TestBlockingWindows)
#include "test_blocking_windows.moc"
