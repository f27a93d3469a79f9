// The three embedded wave sounds, the sound module PlayWave and the player
// that the desktop platform uses to make them heard.

#include "fake_platform.h"
#include "helpers.h"
#include "sound_server.h"
#include "audio/playwave.h"
#include "audio/sound_module/wave_data.h"
#include "audio/sound_player.h"
#include "game/qt_platform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMutex>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <climits>
#include <memory>
#include <cmath>
#include <utility>

namespace {

QByteArray soundFile(int id)
{
    QFile f(QStringLiteral(":/sounds/sound%1.wav").arg(id));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

quint16 u16(const QByteArray &b, qsizetype at)
{
    return quint16(quint8(b[at])) | quint16(quint8(b[at + 1])) << 8;
}

quint32 u32(const QByteArray &b, qsizetype at)
{
    return quint32(u16(b, at)) | quint32(u16(b, at + 2)) << 16;
}

struct Chunk {
    QByteArray id;
    qsizetype body = 0;  // offset of the first byte after the chunk header
    quint32 size = 0;
};

// The chunks after the RIFF header, in file order. Stops at a chunk that
// would run past the end of the file (and reports it as the last entry).
QList<Chunk> chunks(const QByteArray &file)
{
    QList<Chunk> list;
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        Chunk c{file.mid(at, 4), at + 8, u32(file, at + 4)};
        list.append(c);
        at = c.body + qsizetype(c.size) + (c.size & 1);
    }
    return list;
}

// The samples of a data chunk scaled to -1..1 (8-bit data are unsigned,
// centred on 128; 16-bit data are signed little-endian).
QList<double> samples(const QByteArray &file, const Chunk &data, int bits)
{
    QList<double> out;
    if (bits == 8) {
        for (quint32 i = 0; i < data.size; ++i)
            out.append((quint8(file[data.body + i]) - 128) / 128.0);
    } else {
        for (quint32 i = 0; i + 1 < data.size; i += 2)
            out.append(qint16(u16(file, data.body + i)) / 32768.0);
    }
    return out;
}

// The player of the sound module in dir, or null when there is none.
std::unique_ptr<SoundPlayer> loadSoundPlayer(const QString &dir)
{
    const CreateSoundPlayerFn create = loadSoundModule(dir);
    return std::unique_ptr<SoundPlayer>(create ? create() : nullptr);
}

// The player the game uses: made by the sound module beside the program,
// with its sounds read.
std::unique_ptr<SoundPlayer> loadedPlayer()
{
    std::unique_ptr<SoundPlayer> player = loadSoundPlayer(QCoreApplication::applicationDirPath());
    if (player && !QTest::qWaitFor([&] { return !player->isLoading(); }, kPatienceMs))
        player.reset();
    return player;
}

// Sound id as the test's sound server plays it: at the server's rate, each
// sample held until the next, as the server converts it.
QList<double> atServerRate(int id)
{
    const QByteArray file = soundFile(id);
    const QList<Chunk> list = chunks(file);
    const int rate = int(u32(file, list.first().body + 4));
    const QList<double> played = samples(file, list.last(), u16(file, list.first().body + 14));
    QList<double> out;
    for (qsizetype i = 0; i < played.size() * SoundServer::kRate / rate; ++i)
        out.append(played[i * rate / SoundServer::kRate]);
    return out;
}

// Louder than a quiet recording: where a sound is heard.
constexpr double kHeard = 0.02;
// How far a recorded sample may lie from the one played.
constexpr double kTolerance = 0.005;

qsizetype firstHeard(const QList<double> &s, qsizetype from)
{
    for (qsizetype i = from; i < s.size(); ++i) {
        if (std::abs(s[i]) > kHeard)
            return i;
    }
    return -1;
}

double loudest(const QList<double> &s, qsizetype from, qsizetype to)
{
    double peak = 0;
    for (qsizetype i = from; i < to; ++i)
        peak = std::max(peak, std::abs(s[i]));
    return peak;
}

// How many samples of sound the recording follows from `at` on.
qsizetype followed(const QList<double> &recording, qsizetype at, const QList<double> &sound)
{
    qsizetype n = 0;
    while (n < sound.size() && at + n < recording.size() && std::abs(recording[at + n] - sound[n]) <= kTolerance)
        ++n;
    return n;
}

// Where the recording, from `from` on, takes up sound and follows at least
// `length` samples of it; -1 while it does not.
qsizetype findSound(const QList<double> &recording, qsizetype from, const QList<double> &sound, qsizetype length)
{
    const qsizetype onset = firstHeard(sound, 0);
    for (qsizetype heard = firstHeard(recording, from); heard >= 0; heard = firstHeard(recording, heard + 1)) {
        for (qsizetype at = std::max<qsizetype>(heard - onset - 2, 0); at <= heard - onset + 2; ++at) {
            if (followed(recording, at, sound) >= std::min(length, sound.size()))
                return at;
        }
    }
    return -1;
}

// Waits for sound to be heard whole after `from`, and a fifth of a second
// after it; where it starts, or -1 when it never is.
qsizetype awaitWhole(SoundServer &server, qsizetype from, const QList<double> &sound)
{
    qsizetype at = -1;
    const bool heard = QTest::qWaitFor([&] {
        at = findSound(server.recording(), from, sound, sound.size());
        return at >= 0 && server.recording().size() >= at + sound.size() + SoundServer::kRate / 5;
    }, kPatienceMs);
    return heard ? at : -1;
}

// The lines the player logs, from whichever thread.
QMutex g_logMutex;
QStringList g_soundLog;
QtMessageHandler g_previousHandler = nullptr;

void keepSoundLog(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (context.category && QLatin1String(context.category) == QLatin1String("tivoran.sound")) {
        const QMutexLocker lock(&g_logMutex);
        g_soundLog.append(text);
    } else if (g_previousHandler) {
        g_previousHandler(type, context, text);
    }
}

}  // namespace

