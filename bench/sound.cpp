// The sound benchmark (bench/sound.sh drives it): two builds of the sound
// module side by side, on one sound server of the benchmark's own (the
// tests' PulseAudio with a null sink, tests/support/sound_server.h).
//
//   tivoran-bench-sound compare RUNS PLAYS OLD_DIR NEW_DIR
//       starts the server and records what its sink plays, runs the module
//       in OLD_DIR and the one in NEW_DIR RUNS times each, taking turns,
//       each in a process of its own, and prints one Markdown table
//   tivoran-bench-sound measure DIR PLAYS SERVER_PID
//       one such process: loads the module in DIR as the game does, plays
//       the first sound, PLAYS more and then sound 2 whole, and prints when
//       it asked for each sound and what it cost
//
// The time from play() to the first sample at the sink is taken on one
// clock (CLOCK_MONOTONIC) by both processes: the measuring process notes
// when it called play(), the comparing one when the piece of the sink's
// recording that holds the sound's first loud sample arrived.

#include "audio/sound_player.h"
#include "proc_status.h"
#include "sink_listener.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The shared libraries mapped into this process.
std::set<std::string> libraries()
{
    std::set<std::string> found;
    FILE *f = std::fopen("/proc/self/maps", "r");
    char line[1024];
    while (f && std::fgets(line, sizeof line, f)) {
        const char *path = std::strchr(line, '/');
        if (path && std::strstr(path, ".so"))
            found.insert(std::string(path, std::strcspn(path, "\n")));
    }
    if (f)
        std::fclose(f);
    return found;
}

// CPU time (ns) and context switches of every thread of a process.
std::pair<qint64, long> cpuOf(long pid)
{
    qint64 ns = 0;
    long switches = 0;
    const std::string dirPath = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(dirPath.c_str());
    while (dirent *e = dir ? readdir(dir) : nullptr) {
        if (e->d_name[0] == '.')
            continue;
        const std::string task = dirPath + "/" + e->d_name;
        if (FILE *f = std::fopen((task + "/schedstat").c_str(), "r")) {
            long long run = 0;
            if (std::fscanf(f, "%lld", &run) == 1)
                ns += run;
            std::fclose(f);
        }
        if (FILE *f = std::fopen((task + "/status").c_str(), "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, f)) {
                if (std::strstr(line, "ctxt_switches:"))
                    switches += std::atol(std::strchr(line, ':') + 1);
            }
            std::fclose(f);
        }
    }
    if (dir)
        closedir(dir);
    return {ns, switches};
}

// ------------------------------------------------------------ one process

int measure(const QString &dir, int plays, long serverPid)
{
    const long rssBefore = rssKiB(getpid());
    const std::set<std::string> before = libraries();
    const CreateSoundPlayerFn create = loadSoundModule(dir);
    if (!create)
        return 1;
    std::unique_ptr<SoundPlayer> player(create());
    for (int waited = 0; player->isLoading() && waited < 10000; waited += 10)
        spin(10);
    // As in the game, the first sound comes a while after the player.
    spin(500);

    const auto play = [&](int id, int thenMs) {
        const qint64 asked = monoNs();
        const int started = player->play(id);
        const qint64 returned = monoNs();
        std::printf("play %d %lld %lld %d\n", id, asked, returned - asked, started);
        spin(thenMs);
    };
    play(3, 800);
    std::printf("rss-after-first %ld\n", rssKiB(getpid()));
    std::printf("rss-added %ld\n", rssKiB(getpid()) - rssBefore);
    size_t added = 0;
    for (const std::string &library : libraries())
        added += !before.count(library);
    std::printf("libraries-added %zu\n", added);
    for (int i = 0; i < plays; ++i)
        play(i % 2 ? 1 : 3, 700);

    // The CPU while the long sound plays, and the server's meanwhile.
    const auto self = cpuOf(getpid());
    const auto server = cpuOf(serverPid);
    const qint64 from = monoNs();
    player->play(2);
    spin(4300);
    const double wall = double(monoNs() - from);
    const auto selfAfter = cpuOf(getpid());
    const auto serverAfter = cpuOf(serverPid);
    std::printf("cpu %.4f\n", 100.0 * double(selfAfter.first - self.first) / wall);
    std::printf("wakeups %.1f\n", double(selfAfter.second - self.second) / (wall / 1e9));
    std::printf("server-cpu %.4f\n", 100.0 * double(serverAfter.first - server.first) / wall);
    std::fflush(stdout);
    player.reset();
    return 0;
}

// ----------------------------------------------------------- side by side

struct Figures {
    std::vector<double> first, later, call, cpu, wakeups, serverCpu, rss, rssAdded, libraries;
    int started = 0, asked = 0, unheard = 0;
};

