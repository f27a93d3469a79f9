// A ranking game: the countdown, the ranking check and the way back to the
// table through the name entry and the score window.

#include "game/globals.h"
#include "ranking/inigw.h"
#include "ranking/nameinput_window.h"
#include "ranking/rank_check.h"
#include "ranking/score_window.h"
#include "settings/ansi.h"
#include "table_fixture.h"
#include "ui/ctl_digital.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QtTest>

namespace {
QString dataFile(const FakePlatform &fake)
{
    return QDir(fake.dir).filePath(QStringLiteral("data.ini"));
}

void writeRanking(const FakePlatform &fake, const QList<QPair<QString, QString>> &entries)
{
    QByteArray bytes;
    for (int i = 0; i < entries.size(); ++i) {
        bytes += toAnsi(QStringLiteral("[%1位]\r\n").arg(i + 1));
        bytes += toAnsi(QStringLiteral("name=%1\r\nscore=%2\r\n").arg(entries[i].first, entries[i].second));
    }
    QFile f(dataFile(fake));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void writeStandardRanking(const FakePlatform &fake)
{
    writeRanking(fake, {{"AAA", "500"}, {"BBB", "400"}, {"CCC", "300"}, {"DDD", "200"}, {"EEE", "100"}});
}

QByteArray fileBytes(const FakePlatform &fake)
{
    QFile f(dataFile(fake));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

template <typename T>
T *openWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(w); found && found->isVisible())
            return found;
    }
    return nullptr;
}

void closeSecondaryWindows()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<nameinput *>(w) || qobject_cast<Score *>(w))
            delete w;
    }
}

bool menusEnabled(const Table &t)
{
    bool all = true;
    for (QMenu *m : {t->データ, t->モード, t->カスタマイズ, t->ヘルプ})
        all = all && m->menuAction()->isEnabled();
    return all;
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
    void rankingModeEnablesNoButton();
    void normalModeKeepsCoins();
    void rankCheck_data();
    void rankCheck();
    void newBestMovesEveryoneDown();
    void signedComparison();
    void unreadableRanksCountAsEmpty();
    void noPlaceLeavesTableIdle();
    void endToEndWithNameEntry();
    void scoreWindowFromTheMenu();
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
    QVERIFY(!t->データ->menuAction()->isEnabled());
    QVERIFY(!t->モード->isEnabled());
    QVERIFY(!t->カスタマイズ->menuAction()->isEnabled());
    QVERIFY(!t->ヘルプ->menuAction()->isEnabled());
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
    QVERIFY(t->countdownRemainingMs() > 900);
    // A timer that fires early waits out the rest of the second.
    t.fake.ticks += 400;
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("59"));
    QVERIFY(t->countdownRunning());
    QVERIFY(t->countdownRemainingMs() <= 600);
    t.fake.ticks += 600;
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("58"));
    // A late second is not made up for: each second starts when it is shown.
    t.fake.ticks += 1700;
    t->countdownTimeout();
    QCOMPARE(t->Digital1->text(), QStringLiteral("57"));
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
    QVERIFY(!menusEnabled(t));
    runSeconds(t, 1);
    QCOMPARE(t->Digital1->text(), QStringLiteral("0"));
    QCOMPARE(t->timeLeft, 0);
    QVERIFY(!t->countdownRunning());
    QVERIFY(menusEnabled(t));
    // 100 ties the fifth score: no place.
    QVERIFY(t->isEnabled());
    QVERIFY(!openWindow<nameinput>());
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
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("after");
    QTest::newRow("300 takes 4th") << "300" << "4位"
                                   << "AAA:500 BBB:400 CCC:300 DDD:300 DDD:200";
    QTest::newRow("101 takes 5th") << "101" << "5位"
                                   << "AAA:500 BBB:400 CCC:300 DDD:200 EEE:101";
    QTest::newRow("501 takes 1st") << "501" << "1位"
                                   << "AAA:501 AAA:500 BBB:400 CCC:300 DDD:200";
    QTest::newRow("100 ties 5th") << "100" << ""
                                  << "AAA:500 BBB:400 CCC:300 DDD:200 EEE:100";
    QTest::newRow("0 earns nothing") << "0" << ""
                                     << "AAA:500 BBB:400 CCC:300 DDD:200 EEE:100";
}

void RankingGameTest::rankCheck()
{
    QFETCH(QString, result);
    QFETCH(QString, section);
    QFETCH(QString, after);
    Table t;
    writeStandardRanking(t.fake);
    const QByteArray before = fileBytes(t.fake);
    RankSection = QStringLiteral("unchanged");
    t->Label1->setText(result);
    t->CheckRank();
    QCOMPARE(ranking(t.fake), after);
    if (section.isEmpty()) {
        QCOMPARE(fileBytes(t.fake), before);
        QCOMPARE(RankSection, QStringLiteral("unchanged"));
        QVERIFY(t->isEnabled());
        QVERIFY(!openWindow<nameinput>());
    } else {
        QCOMPARE(RankSection, section);
        QVERIFY(!t->isEnabled());
        QVERIFY(openWindow<nameinput>());
    }
}

