// The measuring half of the benchmarks (bench/run.sh drives it). Each
// command prints Markdown table rows:
//   | figure | platform | Tivoran | baseline | ratio | target | met |
//
// Commands measuring programs from outside, interleaving the baseline and
// the game run by run so both see the same machine:
//   tivoran-bench startup RUNS BASELINE GAME
//       process start to "shown and idle"; BASELINE and GAME are the timed
//       builds (tivoran-bench-baseline-timed, tivoran-bench-game), which
//       print that moment and quit
//   tivoran-bench memory RUNS BASELINE GAME
//   tivoran-bench idle SECONDS BASELINE GAME
//       resident memory, and CPU of the idle window, read from /proc; GAME
//       is the shipped program itself (./tivoran), BASELINE the plain
//       yardstick (tivoran-bench-baseline)
// Commands starting the game inside this process as the program starts it
// (StartedGame of game/program.h, the start of runGame()) and driving its
// table through its handlers and through posted mouse clicks, as a player
// would:
//   tivoran-bench ranking SECONDS   CPU while a ranking game waits
//   tivoran-bench spin SECONDS      CPU while three reels spin; tick rhythm
//   tivoran-bench respond TRIALS    Stop click to reel standing; bet click
//                                   to coin total repainted
//   tivoran-bench playwave CALLS    time a PlayWave call takes to return

#include "audio/playwave.h"
#include "game/program.h"
#include "game/smashine.h"
#include "ui/ctl_digital.h"
#include "game/qt_platform.h"
#include "proc_status.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// ------------------------------------------------------------- statistics

qint64 monoNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Nearest-rank percentile.
double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t rank = size_t(std::ceil(p / 100.0 * double(v.size())));
    rank = std::clamp<size_t>(rank, 1, v.size());
    return v[rank - 1];
}

double mean(const std::vector<double> &v)
{
    double s = 0;
    for (double x : v)
        s += x;
    return v.empty() ? 0 : s / double(v.size());
}

double maxOf(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

const char *platformName()
{
    const QByteArray p = qgetenv("QT_QPA_PLATFORM");
    return p.startsWith("offscreen") ? "offscreen" : "Xvfb";
}

std::string fmt(const char *f, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, f, v);
    return buf;
}

void row(const std::string &figure, const std::string &platform, const std::string &game,
         const std::string &baseline, const std::string &ratio, const std::string &target, bool met)
{
    std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", figure.c_str(), platform.c_str(), game.c_str(),
                baseline.c_str(), ratio.c_str(), target.c_str(), met ? "yes" : "**no**");
    std::fflush(stdout);
}

// ------------------------------------------------------- other processes

struct Child {
    pid_t pid = -1;
    int out = -1; // read end of its standard output, or -1
};

