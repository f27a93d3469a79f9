#include "sound_server.h"

#include "helpers.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

#include <signal.h>
#include <sys/prctl.h>

namespace {

// Both processes go when the test process goes, however it ends.
void endWithTheTest(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

} // namespace

SoundServer::SoundServer()
{
    endWithTheTest(m_server);
    endWithTheTest(m_recorder);
}

SoundServer::~SoundServer()
{
    stop();
}

QString SoundServer::address() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
}

bool SoundServer::start()
{
    stop();
    const QString dir = m_dir.path();
    const QString socket = m_dir.filePath(QStringLiteral("native"));
    QFile::remove(socket);  // left by a server that was killed
    // Everything the server keeps or looks up stays in its folder; no
    // session bus is asked, none is started.
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin")));
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"})
        env.insert(QLatin1String(name), dir);
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + dir + QStringLiteral("/no-bus"));
    m_server.setProcessEnvironment(env);
    m_server.setStandardOutputFile(QProcess::nullDevice());
    m_server.setStandardErrorFile(m_dir.filePath(QStringLiteral("server.log")));
    // Tests run as root: a server of the user's own, not the system's, with
    // only the modules named here (-n), no real-time scheduling, and an end
    // of its own once no client has been there for a while.
    m_server.start(QStringLiteral("pulseaudio"),
                   QStringLiteral("-n --daemonize=no --system=no --use-pid-file=no --exit-idle-time=10 --realtime=no "
                                  "--high-priority=no --no-cpu-limit=yes --resample-method=trivial --log-target=stderr")
                           .split(QLatin1Char(' '))
                       << QStringLiteral("-L")
                       << QStringLiteral("module-native-protocol-unix auth-anonymous=1 auth-cookie-enabled=0 socket=")
                              + socket
                       << QStringLiteral("-L")
                       << QStringLiteral("module-null-sink sink_name=tivoran_test format=s16le channels=1 rate=%1 "
                                         "norewinds=1").arg(kRate));
    if (!m_server.waitForStarted()
        || !QTest::qWaitFor([&] { return QFile::exists(socket) || m_server.state() != QProcess::Running; }, kPatienceMs)
        || m_server.state() != QProcess::Running) {
        QFile log(m_dir.filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        m_why = QStringLiteral("pulseaudio did not come up: ") + m_server.errorString() + QLatin1Char(' ')
                + QString::fromLocal8Bit(log.readAll());
        stop();
        return false;
    }

    // The recorder asks for short fragments, so the sink mixes only a few
    // milliseconds ahead and what it plays arrives here at once.
    m_recorder.setStandardErrorFile(QProcess::nullDevice());
    m_recorder.start(QStringLiteral("parec"),
                     QStringLiteral("--device=tivoran_test.monitor --raw --format=s16le --channels=1 --rate=%1 "
                                    "--latency-msec=10").arg(kRate).split(QLatin1Char(' '))
                         << QStringLiteral("--server=") + address());
    m_samples.clear();
    m_pending.clear();
    if (!QTest::qWaitFor([&] { return !recording().isEmpty() || m_recorder.state() == QProcess::NotRunning; },
                         kPatienceMs)
        || recording().isEmpty()) {
        m_why = QStringLiteral("parec did not record: ") + m_recorder.errorString();
        stop();
        return false;
    }
    return true;
}

void SoundServer::stop()
{
    for (QProcess *process : {&m_server, &m_recorder}) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
    }
}

void SoundServer::freeze()
{
    if (m_server.state() == QProcess::Running)
        ::kill(pid_t(m_server.processId()), SIGSTOP);
}

const QList<double> &SoundServer::recording()
{
    const QByteArray bytes = m_pending + m_recorder.readAllStandardOutput();
    const qsizetype whole = bytes.size() / 2 * 2;
    m_samples.reserve(m_samples.size() + whole / 2);
    for (qsizetype i = 0; i < whole; i += 2)
        m_samples.append(qFromLittleEndian<qint16>(bytes.constData() + i) / 32768.0);
    m_pending = bytes.mid(whole);
    return m_samples;
}

void SoundServer::clearRecording()
{
    recording();
    m_samples.clear();
}