void RankingGameTest::newBestMovesEveryoneDown()
{
    Table t;
    writeStandardRanking(t.fake);
    t->Label1->setText(QStringLiteral("0501"));
    t->CheckRank();
    // The score is stored as the caption text; the file keeps its layout.
    const QByteArray expected = toAnsi(QStringLiteral(
        "[1位]\r\nname=AAA\r\nscore=0501\r\n[2位]\r\nname=AAA\r\nscore=500\r\n[3位]\r\nname=BBB\r\nscore=400\r\n"
        "[4位]\r\nname=CCC\r\nscore=300\r\n[5位]\r\nname=DDD\r\nscore=200\r\n"));
    QCOMPARE(fileBytes(t.fake), expected);
}

void RankingGameTest::signedComparison()
{
    Table t;
    writeRanking(t.fake, {{"AAA", "500"}, {"BBB", "400"}, {"CCC", "300"}, {"DDD", "200"}, {"NEG", "-5"}});
    t->Label1->setText(QStringLiteral("0"));
    t->CheckRank();
    QCOMPARE(RankSection, QStringLiteral("5位"));
    QCOMPARE(ranking(t.fake), QStringLiteral("AAA:500 BBB:400 CCC:300 DDD:200 NEG:0"));
}

void RankingGameTest::unreadableRanksCountAsEmpty()
{
    {
        // No ranking file at all: the first rank is free.
        Table t;
        t->Label1->setText(QStringLiteral("7"));
        t->CheckRank();
        QCOMPARE(RankSection, QStringLiteral("1位"));
        QCOMPARE(GetIni(QStringLiteral("1位"), QStringLiteral("score"), QString(), dataFile(t.fake)),
                 QStringLiteral("7"));
    }
    closeSecondaryWindows();
    {
        // A hand-edited third rank with no number in it.
        Table t;
        writeRanking(t.fake, {{"AAA", "500"}, {"BBB", "400"}, {"XXX", "lots"}, {"DDD", ""}, {"EEE", "100"}});
        t->Label1->setText(QStringLiteral("50"));
        t->CheckRank();
        QCOMPARE(RankSection, QStringLiteral("3位"));
        QCOMPARE(ranking(t.fake), QStringLiteral("AAA:500 BBB:400 XXX:50 XXX:lots DDD:"));
    }
}

void RankingGameTest::noPlaceLeavesTableIdle()
{
    Table t;
    writeStandardRanking(t.fake);
    t->Allcoin_Click();
    t->Start_Click();
    t->Label1->setText(QStringLiteral("12"));
    t->CheckRank();
    QVERIFY(t->Reset->isEnabled() && t->Allcoin->isEnabled() && t->ENDS->isEnabled());
    QVERIFY(!t->reelRunningA && !t->reelRunningB && !t->reelRunningC);
    for (VbTimer *timer : {t->Timer1, t->Timer2, t->Timer3})
        QVERIFY(!timer->isTicking());
    QVERIFY(t->isEnabled());
}

void RankingGameTest::endToEndWithNameEntry()
{
    Table t;
    writeStandardRanking(t.fake);
    t->show();
    QVERIFY(QTest::qWaitForWindowExposed(t.w.get()));
    t->ランキングモード_Click();
    // Win 2400 during the game.
    t->Allcoin_Click();
    t.spinAndStop(4, 4, 4);
    QCOMPARE(t->Label1->text(), QStringLiteral("2500"));
    runSeconds(t, 59);
    QCOMPARE(RankSection, QStringLiteral("1位"));
    QVERIFY(!t->isEnabled());
    nameinput *entry = openWindow<nameinput>();
    QVERIFY(entry);
    QVERIFY(QTest::qWaitForWindowExposed(entry));
    // The table ignores keys while the name is entered.
    const QList<int> soundsBefore = t.fake.sounds;
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Return, Qt::Key_Down, Qt::Key_Return,
                        Qt::Key_Return, Qt::Key_Return})
        QTest::keyClick(entry->windowHandle(), key);
    QCOMPARE(t.fake.sounds, soundsBefore);
    QTRY_VERIFY(openWindow<Score>());
    Score *score = openWindow<Score>();
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
    Score *score = openWindow<Score>();
    QVERIFY(score);
    score->close();
    QVERIFY(t->isEnabled());
}

QTEST_MAIN(RankingGameTest)
#include "test_ranking_game.moc"
