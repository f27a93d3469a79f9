// The name entry, driven the way the player drives it: key presses arrive at
// the window as the desktop delivers them, the state is read back from the
// cells' colours and captions, and the stored name from the bytes of
// data.ini.

#include "fake_platform.h"
#include "helpers.h"
#include "ranking_play.h"
#include "ranking/name_entry_rules.h"
#include "ui/vb_controls.h"
#include "windows/nameinput_window.h"
#include "windows/score_window.h"

#include <QApplication>
#include <QPointer>
#include <QtTest>
#include <memory>

using namespace NameEntry;

namespace {

// The file as the ranking check leaves it when a 450 has just taken rank 2:
// the old rank-2 entry moved down, rank 2 still carries its old name.
QByteArray rankingWithName(const QByteArray &rank2Name)
{
    return rankingBytes({{"QLX", "500"}, {rank2Name, "450"}, {"TIV", "400"}, {"AAA", "300"}, {"RIN", "200"}});
}

} // namespace

class TestNameEntry : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> fp;
    std::unique_ptr<QWidget> table;
    QString rankSection; // the rank the ranking check recorded

    // Opens the entry as the ranking check does: table disabled first.
    nameinput *openEntry(bool firstOpen)
    {
        table->setEnabled(false);
        return openNameEntry(table.get(), rankSection, firstOpen);
    }

    // Every grid cell in the cursor colour.
    static QList<int> cursors(nameinput *w)
    {
        QList<int> out;
        for (int i = 0; i < GridCells; ++i)
            if (w->Label1[i]->backColor() == CursorColour)
                out << i;
        return out;
    }

    // The slots' captions, and which slot is current (-1 for none).
    static QStringList slotTexts(nameinput *w)
    {
        return {w->Label1[39]->text(), w->Label1[40]->text(), w->Label1[41]->text()};
    }
    static int current(nameinput *w)
    {
        int found = -1;
        for (int s = 0; s < 3; ++s) {
            const qint32 c = w->Label1[FirstSlot + s]->backColor();
            if (c == CurrentSlotColour) {
                if (found >= 0)
                    return -2; // two current slots: never allowed
                found = s;
            } else if (c != NormalColour) {
                return -3;
            }
        }
        return found;
    }

private Q_SLOTS:
    void init();
    void cleanup();
    void openingStartsFromTheInitialState();
    void laterOpeningHasNoCursorUntilReturn();
    void picksFollowTheCursor();
    void namesStoredAsTyped_data();
    void namesStoredAsTyped();
    void backErasesTheLastCharacter();
    void returnMatchingNoRuleChangesNothing();
    void returnRulesCoverEveryNameState();
    void movesStopAtTheEdges_data();
    void movesStopAtTheEdges();
    void windowMovesTheOneCursor();
    void keysReachTheEntryWhateverHasTheFocus();
    void closingThroughTheFrameCountsAsEnd();
    void withoutARankNothingIsWritten();
    void captionsSitAtTheTopOfTheirCells();
    void underlinesBlink();
};

void TestNameEntry::init()
{
    fp = std::make_unique<FakePlatform>();
    table = std::make_unique<QWidget>();
    rankSection = QStringLiteral("2位");
}

void TestNameEntry::cleanup()
{
    // Close whatever a failed test left open while the platform exists.
    finishRankingWindows();
    table.reset();
    fp.reset();
}

