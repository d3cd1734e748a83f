#!/usr/bin/env python3
"""Checks of the text generator: every slip in a source stops it with file:line: message.

Usage: textgen_test.py TEXTGEN TEXTS_DIR

Each case copies texts/de.txt (and texts/en.txt) into a scratch folder, spoils one line and
expects exit status 1 and the message at the right line. The cases of the names file do the same
with texts/ids.list.
"""
import subprocess
import sys
import tempfile
from pathlib import Path


def text_line(lines, ident):
    """Index of the line of identifier ident."""
    return next(i for i, l in enumerate(lines) if l.startswith(f"{ident} \""))


def run(textgen, folder, ids=None):
    out = folder / "out"
    names = ["--ids", str(ids)] if ids else []
    result = subprocess.run([textgen, "--texts", str(folder), "--out", str(out)] + names,
                            capture_output=True, text=True)
    return result.returncode, result.stderr, out


def name_line(lines, ident):
    """Index of the names line of identifier ident."""
    return next(i for i, l in enumerate(lines) if l.startswith(f"{ident} "))


def image_bytes(source):
    """The bytes of the image array in a generated flash_image.cpp."""
    body = source.read_text().split("{", 1)[1].rsplit("}", 1)[0]
    return bytes(int(b) for b in body.replace(",", " ").split())


