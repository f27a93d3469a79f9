#include "audio/sound_module/pulse_player.h"

#include "desktop/diagnostics.h"
#include "desktop/game_name.h"

#include <QFile>
#include <QLoggingCategory>

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop.h>
#include <pulse/proplist.h>
#include <pulse/stream.h>

#include <system_error>
#include <type_traits>

// The game's sound diagnostics, the module's own, silent unless switched on.
Q_LOGGING_CATEGORY(lcSound, SoundLogCategory, QtCriticalMsg)

namespace {
// How far ahead of the loudspeaker the server mixes while a sound plays:
// a new sound starts at once all the same (the server rewrites what it
// mixed ahead), and the server and the player wake up seldom.
constexpr pa_usec_t kLatencyUs = 100'000;

constexpr quint64 kSoundBits = 0xff;

} // namespace

PulsePlayer::PulsePlayer()
{
    for (int i = 0; i < kSoundCount; ++i) {
        QFile file(soundResource(i + 1));
        if (file.open(QIODevice::ReadOnly))
            m_sounds[i] = readWave(file.readAll());
        if (!m_sounds[i])
            qCWarning(lcSound) << "sound" << i + 1 << "is missing or damaged";
    }
    m_loop = pa_mainloop_new();
    if (m_loop) {
        try {
            m_thread = std::thread([this] { run(); });
            return;
        } catch (const std::system_error &) {
        }
    }
    qCWarning(lcSound) << "no thread for the sounds";
    m_server = Server::Missing;
}

PulsePlayer::~PulsePlayer()
{
    if (m_thread.joinable()) {
        m_quit = true;
        wake();
        m_thread.join();
    }
    if (m_loop)
        pa_mainloop_free(m_loop);
}

int PulsePlayer::play(int id)
{
    if (id < 1 || id > kSoundCount)
        return 0;
    const quint64 number = (m_request.load() >> 8) + 1;
    if (!m_sounds[id - 1]) {
        // Like any new request, it ends the sound still playing.
        m_request = number << 8;
        wake();
        qCWarning(lcSound) << "sound" << id << "not played: its data are damaged";
        return 0;
    }
    // While a server that was missing is looked for again, the sounds asked
    // for meanwhile are not kept: they might come long after their moment.
    const Server server = m_server;
    if (server == Server::Missing || server == Server::Retrying) {
        if (server == Server::Missing) {
            m_retry = true;
            wake();
        }
        qCWarning(lcSound) << "sound" << id << "not played: no sound server";
        return 0;
    }
    m_request = number << 8 | quint64(id);
    wake();
    return 1;
}

bool PulsePlayer::isPlaying(int id) const
{
    return id >= 1 && id <= kSoundCount && (m_request.load() & kSoundBits) == quint64(id);
}

bool PulsePlayer::isLoading() const
{
    return false;  // read in the constructor
}

void PulsePlayer::wake()
{
    if (m_loop)
        pa_mainloop_wakeup(m_loop);
}

// Everything below runs on the sound thread.

void PulsePlayer::run()
{
    connectToServer(Server::Connecting);
    while (!m_quit) {
        serve();
        if (pa_mainloop_prepare(m_loop, -1) < 0)
            break;
        // Getting ready to wait empties the wake-up pipe: a request made
        // since serve() looked would wait for the server's next word.
        if (m_quit || m_retry || m_request != m_seen)
            pa_mainloop_wakeup(m_loop);
        if (pa_mainloop_poll(m_loop) < 0 || pa_mainloop_dispatch(m_loop) < 0)
            break;
    }
    endStream();
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
}

void PulsePlayer::connectToServer(Server state)
{
    m_server = state;
    pa_proplist *properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, TIVORAN_APP_ID);
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, TIVORAN_APP_ID);
    m_context = pa_context_new_with_proplist(pa_mainloop_get_api(m_loop), GameName.toUtf8().constData(), properties);
    pa_proplist_free(properties);
    if (!m_context) {
        qCWarning(lcSound) << "no sound server: the client library failed";
        m_server = Server::Missing;
        return;
    }
    pa_context_set_state_callback(
        m_context, [](pa_context *, void *self) { static_cast<PulsePlayer *>(self)->contextChanged(); }, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0 && !m_contextGone) {
        qCWarning(lcSound) << "no sound server:" << pa_strerror(pa_context_errno(m_context));
        m_server = Server::Missing;
        m_contextGone = true;
    }
}

