// A ranking game: the countdown, the ranking check and the way back to the
// table through the name entry and the score window.

#include "file_conditions.h"
#include "helpers.h"
#include "ranking/inigw.h"
#include "windows/nameinput_window.h"
#include "ranking/rank_check.h"
#include "ranking/name_entry_rules.h"
#include "windows/score_window.h"
#include "ranking_play.h"
#include "table_fixture.h"
#include "ui/ctl_digital.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QtTest>

namespace {
QString dataFile(const FakePlatform &fake)
{
    return QDir(fake.dir).filePath(QStringLiteral("data.ini"));
}

void writeStandardRanking(const FakePlatform &fake)
{
    putFile(dataFile(fake), standardRanking());
}

// Name and score of each rank, "name:score" joined by blanks.
QString ranking(const FakePlatform &fake)
{
    QStringList rows;
    for (int k = 1; k <= 5; ++k) {
        rows << GetIni(rankSectionName(k), QStringLiteral("name"), QString(), dataFile(fake)) + QLatin1Char(':')
                    + GetIni(rankSectionName(k), QStringLiteral("score"), QString(), dataFile(fake));
    }
    return rows.join(QLatin1Char(' '));
}

bool nameEntryOpen()
{
    return !openWindows<nameinput>().isEmpty();
}

void closeSecondaryWindows()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<nameinput *>(w) || qobject_cast<Score *>(w))
            delete w;
    }
}

// Each of the four menus as '1' (enabled) or '0' (disabled), both as a menu
// and as its item on the menu bar.
QString menuState(const Table &t)
{
    QString s;
    for (QMenu *m : {t->データ, t->モード, t->カスタマイズ, t->ヘルプ}) {
        const bool on = m->isEnabled();
        s += on != m->menuAction()->isEnabled() ? QLatin1Char('?') : (on ? QLatin1Char('1') : QLatin1Char('0'));
    }
    return s;
}

// Lets the countdown see `seconds` full seconds pass on the fake clock.
void runSeconds(Table &t, int seconds)
{
    for (int i = 0; i < seconds && t->countdownRunning(); ++i) {
        t.fake.ticks += 1000;
        t->countdownTimeout();
    }
}
} // namespace

class RankingGameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { closeSecondaryWindows(); }
    void rankingModeStartsTheCountdown();
    void secondsAreMeasuredOnTheClock();
    void clockWrapAround();
    void endOfTheGame();
    void timeRunsOutWhileSpinning();
    void openRoundPaysOntoTheRankingGame_data();
    void openRoundPaysOntoTheRankingGame();
    void interruptedSpinIsNeverPaid();
    void unreadableRankingIsTold();
    void rankingModeEnablesNoButton();
    void normalModeKeepsCoins();
    void rankCheck_data();
    void rankCheck();
    void newBestMovesEveryoneDown();
    void endToEndWithNameEntry();
    void scoreWindowFromTheMenu();
    void onlyTheFirstNameEntryOfARunHasACursor();
};

void RankingGameTest::rankingModeStartsTheCountdown()
{
    Table t;
    t->Label1->setText(QStringLiteral("500"));
    t->ランキングモード_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("100"));
    QVERIFY(!t->ノーマルモード->isChecked());
    QVERIFY(t->ランキングモード->isChecked());
    QVERIFY(!t->Digital1->isHidden());
    QCOMPARE(t->Digital1->text(), QStringLiteral("59"));
    QCOMPARE(t->timeLeft, 59);
    QVERIFY(t->rankingMode);
    QCOMPARE(menuState(t), QStringLiteral("0000"));
    QVERIFY(t->countdownRunning());
    // The handler has returned; the table plays on while the clock runs.
    t->Allcoin_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("95"));
}

void RankingGameTest::secondsAreMeasuredOnTheClock()
{
    Table t;
    t.fake.ticks = 5000;
    t->ランキングモード_Click();
    // The timer is set for a whole second. (How much of it is left by now
    // depends on how fast this machine got here.)
    const QTimer *timer = t->findChild<QTimer *>(QStringLiteral("countdown"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(t->countdownRemainingMs() <= 1000);
    // A timer that fires early waits out the rest of the second.
    t.fake.ticks += 400;
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("59"));
    QVERIFY(t->countdownRunning());
    QCOMPARE(timer->interval(), 600);
    QVERIFY(t->countdownRemainingMs() <= 600);
    t.fake.ticks += 600;
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("58"));
    QCOMPARE(timer->interval(), 1000);
    // A late second is not made up for: each second starts when it is shown.
    t.fake.ticks += 1700;
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("57"));
    QCOMPARE(timer->interval(), 1000);
    t.fake.ticks += 999;
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("57"));
}

