#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need, from Debian's
# packages, and the browser page's npm packages at the versions in
# package-lock.json. Quick when everything is present already.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  googletest libgtest-dev libbenchmark-dev
  wine wine32:i386 xvfb xauth x11-apps imagemagick
  locales fonts-ipafont-gothic
  ncompress hyperfine time dpkg-dev
  emscripten chromium nodejs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A host whose kernel cannot run 32-bit programs runs the end-to-end tests
# on the 64-bit build (scripts/lib.sh): it needs that compiler and Wine.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  for p in g++-mingw-w64-x86-64-posix wine64; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
      DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$p" >/dev/null
  done
fi

# Debian's npm, unless the installed Node brings its own.
if ! command -v npm >/dev/null; then
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends npm >/dev/null
fi
# The browser tests' driver, exactly as locked;
# npm's cache stays under build/, out of the home folder.
cd "$(dirname "$0")/.."
if [ ! node_modules/.package-lock.json -nt package-lock.json ]; then
  npm ci --no-audit --no-fund --cache build/npm-cache >/dev/null
fi

# The Japanese locale makes Wine report code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
echo "setup: ready"
