#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's test environment:
# a prefix of its own (WINEPREFIX, made on first use), no debug output,
# no Mono or Gecko prompts, and the display that the test run started.
# A 64-bit program runs under the 64-bit loader, so hosts that cannot run
# 32-bit code still run the 64-bit build.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
export WINEDEBUG=${WINEDEBUG:--all}
# No menu entries or file associations written to the host's home folder.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
export WINEPREFIX=${WINEPREFIX:-/tmp/kelvarin-wine}
program=$1
loader=/usr/lib/wine/wine
if [ "$(od -An -tx1 -j"$(( $(od -An -tu4 -j60 -N4 "$program") + 4 ))" -N2 "$program" | tr -d ' ')" = "6486" ]; then
  loader=/usr/lib/wine/wine64
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  WINEARCH=$([ "$loader" = /usr/lib/wine/wine64 ] && echo win64 || echo win32) \
    "$loader" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
  # A new prefix links the user's Desktop, Documents, Templates and the
  # like to the host's home folder; a test that chose a wrong folder would
  # write there. Plain folders take their place.
  find "$WINEPREFIX/drive_c" -type l | while read -r link; do
    rm "$link" && mkdir "$link"
  done
  if [ -n "$(find "$WINEPREFIX/drive_c" -type l)" ]; then
    echo "wine-run: the new prefix still links outside itself:" >&2
    find "$WINEPREFIX/drive_c" -type l >&2
    exit 1
  fi
  # The prefix's settings: fonts and title bars (the file says why).
  settings=$WINEPREFIX/settings.reg
  iconv -f UTF-8 -t UTF-16 "$here/wine-prefix.reg" > "$settings"
  "$loader" regedit /S "Z:$(echo "$settings" | tr / '\\')"
  wineserver -w || true
fi
exec "$loader" "$@"
