#!/bin/sh
# Runs a Windows program of the cross build under Wine: ctest's emulator and
# that of GoogleTest's test discovery.
# Usage: wine-run.sh WINEPREFIX PROGRAM [ARGUMENT...]
#
# Wine keeps the build machine's QT_ variables (QT_QPA_PLATFORM,
# QT_SCALE_FACTOR, ...) from Windows programs, which would otherwise pick
# up a Linux desktop's Qt settings; it hands on WINEQT_X as QT_X instead.
# A test's QT_ settings are renamed so, or the test would open real
# windows at the wrong scale.
set -eu
WINEPREFIX=$1
shift
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono, no Gecko and no menu entries in the private prefix.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# On Linux the window tests keep their settings in a folder of their own
# (QSettings::setPath); on Windows the store is the prefix's registry,
# which setPath does not move. A window test (one that names its Qt
# platform) starts with the program's key removed; the tests that use the
# key take turns (RESOURCE_LOCK koruba_settings_store).
if [ -n "${QT_QPA_PLATFORM:-}" ]; then
  LC_ALL=C.UTF-8 wine reg delete 'HKCU\Software\コルバ工房' /f >/dev/null 2>&1 || true
fi
for variable in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  eval "export WINE${variable}=\"\$${variable}\""
done
exec wine "$@"
