#!/usr/bin/env python3
"""Writes a corpus of stored file names for the name reading benchmark.

Names are made as people name files: words from Debian's word lists and
a Japanese dictionary, with extensions, capitals, spaces, digits, years
and folders (\\docs\\...). Western names are stored in CP1252, Japanese ones
in CP932, some katakana names in half-width katakana, and a share of each
kind in UTF-8. Every name holds a character beyond ASCII: all-ASCII names
read alike in every code page. English names hold only a typographic
symbol (’ – … “ ” © ™ and the like) beyond ASCII.

Each language falls in one of two sets, "tune" (weights were set on it)
and "held-out" (only reported), so that the benchmark shows how the rule
does on names it was not tuned on. The Japanese tune set is the general
nouns of mecab-ipadic; the held-out set is what naist-jdic has beyond them.

Output, one name a line: SET TAB LANGUAGE TAB CODE_PAGE TAB HEX TAB UTF-8.
Usage: make_name_corpus.py NAMES_PER_LANGUAGE [SEED] > corpus.tsv
"""
import random
import re
import sys
import unicodedata

DICT = "/usr/share/dict/"
WESTERN = {  # language: (word list, its encoding, set)
    "english": ("british-english", "utf-8", "tune"),  # plain words: each name has a typographic symbol
    "german": ("ngerman", "utf-8", "tune"),
    "french": ("french", "utf-8", "tune"),
    "spanish": ("spanish", "utf-8", "tune"),
    "swedish": ("swedish", "latin-1", "tune"),
    "dutch": ("dutch", "utf-8", "tune"),
    "catalan": ("catalan", "utf-8", "tune"),
    "brazilian": ("brazilian", "utf-8", "tune"),
    "portuguese": ("portuguese", "utf-8", "held-out"),
    "italian": ("italian", "utf-8", "held-out"),
    "danish": ("danish", "utf-8", "held-out"),
    "norwegian": ("bokmaal", "latin-1", "held-out"),
    "nynorsk": ("nynorsk", "latin-1", "held-out"),
    "faroese": ("faroese", "utf-8", "held-out"),
    "irish": ("irish", "utf-8", "held-out"),
}
IPADIC = "/usr/share/mecab/dic/ipadic/"
IPADIC_TUNE = ["Noun.csv", "Noun.verbal.csv", "Noun.adjv.csv", "Noun.adverbal.csv"]
NAIST = "/usr/share/chasen/dic/naist-jdic/naist-jdic.dic"
UTF8_SHARE = 0.2
DECORATED_SHARE = 0.15  # names that also hold a typographic symbol
WESTERN_DECORATIONS = ["{} – {}", "{}’s {}", "{} (©{})", "{}° {}", "«{}» {}", "{}… {}", "{} ½ {}", "{}² {}",
                       "{} {}€", "{}® {}", "{}™ {}", "“{}” {}", "{} · {}", "{} — {}", "{} × {}"]
ENGLISH_DECORATIONS = ["{}’s {}", "{}’t {}", "{} – {}", "{}… {}", "“{}” {}", "{} ©{}", "{}™ {}", "{} — {}",
                       "{}° {}", "{} €{}", "{}’ {}", "‘{}’ {}", "{} · {}", "{} ½ {}", "{}® {}"]
JAPANESE_DECORATIONS = ["{}①{}", "㈱{}{}", "{}～{}", "{}　{}", "※{}{}", "★{}{}", "{}♪{}", "「{}」{}", "{}Ⅱ{}",
                        "{}→{}", "{}・{}", "{}、{}", "{}〜{}", "{}≪{}≫", "{}○{}"]
HALF_WIDTH_SHARE = 0.5  # of the Japanese names made of katakana only

EXTENSIONS = "txt doc docx xls xlsx pdf jpg png mp3 zip csv html ppt pptx wav bmp ini log dat".split()
WESTERN_FOLDERS = "docs Documents Bilder Fotos Musik Music photos Daten data backup archiv 2019 2023".split()
JAPANESE_FOLDERS = "資料 写真 書類 データ 音楽 バックアップ 議事録 docs 2020".split()


def fits(text, codec):
    try:
        text.encode(codec)
        return True
    except UnicodeEncodeError:
        return False


def western_words(file, encoding):
    words = []
    with open(DICT + file, encoding=encoding, errors="ignore") as lines:
        for line in lines:
            word = line.strip().split("/")[0]
            if 2 <= len(word) <= 18 and re.fullmatch(r"[^\W\d_]+(['-][^\W\d_]+)?", word) and fits(word, "cp1252"):
                words.append(word)
    return words


def is_katakana(word):
    return all("\u30a1" <= c <= "\u30fa" or c == "ー" for c in word)


def japanese_word_ok(word):
    return 1 <= len(word) <= 10 and fits(word, "cp932") and not re.search(r"[\x00-\x7f]", word)


def ipadic_words(files):
    words, readings = [], []
    for name in files:
        with open(IPADIC + name, encoding="euc_jp", errors="ignore") as lines:
            for line in lines:
                fields = line.rstrip("\n").split(",")
                if len(fields) > 11 and japanese_word_ok(fields[0]):
                    words.append(fields[0])
                    if is_katakana(fields[11]) and len(fields[11]) >= 2:
                        readings.append(fields[11])
    return words, readings


def naist_words(exclude):
    words, readings = [], []
    pattern = re.compile(r"\(見出し語 \((\S+) \d+\)\) \(読み (\S+)\)")
    with open(NAIST, encoding="euc_jp", errors="ignore") as lines:
        for line in lines:
            found = pattern.search(line)
            if found and found.group(1) not in exclude and japanese_word_ok(found.group(1)):
                words.append(found.group(1))
                if is_katakana(found.group(2)) and len(found.group(2)) >= 2:
                    readings.append(found.group(2))
    return words, readings