void TestNameEntry::openingStartsFromTheInitialState()
{
    QPointer<nameinput> w = openEntry(true);
    QCOMPARE(w->windowTitle(), QString("Form1"));
    QCOMPARE(w->size(), QSize(750, 364));
    QVERIFY(!(w->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint
                                  | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(cursors(w), QList<int>{0});
    QCOMPARE(slotTexts(w), QStringList(3, QString()));
    QCOMPARE(current(w), 0);
    for (int i = 1; i < GridCells; ++i)
        QCOMPARE(w->Label1[i]->backColor(), NormalColour);
    // The letters, digits and marks show in the names typed below.
    QCOMPARE(w->Label1[37]->text(), QString("戻"));
    QCOMPARE(w->Label1[38]->text(), QString("終"));
    // Cells on an 840-twip pitch, 615 wide, in 13 columns.
    QCOMPARE(w->Label1[14]->geometry(), QRect(72, 248, 41, 41));
    QVERIFY(!w->Slot1Done && !w->Slot2Done && !w->Slot3Done);
    QCOMPARE(w->Timer1->interval(), BlinkInterval);
    QVERIFY(w->Timer1->isTicking());
    QCOMPARE(w->Timer2->interval(), 0);
    QCOMPARE(w->Timer3->interval(), 0);
    QVERIFY(w->lineVisible(0));
    QVERIFY(!w->lineVisible(1));
    QVERIFY(!w->lineVisible(2));
}

void TestNameEntry::laterOpeningHasNoCursorUntilReturn()
{
    QPointer<nameinput> w = openEntry(false);
    QVERIFY(cursors(w).isEmpty());
    pressKeys(w, "RDLU");
    QVERIFY2(cursors(w).isEmpty(), "arrow keys find no cursor and do nothing");
    pressKeys(w, "x");
    QCOMPARE(cursors(w), QList<int>{0});
    QCOMPARE(slotTexts(w), QStringList(3, QString()));
    QCOMPARE(current(w), 0);
    pressKeys(w, "Re"); // Enter on the keypad is Return
    QCOMPARE(slotTexts(w), (QStringList{"B", "", ""}));
    QCOMPARE(current(w), 1);
}

void TestNameEntry::picksFollowTheCursor()
{
    QPointer<nameinput> w = openEntry(true);
    pressKeys(w, "RRxDxx");
    QCOMPARE(slotTexts(w), (QStringList{"C", "P", "P"}));
    QCOMPARE(cursors(w), QList<int>{EndCell});
    QCOMPARE(current(w), -1);
    QVERIFY(w->Slot1Done && w->Slot2Done && w->Slot3Done);
    QVERIFY2(openWindows<Score>().isEmpty(), "only 終 ends the entry");
}

void TestNameEntry::namesStoredAsTyped_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("first opening, four Returns") << QByteArray("xxxx") << QByteArray("AAA");
    QTest::newRow("empty, 終 at once") << QByteArray("DDRRRRRRRRRRRRx") << QByteArray("");
    QTest::newRow("digits only") << QByteArray("DDxRxRxx") << QByteArray("123");
    QTest::newRow("ends in -") << QByteArray("xDDRRRRRRRRRRxRRx") << QByteArray("A-");
    QTest::newRow("ends in .") << QByteArray("DDRRRRRRRRxRxRRRx") << QByteArray("9.");
    QTest::newRow("Z then up") << QByteArray("DRRRRRRRRRRRRxUxDDx") << QByteArray("ZM");
}

void TestNameEntry::namesStoredAsTyped()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArray, name);
    putFile(fp->dataIni(), rankingWithName("TIV"));
    QPointer<nameinput> w = openEntry(true);
    pressKeys(w, keys.constData());
    QCOMPARE(fileBytes(fp->dataIni()), rankingWithName(name));
    // "終" closes the entry itself; that close is not a second "終".
    flushDeletes();
    QVERIFY2(w.isNull(), "the entry closes and is destroyed");
    const QList<Score *> scores = openWindows<Score>();
    QCOMPARE(scores.size(), 1);
    QCOMPARE(scores[0]->Label2[1]->text(), QString::fromLatin1(name));
    QCOMPARE(scores[0]->Label3[1]->text(), QString("450"));
    QCOMPARE(scores[0]->Label2[2]->text(), QString("TIV"));
    QVERIFY2(!table->isEnabled(), "the table waits for the score window");
}

