#!/usr/bin/env bash
# What choosing the code page costs: `kelvarin extract` with --encoding auto
# (the default, which looks over the archive first) against an explicit
# --encoding CP1252, in one hyperfine run on the same archive: MEGABYTES of
# text-like payload (default 64), one entry, with names that need no
# choice and with names that do. THREADS (default 2). KELVARIN (the tool to
# measure, default build/native/kelvarin).
# Usage: bench/encoding_auto.sh [MEGABYTES]
set -euo pipefail
cd "$(dirname "$0")/.."
size_mb=${1:-64}
threads=${THREADS:-2}
kelvarin=$(realpath "${KELVARIN:-build/native/kelvarin}")
work=$(mktemp -d /tmp/kelvarin-auto.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
head -c 512 /dev/zero > stub.bin
printf 'bench password\n' > password.txt
mkdir payload
awk -v bytes=$((size_mb * 1048576)) 'BEGIN { srand(7); total = 0
  split("the of and to in is was that for on with as by at from his her which this be are or an", w, " ")
  while (total < bytes) { line = ""; for (i = 0; i < 12; i++) line = line w[1 + int(rand() * 22)] " "
    print line; total += length(line) + 1 } }' | head -c $((size_mb * 1048576)) > "payload/façade.txt"
(cd payload && "$kelvarin" pack --stub ../stub.bin --output ../a.exe --password-file ../password.txt \
   --relative --quiet "façade.txt")
common="--password-file password.txt --threads $threads --quiet --overwrite"
hyperfine -N -w 2 -r "${RUNS:-15}" \
  -n "extract, --encoding auto" "$kelvarin extract a.exe --output out-auto $common" \
  -n "extract, --encoding CP1252" "$kelvarin extract a.exe --output out-1252 $common"
cmp "payload/façade.txt" "out-auto/façade.txt"
