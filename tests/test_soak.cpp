// A long run through the handlers: 100,000 rounds and 1,000 ranking games,
// each checked against the game's rules, with the memory the program holds
// measured before and after.

#include "helpers.h"
#include "ranking_play.h"
#include "table_fixture.h"
#include "ranking/rank_check.h"
#include "windows/nameinput_window.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define TIVORAN_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TIVORAN_SANITIZED 1
#endif
#endif

namespace {

// The game's rules, reckoned here apart from its code, so that a wrong pay
// shows. The strip's seven positions show apple, television, telephone,
// house, globe, butterfly and clock; three of one on a bet line pay this.
constexpr int PayOf[7] = {50, 100, 600, 800, 1000, 200, 400};
// The bet lines in the order the lamps light them (middle row, top row,
// bottom row, rising diagonal, falling diagonal), each as the row it takes
// on reels A, B and C: 0 top, 1 middle, 2 bottom.
constexpr int LineRows[5][3] = {{1, 1, 1}, {0, 0, 0}, {2, 2, 2}, {2, 1, 0}, {0, 1, 2}};
// The coin total and the pay are counted in 16 bits and stop there.
constexpr int Cap = 32767;

// What a spin that stopped the reels at these steps pays on the first
// `lines` lines: a reel at step k shows position k in its top row, and one
// less in each row below.
int reckonedPay(const int (&steps)[3], int lines)
{
    int pay = 0;
    for (int line = 0; line < lines; ++line) {
        int shown[3];
        for (int reel = 0; reel < 3; ++reel)
            shown[reel] = ((steps[reel] - LineRows[line][reel]) % 7 + 7) % 7;
        if (shown[0] == shown[1] && shown[1] == shown[2])
            pay += PayOf[shown[0]];
    }
    return std::min(pay, Cap);
}

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = f.readAll().simplified().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void soak();
};

void TestSoak::soak()
{
    // 100,000 rounds and 1,000 ranking games through the handlers. Built
    // with AddressSanitizer every step is several times slower and memory
    // is not given back the same way, so there a fifth of the rounds and of
    // the ranking games are played and the memory figure is not judged.
#ifdef TIVORAN_SANITIZED
    const int rounds = 20000, rankingGames = 200;
#else
    const int rounds = 100000, rankingGames = 1000;
#endif
    Table t;
    RankingWindowsCloser closer;
    writeStandardRanking(t.fake);
    QRandomGenerator rng(20261208);

    auto oneRound = [&] {
        if (t->coinTotal() < 5)
            t->Label1->setText(QStringLiteral("100"));
        const int before = t->coinTotal();
        // Five lines at once, or one to five single coins; the coin total
        // before the last bet action is what a win is added to.
        int bet = 0, base = 0;
        if (rng.bounded(2) == 0) {
            t->Allcoin_Click();
            bet = 5;
            base = before;
        } else {
            bet = 1 + int(rng.bounded(5));
            for (int i = 0; i < bet; ++i)
                t->Reset_Click();
            base = before - (bet - 1);
        }
        QCOMPARE(t->coinTotal(), before - bet);
        QCOMPARE(int(t->coinBase), base);
        const int steps[3] = {int(rng.bounded(7)), int(rng.bounded(7)), int(rng.bounded(7))};
        t.spinAndStop(steps[0], steps[1], steps[2]);
        // The books: a losing spin keeps the stake, a win is added to the
        // total before the last bet action, up to the cap.
        const int pay = reckonedPay(steps, bet);
        QCOMPARE(t->Label11->text(), QString::number(pay));
        QCOMPARE(t->coinTotal(), pay > 0 ? std::min(Cap, base + pay) : before - bet);
        QCOMPARE(t.betState(), QStringLiteral("wwwww|00000"));
        QVERIFY(t->Reset->isEnabled() && t->Allcoin->isEnabled() && !t->Start->isEnabled());
        // What the event loop would do between two rounds (the focus moves
        // that the last Stop queued, repaints); the fake desktop's record of
        // the sounds played would grow with every round.
        QCoreApplication::processEvents();
        t.fake.sounds.clear();
    };

    // The top five as the rules keep them: a result placed before the first
    // smaller score, everything below moving down one.
    QList<int> model{500, 400, 300, 200, 100};
    auto oneRankingGame = [&] {
        const int score = int(rng.bounded(700));
        t->RankSection.clear();
        rankingGame(t, QString::number(score));
        int place = 0;
        while (place < 5 && model[place] >= score)
            ++place;
        if (place < 5) {
            model.insert(place, score);
            model.removeLast();
            QCOMPARE(t->RankSection, rankSectionName(place + 1));
            QVERIFY(!openWindows<nameinput>().isEmpty());
        } else {
            QVERIFY(t->RankSection.isEmpty());
        }
        finishRankingWindows();
        QVERIFY(t->isEnabled());
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(rankValue(t.fake.dataIni(), k, "score"), QString::number(model[k - 1]));
        t->ノーマルモード_Click();
    };

    // Warm up, so that caches and the allocator have settled.
    for (int i = 0; i < 2000; ++i) {
        oneRound();
        if (QTest::currentTestFailed())
            return;
    }
    for (int i = 0; i < 20; ++i)
        oneRankingGame();
    const long rssBefore = residentKiB();
    for (int i = 0, games = 0; i < rounds; ++i) {
        oneRound();
        if (QTest::currentTestFailed())
            return;
        if (games < rankingGames && i % (rounds / rankingGames) == 0) {
            oneRankingGame();
            if (QTest::currentTestFailed())
                return;
            ++games;
        }
    }
    const long rssAfter = residentKiB();
    qInfo("resident memory %ld KiB before, %ld KiB after %d rounds and %d ranking games", rssBefore, rssAfter,
          rounds, rankingGames);
#ifndef TIVORAN_SANITIZED
    QVERIFY2(rssAfter - rssBefore < 1024, "memory grew by 1 MiB or more");
#endif
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