Child spawn(const char *program, bool captureOutput)
{
    Child c;
    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (captureOutput) {
        if (pipe2(fds, O_CLOEXEC) != 0)
            std::abort();
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    char *argv[] = {const_cast<char *>(program), nullptr};
    const int rc = posix_spawn(&c.pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", program, std::strerror(rc));
        std::exit(1);
    }
    if (captureOutput) {
        close(fds[1]);
        c.out = fds[0];
    }
    return c;
}

void finish(Child &c)
{
    if (c.pid > 0) {
        kill(c.pid, SIGKILL);
        waitpid(c.pid, nullptr, 0);
    }
    if (c.out >= 0)
        close(c.out);
    c = Child{};
}

// A program measured from outside must still be running when it is read:
// one that quit (a timed build passed by mistake, or a crash) would leave
// nothing, or another process, to read.
void requireRunning(const Child &c, const char *program)
{
    if (waitpid(c.pid, nullptr, WNOHANG) != 0) {
        std::fprintf(stderr, "%s is no longer running\n", program);
        std::exit(1);
    }
}

void sleepMs(int ms)
{
    timespec t{ms / 1000, long(ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

// Milliseconds from starting program (a timed build, see bench/idle_report.h)
// to its "shown-and-idle" line.
double startupOnce(const char *program)
{
    const qint64 t0 = monoNs();
    Child c = spawn(program, true);
    std::string text;
    qint64 idleAt = -1;
    const qint64 deadline = t0 + 60LL * 1000000000LL;
    while (idleAt < 0 && monoNs() < deadline) {
        pollfd p{c.out, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0)
            continue;
        char buf[256];
        const ssize_t n = read(c.out, buf, sizeof buf);
        if (n <= 0)
            break;
        text.append(buf, size_t(n));
        const size_t at = text.find("shown-and-idle ");
        if (at != std::string::npos && text.find('\n', at) != std::string::npos)
            idleAt = std::atoll(text.c_str() + at + 15);
    }
    int status = 0;
    waitpid(c.pid, &status, 0);
    close(c.out);
    if (idleAt < 0) {
        std::fprintf(stderr, "%s never reported shown-and-idle\n", program);
        std::exit(1);
    }
    return double(idleAt - t0) / 1e6;
}

// CPU time (ns) and context switches of every thread of a process.
struct CpuSample {
    qint64 cpuNs = 0;
    long switches = 0;
};

CpuSample cpuOf(pid_t pid)
{
    CpuSample s;
    char dirPath[64];
    std::snprintf(dirPath, sizeof dirPath, "/proc/%d/task", int(pid));
    DIR *dir = opendir(dirPath);
    while (dir) {
        dirent *e = readdir(dir);
        if (!e)
            break;
        if (e->d_name[0] == '.')
            continue;
        char path[400];
        std::snprintf(path, sizeof path, "%s/%s/schedstat", dirPath, e->d_name);
        if (FILE *f = std::fopen(path, "r")) {
            long long run = 0;
            if (std::fscanf(f, "%lld", &run) == 1)
                s.cpuNs += run;
            std::fclose(f);
        }
        std::snprintf(path, sizeof path, "%s/%s/status", dirPath, e->d_name);
        if (FILE *f = std::fopen(path, "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, f)) {
                if (std::strstr(line, "ctxt_switches:"))
                    s.switches += std::atol(std::strchr(line, ':') + 1);
            }
            std::fclose(f);
        }
    }
    if (dir)
        closedir(dir);
    return s;
}

int cmdStartup(int runs, const char *baseline, const char *game)
{
    startupOnce(baseline); // warm the caches (fonts, libraries) for both
    startupOnce(game);
    std::vector<double> b, g;
    for (int i = 0; i < runs; ++i) {
        b.push_back(startupOnce(baseline));
        g.push_back(startupOnce(game));
    }
    const double mb = median(b), mg = median(g);
    row("start-up to shown and idle, median of " + std::to_string(runs) + " (ms)", platformName(),
        fmt("%.1f", mg), fmt("%.1f", mb), fmt("%.2f x", mg / mb), "<= 1.3 x", mg / mb <= 1.3);
    return 0;
}

int cmdMemory(int runs, const char *baseline, const char *game)
{
    std::vector<double> b, g;
    for (int i = 0; i < runs; ++i) {
        for (auto [program, out] : {std::pair{baseline, &b}, std::pair{game, &g}}) {
            Child c = spawn(program, false);
            sleepMs(2000);
            const long kib = rssKiB(c.pid);
            requireRunning(c, program);
            out->push_back(double(kib) / 1024.0);
            finish(c);
        }
    }
    const double mb = median(b), mg = median(g);
    row("resident memory 2 s after start, median of " + std::to_string(runs) + " (MiB)", platformName(),
        fmt("%.1f", mg), fmt("%.1f", mb), fmt("%.2f x", mg / mb), "<= 1.5 x", mg / mb <= 1.5);
    return 0;
}

int cmdIdle(int seconds, const char *baseline, const char *game)
{
    // Both programs run side by side over the same seconds.
    Child b = spawn(baseline, false);
    Child g = spawn(game, false);
    sleepMs(3000);
    requireRunning(b, baseline);
    requireRunning(g, game);
    const CpuSample b0 = cpuOf(b.pid), g0 = cpuOf(g.pid);
    const qint64 t0 = monoNs();
    sleepMs(seconds * 1000);
    const CpuSample b1 = cpuOf(b.pid), g1 = cpuOf(g.pid);
    const double wallNs = double(monoNs() - t0);
    requireRunning(b, baseline);
    requireRunning(g, game);
    finish(b);
    finish(g);
    const double pb = 100.0 * double(b1.cpuNs - b0.cpuNs) / wallNs;
    const double pg = 100.0 * double(g1.cpuNs - g0.cpuNs) / wallNs;
    const double wb = double(b1.switches - b0.switches) / (wallNs / 1e9);
    const double wg = double(g1.switches - g0.switches) / (wallNs / 1e9);
    row("CPU at the idle table over " + std::to_string(seconds) + " s (% of one core)", platformName(),
        fmt("%.3f", pg), fmt("%.3f", pb), "-", "0 %", pg < 0.05);
    row("wake-ups at the idle table (context switches per s)", platformName(), fmt("%.1f", wg),
        fmt("%.1f", wb), "-", "0 (no timer runs)", wg < 0.5);
    return 0;
}

// ------------------------------------------------------ the game in here

// Runs the event loop for ms milliseconds.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() holds, looking each time the loop is
// about to sleep (nothing polls); false on time-out.
bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    auto c = QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                              [&] {
                                  if (done())
                                      loop.quit();
                              });
    loop.exec();
    QObject::disconnect(c);
    return done();
}

// The game started as the program starts it (StartedGame is runGame()
// without its event loop), once its table is on the screen and start-up
// has had a second to settle.
struct Game {
    StartedGame started;
    Smashine &table;
    explicit Game(QApplication &app)
        : started(app)
        , table(started.table())
    {
        waitFor([this] { return table.windowHandle() && table.windowHandle()->isExposed(); }, 10000);
        runFor(1000);
    }
};

qint64 processCpuNs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (qint64(u.ru_utime.tv_sec) + u.ru_stime.tv_sec) * 1000000000LL
           + (qint64(u.ru_utime.tv_usec) + u.ru_stime.tv_usec) * 1000LL;
}

long processSwitches()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw + u.ru_nivcsw;
}

