#!/bin/sh
# Installs what is missing, builds everything with warnings as errors and
# runs every test headless.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIVORAN_WERROR=ON
cmake --build build-test
QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure
