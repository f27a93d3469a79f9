#pragma once
// What the sound benchmarks share: one clock (CLOCK_MONOTONIC) for the
// moment a sound is asked for and the moment the sink plays it, and a
// listener that notes when each piece of the sink's recording arrived
// (tests/support/sound_server.h) and whether it holds a loud sample.

#include "sound_server.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

inline qint64 monoNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

inline double quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    return v[size_t(std::lround(q * double(v.size() - 1)))];
}

inline double median(const std::vector<double> &v)
{
    return quantile(v, 0.5);
}

// Runs the event loop for ms milliseconds, as the game's would run.
inline void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Starts the server and points this process's sound clients at it; says
// why on standard error when it does not come up.
inline bool startServerForPlayers(SoundServer &server)
{
    if (!server.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.why()));
        return false;
    }
    qputenv("PULSE_SERVER", server.address().toUtf8());
    return true;
}

// Listens to the sink while the event loop runs. The recorder brings the
// sink's sound in pieces of about 10 ms, so a time taken here includes up
// to 10 ms of waiting for a piece to fill, the same for every player.
class SinkListener {
public:
    explicit SinkListener(SoundServer &server)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, &server] {
            const QList<double> &heard = server.recording();
            if (heard.isEmpty())
                return;
            const auto loud = std::find_if(heard.begin(), heard.end(), [](double s) { return std::abs(s) > 0.02; });
            m_pieces.push_back({monoNs(), loud != heard.end()});
            server.clearRecording();
        });
        m_timer.start(1);
    }

    // Milliseconds from askedNs to the arrival of the first piece after it
    // that holds a sample above 2 % of full scale; NaN when none has come.
    double heardAfter(qint64 askedNs) const
    {
        for (const Piece &p : m_pieces) {
            if (p.arrived >= askedNs && p.loud)
                return double(p.arrived - askedNs) / 1e6;
        }
        return NAN;
    }

    void clear() { m_pieces.clear(); }

private:
    struct Piece {
        qint64 arrived;
        bool loud;
    };
    std::vector<Piece> m_pieces;
    QTimer m_timer;
};
