#!/bin/sh
# Installs the Debian 12 packages the game needs to build, run and test,
# when any is missing. Run as root.
set -eu
PACKAGES="cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libgl-dev fonts-noto-cjk fonts-liberation2 ${EXTRA_PACKAGES:-}"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
fi
