#!/usr/bin/python3
"""Draws the counting game's pictures and writes their resources into its manifest.

Usage: make_counting_art.py [--manifests-only] <art folder> <data folder>

Each material variant gets a count list of MAX_ITEMS frames (frame n - 1 shows n items heaped in rows
of 4, 3, 2 and 1) (the digger lifts and tips the pile as drawn, so a load always shows its count); each family gets a roll-over list (a pale halo
around the same heaps, drawn under them). The machines, the request box and the backdrop are our own
drawings too (art/own/ctm_*.svg); the machines' frames turn their wheels and bob their bodies.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import arguments, document, inner, read, recolour, render, write  # noqa: E402

MAX_ITEMS = 10
# Piles are drawn as large as the playfield's five places allow, so a small child can count them; the
# shovel and the cart hold a pile's own canvas on its base line. A heap of ten is four items wide and
# 3.4 items high (rows of 4, 3, 2, 1, each 0.8 of an item above the last), so each family's item box is
# the largest whose heap fits the canvas.
WIDTH, HEIGHT = 200, 150
BASE = HEIGHT - 4
# The least press area under a heap's middle: wider and taller than a finger.
PAD = (64, 56)
ROWS = (4, 3, 2, 1)

# family: (drawing, its main and dark colours, item box width and height)
FAMILIES = {
    "Logs": ("counting_log.svg", ("#b5532f", "#7a2f17"), 47, 20),
    "Cones": ("counting_cone.svg", ("#f07a1a", "#a4480a"), 40, 43),
    "Cement": ("counting_cement.svg", ("#4a7fd0", "#274f8e"), 47, 32),
    "Bricks": ("counting_bricks.svg", ("#c8452f", "#8e2a1b"), 47, 24),
    "Plant": ("counting_plant.svg", None, 37, 43),
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


def heap(item, n, w, h, width=WIDTH, base=BASE):
    """n items in rows of 4, 3, 2, 1 from the bottom, each row centred and half an item higher."""
    body, vw, vh = inner(item)
    parts = []
    left = n
    for row, capacity in enumerate(ROWS):
        count = min(left, capacity)
        left -= count
        x0 = (width - count * w) / 2
        y = base - h - row * h * 0.8
        for i in range(count):
            parts.append('<g transform="translate(%g %g) scale(%g %g)">%s</g>'
                         % (x0 + i * w, y, w / vw, h / vh, body))
    return "".join(parts)


# The request box shows one item of the material as large as the box's picture place allows.
REQUEST_ITEM = (120, 96)


def request_item(item, w, h):
    """One item scaled by its own proportions to fill the request box's picture place, centred."""
    cw, ch = REQUEST_ITEM
    scale = min((cw - 8) / w, (ch - 8) / h)
    return ('<g transform="translate(%g %g) scale(%g)">%s</g>'
            % ((cw - w * scale) / 2, (ch - h * scale) / 2, scale, heap(item, 1, w, h, w, h)))


def with_apron(body):
    """The heap over an all but invisible margin a few pixels round its items: piles overlap on the
    playfield, so a pile takes a press only where its picture is opaque enough, and the margin keeps the
    gaps between items and their edges inside it for a small child's aim. Under the heap's middle the
    margin is at least a finger's size (PAD), so even a lone flat brick is a target a small hand hits."""
    pad = '<rect x="%g" y="%g" width="%d" height="%d" rx="12"/>' % ((WIDTH - PAD[0]) / 2, BASE + 3 - PAD[1], PAD[0], PAD[1])
    return ('<filter id="apron" filterUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
            '<feMorphology in="SourceAlpha" operator="dilate" radius="7" result="wide"/>'
            '<feFlood flood-color="#000000" flood-opacity="0.02"/><feComposite in2="wide" operator="in"/>'
            '</filter><g filter="url(#apron)">%s%s</g>%s' % (WIDTH, HEIGHT, pad, body, body))


def halo():
    """A pale glow a few pixels wider than the drawing's silhouette, to lie under the count picture."""
    return ('<filter id="halo" filterUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
            '<feMorphology in="SourceAlpha" operator="dilate" radius="5" result="wide"/>'
            '<feGaussianBlur in="wide" stdDeviation="1" result="soft"/>'
            '<feFlood flood-color="#fff3a0"/><feComposite in2="soft" operator="in"/>'
            '</filter>' % (WIDTH, HEIGHT))


