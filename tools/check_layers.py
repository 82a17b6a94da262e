#!/usr/bin/env python3
"""Checks that the source folders include one another only downwards.

The portable core is layered platform <- base <- archive <- codec <- {ui,
shell} <- decode, with the reference encoder beside decode and the
parallel block source above decode; the three front ends (win32, cli,
and web, whose C++ half is web/wasm/) sit on top. The window driver,
which answers the program's windows for the end-to-end tests and the
demo, stands beside them; the demo takes only it. A folder
may include itself and the folders listed for it here, nothing else: no
loop, no arrow upwards.
Usage: check_layers.py SOURCE_DIR (prints each folder's includes)."""
import pathlib
import re
import sys

ALLOWED = {
    "platform": set(),
    "base": set(),
    "archive": {"base", "platform"},
    "codec": {"archive", "base", "platform"},
    "ui": {"archive", "base", "platform"},
    "shell": {"archive", "base", "platform"},
    "decode": {"codec", "ui", "archive", "base", "platform"},
    "encoder": {"codec", "archive", "base", "platform"},
    "parallel": {"decode", "codec", "archive", "base", "platform"},
    "win32": {"decode", "shell", "ui", "codec", "archive", "base", "platform"},
    "cli": {"encoder", "parallel", "decode", "shell", "ui", "codec", "archive", "base", "platform"},
    "window_driver": {"ui", "base", "platform"},
    "demo": {"window_driver", "win32", "ui"},
    "web": {"parallel", "decode", "ui", "codec", "archive", "base", "platform"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z0-9_]+)/', re.M)


def main(root):
    root = pathlib.Path(root)
    faults = []
    for folder, allowed in ALLOWED.items():
        seen = set()
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp", ".inc", ".rc"):
                continue
            for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                if target == folder:
                    continue
                seen.add(target)
                if target not in allowed:
                    faults.append(f"{path.relative_to(root)} includes {target}/")
        print(f"{folder:13} -> {' '.join(sorted(seen)) or '(nothing)'}")
    for fault in faults:
        print("not allowed:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
