"""Finds the places where tools/mutation_run.py may change a C++ source.

A site is one small edit of one file: the span it replaces, what it puts
there, and the kind of fault it stands for. Sites are found in the code
alone: comments, string and character literals, preprocessor lines,
assert(...) and static_assert(...) are blanked out first (an assertion
only restates what the code guarantees, and a weaker one changes nothing
a test can see). Operators are recognised by the house style, which puts
spaces around binary operators: `a < b` is a comparison, `vector<int>`
and `T&& value` are not.

Kinds:
  relational  < <= > >= == != : a bound moved by one, an equality turned over
  logical     && <-> ||
  arithmetic  + <-> -, += <-> -=
  literal     an integer literal one more, or one less (never below zero)
  negate      the condition of an if or a while negated; a ! dropped
  delete      a statement (a call, an assignment, ++/--, break, continue,
              return;) replaced by the empty statement
  return      the value of a return replaced by {} (zero, false, empty)
  boolean     true <-> false
"""
import dataclasses
import re

KINDS = ("relational", "logical", "arithmetic", "literal", "negate", "delete", "return", "boolean")


@dataclasses.dataclass(frozen=True)
class Site:
    path: str  # relative to the source tree, with forward slashes
    kind: str
    start: int  # offset of the replaced span in the file's text
    end: int
    replacement: str

    def apply(self, text):
        return text[: self.start] + self.replacement + text[self.end :]


def _skip_quoted(text, i, quote):
    """Index just past the literal that opens at text[i] with `quote`."""
    i += 1
    while i < len(text) and text[i] != quote and text[i] != "\n":
        i += 2 if text[i] == "\\" else 1
    return i + 1


def _skip_raw_string(text, i):
    """Index just past the raw string literal whose R" is at text[i]."""
    open_paren = text.index("(", i)
    closing = ")" + text[i + 2 : open_paren] + '"'
    return text.index(closing, open_paren) + len(closing)


def _skip_call(text, i):
    """Index just past the parenthesised arguments of the name ending at i."""
    j = text.index("(", i)
    depth = 0
    while j < len(text):
        depth += {"(": 1, ")": -1}.get(text[j], 0)
        j += 1
        if depth == 0:
            break
    return j


_NUMBER = re.compile(r"\d[\w.']*")
_IDENT = re.compile(r"[A-Za-z_]\w*")
_BLANKED_CALLS = {"assert", "static_assert"}
_RAW_PREFIXES = {"R", "u8R", "uR", "UR", "LR"}


def _non_code_end(text, i):
    """End of the comment or literal that starts at text[i], else None."""
    if text.startswith("//", i):
        end = text.find("\n", i)
        return len(text) if end < 0 else end
    if text.startswith("/*", i):
        return text.index("*/", i) + 2
    if text[i] in "\"'":
        return _skip_quoted(text, i, text[i])
    return None


def _preprocessor_end(text, i):
    """End of the preprocessor line at text[i], with its continuations."""
    while True:
        end = text.find("\n", i)
        if end < 0:
            return len(text)
        if text[end - 1] != "\\":
            return end
        i = end + 1


def blank_non_code(text):
    """The text with everything but code replaced by spaces (lines kept)."""
    out = list(text)
    i = 0
    line_start = True
    while i < len(text):
        c = text[i]
        end = None
        if line_start and c == "#":
            end = _preprocessor_end(text, i)
        elif c.isdigit():
            i = _NUMBER.match(text, i).end()  # keeps 1'000 away from the quote rule
            continue
        elif c.isalpha() or c == "_":
            word = _IDENT.match(text, i)
            rest = text[word.end() :]
            if word.group() in _RAW_PREFIXES and rest.startswith('"'):
                end = _skip_raw_string(text, word.end() - 1)
            elif word.group() in _BLANKED_CALLS and rest.lstrip().startswith("("):
                end = _skip_call(text, word.end())
            else:
                i = word.end()
                line_start = False
                continue
        else:
            end = _non_code_end(text, i)
        if end is None:
            line_start = c == "\n" or (line_start and c.isspace())
            i += 1
            continue
        for k in range(i, end):
            if out[k] != "\n":
                out[k] = " "
        line_start = False
        i = end
    return "".join(out)