def placed(svg, x, y, scale=1.0, turn=0.0):
    """A standalone drawing placed at (x, y) and scaled, optionally turned about its centre."""
    body, vw, vh = inner(svg)
    if turn:
        body = '<g transform="rotate(%g %g %g)">%s</g>' % (turn, vw / 2, vh / 2, body)
    return '<g transform="translate(%g %g) scale(%g)">%s</g>' % (x, y, scale, body)


def mirrored(body, width):
    """The drawing flipped left to right on a canvas `width` wide."""
    return '<g transform="translate(%d 0) scale(-1 1)">%s</g>' % (width, body)


TIPPER_SIZE = (260, 170)
TIPPER_BG_SIZE = (110, 72)
DIGGER_SIZE = (240, 170)
# Wheel centres (x) and radius: the wheels' bottoms touch y 169.
TIPPER_WHEELS = ((60, 24), (170, 24), (222, 24))
DIGGER_WHEELS = ((52, 27), (148, 27))
# (wheel turn in degrees, body lift in pixels) for idle and the two driving frames. The hub's five
# bolts repeat every 72 degrees, so half of that reads as turning.
POSES = ((0, 0), (0, 0), (36, 2))


def machine(body, wheel, wheels, turn, lift):
    """A body over its wheels; the body rises by `lift` while the wheels stay on the ground."""
    parts = ['<g transform="translate(0 %d)">%s</g>' % (-lift, inner(body)[0])]
    for cx, r in wheels:
        parts.append(placed(wheel, cx - r, 169 - 2 * r, r / 24.0, turn))
    return "".join(parts)


def hazy(body, w, h):
    """Far away: the drawing washed towards the sky's colour."""
    return ('<filter id="haze" filterUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
            '<feColorMatrix type="matrix" values="0.8 0 0 0 0.17  0 0.8 0 0 0.19  0 0 0.8 0 0.2  0 0 0 1 0"/>'
            '</filter><g filter="url(#haze)">%s</g>' % (w, h, body))


def make_machines(art, folder):
    """The tipper (near and far), the digger's body and its shovel layer, frame by frame."""
    def own(name):
        return read(os.path.join(art, "own", name))

    wheel = own("ctm_wheel.svg")
    tipper = own("ctm_tipper.svg")
    frames = [machine(tipper, wheel, TIPPER_WHEELS, turn, lift) for turn, lift in POSES]
    w, h = TIPPER_SIZE
    for i, body in enumerate(frames):
        render(document(w, h, body), w, h, os.path.join(folder, "CTM_TipperFrames_%d.png" % i))
    bw, bh = TIPPER_BG_SIZE
    for i, body in enumerate(frames[1:]):
        small = '<g transform="scale(%g)">%s</g>' % (bw / w, mirrored(body, w))
        render(document(bw, bh, hazy(small, bw, bh)), bw, bh,
               os.path.join(folder, "CTM_TipperBGFrames_%d.png" % i))

    digger = own("ctm_digger.svg")
    w, h = DIGGER_SIZE
    frames = [machine(digger, wheel, DIGGER_WHEELS, turn, lift) for turn, lift in POSES]
    frames += [mirrored(body, w) for body in frames[1:]]
    for i, body in enumerate(frames):
        render(document(w, h, body), w, h, os.path.join(folder, "CTM_DiggerFrames_%d.png" % i))
    down, up = inner(own("ctm_shovel_down.svg"))[0], inner(own("ctm_shovel_up.svg"))[0]
    for i, body in enumerate((down, up, mirrored(up, w))):
        render(document(w, h, body), w, h, os.path.join(folder, "CTM_ShovelFrames_%d.png" % i))


def make_scenery(art, folder):
    """The backdrop and the request box."""
    backdrop = read(os.path.join(art, "own", "ctm_backdrop.svg"))
    # A giraffe looks over the far zoo's fence.
    giraffe = placed(read(os.path.join(art, "fluent", "giraffe.svg")), 586, 100, 40 / 32.0)
    backdrop = backdrop.replace('<g id="zoo"/>', giraffe)
    render(backdrop, 800, 600, os.path.join(folder, "CTM_Backdrop.png"))
    render(read(os.path.join(art, "own", "ctm_request_box.svg")), 200, 120,
           os.path.join(folder, "CTM_RequestBox.png"))