def half_width_table():
    table = {}
    for code in range(0xFF61, 0xFFA0):
        half = chr(code)
        table.setdefault(unicodedata.normalize("NFKC", half), half)
    for full, half in list(table.items()):
        for mark, half_mark in (("\u3099", "ﾞ"), ("\u309a", "ﾟ")):
            voiced = unicodedata.normalize("NFC", full + mark)
            if len(voiced) == 1:
                table.setdefault(voiced, half + half_mark)
    return table


HALF = half_width_table()


def to_half_width(word):
    if not all(c in HALF for c in word):
        return None
    return "".join(HALF[c] for c in word)


def decorated(rng, name, decorations):
    """The name with a typographic symbol put in before its extension."""
    stem, dot, ext = name.rpartition(".")
    words = stem.rsplit(" ", 1)
    if len(words) == 1:
        words = [stem, str(rng.randrange(1, 100))]
    return rng.choice(decorations).format(*words) + dot + ext


def western_name(rng, words, plain, decorations=WESTERN_DECORATIONS):
    main = rng.choice(words)
    if rng.random() < 0.5:
        main = main[0].upper() + main[1:]
    other = rng.choice(plain)
    ext = rng.choice(EXTENSIONS)
    form = rng.randrange(10)
    if form == 0: name = f"{main} {other}.{ext}"
    elif form == 1: name = f"{main}_{rng.randrange(1, 40):02}.{ext}"
    elif form == 2: name = f"{rng.randrange(1, 20):02} {main}.{ext}"
    elif form == 3: name = f"{other}-{main}.{ext}"
    elif form == 4: name = f"\\{rng.choice(WESTERN_FOLDERS)}\\{main}.{ext}"
    elif form == 5: name = f"\\{main}\\{other} {rng.randrange(1990, 2030)}.{ext}"
    elif form == 6 and not main.upper().isascii(): name = f"{main.upper()}.{ext.upper()}"
    elif form == 7: name = f"{main} {other} {rng.choice(plain)}.{ext}"
    else: name = f"{main}.{ext}"
    return decorated(rng, name, decorations) if decorations and rng.random() < DECORATED_SHARE else name


def japanese_name(rng, words, kana_words):
    main = rng.choice(words)
    other = rng.choice(words)
    ext = rng.choice(EXTENSIONS)
    form = rng.randrange(12)
    if form == 0: name = f"{main}{other}.{ext}"
    elif form == 1: name = f"{main}_{rng.randrange(1, 40):02}.{ext}"
    elif form == 2: name = f"{main} {rng.randrange(2000, 2030)}年{rng.randrange(1, 13)}月.{ext}"
    elif form == 3: name = f"【{main}】{other}.{ext}"
    elif form == 4: name = f"\\{rng.choice(JAPANESE_FOLDERS)}\\{main}.{ext}"
    elif form == 5: name = f"{main}（{other}）.{ext}"
    elif form == 6: name = f"{rng.choice(['ABC', 'PC', 'No.', 'Ver2'])}{main}.{ext}"
    elif form == 7: name = f"{rng.choice(kana_words)}・{main}.{ext}"
    elif form == 8: name = f"{rng.choice(kana_words)}{main}.{ext}"
    elif form == 9: name = f"{main}{other}{rng.choice(words)}.{ext}"
    else: name = f"{main}.{ext}"
    return decorated(rng, name, JAPANESE_DECORATIONS) if rng.random() < DECORATED_SHARE else name


def half_width_name(rng, kana_words):
    while True:
        words = [to_half_width(rng.choice(kana_words)) for _ in range(2)]
        if None not in words:
            break
    ext = rng.choice(EXTENSIONS)
    form = rng.randrange(6)
    if form == 0: return f"{words[0]} {words[1]}.{ext}"
    if form == 1: return f"{words[0]}_{rng.randrange(1, 40):02}.{ext}"
    if form == 2: return f"\\{words[0]}\\{words[1]}.{ext}"
    if form == 3: return f"{words[0]}{words[1]}.{ext.upper()}"
    return f"{words[0]}.{ext}"


def emit(out, group, language, native_code_page, names, rng):
    for name in names:
        code_page, codec = (65001, "utf-8") if rng.random() < UTF8_SHARE else native_code_page
        stored = name.encode(codec)
        out.write(f"{group}\t{language}\t{code_page}\t{stored.hex()}\t{name}\n")


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 3000
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 24)
    out = sys.stdout
    for language, (file, encoding, group) in WESTERN.items():
        words = western_words(file, encoding)
        accented = [w for w in words if not w.isascii()]
        plain = [w for w in words if w.isascii()] or words
        if language == "english":
            names = [decorated(rng, western_name(rng, plain, plain, []), ENGLISH_DECORATIONS) for _ in range(count)]
        else:
            names = [western_name(rng, accented, plain) for _ in range(count)]
        emit(out, group, language, (1252, "cp1252"), names, rng)
    tune_words, tune_readings = ipadic_words(IPADIC_TUNE)
    held_words, held_readings = naist_words(set(tune_words))
    for group, words, readings in (("tune", tune_words, tune_readings), ("held-out", held_words, held_readings)):
        kana = [w for w in words if is_katakana(w)] + readings
        names = [name for name in (japanese_name(rng, words, kana) for _ in range(count)) if fits(name, "cp932")]
        emit(out, group, "japanese", (932, "cp932"), names, rng)
        halves = [half_width_name(rng, kana) for _ in range(int(count * HALF_WIDTH_SHARE))]
        emit(out, group, "japanese-half-width", (932, "cp932"), halves, rng)


if __name__ == "__main__":
    main()
