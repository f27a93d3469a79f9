// A whole round: betting, spinning, stopping and payout.

#include "table_fixture.h"

#include <QRandomGenerator>
#include <QtTest>

class TestRound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oneCoinBetsLightLampsInOrder();
    void betsAndRefusals_data();
    void betsAndRefusals();
    void startSpinsAllReels();
    void ticksStepTheReels();
    void stoppedReelResumesFromWhereItStood();
    void payout_data();
    void payout();
    void stopOrderCAB();
    void stopOnStandingReel();
    void stopCMovesFocusTwoOn();
    void winsStopAtTheCap();
    void closingPaths();
    void randomisedPlayKeepsTheBooks();
};

void TestRound::oneCoinBetsLightLampsInOrder()
{
    Table t;
    QCOMPARE(t.buttons(), QStringLiteral("1100000"));
    const char *expected[] = {"Rwwww|00010", "RRwww|00110", "RRRww|00111", "RRRRw|10111", "RRRRR|11111"};
    for (int i = 0; i < 5; ++i) {
        t->Label11->setText(QStringLiteral("7"));
        t->Reset_Click();
        QCOMPARE(t.betState(), QString::fromLatin1(expected[i]));
        QCOMPARE(t->Label1->text(), QString::number(99 - i));
        QCOMPARE(t->coinBase, qint16(100 - i));
        QCOMPARE(t->Label11->text(), QStringLiteral("0"));
        QCOMPARE(t.buttons(), i < 4 ? QStringLiteral("1010000") : QStringLiteral("0010000"));
    }
    QCOMPARE(t.fake.sounds, (QList<int>{1, 1, 1, 1, 1}));
}

void TestRound::betsAndRefusals_data()
{
    // Clicks: A for ALL COINS, 1 for one coin.
    QTest::addColumn<QString>("coins");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("total");
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("pay");
    QTest::addColumn<QString>("lamps");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<int>("sounds");
    QTest::newRow("ALL COINS with 5") << "5" << "A" << "0" << 5 << "0" << "RRRRR|11111" << "0010000" << 1;
    QTest::newRow("ALL COINS with 4") << "4" << "A" << "4" << 0 << "9" << "wwwww|00000" << "1100000" << 0;
    // The refusal disables the bets but leaves START for the coin already bet.
    QTest::newRow("last coin, then none") << "1" << "11" << "0" << 1 << "0" << "Rwwww|00010" << "0010000" << 1;
    QTest::newRow("no coins") << "0" << "1" << "0" << 0 << "9" << "wwwww|00000" << "0000000" << 0;
}

void TestRound::betsAndRefusals()
{
    QFETCH(QString, coins);
    QFETCH(QString, clicks);
    QFETCH(QString, total);
    QFETCH(int, base);
    QFETCH(QString, pay);
    QFETCH(QString, lamps);
    QFETCH(QString, buttons);
    QFETCH(int, sounds);
    Table t;
    t->Label1->setText(coins);
    t->Label11->setText(QStringLiteral("9"));
    for (QChar click : clicks) {
        if (click == u'A')
            t->Allcoin_Click();
        else
            t->Reset_Click();
    }
    QCOMPARE(t->Label1->text(), total);
    QCOMPARE(t->coinBase, qint16(base));
    QCOMPARE(t->Label11->text(), pay);
    QCOMPARE(t.betState(), lamps);
    QCOMPARE(t.buttons(), buttons);
    QCOMPARE(t.fake.sounds, QList<int>(sounds, 1));
}

void TestRound::startSpinsAllReels()
{
    Table t;
    t->Allcoin_Click();
    t->Start_Click();
    QCOMPARE(t.buttons(), QStringLiteral("0001110"));
    QVERIFY(t->reelRunningA && t->reelRunningB && t->reelRunningC);
    for (VbTimer *timer : {t->Timer1, t->Timer2, t->Timer3}) {
        QVERIFY(timer->isEnabled());
        QCOMPARE(timer->interval(), 55);
        QVERIFY(timer->isTicking());
    }
    QCOMPARE(t->Label1->text(), QStringLiteral("95"));
    // Each timer's tick steps its own reel and no other.
    VbTimer *timers[] = {t->Timer1, t->Timer2, t->Timer3};
    for (int reel = 0; reel < 3; ++reel) {
        Q_EMIT timers[reel]->tick();
        for (int other = 0; other < 3; ++other)
            QCOMPARE(t->displayedStep(other), other <= reel ? 1 : 0);
    }
    t->StopA_Click();
    t->StopB_Click();
    t->StopC_Click();
    for (VbTimer *timer : {t->Timer1, t->Timer2, t->Timer3})
        QVERIFY(!timer->isTicking());
}

