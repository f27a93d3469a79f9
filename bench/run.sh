#!/bin/sh
# The game's benchmarks, one command:
#
#   sh bench/run.sh        (on Debian 12, as root or with sudo; about three minutes)
#
# Installs what is missing (Xvfb besides the build packages), builds the
# game, the measuring program bench/driver.cpp, the bare Qt yardstick
# bench/baseline.cpp and the timed start-up builds (bench/game.cpp, the
# game's own runGame() with the report of bench/idle_report.h armed, and the
# yardstick with the same report) in a Release tree of their own
# (build-bench), and prints one Markdown table; a copy goes to
# bench/out/results.md. Memory and idle CPU are read from /proc of the
# shipped ./tivoran itself. Figures that can be compared with the yardstick
# are measured side by side with it in the same run, interleaved run by run,
# and given as a ratio. "offscreen" rows use Qt's offscreen platform, "Xvfb"
# rows a real X server (a virtual one).
#
# Environment: BENCH_RUNS (start-up runs per program, default 21),
# BENCH_SECONDS (length of each CPU window, default 10).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
EXTRA_PACKAGES="xvfb ${EXTRA_PACKAGES:-}" sh scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DTIVORAN_BUILD_BENCH=ON > /dev/null
cmake --build build-bench -j2 --target tivoran tivoran-bench tivoran-bench-game \
      tivoran-bench-baseline tivoran-bench-baseline-timed

runs=${BENCH_RUNS:-21}
seconds=${BENCH_SECONDS:-10}
bin="$root/build-bench/bin"
out="$root/bench/out"
mkdir -p "$out"
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime"

# A virtual X server on the first free display.
display=""
for n in 91 92 93 94 95 96 97 98 99; do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=$n
        break
    fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp > "$out/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$runtime"' EXIT INT TERM
i=0
while [ ! -e "/tmp/.X11-unix/X$display" ]; do
    i=$((i + 1))
    [ $i -lt 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done

table="$out/results.md"
cd "$bin"
# The timed game is the shipped program's start-up with only the report
# added: it must need the very same shared libraries as ./tivoran.
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
if [ "$(needed ./tivoran)" != "$(needed ./tivoran-bench-game)" ]; then
    echo "tivoran-bench-game does not load the libraries ./tivoran loads" >&2
    exit 1
fi
{
    echo "Command: \`sh bench/run.sh\` (commit $(git -C "$root" rev-parse --short HEAD), $(date -u '+%Y-%m-%d %H:%M UTC'))"
    echo
    echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(uname -sr)"
    echo
    echo "Programs: start-up times tivoran-bench-game (the game's runGame() with the start-up report) against tivoran-bench-baseline-timed; memory and idle CPU read ./tivoran itself from /proc against tivoran-bench-baseline; the other rows start the game inside tivoran-bench as runGame() starts it (StartedGame) and drive its table."
    echo
    echo "| Figure | Platform | Tivoran | Baseline | Ratio | Target | Met |"
    echo "|---|---|---|---|---|---|---|"
} > "$table"
cat "$table"
measure() {
    "$@" 2>> "$out/stderr.log" | tee -a "$table"
}
: > "$out/stderr.log"
for platform in offscreen xcb; do
    if [ $platform = xcb ]; then
        export QT_QPA_PLATFORM=xcb DISPLAY=":$display"
    else
        export QT_QPA_PLATFORM=offscreen
        unset DISPLAY || true
    fi
    measure ./tivoran-bench startup "$runs" ./tivoran-bench-baseline-timed ./tivoran-bench-game
    measure ./tivoran-bench memory 5 ./tivoran-bench-baseline ./tivoran
    measure ./tivoran-bench idle "$seconds" ./tivoran-bench-baseline ./tivoran
done
export QT_QPA_PLATFORM=xcb DISPLAY=":$display"
measure ./tivoran-bench ranking "$seconds"
measure ./tivoran-bench spin "$seconds"
measure ./tivoran-bench respond 40
export QT_QPA_PLATFORM=offscreen
measure ./tivoran-bench playwave 200
echo
echo "Written to bench/out/results.md"