void TestNameEntry::backErasesTheLastCharacter()
{
    QPointer<nameinput> w = openEntry(true);
    // "A", "B", then to "戻" (B is 1: down twice to 27, right ten times).
    pressKeys(w, "xRx");
    QCOMPARE(current(w), 2);
    pressKeys(w, "DDRRRRRRRRRR");
    QCOMPARE(cursors(w), QList<int>{BackCell});
    pressKeys(w, "x");
    QCOMPARE(slotTexts(w), (QStringList{"A", "", ""}));
    QCOMPARE(current(w), 1);
    QVERIFY(w->Slot3Done);
    QVERIFY(!w->Slot2Done);
    QCOMPARE(w->Timer2->interval(), BlinkInterval);
    QCOMPARE(cursors(w), QList<int>{BackCell});
    // The next character replaces the "B".
    pressKeys(w, "Lx");
    QCOMPARE(slotTexts(w), (QStringList{"A", "-", ""}));
    QCOMPARE(current(w), 2);

    // Third character, cursor jumps to "終"; Left to "戻" and Return
    // empties slot 3 and makes it current, the cursor stays.
    pressKeys(w, "x");
    QCOMPARE(slotTexts(w), (QStringList{"A", "-", "-"}));
    QCOMPARE(cursors(w), QList<int>{EndCell});
    pressKeys(w, "Lx");
    QCOMPARE(slotTexts(w), (QStringList{"A", "-", ""}));
    QCOMPARE(current(w), 2);
    QCOMPARE(cursors(w), QList<int>{BackCell});
    QVERIFY(!w->Slot3Done);
    QCOMPARE(w->Timer3->interval(), BlinkInterval);

    // Back twice more returns to the start: slot 1 current and empty.
    pressKeys(w, "xx");
    QCOMPARE(slotTexts(w), QStringList(3, QString()));
    QCOMPARE(current(w), 0);
    QVERIFY(w->Slot2Done);
    QVERIFY(!w->Slot1Done);
    QCOMPARE(w->Timer1->interval(), BlinkInterval);
}

void TestNameEntry::returnMatchingNoRuleChangesNothing()
{
    QPointer<nameinput> w = openEntry(true);
    // "戻" with nothing typed.
    pressKeys(w, "DDRRRRRRRRRRRx");
    QCOMPARE(cursors(w), QList<int>{BackCell});
    QCOMPARE(slotTexts(w), QStringList(3, QString()));
    QCOMPARE(current(w), 0);

    // A character with all three slots filled.
    pressKeys(w, "Lxxx");
    QCOMPARE(slotTexts(w), (QStringList{"-", "-", "-"}));
    pressKeys(w, "LLx");
    QCOMPARE(cursors(w), QList<int>{36});
    QCOMPARE(slotTexts(w), (QStringList{"-", "-", "-"}));
    QCOMPARE(current(w), -1);
    // The one cursor still moves as before.
    pressKeys(w, "RR");
    QCOMPARE(cursors(w), QList<int>{EndCell});
}

void TestNameEntry::returnRulesCoverEveryNameState()
{
    // Every slot state with the cursor on "戻" and on a character: the
    // slot being filled afterwards, or no rule. Each state steps one
    // along (a character) or one back ("戻"), never past the ends.
    const int none = -2;
    // Indexed by the current slot + 1: all filled, slot 1, 2, 3.
    const int afterBack[] = {2, none, 0, 1};
    const int afterCharacter[] = {none, 1, 2, -1};
    for (int current = -1; current <= 2; ++current) {
        const auto back = returnRule(true, current);
        const auto character = returnRule(false, current);
        QCOMPARE(back ? back->next : none, afterBack[current + 1]);
        QCOMPARE(character ? character->next : none, afterCharacter[current + 1]);
    }
    // One rule per state and key: the table holds no near-copies.
    for (const ReturnRule &a : ReturnRules) {
        int same = 0;
        for (const ReturnRule &b : ReturnRules)
            same += a.onBack == b.onBack && a.current == b.current;
        QCOMPARE(same, 1);
    }
}

