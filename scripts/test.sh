#!/usr/bin/env bash
# Builds everything and runs every test suite: native unit tests and fuzz
# corpora, the same under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the end-to-end tests that drive decoder.exe under Wine (English and
# Japanese), and a check that none of it wrote into the home folder. Exits
# non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

begin_run

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"

echo "== the browser page: the core as WebAssembly, tested in headless Chromium"
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs"
ctest --preset web

echo "== Windows build (i686): decoder.exe"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
ctest --preset win32 -R '^stub\.'

preset=$(wine_preset)
if [ "$preset" != win32 ]; then
  echo "== this host cannot run 32-bit programs: the Wine tests use the 64-bit build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
fi

echo "== end-to-end tests in Wine ($preset)"
rm -rf "build/$preset"/wine-*
start_display
ctest --preset "$preset"

echo "== nothing written outside build/"
finish_run
