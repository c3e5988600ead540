#!/usr/bin/env python3
"""Draws the editor cursors and the status bar icon as PNG files, and writes
their resource description. Run by hand from the repository root:

    python3 tools/cursorgen/make_cursors.py draw/cursors

Every cursor is 32 x 32 with its hot spot at (15, 15). A cursor with a
target mark shows a ring and short cross lines about the hot spot; the
"_NO_TARGET" twin, used while the view draws full crosshair lines, shows
only the tool's label beside the hot spot. Labels are black with a white
outline, so that they read on any background."""
import os
import struct
import sys
import zlib

SIZE = 32
HOT = 15

FONT = {
    'A': ["010", "101", "111", "101", "101"], 'B': ["110", "101", "110", "101", "110"],
    'C': ["011", "100", "100", "100", "011"], 'D': ["110", "101", "101", "101", "110"],
    'E': ["111", "100", "110", "100", "111"], 'F': ["111", "100", "110", "100", "100"],
    'G': ["011", "100", "101", "101", "011"], 'H': ["101", "101", "111", "101", "101"],
    'I': ["111", "010", "010", "010", "111"], 'J': ["001", "001", "001", "101", "010"],
    'K': ["101", "101", "110", "101", "101"], 'M': ["10001", "11011", "10101", "10001", "10001"],
    'N': ["1001", "1101", "1011", "1001", "1001"], 'O': ["010", "101", "101", "101", "010"],
    'P': ["110", "101", "110", "100", "100"], 'R': ["110", "101", "110", "101", "101"],
    'S': ["011", "100", "010", "001", "110"], 'T': ["111", "010", "010", "010", "010"],
    'U': ["101", "101", "101", "101", "111"], 'W': ["10001", "10001", "10101", "11011", "10001"],
    'X': ["101", "101", "010", "101", "101"], 'Z': ["111", "001", "010", "100", "111"],
    '+': ["000", "010", "111", "010", "000"], '-': ["000", "000", "111", "000", "000"],
}

# Cursor name (after "CURSOR_") -> label; None marks a drawn symbol.
LABELLED = {
    "A": "A", "C": "C", "E": "E", "EDIT_ADD_POINT": "+P", "F": "F", "INSERT": "I", "T": "T", "M": "M",
    "N": "N", "P": "P", "R": "R", "DELETE": "X", "DRC": "DRC", "U": "U", "J": "J", "B": "B",
    "CENTROID": "CT", "H": "H", "SPIRAL": "SP", "W": "W", "D": "D", "+N": "+N", "-N": "-N", "SA": "SA",
    "PA": "PA", "GN": "GN", "PS": "PS", "PZ": "PZ", "PR": "PR", "MM": "MM", "RADIUS": "RAD",
}
# Cursors that look the same with either style.
SINGLE = {"NO": None, "ORIGIN": "O", "PAN": "PAN", "ZOOM_IN": "+", "ZOOM_OUT": "-", "PAD_CENTRE": "PC"}


class Image:
    def __init__(self, size=SIZE):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]
        self.ink = [[0] * size for _ in range(size)]

    def mark(self, x, y):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.ink[y][x] = 1

    def line(self, x0, y0, x1, y1):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.mark(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n))

    def ring(self, cx, cy, r):
        for y in range(self.size):
            for x in range(self.size):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if abs(d - r) < 0.5:
                    self.mark(x, y)

    def text(self, x, y, label):
        for ch in label:
            glyph = FONT[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == "1":
                        self.mark(x + gx, y + gy)
            x += len(glyph[0]) + 1

    def finish(self):
        """Black ink with a one-pixel white outline around it."""
        for y in range(self.size):
            for x in range(self.size):
                if self.ink[y][x]:
                    self.px[y][x] = (0, 0, 0, 255)
                    continue
                near = any(self.ink[y + dy][x + dx] for dy in (-1, 0, 1) for dx in (-1, 0, 1)
                           if 0 <= x + dx < self.size and 0 <= y + dy < self.size)
                if near:
                    self.px[y][x] = (255, 255, 255, 255)

    def png(self):
        raw = b"".join(b"\0" + b"".join(struct.pack("BBBB", *p) for p in row) for row in self.px)

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def target(img):
    img.ring(HOT, HOT, 4)
    img.line(HOT - 9, HOT, HOT - 6, HOT)
    img.line(HOT + 6, HOT, HOT + 9, HOT)
    img.line(HOT, HOT - 9, HOT, HOT - 6)
    img.line(HOT, HOT + 6, HOT, HOT + 9)


def label(img, text):
    img.text(HOT + 4, HOT + 5, text)


def special(name):
    img = Image()
    if name == "NO":
        img.ring(HOT, HOT, 7)
        img.line(HOT - 5, HOT + 5, HOT + 5, HOT - 5)
    elif name in ("ZOOM_IN", "ZOOM_OUT"):
        img.ring(HOT - 2, HOT - 2, 6)
        img.line(HOT + 2, HOT + 2, HOT + 8, HOT + 8)
        img.line(HOT - 5, HOT - 2, HOT + 1, HOT - 2)
        if name == "ZOOM_IN":
            img.line(HOT - 2, HOT - 5, HOT - 2, HOT + 1)
    elif name == "PAN":
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            img.line(HOT, HOT, HOT + 8 * dx, HOT + 8 * dy)
            img.line(HOT + 8 * dx, HOT + 8 * dy, HOT + 6 * dx + 2 * dy, HOT + 6 * dy + 2 * dx)
            img.line(HOT + 8 * dx, HOT + 8 * dy, HOT + 6 * dx - 2 * dy, HOT + 6 * dy - 2 * dx)
    else:
        target(img)
        label(img, SINGLE[name])
    img.finish()
    return img


def main(folder):
    os.makedirs(folder, exist_ok=True)
    lines = ["# Generated by tools/cursorgen/make_cursors.py; run it again instead of editing.",
             "# The editor cursors (hot spot at the centre) and the status bar icon."]

    def write(name, img, kind="CURSOR"):
        file = name.lower().replace("+", "plus").replace("-", "minus") + ".png"
        with open(os.path.join(folder, file), "wb") as f:
            f.write(img.png())
        lines.append(f"CURSOR {name} {file} {HOT} {HOT}" if kind == "CURSOR" else f"ICON {name} {file}")

    for key, text in LABELLED.items():
        with_target = Image()
        target(with_target)
        label(with_target, text)
        with_target.finish()
        write("CURSOR_" + key, with_target)
        plain = Image()
        label(plain, text)
        plain.finish()
        write("CURSOR_" + key + "_NO_TARGET", plain)
    for key in SINGLE:
        write("CURSOR_" + key, special(key))
    cross = Image()
    cross.line(0, HOT, SIZE - 1, HOT)
    cross.line(HOT, 0, HOT, SIZE - 1)
    cross.finish()
    write("CURSOR_CROSS", cross)
    icon = Image(16)
    icon.ring(7, 7, 5)
    icon.line(7, 0, 7, 14)
    icon.line(0, 7, 14, 7)
    icon.finish()
    write("191", icon, "ICON")
    with open(os.path.join(folder, "cursors.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "draw/cursors")
