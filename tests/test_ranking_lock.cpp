// Several copies of the game sharing one ranking file: each change of the
// file holds its lock, so no copy's result is lost to another's write; a
// lock left by a copy that died blocks nobody; and the lock is held for the
// file work only, never while a player types a name.

#include "file_conditions.h"
#include "helpers.h"
#include "ranking_play.h"
#include "ranking/inigw.h"
#include "ranking/nameinput_window.h"
#include "ranking/rank_check.h"
#include "ranking/score_window.h"
#include "table_fixture.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

using namespace std::chrono_literals;

QString dataFile(const FakePlatform &fake)
{
    return QDir(fake.dir).filePath(QStringLiteral("data.ini"));
}

QString lockFile(const FakePlatform &fake)
{
    return dataFile(fake) + QStringLiteral(".lock");
}

QString value(const FakePlatform &fake, int rank, const char *key)
{
    return GetIni(rankSectionName(rank), QString::fromLatin1(key), QString(), dataFile(fake));
}

// Runs rank_race with the given arguments to its end; its exit code, or -1
// when it did not end normally.
int runRace(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TIVORAN_RANK_RACE), args);
    if (!p.waitForStarted(kPatienceMs) || !p.waitForFinished(kPatienceMs))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void closeRankingWindows()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<nameinput *>(w) || qobject_cast<Score *>(w))
            delete w;
    }
}

} // namespace

class RankingLockTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { closeRankingWindows(); }
    void copiesTogetherLoseNoEntry();
    void busyFileIsLeftAlone();
    void deadCopysLockIsTakenOver();
    void lockFromAnotherMachine_data();
    void lockFromAnotherMachine();
    void noLockWhileTheNameIsTyped();
};

void RankingLockTest::copiesTogetherLoseNoEntry()
{
    // Three copies each finish many ranking games at the same time, every
    // one with a result of its own, and write their letter as the name of
    // every rank they earn. Each copy's results rise, so that nearly every
    // game places and writes the file; among them are five results higher
    // than all others, spread over the copies and over the run. Those five
    // must all be there at the end: a copy that wrote the file from what it
    // read before another copy's change would take one of them out for
    // good.
    constexpr int copies = 3, games = 150;
    FakePlatform fake;
    putFile(dataFile(fake), standardRanking());
    QList<QStringList> results(copies);
    for (int g = 0; g < games; ++g) {
        for (int c = 0; c < copies; ++c)
            results[c] << QString::number(1000 + g * copies + c);
    }
    QStringList best;
    for (int j = 0; j < 5; ++j) {
        best.prepend(QString::number(1'000'000 + j));
        results[j % copies][(j + 1) * games / 6] = best.first();
    }
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int c = 0; c < copies; ++c) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(TIVORAN_RANK_RACE),
                 {QStringLiteral("play"), dataFile(fake), QString(QChar(u'A' + c)), results[c].join(',')});
        QVERIFY(p->waitForStarted(kPatienceMs));
        runs.push_back(std::move(p));
    }
    // All ready, then all at once.
    for (auto &p : runs) {
        while (!p->canReadLine())
            QVERIFY(p->waitForReadyRead(kPatienceMs));
        QCOMPARE(p->readLine(), QByteArray("ready\n"));
    }
    for (auto &p : runs) {
        p->write("go\n");
        QVERIFY(p->waitForBytesWritten(kPatienceMs)); // not only when its turn to be waited for comes
    }
    int stored = 0;
    for (auto &p : runs) {
        QVERIFY(p->waitForFinished(kPatienceMs));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        const QList<QByteArray> counts = p->readAllStandardOutput().trimmed().split(' ');
        QCOMPARE(counts.size(), 4);
        QCOMPARE(counts[2], QByteArray("failed")); // every rank earned was stored
        QCOMPARE(counts[3], QByteArray("0"));
        stored += counts[1].toInt();
    }
    // The copies wrote the file all along.
    QVERIFY2(stored >= games, qPrintable(QString::number(stored)));

    // The file holds the best five of everything submitted, each score as it
    // was written.
    QStringList scores, names;
    for (int k = 1; k <= 5; ++k) {
        scores << value(fake, k, "score");
        names << value(fake, k, "name");
    }
    QCOMPARE(scores, best);
    // Each name is one a copy wrote (which rank a name lands on is the
    // game's own affair: it names the rank the check earned).
    for (const QString &name : names)
        QVERIFY2(QStringList({"A", "B", "C"}).contains(name), qPrintable(names.join(' ')));
    // No lock file and no temporary file left behind.
    QCOMPARE(entriesOf(fake.dir), QStringList{"data.ini"});
}

