// The game against a hostile disk and a long session: a program directory
// that cannot be written, damaged ranking and colour files, writes that fail
// half way, and a hundred thousand rounds with a thousand ranking checks.

#include "helpers.h"
#include "ranking_play.h"
#include "table_fixture.h"
#include "game/program.h"
#include "ranking/inigw.h"
#include "ranking/rank_check.h"
#include "settings/ansi.h"
#include "ui/ctl_digital.h"
#include "windows/nameinput_window.h"
#include "windows/score_window.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

constexpr qint32 Red = 255, Green = 0xFF00, Blue = 0xFF0000;

QByteArray colourFile(const QString &a, const QString &b, const QString &c)
{
    return toAnsi(QStringLiteral("テーブルの色 ,%1\r\n外枠の色 ,%2\r\n線の色 ,%3\r\n").arg(a, b, c));
}

// A round with all five lines bet, stopped at the given steps.
void playRound(Table &t, int a, int b, int c)
{
    t->Allcoin_Click();
    t.spinAndStop(a, b, c);
}

bool hasControlCharacters(const QString &s)
{
    for (QChar ch : s) {
        if (ch.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

// A program directory that refuses writes. Without root, its permission
// bits do. Root ignores permission bits (CI runs the tests as root), so there
// the refusal is made by the fake desktop's writer instead: every write
// fails before anything reaches a temporary file, as a write into a
// read-only directory would; the game cannot tell the two apart, since every
// file it writes goes through the desktop's writer.
class ReadOnlyDir {
public:
    explicit ReadOnlyDir(FakePlatform &fake)
        : m_fake(fake)
    {
        QFile::setPermissions(fake.dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                            | QFile::ReadOther | QFile::ExeOther);
        QFile probe(QDir(fake.dir).filePath(QStringLiteral("probe")));
        m_byWriter = probe.open(QIODevice::WriteOnly);
        if (m_byWriter) {
            probe.remove();
            fake.failWrites(WriteFault::BeforeWrite, 1 << 30);
        }
    }
    ~ReadOnlyDir()
    {
        m_fake.failWrites(WriteFault::BeforeWrite, 0);
        QFile::setPermissions(m_fake.dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool byWriter() const { return m_byWriter; }

private:
    FakePlatform &m_fake;
    bool m_byWriter = false;
};

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void readOnlyProgramDirectory_data();
    void readOnlyProgramDirectory();
    void programDirectoryUnderAFile();
    void withoutTheTextConverter();
    void corruptFiles_data();
    void corruptFiles();
    void interruptedWrites_data();
    void interruptedWrites();
};

void TestFaults::cleanup()
{
    finishRankingWindows();
}

void TestFaults::readOnlyProgramDirectory_data()
{
    QTest::addColumn<int>("closing");
    QTest::newRow("END button") << 0;
    QTest::newRow("END menu item") << 1;
    QTest::newRow("close box") << 2;
}

void TestFaults::readOnlyProgramDirectory()
{
    QFETCH(int, closing);
    // The files are in place before the directory turns read-only.
    Table table;
    RankingWindowsCloser closer;
    FakePlatform *fake = &table.fake;
    const QByteArray ranking0 = standardRanking();
    const QByteArray colours0 =
        colourFile(QStringLiteral("255"), QStringLiteral("65280"), QStringLiteral("16711680"));
    putFile(fake->dataIni(), ranking0);
    putFile(fake->slotIni(), colours0);
    const QStringList entries0 = entriesOf(fake->dir);
    ReadOnlyDir readOnly(*fake);
    qInfo("read-only by %s", readOnly.byWriter() ? "the fake desktop's writer (running as root)" : "permission bits");

    // A fresh table on that directory reads the colours and plays.
    table.w = std::make_unique<Smashine>();
    QCOMPARE(table->Shape2->fillColor(), Red);
    QCOMPARE(table->Shape1->fillColor(), Green);
    QCOMPARE(table->Line1->borderColor(), Blue);
    playRound(table, 5, 5, 5);
    playRound(table, 1, 2, 3);
    QVERIFY(table->coinTotal() > 0);

    // A ranking game that would place: the check cannot store it, so no
    // name entry asks for a name that would go nowhere; the player is told,
    // and the table is usable again.
    rankingGame(table, QStringLiteral("900"));
    QVERIFY(table->RankSection.isEmpty());
    QVERIFY(openWindows<nameinput>().isEmpty());
    QCOMPARE(fake->messages.size(), 1);
    QCOMPARE(fake->messages[0].text, rankingNotStoredText());
    QCOMPARE(fake->messages[0].title, QStringLiteral("Tivoran"));
    QVERIFY(table->isEnabled());
    QCOMPARE(fileBytes(fake->dataIni()), ranking0);

    // A new colour, then the program ends on every closing path.
    fake->colourAnswers.push_back(rgbRef(1, 2, 3));
    table->テーブルの色_Click();
    QCOMPARE(table->Shape2->fillColor(), rgbRef(1, 2, 3));
    if (closing == 0)
        table->ENDS_Click();
    else if (closing == 1)
        table->AppliEND_Click();
    else
        table->close();
    QCOMPARE(fake->endCount, 1);
    QCOMPARE(fileBytes(fake->slotIni()), colours0);
    QCOMPARE(fileBytes(fake->dataIni()), ranking0);
    QCOMPARE(entriesOf(fake->dir), entries0);
}

void TestFaults::programDirectoryUnderAFile()
{
    // A program directory whose path runs through a regular file: nothing
    // can be read there and nothing created, whoever runs the game.
    Table t;
    RankingWindowsCloser closer;
    const QString blocker = QDir(t.fake.dir).filePath(QStringLiteral("not-a-directory"));
    putFile(blocker, "x");
    t.fake.dir = blocker + QStringLiteral("/program");
    t.w = std::make_unique<Smashine>();
    QCOMPARE(t->Shape2->fillColor(), rgbRef(192, 192, 255));
    playRound(t, 5, 5, 5);
    // No stored result: every rank is empty, so the score would take the
    // first; it cannot be stored, and the player is told so instead of
    // being asked for a name.
    rankingGame(t, QStringLiteral("700"));
    QVERIFY(t->RankSection.isEmpty());
    QVERIFY(openWindows<nameinput>().isEmpty());
    QCOMPARE(t.fake.messages.size(), 1);
    QCOMPARE(t.fake.messages[0].text, rankingNotStoredText());
    QVERIFY(t->isEnabled());
    t->AppliEND_Click();
    QCOMPARE(t.fake.endCount, 1);
    QCOMPARE(fileBytes(blocker), QByteArray("x"));
    QVERIFY(!QFileInfo::exists(t.fake.dir));
}

void TestFaults::withoutTheTextConverter()
{
    // A Qt built without Shift-JIS would spoil every Japanese name in the
    // files it wrote: the player is told once at start, and the game plays
    // on without writing them.
    Table t;
    RankingWindowsCloser closer;
    putFile(t.fake.dataIni(), standardRanking());
    const QByteArray colours0 = colourFile(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
    putFile(t.fake.slotIni(), colours0);
    t.fake.ansiCodecMissing = true;
    t.w = std::make_unique<Smashine>();
    QCOMPARE(t->Shape2->fillColor(), 1);
    reportMissingTextCodec(t.fake, t.w.get());
    QCOMPARE(t.fake.messages.size(), 1);
    QCOMPARE(t.fake.messages[0].title, QStringLiteral("Tivoran"));
    QVERIFY(t.fake.messages[0].text.contains(QLatin1String("Shift_JIS")));
    // With the converter, nothing is said.
    t.fake.ansiCodecMissing = false;
    reportMissingTextCodec(t.fake, t.w.get());
    QCOMPARE(t.fake.messages.size(), 1);
    t.fake.ansiCodecMissing = true;

    // A result that would place is not stored, and the player hears so.
    playRound(t, 4, 4, 4);
    rankingGame(t, QStringLiteral("900"));
    QVERIFY(openWindows<nameinput>().isEmpty());
    QCOMPARE(t.fake.messages.size(), 2);
    QCOMPARE(t.fake.messages[1].text, rankingNotStoredText());
    QVERIFY(t->isEnabled());
    // New colours, and the program ends, leaving both files as they were.
    t.fake.colourAnswers.push_back(rgbRef(9, 9, 9));
    t->テーブルの色_Click();
    t->ENDS_Click();
    QCOMPARE(t.fake.endCount, 1);
    QCOMPARE(fileBytes(t.fake.dataIni()), standardRanking());
    QCOMPARE(fileBytes(t.fake.slotIni()), colours0);
    QCOMPARE(entriesOf(t.fake.dir), QStringList({QStringLiteral("data.ini"), QStringLiteral("slot.ini")}));
}

void TestFaults::corruptFiles_data()
{
    QTest::addColumn<QByteArray>("ranking");
    QTest::addColumn<QByteArray>("colours");
    // Colours expected after loading, or nothing to expect but sanity.
    QTest::addColumn<bool>("coloursKnown");
    QTest::addColumn<QString>("rankingRead");

    QByteArray random(64 * 1024, '\0');
    QRandomGenerator rng(6);
    for (char &c : random)
        c = char(rng.bounded(256));
    QTest::newRow("random bytes") << random << random.mid(1000, 4096) << false << QString();

    const QByteArray nuls(16 * 1024, '\0');
    QTest::newRow("NULs") << nuls << nuls << false << QString();

    QByteArray line;
    line.reserve(1 << 20);
    while (line.size() < (1 << 20))
        line += "[1位]score=1234567890 name=ABC ,";
    line.resize(1 << 20);
    QTest::newRow("one 1 MB line") << toAnsi(QString::fromUtf8(line)) << line << false << QString();

    QByteArray unterminated = standardRanking();
    unterminated.chop(2);
    QByteArray colours = colourFile(QStringLiteral("255"), QStringLiteral("65280"), QStringLiteral("16711680"));
    colours.chop(2);
    QTest::newRow("no line end") << unterminated << colours << true
                                 << QStringLiteral("AAA:500 BBB:400 CCC:300 DDD:200 EEE:100");

    // In UTF-8 the section names do not match their Shift-JIS spelling, so
    // the ranking reads as empty; the colour lines count by position and
    // their numbers follow the first comma, so the colours survive.
    const QByteArray bom("\xEF\xBB\xBF");
    QTest::newRow("UTF-8 with byte-order mark")
        << bom + fromAnsi(standardRanking()).toUtf8()
        << bom + QStringLiteral("テーブルの色 ,255\r\n外枠の色 ,65280\r\n線の色 ,16711680\r\n").toUtf8() << true
        << QStringLiteral(": : : : :");

    QTest::newRow("control characters")
        << QByteArray("[1\x88\xCA]\r\nname=\x07\x08\x1b[2J\r\nscore=\x01\x02\x7f" "12\r\n")
        << QByteArray("\x01,\x02\r\n,\x1b\r\n,\x7f") << false << QString();

    // Markup in a hand-edited file is text like any other.
    QTest::newRow("markup")
        << QByteArray("[1\x88\xCA]\r\nname=<b>X</b>\r\nscore=<h1>999</h1>\r\n")
        << QByteArray("<i>,1\r\n") << false << QStringLiteral("<b>X</b>:<h1>999</h1> : : : :");
}

void TestFaults::corruptFiles()
{
    QFETCH(QByteArray, ranking);
    QFETCH(QByteArray, colours);
    QFETCH(bool, coloursKnown);
    QFETCH(QString, rankingRead);

    Table t;
    RankingWindowsCloser closer;
    putFile(t.fake.dataIni(), ranking);
    putFile(t.fake.slotIni(), colours);
    t.w = std::make_unique<Smashine>();

    // Start-up state as always, with whatever colours the file gives.
    QCOMPARE(t->Label1->text(), QStringLiteral("100"));
    QCOMPARE(t->Label11->text(), QStringLiteral("0"));
    QVERIFY(t->Reset->isEnabled() && t->Allcoin->isEnabled() && !t->Start->isEnabled());
    if (coloursKnown) {
        QCOMPARE(t->Shape2->fillColor(), Red);
        QCOMPARE(t->Shape1->fillColor(), Green);
        QCOMPARE(t->Line1->borderColor(), Blue);
    }
    if (!rankingRead.isNull())
        QCOMPARE(rankRows(t.fake.dataIni()), rankingRead);

    // It plays: a win pays on top of the total before the bet, a loss
    // keeps the stake.
    playRound(t, 5, 5, 5);
    const int pay = t->Label11->text().toInt();
    QCOMPARE(t->coinTotal(), pay > 0 ? 100 + pay : 95);

    // The score window shows every entry without control characters and
    // never more than a stored value can hold.
    t->スコアランキング_Click();
    Score *score = openWindows<Score>().value(0);
    QVERIFY(score);
    for (int i = 0; i < 5; ++i) {
        for (const QString &shown : {score->Label2[i]->text(), score->Label3[i]->text()}) {
            QVERIFY2(!hasControlCharacters(shown), qPrintable(QStringLiteral("rank %1 shows %2").arg(i + 1).arg(shown.toHtmlEscaped())));
            QVERIFY(toAnsi(shown).size() <= 319);
        }
        QCOMPARE(score->Label2[i]->textFormat(), Qt::PlainText);
        QCOMPARE(score->Label3[i]->textFormat(), Qt::PlainText);
    }
    score->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(t->isEnabled());

    // A ranking game ends with the result stored where the check put it.
    rankingGame(t, QStringLiteral("32000"));
    QVERIFY(!t->RankSection.isEmpty());
    finishRankingWindows();
    QCOMPARE(GetIni(t->RankSection, QStringLiteral("score"), QString(), t.fake.dataIni()),
             QStringLiteral("32000"));

    // Closing writes a whole colour file in place of the damaged one.
    t->ENDS_Click();
    QCOMPARE(t.fake.endCount, 1);
    QCOMPARE(fileBytes(t.fake.slotIni()),
             colourFile(QString::number(t->Shape2->fillColor()), QString::number(t->Shape1->fillColor()),
                        QString::number(t->Line1->borderColor())));
}

void TestFaults::interruptedWrites_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("write");
    const struct {
        WriteFault stage;
        const char *name;
    } stages[] = {{WriteFault::BeforeWrite, "nothing written"},
                  {WriteFault::PartialWrite, "half written"},
                  {WriteFault::AtSync, "sync fails"},
                  {WriteFault::AtCommit, "rename fails"}};
    const char *writes[] = {"ranking check", "name entry", "colours at closing"};
    for (const auto &s : stages) {
        for (int w = 0; w < 3; ++w)
            QTest::addRow("%s, %s", writes[w], s.name) << int(s.stage) << w;
    }
}

void TestFaults::interruptedWrites()
{
    QFETCH(int, stage);
    QFETCH(int, write);
    const QString before = QStringLiteral("AAA:500 BBB:400 CCC:300 DDD:200 EEE:100");

    // Each write is run twice on the same starting files: once failing,
    // once succeeding. The failed one leaves exactly the old file, the good
    // one exactly the new; nothing in between, no empty file, no leftovers.
    QByteArray failed, succeeded, old;
    QStringList entriesAfterFailure, entriesAfterSuccess;
    for (bool fail : {true, false}) {
        Table t;
        RankingWindowsCloser closer;
        putFile(t.fake.dataIni(), standardRanking());
        putFile(t.fake.slotIni(), colourFile(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")));
        t.w = std::make_unique<Smashine>();
        const QString target = write == 2 ? t.fake.slotIni() : t.fake.dataIni();

        if (write == 0) {
            old = fileBytes(target);
            t->ランキングモード_Click();
            t->Label1->setText(QStringLiteral("450"));
            for (int i = 0; i < 58; ++i) {
                t.fake.ticks += 1000;
                t->countdownTimeout();
            }
            if (fail)
                t.fake.failWrites(WriteFault(stage));
            t.fake.ticks += 1000;
            t->countdownTimeout(); // 0: the ranking check runs
            QVERIFY(!t->countdownRunning());
            QCOMPARE(t->RankSection, fail ? QString() : rankSectionName(2));
        } else if (write == 1) {
            rankingGame(t, QStringLiteral("450"));
            old = fileBytes(target);
            QCOMPARE(rankRows(t.fake.dataIni()), QStringLiteral("AAA:500 BBB:450 BBB:400 CCC:300 DDD:200"));
            if (fail)
                t.fake.failWrites(WriteFault(stage));
            QVERIFY(!openWindows<nameinput>().isEmpty());
            finishRankingWindows(); // stores the name typed so far: none
        } else {
            old = fileBytes(target);
            t.fake.colourAnswers.push_back(rgbRef(9, 9, 9));
            t->テーブルの色_Click();
            if (fail)
                t.fake.failWrites(WriteFault(stage));
            t->ENDS_Click();
            QCOMPARE(t.fake.endCount, 1);
        }
        // The failure hit the write under test, not another one.
        QCOMPARE(t.fake.failingWrites, 0);
        const QByteArray now = fileBytes(target);
        QVERIFY(!now.isEmpty());
        (fail ? failed : succeeded) = now;
        (fail ? entriesAfterFailure : entriesAfterSuccess) = entriesOf(t.fake.dir);
        if (write == 0 && !fail)
            QCOMPARE(rankRows(t.fake.dataIni()), QStringLiteral("AAA:500 BBB:450 BBB:400 CCC:300 DDD:200"));
        if (write == 0 && fail)
            QCOMPARE(rankRows(t.fake.dataIni()), before);
        finishRankingWindows();
    }
    QCOMPARE(failed, old);
    QVERIFY(succeeded != old);
    const QStringList expected{QStringLiteral("data.ini"), QStringLiteral("slot.ini")};
    QCOMPARE(entriesAfterFailure, expected);
    QCOMPARE(entriesAfterSuccess, expected);
}

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
