#!/usr/bin/env bash
# Whole-process speed and memory of the native tool on big archives, side
# by side with the usual tools on the same payload:
#   kelvarin extract   against  gzip -d  and  compress -d  (text-like and incompressible)
#   kelvarin check     against  cat ARCHIVE > /dev/null
# and the peak resident memory of extract for several archive sizes.
# Usage: bench/whole_process.sh [MEGABYTES]   (default 256; needs build/native)
set -euo pipefail
cd "$(dirname "$0")/.."
size_mb=${1:-256}
kelvarin=$(realpath build/native/kelvarin)
work=${BENCH_DIR:-/tmp/kelvarin-bench}
mkdir -p "$work"
cd "$work"
head -c 512 /dev/zero > stub.bin
printf 'bench password\n' > password.txt

# Text-like: lines of words in varying order, as logs and prose are.
make_text() {
  awk -v bytes=$(($1 * 1048576)) 'BEGIN {
    srand(7); split("the of and to in is was that for on with as by at from his her which this be are or an not but all were when we there can more if no out so said what up its about into than them only other new some could time these two may then do first any my now such like our over man me even most made after also did many before must through back years where much your way well down should because each just those people how too little state good very make world still own see men work long get here between both life being under never day same another know while last might us great old year off come since against go came right used take three", w, " ")
    n = length(w); total = 0
    while (total < bytes) {
      line = ""; k = 5 + int(rand() * 12)
      for (i = 0; i < k; i++) line = line w[1 + int(rand() * n)] " "
      line = line int(rand() * 100000)
      print line; total += length(line) + 1
    }
  }' | head -c $(($1 * 1048576))
}

measure() {  # label command...: wall seconds and peak KB
  local label=$1; shift
  /usr/bin/time -f "%e %M" -o time.txt "$@" >/dev/null 2>&1
  read -r wall rss < time.txt
  printf '%-44s %8.2f s  %8d KB peak\n' "$label" "$wall" "$rss"
}

for kind in text random; do
  payload=payload-$kind
  if [ ! -f "$payload" ]; then
    if [ $kind = text ]; then make_text "$size_mb" > "$payload"; else head -c $((size_mb * 1048576)) /dev/urandom > "$payload"; fi
  fi
  rm -f "$payload.exe" "$payload.gz" "$payload.Z"
  "$kelvarin" pack --stub stub.bin --output "$payload.exe" --password-file password.txt "$payload" >/dev/null
  gzip -6 -k -c "$payload" > "$payload.gz"
  compress -c "$payload" > "$payload.Z" || true  # exit 2 when the output is larger
  sync
  echo "== $kind, ${size_mb} MB payload (archive $(du -m "$payload.exe" | cut -f1) MB, gzip $(du -m "$payload.gz" | cut -f1) MB)"
  rm -rf out && mkdir out
  measure "kelvarin extract" "$kelvarin" extract "$payload.exe" --output out --password-file password.txt
  cmp out/"$payload" "$payload"
  measure "gzip -d (to a file)" sh -c "gzip -d -c '$payload.gz' > out/gz"
  measure "compress -d (to a file)" sh -c "compress -d -c '$payload.Z' > out/z"
  measure "kelvarin check" "$kelvarin" check "$payload.exe"
  measure "cat ARCHIVE > /dev/null" sh -c "cat '$payload.exe' > /dev/null"
  rm -rf out
done