void TestNameEntry::movesStopAtTheEdges_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("Right on M") << 12 << VkRight << 12;
    QTest::newRow("Right on Z") << 25 << VkRight << 25;
    QTest::newRow("Right on 終") << 38 << VkRight << 38;
    QTest::newRow("Left on N") << 13 << VkLeft << 13;
    QTest::newRow("Left on 1") << 26 << VkLeft << 26;
    QTest::newRow("Left on A") << 0 << VkLeft << 0;
    QTest::newRow("Down on 1") << 26 << VkDown << 26;
    QTest::newRow("Down on 終") << 38 << VkDown << 38;
    QTest::newRow("Up on A") << 0 << VkUp << 0;
    QTest::newRow("Up on M") << 12 << VkUp << 12;
    QTest::newRow("Down on Z") << 25 << VkDown << 38;
    QTest::newRow("Up on 終") << 38 << VkUp << 25;
    QTest::newRow("Down on M") << 12 << VkDown << 25;
    QTest::newRow("Right on L") << 11 << VkRight << 12;
    QTest::newRow("Left on 戻") << 37 << VkLeft << 36;
    QTest::newRow("Up on 1") << 26 << VkUp << 13;
    QTest::newRow("Return") << 5 << VkReturn << 5;
    QTest::newRow("space") << 5 << 32 << 5;
}

void TestNameEntry::movesStopAtTheEdges()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    QCOMPARE(moveCursor(from, key), to);
}

void TestNameEntry::windowMovesTheOneCursor()
{
    QPointer<nameinput> w = openEntry(true);
    pressKeys(w, "ULRRRRRRRRRRRRR"); // Up and Left refused on "A", then to "M"
    QCOMPARE(cursors(w), QList<int>{12});
    pressKeys(w, "RD");
    QCOMPARE(cursors(w), QList<int>{25});
    pressKeys(w, "D");
    QCOMPARE(cursors(w), QList<int>{EndCell});
    pressKeys(w, "DR");
    QCOMPARE(cursors(w), QList<int>{EndCell});
    pressKeys(w, "U");
    QCOMPARE(cursors(w), QList<int>{25});
    QCOMPARE(w->Label1[EndCell]->backColor(), NormalColour);
}

void TestNameEntry::keysReachTheEntryWhateverHasTheFocus()
{
    QPointer<nameinput> w = openEntry(true);
    for (QWidget *child : w->findChildren<QWidget *>())
        QCOMPARE(child->focusPolicy(), Qt::NoFocus);
    // Even a control given the focus by force passes the keys on.
    w->Label2->setFocus();
    QCOMPARE(w->focusWidget(), w->Label2);
    pressKeys(w, "Rx");
    QCOMPARE(slotTexts(w), (QStringList{"B", "", ""}));

    // A key that is no arrow does nothing; "%" shares its number with
    // the desktop's Left key and must not move the cursor.
    pressKeys(w, "%");
    QCOMPARE(cursors(w), QList<int>{1});
    QCOMPARE(virtualKeyFromQt(Qt::Key_Percent), 0);
    QCOMPARE(virtualKeyFromQt(Qt::Key_ParenLeft), 0);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Return), VkReturn);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Enter), VkReturn);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Q), 'Q');

    // Keys for another window are not the entry's.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other, kPatienceMs));
    QTest::keyClick(other.windowHandle(), Qt::Key_Right);
    QTest::keyClick(other.windowHandle(), Qt::Key_Return);
    QCOMPARE(cursors(w), QList<int>{1});
    QCOMPARE(slotTexts(w), (QStringList{"B", "", ""}));
}

void TestNameEntry::closingThroughTheFrameCountsAsEnd()
{
    putFile(fp->dataIni(), rankingWithName("TIV"));
    QPointer<nameinput> w = openEntry(true);
    pressKeys(w, "RRxDx");
    QVERIFY(w->close());
    QCOMPARE(fileBytes(fp->dataIni()), rankingWithName("CP"));
    flushDeletes();
    QVERIFY(w.isNull());
    const QList<Score *> scores = openWindows<Score>();
    QCOMPARE(scores.size(), 1);
    QCOMPARE(scores[0]->Label2[1]->text(), QString("CP"));
    QVERIFY2(!table->isEnabled(), "the table waits for the score window");
    QVERIFY(scores[0]->close());
    QVERIFY(table->isEnabled());
}

