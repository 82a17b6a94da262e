#!/usr/bin/env bash
# `cmake --install` and `cpack -G DEB` of the native build: the tool, its
# manual page and the stub land where they belong, the installed tool packs
# with the installed stub without --stub, neither the installed tool nor
# the packaged one carries the test seam (the fault table), and without a
# stub nothing is installed. A test of its own: it runs the install rules, not the tool's
# code, and takes far longer than a unit test.
# Usage: install_and_package.sh BUILD_DIR WORK_DIR (WORK_DIR is made afresh)
set -euo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
cd "$work"
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# 300 bytes that pack takes for a Windows program: "MZ", at 0x3C the
# offset 0x40, and there "PE" and two NULs.
fill() { head -c "$1" /dev/zero | tr '\0' 's'; }
{ printf 'MZ'; fill 58; printf '\100\000\000\000PE\000\000'; fill 232; } > installed-stub.exe
printf 'aaaaaaaaaa' > a.txt
export KELVARIN_STUB=$PWD/installed-stub.exe

cmake --install "$build" --prefix prefix >/dev/null
[ "$(head -c 14 prefix/share/man/man1/kelvarin.1)" = ".TH KELVARIN 1" ] || fail "no manual page"
prefix/bin/kelvarin pack --output o.exe --password abcd a.txt || fail "the installed tool cannot pack without --stub"
[ "$(stat -c %s o.exe)" -gt 300 ] && cmp -s -n 300 installed-stub.exe o.exe ||
  fail "the archive does not begin with the installed stub"

cpack -G DEB --config "$build/CPackConfig.cmake" -B deb >/dev/null
listing=$(dpkg -c deb/kelvarin_*.deb)
for path in ./usr/bin/kelvarin ./usr/share/man/man1/kelvarin.1 ./usr/share/kelvarin/decoder.exe; do
  grep -q " $path\$" <<< "$listing" || fail "$path is not in the package: $listing"
done

dpkg-deb -x deb/kelvarin_*.deb unpacked
for program in prefix/bin/kelvarin unpacked/usr/bin/kelvarin; do
  symbols=$(nm -C "$program") || fail "nm cannot read $program"
  grep -q 'decode::DecodeWalk' <<< "$symbols" || fail "nm sees no symbols in $program, so it proves nothing"
  # A symbol of the seam's own (its table, Fails, Inject), not a type it lends.
  ! grep -E '^[0-9a-f ]+ [A-Za-z] platform::faults::' <<< "$symbols" || fail "$program carries the fault seam"
done

if KELVARIN_STUB=missing.exe cmake --install "$build" --prefix other >/dev/null 2>&1; then
  fail "installed without a stub"
fi
[ ! -e other ] || fail "a failed install wrote $(find other -type f)"
echo "installed, packaged without test seams, and refused without a stub"
