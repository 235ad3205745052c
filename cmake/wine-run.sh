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
for variable in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  eval "export WINE${variable}=\"\$${variable}\""
done
exec wine "$@"
