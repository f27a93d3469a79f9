// The sound library benchmark (bench/sound_libraries.sh drives it): the
// PulseAudio client library, ALSA and libcanberra side by side, each
// playing the game's sounds 1 and 3 by turns to one sound server of the
// benchmark's own (the tests' PulseAudio with a null sink,
// tests/support/sound_server.h).
//
//   tivoran-bench-sound-libraries PLAYS SOUNDS_DIR
//
// Each library plays as a small player built on it would:
//   libpulse    a playback stream per sound on a threaded main loop, the
//               samples written whole once the stream is ready
//   ALSA        the "pulse" device (libasound2-plugins; what "default" is
//               where a PulseAudio or PipeWire server runs), kept open for
//               each format (sounds 1 and 3 differ in rate), every one
//               stopped and the sound's made ready again, and the samples
//               that fit in its 50 ms buffer written without waiting; the
//               rest would be written from a thread, which does not move
//               the start
//   libcanberra ca_context_play of the sound's file, the sound before
//               cancelled, through its ALSA backend on the same device
// The libraries take turns sound by sound, 0.6 s apart. Prints one Markdown
// table; bench/sound_libraries.sh adds the package rows.

#include "audio/sound_module/wave_data.h"
#include "audio/sounds.h"
#include "sink_listener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <alsa/asoundlib.h>
#include <canberra.h>
#include <pulse/pulseaudio.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace {

struct Sound {
    WaveData wave;
    QByteArray path;
};

class Library {
public:
    virtual ~Library() = default;
    // The reason, when the library cannot reach the sound server.
    virtual std::string open() = 0;
    // Starts the sound, stopping the one before; false when refused.
    virtual bool play(const Sound &sound) = 0;
};

class Pulse final : public Library {
public:
    ~Pulse() override
    {
        if (!m_loop)
            return;
        pa_threaded_mainloop_stop(m_loop);
        if (m_stream)
            pa_stream_unref(m_stream);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        pa_threaded_mainloop_free(m_loop);
    }

