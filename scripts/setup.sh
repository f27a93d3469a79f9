#!/bin/sh
# Installs the Debian 12 packages the game needs to build, run and test,
# when any is missing. Run it as root, or as a user who may use sudo: the
# package manager is then called through sudo. It waits while another
# package manager holds the lock, and says what failed when the packages
# cannot be fetched.
#
# The build packages are those debian/control names in Build-Depends, the
# one list for this script and the package build, with build-essential,
# which Debian's build machines have without its being named there. Added
# to them: what the game needs to run beside its libraries (the Japanese
# texts of Qt's dialogs, the fonts the table is drawn in), and what the
# caller names in EXTRA_PACKAGES.
set -eu
control="$(dirname "$0")/../debian/control"

# The package names of the Build-Depends field: the first of each set of
# alternatives, without versions, architectures, build profiles or
# ":native"; debhelper-compat is debhelper's.
build_depends() {
    awk '/^#/ { next }
         /^[^ \t]/ || /^$/ { field = 0 }
         /^Build-Depends:/ { field = 1; sub(/^Build-Depends:/, "") }
         field { print }' "$control" \
        | tr ',' '\n' \
        | sed -e 's/|.*//' -e 's/[[(<].*//' -e 's/:native//' -e 's/[[:space:]]//g' \
              -e 's/^debhelper-compat$/debhelper/' \
        | grep -v '^$'
}
build_packages=$(build_depends)
if [ -z "$build_packages" ]; then
    echo "setup: found no Build-Depends in $control" >&2
    exit 1
fi

PACKAGES="build-essential $build_packages qt6-translations-l10n fonts-noto-cjk fonts-liberation2 ${EXTRA_PACKAGES:-}"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -n "$missing" ] || exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo > /dev/null 2>&1; then
    as_root="sudo"
    # Asks for the password here, once, when sudo wants one.
    if ! sudo true; then
        echo "setup: sudo did not allow installing the missing packages:$missing" >&2
        exit 1
    fi
else
    echo "setup: these packages are missing and installing them needs root or sudo:$missing" >&2
    exit 1
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT INT TERM

# apt-get with a wait for the package manager's locks: apt itself waits up
# to ten minutes for dpkg's lock; a held list lock is waited out here.
apt_get() {
    waited=0
    while :; do
        # shellcheck disable=SC2086
        if $as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@" > "$log" 2>&1; then
            return 0
        fi
        if grep -q -e "Could not get lock" -e "Unable to lock" -e "Unable to acquire" -e "is held by process" "$log" && [ $waited -lt 600 ]; then
            [ $waited -eq 0 ] && echo "setup: another package manager is running; waiting for it to finish"
            sleep 5
            waited=$((waited + 5))
            continue
        fi
        cat "$log" >&2
        return 1
    done
}

echo "setup: installing$missing"
if ! apt_get update -qq; then
    echo "setup: could not fetch the package lists (is the network or the Debian mirror reachable?)." >&2
    echo "setup: still missing:$missing" >&2
    exit 1
fi
# shellcheck disable=SC2086
if ! apt_get install -y -qq --no-install-recommends $missing; then
    echo "setup: could not install the packages:$missing" >&2
    echo "setup: see apt-get's message above (a package that cannot be fetched, or no room on the disk)." >&2
    exit 1
fi
echo "setup: done"
