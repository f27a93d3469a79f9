// Playing from the keyboard: keys reach the table whatever has the focus.

#include "helpers.h"
#include "table_fixture.h"

#include <QtTest>

class TestKeyboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void anyKeyStartsAfterABet();
    void spaceStopsInOrderABC();
    void spaceStopsCThenAInOnePress();
    void keyDuringSpinDisablesStops();
    void keyAtRoundEnd();
    void spaceWithNothingSpinning();
    void keysReachTableWhateverHasFocus();
    void tabIsNotAKeyPress();
    void keyGoesToTheControlFocusedWhenPressed();
    void noButtonStaysPressedAfterTheRound_data();
    void noButtonStaysPressedAfterTheRound();
};

void TestKeyboard::anyKeyStartsAfterABet()
{
    Table t;
    t.show();
    t->Reset_Click();
    pressKey(t.w.get(), Qt::Key_Q);
    QVERIFY(t->reelRunningA && t->reelRunningB && t->reelRunningC);
    QCOMPARE(t.buttons(), QStringLiteral("0001110"));
    // Before any bet a key starts nothing.
    Table idle;
    idle.show();
    pressKey(idle.w.get(), Qt::Key_A);
    QVERIFY(!idle->reelRunningA);
    QVERIFY(!idle->Reset->isEnabled());
    QVERIFY(idle->Allcoin->isEnabled());
}

void TestKeyboard::spaceStopsInOrderABC()
{
    Table t;
    t.show();
    t->Allcoin_Click();
    pressKey(t.w.get(), Qt::Key_Return);
    QVERIFY(t->reelRunningA);
    pressKey(t.w.get(), Qt::Key_Space);
    QVERIFY(!t->reelRunningA && t->reelRunningB && t->reelRunningC);
    pressKey(t.w.get(), Qt::Key_Space);
    QVERIFY(!t->reelRunningB && t->reelRunningC);
    const QList<int> before = t.fake.sounds;
    pressKey(t.w.get(), Qt::Key_Space);
    QVERIFY(!t->reelRunningC);
    // The round ended inside the key press: bets and END are back.
    QVERIFY(t->Reset->isEnabled() && t->Allcoin->isEnabled() && t->ENDS->isEnabled());
    QCOMPARE(t.fake.sounds.mid(before.size()).count(3), 1);
}

void TestKeyboard::spaceStopsCThenAInOnePress()
{
    Table t;
    t.show();
    t->Reset_Click();
    t->Start_Click();
    t->StopB_Click();
    t.fake.sounds.clear();
    pressKey(t.w.get(), Qt::Key_Space);
    QVERIFY(!t->reelRunningA && !t->reelRunningB && !t->reelRunningC);
    QCOMPARE(t.fake.sounds.count(3), 2);
    QVERIFY(t->Reset->isEnabled());
}

void TestKeyboard::keyDuringSpinDisablesStops()
{
    Table t;
    t.show();
    t->Reset_Click();
    t->Start_Click();
    pressKey(t.w.get(), Qt::Key_X);
    QVERIFY(!t->StopA->isEnabled() && !t->StopB->isEnabled() && !t->StopC->isEnabled());
    QVERIFY(t->reelRunningA && t->reelRunningB && t->reelRunningC);
    QTest::mouseClick(t->StopA, Qt::LeftButton); // disabled: no effect
    QVERIFY(t->reelRunningA);
    for (int i = 0; i < 3; ++i)
        pressKey(t.w.get(), Qt::Key_Space);
    QVERIFY(!t->reelRunningA && !t->reelRunningB && !t->reelRunningC);
}

void TestKeyboard::keyAtRoundEnd()
{
    Table t;
    t.show();
    t->Reset_Click();
    t.spinAndStop(1, 2, 3);
    pressKey(t.w.get(), Qt::Key_Z);
    QVERIFY(!t->Reset->isEnabled());
    QVERIFY(!t->ENDS->isEnabled());
    QVERIFY(t->Allcoin->isEnabled());
    QVERIFY(!t->Start->isEnabled());
}