void RankingGameTest::clockWrapAround()
{
    Table t;
    t.fake.ticks = 0xFFFFFE00u;
    t->ランキングモード_Click();
    t.fake.ticks += 300; // still before the wrap
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("59"));
    t.fake.ticks += 699; // wraps, 999 ms in
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("59"));
    t.fake.ticks += 1;
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("58"));
}

void RankingGameTest::endOfTheGame()
{
    Table t;
    writeStandardRanking(t.fake);
    t->ランキングモード_Click();
    runSeconds(t, 58);
    QCOMPARE(t->Digital1->text(), QStringLiteral("1"));
    QCOMPARE(menuState(t), QStringLiteral("0000"));
    runSeconds(t, 1);
    QCOMPARE(t->Digital1->text(), QStringLiteral("0"));
    QCOMPARE(t->timeLeft, 0);
    QVERIFY(!t->countdownRunning());
    QCOMPARE(menuState(t), QStringLiteral("1111"));
    // 100 ties the fifth score: no place.
    QVERIFY(t->isEnabled());
    QVERIFY(!nameEntryOpen());
    QVERIFY(t->ランキングモード->isChecked());
    QVERIFY(!t->Digital1->isHidden());
}

void RankingGameTest::timeRunsOutWhileSpinning()
{
    Table t;
    writeStandardRanking(t.fake);
    t->ランキングモード_Click();
    t->Allcoin_Click();
    t->Start_Click();
    t->Timer1_Timer();
    t->StopA_Click();
    t.tickTo(1, 4);
    t.tickTo(2, 4);
    runSeconds(t, 59);
    QVERIFY(!t->reelRunningA && !t->reelRunningB && !t->reelRunningC);
    for (VbTimer *timer : {t->Timer1, t->Timer2, t->Timer3})
        QCOMPARE(timer->interval(), 0);
    QCOMPARE(t->displayedStep(1), 4);
    // Nothing paid; the bet is lost and the bet lamps stay lit.
    QCOMPARE(t->Label1->text(), QStringLiteral("95"));
    QCOMPARE(t.betState(), QStringLiteral("RRRRR|11111"));
    QVERIFY(t->Reset->isEnabled() && t->Allcoin->isEnabled() && t->ENDS->isEnabled());
}

void RankingGameTest::openRoundPaysOntoTheRankingGame_data()
{
    QTest::addColumn<bool>("spinning");
    QTest::newRow("reels spinning") << true;
    QTest::newRow("bet lit, not started") << false;
}

void RankingGameTest::openRoundPaysOntoTheRankingGame()
{
    // 3000 coins in free play, all five lines bet; the ranking game starts
    // with that round still open. Its win goes onto the ranking game's 100,
    // so the score holds nothing from before the ranking game.
    QFETCH(bool, spinning);
    Table t;
    writeStandardRanking(t.fake);
    t->Label1->setText(QStringLiteral("3000"));
    t->Allcoin_Click();
    if (spinning)
        t->Start_Click();
    t->ランキングモード_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("100"));
    QCOMPARE(t.betState(), QStringLiteral("RRRRR|11111"));
    if (!spinning)
        t->Start_Click();
    t.tickTo(0, 4);
    t.tickTo(1, 4);
    t.tickTo(2, 4);
    t->StopA_Click();
    t->StopB_Click();
    t->StopC_Click();
    QCOMPARE(t->Label11->text(), QStringLiteral("2400"));
    QCOMPARE(t->Label1->text(), QStringLiteral("2500"));
    runSeconds(t, 59);
    QCOMPARE(ranking(t.fake), QStringLiteral("AAA:2500 AAA:500 BBB:400 CCC:300 DDD:200"));
}