class TestSounds : public QObject {
    Q_OBJECT

    SoundServer m_server;

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void waveFiles_data();
    void waveFiles();
    void damagedWaveFilesAreRefused_data();
    void damagedWaveFilesAreRefused();
    void eachSoundIsHeard_data();
    void eachSoundIsHeard();
    void newSoundCutsThePlayingOne_data();
    void newSoundCutsThePlayingOne();
    void soundsComeAndGoWithTheServer();
    void playWaveForwardsToThePlatform();
    void missingOrDamagedModuleIsSilence();
    void desktopLoadsTheSoundsWhileTheGameGoesOn();
    void playerIgnoresUnknownIds();
    void playerReturnsAtOnceAndShowsNothing_data();
    void playerReturnsAtOnceAndShowsNothing();
    void newSoundReplacesThePlayingOne();
};

// Every player of these tests plays to a sound server of their own, and
// the tests hear what it plays.
void TestSounds::initTestCase()
{
    QVERIFY2(m_server.start(), qPrintable(m_server.why()));
    qputenv("PULSE_SERVER", m_server.address().toUtf8());
    g_previousHandler = qInstallMessageHandler(keepSoundLog);
}

void TestSounds::cleanupTestCase()
{
    qInstallMessageHandler(g_previousHandler);
}

void TestSounds::waveFiles_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("sampleCount");
    QTest::addColumn<bool>("hasFact");
    QTest::newRow("sound1 bet") << 1 << 11025 << 16 << 3421 << true;
    QTest::newRow("sound2 win") << 2 << 11025 << 8 << 45392 << false;
    QTest::newRow("sound3 stop") << 3 << 22050 << 16 << 5277 << false;
}