void TestNameEntry::withoutARankNothingIsWritten()
{
    rankSection.clear();
    QPointer<nameinput> w = openEntry(true);
    pressKeys(w, "xDDRRRRRRRRRRRRx");
    QVERIFY2(!QFile::exists(fp->dataIni()), "no stray section in a new file");
    QCOMPARE(openWindows<Score>().size(), 1);
}

void TestNameEntry::captionsSitAtTheTopOfTheirCells()
{
    QPointer<nameinput> w = openEntry(true);
    // The captions sit at the top of their cells; the large "戻" and
    // "終" still show whole, clear of the cell's edges.
    for (int i = 0; i < GridCells; ++i) {
        VbLabel *cell = w->Label1[i];
        const QRect ink = inkRect(cell, colorFromRef(cell->backColor()));
        const QString where = QStringLiteral("cell %1 (%2): ink %3,%4 %5x%6 in %7x%8")
                                  .arg(i).arg(cell->text()).arg(ink.x()).arg(ink.y()).arg(ink.width())
                                  .arg(ink.height()).arg(cell->width()).arg(cell->height());
        QVERIFY2(!ink.isEmpty(), qPrintable(where));
        QVERIFY2(ink.top() > 0 && ink.bottom() < cell->height() - 1, qPrintable(where));
        QVERIFY2(ink.left() > 0 && ink.right() < cell->width() - 1, qPrintable(where));
        if (i < BackCell && cell->text() != QLatin1String(".") && cell->text() != QLatin1String("-"))
            QVERIFY2(ink.top() < cell->height() - 1 - ink.bottom(), qPrintable(where));
    }
    const QRect prompt = inkRect(w->Label2, colorFromRef(w->Label2->backColor()));
    QVERIFY2(prompt.top() < w->Label2->height() - 1 - prompt.bottom(),
             qPrintable(QStringLiteral("prompt ink from %1 to %2 of %3").arg(prompt.top()).arg(prompt.bottom()).arg(w->Label2->height())));
    w->close();
}

void TestNameEntry::underlinesBlink()
{
    QPointer<nameinput> w = openEntry(true);
    // Slot 1 current: its underline blinks, shown and hidden in turn.
    w->Timer1_Timer();
    QVERIFY(!w->lineVisible(0));
    w->Timer1_Timer();
    QVERIFY(w->lineVisible(0));
    QCOMPARE(w->Timer1->interval(), BlinkInterval);

    // After a pick slot 1 is done: its next tick hides it for good and
    // stops its timer, and slot 2 takes over the blinking.
    pressKeys(w, "x");
    QCOMPARE(w->Timer2->interval(), BlinkInterval);
    QVERIFY(w->Timer2->isTicking());
    w->Timer1_Timer();
    QVERIFY(!w->lineVisible(0));
    QCOMPARE(w->Timer1->interval(), 0);
    QVERIFY(!w->Timer1->isTicking());
    w->Timer2_Timer();
    QVERIFY(w->lineVisible(1));

    // Back to slot 1: its blinking restarts, slot 2's stops.
    pressKeys(w, "RRRDDRRRRRRRR");
    QCOMPARE(cursors(w), QList<int>{BackCell});
    pressKeys(w, "x");
    QCOMPARE(w->Timer1->interval(), BlinkInterval);
    w->Timer1_Timer();
    QVERIFY(w->lineVisible(0));
    w->Timer2_Timer();
    QVERIFY(!w->lineVisible(1));
    QCOMPARE(w->Timer2->interval(), 0);

    // Three picks: slot 3's underline goes once its tick comes.
    pressKeys(w, "Lxxx");
    QCOMPARE(w->Timer3->interval(), BlinkInterval);
    w->Timer3_Timer();
    QVERIFY(!w->lineVisible(2));
    QCOMPARE(w->Timer3->interval(), 0);
}

QTEST_MAIN(TestNameEntry)
#include "test_name_entry.moc"