void RankingGameTest::interruptedSpinIsNeverPaid()
{
    Table t;
    writeStandardRanking(t.fake);
    t.show();
    t->ランキングモード_Click();
    // A win: the reels' last stops are now three globes in the top row.
    t->Allcoin_Click();
    t.spinAndStop(4, 4, 4);
    QCOMPARE(t->Label1->text(), QStringLiteral("2500"));
    // The next spin is still running when the time runs out.
    t->Allcoin_Click();
    t->Start_Click();
    t->Timer1_Timer();
    runSeconds(t, 59);
    QCOMPARE(t->Label1->text(), QStringLiteral("2495"));
    QCOMPARE(ranking(t.fake), QStringLiteral("AAA:2495 AAA:500 BBB:400 CCC:300 DDD:200"));
    finishRankingWindows();
    QVERIFY(t->isEnabled());
    // Nothing can start or stop that spin now.
    QCOMPARE(t.buttons(), QStringLiteral("1100001"));
    t.fake.sounds.clear();

    // A Stop after the ranking: a click finds its button disabled, the
    // handler itself (as the space key would run it) stops nothing and pays
    // nothing, and the bet of the interrupted spin is cleared.
    QTest::mouseClick(t->StopA, Qt::LeftButton);
    QVERIFY(t.fake.sounds.isEmpty());
    t->StopA_Click();
    QCOMPARE(t.fake.sounds, QList<int>{3});
    QCOMPARE(t->Label1->text(), QStringLiteral("2495"));
    QCOMPARE(t->Label11->text(), QStringLiteral("0"));
    QCOMPARE(t.betState(), QStringLiteral("wwwww|00000"));
    QCOMPARE(ranking(t.fake), QStringLiteral(":2495 AAA:500 BBB:400 CCC:300 DDD:200"));

    // Any other first action after the ranking also starts a clean round:
    // a key press pays nothing, and a bet lights the first lamp alone.
    for (int action = 0; action < 2; ++action) {
        Table u;
        writeStandardRanking(u.fake);
        u->ランキングモード_Click();
        u->Allcoin_Click();
        u.spinAndStop(4, 4, 4);
        u->Allcoin_Click();
        u->Start_Click();
        runSeconds(u, 59);
        finishRankingWindows();
        QCOMPARE(u.buttons(), QStringLiteral("1100001"));
        if (action == 0) {
            u->Form_KeyPress(' ');
            QCOMPARE(u->Label1->text(), QStringLiteral("2495"));
            QCOMPARE(u.betState(), QStringLiteral("wwwww|00000"));
        } else {
            u->Reset_Click();
            QCOMPARE(u->Label1->text(), QStringLiteral("2494"));
            QCOMPARE(u.betState(), QStringLiteral("Rwwww|00010"));
            u.spinAndStop(1, 2, 3);
            QCOMPARE(u->Label1->text(), QStringLiteral("2494"));
        }
        QCOMPARE(u.fake.sounds.count(2), 3); // the three lines of the win, no more
    }
}

void RankingGameTest::unreadableRankingIsTold()
{
    // A ranking that cannot be read: whether the result places is not
    // known, and nothing could be stored. No name entry opens; the player
    // is told, and the table is usable again.
    Table t;
    writeStandardRanking(t.fake);
    // A folder anyone may write to, a file nobody may read.
    const QFileDevice::Permissions folder = QFile::permissions(t.fake.dir);
    QVERIFY(QFile::setPermissions(t.fake.dir, QFileDevice::Permissions(0x7777)));
    QVERIFY(QFile::setPermissions(dataFile(t.fake), QFileDevice::Permissions()));
    {
        WithoutFilePrivileges asAPlayer;
        QFile probe(dataFile(t.fake));
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("file permissions are not enforced here");
        rankingGame(t, QStringLiteral("50"));
    }
    QVERIFY(QFile::setPermissions(dataFile(t.fake), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(QFile::setPermissions(t.fake.dir, folder));
    QVERIFY(!nameEntryOpen());
    QVERIFY(t->RankSection.isEmpty());
    QCOMPARE(t.fake.messages.size(), 1);
    QCOMPARE(t.fake.messages[0].text, QStringLiteral("  ランキングに記録できませんでした"));
    QCOMPARE(t.fake.messages[0].title, QStringLiteral("Tivoran"));
    QVERIFY(t->isEnabled());
    QCOMPARE(fileBytes(dataFile(t.fake)), standardRanking());
}

void RankingGameTest::rankingModeEnablesNoButton()
{
    Table t;
    writeStandardRanking(t.fake);
    t->Label1->setText(QStringLiteral("0"));
    t->Reset_Click();
    QVERIFY(!t->Reset->isEnabled() && !t->Allcoin->isEnabled());
    t->ランキングモード_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("100"));
    QVERIFY(!t->Reset->isEnabled() && !t->Allcoin->isEnabled());
    runSeconds(t, 59);
    QVERIFY(t->Reset->isEnabled() && t->Allcoin->isEnabled());
}

void RankingGameTest::normalModeKeepsCoins()
{
    Table t;
    writeStandardRanking(t.fake);
    t->ランキングモード_Click();
    t->Reset_Click();
    runSeconds(t, 59);
    t->ノーマルモード_Click();
    QVERIFY(t->ノーマルモード->isChecked());
    QVERIFY(!t->ランキングモード->isChecked());
    QVERIFY(t->Digital1->isHidden());
    QCOMPARE(t->Label1->text(), QStringLiteral("99"));
    // A second ranking game starts afresh.
    t->ランキングモード_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("100"));
    QCOMPARE(t->Digital1->text(), QStringLiteral("59"));
}