// Each sound in the game's format, read alike by Qt's own wave reader,
// audible, unclipped, and ending quietly.
void TestSounds::waveFiles()
{
    QFETCH(int, id);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(int, sampleCount);
    QFETCH(bool, hasFact);

    const QByteArray file = soundFile(id);
    QVERIFY2(file.size() > 44, "sound missing from the resources");

    QCOMPARE(file.left(4), QByteArray("RIFF"));
    QCOMPARE(qsizetype(u32(file, 4)), file.size() - 8);
    QCOMPARE(file.mid(8, 4), QByteArray("WAVE"));

    const QList<Chunk> list = chunks(file);
    QList<QByteArray> ids;
    for (const Chunk &c : list)
        ids.append(c.id);
    const QList<QByteArray> expected = hasFact ? QList<QByteArray>{"fmt ", "fact", "data"}
                                               : QList<QByteArray>{"fmt ", "data"};
    QCOMPARE(ids, expected);

    const Chunk &fmt = list.first();
    QCOMPARE(fmt.size, 16u);
    QCOMPARE(u16(file, fmt.body), quint16(1));                    // PCM
    QCOMPARE(u16(file, fmt.body + 2), quint16(1));                // mono
    QCOMPARE(u32(file, fmt.body + 4), quint32(rate));
    QCOMPARE(u32(file, fmt.body + 8), quint32(rate * bits / 8));  // bytes per second
    QCOMPARE(u16(file, fmt.body + 12), quint16(bits / 8));        // block alignment
    QCOMPARE(u16(file, fmt.body + 14), quint16(bits));

    if (hasFact) {
        const Chunk &fact = list.at(1);
        QCOMPARE(fact.size, 4u);
        QCOMPARE(u32(file, fact.body), quint32(sampleCount));
    }

    const Chunk &data = list.last();
    QCOMPARE(data.size, quint32(sampleCount * bits / 8));
    // The data chunk closes the file: nothing missing, nothing trailing.
    QCOMPARE(data.body + qsizetype(data.size) + (data.size & 1), file.size());

    // The sound module's reader, which hands them to the sound server,
    // reads them alike.
    const std::optional<WaveData> wave = readWave(file);
    QVERIFY(wave);
    QCOMPARE(wave->rate, rate);
    QCOMPARE(wave->channels, 1);
    QCOMPARE(wave->bits, bits);
    QCOMPARE(wave->samples, file.mid(data.body, data.size));

    const QList<double> s = samples(file, data, bits);
    QCOMPARE(s.size(), sampleCount);

    double peak = 0, sum = 0, squares = 0;
    for (double v : s) {
        peak = std::max(peak, std::abs(v));
        sum += v;
        squares += v * v;
    }
    const double mean = sum / s.size();
    const double rms = std::sqrt(squares / s.size());

    // Loud enough to hear, centred (8-bit data read as signed would sit
    // far off centre), and with headroom: no sample on either rail.
    QVERIFY2(peak >= 0.3, qPrintable(QStringLiteral("peak %1").arg(peak)));
    QVERIFY2(rms >= 0.03, qPrintable(QStringLiteral("rms %1").arg(rms)));
    QVERIFY2(std::abs(mean) < 0.02, qPrintable(QStringLiteral("mean %1").arg(mean)));
    QVERIFY2(peak <= 0.95, qPrintable(QStringLiteral("peak %1").arg(peak)));

    // Starts and ends at rest, faded out over its last 5 ms: no click.
    QVERIFY2(std::abs(s.first()) <= 0.01, qPrintable(QStringLiteral("first %1").arg(s.first())));
    QVERIFY2(std::abs(s.last()) <= 0.01, qPrintable(QStringLiteral("last %1").arg(s.last())));
    const int tail = rate / 200;
    double tailSquares = 0;
    for (int i = s.size() - tail; i < s.size(); ++i)
        tailSquares += s[i] * s[i];
    const double tailRms = std::sqrt(tailSquares / tail);
    QVERIFY2(tailRms < 0.1 * rms, qPrintable(QStringLiteral("tail rms %1 of %2").arg(tailRms).arg(rms)));
}

