#!/usr/bin/python3
"""Draws the counting game's material piles and writes their image lists into its manifest.

Usage: make_counting_art.py <art folder> <data folder>

Each material variant gets a count list of MAX_ITEMS frames (frame n - 1 shows n items heaped in rows
of 4, 3, 2 and 1) and a roll-over list per family (the same heaps in a light outline). The drawings are
our own (art/own/counting_*.svg), recoloured per variant.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import document, inner, read, recolour, render, write  # noqa: E402

MAX_ITEMS = 10
WIDTH, HEIGHT = 120, 90
ROWS = (4, 3, 2, 1)

# family: (drawing, its main and dark colours, item box width and height)
FAMILIES = {
    "Logs": ("counting_log.svg", ("#b5532f", "#7a2f17"), 28, 12),
    "Cones": ("counting_cone.svg", ("#f07a1a", "#a4480a"), 24, 26),
    "Cement": ("counting_cement.svg", ("#4a7fd0", "#274f8e"), 28, 19),
    "Bricks": ("counting_bricks.svg", ("#c8452f", "#8e2a1b"), 28, 14),
    "Plant": ("counting_plant.svg", None, 24, 28),
}
# The variants in the order of the game's material table; their list names are the game's.
VARIANTS = (
    ("Materials-Plant", "Plant", None),
    ("Materials-Logs-Red", "Logs", ("#c0392b", "#7b1f16")),
    ("Materials-Logs-Brown", "Logs", ("#8d5a2b", "#5a3716")),
    ("Materials-Logs-Yellow", "Logs", ("#e9b824", "#9a7410")),
    ("Materials-Cones-Orange", "Cones", ("#f07a1a", "#a4480a")),
    ("Materials-Cones-Red", "Cones", ("#d83a2e", "#8a1d16")),
    ("Materials-Cones-Yellow", "Cones", ("#f2c21b", "#9c7a08")),
    ("Materials-Cement-Blue", "Cement", ("#4a7fd0", "#274f8e")),
    ("Materials-Cement-Gray", "Cement", ("#8f969c", "#565c61")),
    ("Materials-Cement-Red", "Cement", ("#c9473b", "#84251d")),
    ("Materials-Bricks-Red", "Bricks", ("#c8452f", "#8e2a1b")),
    ("Materials-Bricks-Gray", "Bricks", ("#8a8f94", "#55595d")),
    ("Materials-Bricks-Blue", "Bricks", ("#4f73c4", "#2c4a8a")),
)


def heap(item, n, w, h):
    """n items in rows of 4, 3, 2, 1 from the bottom, each row centred and half an item higher."""
    body, vw, vh = inner(item)
    parts = []
    left = n
    for row, capacity in enumerate(ROWS):
        count = min(left, capacity)
        left -= count
        x0 = (WIDTH - count * w) / 2
        y = HEIGHT - 4 - h - row * h * 0.8
        for i in range(count):
            parts.append('<g transform="translate(%g %g) scale(%g %g)">%s</g>'
                         % (x0 + i * w, y, w / vw, h / vh, body))
    return "".join(parts)


def outline(svg):
    """The drawing as a light roll-over glow: every fill and stroke becomes a pale yellow."""
    return re.sub(r'(fill|stroke)="#[0-9a-fA-F]{6}"', r'\1="#fff3a0"', svg)


def main():
    art, data = sys.argv[1], sys.argv[2]
    folder = os.path.join(data, "counting")
    lists = []
    rollovers = {}
    for name, family, colours in VARIANTS:
        drawing, base, w, h = FAMILIES[family]
        item = read(os.path.join(art, "own", drawing))
        if colours:
            item = recolour(item, dict(zip(base, colours)))
        for n in range(1, MAX_ITEMS + 1):
            render(document(WIDTH, HEIGHT, heap(item, n, w, h)), WIDTH, HEIGHT,
                   os.path.join(folder, "%s_%d.png" % (name, n - 1)))
        lists.append(name)
        rollover = "Materials-%s-Rollover" % family
        if rollover not in rollovers:
            rollovers[rollover] = True
            for n in range(1, MAX_ITEMS + 1):
                render(document(WIDTH, HEIGHT, heap(outline(item), n, w, h)), WIDTH, HEIGHT,
                       os.path.join(folder, "%s_%d.png" % (rollover, n - 1)))
            lists.append(rollover)

    manifest = os.path.join(data, "CountTheMaterialsMode.xml")
    text = read(manifest)
    block = "".join('  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="%d"/>\n'
                    % (name, name, MAX_ITEMS - 1) for name in lists)
    begin, end = "  <!-- Pile pictures: made by tools/content/make_counting_art.py. -->\n", "  <!-- End of pile pictures. -->\n"
    if begin in text:
        text = text[:text.index(begin)] + begin + block + text[text.index(end):]
    else:
        text = text.replace("<manifest>\n", "<manifest>\n" + begin + block + end, 1)
    write(manifest, text)


if __name__ == "__main__":
    main()
