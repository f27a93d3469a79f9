#!/bin/sh
# Installs what is missing, builds everything with warnings as errors and
# runs every test headless; then runs the same tests built with
# AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz target for a
# minute (fuzz/run.sh). Any failure, sanitizer report or leak stops it.
#
# TIVORAN_QUICK_TEST=1 runs the plain tests only.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
EXTRA_PACKAGES="clang-14 libclang-rt-14-dev desktop-file-utils appstream ${EXTRA_PACKAGES:-}" sh scripts/setup.sh
started=$(date +%s)
step() {
    echo "== $1 ($(($(date +%s) - started)) s)"
}

step "plain build and tests"
# The standard library checks every index (an index past an array's end
# stops the test loudly) in both test builds.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIVORAN_WERROR=ON \
      -DTIVORAN_BUILD_SCREENSHOTS=ON -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS
cmake --build build-test -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j2
[ "${TIVORAN_QUICK_TEST:-0}" = 1 ] && exit 0

step "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" -DTIVORAN_SANITIZE=address,undefined \
      -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j2

step "fuzzing"
sh fuzz/run.sh

step "all done"