void TestSounds::damagedWaveFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    // Sound 1: its format from byte 20 on, the data chunk's header at 48.
    const QByteArray good = soundFile(1);
    const auto patched = [&](qsizetype at, const QByteArray &bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not RIFF") << patched(0, "RIFX");
    QTest::newRow("compressed") << patched(20, QByteArray("\x02\x00", 2));
    QTest::newRow("three channels") << patched(22, QByteArray("\x03\x00", 2));
    QTest::newRow("24-bit") << patched(32, QByteArray("\x03\x00\x18\x00", 4));
    QTest::newRow("data without format") << patched(12, "junk");
    QTest::newRow("chunk past the end") << patched(16, QByteArray("\xff\xff\xff\x7f", 4));
    QTest::newRow("data cut short") << good.left(good.size() - 1);
    QTest::newRow("half a sample") << patched(52, QByteArray("\x01\x00\x00\x00", 4)).left(57);
}

// What the sound module cannot play it refuses whole, reading nothing
// outside the file: no noise, no crash.
void TestSounds::damagedWaveFilesAreRefused()
{
    QFETCH(QByteArray, file);
    QVERIFY(!readWave(file));
}

// Each sound reaches the sound server whole, sample for sample as in its
// file, and then the sink is silent again.
void TestSounds::eachSoundIsHeard_data()
{
    waveFiles_data();
}

void TestSounds::eachSoundIsHeard()
{
    QFETCH(int, id);
    const QList<double> sound = atServerRate(id);
    const std::unique_ptr<SoundPlayer> player = loadedPlayer();
    QVERIFY(player);
    m_server.clearRecording();
    QCOMPARE(player->play(id), 1);
    QVERIFY(player->isPlaying(id));
    const qsizetype at = awaitWhole(m_server, 0, sound);
    QVERIFY2(at >= 0, "not heard as it was played");
    const QList<double> &recording = m_server.recording();
    QVERIFY(loudest(recording, 0, at) <= kTolerance);
    QVERIFY(loudest(recording, at + sound.size(), recording.size()) <= kTolerance);
    QTRY_VERIFY_WITH_TIMEOUT(!player->isPlaying(id), kPatienceMs);
    qInfo("sound %d heard at the sink: %lld samples at %d Hz, each within %.3f of the file's", id,
          qlonglong(sound.size()), SoundServer::kRate, kTolerance);
}

void TestSounds::newSoundCutsThePlayingOne_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("a bet cuts a win") << 2 << 1;
    QTest::newRow("a stop cuts a win") << 2 << 3;
    QTest::newRow("a win starts again") << 2 << 2;
}

// A tenth of a second into the first sound the second is asked for: the
// first stops there and the second is heard whole, alone, and nothing of
// the first comes after it.
void TestSounds::newSoundCutsThePlayingOne()
{
    QFETCH(int, first);
    QFETCH(int, second);
    const QList<double> cut = atServerRate(first);
    const QList<double> next = atServerRate(second);
    const std::unique_ptr<SoundPlayer> player = loadedPlayer();
    QVERIFY(player);
    m_server.clearRecording();
    QCOMPARE(player->play(first), 1);
    qsizetype start = -1;
    QTRY_VERIFY_WITH_TIMEOUT((start = findSound(m_server.recording(), 0, cut, SoundServer::kRate / 10)) >= 0,
                             kPatienceMs);
    QCOMPARE(player->play(second), 1);
    QVERIFY(player->isPlaying(second));
    QCOMPARE(player->isPlaying(first), first == second);

    const qsizetype again = awaitWhole(m_server, start + SoundServer::kRate / 10, next);
    QVERIFY2(again >= 0, "the second sound not heard as it was played");
    const QList<double> &recording = m_server.recording();
    const qsizetype heard = followed(recording, start, cut);
    QVERIFY2(heard < cut.size(), "the first sound played to its end");
    QVERIFY(start + heard <= again && loudest(recording, start + heard, again) <= kTolerance);
    QVERIFY(loudest(recording, again + next.size(), recording.size()) <= kTolerance);
    QTRY_VERIFY_WITH_TIMEOUT(!player->isPlaying(second), kPatienceMs);
    QVERIFY(!player->isPlaying(first));
}

