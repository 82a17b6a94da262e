#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's test environment:
# a prefix of its own (WINEPREFIX, made on first use), no debug output,
# no Mono or Gecko prompts, and the display that the test run started.
# A 64-bit program runs under the 64-bit loader, so hosts that cannot run
# 32-bit code still run the 64-bit build.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
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
fi
exec "$loader" "$@"