def main():
    textgen, texts = sys.argv[1], Path(sys.argv[2])
    german = (texts / "de.txt").read_text(encoding="utf-8").splitlines()
    english = (texts / "en.txt").read_text(encoding="utf-8").splitlines()

    def replace(lines, ident, new):
        i = text_line(lines, ident)
        return lines[:i] + [new] + lines[i + 1:], i + 1

    def spoil_de(ident, new):
        lines, number = replace(german, ident, new)
        return {"de": lines}, "de", number

    def spoil_en(ident, new):
        lines, number = replace(english, ident, new)
        return {"de": german, "en": lines}, "en", number

    i200 = text_line(german, 200)
    i7 = text_line(german, 7)
    swapped = list(german)
    swapped[i7], swapped[i7 + 1] = swapped[i7 + 1], swapped[i7]
    long_text = "x" * 1212

    # (what, files, file that is wrong, line, part of the message)
    cases = [
        ("duplicate", {"de": german[:i200 + 1] + [german[i200]] + german[i200 + 1:]}, "de",
         i200 + 2, "identifier 200 twice (first on line %d)" % (i200 + 1)),
        ("missing", {"de": german[:i200] + german[i200 + 1:]}, "de", i200 + 1,
         "identifier 201 out of order: expected 200"),
        ("missing at the end", {"de": german[:i200] + german[i200 + 1:]}, "de",
         len(german) - 1, "identifier 200 is missing"),
        ("swapped", {"de": swapped}, "de", i7 + 1, "identifier 8 out of order: expected 7"),
        ("beyond", {"de": german + ['395 "x"']}, "de", len(german) + 1,
         "identifier 395 beyond the last one, 394"),
        ("escape", *spoil_de(9, r'9 "Abreise\ttag:"'), r"unknown escape \t"),
        ("unterminated", *spoil_de(9, '9 "Abreisetag:'), "the text has no closing quotation mark"),
        ("inner quote", *spoil_de(9, '9 "Abreise"tag:"'), "text after the closing quotation"),
        ("no blank", *spoil_de(9, '9"Abreisetag:"'), "not a text line"),
        ("carriage return", *spoil_de(9, '9 "Abreisetag:"\r'), "carriage return"),
        ("not UTF-8", *spoil_de(9, '9 "Abreise\udcfftag:"'), "text 9: byte 8 of the text is not UTF-8"),
        ("beyond U+FFFF", *spoil_de(9, '9 "Abreise\U0001F600"'),
         "text 9: byte 8 of the text is not UTF-8, or starts a character beyond U+FFFF"),
        ("control", *spoil_de(9, '9 "Abreise\ttag:"'), "text 9: control character 0x09"),
        ("too long", *spoil_de(9, f'9 "{long_text}"'), "text 9: 1212 bytes, more than the 1211"),
        ("German name", *spoil_de(394, '394 "German"'),
         'text 394 is the language name of language 0: "Deutsch", not "German"'),
        ("country code", *spoil_en(393, '393 "EN"'),
         'text 393 is the country code of language 3: "GB", not "EN"'),
        ("key symbol", *spoil_en(16, '16 "Change with OK"'),
         "text 16: key symbols none, the German text has U+2670"),
    ]

    ids = (texts / "ids.list").read_text(encoding="utf-8").splitlines()
    n116 = name_line(ids, 116)
    n117 = name_line(ids, 117)

    def spoil_names(ident, new):
        i = name_line(ids, ident)
        return ids[:i] + [new] + ids[i + 1:], i + 1

    # (what, names file, line, part of the message)
    name_cases = [
        ("name twice", *spoil_names(117, "117 TXT_HEIZKREIS_1"),
         "name TXT_HEIZKREIS_1 twice (first on line %d)" % (n116 + 1)),
        ("identifier named twice", ids[:n117 + 1] + ["116 TXT_HEIZKREIS_EINS"] + ids[n117 + 1:],
         n117 + 2, "identifier 116 named twice (first on line %d)" % (n116 + 1)),
        ("beyond", ids + ["395 TXT_MEHR"], len(ids) + 1, "identifier 395 beyond the last one, 394"),
        ("unnamed", ids[:n116] + ids[n116 + 1:], len(ids) - 1, "identifier 116 has no name"),
        ("unnamed range", ids[:n116] + ids[n117 + 1:], len(ids) - 2,
         "identifiers 116..117 have no name"),
        ("prefix", *spoil_names(116, "116 HEIZKREIS_1"), "a name starts with TXT_"),
        ("lower case", *spoil_names(116, "116 TXT_Heizkreis_1"), "name TXT_Heizkreis_1: only A-Z, 0-9 and _"),
        ("reserved", *spoil_names(116, "116 TXT_NONE"), "name TXT_NONE belongs to the catalogue"),
        ("no name", *spoil_names(116, "116"), "not a name line"),
    ]

    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        root = Path(scratch)
        for n, (what, files, wrong, line, message) in enumerate(cases):
            folder = root / str(n)
            folder.mkdir()
            for code, lines in files.items():
                (folder / f"{code}.txt").write_bytes(
                    ("\n".join(lines) + "\n").encode("utf-8", "surrogateescape"))
            status, stderr, _ = run(textgen, folder)
            expected = f"{folder / (wrong + '.txt')}:{line}: {message}"
            if status != 1 or expected not in stderr:
                failures.append(f"{what}: status {status}, expected\n  {expected}\ngot\n  {stderr}")

        # The real sources: no error, and a warning for each language still to come.
        folder = root / "good"
        folder.mkdir()
        for code in ("de", "en"):
            (folder / f"{code}.txt").write_bytes((texts / f"{code}.txt").read_bytes())
        status, stderr, out = run(textgen, folder)
        if status != 0 or "warning:" not in stderr or "languages without a source yet: cs da es" not in stderr:
            failures.append(f"good sources: status {status}\n{stderr}")
        elif b"Leaving date:" not in image_bytes(out / "flash_image.cpp"):
            failures.append("good sources: the English texts are not in the image")

        for n, (what, lines, line, message) in enumerate(name_cases):
            folder = root / f"names{n}"
            folder.mkdir()
            (folder / "de.txt").write_bytes((texts / "de.txt").read_bytes())
            names = folder / "ids.list"
            names.write_text("\n".join(lines) + "\n", encoding="utf-8")
            status, stderr, out = run(textgen, folder, names)
            expected = f"{names}:{line}: {message}"
            if status != 1 or expected not in stderr or (out / "text_names.h").exists():
                failures.append(f"{what}: status {status}, expected\n  {expected}\ngot\n  {stderr}")

        # The real names: one constant per identifier.
        folder = root / "names"
        folder.mkdir()
        (folder / "de.txt").write_bytes((texts / "de.txt").read_bytes())
        status, stderr, out = run(textgen, folder, texts / "ids.list")
        header = out / "text_names.h"
        if status != 0 or not header.exists():
            failures.append(f"good names: status {status}\n{stderr}")
        else:
            constants = [l for l in header.read_text().splitlines() if l.startswith("inline constexpr")]
            if len(constants) != 395 or "TXT_HEIZKREIS_1 = 116;" not in header.read_text():
                failures.append(f"good names: {len(constants)} constants in\n{header.read_text()}")

        missing = root / "no German"
        missing.mkdir()
        status, stderr, _ = run(textgen, missing)
        if status != 1 or "the German texts are missing" not in stderr:
            failures.append(f"no German: status {status}\n{stderr}")

    for f in failures:
        print(f)
    print(f"{len(cases) + len(name_cases) + 3 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