// Without a sound server the game plays on silently: play() answers 0 and
// says why in the log. A server that comes later is found by the next
// sounds, and one that goes away takes its sound with it.
void TestSounds::soundsComeAndGoWithTheServer()
{
    SoundServer later;
    const QByteArray usual = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", later.address().toUtf8());
    QLoggingCategory::setFilterRules(QStringLiteral("tivoran.sound.warning=true"));
    const auto restore = qScopeGuard([&] {
        QLoggingCategory::setFilterRules(QString());
        qputenv("PULSE_SERVER", usual);
    });
    const auto logged = [] {
        const QMutexLocker lock(&g_logMutex);
        return std::exchange(g_soundLog, {});
    };

    const std::unique_ptr<SoundPlayer> player = loadedPlayer();
    QVERIFY(player);
    logged();
    QTRY_COMPARE_WITH_TIMEOUT(player->play(1), 0, kPatienceMs);
    QVERIFY(!player->isPlaying(1));
    QVERIFY(logged().contains(QStringLiteral("sound 1 not played: no sound server")));

    QVERIFY2(later.start(), qPrintable(later.why()));
    QTRY_COMPARE_WITH_TIMEOUT(player->play(3), 1, kPatienceMs);
    const QList<double> stop = atServerRate(3);
    QTRY_VERIFY_WITH_TIMEOUT(findSound(later.recording(), 0, stop, stop.size()) >= 0, kPatienceMs);

    const QList<double> win = atServerRate(2);
    later.clearRecording();
    QCOMPARE(player->play(2), 1);
    QTRY_VERIFY_WITH_TIMEOUT(findSound(later.recording(), 0, win, SoundServer::kRate / 10) >= 0, kPatienceMs);
    later.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!player->isPlaying(2), kPatienceMs);
    logged();
    QTRY_COMPARE_WITH_TIMEOUT(player->play(1), 0, kPatienceMs);
    QVERIFY(logged().contains(QStringLiteral("sound 1 not played: no sound server")));
}

void TestSounds::playWaveForwardsToThePlatform()
{
    FakePlatform fake;
    QCOMPARE(PlayWave(3), 1);
    QCOMPARE(PlayWave(1), 1);
    QCOMPARE(PlayWave(2), 1);
    QCOMPARE(PlayWave(3), 1);
    QCOMPARE(PlayWave(0), 0);  // the platform's answer comes back unchanged
    QCOMPARE(fake.sounds, (QList<int>{3, 1, 2, 3, 0}));
}

// Without a usable sound module beside the program the game is silent: no
// player, no error, no window.
void TestSounds::missingOrDamagedModuleIsSilence()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(!loadSoundPlayer(dir.path()));

    const QString name = QDir(QCoreApplication::applicationDirPath()).entryList({QStringLiteral("*tivoran_sound*")}).value(0);
    QVERIFY2(!name.isEmpty(), "sound module missing from the program directory");
    QFile damaged(dir.filePath(name));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, '\x7f'));
    damaged.close();
    QVERIFY(!loadSoundPlayer(dir.path()));

    // The real module beside it loads and reads all three sounds.
    QVERIFY(loadedPlayer());
}

// The game's own platform reads the sound module beside the program on a
// thread of its own. A sound asked for meanwhile is taken at once and played
// when the player is there; ending the game while the module loads waits
// for the loader and makes no player.
void TestSounds::desktopLoadsTheSoundsWhileTheGameGoesOn()
{
    {
        QtPlatform desktop;
        QCOMPARE(desktop.playWave(0), 0);
        QCOMPARE(desktop.playWave(4), 0);
        QVERIFY(!desktop.soundsReady());
        QCOMPARE(desktop.playWave(2), 1);
        QCOMPARE(desktop.playWave(3), 1);
        QVERIFY(!desktop.soundsReady());  // the player comes through the event loop
        QTRY_VERIFY_WITH_TIMEOUT(desktop.soundsReady(), kPatienceMs);
        QCOMPARE(desktop.playWave(7), 0);
        desktop.preloadSounds();  // once only
        QVERIFY(desktop.soundsReady());
    }
    {
        QtPlatform ending;
        ending.preloadSounds();
    }
    // Nothing left behind: no window, nothing still to be delivered.
    QCoreApplication::processEvents();
    QVERIFY(QGuiApplication::topLevelWindows().isEmpty());
}

