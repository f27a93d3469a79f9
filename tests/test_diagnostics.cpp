// The developer's log of file and sound failures: silent by default, one
// line for each failure once switched on, nothing for what works.

#include "fake_platform.h"
#include "audio/sound_player.h"
#include "desktop/atomic_file.h"
#include "ranking/inigw.h"

#include <QDir>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Line {
    QString category;
    QString text;
};
QList<Line> g_lines;
QtMessageHandler g_previous = nullptr;

void record(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    if (category.startsWith(QLatin1String("tivoran.")))
        g_lines.append({category, text});
    else if (g_previous)
        g_previous(type, context, text);
}

} // namespace

class TestDiagnostics : public QObject {
    Q_OBJECT

    // The lines logged while `what` runs.
    template <typename F>
    static QList<Line> logged(F what)
    {
        g_lines.clear();
        what();
        return g_lines;
    }

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void silentUnlessSwitchedOn();
    void oneLineForEachFailure();
};

void TestDiagnostics::initTestCase()
{
    g_previous = qInstallMessageHandler(record);
}

void TestDiagnostics::cleanupTestCase()
{
    qInstallMessageHandler(g_previous);
}

void TestDiagnostics::cleanup()
{
    QLoggingCategory::setFilterRules(QString());
}

void TestDiagnostics::silentUnlessSwitchedOn()
{
    QTemporaryDir dir;
    const QString nowhere = dir.filePath(QStringLiteral("missing/data.ini"));
    QVERIFY(logged([&] { QVERIFY(!writeFileAtomically(nowhere, "x")); }).isEmpty());
    QVERIFY(logged([&] { QVERIFY(!loadSoundModule(dir.path())); }).isEmpty());
}

void TestDiagnostics::oneLineForEachFailure()
{
    QLoggingCategory::setFilterRules(QStringLiteral("tivoran.*=true"));
    QTemporaryDir dir;
    FakePlatform fp;

    // A write into a folder that is not there: one line naming the file.
    const QString nowhere = dir.filePath(QStringLiteral("missing/data.ini"));
    QList<Line> lines = logged([&] { QVERIFY(!writeFileAtomically(nowhere, "x")); });
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].category, QStringLiteral("tivoran.files"));
    QVERIFY2(lines[0].text.contains(nowhere), qPrintable(lines[0].text));

    // Each step of the safe writer that fails says which it was.
    const QString path = dir.filePath(QStringLiteral("slot.ini"));
    for (const auto &[fault, step] : {std::pair{WriteFault::PartialWrite, "writing"},
                                      std::pair{WriteFault::AtSync, "syncing"}}) {
        FailingWriteSteps failing(fault);
        lines = logged([&] { QVERIFY(!writeFileAtomically(path, "abc", &failing)); });
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].text.contains(QLatin1String(step)), qPrintable(lines[0].text));
    }

    // What works logs nothing.
    QVERIFY(logged([&] { QVERIFY(writeFileAtomically(path, "abc")); }).isEmpty());
    QVERIFY(logged([&] { QCOMPARE(GetIni("s", "k", "d", path), QStringLiteral("d")); }).isEmpty());

    // A ranking that is a folder cannot be read: one line, and the
    // default as always.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("data.ini")));
    const QString folder = dir.filePath(QStringLiteral("data.ini"));
    lines = logged([&] { QCOMPARE(GetIni("1位", "score", "", folder), QString()); });
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].text.contains(QLatin1String("cannot read")), qPrintable(lines[0].text));

    // No sound module: one line in the sound category.
    lines = logged([&] { QVERIFY(!loadSoundModule(dir.path())); });
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].category, QStringLiteral("tivoran.sound"));
}

QTEST_MAIN(TestDiagnostics)
#include "test_diagnostics.moc"
