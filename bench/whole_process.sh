#!/usr/bin/env bash
# Whole-process speed and memory of the native tool on big archives, side
# by side with the usual tools on the same payload:
#   kelvarin extract (per thread count)  against  gzip -d  and  compress -d
#   kelvarin check                       against  cat ARCHIVE > /dev/null
# on text-like, binary-like (the system's shared libraries) and random
# payloads. Every command runs once per round, the rounds interleaved so
# that a busy moment hits all commands alike; the table shows medians, the
# ratio to gzip -d (extract) or cat (check), and the largest peak memory.
# Usage: bench/whole_process.sh [MEGABYTES]   (default 256; needs build/native)
# Memory stays flat with archive size: compare the peaks of a 64 MB run
# with those of one 1 GiB round (ROUNDS=1 bench/whole_process.sh 1024).
# Environment: ROUNDS (5), THREADS ("1 2"; "default" runs without
# --threads), CORPORA ("text binary random"), KELVARIN (the tool to run),
# BENCH_DIR (/tmp/kelvarin-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
size_mb=${1:-256}
rounds=${ROUNDS:-5}
threads=${THREADS:-1 2}
corpora=${CORPORA:-text binary random}
kelvarin=$(realpath "${KELVARIN:-build/native/kelvarin}")
work=${BENCH_DIR:-/tmp/kelvarin-bench}
mkdir -p "$work"
cd "$work"
head -c 512 /dev/zero > stub.bin
printf 'bench password\n' > password.txt
bytes=$((size_mb * 1048576))

make_text() {  # lines of words in varying order, as logs and prose are
  awk -v bytes="$bytes" 'BEGIN {
    srand(7); split("the of and to in is was that for on with as by at from his her which this be are or an not but all were when we there can more if no out so said what up its about into than them only other new some could time these two may then do first any my now such like our over man me even most made after also did many before must through back years where much your way well down should because each just those people how too little state good very make world still own see men work long get here between both life being under never day same another know while last might us great old year off come since against go came right used take three", w, " ")
    n = length(w); total = 0
    while (total < bytes) {
      line = ""; k = 5 + int(rand() * 12)
      for (i = 0; i < k; i++) line = line w[1 + int(rand() * n)] " "
      line = line int(rand() * 100000)
      print line; total += length(line) + 1
    }
  }' | head -c "$bytes"
}

make_binary() {  # machine code and tables: shared libraries, repeated as needed
  local libraries
  libraries=$(find /usr/lib/x86_64-linux-gnu -maxdepth 1 -name '*.so*' -type f | sort)
  while xargs cat <<< "$libraries"; do :; done 2>/dev/null | head -c "$bytes"
}

make_payload() {
  case $1 in
    text) make_text ;;
    binary) make_binary ;;
    random) head -c "$bytes" /dev/urandom ;;
  esac
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for kind in $corpora; do
  payload=payload-$kind-$size_mb
  [ -f "$payload" ] || make_payload "$kind" > "$payload" || [ "$(stat -c %s "$payload")" = "$bytes" ]
  rm -f "$payload.exe" "$payload.gz" "$payload.Z"
  "$kelvarin" pack --stub stub.bin --output "$payload.exe" --password-file password.txt "$payload" >/dev/null
  gzip -6 -k -c "$payload" > "$payload.gz"
  compress -c "$payload" > "$payload.Z" || true  # exit 2 when the output is larger
  sync
  echo "== $kind, ${size_mb} MB payload (archive $(du -m "$payload.exe" | cut -f1) MB, gzip $(du -m "$payload.gz" | cut -f1) MB), $rounds rounds"

  labels=() commands=()
  add() { labels+=("$1"); commands+=("$2"); }
  add "gzip -d" "gzip -d -c '$payload.gz' > out/gz"
  add "compress -d" "compress -d -c '$payload.Z' > out/z"
  for t in $threads; do
    option=$([ "$t" = default ] && echo "" || echo "--threads $t")
    add "kelvarin extract ${option:-(default threads)}" \
        "rm -f 'out/$payload' && '$kelvarin' extract '$payload.exe' --output out --password-file password.txt $option"
  done
  add "cat ARCHIVE" "cat '$payload.exe' > /dev/null"
  add "kelvarin check" "'$kelvarin' check '$payload.exe'"

  rm -rf out times && mkdir out times
  for ((round = 0; round < rounds; round++)); do
    for i in "${!labels[@]}"; do
      start=$(date +%s%N)
      /usr/bin/time -f "%M" -o rss.txt sh -c "${commands[$i]}" >/dev/null 2>&1
      echo "$((($(date +%s%N) - start) / 1000000)) $(cat rss.txt)" >> "times/$i"  # ms and KB
      if [[ ${labels[$i]} == "kelvarin extract"* ]]; then cmp "out/$payload" "$payload"; fi
    done
  done
  gzip_ms=$(cut -d' ' -f1 times/0 | median)
  cat_ms=$(cut -d' ' -f1 "times/$((${#labels[@]} - 2))" | median)
  for i in "${!labels[@]}"; do
    wall=$(cut -d' ' -f1 "times/$i" | median)
    rss=$(cut -d' ' -f2 "times/$i" | sort -n | tail -1)
    base=$gzip_ms against="gzip -d"
    if [[ ${labels[$i]} == "kelvarin check" ]]; then base=$cat_ms against="cat"; fi
    awk -v l="${labels[$i]}" -v w="$wall" -v b="$base" -v a="$against" -v r="$rss" -v mb="$size_mb" \
      'BEGIN { printf "%-40s %7.3f s %7.0f MB/s %6.2fx %-8s %8d KB peak\n", l, w / 1000, mb * 1000 / w, w / b, a, r }'
  done
  rm -rf out times
done
