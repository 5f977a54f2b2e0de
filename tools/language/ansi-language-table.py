#!/usr/bin/env python3
"""Writes the language table for Windows: each section's texts in the ANSI code
page of its language, because the tray program reads them with the ANSI profile
calls, which hand over the file's bytes as they stand.

usage: ansi-language-table.py SOURCE.ini OUTPUT.ini   (SOURCE is UTF-8)
"""
import sys

# Language identifier (the section name) to the ANSI code page Windows uses for it.
CODE_PAGES = {
    1028: "cp950",   # Chinese (Traditional)
    2052: "gbk",     # Chinese (Simplified)
    1041: "cp932",   # Japanese
    1042: "cp949",   # Korean
    1049: "cp1251",  # Russian
    1029: "cp1250",  # Czech
    1045: "cp1250",  # Polish
    1032: "cp1253",  # Greek
    1055: "cp1254",  # Turkish
}
DEFAULT_CODE_PAGE = "cp1252"  # Western European languages


def convert(text):
    out = bytearray()
    code_page = "ascii"
    for number, line in enumerate(text.splitlines(keepends=True), 1):
        stripped = line.strip()
        if stripped.startswith("[") and stripped.endswith("]"):
            name = stripped[1:-1]
            code_page = CODE_PAGES.get(int(name), DEFAULT_CODE_PAGE) if name.isdigit() else "ascii"
        try:
            out += line.encode(code_page)
        except UnicodeEncodeError as e:
            raise SystemExit(f"line {number}: {line.strip()!r} cannot be written in {code_page} ({e.reason})")
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
        text = f.read()
    data = convert(text)
    with open(sys.argv[2], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
