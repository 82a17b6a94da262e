#!/usr/bin/env bash
# The main job, end to end: builds everything, packs a sample folder into
# a self-decoding archive with the project's own encoder, verifies and
# extracts it with the native tool and proves the files identical, then
# runs the archive the way its user does, in Wine on a virtual display:
# the check form, and a decode through the password dialog. Screenshots
# land in build/demo/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

begin_run
preset=$(wine_preset)
echo "== building (native tool, decoder.exe for i686, and the $preset build that runs in Wine here)"
for p in native win32 "$preset"; do
  cmake --preset "$p" >/dev/null
  cmake --build --preset "$p" -j "$jobs" >/dev/null
done

demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/sample/letters" "$demo/sample/data/raw" "$demo/screenshots"
printf 'Dear reader,\r\nthis file travelled inside a self-decoding archive.\r\n' > "$demo/sample/letters/hello.txt"
seq 1 20000 | sed 's/$/ the quick brown fox jumps over the lazy dog/' > "$demo/sample/data/fox.txt"
head -c 300000 /dev/urandom > "$demo/sample/data/raw/noise.bin"
printf 'x' > "$demo/sample/data/raw/one-byte.bin"
chmod a-w "$demo/sample/letters/hello.txt"
printf 'demo password\n' > "$demo/password.txt"

echo "== the Debian package (CPack), installed for the native tool's part and removed after it"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if dpkg-query -W -f='${Status}' kelvarin 2>/dev/null | grep -q 'install ok installed'; then
  echo "DEMO FAILED: a kelvarin package is installed already; the demo would remove it (dpkg -r kelvarin first)"
  exit 1
fi
cpack -G DEB --config build/native/CPackConfig.cmake -B "$demo/deb" >/dev/null
deb=$(ls "$demo"/deb/kelvarin_*.deb)
dpkg-deb -c "$deb"
$SUDO dpkg -i "$deb" >/dev/null
trap '$SUDO dpkg -r kelvarin >/dev/null' EXIT
kelvarin=/usr/bin/kelvarin
"$kelvarin" --version

echo "== packing build/demo/sample (names relative to it, encoder information shown)"
archive=$(realpath "$demo")/sample-archive.exe
# The installed stub is the i686 decoder.exe; where Wine runs the 64-bit
# build, the archive carries that one so that it can run there.
stub=()
[ "$preset" = win32 ] || stub=(--stub "$(realpath "build/$preset/decoder.exe")")
(cd "$demo/sample" && "$kelvarin" pack "${stub[@]}" \
   --output "$archive" --password-file ../password.txt --caption "Kelvarin demo" \
   --flags 6 --suicide 2 --relative letters data)

echo "== kelvarin check"
"$kelvarin" check "$archive"

echo "== kelvarin list"
"$kelvarin" list "$archive" --password-file "$demo/password.txt"

echo "== kelvarin extract"
mkdir -p "$demo/extracted"
"$kelvarin" extract "$archive" --output "$demo/extracted" --password-file "$demo/password.txt"
diff -r "$demo/sample" "$demo/extracted"
echo "extracted files are identical to the sample"
echo "== kelvarin extract again: existing files are kept, not replaced, without a terminal to ask"
status=0
"$kelvarin" extract "$archive" --output "$demo/extracted" --password-file "$demo/password.txt" </dev/null || status=$?
echo "exit status $status (3: an existing file was not replaced)"
[ "$status" -eq 3 ]

$SUDO dpkg -r kelvarin >/dev/null
trap - EXIT
echo "the kelvarin package is removed again"

echo "== in Wine ($preset build): the check form, then a decode as the user does it"
export WINEPREFIX=$(realpath "$demo")/wine
start_display
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
run() { ./scripts/wine-run.sh "build/$preset/demo_driver.exe" "$@"; }
run check "$(winpath "$archive")" "$(winpath "$demo/screenshots")"
# The decode starts in the folder it decodes into, on the prefix's own
# drive C: (the program's clean-up may write into its drive's root).
decoded=$WINEPREFIX/drive_c/decoded
mkdir -p "$decoded"
run decode "$(winpath "$archive")" "demo password" 'C:\decoded' "$(winpath "$demo/screenshots")"
diff -r "$demo/sample" "$decoded"
echo "files decoded in Wine are identical to the sample"

echo "== what the run left in the temporary folder and the drive roots (nothing expected)"
temp=$(find "$WINEPREFIX/drive_c/users" -maxdepth 4 -type d -name Temp | head -n 1)
chain_files() {
  find "$temp" -maxdepth 1 \( -iname 'DEC*.exe' -o -iname 'Del*.exe' -o -iname 'Del*.bat' -o -iname 'Del*.tmp' \)
  find "$WINEPREFIX/drive_c" / -maxdepth 1 -iname 'delus.bat'
}
for _ in $(seq 150); do
  left=$(chain_files 2>/dev/null)
  [ -z "$left" ] && break
  sleep 0.2
done
echo "temporary folder $temp:"
ls -la "$temp"
if [ -n "$left" ]; then echo "DEMO FAILED: left behind after 30 s: $left"; exit 1; fi
echo "no decoder copy, clean-up copy or batch file left"
finish_run

for bmp in "$demo"/screenshots/*.bmp; do convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"; done
echo "screenshots:"
ls -1 "$demo"/screenshots/*.png
