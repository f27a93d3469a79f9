#!/bin/sh
# The sound benchmark, one command:
#
#   sh bench/sound.sh      (on Debian 12, as root or with sudo; about two minutes)
#
# Puts today's sound module side by side with the one it replaced, the Qt
# Multimedia player of commit e8209ab, on a sound server of the benchmark's
# own (PulseAudio with a null sink, as the tests use): the time from play()
# to the first sample at the sink, the CPU while a sound plays and the
# resident memory after the first sound. The old module is built from the
# git history in a folder of its own (build-bench/old-sound); Qt Multimedia,
# which only it needs, is installed for it. Prints one Markdown table; a
# copy goes to bench/out/sound.md.
#
# Environment: BENCH_RUNS (processes per module, default 5), BENCH_PLAYS
# (sounds timed in each, default 20).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
old_commit=e8209ab
EXTRA_PACKAGES="pulseaudio pulseaudio-utils qt6-multimedia-dev ${EXTRA_PACKAGES:-}" sh scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DTIVORAN_BUILD_BENCH=ON > /dev/null
cmake --build build-bench -j2 --target tivoran_sound tivoran-bench-sound

# The Qt Multimedia player as it was, with the interface it was built to.
old="$root/build-bench/old-sound"
rm -rf "$old"
mkdir -p "$old/src"
git archive "$old_commit" src/audio/sound_player.h src/audio/sound_module | tar -x -C "$old/src"
cat > "$old/src/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(OldSound LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_AUTOMOC ON)
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Multimedia)
add_library(tivoran_sound MODULE src/audio/sound_module/wave_player.cpp src/audio/sound_module/wave_player.h)
target_include_directories(tivoran_sound PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(tivoran_sound PRIVATE Qt6::Core Qt6::Multimedia)
set_target_properties(tivoran_sound PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/module)
CMAKE
cmake -S "$old/src" -B "$old/build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$old/build" -j2

out="$root/bench/out"
mkdir -p "$out"
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT INT TERM
export XDG_RUNTIME_DIR="$runtime"
{
    echo "Command: \`sh bench/sound.sh\` (commit $(git rev-parse --short HEAD) against the module of $old_commit, $(date -u '+%Y-%m-%d %H:%M UTC'))"
    echo
    echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(uname -sr)"
    echo
    "$root/build-bench/bin/tivoran-bench-sound" compare "${BENCH_RUNS:-5}" "${BENCH_PLAYS:-20}" \
        "$old/build/module" "$root/build-bench/bin"
} | tee "$out/sound.md"
