#!/bin/sh
# Runs the dialog host under Xvfb, in a Wine prefix of its own that is
# started inside that X server: in a prefix whose desktop another test
# started without a display, no window would show.
#   run-dialog-host.sh WINE PREFIX DIALOGHOST.EXE SCREENSHOT-FOLDER
set -eu
wine=$1
WINEPREFIX=$2
export WINEPREFIX
exec xvfb-run -a -s "-screen 0 1024x768x24" \
  sh -c '"$1" wineboot -i >/dev/null 2>&1 && exec "$1" "$2" "$3"' run-dialog-host "$wine" "$3" "$4"
