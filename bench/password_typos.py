#!/usr/bin/env python3
"""What `kelvarin extract` makes of passwords one character off.

Packs a few archives of several entries (text, random bytes, tiny files,
one entry and many), then runs `kelvarin extract` with one-character typos
of each archive's password: a character changed, dropped, added, or two
neighbours swapped. Prints how many were named a wrong password, how many
were reported as damage (and with which words), and how many wrote
anything into the output folder. Run by hand:

    bench/password_typos.py [--typos 1000] [--kelvarin build/native/kelvarin]
"""
import argparse
import os
import random
import shutil
import string
import subprocess
import sys
import tempfile
from collections import Counter

PASSWORDS = ["secret1", "Tr0ub4dor&3", "correct horse", "kelvarin-2024", "p@ss", "letmein!"]


def make_files(folder, seed):
    rng = random.Random(seed)
    words = "the of and to in is was that for on with as by at from data file report notes".split()
    text = lambda n: " ".join(rng.choice(words) for _ in range(n)).encode()
    sets = {
        "two": {"rand.bin": rng.randbytes(48845), "text.txt": text(6000)},
        "mixed": {"a.txt": text(50), "b.bin": rng.randbytes(700), "c.txt": text(3000), "d.bin": rng.randbytes(9000),
                  "e.txt": b"e"},
        "random": {"only.bin": rng.randbytes(200000)},
        "texts": {f"doc{i}.txt": text(400 + 300 * i) for i in range(4)},
        "tiny": {f"t{i}.txt": bytes([65 + i]) * (i + 1) for i in range(6)},
    }
    made = {}
    for name, files in sets.items():
        source = os.path.join(folder, name)
        os.makedirs(source)
        for file, content in files.items():
            with open(os.path.join(source, file), "wb") as out:
                out.write(content)
        made[name] = source
    return made


def typos(password, rng):
    alphabet = string.ascii_letters + string.digits + "!@#$%&*-_ "
    i = rng.randrange(len(password))
    kind = rng.choice(["change", "drop", "add", "swap"])
    if kind == "change":
        return password[:i] + rng.choice([c for c in alphabet if c != password[i]]) + password[i + 1:]
    if kind == "drop" and len(password) > 4:
        return password[:i] + password[i + 1:]
    if kind == "swap" and i + 1 < len(password) and password[i] != password[i + 1]:
        return password[:i] + password[i + 1] + password[i] + password[i + 2:]
    return password[:i] + rng.choice(alphabet) + password[i:]


def verdict(errors):
    for line in errors.splitlines():
        if "Wrong password, or the archive is damaged" in line:
            return "wrong password, or damaged"
        if line.endswith("Wrong password"):
            return "wrong password"
    for line in errors.splitlines():
        return "damage: " + line.split(": ")[-1][:70]
    return "no complaint"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--typos", type=int, default=1000)
    parser.add_argument("--kelvarin", default="build/native/kelvarin")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    kelvarin = os.path.abspath(args.kelvarin)
    rng = random.Random(args.seed)
    work = tempfile.mkdtemp(prefix="kelvarin-typos-")
    try:
        stub = os.path.join(work, "stub.bin")
        with open(stub, "wb") as out:
            out.write(b"MZ" + bytes(1022))
        archives = []
        for number, (name, source) in enumerate(make_files(work, args.seed).items()):
            for password in PASSWORDS:
                archive = os.path.join(work, f"{name}-{len(archives)}.exe")
                files = sorted(os.listdir(source))
                subprocess.run([kelvarin, "pack", "--stub", stub, "--output", archive, "--password", password,
                                "--relative", "--block-size", rng.choice(["4096", "16384"]), "--quiet", *files],
                               cwd=source, check=True)
                archives.append((archive, password))
        outcomes, written = Counter(), 0
        for n in range(args.typos):
            archive, password = archives[n % len(archives)]
            typo = typos(password, rng)
            out = os.path.join(work, "out")
            shutil.rmtree(out, ignore_errors=True)
            run = subprocess.run([kelvarin, "extract", archive, "--output", out, "--password", typo, "--quiet"],
                                 capture_output=True, text=True, errors="replace")
            outcomes[verdict(run.stderr)] += 1
            if os.path.isdir(out) and any(files for _, _, files in os.walk(out)):
                written += 1
                outcomes["(wrote files)"] += 0
        print(f"{args.typos} typos over {len(archives)} archives")
        for what, count in outcomes.most_common():
            print(f"{count:6d}  {what}")
        print(f"{written:6d}  wrote anything")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
