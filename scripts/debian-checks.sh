#!/bin/sh
# Debian's own checks of the game's package, each in a throw-away Debian 12
# root that this script makes with debootstrap and removes again, so that
# the machine is left as it was:
#
#   autopkgtest  the package's tests (debian/tests) against the installed
#                package, in a minimal root as the chroot testbed
#   piuparts     installs, removes and purges the package in a minimal root
#                and fails on anything left behind
#   reprotest    builds the source twice, varying time, time zone, locale,
#                umask, user and group, host and domain name, file order,
#                build path, home, kernel, number of CPUs and more, and
#                compares the packages
#   clean-build  builds the source package in a root of Debian's build
#                essentials with only its Build-Depends added (apt-get
#                build-dep), and compares the .deb with the ordinary build
#   readme       the README's two commands, exactly as written, each in a
#                fresh minimal root as root: scripts/play.sh, whose window
#                is looked for on an X server of this machine and closed,
#                and scripts/test.sh
#
#   sh scripts/debian-checks.sh [--deb FILE] [CHECK...]   (all but readme
#                                                          when none is named)
#
# On Debian 12, as root, with the Debian mirror reachable (MIRROR, default
# http://deb.debian.org/debian; SECURITY_MIRROR, default
# http://deb.debian.org/debian-security). The package checked is FILE and
# the source package beside it (scripts/package.sh's output); without
# --deb, scripts/package.sh builds it into build-deb/. The roots and each
# check's log are in build-checks/; each check ends with a line "CHECK:
# passed" or "CHECK: FAILED", and the script exits 0 only when every check
# passed.
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)

all_checks="autopkgtest piuparts reprotest clean-build readme"
deb=""
checks=""
while [ $# -gt 0 ]; do
    case $1 in
        --deb) deb=$2; shift 2 ;;
        --deb=*) deb=${1#--deb=}; shift ;;
        *) case " $all_checks " in
               *" $1 "*) checks="$checks $1"; shift ;;
               *) echo "debian-checks: no check '$1' (checks: $all_checks)" >&2; exit 2 ;;
           esac ;;
    esac
done
[ -n "$checks" ] || checks="autopkgtest piuparts reprotest clean-build"

if [ "$(id -u)" -ne 0 ]; then
    echo "debian-checks: run as root: the checks make and enter Debian roots" >&2
    exit 1
fi
MIRROR=${MIRROR:-http://deb.debian.org/debian}
SECURITY_MIRROR=${SECURITY_MIRROR:-http://deb.debian.org/debian-security}
suite=bookworm

EXTRA_PACKAGES="debootstrap autopkgtest piuparts xvfb xauth xdotool ${EXTRA_PACKAGES:-}" sh scripts/setup.sh

case " $checks " in
    " readme ") need_package=false ;;
    *) need_package=true ;;
esac
if [ -z "$deb" ] && $need_package; then
    mkdir -p build-deb
    sh scripts/package.sh build-deb > build-deb/package.log 2>&1 || {
        tail -40 build-deb/package.log
        echo "debian-checks: the package did not build (log: build-deb/package.log)" >&2
        exit 1
    }
    deb=$(tail -n 1 build-deb/package.log | sed -n 's/^package: //p')
fi
if $need_package; then
    deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")
    pkgdir=$(dirname "$deb")
    version=$(dpkg-deb --field "$deb" Version)
    dsc="$pkgdir/tivoran_$version.dsc"
    for f in "$deb" "$dsc"; do
        [ -f "$f" ] || { echo "debian-checks: $f is missing (scripts/package.sh makes it)" >&2; exit 1; }
    done
fi

work="$repo/build-checks"
mkdir -p "$work"

# Runs a command in a mount and process namespace of its own, whose mounts
# are private to it. Inside a chroot (this script run by the README check),
# whose / is no mount point, the propagation of / cannot be changed: there
# the namespace keeps the chroot's, which that check made private.
private_ns() {
    if unshare --mount --fork true 2> /dev/null; then
        unshare --mount --pid --fork --kill-child -- "$@"
    else
        unshare --mount --propagation unchanged --pid --fork --kill-child -- "$@"
    fi
}

