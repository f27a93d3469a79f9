#!/bin/sh
# Installs what is missing, builds the game and starts it.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target tivoran
exec ./build/bin/tivoran