void TestRound::ticksStepTheReels()
{
    Table t;
    t->Reset_Click();
    t->Start_Click();
    t->Timer1_Timer();
    QCOMPARE(t->displayedStep(0), 1);
    QCOMPARE(t->reelStepA, qint16(2));
    // All three cells of the reel move together; the other reels stand.
    QVERIFY(t->Image4[1]->isVisible() && t->Image7[1]->isVisible());
    QVERIFY(!t->Image4[0]->isVisible());
    QCOMPARE(t->displayedStep(1), 0);
    int visible = 0;
    for (auto *e : t->Image7)
        visible += e->isVisible();
    QCOMPARE(visible, 1);
    for (int i = 0; i < 7; ++i)
        t->Timer1_Timer();
    QCOMPARE(t->displayedStep(0), 1);
    t.tickTo(0, 6);
    QCOMPARE(t->reelStepA, qint16(0));
    t->Timer1_Timer();
    QCOMPARE(t->displayedStep(0), 0);
    // A step counter out of range makes a tick do nothing.
    t->reelStepC = 9;
    t->Timer3_Timer();
    QCOMPARE(t->displayedStep(2), 0);
    QCOMPARE(t->reelStepC, qint16(9));
    // Interval 0 holds a reel even while its timer is enabled.
    t->Timer2_Timer();
    t->Timer2->setInterval(0);
    QVERIFY(t->Timer2->isEnabled());
    QVERIFY(!t->Timer2->isTicking());
    t->Timer2_Timer();
    QCOMPARE(t->displayedStep(1), 1);
}

void TestRound::stoppedReelResumesFromWhereItStood()
{
    Table t;
    t->Reset_Click();
    t.spinAndStop(6, 3, 1);
    QCOMPARE(t->cellTopA, QStringLiteral("時計"));
    QCOMPARE(t->cellMidA, QStringLiteral("ちょう"));
    QCOMPARE(t->cellBotA, QStringLiteral("地球"));
    QCOMPARE(t->cellMidB, QStringLiteral("電話"));
    QCOMPARE(t->cellTopC, QStringLiteral("テレビ"));
    t->Reset_Click();
    t->Start_Click();
    t->Timer1_Timer();
    t->Timer2_Timer();
    QCOMPARE(t->displayedStep(0), 0);
    QCOMPARE(t->displayedStep(1), 4);
    // The first tick after start-up shows step 1.
    Table fresh;
    fresh->Reset_Click();
    fresh->Start_Click();
    fresh->Timer3_Timer();
    QCOMPARE(fresh->displayedStep(2), 1);
}

void TestRound::payout_data()
{
    // Bets: A for ALL COINS, or the number of one-coin clicks (lines in the
    // order middle, top, bottom, rising, falling). Coins of earlier one-coin
    // clicks stay taken; a win pays on top of the total before the last one.
    QTest::addColumn<QString>("bets");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("pay");
    QTest::addColumn<QString>("total");
    QTest::addColumn<int>("wins");
    QTest::newRow("globe on the middle line") << "1" << 5 << 5 << 5 << 1000 << "1100" << 1;
    QTest::newRow("three rows on 98") << "3" << 1 << 1 << 1 << 550 << "648" << 3; // 100 + 50 + 400
    QTest::newRow("top and middle rows") << "2" << 0 << 0 << 0 << 450 << "549" << 2; // apples, clocks
    QTest::newRow("ALL COINS, falling 100") << "A" << 1 << 2 << 3 << 100 << "200" << 1;
    QTest::newRow("falling 2,3,4") << "A" << 2 << 3 << 4 << 600 << "700" << 1;
    QTest::newRow("rising 4,3,2") << "A" << 4 << 3 << 2 << 600 << "700" << 1;
    QTest::newRow("three rows at step 4") << "A" << 4 << 4 << 4 << 2400 << "2500" << 3;
    QTest::newRow("unbet diagonal pays nothing") << "1" << 2 << 3 << 4 << 0 << "99" << 0;
    QTest::newRow("losing spin") << "2" << 0 << 1 << 3 << 0 << "98" << 0;
}