// Posts a left click (press and release) at the centre of a button, as the
// window system would deliver it.
void postClick(QWidget *button)
{
    const QPointF c = QRectF(button->rect()).center();
    const QPointF g = button->mapToGlobal(c);
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, c, g, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, c, g, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

int cmdRanking(QApplication &app, int seconds)
{
    Game game(app);
    Smashine &t = game.table;
    // The handler is started from the event loop as the menu would start it;
    // the measurement ends from a timer, so it works whether the handler
    // returns at once or waits out the game in a loop of its own.
    qint64 cpu0 = 0, wall0 = 0;
    long sw0 = 0;
    QString shownAtStart;
    QTimer::singleShot(0, &t, [&t] { t.ランキングモード_Click(); });
    QTimer::singleShot(1500, Qt::PreciseTimer, &t, [&] {
        cpu0 = processCpuNs();
        sw0 = processSwitches();
        wall0 = monoNs();
        shownAtStart = t.Digital1->text();
    });
    QTimer::singleShot(1500 + seconds * 1000, Qt::PreciseTimer, &t, [&] {
        const double wall = double(monoNs() - wall0);
        const double pct = 100.0 * double(processCpuNs() - cpu0) / wall;
        const double wakeups = double(processSwitches() - sw0) / (wall / 1e9);
        const int counted = shownAtStart.toInt() - t.Digital1->text().toInt();
        row("CPU while a ranking game waits, no play, over " + std::to_string(seconds) + " s (% of one core)",
            platformName(), fmt("%.3f", pct), "-", "-", "< 1 %", pct < 1.0);
        row("wake-ups while a ranking game waits (context switches per s)", platformName(),
            fmt("%.1f", wakeups), "-", "-", "-", true);
        row("countdown seconds counted in " + std::to_string(seconds) + " s", platformName(),
            std::to_string(counted), "-", "-", std::to_string(seconds) + " +- 1",
            std::abs(counted - seconds) <= 1);
        std::fflush(stdout);
        std::_Exit(0);
    });
    return QCoreApplication::exec();
}

int cmdSpin(QApplication &app, int seconds)
{
    Game game(app);
    Smashine &t = game.table;
    std::vector<qint64> ticks[3];
    VbTimer *timers[3] = {t.Timer1, t.Timer2, t.Timer3};
    for (int r = 0; r < 3; ++r)
        QObject::connect(timers[r], &VbTimer::tick, [&ticks, r] { ticks[r].push_back(monoNs()); });
    t.Allcoin_Click();
    t.Start_Click();
    runFor(1000);
    for (auto &v : ticks)
        v.clear();
    const qint64 cpu0 = processCpuNs(), wall0 = monoNs();
    const long sw0 = processSwitches();
    runFor(seconds * 1000);
    const double wall = double(monoNs() - wall0);
    const double pct = 100.0 * double(processCpuNs() - cpu0) / wall;
    const double wakeups = double(processSwitches() - sw0) / (wall / 1e9);
    t.StopA_Click();
    t.StopB_Click();
    t.StopC_Click();

    std::vector<double> intervals;
    for (auto &v : ticks) {
        for (size_t i = 1; i < v.size(); ++i)
            intervals.push_back(double(v[i] - v[i - 1]) / 1e6);
    }
    const double m = mean(intervals), p99 = percentile(intervals, 99), mx = maxOf(intervals);
    row("CPU while three reels spin, over " + std::to_string(seconds) + " s (% of one core)", platformName(),
        fmt("%.2f", pct), "-", "-", "< 5 %", pct < 5.0);
    row("wake-ups while three reels spin (context switches per s)", platformName(), fmt("%.1f", wakeups), "-",
        "-", "-", true);
    row("reel tick interval, mean of " + std::to_string(intervals.size()) + " (ms)", platformName(),
        fmt("%.3f", m), "55", fmt("%+.3f ms", m - 55.0), "within 1 ms of 55", std::abs(m - 55.0) <= 1.0);
    row("reel tick interval, p99 (ms)", platformName(), fmt("%.2f", p99), "55", "-", "< 65", p99 < 65.0);
    row("reel tick interval, max (ms)", platformName(), fmt("%.2f", mx), "55", "-", "-", true);
    return 0;
}

int cmdRespond(QApplication &app, int trials)
{
    Game game(app);
    Smashine &t = game.table;
    QRandomGenerator random(20240601);
    VbTimer *timers[3] = {t.Timer1, t.Timer2, t.Timer3};
    QPushButton *stops[3] = {t.StopA, t.StopB, t.StopC};
    bool *running[3] = {&t.reelRunningA, &t.reelRunningB, &t.reelRunningC};

    // Stop click to reel standing: clicks land at random moments of the
    // 55 ms rhythm; the reel must stand when its click has been handled,
    // with no step taken after the click, and must not move afterwards.
    std::vector<double> stopMs;
    int stepsAfterClick = 0, stepsAfterStanding = 0, notStanding = 0, timerEventsBetween = 0;
    struct Watch : QObject {
        int timerEvents = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Timer)
                ++timerEvents;
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    for (int trial = 0; trial < trials; ++trial) {
        t.Label1->setText(QStringLiteral("100"));
        t.Allcoin_Click();
        t.Start_Click();
        runFor(150 + int(random.bounded(110)));
        for (int r = 0; r < 3; ++r) {
            runFor(int(random.bounded(56)));
            const int stepAtClick = t.displayedStep(r);
            qint64 stoodAt = -1;
            int stepWhenStanding = -1;
            bool stands = false;
            auto c = QObject::connect(stops[r], &QPushButton::clicked, [&, r] {
                stoodAt = monoNs();
                stepWhenStanding = t.displayedStep(r);
                stands = timers[r]->interval() == 0 && !*running[r];
            });
            watch.timerEvents = 0;
            const qint64 clickAt = monoNs();
            postClick(stops[r]);
            int timerEventsAtStop = -1;
            waitFor([&] {
                if (stoodAt >= 0 && timerEventsAtStop < 0)
                    timerEventsAtStop = watch.timerEvents;
                return stoodAt >= 0;
            }, 5000);
            QObject::disconnect(c);
            if (stoodAt < 0 || !stands) {
                ++notStanding;
                continue;
            }
            stopMs.push_back(double(stoodAt - clickAt) / 1e6);
            stepsAfterClick += (stepWhenStanding - stepAtClick + 7) % 7;
            timerEventsBetween = std::max(timerEventsBetween, timerEventsAtStop);
            runFor(120);
            if (t.displayedStep(r) != stepWhenStanding)
                ++stepsAfterStanding;
        }
    }
    qApp->removeEventFilter(&watch);
    const double p99 = percentile(stopMs, 99);
    row("Stop click to reel standing, median of " + std::to_string(stopMs.size()) + " (ms)", platformName(),
        fmt("%.3f", median(stopMs)), "-", "-", "-", true);
    row("Stop click to reel standing, p99 / max (ms)", platformName(),
        fmt("%.3f", p99) + " / " + fmt("%.3f", maxOf(stopMs)), "-", "-", "-", true);
    row("reel steps taken after the Stop click / after standing / reels not standing", platformName(),
        std::to_string(stepsAfterClick) + " / " + std::to_string(stepsAfterStanding) + " / "
            + std::to_string(notStanding),
        "-", "-", "0 / 0 / 0 (within one event dispatch)",
        stepsAfterClick == 0 && stepsAfterStanding == 0 && notStanding == 0);
    row("timer events dispatched between a Stop click and its reel standing, max", platformName(),
        std::to_string(timerEventsBetween), "-", "-", "0", timerEventsBetween == 0);

    // Bet click to coin total repainted: from posting the click on the
    // one-coin button to the coin label painting its new number, and on to
    // the event queue running dry (the picture handed to the screen).
    std::vector<double> paintMs, idleMs;
    struct PaintWatch : QObject {
        QWidget *label = nullptr;
        QString expected;
        qint64 paintedAt = -1;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (o == label && e->type() == QEvent::Paint && paintedAt < 0
                && static_cast<QLabel *>(label)->text() == expected)
                paintedAt = monoNs();
            return false;
        }
    } paint;
    paint.label = t.Label1;
    qApp->installEventFilter(&paint);
    qint64 idleAt = -1;
    auto idleConnection = QObject::connect(QAbstractEventDispatcher::instance(),
                                           &QAbstractEventDispatcher::aboutToBlock, [&] {
                                               if (paint.paintedAt >= 0 && idleAt < 0)
                                                   idleAt = monoNs();
                                           });
    for (int trial = 0; trial < trials; ++trial) {
        if (!t.Reset->isEnabled()) {
            t.Start_Click();
            t.StopA_Click();
            t.StopB_Click();
            t.StopC_Click();
        }
        t.Label1->setText(QString::number(100 + trial));
        runFor(30 + int(random.bounded(30)));
        paint.expected = QString::number(100 + trial - 1);
        paint.paintedAt = -1;
        idleAt = -1;
        const qint64 clickAt = monoNs();
        postClick(t.Reset);
        if (!waitFor([&] { return idleAt >= 0; }, 5000))
            continue;
        paintMs.push_back(double(paint.paintedAt - clickAt) / 1e6);
        idleMs.push_back(double(idleAt - clickAt) / 1e6);
    }
    QObject::disconnect(idleConnection);
    qApp->removeEventFilter(&paint);
    row("bet click to coin total painted, median of " + std::to_string(paintMs.size()) + " (ms)", platformName(),
        fmt("%.3f", median(paintMs)), "-", "-", "-", int(paintMs.size()) == trials);
    row("bet click to coin total painted, p99 / max (ms)", platformName(),
        fmt("%.3f", percentile(paintMs, 99)) + " / " + fmt("%.3f", maxOf(paintMs)), "-", "-", "-", true);
    row("bet click to repainted and idle, median / max (ms)", platformName(),
        fmt("%.3f", median(idleMs)) + " / " + fmt("%.3f", maxOf(idleMs)), "-", "-", "-", true);
    return 0;
}

