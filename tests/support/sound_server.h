#pragma once
// A sound server of the test's own, so that a test hears what the game
// plays: PulseAudio with a single null sink (mono, 16-bit, kRate) that
// plays into nothing, in a runtime folder of its own, and a recorder of
// that sink's monitor. Clients reach it through PULSE_SERVER=address().
// Sounds of other rates are converted by holding each sample (the trivial
// resampler), so a sound at half the rate arrives with every sample twice.
// The sink never rewinds what it has mixed ahead (a sound that starts is
// mixed after it), so its monitor holds every sound from its first sample.
//
// start() starts both, stop() or the destructor ends both at once, as a
// crashed server goes; they also end with the test process. The address
// stays the same from one start() to the next.

#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class SoundServer {
public:
    static constexpr int kRate = 22050;

    SoundServer();
    ~SoundServer();

    // False, with the reason in why(), when the server or its recorder did
    // not come up (pulseaudio and parec, from pulseaudio-utils, are the
    // test packages this needs).
    bool start();
    void stop();
    // Stops the server where it is, as a hung server: it takes connections
    // and answers none. Until stop().
    void freeze();
    QString why() const { return m_why; }

    QString address() const;
    qint64 serverPid() const { return m_server.processId(); }
    // What the sink has played since the recorder started or the last
    // clearRecording(), scaled to -1..1.
    const QList<double> &recording();
    void clearRecording();

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_recorder;
    QList<double> m_samples;
    QByteArray m_pending;  // half a sample, when a read ends in one
    QString m_why;
};