    std::string open() override
    {
        m_loop = pa_threaded_mainloop_new();
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Tivoran benchmark");
        const auto wake = [](pa_context *, void *loop) {
            pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop *>(loop), 0);
        };
        pa_context_set_state_callback(m_context, wake, m_loop);
        pa_threaded_mainloop_lock(m_loop);
        pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr);
        pa_threaded_mainloop_start(m_loop);
        pa_context_state_t state;
        while ((state = pa_context_get_state(m_context)) != PA_CONTEXT_READY && PA_CONTEXT_IS_GOOD(state))
            pa_threaded_mainloop_wait(m_loop);
        pa_threaded_mainloop_unlock(m_loop);
        return state == PA_CONTEXT_READY ? "" : pa_strerror(pa_context_errno(m_context));
    }

    bool play(const Sound &sound) override
    {
        pa_threaded_mainloop_lock(m_loop);
        if (m_stream) {
            pa_stream_set_state_callback(m_stream, nullptr, nullptr);
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
        }
        const pa_sample_spec format{sound.wave.bits == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE, uint32_t(sound.wave.rate),
                                  uint8_t(sound.wave.channels)};
        m_stream = pa_stream_new(m_context, "sound", &format, nullptr);
        m_playing = &sound.wave.samples;
        pa_stream_set_state_callback(m_stream, [](pa_stream *s, void *self) {
            if (pa_stream_get_state(s) != PA_STREAM_READY)
                return;
            const QByteArray &samples = *static_cast<Pulse *>(self)->m_playing;
            pa_stream_write(s, samples.constData(), size_t(samples.size()), nullptr, 0, PA_SEEK_RELATIVE);
            pa_operation_unref(pa_stream_trigger(s, nullptr, nullptr));
        }, this);
        const uint32_t any = uint32_t(-1);
        const pa_buffer_attr buffer{any, uint32_t(pa_usec_to_bytes(25'000, &format)), any, any, any};
        const bool started = pa_stream_connect_playback(m_stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY,
                                                        nullptr, nullptr) == 0;
        pa_threaded_mainloop_unlock(m_loop);
        return started;
    }

private:
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    const QByteArray *m_playing = nullptr;
};

constexpr const char *kAlsaDevice = "pulse";

class Alsa final : public Library {
public:
    ~Alsa() override
    {
        for (const auto &[format, pcm] : m_pcms)
            snd_pcm_close(pcm);
    }

    std::string open() override
    {
        snd_pcm_t *pcm = nullptr;
        const int error = snd_pcm_open(&pcm, kAlsaDevice, SND_PCM_STREAM_PLAYBACK, 0);
        if (error < 0)
            return snd_strerror(error);
        snd_pcm_close(pcm);
        return "";
    }

    bool play(const Sound &sound) override
    {
        const WaveData &w = sound.wave;
        const auto format = std::tuple(w.rate, w.bits, w.channels);
        snd_pcm_t *&pcm = m_pcms[format];
        if (!pcm
            && (snd_pcm_open(&pcm, kAlsaDevice, SND_PCM_STREAM_PLAYBACK, 0) < 0
                || snd_pcm_set_params(pcm, w.bits == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE,
                                      SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(w.channels), unsigned(w.rate), 1, 50'000)
                       < 0)) {
            if (pcm)
                snd_pcm_close(pcm);
            m_pcms.erase(format);
            return false;
        }
        for (const auto &[other, device] : m_pcms)
            snd_pcm_drop(device);
        snd_pcm_prepare(pcm);
        snd_pcm_nonblock(pcm, 1);
        const snd_pcm_sframes_t written =
            snd_pcm_writei(pcm, w.samples.constData(), snd_pcm_uframes_t(w.samples.size() / (w.bits / 8 * w.channels)));
        snd_pcm_nonblock(pcm, 0);
        return written > 0;
    }

private:
    // A device for each format: one device plays one format.
    std::map<std::tuple<int, int, int>, snd_pcm_t *> m_pcms;
};

class Canberra final : public Library {
public:
    ~Canberra() override
    {
        if (m_context)
            ca_context_destroy(m_context);
    }

    std::string open() override
    {
        ca_context_create(&m_context);
        ca_context_set_driver(m_context, "alsa");
        ca_context_change_device(m_context, kAlsaDevice);
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Tivoran benchmark", nullptr);
        const int error = ca_context_open(m_context);
        return error == CA_SUCCESS ? "" : ca_strerror(error);
    }

    bool play(const Sound &sound) override
    {
        ca_context_cancel(m_context, 1);
        return ca_context_play(m_context, 1, CA_PROP_MEDIA_FILENAME, sound.path.constData(), nullptr) == CA_SUCCESS;
    }

private:
    ca_context *m_context = nullptr;
};

struct Figures {
    double first = NAN;
    std::vector<double> later, call;
    int asked = 0, started = 0, heard = 0;
};

int run(int plays, const QString &soundsDir)
{
    std::array<Sound, 4> sounds;
    for (int id : {1, 3}) {
        const QString path = QDir(soundsDir).absoluteFilePath(QStringLiteral("%1.wav").arg(QLatin1String(SoundFiles[id - 1])));
        QFile file(path);
        const auto wave = file.open(QIODevice::ReadOnly) ? readWave(file.readAll()) : std::nullopt;
        if (!wave) {
            std::fprintf(stderr, "%s: missing or not a wave file\n", qPrintable(path));
            return 1;
        }
        sounds[size_t(id)] = {*wave, QFile::encodeName(path)};
    }
    SoundServer server;
    if (!startServerForPlayers(server))
        return 1;
    SinkListener sink(server);

    constexpr int kLibraries = 3;
    const std::array<std::unique_ptr<Library>, kLibraries> libraries{
        std::make_unique<Pulse>(), std::make_unique<Alsa>(), std::make_unique<Canberra>()};
    for (const auto &library : libraries) {
        if (const std::string why = library->open(); !why.empty()) {
            std::fprintf(stderr, "a sound library did not reach the server: %s\n", why.c_str());
            return 1;
        }
    }
    spin(500);

    std::array<Figures, kLibraries> figures;
    for (int round = 0; round <= plays; ++round) {
        const Sound &sound = sounds[round % 2 ? 3 : 1];
        for (int turn = 0; turn < kLibraries; ++turn) {
            const int i = (round + turn) % kLibraries;
            Figures &f = figures[size_t(i)];
            const qint64 asked = monoNs();
            f.started += libraries[size_t(i)]->play(sound);
            const qint64 returned = monoNs();
            spin(600);
            const double heard = sink.heardAfter(asked);
            sink.clear();
            f.asked++;
            f.heard += !std::isnan(heard);
            if (round == 0) {
                f.first = heard;
                continue;
            }
            f.call.push_back(double(returned - asked) / 1e6);
            if (!std::isnan(heard))
                f.later.push_back(heard);
        }
    }

    const auto row = [&](const std::string &figure, const char *format, auto value) {
        std::printf("| %s |", figure.c_str());
        for (const Figures &f : figures)
            std::printf(" %s |", qPrintable(QString::asprintf(format, value(f))));
        std::printf("\n");
    };
    const std::string n = std::to_string(plays);
    std::printf("| Figure | PulseAudio client (libpulse) | ALSA (libasound2, its PulseAudio plugin) "
                "| libcanberra (its ALSA backend) |\n|---|---|---|---|\n");
    row("play call to first sample at the sink, first sound (ms)", "%.1f", [](const Figures &f) { return f.first; });
    row("play call to first sample at the sink, median of " + n + " more (ms)", "%.1f",
        [](const Figures &f) { return median(f.later); });
    row("play call to first sample at the sink, p90 (ms)", "%.1f",
        [](const Figures &f) { return quantile(f.later, 0.9); });
    row("play call to first sample at the sink, max (ms)", "%.1f",
        [](const Figures &f) { return quantile(f.later, 1); });
    row("play call returns after, median (ms)", "%.3f", [](const Figures &f) { return median(f.call); });
    row("play call returns after, max (ms)", "%.3f", [](const Figures &f) { return quantile(f.call, 1); });
    std::printf("| sounds asked for / started / heard |");
    for (const Figures &f : figures)
        std::printf(" %d / %d / %d |", f.asked, f.started, f.heard);
    std::printf("\n");
    std::fflush(stdout);
    return std::all_of(figures.begin(), figures.end(), [](const Figures &f) { return f.heard == f.asked; }) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tivoran-bench-sound-libraries PLAYS SOUNDS_DIR\n");
        return 2;
    }
    return run(std::atoi(argv[1]), QString::fromLocal8Bit(argv[2]));
}
