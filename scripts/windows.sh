#!/usr/bin/env bash
# The Windows build in one command, on Debian 12: installs what is missing
# (MinGW-w64, Wine, NSIS, the source tools), unpacks Qt for Windows from
# ../shared/toolchains when its checksum matches (else builds the same tree
# from Debian's qt6-base source, about an hour), unpacks simdjson's Debian
# source, builds KORUBA-X for Windows, writes
#   build/windows/koruba-x-<version>-setup.exe
#   build/windows/koruba-x-<version>-windows.zip
# and runs the tests under Wine, the setup's own test among them.
# KORUBA_QT_ARCHIVE names another copy of the Qt archive.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/private-apt.sh

deps=$root/build/windows-deps
build=$root/build/windows
qt=$deps/qt-6.4.2-mingw64
qt_archive=${KORUBA_QT_ARCHIVE:-$root/../shared/toolchains/qt-6.4.2-mingw64.tar.xz}
qt_archive_sha256=492af2f95fad292bf503fad67bc46cb775f4d6730355264f07e0c6bb7647c852
jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS

echo "=== windows: packages ==="
# Besides the Linux build's: the compilers, Wine (64-bit programs only),
# NSIS, the source tools, Qt's Japanese translation and the X server the
# setup's test shows the window on.
./scripts/setup.sh g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 mingw-w64-tools wine wine64 nsis dpkg-dev xz-utils \
    qt6-translations-l10n fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core \
    libgtest-dev libz-mingw-w64-dev xvfb xauth xdotool imagemagick poppler-utils

echo "=== windows: Qt for x86_64-w64-mingw32 ==="
if [[ ! -f $qt/.complete ]]; then
    rm -rf "$qt"
    mkdir -p "$deps"
    if [[ -f $qt_archive ]] &&
        echo "$qt_archive_sha256  $qt_archive" | sha256sum --check --quiet --status; then
        echo "unpacking $qt_archive (checksum matches)"
        tar -xJf "$qt_archive" -C "$deps"
    else
        echo "no archive with the expected checksum at $qt_archive:"
        echo "building Qt from Debian's qt6-base source (about an hour)"
        ./scripts/build-qt-mingw64.sh "$qt" "$deps/qt-build"
    fi
    touch "$qt/.complete"
else
    echo "already in $qt"
fi

echo "=== windows: simdjson source ==="
# The version of the Linux build's libsimdjson-dev, from Debian's source.
simdjson_version=$(dpkg-query -W -f='${source:Version}' libsimdjson-dev)
simdjson=$deps/simdjson
if [[ $(cat "$simdjson/.version" 2>/dev/null) != "$simdjson_version" ]]; then
    rm -rf "$simdjson" "$deps/simdjson-source"
    mkdir -p "$deps/simdjson-source"
    private_apt_setup "$deps/apt"
    (cd "$deps/simdjson-source" && apt-get "${private_apt[@]}" source "simdjson=$simdjson_version")
    mv "$deps/simdjson-source/simdjson-${simdjson_version%-*}" "$simdjson"
    echo "$simdjson_version" >"$simdjson/.version"
else
    echo "simdjson $simdjson_version already in $simdjson"
fi

echo "=== windows: Wine prefix ==="
export WINEPREFIX=$build/wineprefix
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    mkdir -p "$build"
    WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" wineboot --init
    # A crashing test prints its backtrace instead of waiting for a click
    # in Wine's crash dialog.
    WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    wineserver --wait
fi
echo "$WINEPREFIX"

echo "=== windows: configure, build, package ==="
cmake --preset windows
cmake --build --preset windows -j "$jobs"
cmake --build --preset windows --target windows_packages

echo "=== windows: tests under Wine ==="
# One wine server for the whole run: one that ends between two tests can
# refuse the next test's connection.
wineserver --persistent
trap 'wineserver --kill' EXIT
# Its helper programs (services.exe, explorer.exe, ...) start with the
# first Windows program and live as long as the server: started here, they
# do not hold the output pipe of the first test open until the end.
WINEDEBUG=-all wine cmd /c exit </dev/null >/dev/null 2>&1
ctest --preset windows -j "$jobs"
echo "=== windows: done in $((SECONDS - started)) s ==="
ls -l build/windows/koruba-x-*-setup.exe build/windows/koruba-x-*-windows.zip
