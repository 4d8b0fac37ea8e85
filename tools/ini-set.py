#!/usr/bin/env python3
"""Sets one key of an INI file, as the program's settings file holds it.

    tools/ini-set.py FILE SECTION KEY VALUE

Everything else in the file stays as it is: its lines, their order, its
encoding (UTF-16 with a byte-order mark, or 8-bit) and its line ends. A
missing file, section or key is added.
"""
import sys


def main(path, section, key, value):
    try:
        raw = open(path, "rb").read()
    except FileNotFoundError:
        raw = b""
    encoding = "utf-16" if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else "latin-1"
    lines = raw.decode(encoding).splitlines() if raw else []
    inside, start, done = False, None, False
    for i, line in enumerate(lines):
        text = line.strip()
        if text.startswith("["):
            if inside:
                break
            inside = text[1:].split("]")[0].strip().lower() == section.lower()
            start = i if inside else start
        elif inside and text.split("=")[0].strip().lower() == key.lower():
            lines[i] = f"{key}={value}"
            done = True
            break
    if not done:
        if start is None:
            lines += [f"[{section}]", f"{key}={value}"]
        else:
            end = start + 1
            while end < len(lines) and not lines[end].strip().startswith("["):
                end += 1
            lines.insert(end, f"{key}={value}")
    open(path, "wb").write(("\r\n".join(lines) + "\r\n").encode(encoding))


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
