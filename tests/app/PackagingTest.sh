#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a scratch
# root and checks what a user would get: the dependencies, the files in
# their standard places, programs that run from there without a search
# path of their own, manual pages that man reads and that list every
# option the program's --help lists, the copyright and change log, and a
# menu entry and AppStream file that their validators accept.
#
# usage: PackagingTest.sh <build dir> <scratch dir> <version> <expected binaries...>
set -euo pipefail

build=$1
scratch=$2
version=$3
shift 3
binaries=("$@")

fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in cpack dpkg-deb readelf man zcat desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/root"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB failed"; }
shopt -s nullglob
debs=("$scratch"/out/*.deb)
[[ ${#debs[@]} -eq 1 ]] || fail "expected one .deb, found ${#debs[@]}"
deb=${debs[0]}
echo "package: $(basename "$deb")"

control=$(dpkg-deb --field "$deb")
echo "$control"
depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6core6 fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core qt6-qpa-plugins \
    qt6-translations-l10n; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
if [[ " ${binaries[*]} " == *" koruba-x "* ]]; then
    for needed in libqt6widgets6 libqt6gui6; do
        grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
    done
fi
[[ $(dpkg-deb --field "$deb" Package) == koruba-x ]] || fail "package name"
[[ $(dpkg-deb --field "$deb" Version) == "$version" ]] || fail "package version"
[[ -n $(dpkg-deb --field "$deb" Section) ]] || fail "no Section"
[[ -n $(dpkg-deb --field "$deb" Maintainer) ]] || fail "no Maintainer"

dpkg -x "$deb" "$scratch/root"
root=$scratch/root
expect_file() { [[ -f "$root/$1" ]] || fail "missing /$1"; }
expect_file usr/share/applications/io.github.koruba.KorubaX.desktop
expect_file usr/share/metainfo/io.github.koruba.KorubaX.metainfo.xml
expect_file usr/share/icons/hicolor/scalable/apps/koruba-x.svg
for size in 16 22 24 32 48 64 128 256; do
    icon=usr/share/icons/hicolor/${size}x${size}/apps/koruba-x.png
    expect_file "$icon"
    file "$root/$icon" | grep -q "PNG image data, $size x $size" || fail "$icon is not ${size}x${size}"
done
expect_file usr/share/mime/packages/io.github.koruba.KorubaX.xml
grep -q '^Exec=koruba-x %f$' "$root/usr/share/applications/io.github.koruba.KorubaX.desktop" ||
    fail "desktop entry does not start koruba-x with the file"
grep -q '^MimeType=text/csv;application/jsonl;application/x-koruba-house;$' \
    "$root/usr/share/applications/io.github.koruba.KorubaX.desktop" ||
    fail "desktop entry does not declare the column list and house types"
grep -q '<glob pattern="\*.jsonl"/>' "$root/usr/share/mime/packages/io.github.koruba.KorubaX.xml" ||
    fail "shared MIME info lacks JSON Lines"
grep -q '<glob pattern="\*.kxhouse"/>' "$root/usr/share/mime/packages/io.github.koruba.KorubaX.xml" ||
    fail "shared MIME info lacks the house files"
grep -qF "<release version=\"$version\"" \
    "$root/usr/share/metainfo/io.github.koruba.KorubaX.metainfo.xml" || fail "metainfo release"

for binary in "${binaries[@]}"; do
    [[ -x "$root/usr/bin/$binary" ]] || fail "missing /usr/bin/$binary"
done
for binary in "${binaries[@]}"; do
    search=$(readelf -d "$root/usr/bin/$binary" | grep -E 'RPATH|RUNPATH') &&
        fail "$binary carries a search path: $search"
    shown=$(env -u DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$binary" --version) ||
        fail "$binary --version failed without a display"
    grep -qF "$version" <<<"$shown" || fail "$binary --version shows \"$shown\""

    page=$root/usr/share/man/man1/$binary.1.gz
    expect_file "usr/share/man/man1/$binary.1.gz"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>"$scratch/man.err") ||
        fail "man -l $page: $(cat "$scratch/man.err")"
    [[ -s $scratch/man.err ]] && fail "man -l $page warns: $(cat "$scratch/man.err")"
    grep -q "^NAME" <<<"$text" || fail "$binary.1 has no NAME section"
    grep -qF "$version" <<<"$text" || fail "$binary.1 does not name version $version"
    for option in $(env -u DISPLAY "$root/usr/bin/$binary" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
        grep -qF -- "$option" <<<"$text" || fail "$binary.1 lacks $option, which --help lists"
    done
done

doc=usr/share/doc/koruba-x
expect_file "$doc/copyright"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$root/$doc/copyright" || fail "copyright is not in the machine-readable format"
expect_file "$doc/changelog.gz"
[[ $(zcat "$root/$doc/changelog.gz" | head -n1) == "koruba-x ($version) "* ]] ||
    fail "changelog.gz does not start with version $version"

desktop-file-validate "$root/usr/share/applications/io.github.koruba.KorubaX.desktop" ||
    fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.koruba.KorubaX.metainfo.xml" ||
    fail "appstreamcli rejects the AppStream file"

# Nothing outside /usr, and no build-tree leftovers such as static libraries.
extra=$(cd "$root" && find . -type f ! -path './usr/*' -o -type f -name '*.a')
[[ -z $extra ]] || fail "unexpected files: $extra"
echo "ok"