# Runs a command (on this machine) with ROOT's /proc, /sys, /dev/pts and
# /dev/shm mounted, in a mount and process namespace of its own: the
# mounts, and any process left running in the root, end with it.
with_root() {
    local dir="$1"
    shift
    private_ns sh -eu -c '
        dir=$1; shift
        mount -t proc proc "$dir/proc"
        mount -t sysfs -o ro sysfs "$dir/sys"
        mkdir -p "$dir/dev/pts" "$dir/dev/shm"
        mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$dir/dev/pts"
        [ -e "$dir/dev/ptmx" ] || touch "$dir/dev/ptmx"
        mount --bind "$dir/dev/pts/ptmx" "$dir/dev/ptmx"
        mount -t tmpfs -o mode=1777 tmpfs "$dir/dev/shm"
        exec "$@"' sh "$dir" "$@"
}

# Runs a command inside ROOT, as root.
in_root() {
    local dir="$1"
    shift
    with_root "$dir" chroot "$dir" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

# Removes a root, after making sure nothing is mounted in it.
remove_root() {
    if grep -q " $1/" /proc/self/mounts; then
        echo "debian-checks: $1 still has mounts; left in place" >&2
        return 1
    fi
    rm -rf "$1"
}

# A Debian 12 root of the debootstrap variant (minbase or buildd) in
# build-checks/base-VARIANT, with the sources of an ordinary Debian 12
# system: the release, its updates and its security updates. Each variant
# is fetched once per run of this script, and only ever copied.
base_root() {
    local variant="$1" base="$work/base-$1"
    if [ ! -f "$base.done" ]; then
        remove_root "$base"
        rm -f "$base.done"
        echo "debian-checks: debootstrap --variant=$variant $suite"
        debootstrap --variant="$variant" "$suite" "$base" "$MIRROR" > "$work/base-$variant.log" 2>&1 || {
            tail -20 "$work/base-$variant.log"
            return 1
        }
        cat > "$base/etc/apt/sources.list" <<EOF
deb $MIRROR $suite main
deb $MIRROR $suite-updates main
deb $SECURITY_MIRROR $suite-security main
EOF
        # The root shares this machine's host name, which sudo looks up.
        printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n' "$(hostname)" > "$base/etc/hosts"
        in_root "$base" apt-get update -qq
        in_root "$base" apt-get clean
        touch "$base.done"
    fi
}

# A fresh copy of the base root of VARIANT in DIR.
fresh_root() {
    base_root "$1"
    remove_root "$2"
    cp -a "$work/base-$1" "$2"
}

# xvfb-run -a in a root picks the first display number whose lock file the
# root lacks, but a root shares this machine's network, and with it the X
# servers' sockets: the display numbers in use here are marked taken there.
mark_displays_taken() {
    mkdir -p "$1/tmp"
    { ls /tmp 2>/dev/null | sed -n 's/^\.X\([0-9]*\)-lock$/\1/p'
      sed -n 's,.*@/tmp/\.X11-unix/X\([0-9]*\)$,\1,p' /proc/net/unix
    } | sort -un | while read -r n; do
        echo "taken by this machine" > "$1/tmp/.X$n-lock"
    done
}

# The source package unpacked, as the checks that build take it.
unpack_source() {
    rm -rf "$1"
    dpkg-source --no-check -x "$dsc" "$1" > /dev/null
}

check_autopkgtest() {
    root="$work/autopkgtest-root"
    fresh_root minbase "$root"
    in_root "$root" useradd --create-home player
    mark_displays_taken "$root"
    unpack_source "$work/autopkgtest-source"
    rm -rf "$work/autopkgtest-out"
    with_root "$root" autopkgtest --user=player --output-dir="$work/autopkgtest-out" \
        "$deb" "$work/autopkgtest-source/" -- chroot "$root"
    remove_root "$root"
}

check_piuparts() {
    # piuparts copies the base root and mounts what it needs there itself.
    base_root minbase
    mkdir -p "$work/piuparts-tmp"
    private_ns piuparts --no-upgrade-test --distribution="$suite" \
        --mirror="$MIRROR main" --extra-repo="deb $MIRROR $suite-updates main" \
        --extra-repo="deb $SECURITY_MIRROR $suite-security main" \
        --existing-chroot="$work/base-minbase" --tmpdir="$work/piuparts-tmp" "$deb" \
        > "$work/piuparts.log" 2>&1 || {
        tail -40 "$work/piuparts.log"
        return 1
    }
    tail -4 "$work/piuparts.log"
}

# The ordinary build's SOURCE_DATE_EPOCH, as its .buildinfo records it:
# every time in the package is that one.
build_epoch() {
    sed -n 's/^ SOURCE_DATE_EPOCH="\([0-9]*\)"$/\1/p' "$pkgdir/tivoran_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).buildinfo"
}

# A buildd root with the source package in /build and its Build-Depends
# installed by apt-get build-dep, as Debian's build machines have it.
build_root() {
    local root="$1"
    fresh_root buildd "$root"
    mkdir -p "$root/build"
    unpack_source "$root/build/tivoran-${version%-*}"
    in_root "$root" sh -c "cd /build/tivoran-${version%-*} && apt-get build-dep -y -qq ./ > /build/build-dep.log"
}

check_clean_build() {
    root="$work/clean-build-root"
    build_root "$root"
    epoch=$(build_epoch)
    in_root "$root" useradd --home-dir /build builder
    in_root "$root" chown -R builder: /build
    in_root "$root" su builder -s /bin/sh -c \
        "cd /build/tivoran-${version%-*} && SOURCE_DATE_EPOCH=$epoch DEB_BUILD_OPTIONS=parallel=2 dpkg-buildpackage -us -uc -b" \
        > "$work/clean-build.log" 2>&1 || {
        tail -40 "$work/clean-build.log"
        return 1
    }
    built=$(ls "$root"/build/tivoran_*.deb)
    cp "$built" "$work/"
    remove_root "$root"
    echo "clean-build: ordinary build  $(sha256sum < "$deb" | cut -d' ' -f1)  $deb"
    echo "clean-build: clean root      $(sha256sum < "$work/$(basename "$built")" | cut -d' ' -f1)  $work/$(basename "$built")"
    cmp "$deb" "$work/$(basename "$built")"
}

check_reprotest() {
    root="$work/reprotest-root"
    build_root "$root"
    # reprotest's tools, and two throw-away users for the user and group
    # variation; fusermount reads the mounts from /etc/mtab.
    in_root "$root" apt-get install -y -qq --no-install-recommends \
        reprotest faketime disorderfs fuse3 sudo locales-all diffoscope-minimal > /dev/null
    in_root "$root" useradd --create-home tivoran-build1
    in_root "$root" useradd --create-home tivoran-build2
    [ -e "$root/dev/fuse" ] || mknod -m 0666 "$root/dev/fuse" c 10 229
    [ -e "$root/etc/mtab" ] || ln -s ../proc/self/mounts "$root/etc/mtab"
    # The source package itself: each build unpacks it in its own folder
    # and leaves its files there, where the build's user may write them.
    cp "$dsc" "$pkgdir/tivoran_${version%-*}.orig.tar.gz" "$pkgdir/tivoran_$version.debian.tar.xz" "$root/build/"
    # reprotest runs its commands through "sudo -h localhost", which sudo
    # takes for this machine only where the machine is called localhost:
    # so it is, in a host name namespace of the check's own.
    in_root "$root" unshare --uts sh -c "hostname localhost && cd /build && reprotest --min-cpus=1 \
        --vary=user_group.available+=tivoran-build1:tivoran-build1\;tivoran-build2:tivoran-build2 \
        --vary=domain_host.use_sudo=1 --store-dir=/build/reprotest-out $(basename "$dsc") -- null" \
        > "$work/reprotest.log" 2>&1 || {
        tail -60 "$work/reprotest.log"
        return 1
    }
    grep -i -e "warning" -e "ignoring" -e "ineffective" "$work/reprotest.log" || true
    tail -5 "$work/reprotest.log"
    remove_root "$root"
}

check_readme() {
    # A clean checkout: what git holds at HEAD.
    archive="$work/checkout.tar"
    git archive --format=tar --prefix=tivoran/ HEAD > "$archive"

    # scripts/play.sh, its window on an X server of this machine, which the
    # root reaches through the machine's network namespace.
    root="$work/readme-play-root"
    fresh_root minbase "$root"
    tar -xf "$archive" -C "$root/root"
    # The first free display from :99 on, as xvfb-run -a picks it.
    display=${READ_ME_DISPLAY:-}
    if [ -z "$display" ]; then
        n=99
        while [ -e "/tmp/.X$n-lock" ] || grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix; do
            n=$((n + 1))
        done
        display=:$n
    fi
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > "$work/readme-xvfb.log" 2>&1 &
    xvfb=$!
    sleep 2
    kill -0 $xvfb || { echo "readme: no X server on $display"; return 1; }
    with_root "$root" chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        TERM=dumb DISPLAY="$display" sh -c 'cd /root/tivoran && sh scripts/play.sh' \
        > "$work/readme-play.log" 2>&1 &
    play=$!
    status=0
    # Setting up and building take a while; the window then comes at once.
    if window=$(DISPLAY=$display timeout 3600 xdotool search --sync --onlyvisible --name '^Tivoran ' | head -n 1) &&
       [ -n "$window" ]; then
        echo "readme: play.sh shows the table: $(DISPLAY=$display xdotool getwindowgeometry "$window" | tr -s '\n ' ' ')"
        sleep 2
        DISPLAY=$display import -window root "$work/readme-play.png" 2> /dev/null || true
        # Ended as a player ends it: データ → END.
        DISPLAY=$display xdotool windowfocus --sync "$window" key --delay 300 F10 Down Up Return
        wait $play || status=$?
        [ $status -eq 0 ] || echo "readme: play.sh ended with status $status"
    else
        echo "readme: play.sh showed no window"
        status=1
        kill $play 2> /dev/null || true
        wait $play || true
    fi
    kill $xvfb
    wait $xvfb || true
    tail -5 "$work/readme-play.log"
    [ $status -eq 0 ] || return 1
    remove_root "$root"

    # scripts/test.sh, in a fresh root of its own.
    root="$work/readme-test-root"
    fresh_root minbase "$root"
    tar -xf "$archive" -C "$root/root"
    with_root "$root" chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb \
        sh -c 'cd /root/tivoran && sh scripts/test.sh' > "$work/readme-test.log" 2>&1 || status=$?
    tail -12 "$work/readme-test.log"
    [ $status -eq 0 ] || return 1
    remove_root "$root"
}

failed=0
summary=""
for c in $checks; do
    echo "== $c"
    from=$(date +%s)
    # Each check stops at its first failing command.
    set +e
    (set -e; "check_$(echo "$c" | tr - _)")
    status=$?
    set -e
    if [ $status -eq 0 ]; then result=passed; else result=FAILED; failed=$((failed + 1)); fi
    took=$(($(date +%s) - from))
    echo "$c: $result ($took s)"
    summary="$summary$(printf '%-12s %-7s %5d s' "$c" "$result" "$took")
"
done
for variant in minbase buildd; do
    remove_root "$work/base-$variant" && rm -f "$work/base-$variant.done"
done
echo "== checks"
printf '%s' "$summary"
[ $failed -eq 0 ]
