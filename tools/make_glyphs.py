#!/usr/bin/env python3
"""Writes the drive and folder glyphs of the file controls as XPM files.

The artwork is drawn here as character grids so that it can be reviewed and
changed in a text editor; run this script after editing to refresh
resources/glyphs/.
"""
import os
import sys

PALETTE = {
    ".": "None",
    "k": "#000000",
    "g": "#808080",
    "l": "#C0C0C0",
    "w": "#FFFFFF",
    "y": "#FFFF00",
    "o": "#C0A000",
    "r": "#FF0000",
    "n": "#00A000",
    "b": "#0000C0",
    "c": "#00C0C0",
}

GLYPHS = {
    # 16 x 11 drive glyphs
    "FLOPPY": [
        "..kkkkkkkkkkkk..",
        "..kgwwwwwwwwgk..",
        "..kgwwwwwwwwgk..",
        "..kgwkkkkkkwgk..",
        "..kggggggggggk..",
        "..kggggggggggk..",
        "..kgglllllgggk..",
        "..kgglkkllgggk..",
        "..kgglkkllgggk..",
        "..kgglllllgggk..",
        "..kkkkkkkkkkkk..",
    ],
    "HARD": [
        "................",
        "................",
        "..kkkkkkkkkkkk..",
        ".kwwwwwwwwwwwgk.",
        ".kwllllllllllgk.",
        ".kwllllllllnlgk.",
        ".kwllllllllllgk.",
        ".kgggggggggggkk.",
        "..kkkkkkkkkkkk..",
        "................",
        "................",
    ],
    "NETWORK": [
        "....kkkkkkkk....",
        "....kbbbbbbk....",
        "....kbccccbk....",
        "....kbbbbbbk....",
        "....kkkkkkkk....",
        ".......kk.......",
        ".......kk.......",
        "kkkkkkkkkkkkkkkk",
        "..kkkkkkkkkkkk..",
        "..kwllllllllgk..",
        "..kkkkkkkkkkkk..",
    ],
    "CDROM": [
        "......kkkk......",
        "....kkwwllkk....",
        "...kwwwwllllk...",
        "..kwwwwwllllgk..",
        "..kwwwkkkkllgk..",
        "..klllk..kllgk..",
        "..kllllkkllggk..",
        "..kllllllgggk...",
        "...kllllgggk....",
        "....kkggkkk.....",
        "......kkk.......",
    ],
    "RAM": [
        "................",
        "..k.k.k.k.k.k...",
        ".kkkkkkkkkkkkkk.",
        ".knnnnnnnnnnnnk.",
        ".knkkknkkknkkkk.",
        ".knkkknkkknkkkk.",
        ".knnnnnnnnnnnnk.",
        ".kkkkkkkkkkkkkk.",
        "..o.o.o.o.o.o...",
        "..o.o.o.o.o.o...",
        "................",
    ],
    # 16 x 15 folder glyphs
    "CLOSEDFOLDER": [
        "................",
        "................",
        "................",
        "..kkkkk.........",
        ".kyyyyyk........",
        "kyyyyyyykkkkkkk.",
        "kwwwwwwwwwwwwwk.",
        "kwyyyyyyyyyyyok.",
        "kwyyyyyyyyyyyok.",
        "kwyyyyyyyyyyyok.",
        "kwyyyyyyyyyyyok.",
        "kwyyyyyyyyyyyok.",
        "kooooooooooooook",
        "kkkkkkkkkkkkkkk.",
        "................",
    ],
    "OPENFOLDER": [
        "................",
        "................",
        "................",
        "..kkkkk.........",
        ".kwwwwwk........",
        "kwyyyyyykkkkkk..",
        "kwyyyyyyyyyyyk..",
        "kwyykkkkkkkkkkkk",
        "kwykyyyyyyyyyyk.",
        "kwkyyyyyyyyyyk..",
        "kwkyyyyyyyyyyk..",
        "kkyyyyyyyyyyk...",
        "kkyyyyyyyyyyk...",
        "kkkkkkkkkkkk....",
        "................",
    ],
    "CURRENTFOLDER": [
        "................",
        "................",
        "................",
        "..kkkkk.........",
        ".kwwwwwk........",
        "kwyyyyyykkkkkk..",
        "kwyyyyyyyyyyyk..",
        "kwyykkkkkkkkkkkk",
        "kwykwwwwwwwwwwk.",
        "kwkwwkkkkkkwwk..",
        "kwkwwwwwwwwwwk..",
        "kkwwkkkkkkwwk...",
        "kkwwwwwwwwwwk...",
        "kkkkkkkkkkkk....",
        "................",
    ],
}

SIZES = {"FLOPPY": (16, 11), "HARD": (16, 11), "NETWORK": (16, 11), "CDROM": (16, 11),
         "RAM": (16, 11), "CLOSEDFOLDER": (16, 15), "OPENFOLDER": (16, 15),
         "CURRENTFOLDER": (16, 15)}


def write_xpm(path, name, rows):
    used = sorted({ch for row in rows for ch in row})
    lines = [f'"{len(rows[0])} {len(rows)} {len(used)} 1",']
    lines += [f'"{ch} c {PALETTE[ch]}",' for ch in used]
    lines += [f'"{row}",' for row in rows]
    lines[-1] = lines[-1].rstrip(",")
    ident = name.lower()
    with open(path, "w", encoding="ascii") as f:
        f.write("/* XPM */\n")
        f.write(f"static const char *{ident}[] = {{\n")
        f.write("\n".join(lines))
        f.write("\n};\n")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "resources", "glyphs")
    os.makedirs(out, exist_ok=True)
    for name, rows in GLYPHS.items():
        w, h = SIZES[name]
        assert len(rows) == h and all(len(r) == w for r in rows), name
        write_xpm(os.path.join(out, name + ".xpm"), name, rows)


if __name__ == "__main__":
    main()