void RankingGameTest::rankCheck_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: there is none
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("after");
    const QByteArray standard = standardRanking();
    QTest::newRow("300 takes 4th") << standard << "300" << "4位"
                                   << "AAA:500 BBB:400 CCC:300 DDD:300 DDD:200";
    QTest::newRow("101 takes 5th") << standard << "101" << "5位"
                                   << "AAA:500 BBB:400 CCC:300 DDD:200 EEE:101";
    QTest::newRow("501 takes 1st") << standard << "501" << "1位"
                                   << "AAA:501 AAA:500 BBB:400 CCC:300 DDD:200";
    QTest::newRow("100 ties 5th") << standard << "100" << ""
                                  << "AAA:500 BBB:400 CCC:300 DDD:200 EEE:100";
    QTest::newRow("0 earns nothing") << standard << "0" << ""
                                     << "AAA:500 BBB:400 CCC:300 DDD:200 EEE:100";
    QTest::newRow("signed: 0 beats -5")
        << rankingBytes({{"AAA", "500"}, {"BBB", "400"}, {"CCC", "300"}, {"DDD", "200"}, {"NEG", "-5"}}) << "0"
        << "5位" << "AAA:500 BBB:400 CCC:300 DDD:200 NEG:0";
    // A missing file or a hand-edited rank with no number in it: empty ranks.
    QTest::newRow("no ranking file") << QByteArray() << "7" << "1位" << ":7 : : : :";
    QTest::newRow("no number in rank 3")
        << rankingBytes({{"AAA", "500"}, {"BBB", "400"}, {"XXX", "lots"}, {"DDD", ""}, {"EEE", "100"}}) << "50"
        << "3位" << "AAA:500 BBB:400 XXX:50 XXX:lots DDD:";
    // No spin to interrupt: the round stays as it was.
    const char *unchanged = "AAA:500 BBB:400 CCC:300 DDD:200 EEE:100";
    QTest::newRow("bet lit, not spun") << standard << "50" << "" << unchanged;
    QTest::newRow("round over by the Stops") << standard << "50" << "" << unchanged;
}

void RankingGameTest::rankCheck()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, result);
    QFETCH(QString, section);
    QFETCH(QString, after);
    Table t;
    if (!file.isEmpty())
        putFile(dataFile(t.fake), file);
    t->RankSection = QStringLiteral("unchanged");
    // The check leaves an idle table first, whatever was going on.
    const QByteArray tag = QTest::currentDataTag();
    t->Allcoin_Click();
    if (!tag.startsWith("bet lit"))
        t->Start_Click();
    if (tag.startsWith("round over")) {
        t->StopA_Click();
        t->StopB_Click();
        t->StopC_Click();
    }
    t->Label1->setText(result);
    t->CheckRank();
    // START and the Stops: a spin it stopped can go on no more, nor be
    // stopped into a payout; without one, they are as they were.
    QCOMPARE(t.buttons().mid(2, 4), tag.startsWith("bet lit") ? "1000" : tag.startsWith("round over") ? "0111" : "0000");
    QCOMPARE(t.betState(), tag.startsWith("round over") ? "wwwww|00000" : "RRRRR|11111");
    for (QWidget *button : std::initializer_list<QWidget *>{t->Reset, t->Allcoin, t->ENDS})
        QVERIFY(button->isEnabledTo(t.w.get())); // whether or not the table is then disabled
    QVERIFY(!t->reelRunningA && !t->reelRunningB && !t->reelRunningC);
    for (VbTimer *timer : {t->Timer1, t->Timer2, t->Timer3})
        QVERIFY(!timer->isTicking());
    QCOMPARE(ranking(t.fake), after);
    if (section.isEmpty()) {
        QCOMPARE(fileBytes(dataFile(t.fake)), file);
        QCOMPARE(t->RankSection, QStringLiteral("unchanged"));
        QVERIFY(t->isEnabled());
        QVERIFY(!nameEntryOpen());
        if (tag.startsWith("bet lit")) { // the bet is spun and paid
            t.spinAndStop(4, 4, 4);
            QCOMPARE(t->Label11->text(), QStringLiteral("2400"));
        }
    } else {
        QCOMPARE(t->RankSection, section);
        QVERIFY(!t->isEnabled());
        QVERIFY(nameEntryOpen());
    }
}