void TestRound::payout()
{
    QFETCH(QString, bets);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, pay);
    QFETCH(QString, total);
    QFETCH(int, wins);
    Table t;
    const int clicks = bets == QLatin1String("A") ? 1 : bets.toInt();
    for (int i = 0; i < clicks; ++i)
        bets == QLatin1String("A") ? t->Allcoin_Click() : t->Reset_Click();
    const qint16 base = t->coinBase;
    t.spinAndStop(a, b, c);
    QCOMPARE(t->spinPay, qint16(pay));
    QCOMPARE(t->Label11->text(), QString::number(pay));
    QCOMPARE(t->Label1->text(), total);
    if (pay == 0)
        QCOMPARE(t->coinBase, base); // a loss leaves the bet figures
    QCOMPARE(t.betState(), QStringLiteral("wwwww|00000"));
    QCOMPARE(t.buttons(), QStringLiteral("1101111"));
    const QList<int> sounds = QList<int>(clicks, 1) + QList<int>{3, 3, 3} + QList<int>(wins, 2);
    QCOMPARE(t.fake.sounds, sounds);
}

void TestRound::stopOrderCAB()
{
    Table t;
    t->Allcoin_Click();
    t->Start_Click();
    t.tickTo(0, 4);
    t.tickTo(1, 4);
    t.tickTo(2, 4);
    t->StopC_Click();
    QCOMPARE(t.betState(), QStringLiteral("RRRRR|11111"));
    t->StopA_Click();
    QVERIFY(!t->ENDS->isEnabled());
    QCOMPARE(t->Label1->text(), QStringLiteral("95"));
    t->StopB_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("2500"));
    QCOMPARE(t.fake.sounds.count(2), 3);
    QCOMPARE(t.betState(), QStringLiteral("wwwww|00000"));
}

void TestRound::stopOnStandingReel()
{
    Table t;
    t->Reset_Click();
    t.spinAndStop(5, 5, 5);
    const QString total = t->Label1->text();
    t.fake.sounds.clear();
    t->StopB_Click(); // still enabled after the spin
    QCOMPARE(t.fake.sounds, QList<int>{3});
    QCOMPARE(t->Label1->text(), total); // no line is visible, nothing is paid twice
    QCOMPARE(t.buttons(), QStringLiteral("1101111"));
    // While other reels spin, a standing reel's Stop only sounds.
    t->Reset_Click();
    t->Start_Click();
    t->StopA_Click();
    t.fake.sounds.clear();
    t->StopA_Click();
    QCOMPARE(t.fake.sounds, QList<int>{3});
    QVERIFY(t->reelRunningB && t->reelRunningC);
    QVERIFY(!t->Reset->isEnabled());
}

void TestRound::stopCMovesFocusTwoOn()
{
    Table t;
    t.show();
    t->Reset_Click();
    t->Start_Click();
    t->StopA->setFocus();
    t->StopA_Click();
    t->StopB_Click();
    t->StopC_Click();
    // Handled after the handler: still where it was.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(t->StopA));
    QCoreApplication::processEvents();
    // Two on in the tab order, skipping the disabled START: StopB, then Reset.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(t->Reset));

    // A spin ended by StopA leaves the focus alone.
    t->Reset_Click();
    t->Start_Click();
    t->StopB->setFocus();
    t->StopC_Click();
    QCoreApplication::processEvents();
    t->StopB_Click();
    t->StopA_Click();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(t->StopB));
}

void TestRound::winsStopAtTheCap()
{
    Table t;
    t->Label1->setText(QStringLiteral("32000"));
    t->Allcoin_Click();
    t.spinAndStop(4, 4, 4);
    QCOMPARE(t->Label1->text(), QStringLiteral("32767"));
    QCOMPARE(t->Label11->text(), QStringLiteral("2400"));
    QCOMPARE(t->spinPay, qint16(2400));
    // Play goes on from the cap.
    t->Allcoin_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("32762"));
    t.spinAndStop(4, 4, 4);
    QCOMPARE(t->Label1->text(), QStringLiteral("32767"));
}