void TestKeyboard::spaceWithNothingSpinning()
{
    Table t;
    t.show();
    t->Form_KeyPress(' ');
    QVERIFY(t.fake.sounds.isEmpty());
    QVERIFY(!t->reelRunningA);
    // The key then goes on to the focused control as usual: on ALL COINS,
    // the space presses it.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(t->Allcoin));
    pressKey(t.w.get(), Qt::Key_Space);
    QCOMPARE(t.fake.sounds, QList<int>{1});
    QCOMPARE(t->Label1->text(), QStringLiteral("95"));
    QVERIFY(!t->reelRunningA);
}

void TestKeyboard::keysReachTableWhateverHasFocus()
{
    Table t;
    t.show();
    t->Allcoin->setFocus();
    t->Allcoin_Click(); // disables ALL COINS; focus moves on
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && focus->window() == t.w.get());
    pressKey(t.w.get(), Qt::Key_1);
    QVERIFY(t->reelRunningA);
    // With the focus on a Stop button, the space both stops a reel through
    // the table and then presses the focused button, as a real press would.
    t->StopB->setEnabled(true);
    t->StopB->setFocus();
    pressKey(t.w.get(), Qt::Key_Space);
    QVERIFY(!t->reelRunningA);
}

void TestKeyboard::tabIsNotAKeyPress()
{
    Table t;
    t.show();
    t->Reset_Click();
    t->Reset->setFocus();
    pressKey(t.w.get(), Qt::Key_Tab);
    QVERIFY(t->Reset->isEnabled());
    QVERIFY(t->Start->isEnabled());
    QVERIFY(!t->reelRunningA);
}

void TestKeyboard::keyGoesToTheControlFocusedWhenPressed()
{
    Table t;
    t.show();
    // Bet with the mouse: the one-coin button takes the focus.
    QTest::mouseClick(t->Reset, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(t->Reset));
    // The space starts the round. The buttons it disables hand the focus on
    // to a Stop button, which must not take the same press as its own.
    pressKey(t.w.get(), Qt::Key_Space);
    QVERIFY(t->reelRunningA && t->reelRunningB && t->reelRunningC);
    QCOMPARE(t.fake.sounds, QList<int>{1});
}

void TestKeyboard::noButtonStaysPressedAfterTheRound_data()
{
    // Buttons that the key press disables and the end of the round, inside
    // the same press, enables again.
    QTest::addColumn<QString>("button");
    QTest::newRow("END") << QStringLiteral("ENDS");
    QTest::newRow("one-coin bet") << QStringLiteral("Reset");
}

void TestKeyboard::noButtonStaysPressedAfterTheRound()
{
    QFETCH(QString, button);
    Table t;
    t.show();
    t->Reset_Click();
    t.spinAndStop(1, 2, 3); // END is enabled from the first round's end on
    t->Reset_Click();
    t->Start_Click();
    QTest::mouseClick(t->StopB, Qt::LeftButton);
    QTest::mouseClick(t->StopC, Qt::LeftButton);
    QVERIFY(t->reelRunningA && !t->reelRunningB && !t->reelRunningC);
    auto *focused = t->findChild<QPushButton *>(button);
    QVERIFY(focused);
    focused->setEnabled(true); // the one-coin bet is off during a spin
    focused->setFocus();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(focused));
    const int coins = t->coinTotal();
    // The space stops reel A and ends the round; the button the press was
    // meant for had to give up the focus on the way and takes no part.
    pressKey(t.w.get(), Qt::Key_Space);
    QVERIFY(!t->reelRunningA);
    QVERIFY(t->ENDS->isEnabled() && t->Reset->isEnabled());
    QVERIFY(!focused->isDown());
    QCOMPARE(t.fake.endCount, 0);
    QCOMPARE(t->coinTotal(), coins);
    // The next click on it is an ordinary click.
    QTest::mouseClick(t->Reset, Qt::LeftButton);
    QCOMPARE(t->coinTotal(), coins - 1);
    QVERIFY(!t->ENDS->isDown() && !t->Reset->isDown());
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
