#!/usr/bin/env python3
"""Writes the phrase files scripts/bench measures with, the same on every run.

  make_phrase_files.py large <folder>  twenty files of 1 MiB: five encodings (ASCII, Windows-1252, UTF-8,
                                       UTF-8 with mark, UTF-16 LE with mark) x short and long lines x CR LF and
                                       LF; index.txt names each file's kind, one line per slot
  make_phrase_files.py small <folder>  twenty everyday phrases of a few short ASCII lines with CR LF
"""
import os
import random
import sys

MIB = 1024 * 1024
WORDS = ("Sehr geehrte Damen und Herren mit freundlichen Grüßen Ihre Anfrage vom Rechnung Nummer "
         "Lieferung Straße Größe Übergabe Änderung Öffnungszeiten bitte danke gern € Termin").split()

ASCII = str.maketrans({"ä": "ae", "ö": "oe", "ü": "ue", "ß": "ss", "Ä": "Ae", "Ö": "Oe", "Ü": "Ue", "€": "EUR"})


def text_lines(rng, line_length, count_chars, plain):
    """Lines of words, each about line_length characters, until count_chars characters are made."""
    lines, made = [], 0
    while made < count_chars:
        words, length = [], 0
        while length < line_length:
            w = rng.choice(WORDS)
            if plain:
                w = w.translate(ASCII)
            words.append(w)
            length += len(w) + 1
        line = " ".join(words)[:line_length]
        lines.append(line)
        made += len(line) + 2
    return lines


def encode_exactly(lines, encoding, mark, newline):
    """The lines in the encoding, cut or padded with spaces to exactly 1 MiB, ending on a whole character."""
    unit = 2 if encoding == "utf-16-le" else 1
    data = bytearray(mark)
    for line in lines:
        chunk = (line + newline).encode(encoding)
        if len(data) + len(chunk) > MIB:
            break
        data += chunk
    data += " ".encode(encoding) * ((MIB - len(data)) // unit)
    assert len(data) == MIB
    return bytes(data)


def large(folder):
    kinds = [("ascii", "ascii", b""), ("ansi-1252", "cp1252", b""), ("utf8", "utf-8", b""),
             ("utf8-mark", "utf-8", b"\xef\xbb\xbf"), ("utf16le-mark", "utf-16-le", b"\xff\xfe")]
    rng = random.Random(7)
    index, n = [], 0
    for name, encoding, mark in kinds:
        for lines_name, line_length in (("short", 40), ("long", 64 * 1024)):
            for newline_name, newline in (("crlf", "\r\n"), ("lf", "\n")):
                n += 1
                lines = text_lines(rng, line_length, MIB, name == "ascii")
                data = encode_exactly(lines, encoding, mark, newline)
                with open(os.path.join(folder, "Merkzeile%02d.txt" % n), "wb") as f:
                    f.write(data)
                index.append("%02d-%s-%s-%s" % (n, name, lines_name, newline_name))
    with open(os.path.join(folder, "index.txt"), "w") as f:
        f.write("\n".join(index) + "\n")


def small(folder):
    rng = random.Random(11)
    for n in range(1, 21):
        lines = text_lines(rng, 50, 50 * (1 + n % 4), True)
        with open(os.path.join(folder, "Merkzeile%02d.txt" % n), "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode("ascii"))


if __name__ == "__main__":
    kind, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    {"large": large, "small": small}[kind](folder)