void TestRound::closingPaths()
{
    // Each path alone ends the program once, saving the colours (table menu
    // tests); here: no handler runs twice, and a close in the middle of a spin.
    {
        Table t;
        t->ENDS_Click();
        t->ENDS_Click();
        t->close();
        QCOMPARE(t.fake.endCount, 1);
    }
    {
        Table t;
        t->Allcoin_Click();
        t->Start_Click();
        t->close();
        QCOMPARE(t.fake.endCount, 1);
        QVERIFY(!t->Timer1->isTicking());
    }
}

void TestRound::randomisedPlayKeepsTheBooks()
{
    Table t;
    QRandomGenerator rng(20261207);
    int expected = 100;
    for (int round = 0; round < 4000; ++round) {
        QVERIFY(t->Reset->isEnabled() || t->Allcoin->isEnabled() || expected == 0);
        if (expected == 0)
            t->Label1->setText(QString::number(expected = 100 + rng.bounded(50)));
        // Bet: ALL COINS or one to five single coins.
        int bet = 0;
        int base = expected;
        if (rng.bounded(3) == 0 && expected >= 5) {
            t->Allcoin_Click();
            bet = 5;
            base = expected;
            expected -= 5;
        } else {
            const int clicks = 1 + rng.bounded(5);
            for (int i = 0; i < clicks && expected > 0; ++i) {
                base = expected;
                t->Reset_Click();
                --expected;
                ++bet;
            }
        }
        QCOMPARE(t->Label1->text().toInt(), expected);
        // Start by mouse or by any key; stop by buttons or the space bar.
        if (rng.bounded(2))
            t->Start_Click();
        else
            t->Form_KeyPress('s');
        QVERIFY(t->reelRunningA && t->reelRunningB && t->reelRunningC);
        for (int i = 0, n = rng.bounded(30); i < n; ++i) {
            switch (rng.bounded(3)) {
            case 0: t->Timer1_Timer(); break;
            case 1: t->Timer2_Timer(); break;
            default: t->Timer3_Timer(); break;
            }
        }
        int stops = 0;
        while (t->reelRunningA || t->reelRunningB || t->reelRunningC) {
            if (rng.bounded(2)) {
                t->Form_KeyPress(' ');
            } else {
                switch (rng.bounded(3)) {
                case 0: t->StopA_Click(); break;
                case 1: t->StopB_Click(); break;
                default: t->StopC_Click(); break;
                }
            }
            t->Timer2_Timer();
            t->Timer3_Timer();
            QVERIFY(++stops < 100);
        }
        // What the grid shows decides the pay; check it independently.
        int win = 0;
        const int steps[3] = {t->displayedStep(0), t->displayedStep(1), t->displayedStep(2)};
        auto sym = [&](int reel, int row) { return ((steps[reel] - row) % 7 + 7) % 7; };
        const int lineRows[5][3] = {{1, 1, 1}, {0, 0, 0}, {2, 2, 2}, {2, 1, 0}, {0, 1, 2}}; // lamp order
        const int pays[7] = {50, 100, 600, 800, 1000, 200, 400};
        for (int lamp = 0; lamp < bet && lamp < 5; ++lamp) {
            const int *rows = lineRows[lamp];
            if (sym(0, rows[0]) == sym(1, rows[1]) && sym(1, rows[1]) == sym(2, rows[2]))
                win += pays[sym(0, rows[0])];
        }
        if (win > 0)
            expected = std::min(32767, base + win);
        QCOMPARE(t->Label1->text().toInt(), expected);
        QCOMPARE(t->Label11->text().toInt(), win);
        QVERIFY(expected >= 0 && expected <= 32767);
        QCOMPARE(t.betState(), QStringLiteral("wwwww|00000"));
        QVERIFY(t->Allcoin->isEnabled() && t->Reset->isEnabled() && t->ENDS->isEnabled());
    }
}

QTEST_MAIN(TestRound)
#include "test_round.moc"
