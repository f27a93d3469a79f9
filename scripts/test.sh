#!/bin/sh
# Installs what is missing, builds the Debian package (scripts/package.sh)
# and checks it with lintian, builds everything with warnings as errors and
# runs every test headless, the install test checking the package too; then
# runs the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzz target for a minute
# (fuzz/run.sh). Any failure, lintian error or warning, sanitizer report or
# leak stops it.
#
# TIVORAN_QUICK_TEST=1 runs the plain tests only, without the package.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
EXTRA_PACKAGES="clang-14 libclang-rt-14-dev desktop-file-utils appstream debhelper lintian pulseaudio pulseaudio-utils ${EXTRA_PACKAGES:-}" \
    sh scripts/setup.sh
started=$(date +%s)
step() {
    echo "== $1 ($(($(date +%s) - started)) s)"
}

quick=${TIVORAN_QUICK_TEST:-0}

deb=""
if [ "$quick" != 1 ]; then
    step "Debian package"
    mkdir -p build-deb
    if ! sh scripts/package.sh build-deb > build-deb/package.log 2>&1; then
        tail -60 build-deb/package.log
        echo "package build FAILED (log: build-deb/package.log)"
        exit 1
    fi
    # package.sh names the .deb on its last line.
    deb=$(tail -n 1 build-deb/package.log | sed -n 's/^package: //p')
    echo "$deb"
    step "lintian"
    # The one warning not held against the package: it is not uploaded to
    # Debian, so its first changelog entry has no "intent to package" bug
    # to close.
    lintian --display-info --fail-on error,warning \
            --suppress-tags initial-upload-closes-no-bugs "$deb"
fi

step "plain build and tests"
# The standard library checks every index (an index past an array's end
# stops the test loudly) in both test builds.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIVORAN_WERROR=ON \
      -DTIVORAN_BUILD_SCREENSHOTS=ON -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS "-DTIVORAN_DEB_PACKAGE=$deb"
cmake --build build-test -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j2
[ "$quick" = 1 ] && exit 0

step "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" -DTIVORAN_SANITIZE=address,undefined \
      -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS "-DTIVORAN_DEB_PACKAGE=$deb"
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j2

step "fuzzing"
sh fuzz/run.sh

step "all done"
