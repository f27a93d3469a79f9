// Several copies of the game sharing one ranking file: each change of the
// file holds its lock, so no copy's result is lost to another's write; a
// lock left by a copy that died blocks nobody; and the lock is held for the
// file work only, never while a player types a name.

#include "file_conditions.h"
#include "helpers.h"
#include "ranking_play.h"
#include "ranking/inigw.h"
#include "ranking/name_entry_rules.h"
#include "windows/nameinput_window.h"
#include "ranking/rank_check.h"
#include "windows/score_window.h"
#include "table_fixture.h"
#include "ui/vb_controls.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <utility>

#include <unistd.h>

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
    void nameGoesOnItsOwnScore_data();
    void nameGoesOnItsOwnScore();
    void tablesInTurnNameTheirOwnEntries_data();
    void tablesInTurnNameTheirOwnEntries();
    void gameWaitsForTheLockWithoutHanging();
    void lockNobodyCanTakeOverFailsAtOnce();
    void lockOfAnotherUser();
};

void RankingLockTest::copiesTogetherLoseNoEntry()
{
    // Three copies each finish many ranking games at the same time, every
    // one with a result of its own, and write their letter as the name of
    // every rank they earn. Every game takes the file's lock, placed or
    // not. Each copy's results rise, so that many games place and write the
    // file; among them are five results higher than all others, spread over
    // the copies and over the run. Those five must all be there at the end,
    // each with the name of the copy that had it: a copy that wrote the file
    // from what it read before another copy's change would take one of them
    // out for good, and a name written to the rank its result first took
    // could land on another copy's result moved there meanwhile.
    constexpr int copies = 3, games = 150;
    FakePlatform fake;
    putFile(dataFile(fake), standardRanking());
    QList<QStringList> results(copies);
    for (int g = 0; g < games; ++g) {
        for (int c = 0; c < copies; ++c)
            results[c] << QString::number(1000 + g * copies + c);
    }
    QStringList best, bestNames;
    QList<int> bestOfCopy(copies);
    for (int j = 0; j < 5; ++j) {
        best.prepend(QString::number(1'000'000 + j));
        bestNames.prepend(QString(QChar(u'A' + j % copies)));
        results[j % copies][(j + 1) * games / 6] = best.first();
        ++bestOfCopy[j % copies];
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
    for (int c = 0; c < copies; ++c) {
        QProcess *p = runs[c].get();
        QVERIFY(p->waitForFinished(kPatienceMs));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        const QList<QByteArray> counts = p->readAllStandardOutput().trimmed().split(' ');
        QCOMPARE(counts.size(), 4);
        QCOMPARE(counts[2], QByteArray("failed")); // every rank earned was stored, and named
        QCOMPARE(counts[3], QByteArray("0"));
        // How many of a copy's other results place depends on how the
        // copies' games happen to interleave (a copy that runs ahead fills
        // the top five with results the others' cannot beat); its best
        // results place in any order.
        QVERIFY2(counts[1].toInt() >= bestOfCopy[c], counts[1].constData());
    }

    // The file holds the best five of everything submitted, each score as it
    // was written.
    QStringList scores, names;
    for (int k = 1; k <= 5; ++k) {
        scores << value(fake, k, "score");
        names << value(fake, k, "name");
    }
    QCOMPARE(scores, best);
    QCOMPARE(names, bestNames);
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

namespace {
// Types a name of letters on the name entry and confirms it with "終".
void typeName(nameinput *entry, const QString &name)
{
    using namespace NameEntry;
    if (entry->Label1[0]->backColor() != CursorColour)
        entry->Form_KeyDown(VkReturn); // no cursor yet: Return puts it on "A"
    int cursor = 0;
    for (QChar c : name) {
        const int cell = c.unicode() - u'A';
        while (cursor % Columns != cell % Columns) {
            entry->Form_KeyDown(cursor % Columns < cell % Columns ? VkRight : VkLeft);
            cursor += cursor % Columns < cell % Columns ? 1 : -1;
        }
        while (cursor / Columns != cell / Columns) {
            entry->Form_KeyDown(cursor < cell ? VkDown : VkUp);
            cursor += cursor < cell ? Columns : -Columns;
        }
        entry->Form_KeyDown(VkReturn);
    }
    // After the third character the cursor is on "終".
    QCOMPARE(entry->Label1[EndCell]->backColor(), CursorColour);
    entry->Form_KeyDown(VkReturn);
}
} // namespace

void RankingLockTest::nameGoesOnItsOwnScore_data()
{
    QTest::addColumn<QString>("firstScore");
    QTest::addColumn<QString>("afterBoth");
    QTest::addColumn<QString>("afterFirstName");
    // The first copy's 450 takes rank 2 and waits for its name; the second
    // copy's 600 takes rank 1 meanwhile, which moves the 450 to rank 3.
    QTest::newRow("moved down") << "450" << "AAA:600 AAA:500 BBB:450 BBB:400 CCC:300"
                                << "AAA:600 AAA:500 ZZZ:450 BBB:400 CCC:300";
    // The first copy's 150 takes rank 5 and is pushed out of the top five:
    // its name goes nowhere, and nobody else's entry changes.
    QTest::newRow("pushed out") << "150" << "AAA:600 AAA:500 BBB:400 CCC:300 DDD:200"
                                << "AAA:600 AAA:500 BBB:400 CCC:300 DDD:200";
    // A tie: the first copy's 400 goes below the stored CCC 400, and keeps
    // the name CCC from the 300 it moves down; the name still finds its own
    // entry, not the one above that looks the same.
    QTest::newRow("same score and name above")
        << "400" << "AAA:600 AAA:500 CCC:400 CCC:400 CCC:300" << "AAA:600 AAA:500 CCC:400 ZZZ:400 CCC:300";
    // Someone else's name put on the first copy's entry by hand: it can no
    // longer be told for sure, and is left alone.
    QTest::newRow("named by hand") << "450" << "AAA:600 AAA:500 HND:450 BBB:400 CCC:300"
                                   << "AAA:600 AAA:500 HND:450 BBB:400 CCC:300";
}

void RankingLockTest::nameGoesOnItsOwnScore()
{
    QFETCH(QString, firstScore);
    QFETCH(QString, afterBoth);
    QFETCH(QString, afterFirstName);
    // Two copies of the game on one ranking file: two tables on one desktop.
    Table first;
    RankingWindowsCloser closer;
    putFile(dataFile(first.fake), QTest::currentDataTag() == QByteArray("same score and name above")
                                      ? rankingBytes({{"AAA", "500"}, {"CCC", "400"}, {"CCC", "300"},
                                                      {"DDD", "200"}, {"EEE", "100"}})
                                      : standardRanking());
    auto second = std::make_unique<Smashine>();
    const auto ranking = [&] {
        QStringList rows;
        for (int k = 1; k <= 5; ++k)
            rows << value(first.fake, k, "name") + ':' + value(first.fake, k, "score");
        return rows.join(' ');
    };

    first->Label1->setText(firstScore);
    first->CheckRank();
    QCOMPARE(openWindows<nameinput>().size(), 1);
    nameinput *firstEntry = openWindows<nameinput>().first();
    second->Label1->setText(QStringLiteral("600"));
    second->CheckRank();
    QCOMPARE(openWindows<nameinput>().size(), 2);
    if (QTest::currentDataTag() == QByteArray("named by hand"))
        WriteIni(rankSectionName(3), QStringLiteral("name"), QStringLiteral("HND"), dataFile(first.fake));
    nameinput *secondEntry = openWindows<nameinput>().value(0) == firstEntry ? openWindows<nameinput>().value(1)
                                                                              : openWindows<nameinput>().value(0);
    QCOMPARE(ranking(), afterBoth);
    const QByteArray before = fileBytes(dataFile(first.fake));

    typeName(firstEntry, QStringLiteral("ZZZ"));
    QCOMPARE(ranking(), afterFirstName);
    if (afterFirstName == afterBoth)
        QCOMPARE(fileBytes(dataFile(first.fake)), before); // not a byte changed
    typeName(secondEntry, QStringLiteral("YYY"));
    QCOMPARE(ranking(), QString(afterFirstName).replace(0, 3, QStringLiteral("YYY")));
    // Only a name that went nowhere is told.
    QCOMPARE(first.fake.messages.size(), afterFirstName == afterBoth ? 1 : 0);
    for (const FakePlatform::Message &m : std::as_const(first.fake.messages))
        QCOMPARE(m.text, nameNotStoredText());
    finishRankingWindows();
    finishRankingWindows();
    QVERIFY(first->isEnabled() && second->isEnabled());
}

void RankingLockTest::tablesInTurnNameTheirOwnEntries_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 6; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void RankingLockTest::tablesInTurnNameTheirOwnEntries()
{
    // Three tables on one ranking file take turns at random: one without a
    // name entry open ends a ranking game, one with an entry confirms a
    // name. The results rise slowly and often tie, so entries move down and
    // drop out while their names wait, and names come in every order. A
    // reckoning of its own, each entry with its game, says where each entry
    // is: the file must match it after every turn (each name beside its own
    // score), and a table is told exactly when its entry is gone.
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    Table first;
    RankingWindowsCloser closer;
    putFile(dataFile(first.fake), standardRanking());
    Smashine second, third;
    Smashine *tables[3] = {first.w.get(), &second, &third};
    QStringList names{"AAA", "BBB", "CCC", "DDD", "EEE"}, scores{"500", "400", "300", "200", "100"};
    QList<int> games{-1, -1, -1, -1, -1}; // the game of each entry; -1 for the old ones
    nameinput *entries[3] = {};
    int pending[3] = {}, game = 0, told = 0, ties = 0;
    for (int turn = 0; turn < 36; ++turn) {
        const int t = int(random.bounded(3));
        if (!entries[t]) {
            const int score = 100 + 50 * (turn / 3 + int(random.bounded(3)));
            const QList<nameinput *> open = openWindows<nameinput>();
            tables[t]->Label1->setText(QString::number(score));
            tables[t]->CheckRank();
            const qsizetype k = std::find_if(scores.begin(), scores.end(), [&](const QString &s) { return s.toInt() < score; }) - scores.begin();
            if (k < RankCount) {
                names.insert(k, names[k]), scores.insert(k, QString::number(score)), games.insert(k, game);
                names.removeLast(), scores.removeLast(), games.removeLast();
            }
            for (nameinput *w : openWindows<nameinput>())
                entries[t] = open.contains(w) ? entries[t] : w;
            QCOMPARE(entries[t] != nullptr, k < RankCount);
            pending[t] = game++;
        } else {
            const qsizetype messages = first.fake.messages.size(), k = games.indexOf(pending[t]);
            const QString name = QString(QChar(u'A' + t)) + QChar(u'A' + pending[t] / 26) + QChar(u'A' + pending[t] % 26);
            typeName(std::exchange(entries[t], nullptr), name);
            if (k >= 0)
                names[k] = name, ties += scores.count(scores[k]) > 1;
            told += k < 0;
            QCOMPARE(first.fake.messages.size() - messages, k < 0 ? 1 : 0);
            for (Score *score : openWindows<Score>())
                score->close();
            flushDeletes();
        }
        for (int k = 1; k <= RankCount; ++k)
            QCOMPARE(value(first.fake, k, "name") + ':' + value(first.fake, k, "score"), names[k - 1] + ':' + scores[k - 1]);
    }
    QVERIFY(told > 0 && ties > 0);
}

void RankingLockTest::gameWaitsForTheLockWithoutHanging()
{
    Table t;
    RankingWindowsCloser closer;
    putFile(dataFile(t.fake), standardRanking());
    QLockFile other(lockFile(t.fake));
    QVERIFY(other.tryLock());

    // The time runs out while another copy changes the ranking: the check
    // returns at once, the result not yet in, the table drawn but taking no
    // input, and the lock tried again from the event loop.
    rankingGame(t, QStringLiteral("450"));
    QVERIFY(!t->countdownRunning());
    QVERIFY(!t->isEnabled());
    QVERIFY(openWindows<nameinput>().isEmpty());
    auto *wait = t->findChild<IniChangeWait *>();
    QVERIFY(wait);
    QCOMPARE(fileBytes(dataFile(t.fake)), standardRanking());
    t.fake.ticks += 4000;
    wait->retry();
    QVERIFY(openWindows<nameinput>().isEmpty());
    // The other copy is done: the next try stores the result.
    other.unlock();
    wait->retry();
    QCOMPARE(value(t.fake, 2, "score"), QStringLiteral("450"));
    QCOMPARE(openWindows<nameinput>().size(), 1);
    QVERIFY(!t->isEnabled());
    flushDeletes();
    QVERIFY(!t->findChild<IniChangeWait *>());

    // The name waits the same way; the score window follows once it is in.
    QVERIFY(other.tryLock());
    openWindows<nameinput>().first()->close();
    QVERIFY(openWindows<Score>().isEmpty());
    wait = t->findChild<IniChangeWait *>();
    QVERIFY(wait);
    other.unlock();
    wait->retry();
    QCOMPARE(openWindows<Score>().size(), 1);
    QCOMPARE(value(t.fake, 2, "name") + ':' + value(t.fake, 2, "score"), QStringLiteral(":450"));
    finishRankingWindows();
    QVERIFY(t->isEnabled());
    QVERIFY(t.fake.messages.isEmpty());

    // A lock held all through the wait: the result is not stored, the
    // player is told, and the table is usable again.
    QVERIFY(other.tryLock());
    const QByteArray before = fileBytes(dataFile(t.fake));
    rankingGame(t, QStringLiteral("460"));
    wait = t->findChild<IniChangeWait *>();
    QVERIFY(wait);
    t.fake.ticks += quint32(kIniLockWait.count()) - 1;
    wait->retry();
    QVERIFY(t.fake.messages.isEmpty());
    t.fake.ticks += 1;
    wait->retry();
    QCOMPARE(t.fake.messages.size(), 1);
    QCOMPARE(t.fake.messages[0].text, rankingNotStoredText());
    QVERIFY(t->isEnabled());
    QVERIFY(openWindows<nameinput>().isEmpty());
    QCOMPARE(fileBytes(dataFile(t.fake)), before);
    flushDeletes();
    QVERIFY(!t->findChild<IniChangeWait *>());
}

void RankingLockTest::lockNobodyCanTakeOverFailsAtOnce()
{
    // A copy died holding the lock, and the folder has since become one the
    // player cannot write to: the lock can never be taken over, so nothing
    // waits for it.
    FakePlatform fake;
    putFile(dataFile(fake), standardRanking());
    QCOMPARE(runRace({QStringLiteral("crash"), dataFile(fake)}), 3);
    QVERIFY(QFile::exists(lockFile(fake)));
    const QFileDevice::Permissions folder = QFile::permissions(fake.dir);
    QVERIFY(QFile::setPermissions(fake.dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                                | QFileDevice::ExeOther));
    IniOutcome outcome = IniOutcome::Written;
    {
        WithoutFilePrivileges asAPlayer;
        if (canCreateFileIn(fake.dir))
            QSKIP("file permissions are not enforced here");
        // With the whole wait allowed, the answer is the one only the first
        // try gives.
        outcome = enterRankScore(dataFile(fake), QStringLiteral("450")).outcome;
    }
    QVERIFY(QFile::setPermissions(fake.dir, folder));
    QCOMPARE(int(outcome), int(IniOutcome::CannotLock));
    QCOMPARE(fileBytes(dataFile(fake)), standardRanking());
}

void RankingLockTest::lockOfAnotherUser()
{
    // Another user's copy holds the lock (a folder the players share): the
    // wait ends with that as its reason.
    FakePlatform fake;
    putFile(dataFile(fake), standardRanking());
    QLockFile theirs(lockFile(fake));
    QVERIFY(theirs.tryLock());
    if (::chown(QFile::encodeName(lockFile(fake)).constData(), 4242, 4242) != 0)
        QSKIP("only root can give a file to another user here");
    const RankEntry entry = enterRankScore(dataFile(fake), QStringLiteral("450"), 0ms);
    QCOMPARE(entry.rank, 2);
    QVERIFY(!entry.stored);
    QCOMPARE(int(entry.outcome), int(IniOutcome::HeldByAnotherUser));
    QCOMPARE(fileBytes(dataFile(fake)), standardRanking());
}

QTEST_MAIN(RankingLockTest)
#include "test_ranking_lock.moc"
