#!/usr/bin/env python3
"""Spelling check of the panel's texts with Debian's hunspell dictionaries.

Every word of every text of a language must be known to the dictionary of that language or
be listed, with a one-line reason, in texts/<code>.allow (or texts/common.allow for names and
units shared by all languages). Allowlist entries that no text uses any more are errors too,
so the lists stay short.

Usage: spellcheck.py TEXTS_DIR [CODE ...]    (no codes: every language)
"""
import re
import subprocess
import sys
from pathlib import Path

DICTIONARIES = {
    "de": "de_DE", "cs": "cs_CZ", "da": "da_DK", "en": "en_GB", "es": "es_ES", "et": "et_EE",
    "fr": "fr_FR", "hr": "hr_HR", "it": "it_IT", "lv": "lv_LV", "lt": "lt_LT", "hu": "hu_HU",
    "nl": "nl_NL", "pl": "pl_PL", "ru": "ru_RU", "ro": "ro_RO", "sl": "sl_SI", "sv": "sv_SE",
    "tr": "tr_TR",
}

LINE = re.compile(r'^(\d+) "((?:[^"\\]|\\.)*)"$')
# Words are runs of letters; an apostrophe inside a word belongs to it (French, Italian).
WORD = re.compile(r"[^\W\d_]+(?:['’][^\W\d_]+)*")


def unescape(text):
    return re.sub(r'\\(.)', lambda m: "\n" if m.group(1) == "n" else m.group(1), text)


def read_texts(path):
    texts = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        m = LINE.match(line)
        if not m:
            raise SystemExit(f"{path}:{number}: not a text line")
        texts[int(m.group(1))] = unescape(m.group(2))
    return texts


def read_allowlist(path):
    words = {}
    if not path.exists():
        return words
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        word, _, reason = line.partition("#")
        if not word.strip() or not reason.strip():
            raise SystemExit(f"{path}:{number}: an entry is a word, then '#' and its reason")
        words[word.strip()] = reason.strip()
    return words


def words_of(texts):
    found = set()
    for text in texts.values():
        for word in WORD.findall(text):
            if len(word) > 1:
                found.add(word)
    return found


# The panel's fonts have only the cedilla forms of the Romanian letters with comma below, so
# the texts use them; the dictionary knows the comma forms.
SPELLING_FORMS = {
    "ro": str.maketrans("\u015f\u015e\u0163\u0162", "\u0219\u0218\u021b\u021a"),
}


def unknown_words(words, dictionary, code):
    forms = SPELLING_FORMS.get(code)
    spelled = {w.translate(forms): w for w in words} if forms else {w: w for w in words}
    result = subprocess.run(["hunspell", "-l", "-i", "utf-8", "-d", dictionary],
                            input="\n".join(sorted(spelled)) + "\n", capture_output=True,
                            text=True, check=True)
    return {spelled.get(w, w) for w in result.stdout.split()}


def check(texts_dir, code, common):
    texts = read_texts(texts_dir / f"{code}.txt")
    allowed = read_allowlist(texts_dir / f"{code}.allow")
    words = words_of(texts)
    unknown = unknown_words(words, DICTIONARIES[code], code)
    failures = []
    for word in sorted(unknown - set(allowed) - set(common)):
        users = [n for n, t in texts.items() if word in WORD.findall(t)]
        failures.append(f"{code}: unknown word '{word}' (texts {', '.join(map(str, users))})")
    for word in sorted(set(allowed) - unknown):
        failures.append(f"{code}: allowlist entry '{word}' is not needed")
    return failures, unknown


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    texts_dir = Path(sys.argv[1])
    codes = sys.argv[2:] or sorted(c for c in DICTIONARIES if (texts_dir / f"{c}.txt").exists())
    common = read_allowlist(texts_dir / "common.allow")
    failures = []
    used_common = set()
    for code in codes:
        f, unknown = check(texts_dir, code, common)
        failures += f
        used_common |= unknown & set(common)
    if len(sys.argv) == 2:
        failures += [f"common: allowlist entry '{w}' is not needed"
                     for w in sorted(set(common) - used_common)]
    for line in failures:
        print(line)
    print(f"{len(codes)} language(s) checked, {len(failures)} problem(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