void TestSounds::playerIgnoresUnknownIds()
{
    const std::unique_ptr<SoundPlayer> loaded = loadedPlayer();
    QVERIFY(loaded);
    SoundPlayer &player = *loaded;
    for (int id : {0, 4, -1, INT_MIN, INT_MAX}) {
        QCOMPARE(player.play(id), 0);
        QVERIFY(!player.isPlaying(id));
    }
    for (int id = 1; id <= SoundPlayer::kSoundCount; ++id)
        QVERIFY(!player.isPlaying(id));

    // An unknown id leaves a sound that is playing alone.
    const int started = player.play(2);
    QCOMPARE(player.isPlaying(2), started != 0);
    QCOMPARE(player.play(0), 0);
    QCOMPARE(player.play(4), 0);
    QCOMPARE(player.isPlaying(2), started != 0);
}

void TestSounds::playerReturnsAtOnceAndShowsNothing_data()
{
    QTest::addColumn<bool>("serverAnswers");
    QTest::newRow("server answers") << true;
    QTest::newRow("server hangs") << false;
}

// Nothing the sound server does holds up the game: not even a server that
// takes the connection and never answers.
void TestSounds::playerReturnsAtOnceAndShowsNothing()
{
    QFETCH(bool, serverAnswers);
    SoundServer hanging;
    const QByteArray usual = qgetenv("PULSE_SERVER");
    if (!serverAnswers) {
        QVERIFY2(hanging.start(), qPrintable(hanging.why()));
        hanging.freeze();
        qputenv("PULSE_SERVER", hanging.address().toUtf8());
    }
    const auto restore = qScopeGuard([&] { qputenv("PULSE_SERVER", usual); });
    const std::unique_ptr<SoundPlayer> loaded = loadedPlayer();
    QVERIFY(loaded);
    SoundPlayer &player = *loaded;
    const QList<QWindow *> windowsBefore = QGuiApplication::topLevelWindows();
    // A call must come back before its sound could have ended (310 ms,
    // 4.1 s and 239 ms long); in practice it takes microseconds. A player
    // that waited for the end would take that long on every call, while a
    // busy or slow machine (a sanitizer build, a loaded runner) may hold up
    // one call or another: so each sound is judged by its quickest call.
    const int lengthMs[] = {310, 4117, 239};
    qint64 quickest[] = {LLONG_MAX, LLONG_MAX, LLONG_MAX};
    for (int round = 0; round < 5; ++round) {
        for (int id = 1; id <= 3; ++id) {
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(player.play(id), 1);
            quickest[id - 1] = std::min(quickest[id - 1], timer.elapsed());
        }
    }
    for (int id = 1; id <= 3; ++id)
        QVERIFY2(quickest[id - 1] < lengthMs[id - 1],
                 qPrintable(QStringLiteral("sound %1 took %2 ms at the quickest").arg(id).arg(quickest[id - 1])));
    QCOMPARE(QGuiApplication::topLevelWindows(), windowsBefore);
}

void TestSounds::newSoundReplacesThePlayingOne()
{
    const std::unique_ptr<SoundPlayer> loaded = loadedPlayer();
    QVERIFY(loaded);
    SoundPlayer &player = *loaded;
    const int two = player.play(2);
    QCOMPARE(player.isPlaying(2), two != 0);

    const int one = player.play(1);
    QVERIFY(!player.isPlaying(2));
    QCOMPARE(player.isPlaying(1), one != 0);

    const int three = player.play(3);
    QVERIFY(!player.isPlaying(1));
    QVERIFY(!player.isPlaying(2));
    QCOMPARE(player.isPlaying(3), three != 0);

    // The same sound again starts over rather than being refused.
    QCOMPARE(player.play(3), three);
    QCOMPARE(player.isPlaying(3), three != 0);
}

QTEST_MAIN(TestSounds)
#include "test_sounds.moc"
