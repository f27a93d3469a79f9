#!/bin/sh
# Installs what is missing, then runs every check of the game in stages:
#
#   package      builds the Debian package and its source package
#                (scripts/package.sh) and checks both with lintian
#   plain        builds everything with warnings as errors and runs every
#                test headless, the install test checking the package too
#   sanitizers   the same tests built with AddressSanitizer and
#                UndefinedBehaviorSanitizer
#   fuzz         each fuzz target for a minute (fuzz/run.sh)
#   debian       autopkgtest, the package's own tests (debian/tests) run
#                against the installed package, and piuparts, installing,
#                removing and purging it, each in a throw-away Debian 12
#                root (scripts/debian-checks.sh, which has the longer
#                checks beside them)
#
#   sh scripts/test.sh [STAGE...]      (all stages when none is named)
#
# A failure in one stage (a test, a lintian error or warning, a
# sanitizer report or leak) does not stop the others; the summary at the end
# names each stage with its result and time, and the exit status is 0 only
# when every stage passed.
#
# TIVORAN_QUICK_TEST=1 runs the plain stage only, without the package.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)

all_stages="package plain sanitizers fuzz debian"
if [ $# -gt 0 ]; then
    stages="$*"
elif [ "${TIVORAN_QUICK_TEST:-0}" = 1 ]; then
    stages="plain"
else
    stages=$all_stages
fi
for s in $stages; do
    case " $all_stages " in
        *" $s "*) ;;
        *) echo "test: no stage '$s' (stages: $all_stages)" >&2; exit 2 ;;
    esac
done

EXTRA_PACKAGES="clang-14 libclang-rt-14-dev desktop-file-utils appstream lintian pulseaudio pulseaudio-utils ${EXTRA_PACKAGES:-}" \
    sh scripts/setup.sh || exit 1

mkdir -p build-deb
# A package built by an earlier run serves the stages after it when the
# package stage is not run.
deb=""
if [ -f build-deb/package.log ]; then
    deb=$(tail -n 1 build-deb/package.log | sed -n 's/^package: //p')
    [ -f "$deb" ] || deb=""
fi

stage_package() {
    if ! sh scripts/package.sh build-deb > build-deb/package.log 2>&1; then
        tail -60 build-deb/package.log
        echo "package build FAILED (log: build-deb/package.log)"
        return 1
    fi
    # package.sh names the source package and the .deb on its last lines.
    dsc=$(sed -n 's/^package: \(.*\.dsc\)$/\1/p' build-deb/package.log)
    deb=$(tail -n 1 build-deb/package.log | sed -n 's/^package: //p')
    echo "$dsc"
    echo "$deb"
    # The one warning not held against the package: it is not uploaded to
    # Debian, so its first changelog entry has no "intent to package" bug
    # to close.
    lintian --pedantic --display-info --fail-on error,warning \
            --suppress-tags initial-upload-closes-no-bugs "$deb" "$dsc"
}

stage_plain() {
    # The standard library checks every index (an index past an array's
    # end stops the test loudly) in both test builds.
    cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIVORAN_WERROR=ON \
          -DTIVORAN_BUILD_SCREENSHOTS=ON -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS "-DTIVORAN_DEB_PACKAGE=$deb" &&
    cmake --build build-test -j2 &&
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j2
}

stage_sanitizers() {
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" -DTIVORAN_SANITIZE=address,undefined \
          -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS "-DTIVORAN_DEB_PACKAGE=$deb" &&
    cmake --build build-asan -j2 &&
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
    LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j2
}

stage_fuzz() {
    sh fuzz/run.sh
}

stage_debian() {
    sh scripts/debian-checks.sh --deb "$deb" autopkgtest piuparts
}

started=$(date +%s)
summary=""
passed=0
failed=0
for s in $stages; do
    echo "== stage $s ($(($(date +%s) - started)) s)"
    from=$(date +%s)
    case $s in
        debian)
            if [ -z "$deb" ]; then
                echo "no package to check: the package stage did not build one"
                result=FAILED
            elif ("stage_$s"); then result=passed; else result=FAILED; fi ;;
        package)
            # Run here, not in a subshell, so that the later stages get the
            # package it names.
            if stage_package; then result=passed; else result=FAILED; fi ;;
        *)
            if ("stage_$s"); then result=passed; else result=FAILED; fi ;;
    esac
    if [ "$result" = passed ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    echo "== stage $s $result"
    summary="$summary$(printf '%-12s %-7s %5d s' "$s" "$result" $(($(date +%s) - from)))
"
done

echo "== summary ($(($(date +%s) - started)) s)"
printf '%s' "$summary"
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
