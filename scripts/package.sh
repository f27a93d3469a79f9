#!/bin/sh
# Builds the Debian package of the game from this tree, on Debian 12, as
# root or with sudo (for the build packages when any is missing):
#
#   sh scripts/package.sh [OUT]        (OUT defaults to build-deb)
#
# OUT receives the source tarball, tivoran_VERSION.orig.tar.gz, made of the
# files git tracks as they are in the tree but for debian/, and what
# dpkg-buildpackage builds from that tarball unpacked in OUT with debian/
# added: the source package
# (tivoran_VERSION-REVISION.dsc with its debian.tar.xz),
# tivoran_VERSION-REVISION_ARCH.deb, its debug symbols (tivoran-dbgsym),
# the .buildinfo and the .changes.
#
# Its last two lines name the .dsc and the .deb.
#
# SOURCE_DATE_EPOCH, unless set, is the time of the last commit (outside a
# git checkout, the date of the newest debian/changelog entry): every time
# in the tarball and the package is that one, so two builds of one commit
# give the same package wherever they run.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh

mkdir -p "${1:-build-deb}"
out=$(cd "${1:-build-deb}" && pwd)
name=$(dpkg-parsechangelog -S Source)
version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}

in_git=false
git rev-parse --is-inside-work-tree > /dev/null 2>&1 && in_git=true
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if $in_git; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    else
        SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -S Timestamp)
    fi
fi
export SOURCE_DATE_EPOCH

# The source tarball: files in name order, one owner, one time, modes
# without the umask's say, and no time or name in the gzip header. The
# Debian packaging, debian/, is kept apart from it, as Debian keeps it:
# the source package carries it in its debian.tar.xz.
list=$(mktemp)
trap 'rm -f "$list" "$list.debian" "$list.upstream"' EXIT INT TERM
if $in_git; then
    git -c core.quotepath=off ls-files --cached
else
    # An unpacked source package: everything but build trees.
    find . -path ./.git -prune -o -path './build*' -prune -o -path './obj-*' -prune \
         -o -type f -print | sed 's,^\./,,'
fi | while IFS= read -r file; do
    # A tracked file deleted in the tree is left out, as it is from the tree.
    [ -e "$file" ] && printf '%s\n' "$file"
done | LC_ALL=C sort > "$list"
grep '^debian/' "$list" > "$list.debian"
grep -v '^debian/' "$list" > "$list.upstream"
pack() {
    tar --create --format=gnu --no-recursion --verbatim-files-from --files-from="$1" \
        --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner --mode=u=rwX,go=rX \
        --transform="s,^,$name-$upstream/,"
}
tarball="$out/${name}_$upstream.orig.tar.gz"
pack "$list.upstream" | gzip -9 -n > "$tarball"
echo "package: source tarball $tarball"

# The package, built from the tarball and debian/ alone.
tree="$out/$name-$upstream"
rm -rf "$tree"
tar -xzf "$tarball" -C "$out"
pack "$list.debian" | tar -x -C "$out"
case " ${DEB_BUILD_OPTIONS:-} " in
    *" parallel="*) ;;
    *) DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }parallel=2" ;;
esac
export DEB_BUILD_OPTIONS
(cd "$tree" && dpkg-buildpackage -us -uc)
echo "package: $out/${name}_${version}.dsc"
echo "package: $out/${name}_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