MANIFEST_EXTRAS = """\
  <image name="CTM_Backdrop" src="CTM_Backdrop"/>
  <image name="CTM_RequestBox" src="CTM_RequestBox"/>
  <imagelist name="CTM_RequestItems" pattern="CTM_RequestItems_%%1%%" first="0" last="%d"/>
  <imagelist name="CTM_TipperFrames" pattern="CTM_TipperFrames_%%1%%" first="0" last="2"/>
  <imagelist name="CTM_TipperBGFrames" pattern="CTM_TipperBGFrames_%%1%%" first="0" last="1"/>
  <imagelist name="CTM_DiggerFrames" pattern="CTM_DiggerFrames_%%1%%" first="0" last="4"/>
  <imagelist name="CTM_ShovelFrames" pattern="CTM_ShovelFrames_%%1%%" first="0" last="2"/>
  <spritetype name="CTM_Tipper" images="CTM_TipperFrames">
    <animation name="Idle-Left" frameList="0" fps="1" numPlays="0"/>
    <animation name="Drive-Left" frameList="1,2" fps="8" numPlays="0"/>
  </spritetype>
  <spritetype name="CTM_TipperBG" images="CTM_TipperBGFrames">
    <animation name="Drive-Right" frameList="0,1" fps="8" numPlays="0"/>
  </spritetype>
  <spritetype name="CTM_Digger" images="CTM_DiggerFrames">
    <animation name="Idle-Right" frameList="0" fps="1" numPlays="0"/>
    <animation name="Drive-Right-Down" frameList="1,2" fps="8" numPlays="0"/>
    <animation name="Drive-Right-Up" frameList="1,2" fps="8" numPlays="0"/>
    <animation name="Drive-Left-Up" frameList="3,4" fps="8" numPlays="0"/>
    <animation name="Drive-Right-Down-Reverse" frameList="2,1" fps="8" numPlays="0"/>
  </spritetype>
  <spritetype name="CTM_Shovel" images="CTM_ShovelFrames">
    <animation name="Drive-Right-Down" frameList="0" fps="1" numPlays="0"/>
    <animation name="Drive-Right-Up" frameList="1" fps="1" numPlays="0"/>
    <animation name="Drive-Left-Up" frameList="2" fps="1" numPlays="0"/>
  </spritetype>
"""


def main():
    art, data = arguments(__doc__, 2)
    folder = os.path.join(data, "counting")
    lists = []
    rollovers = {}
    for index, (name, family, colours) in enumerate(VARIANTS):
        drawing, base, w, h = FAMILIES[family]
        item = read(os.path.join(art, "own", drawing))
        if colours:
            item = recolour(item, dict(zip(base, colours)))
        render(document(REQUEST_ITEM[0], REQUEST_ITEM[1], request_item(item, w, h)), REQUEST_ITEM[0], REQUEST_ITEM[1],
               os.path.join(folder, "CTM_RequestItems_%d.png" % index))
        for n in range(1, MAX_ITEMS + 1):
            render(document(WIDTH, HEIGHT, with_apron(heap(item, n, w, h))), WIDTH, HEIGHT,
                   os.path.join(folder, "%s_%d.png" % (name, n - 1)))
        lists.append(name)
        rollover = "Materials-%s-Rollover" % family
        if rollover not in rollovers:
            rollovers[rollover] = True
            for n in range(1, MAX_ITEMS + 1):
                glow = halo() + '<g filter="url(#halo)">%s</g>' % heap(item, n, w, h)
                render(document(WIDTH, HEIGHT, glow), WIDTH, HEIGHT,
                       os.path.join(folder, "%s_%d.png" % (rollover, n - 1)))
            lists.append(rollover)
    make_machines(art, folder)
    make_scenery(art, folder)

    manifest = os.path.join(data, "CountTheMaterialsMode.xml")
    text = read(manifest)
    block = "".join('  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="%d"/>\n'
                    % (name, name, MAX_ITEMS - 1) for name in lists)
    block += MANIFEST_EXTRAS % (len(VARIANTS) - 1)
    begin = "  <!-- Counting game pictures: made by tools/content/make_counting_art.py. -->\n"
    end = "  <!-- End of counting game pictures. -->\n"
    if begin in text:
        text = text[:text.index(begin)] + begin + block + text[text.index(end):]
    else:
        text = text.replace("<manifest>\n", "<manifest>\n" + begin + block + end, 1)
    write(manifest, text)


if __name__ == "__main__":
    main()
