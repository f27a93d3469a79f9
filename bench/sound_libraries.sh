#!/bin/sh
# The sound library benchmark, one command:
#
#   sh bench/sound_libraries.sh [ROOT]   (on Debian 12, as root or with sudo; about two minutes)
#
# Puts the libraries the sound player was chosen from side by side: the
# PulseAudio client library (what the game plays through), ALSA and
# libcanberra, each in a small player of its own (bench/sound_libraries.cpp)
# playing the game's sounds to a sound server of the benchmark's own (the
# tests' PulseAudio with a null sink): the time from the play call to the
# first sample at the sink, and how long the call takes. Their development
# packages, and the ALSA plugin that reaches the server, are installed for
# the benchmark only.
#
# Given ROOT, a fresh minimal Debian 12 with its package lists
# (`debootstrap --variant=minbase bookworm ROOT http://deb.debian.org/debian`),
# it adds what each library's package brings into it, as
# `apt-get install -s` finds with the root's own configuration (Recommends
# included, as apt installs them): packages and their installed size (the
# sum of Installed-Size). ROOT is only read.
#
# Prints one Markdown table; a copy goes to bench/out/sound_libraries.md.
# Environment: BENCH_PLAYS (sounds timed per library, default 40).
set -eu
minimal=""
if [ $# -gt 0 ]; then
    minimal=$(cd "$1" && pwd)
    if ! ls "$minimal"/var/lib/apt/lists/*_Packages > /dev/null 2>&1; then
        echo "sound_libraries: $minimal has no package lists (run apt-get update in it first)" >&2
        exit 1
    fi
fi
cd "$(dirname "$0")/.."
root=$(pwd)
EXTRA_PACKAGES="pulseaudio pulseaudio-utils libasound2-dev libasound2-plugins libcanberra-dev ${EXTRA_PACKAGES:-}" \
    sh scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DTIVORAN_BUILD_BENCH=ON > /dev/null
cmake --build build-bench -j2 --target tivoran-bench-sound-libraries

out="$root/bench/out"
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM
export XDG_RUNTIME_DIR="$scratch"
# apt reads the root's configuration, lists and installed packages, and
# keeps its caches and logs to itself.
cat > "$scratch/apt.conf" <<EOF
Dir "$minimal/";
Dir::State::status "$minimal/var/lib/dpkg/status";
Dir::Cache::pkgcache "";
Dir::Cache::srcpkgcache "";
Dir::Log "$scratch/";
EOF

# "COUNT KIB": the packages installing the ones named would bring into the
# root, and their installed size.
brings() {
    list=$(APT_CONFIG="$scratch/apt.conf" apt-get install -s "$@" | sed -n 's/^Inst \([^ ]*\) (\([^ ]*\) .*/\1=\2/p')
    [ -n "$list" ] || { echo "0 0"; return; }
    # shellcheck disable=SC2086
    kib=$(APT_CONFIG="$scratch/apt.conf" apt-cache show $list | awk '/^Installed-Size:/ { s += $2 } END { print s }')
    echo "$(echo "$list" | wc -l) $kib"
}
# A table cell: what the packages named bring in beyond those of $base.
cell() {
    # shellcheck disable=SC2046,SC2086
    set -- $(brings $base $1) $base_brings
    awk -v n="$(($1 - $3))" -v k="$(($2 - $4))" 'BEGIN { printf "%d, %.1f MiB", n, k / 1024 }'
}

{
    echo "Command: \`sh bench/sound_libraries.sh${minimal:+ $minimal}\`" \
         "(commit $(git rev-parse --short HEAD), $(date -u '+%Y-%m-%d %H:%M UTC'))"
    echo
    echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(uname -sr)"
    echo
    "$root/build-bench/bin/tivoran-bench-sound-libraries" "${BENCH_PLAYS:-40}" "$root/resources/sounds" \
        || echo "| (not every sound was heard: the figures above leave those out) | | | |"
    if [ -n "$minimal" ]; then
        echo "| the package a player depends on | libpulse0 | libasound2 | libcanberra0 |"
        base=""
        base_brings="0 0"
        echo "| packages it brings into a fresh minimal Debian 12, installed size |" \
             "$(cell libpulse0) | $(cell libasound2) | $(cell libcanberra0) |"
        base=libqt6widgets6
        base_brings=$(brings $base)
        echo "| of which Qt Widgets (libqt6widgets6) does not bring already |" \
             "$(cell libpulse0) | $(cell libasound2) | $(cell libcanberra0) |"
        echo "| of which Qt Widgets does not bring, with the ALSA plugin for the server (libasound2-plugins) | - |" \
             "$(cell "libasound2 libasound2-plugins") | $(cell "libcanberra0 libasound2-plugins") |"
    fi
} | tee "$out/sound_libraries.md"
