#!/bin/sh
# Runs a Windows program of the cross build under Wine: ctest's emulator and
# that of GoogleTest's test discovery.
# Usage: wine-run.sh WINEPREFIX PROGRAM [ARGUMENT...]
#
# Wine 8 hands no environment variable whose name begins with QT_ to the
# program, so a test's QT_QPA_PLATFORM would be lost and the test would
# open real windows; the platform travels as the -platform option, which
# QGuiApplication takes from the command line and removes before the test
# sees its arguments.
set -eu
WINEPREFIX=$1
shift
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono, no Gecko and no menu entries in the private prefix.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
if [ -n "${QT_QPA_PLATFORM:-}" ]; then
  set -- "$@" -platform "$QT_QPA_PLATFORM"
fi
exec wine "$@"