void RankingLockTest::busyFileIsLeftAlone()
{
    FakePlatform fake;
    putFile(dataFile(fake), standardRanking());
    // Another copy is in the middle of its change.
    QLockFile other(lockFile(fake));
    QVERIFY(other.tryLock());

    // The change waits (here not at all) and is then given up: nothing is
    // written, as when a write fails.
    QStringList seen;
    QVERIFY(!UpdateIni(
        dataFile(fake),
        [&](const IniReader &read) {
            seen << read(rankSectionName(2), QStringLiteral("score"));
            return QList<IniChange>{{rankSectionName(1), QStringLiteral("name"), QStringLiteral("ZZZ")}};
        },
        0ms));
    // Decided once, on the file as it is.
    QCOMPARE(seen, QStringList{"400"});
    const RankEntry busy = enterRankScore(dataFile(fake), QStringLiteral("450"), 0ms);
    QCOMPARE(busy.rank, 2);
    QVERIFY(!busy.stored);
    QCOMPARE(fileBytes(dataFile(fake)), standardRanking());
    // The other copy's lock is still its own.
    QVERIFY(other.isLocked());
    QVERIFY(QFile::exists(lockFile(fake)));

    // Once it is done the change goes through and its lock goes too.
    other.unlock();
    const RankEntry free = enterRankScore(dataFile(fake), QStringLiteral("450"), 0ms);
    QCOMPARE(free.rank, 2);
    QVERIFY(free.stored);
    QCOMPARE(value(fake, 2, "score"), QStringLiteral("450"));
    QCOMPARE(value(fake, 3, "score"), QStringLiteral("400"));
    QCOMPARE(entriesOf(fake.dir), QStringList{"data.ini"});
    // A result that earns nothing takes and leaves the lock as well.
    const RankEntry none = enterRankScore(dataFile(fake), QStringLiteral("50"));
    QCOMPARE(none.rank, 0);
    QVERIFY(!none.stored);
    QCOMPARE(entriesOf(fake.dir), QStringList{"data.ini"});
}

void RankingLockTest::deadCopysLockIsTakenOver()
{
    FakePlatform fake;
    putFile(dataFile(fake), standardRanking());
    // A copy dies in the middle of its change and leaves its lock.
    QCOMPARE(runRace({QStringLiteral("crash"), dataFile(fake)}), 3);
    QVERIFY(QFile::exists(lockFile(fake)));
    QCOMPARE(fileBytes(dataFile(fake)), standardRanking());

    // Its owner is known to be gone on this machine: the lock is taken over
    // at once, without waiting for it to grow old.
    QElapsedTimer clock;
    clock.start();
    const RankEntry entry = enterRankScore(dataFile(fake), QStringLiteral("600"));
    QVERIFY(clock.elapsed() < kIniStaleLockTime.count());
    QCOMPARE(entry.rank, 1);
    QVERIFY(entry.stored);
    WriteIni(rankSectionName(1), QStringLiteral("name"), QStringLiteral("NEW"), dataFile(fake));
    QCOMPARE(value(fake, 1, "name") + ':' + value(fake, 1, "score"), QStringLiteral("NEW:600"));
    QCOMPARE(value(fake, 5, "score"), QStringLiteral("200"));
    QCOMPARE(entriesOf(fake.dir), QStringList{"data.ini"});
}

void RankingLockTest::lockFromAnotherMachine_data()
{
    // A lock left in a folder shared over the network by a copy on another
    // machine, whose process cannot be asked after: it counts as left
    // behind only once it is older than the time any change takes.
    QTest::addColumn<qint64>("ageMs");
    QTest::addColumn<bool>("takenOver");
    QTest::newRow("fresh") << qint64(0) << false;
    QTest::newRow("old") << qint64(2 * kIniStaleLockTime.count()) << true;
}

void RankingLockTest::lockFromAnotherMachine()
{
    QFETCH(qint64, ageMs);
    QFETCH(bool, takenOver);
    FakePlatform fake;
    putFile(dataFile(fake), standardRanking());
    {
        QFile lock(lockFile(fake));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("4242\ntivoran\nelsewhere.invalid\n");
        QVERIFY(lock.flush()); // before the time is set, which a later write would undo
        QVERIFY(lock.setFileTime(QDateTime::currentDateTimeUtc().addMSecs(-ageMs), QFileDevice::FileModificationTime));
    }
    const RankEntry entry = enterRankScore(dataFile(fake), QStringLiteral("150"), 0ms);
    QCOMPARE(entry.rank, 5);
    QCOMPARE(entry.stored, takenOver);
    QCOMPARE(value(fake, 5, "score"), takenOver ? QStringLiteral("150") : QStringLiteral("100"));
    QCOMPARE(QFile::exists(lockFile(fake)), !takenOver);
}

void RankingLockTest::noLockWhileTheNameIsTyped()
{
    Table t;
    putFile(dataFile(t.fake), standardRanking());
    t->Label1->setText(QStringLiteral("700"));
    t->CheckRank();
    QCOMPARE(t->RankSection, rankSectionName(1));
    QList<nameinput *> entries = openWindows<nameinput>();
    QCOMPARE(entries.size(), 1);
    // The name entry is open and the file is free: another copy can change
    // it meanwhile.
    QVERIFY(!QFile::exists(lockFile(t.fake)));
    {
        QLockFile other(lockFile(t.fake));
        QVERIFY(other.tryLock());
    }
    QCOMPARE(value(t.fake, 1, "name") + ':' + value(t.fake, 1, "score"), QStringLiteral("AAA:700"));
    // Closing the entry stores the name typed so far (none), and leaves no
    // lock behind either.
    entries.first()->close();
    QCOMPARE(value(t.fake, 1, "name") + ':' + value(t.fake, 1, "score"), QStringLiteral(":700"));
    QCOMPARE(value(t.fake, 2, "name") + ':' + value(t.fake, 2, "score"), QStringLiteral("AAA:500"));
    QVERIFY(!QFile::exists(lockFile(t.fake)));
    closeRankingWindows(); // the score window, before its table goes
}

QTEST_MAIN(RankingLockTest)
#include "test_ranking_lock.moc"