void PulsePlayer::contextChanged()
{
    switch (pa_context_get_state(m_context)) {
    case PA_CONTEXT_READY:
        m_server = Server::Ready;
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        qCWarning(lcSound) << "no sound server:" << pa_strerror(pa_context_errno(m_context));
        m_server = Server::Missing;
        m_contextGone = true;  // let go of in serve(), outside its own callback
        break;
    default:
        break;
    }
}

void PulsePlayer::serve()
{
    if (m_contextGone) {
        endStream();
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_unref(m_context);
        m_context = nullptr;
        m_contextGone = false;
    }
    if (!m_context && m_retry.exchange(false))
        connectToServer(Server::Retrying);

    const quint64 request = m_request;
    m_seen = request;
    if (m_server == Server::Missing || m_server == Server::Retrying) {
        soundEnded(request);  // a request made as the server went away
        return;
    }
    if (m_server != Server::Ready || request >> 8 == m_served)
        return;
    m_served = request >> 8;
    endStream();
    if (request & kSoundBits)
        startStream(request);
}

void PulsePlayer::startStream(quint64 request)
{
    const WaveData &wave = *m_sounds[(request & kSoundBits) - 1];
    const pa_sample_spec format{wave.bits == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE, quint32(wave.rate),
                              quint8(wave.channels)};
    pa_proplist *properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "game");
    m_stream = pa_stream_new_with_proplist(m_context, SoundDescriptions[(request & kSoundBits) - 1], &format, nullptr,
                                           properties);
    pa_proplist_free(properties);
    if (!m_stream) {
        qCWarning(lcSound) << "sound" << (request & kSoundBits) << "not played:" << pa_strerror(pa_context_errno(m_context));
        soundEnded(request);
        return;
    }
    m_streamRequest = request;
    pa_stream_set_state_callback(
        m_stream, [](pa_stream *stream, void *self) { static_cast<PulsePlayer *>(self)->streamChanged(stream); },
        this);
    pa_buffer_attr buffer;
    buffer.maxlength = quint32(-1);
    buffer.tlength = quint32(pa_usec_to_bytes(kLatencyUs, &format));
    buffer.prebuf = quint32(-1);
    buffer.minreq = quint32(-1);
    buffer.fragsize = quint32(-1);
    if (pa_stream_connect_playback(m_stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0) {
        qCWarning(lcSound) << "sound" << (request & kSoundBits) << "not played:" << pa_strerror(pa_context_errno(m_context));
        endStream();
        soundEnded(request);
    }
}

void PulsePlayer::streamChanged(pa_stream *stream)
{
    if (stream != m_stream)
        return;
    const quint64 request = m_streamRequest;
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY: {
        // The whole sound at once: the server keeps it and plays it out.
        const QByteArray &samples = m_sounds[(request & kSoundBits) - 1]->samples;
        if (pa_stream_write(stream, samples.constData(), size_t(samples.size()), nullptr, 0, PA_SEEK_RELATIVE) < 0)
            break;
        // A sound shorter than what the server waits for before it starts
        // is started all the same; the drain says when it has been heard.
        if (pa_operation *trigger = pa_stream_trigger(stream, nullptr, nullptr))
            pa_operation_unref(trigger);
        pa_operation *drain = pa_stream_drain(
            stream,
            [](pa_stream *drained, int success, void *self) {
                static_cast<PulsePlayer *>(self)->streamDrained(drained, success);
            },
            this);
        if (!drain)
            break;
        pa_operation_unref(drain);
        return;
    }
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        break;
    default:
        return;
    }
    qCWarning(lcSound) << "sound" << (request & kSoundBits) << "stopped:" << pa_strerror(pa_context_errno(m_context));
    endStream();
    soundEnded(request);
}

void PulsePlayer::streamDrained(pa_stream *stream, int success)
{
    if (stream != m_stream || !success)
        return;
    const quint64 request = m_streamRequest;
    endStream();
    soundEnded(request);
}

void PulsePlayer::endStream()
{
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);  // silent at once, whatever was left of it
    pa_stream_unref(m_stream);
    m_stream = nullptr;
}

void PulsePlayer::soundEnded(quint64 request)
{
    // Unless a newer request came in meanwhile.
    m_request.compare_exchange_strong(request, request & ~kSoundBits);
}

// What the game's loader looks for in this module.
extern "C" Q_DECL_EXPORT SoundPlayer *tivoranCreateSoundPlayer()
{
    return new PulsePlayer;
}
static_assert(std::is_same_v<decltype(&tivoranCreateSoundPlayer), CreateSoundPlayerFn>);
