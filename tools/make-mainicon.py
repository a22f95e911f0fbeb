#!/usr/bin/env python3
"""Draws the program's icon: a gilt picture frame around a portrait, 32 x 32,
256 colours, written as a one-image .ico file (resources/MAINICON.ico)."""
import struct
import sys

W = H = 32
# name -> (r, g, b); index order is the palette order
COLOURS = [
    ("clear", (0, 0, 0)),
    ("gold_dark", (122, 84, 18)),
    ("gold", (196, 150, 44)),
    ("gold_light", (246, 214, 110)),
    ("gold_mid", (160, 116, 30)),
    ("bg", (38, 70, 62)),
    ("bg_dark", (26, 48, 44)),
    ("skin", (236, 190, 150)),
    ("skin_shade", (200, 148, 112)),
    ("hair", (86, 50, 24)),
    ("coat", (40, 40, 88)),
    ("collar", (236, 236, 228)),
    ("eye", (30, 24, 20)),
    ("lips", (176, 70, 70)),
]
INDEX = {name: i for i, (name, _) in enumerate(COLOURS)}


def draw():
    px = [[INDEX["bg"]] * W for _ in range(H)]
    # portrait background: darker towards the corners
    for y in range(H):
        for x in range(W):
            if (x - 16) ** 2 + (y - 14) ** 2 > 150:
                px[y][x] = INDEX["bg_dark"]
    # shoulders and coat
    for y in range(21, 28):
        for x in range(W):
            if abs(x - 16) <= (y - 21) + 6:
                px[y][x] = INDEX["coat"]
    for y in range(21, 24):
        for x in range(14, 19):
            px[y][x] = INDEX["collar"]
    # hair behind the face
    for y in range(7, 20):
        for x in range(W):
            if ((x - 16) / 6.0) ** 2 + ((y - 13) / 7.0) ** 2 <= 1.0:
                px[y][x] = INDEX["hair"]
    # face
    for y in range(9, 21):
        for x in range(W):
            if ((x - 16) / 4.6) ** 2 + ((y - 15) / 5.8) ** 2 <= 1.0:
                px[y][x] = INDEX["skin_shade"] if x >= 19 else INDEX["skin"]
    px[14][14] = px[14][18] = INDEX["eye"]
    px[18][15] = px[18][16] = px[18][17] = INDEX["lips"]
    # the gilt frame: 4 pixels, light on top/left, dark on bottom/right
    for y in range(H):
        for x in range(W):
            d = min(x, y, W - 1 - x, H - 1 - y)
            if d >= 4:
                continue
            if d == 0:
                c = "gold_dark"
            elif d == 3:
                c = "gold_mid"
            elif x <= y and x + y < W - 1 or y < x and x + y < W - 1:
                c = "gold_light" if d == 1 else "gold"
            else:
                c = "gold" if d == 1 else "gold_mid"
            px[y][x] = INDEX[c]
    # corner ornaments
    for cx, cy in ((1, 1), (W - 3, 1), (1, H - 3), (W - 3, H - 3)):
        for dy in range(2):
            for dx in range(2):
                px[cy + dy][cx + dx] = INDEX["gold_light"]
    return px


def ico_bytes(px):
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in COLOURS)
    palette += b"\0" * (4 * (256 - len(COLOURS)))
    xor = b"".join(bytes(px[y]) for y in range(H - 1, -1, -1))  # bottom-up, 32 bytes/row
    and_mask = b"\0" * (4 * H)  # fully opaque; rows of 32 bits
    header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 8, 0, len(xor) + len(and_mask), 0, 0, 256, 0)
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", W, H, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/MAINICON.ico"
    with open(out, "wb") as f:
        f.write(ico_bytes(draw()))
