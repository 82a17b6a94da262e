#!/usr/bin/env python3
"""Checks that no function is longer than 60 lines, in the C++ and the
JavaScript of the project (the house rule: functions of one job).

A function is a brace block whose opening line reads as a definition: a
name and a parameter list before the brace, or an arrow; not a control
statement, and not one inside another function (lambdas and callbacks
count as part of the function that holds them). Its length is the lines from the
definition's first line to the closing brace. Comments and string
literals are blanked before braces are counted.
Usage: check_function_length.py SOURCE_DIR [LIMIT] (prints each offender)."""
import pathlib
import re
import subprocess
import sys

LIMIT = 60
CONTROL = re.compile(r"^\s*(?:\}\s*)?(?:if|for|while|switch|catch|else|do|try)\b")
ARROW = re.compile(r"=>\s*\{\s*$")
NAMED = re.compile(r"(?:function\s*\*?\s*\w*|\b\w+)\s*\([^()]*(?:\([^()]*\)[^()]*)*\)\s*(?:const|noexcept|override|final|\s|->\s*[\w:<>&*]+)*\{\s*$")


def blank(text):
    """Comments and literals as spaces, line breaks kept."""
    pattern = re.compile(r"//[^\n]*|/\*.*?\*/|\"(?:\\.|[^\"\\\n])*\"|'(?:\\.|[^'\\\n])*'|`(?:\\.|[^`\\])*`", re.S)
    return pattern.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


def signature_start(lines, index):
    """The first line of the definition that ends on lines[index]."""
    start = index
    while start > 0 and lines[start - 1].strip() and not re.search(r"[;{}]\s*$", lines[start - 1]) \
            and not lines[start - 1].lstrip().startswith("#"):
        start -= 1
    return start


def long_functions(path, limit):
    lines = blank(path.read_text(encoding="utf-8", errors="replace")).split("\n")
    found, stack = [], []  # stack: (is_function, first_line) per open brace
    inside = 0  # open function bodies
    for index, line in enumerate(lines):
        for position, char in enumerate(line):
            if char == "{":
                head = line[:position + 1]
                named = bool(NAMED.search(head)) and not re.search(r"\b(class|struct|namespace|enum|union)\b", head)
                is_function = inside == 0 and not CONTROL.search(head) and (named or bool(ARROW.search(head)))
                stack.append((is_function, signature_start(lines, index) if is_function else index))
                inside += is_function
            elif char == "}" and stack:
                is_function, first = stack.pop()
                if is_function:
                    inside -= 1
                    if index - first + 1 > limit:
                        found.append((first + 1, index - first + 1))
    return found


def main(root, limit):
    root = pathlib.Path(root)
    files = subprocess.run(["git", "ls-files", "*.cpp", "*.h", "*.c", "*.inl", "*.js", "*.mjs"], cwd=root,
                           capture_output=True, text=True, check=True).stdout.split()
    offenders = []
    for name in files:
        for line, length in long_functions(root / name, limit):
            offenders.append(f"{name}:{line}: a function of {length} lines")
    for offender in offenders:
        print(offender)
    print(f"{len(files)} files read; {len(offenders)} functions over {limit} lines")
    return 1 if offenders else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else ".", int(sys.argv[2]) if len(sys.argv) > 2 else LIMIT))