int cmdPlayWave(QApplication &app, int calls)
{
    // The game as the program starts it; its desktop loads the sounds a
    // quarter of a second after the table is shown, once the event loop runs.
    StartedGame game(app);
    // The first call of a run without the sounds loaded before (the worst
    // case): on a desktop of its own, before the game's has read the sound
    // module.
    QtPlatform cold;
    setPlatform(&cold);
    qint64 f0 = monoNs();
    const int firstStarted = PlayWave(1);
    const double first = double(monoNs() - f0) / 1e6;
    setPlatform(&game.desktop());
    // Then, as in the program, with the sounds loaded after start-up.
    waitFor([&game] { return game.desktop().soundsReady(); }, 10000);
    f0 = monoNs();
    PlayWave(1);
    const double firstLoaded = double(monoNs() - f0) / 1e6;
    std::vector<double> ms;
    int started = 0;
    for (int i = 0; i < calls; ++i) {
        runFor(15);
        const qint64 t0 = monoNs();
        started += PlayWave(1 + i % 3) != 0;
        ms.push_back(double(monoNs() - t0) / 1e6);
    }
    runFor(200);
    row("PlayWave, first call, sounds not yet loaded (ms)", platformName(), fmt("%.3f", first), "-", "-", "< 1",
        first < 1.0);
    row("PlayWave, first call after the start-up load (ms)", platformName(), fmt("%.3f", firstLoaded), "-", "-",
        "< 1", firstLoaded < 1.0);
    row("PlayWave, later calls: median / p99 / max of " + std::to_string(calls) + " (ms)", platformName(),
        fmt("%.3f", median(ms)) + " / " + fmt("%.3f", percentile(ms, 99)) + " / " + fmt("%.3f", maxOf(ms)), "-",
        "-", "< 1", maxOf(ms) < 1.0);
    row("PlayWave calls that started a sound", platformName(),
        std::to_string(started + (firstStarted != 0)) + " of " + std::to_string(calls + 1), "-", "-", "-", true);
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: tivoran-bench startup RUNS BASELINE GAME | memory RUNS BASELINE GAME |\n"
                 "       idle SECONDS BASELINE GAME | ranking SECONDS | spin SECONDS |\n"
                 "       respond TRIALS | playwave CALLS\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        return usage();
    const std::string cmd = argv[1];
    const int n = std::atoi(argv[2]);
    if (cmd == "startup" && argc == 5)
        return cmdStartup(n, argv[3], argv[4]);
    if (cmd == "memory" && argc == 5)
        return cmdMemory(n, argv[3], argv[4]);
    if (cmd == "idle" && argc == 5)
        return cmdIdle(n, argv[3], argv[4]);

    QApplication app(argc, argv);
    if (cmd == "ranking")
        return cmdRanking(app, n);
    if (cmd == "spin")
        return cmdSpin(app, n);
    if (cmd == "respond")
        return cmdRespond(app, n);
    if (cmd == "playwave")
        return cmdPlayWave(app, n);
    return usage();
}