void RankingGameTest::newBestMovesEveryoneDown()
{
    Table t;
    writeStandardRanking(t.fake);
    t->Label1->setText(QStringLiteral("0501"));
    t->CheckRank();
    // The score is stored as the caption text; the file keeps its layout.
    const QByteArray expected = sj(
        "[1位]\r\nname=AAA\r\nscore=0501\r\n[2位]\r\nname=AAA\r\nscore=500\r\n[3位]\r\nname=BBB\r\nscore=400\r\n"
        "[4位]\r\nname=CCC\r\nscore=300\r\n[5位]\r\nname=DDD\r\nscore=200\r\n");
    QCOMPARE(fileBytes(dataFile(t.fake)), expected);
}

void RankingGameTest::endToEndWithNameEntry()
{
    Table t;
    writeStandardRanking(t.fake);
    t.show();
    t->ランキングモード_Click();
    // Win 2400 during the game.
    t->Allcoin_Click();
    t.spinAndStop(4, 4, 4);
    QCOMPARE(t->Label1->text(), QStringLiteral("2500"));
    runSeconds(t, 59);
    QCOMPARE(t->RankSection, QStringLiteral("1位"));
    QVERIFY(!t->isEnabled());
    QVERIFY(nameEntryOpen());
    nameinput *entry = openWindows<nameinput>().first();
    QVERIFY(QTest::qWaitForWindowExposed(entry, kPatienceMs));
    // The table ignores keys while the name is entered.
    const QList<int> soundsBefore = t.fake.sounds;
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Return, Qt::Key_Down, Qt::Key_Return,
                        Qt::Key_Return, Qt::Key_Return})
        QTest::keyClick(entry->windowHandle(), key);
    QCOMPARE(t.fake.sounds, soundsBefore);
    // The last Return ends the entry and opens the score window at once.
    QVERIFY(!openWindows<Score>().isEmpty());
    Score *score = openWindows<Score>().first();
    QCOMPARE(ranking(t.fake), QStringLiteral("CPP:2500 AAA:500 BBB:400 CCC:300 DDD:200"));
    QVERIFY(!t->isEnabled());
    score->Command1_Click();
    QVERIFY(t->isEnabled());
}

void RankingGameTest::scoreWindowFromTheMenu()
{
    Table t;
    writeStandardRanking(t.fake);
    t->スコアランキング_Click();
    QVERIFY(!t->isEnabled());
    QCOMPARE(openWindows<Score>().size(), 1);
    openWindows<Score>().first()->close();
    QVERIFY(t->isEnabled());
}

void RankingGameTest::onlyTheFirstNameEntryOfARunHasACursor()
{
    Table t;
    writeStandardRanking(t.fake);
    for (const char *score : {"450", "460"}) {
        const bool first = t->NameEntryFirstOpen;
        t->Label1->setText(QString::fromLatin1(score));
        t->CheckRank();
        const QList<nameinput *> entries = openWindows<nameinput>();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0]->Label1[0]->backColor() == NameEntry::CursorColour, first);
        QVERIFY2(!t->NameEntryFirstOpen, "opening the entry clears the table's flag");
        entries[0]->close(); // counts as 終, and the score window follows
        QCOMPARE(openWindows<Score>().size(), 1);
        openWindows<Score>()[0]->close();
        flushDeletes();
        QVERIFY(t->isEnabled());
    }
}

QTEST_MAIN(RankingGameTest)
#include "test_ranking_game.moc"