int compare(int runs, int plays, const QString &oldDir, const QString &newDir)
{
    SoundServer server;
    if (!startServerForPlayers(server))
        return 1;
    SinkListener sink(server);

    std::map<QString, Figures> figures;
    for (int run = 0; run < runs; ++run) {
        for (const QString &dir : {oldDir, newDir}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("measure"), dir, QString::number(plays),
                         QString::number(server.serverPid())});
            QEventLoop loop;
            QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
            if (child.state() != QProcess::NotRunning)
                loop.exec();
            spin(50);  // the last pieces of the recording
            if (child.exitCode() != 0) {
                std::fprintf(stderr, "the module in %s did not run\n", qPrintable(dir));
                return 1;
            }
            Figures &f = figures[dir];
            bool first = true;
            for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
                const QList<QByteArray> w = line.split(' ');
                if (w.size() == 5 && w[0] == "play") {
                    const double latency = sink.heardAfter(w[2].toLongLong());
                    f.call.push_back(w[3].toDouble() / 1e6);
                    f.asked++;
                    f.started += w[4].toInt() != 0;
                    if (std::isnan(latency))
                        f.unheard++;
                    else
                        (first ? f.first : f.later).push_back(latency);
                    first = false;
                } else if (w.size() == 2) {
                    const double v = w[1].toDouble();
                    if (w[0] == "rss-after-first")
                        f.rss.push_back(v / 1024);
                    else if (w[0] == "rss-added")
                        f.rssAdded.push_back(v / 1024);
                    else if (w[0] == "libraries-added")
                        f.libraries.push_back(v);
                    else if (w[0] == "cpu")
                        f.cpu.push_back(v);
                    else if (w[0] == "wakeups")
                        f.wakeups.push_back(v);
                    else if (w[0] == "server-cpu")
                        f.serverCpu.push_back(v);
                }
            }
            sink.clear();
        }
    }

    const Figures &o = figures[oldDir];
    const Figures &n = figures[newDir];
    const auto row = [](const std::string &figure, double old, double now, const char *format) {
        char a[64], b[64], r[64];
        std::snprintf(a, sizeof a, format, old);
        std::snprintf(b, sizeof b, format, now);
        if (old > 0 && now >= 0)
            std::snprintf(r, sizeof r, "%.2f x", now / old);
        else
            std::snprintf(r, sizeof r, "-");
        std::printf("| %s | %s | %s | %s |\n", figure.c_str(), a, b, r);
    };
    const std::string r = std::to_string(runs);
    std::printf("| Figure | Qt Multimedia | PulseAudio client | New / old |\n|---|---|---|---|\n");
    row("play() to first sample at the sink, first sound, median of " + r + " (ms)", median(o.first),
        median(n.first), "%.1f");
    row("play() to first sample at the sink, later sounds, median of " + std::to_string(n.later.size()) + " (ms)",
        median(o.later), median(n.later), "%.1f");
    row("play() to first sample at the sink, later sounds, p90 (ms)", quantile(o.later, 0.9),
        quantile(n.later, 0.9), "%.1f");
    row("play() to first sample at the sink, later sounds, max (ms)", quantile(o.later, 1), quantile(n.later, 1),
        "%.1f");
    row("play() call returns after, median (ms)", median(o.call), median(n.call), "%.3f");
    row("play() call returns after, max (ms)", quantile(o.call, 1), quantile(n.call, 1), "%.3f");
    row("CPU of the game process while sound 2 plays (4.1 s), median of " + r + " (% of one core)", median(o.cpu),
        median(n.cpu), "%.2f");
    row("its wake-ups meanwhile (context switches per s)", median(o.wakeups), median(n.wakeups), "%.0f");
    row("CPU of the sound server meanwhile (% of one core)", median(o.serverCpu), median(n.serverCpu), "%.2f");
    row("resident memory after the first sound, median of " + r + " (MiB)", median(o.rss), median(n.rss), "%.1f");
    row("of which the sound player and its libraries (MiB)", median(o.rssAdded), median(n.rssAdded), "%.1f");
    row("shared libraries the sound player brings in", median(o.libraries), median(n.libraries), "%.0f");
    const auto late = [](const Figures &f) {
        return std::count_if(f.later.begin(), f.later.end(), [](double ms) { return ms > 100; });
    };
    std::printf("| later sounds first heard more than 100 ms after play() | %zd of %zu | %zd of %zu | - |\n",
                ssize_t(late(o)), o.later.size(), ssize_t(late(n)), n.later.size());
    std::printf("| sounds asked for / started / heard | %d / %d / %d | %d / %d / %d | - |\n", o.asked, o.started,
                o.asked - o.unheard, n.asked, n.started, n.asked - n.unheard);
    return o.unheard == 0 && n.unheard == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::strcmp(argv[1], "measure") == 0) {
        // The game's own kind of application, without a screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return measure(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), std::atol(argv[4]));
    }
    if (argc == 6 && std::strcmp(argv[1], "compare") == 0) {
        QCoreApplication app(argc, argv);
        return compare(std::atoi(argv[2]), std::atoi(argv[3]), QString::fromLocal8Bit(argv[4]),
                       QString::fromLocal8Bit(argv[5]));
    }
    std::fprintf(stderr, "usage: tivoran-bench-sound compare RUNS PLAYS OLD_DIR NEW_DIR\n"
                         "       tivoran-bench-sound measure DIR PLAYS SERVER_PID\n");
    return 2;
}
