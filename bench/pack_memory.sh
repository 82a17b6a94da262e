#!/usr/bin/env bash
# Peak memory and time of `kelvarin pack`, which streams: a 64 MiB file, a
# file of 4 GiB - 1 bytes (the largest an entry holds), and a 4.8 GB
# archive (that file and 500 MB more). The payload is incompressible (a
# random MiB repeated; every block is sealed on its own, so the repeats
# do not compress), so the archive is as large as its input. Each case
# runs once under /usr/bin/time -v; the table shows elapsed time, peak
# resident memory and the archive's size, and the run fails when a peak
# passes 64 MB.
# Usage: bench/pack_memory.sh   (needs build/native; about 10 GB of disk)
# Measured on the 2-core build machine, shared with other builds:
#   64 MiB: 1.8 s, peak 4,264 kB; 4 GiB - 1: 132 s, peak 4,280 kB;
#   4.8 GB archive (4,806,154,184 bytes): 168 s, peak 4,220 kB. Before
#   pack streamed, a 4.8 GB pack took 268 s and 10.8 GB of memory.
# Environment: KELVARIN (the tool to run), BENCH_DIR (/tmp/kelvarin-pack-bench;
# removed afterwards), CASES ("64MiB 4GiB-1 4.8GB").
set -euo pipefail
cd "$(dirname "$0")/.."
kelvarin=$(realpath "${KELVARIN:-build/native/kelvarin}")
work=${BENCH_DIR:-/tmp/kelvarin-pack-bench}
cases=${CASES:-64MiB 4GiB-1 4.8GB}
limit_kb=$((64 * 1000))
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cd "$work"
head -c 512 /dev/zero > stub.bin
printf 'bench password\n' > password.txt
head -c 1048576 /dev/urandom > mib.bin

# A file of exactly $2 bytes made of the random MiB over and over.
make_payload() {
  local name=$1 bytes=$2
  [ -f "$name" ] && [ "$(stat -c %s "$name")" = "$bytes" ] && return
  while cat mib.bin; do :; done 2>/dev/null | head -c "$bytes" > "$name" || true
}

printf '%-8s %12s %10s %14s %16s\n' case input_bytes seconds peak_rss_kb archive_bytes
status=0
for case in $cases; do
  case $case in
    64MiB) make_payload a.bin $((64 << 20)); inputs=(a.bin) ;;
    4GiB-1) make_payload big.bin $(((1 << 32) - 1)); inputs=(big.bin) ;;
    4.8GB) make_payload big.bin $(((1 << 32) - 1)); make_payload more.bin 505032705; inputs=(big.bin more.bin) ;;
    *) echo "no case $case" >&2; exit 2 ;;
  esac
  input_bytes=$(stat -c %s "${inputs[@]}" | awk '{s += $1} END {printf "%d\n", s}')
  rm -f out.exe
  /usr/bin/time -v -o time.txt "$kelvarin" pack --quiet --stub stub.bin --output out.exe \
    --password-file password.txt "${inputs[@]}"
  seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' time.txt)
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' time.txt)
  printf '%-8s %12s %10s %14s %16s\n' "$case" "$input_bytes" "$seconds" "$peak" "$(stat -c %s out.exe)"
  [ "$peak" -le "$limit_kb" ] || { echo "$case: peak $peak kB is over 64 MB" >&2; status=1; }
  rm -f out.exe
done
exit $status
