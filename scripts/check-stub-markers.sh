#!/usr/bin/env bash
# Fails when the program file holds the check marker or the entry marker
# text whole; prints the size of the file it checked.
set -euo pipefail
program=$1
status=0
for marker in '\SELF\CHECK\' '\ENCODE\DATA\'; do
  if grep -qaF -- "$marker" "$program"; then
    echo "marker text found in $program: $marker" >&2
    status=1
  fi
done
echo "$program: $(stat -c %s "$program") bytes, no marker text"
exit $status
