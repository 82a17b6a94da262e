# Shared by the scripts: how a run begins and ends, which Windows build runs
# under Wine here, and a virtual display for it.

# Installs what the run needs, sets `jobs` to the number of cores and takes
# a listing of the home folder, which finish_run compares against.
begin_run() {
  ./scripts/setup.sh
  jobs=$(nproc)
  home_before=$(mktemp)
  home_listing > "$home_before"
}

# Fails when the run wrote into the home folder.
finish_run() {
  check_home_unchanged "$home_before"
  rm -f "$home_before"
}

# The product is the 32-bit decoder.exe. Hosts whose kernel cannot run
# 32-bit programs cannot run 32-bit Wine either; there the same sources are
# also built for 64-bit Windows and that build runs the Wine tests.
wine_preset() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

# Starts Xvfb on a free display and exports DISPLAY; stopped on exit,
# together with the Wine servers of this project's prefixes.
start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  trap stop_display EXIT
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

# A bare "wineserver -k" would stop the server of the user's own default
# prefix when WINEPREFIX is not set: name each prefix of ours instead.
stop_display() {
  kill "$XVFB_PID" 2>/dev/null || true
  local prefix
  for prefix in ${WINEPREFIX:-} build/*/wine-*; do
    if [ -d "$prefix" ]; then WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; fi
  done
}

# What the home folder holds, by name: a test run or the demo writes
# nothing outside build/ and its own temporary folders.
home_listing() {
  find "$HOME" -xdev -maxdepth 4 2>/dev/null | LC_ALL=C sort
}

# Fails, listing the differences, when the home folder's names changed
# since the listing in file $1 was taken.
check_home_unchanged() {
  local now
  now=$(mktemp)
  home_listing > "$now"
  if ! diff "$1" "$now" > "$now.diff"; then
    echo "the run changed the home folder $HOME:" >&2
    cat "$now.diff" >&2
    rm -f "$now" "$now.diff"
    return 1
  fi
  rm -f "$now" "$now.diff"
  echo "the home folder $HOME is unchanged"
}