_SWAPS = {
    "relational": {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="},
    "logical": {"&&": "||", "||": "&&"},
    "arithmetic": {"+": "-", "-": "+", "+=": "-=", "-=": "+="},
    "boolean": {"true": "false", "false": "true"},
}
_PATTERNS = {
    "relational": re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)"),
    "logical": re.compile(r"(?<=\s)(&&|\|\|)(?=\s)"),
    "arithmetic": re.compile(r"(?<=\s)([+-]=?)(?=\s)"),
    "boolean": re.compile(r"\b(true|false)\b"),
}
_INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9A-Fa-f']+|\d[\d']*)([uUlL]*)(?![\w.'])")
_PURE_VIRTUAL = re.compile(r"\)\s*(?:const\s*)?(?:override\s*)?=\s*$")
_CONDITION = re.compile(r"\b(if|while)\s*\(")
_NOT = re.compile(r"!(?!=)")
_RETURN = re.compile(r"\breturn\s([^;]+);")
# Values that {} would only spell again, and literals (the literal kind's).
_PLAIN_RETURNS = re.compile(r"\{\}|true|false|nullptr|(?:std::)?nullopt|-?\d\w*")
_KEYWORDS = {"return", "if", "while", "for", "switch", "case", "delete", "throw", "goto",
             "using", "typedef", "else", "do", "co_return", "new"}
_PATH = r"\*?\w+(?:(?:\.|->|::)\w+|\[[^\]]*\])*"
_STATEMENT = re.compile(
    r"(break|continue|return)\s*;|(?:\+\+|--)" + _PATH + r"\s*;|" + _PATH + r"(?:\+\+|--)\s*;|"
    r"(?P<target>" + _PATH + r")\s*(?:\(|=(?!=)|[-+*/|&^%]=|<<=|>>=).*;")
_PARAMETER = re.compile(r"[(,]\s*(?:const\s+)?(?!sizeof\b)\w[\w:<>]*\s*[*&]*\s+[*&]*\w+\s*[,)=\[]")
_CONTROL_HEAD = re.compile(r"(if|else\s+if|for|while)\s*\(.*\)$|else$")


def _beside_string(text, start, end):
    """True when the operator at text[start:end] has a string literal beside it."""
    return text[:start].rstrip().endswith('"') or text[end:].lstrip().startswith('"')


def _swap_sites(path, code, text, kind):
    pattern, swaps = _PATTERNS[kind], _SWAPS[kind]
    return [Site(path, kind, m.start(1), m.end(1), swaps[m.group(1)]) for m in pattern.finditer(code)
            if not (kind == "arithmetic" and _beside_string(text, m.start(1), m.end(1)))]


def _literal_sites(path, code, _text):
    sites = []
    for m in _INTEGER.finditer(code):
        if _PURE_VIRTUAL.search(code, 0, m.start()) and code[m.end() :].lstrip().startswith(";"):
            continue  # the 0 of "= 0;" after a declaration
        digits = m.group(1).replace("'", "")
        hexadecimal = digits[:2].lower() == "0x"
        value = int(digits, 16 if hexadecimal else 10)
        lower = hexadecimal and digits[2:] == digits[2:].lower()
        for changed in (value + 1, value - 1):
            if changed < 0:
                continue
            spelled = (f"0x{changed:x}" if lower else f"0x{changed:X}") if hexadecimal else str(changed)
            sites.append(Site(path, "literal", m.start(1), m.end(1), spelled))
    return sites


def _closing_paren(code, open_index):
    depth = 0
    for k in range(open_index, len(code)):
        depth += {"(": 1, ")": -1}.get(code[k], 0)
        if depth == 0:
            return k
    return None


def _negated_operand(condition):
    """True for `!x`, `!f(a, b)`: a ! before one operand, nothing else."""
    condition = condition.strip()
    depth = 0
    for c in condition[1:]:
        depth += {"(": 1, "[": 1, ")": -1, "]": -1}.get(c, 0)
        if depth == 0 and c.isspace():
            return False
    return condition.startswith("!")


def _negate_sites(path, code, text):
    sites = []
    for m in _CONDITION.finditer(code):
        close = _closing_paren(code, m.end() - 1)
        inside = code[m.end() : close] if close else ""
        if not inside.strip() or ";" in inside or _negated_operand(inside):
            continue  # a negated operand: dropping its ! below is the same change
        sites.append(Site(path, "negate", m.end(), close, "!(" + text[m.end() : close] + ")"))
    sites += [Site(path, "negate", m.start(), m.end(), "") for m in _NOT.finditer(code)]
    return sites


def _return_sites(path, code, text):
    sites = []
    for m in _RETURN.finditer(code):
        value = text[m.end(0) - 1 - len(m.group(1)) : m.end(0) - 1]
        start = m.start(1) + len(value) - len(value.lstrip())
        end = m.end(1) - (len(value) - len(value.rstrip()))
        if not _PLAIN_RETURNS.fullmatch(text[start:end]):
            sites.append(Site(path, "return", start, end, "{}"))
    return sites


def _lines(code):
    """(offset, line) for every line of the text."""
    offset = 0
    for line in code.split("\n"):
        yield offset, line
        offset += len(line) + 1


def _starts_statement(previous):
    """True when a line after `previous` (stripped code) opens a statement."""
    return previous.endswith((";", "{", "}", ":")) or bool(_CONTROL_HEAD.match(previous))


def _delete_sites(path, code, _text):
    sites = []
    previous = ""
    for offset, line in _lines(code):
        statement = line.strip()
        if not statement:
            continue
        m = _STATEMENT.fullmatch(statement)
        target = m and m.group("target")
        balanced = statement.count("(") == statement.count(")") and "{" not in statement and "}" not in statement
        balanced = balanced and not _PARAMETER.search(statement)  # a declaration, not a call
        if m and balanced and _starts_statement(previous) and (not target or re.match(r"\*?(\w+)", target).group(1) not in _KEYWORDS):
            start = offset + line.index(statement)
            sites.append(Site(path, "delete", start, start + len(statement), ";"))
        previous = statement
    return sites


def find_sites(path, text):
    """Every site of one file, in the order of the kinds and then of the text."""
    code = blank_non_code(text)
    sites = []
    for kind in KINDS:
        if kind in _PATTERNS:
            sites += _swap_sites(path, code, text, kind)
        else:
            sites += _FINDERS[kind](path, code, text)
    return sites


_FINDERS = {"literal": _literal_sites, "negate": _negate_sites, "delete": _delete_sites, "return": _return_sites}
