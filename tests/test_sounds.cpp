// The three embedded wave sounds, the sound module PlayWave and the player
// that the desktop platform uses to make them heard.

#include "fake_platform.h"
#include "helpers.h"
#include "audio/playwave.h"
#include "audio/sound_player.h"
#include "game/qt_platform.h"

#include <QAudioFormat>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QWaveDecoder>
#include <QtTest>

#include <algorithm>
#include <climits>
#include <memory>
#include <cmath>

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

// The player the game uses: made by the sound module beside the program,
// with its sounds read. Qt reads them on a thread of its own; a test that
// ended while a read was under way would leave that thread's objects to the
// process exit.
// The player of the sound module in dir, or null when there is none.
std::unique_ptr<SoundPlayer> loadSoundPlayer(const QString &dir)
{
    const CreateSoundPlayerFn create = loadSoundModule(dir);
    return std::unique_ptr<SoundPlayer>(create ? create() : nullptr);
}

std::unique_ptr<SoundPlayer> loadedPlayer()
{
    std::unique_ptr<SoundPlayer> player = loadSoundPlayer(QCoreApplication::applicationDirPath());
    if (player && !QTest::qWaitFor([&] { return !player->isLoading(); }, kPatienceMs))
        player.reset();
    return player;
}

}  // namespace

class TestSounds : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void waveFiles_data();
    void waveFiles();
    void playWaveForwardsToThePlatform();
    void missingOrDamagedModuleIsSilence();
    void desktopLoadsTheSoundsWhileTheGameGoesOn();
    void playerIgnoresUnknownIds();
    void playerReturnsAtOnceAndShowsNothing();
    void newSoundReplacesThePlayingOne();
};

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

    QByteArray copy = file;
    QBuffer buffer(&copy);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QWaveDecoder reader(&buffer);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    const QAudioFormat format = reader.audioFormat();
    QVERIFY(format.isValid());
    QCOMPARE(format.sampleRate(), rate);
    QCOMPARE(format.channelCount(), 1);
    QCOMPARE(format.sampleFormat(), bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    QCOMPARE(reader.size(), qint64(sampleCount) * bits / 8);

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

void TestSounds::playerReturnsAtOnceAndShowsNothing()
{
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
            player.play(id);
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
