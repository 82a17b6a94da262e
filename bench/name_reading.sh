#!/usr/bin/env bash
# How well an archive's code page is chosen from its stored names: builds a
# corpus of file names from Debian's word lists and Japanese dictionaries
# (bench/names/make_name_corpus.py), then prints, per language, per stored
# code page and per set (tuned on, held out), the share of one-name and
# five-name archives read right by the weighing rule, by the rule before
# it, and by uchardet and ICU's detector; then the rule's cost per name.
# Usage: bench/name_reading.sh [NAMES_PER_LANGUAGE]   (default 3000)
# Environment: MISSES=N lists the first N misread names, SHOW_CLOSE=1 the
# names read right but called close; SEED picks other
# names from the same lists (24, the one tuned on, unless told); BENCH_DIR
# (/tmp/kelvarin-names) holds the corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-3000}
work=${BENCH_DIR:-/tmp/kelvarin-names}
packages=(wbritish wngerman wfrench wspanish wswedish wdutch wcatalan wbrazilian wportuguese witalian wdanish
          wnorwegian wfaroese wirish mecab-ipadic-utf8 naist-jdic libuchardet-dev libicu-dev pkg-config)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if ((${#missing[@]})); then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target name_reading_accuracy >/dev/null
mkdir -p "$work"
python3 bench/names/make_name_corpus.py "$count" "${SEED:-24}" > "$work/corpus.tsv"
build/native/name_reading_accuracy --misses "${MISSES:-0}" "$work/corpus.tsv"
