#pragma once
// Plays the game's three embedded wave sounds through the desktop's sound
// server with the PulseAudio client library: PulseAudio itself, or the
// PulseAudio service of PipeWire. The sounds are read once, when the player
// is made, and kept until it goes away.
//
// The server is spoken to from a thread of the player's own. play() leaves
// its request there and wakes that thread, so the game never waits on the
// sound system, not even while the player connects. Each sound goes out as
// a stream of its own, played whole from memory; a new request ends the
// stream still playing before the next one starts, so sounds never mix.
// Without a server, or after it went away, play() answers 0 and sets off
// another attempt to connect, so the sounds come back with the server.

#include "audio/sound_module/wave_data.h"
#include "audio/sound_player.h"

#include <array>
#include <atomic>
#include <optional>
#include <thread>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

class PulsePlayer : public SoundPlayer {
public:
    PulsePlayer();
    ~PulsePlayer() override;

    int play(int id) override;
    bool isPlaying(int id) const override;
    bool isLoading() const override;

private:
    // Connecting is the first attempt: a sound asked for meanwhile plays
    // once the player is connected. Retrying is a later one.
    enum class Server { Connecting, Ready, Missing, Retrying };

    void wake();

    // The sound thread's work.
    void run();
    void connectToServer(Server state);
    void serve();
    void contextChanged();
    void startStream(quint64 request);
    void streamChanged(pa_stream *stream);
    void streamDrained(pa_stream *stream, int success);
    void endStream();
    void soundEnded(quint64 request);

    std::array<std::optional<WaveData>, kSoundCount> m_sounds;
    pa_mainloop *m_loop = nullptr;

    // Shared by the game's thread and the sound thread. A request is its
    // number, counted up by play(), shifted left by 8, and the id of the
    // sound that plays or is about to (0: none, once it has ended).
    std::atomic<quint64> m_request{0};
    std::atomic<Server> m_server{Server::Connecting};
    std::atomic<bool> m_retry{false};
    std::atomic<bool> m_quit{false};

    // The sound thread's own.
    pa_context *m_context = nullptr;
    bool m_contextGone = false;
    pa_stream *m_stream = nullptr;
    quint64 m_streamRequest = 0;
    quint64 m_served = 0;  // the number of the last request acted on
    quint64 m_seen = 0;    // the request as serve() last found it

    std::thread m_thread;
};
