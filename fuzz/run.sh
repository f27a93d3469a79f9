#!/bin/sh
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a bounded time, starting
# from the seed corpus in fuzz/corpus. A crash, a leak, a sanitizer report
# or a broken invariant stops it with a non-zero status; the input that did
# it is left in build-fuzz/artifacts.
#
#   sh fuzz/run.sh                     (as root on Debian 12)
#   FUZZ_SECONDS=300 sh fuzz/run.sh    (longer runs; default 60 s each)
#   sh fuzz/run.sh fuzz_slot_ini       (one target)
set -eu
cd "$(dirname "$0")/.."
EXTRA_PACKAGES="clang-14 libclang-rt-14-dev ${EXTRA_PACKAGES:-}" sh scripts/setup.sh
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++-14 > /dev/null
cmake --build build-fuzz -j2

seconds=${FUZZ_SECONDS:-60}
# Every target: each fuzz/fuzz_<name>.cpp, its seeds in fuzz/corpus/<name>.
targets=${*:-$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')}
mkdir -p build-fuzz/artifacts
for target in $targets; do
    seeds="fuzz/corpus/${target#fuzz_}"
    work="build-fuzz/corpus/${target#fuzz_}"
    mkdir -p "$work"
    echo "== $target: ${seconds} s"
    # New inputs go to the work corpus; the seeds in the repository stay.
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "build-fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$target-" "$work" "$seeds" \
        > "build-fuzz/$target.log" 2>&1 || {
        tail -60 "build-fuzz/$target.log"
        echo "$target FAILED (log: build-fuzz/$target.log)"
        exit 1
    }
    grep -E '^Done' "build-fuzz/$target.log" || true
done
echo "fuzzing: all targets passed"
