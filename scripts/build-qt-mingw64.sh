#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase) for x86_64-w64-mingw32 from Debian 12's own
# qt6-base source package, with Debian's posix-thread MinGW-w64 compilers:
# shared, Release, Core, Gui, Widgets, PrintSupport, Test and Xml, the
# windows, offscreen, minimal and direct2d platform plug-ins, the Windows
# styles, and the MinGW runtime DLLs beside Qt's. scripts/windows.sh runs it
# when the prebuilt archive of the same tree is not at hand. About an hour
# on two cores.
# Usage: scripts/build-qt-mingw64.sh PREFIX WORKDIR
set -euo pipefail
prefix=$(realpath -m "${1:?usage: build-qt-mingw64.sh PREFIX WORKDIR}")
work=$(realpath -m "${2:?usage: build-qt-mingw64.sh PREFIX WORKDIR}")
source "$(dirname "$0")/private-apt.sh"
qt_source_version=6.4.2+dfsg-10

# Compilers, Qt's host tools (moc, rcc, uic: QT_HOST_PATH=/usr) and the
# source tools.
"$(dirname "$0")/setup.sh" cmake ninja-build perl python3 xz-utils dpkg-dev qt6-base-dev \
    qt6-base-dev-tools g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 mingw-w64-tools

mkdir -p "$work"
cd "$work"
private_apt_setup "$work/apt"
apt-get "${private_apt[@]}" source --download-only "qt6-base=$qt_source_version"
rm -rf qtbase-everywhere-src-6.4.2 build
tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
src=$work/qtbase-everywhere-src-6.4.2

# Debian's source leaves out the Wintab SDK header (src/3rdparty/wintab):
# the Windows platform plug-ins are built without pen-tablet support, which
# KORUBA-X does not use. Everything else is as Qt configures it.
w=$src/src/plugins/platforms/windows
sed -i 's/QT_CONFIG(tabletevent)/0 \/* no Wintab SDK in this source *\//' \
    "$w/qwindowspointerhandler.h" "$w/qwindowspointerhandler.cpp" "$w/qwindowscontext.cpp"
sed -i 's/CONDITION QT_FEATURE_tabletevent/CONDITION FALSE # no Wintab SDK in this source/' \
    "$w/CMakeLists.txt" "$w/../direct2d/CMakeLists.txt"

# Qt's own build takes the compilers from a plain toolchain file, which
# then travels inside the installed tree (see the end).
cat >mingw-w64-posix.cmake <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# The third-party libraries are Qt's bundled copies (zlib, PCRE2, HarfBuzz,
# FreeType, libpng, libjpeg, double-conversion): Debian has them for Linux
# only.
cmake -G Ninja -S "$src" -B build \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64-posix.cmake" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
    -DFEATURE_vulkan=OFF -DFEATURE_xml=ON -DFEATURE_concurrent=OFF -DFEATURE_testlib=ON \
    -DFEATURE_printsupport=ON -DFEATURE_pdf=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_freetype=ON -DFEATURE_fontconfig=OFF
cmake --build build --parallel "$(nproc)"
cmake --install build

# The MinGW runtime that Qt's DLLs load, beside them, so that the tree runs
# as it is under Wine.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
    cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/bin/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$prefix/bin/"
find "$prefix/bin" "$prefix/plugins" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

# Relocatable: the toolchain file travels in the tree and Qt's own
# toolchain file finds it beside itself, so that PREFIX/bin/qt-cmake works
# wherever the tree is moved.
cp mingw-w64-posix.cmake "$prefix/lib/cmake/Qt6/mingw-w64-posix.cmake"
sed -i "s|set(__qt_initially_configured_toolchain_file \"$work/mingw-w64-posix.cmake\")|set(__qt_initially_configured_toolchain_file \"\${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake\")|" \
    "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
echo "Qt 6.4.2 for x86_64-w64-mingw32 is in $prefix"
