#!/usr/bin/python3
"""Draws the street-signs game's pictures and writes its whole manifest: pictures, layouts, the sign and
truck sprite types, the sign spacing and the levels.

Usage: make_street_signs_art.py [--manifests-only] <art folder> <data folder>

Signs of five colours and five shapes stand on their posts along the pavement; the crew's flatbed truck
parks on the road below and the signs are lifted onto its bed. The signs and the truck are simple
shapes drawn here in the flat style of the Fluent Emoji; the backdrop too.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, render, write  # noqa: E402

# In the game's table orders (kStreetSignColorNames, kStreetSignShapeNames): (fill, edge).
COLOURS = (("Red", "#e0302a", "#8f1a15"), ("Green", "#2fa84f", "#1b6b30"), ("Blue", "#2f6fe0", "#1b438f"),
           ("Orange", "#f58a1f", "#a4520a"), ("Yellow", "#f7d21b", "#9c7a08"))
SHAPES = ("Rectangle", "Square", "Octagon", "Triangle", "Circle")
# A sign: the plate in the top SIGN_W square, the post down to the canvas's bottom, where it stands.
SIGN_W, SIGN_H = 100, 160
SPACING = 140
GLOW_EDGE = 16
# The row's middle and the top of the signs standing on the pavement.
ROW_X, ROW_Y = 400, 128
PAVEMENT_Y = ROW_Y + SIGN_H
# The truck faces right; its wooden bed's top is BED_Y below the canvas top; four bed slots a sign's
# width and a gap apart, so the signs in the bed stand side by side; the cab starts CAB_X along.
TRUCK_W, TRUCK_H = 560, 170
BED_Y = 100
BED_W = 416
BED_SLOTS = tuple(10 + (SIGN_W + 4) * k for k in range(4))
CAB_X = 60
TRUCK_X, TRUCK_Y = 100, 410
# The driver's speech bubble beside the cab, its tail pointing at the cab: what is asked for, a patch of
# the colour or the shape's outline (frames: the colours, then the shapes, in table order).
BUBBLE_W, BUBBLE_H = 130, 110
BUBBLE_X, BUBBLE_Y = 650, 360
ASK_SIZE = 76

# (name, difficulty, signs, asks): three levels a difficulty. Easy asks colours among three signs;
# Medium asks shapes, or colours and shapes, among four; Hard mixes both among five.
LEVELS = (
    ("StreetSigns_Easy_1", "Easy", 3, ("Color", "Color")),
    ("StreetSigns_Easy_2", "Easy", 3, ("Shape", "Shape")),
    ("StreetSigns_Easy_3", "Easy", 3, ("Color", "Shape")),
    ("StreetSigns_Medium_1", "Medium", 4, ("Shape", "Shape", "Shape")),
    ("StreetSigns_Medium_2", "Medium", 4, ("Color", "Shape", "Color")),
    ("StreetSigns_Medium_3", "Medium", 4, ("Shape", "Color", "Shape")),
    ("StreetSigns_Hard_1", "Hard", 5, ("Color", "Shape", "Color", "Shape")),
    ("StreetSigns_Hard_2", "Hard", 5, ("Shape", "Color", "Shape", "Color")),
    ("StreetSigns_Hard_3", "Hard", 5, ("Shape", "Shape", "Color", "Color")),
)


def plate(shape, **style):
    """The plate's outline as an SVG element with the given presentation attributes."""
    attrs = " ".join('%s="%s"' % (k.replace("_", "-"), v) for k, v in style.items())
    if shape == "Rectangle":
        return '<rect x="2" y="22" width="96" height="58" rx="8" %s/>' % attrs
    if shape == "Square":
        return '<rect x="7" y="7" width="86" height="86" rx="8" %s/>' % attrs
    if shape == "Circle":
        return '<circle cx="50" cy="50" r="46" %s/>' % attrs
    if shape == "Triangle":
        return '<path d="M50 5L96 88H4Z" stroke-linejoin="round" %s/>' % attrs
    points = " ".join("%.2f,%.2f" % (50 + 48 * math.cos(math.radians(22.5 + 45 * k)),
                                     50 + 48 * math.sin(math.radians(22.5 + 45 * k))) for k in range(8))
    return '<polygon points="%s" stroke-linejoin="round" %s/>' % (points, attrs)


def sign(shape, fill, edge):
    """A sign: its post, the plate with a dark edge, and a white ring inside the edge."""
    middle = (50, 60) if shape == "Triangle" else (50, 51) if shape == "Rectangle" else (50, 50)
    inset = 'transform="translate(%d %d) scale(0.8) translate(%d %d)"' % (middle + (-middle[0], -middle[1]))
    return ('<rect x="45" y="60" width="10" height="%d" fill="#8a8f96"/>'
            '<rect x="45" y="60" width="3" height="%d" fill="#b4b9bf"/>'
            '<rect x="41" y="%d" width="18" height="6" rx="2" fill="#5d6368"/>' % (SIGN_H - 60, SIGN_H - 60, SIGN_H - 6)
            + plate(shape, fill=fill, stroke=edge, stroke_width=4)
            + "<g %s>%s</g>" % (inset, plate(shape, fill="none", stroke="#ffffff", stroke_width=5)))


def glow():
    """A soft yellow halo around the plate, GLOW_EDGE wider than the sign on each side."""
    size = SIGN_W + 2 * GLOW_EDGE
    return document(size, size,
                    '<filter id="g"><feGaussianBlur stdDeviation="6"/></filter>'
                    '<circle cx="%g" cy="%g" r="%g" fill="#fff3a0" filter="url(#g)"/>'
                    % (size / 2, size / 2, size / 2 - 8))


def bubble():
    return document(BUBBLE_W, BUBBLE_H,
                    '<path d="M24 8h94q8 0 8 8v78q0 8-8 8H24q-8 0-8-8V72L2 86l14-36V16q0-8 8-8Z" fill="#ffffff" '
                    'stroke="#5b5f66" stroke-width="3" stroke-linejoin="round"/>')


def splat():
    """A paint splat: a blob with rounded lobes, so a colour is asked for without any of the shapes."""
    points = []
    for k in range(72):
        a = 2 * math.pi * k / 72
        r = 33 + 7 * math.sin(7 * a) + 3 * math.sin(3 * a + 1)
        points.append("%.1f %.1f" % (50 + r * math.cos(a), 52 + r * math.sin(a)))
    return "M" + "L".join(points) + "Z"


def ask_pictures():
    """What the bubble shows, on an ASK_SIZE square: a splat of each colour, then each shape's outline
    in white, so a shape is asked for without a colour."""
    pictures = ['<path d="%s" fill="%s" stroke="%s" stroke-width="3" stroke-linejoin="round"/>'
                '<circle cx="86" cy="22" r="6" fill="%s"/><circle cx="14" cy="84" r="5" fill="%s"/>'
                '<circle cx="88" cy="80" r="4" fill="%s"/>' % (splat(), fill, edge, fill, fill, fill)
                for _, fill, edge in COLOURS]
    pictures += [plate(shape, fill="#ffffff", stroke="#3b3f46", stroke_width=6) for shape in SHAPES]
    return [document(ASK_SIZE, ASK_SIZE, '<g transform="scale(%g)">%s</g>' % (ASK_SIZE / 100, body))
            for body in pictures]


def wheel(x, y):
    return ('<circle cx="%d" cy="%d" r="25" fill="#321b41"/><circle cx="%d" cy="%d" r="11" fill="#f4f4f4"/>'
            % (x, y, x, y))


def truck(bob):
    """The flatbed truck facing right: a long wooden bed, the cab at the front. `bob` lifts the body."""
    body = ('<g transform="translate(0 %d)">' % -bob +
            '<rect x="6" y="122" width="%d" height="14" rx="4" fill="#9b9b9b"/>' % (470 + CAB_X) +
            '<rect x="8" y="%d" width="%d" height="24" rx="3" fill="#a5673f"/>' % (BED_Y, BED_W) +
            "".join('<rect x="%d" y="%d" width="3" height="24" fill="#7d4a2b"/>' % (x, BED_Y)
                    for x in range(50, 8 + BED_W, 44)) +
            '<rect x="8" y="%d" width="%d" height="5" rx="2" fill="#c68a5a"/>' % (BED_Y, BED_W) +
            '<g transform="translate(%d 0)">' % CAB_X +
            '<path d="M366 136V44q0-24 24-24h46q14 0 20 12l22 44q6 12 6 26v34Z" fill="#00c26b"/>'
            '<path d="M394 40h38q8 0 12 7l16 31H394Z" fill="#00a6ed"/>'
            '<rect x="366" y="88" width="112" height="6" fill="#00a35a"/>'
            '<rect x="470" y="100" width="14" height="16" rx="3" fill="#fff478"/>'
            "</g>"
            '<rect x="2" y="104" width="10" height="14" rx="2" fill="#ca0b4a"/>'
            "</g>")
    return document(TRUCK_W, TRUCK_H, body + wheel(70, 142) + wheel(132, 142) + wheel(420 + CAB_X, 142))


def backdrop():
    """Sky, far hills and houses, the grass and pavement the signs stand on, the kerb and the road."""
    road = PAVEMENT_Y + 40
    parts = ['<rect width="800" height="600" fill="#bfe6ff"/>',
             '<circle cx="700" cy="70" r="36" fill="#ffd60a"/>',
             '<path d="M0 210Q160 150 330 190T640 175T800 185V600H0Z" fill="#a8d98a"/>']
    for x, w, h, roof in ((40, 90, 70, "#d83a2e"), (520, 80, 60, "#2f6fe0"), (610, 100, 80, "#f58a1f")):
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="#f2e6d0"/>' % (x, 215 - h, w, h))
        parts.append('<path d="M%d %dL%d %dL%d %dZ" fill="%s"/>'
                     % (x - 8, 215 - h, x + w / 2, 180 - h, x + w + 8, 215 - h, roof))
        parts.append('<rect x="%d" y="%d" width="18" height="26" fill="#8d5a2b"/>' % (x + w / 2 - 9, 189))
    parts.append('<rect y="215" width="800" height="%d" fill="#8fcf64"/>' % (PAVEMENT_Y - 215 - 22))
    parts.append('<rect y="%d" width="800" height="%d" fill="#d9d3c7"/>' % (PAVEMENT_Y - 22, 48))
    for x in range(0, 800, 60):
        parts.append('<rect x="%d" y="%d" width="2" height="48" fill="#c3bcae"/>' % (x, PAVEMENT_Y - 22))
    parts.append('<rect y="%d" width="800" height="14" fill="#a7a19a"/>' % (road - 14))
    parts.append('<rect y="%d" width="800" height="%d" fill="#5b5f66"/>' % (road, 600 - road))
    for x in range(10, 800, 90):
        parts.append('<rect x="%d" y="%d" width="50" height="8" rx="3" fill="#f4f4f4"/>' % (x, road + 44))
    return document(800, 600, "".join(parts))


def make_pictures(folder):
    render(backdrop(), 800, 600, os.path.join(folder, "SS_Backdrop.png"))
    render(glow(), SIGN_W + 2 * GLOW_EDGE, SIGN_W + 2 * GLOW_EDGE, os.path.join(folder, "SS_Glow.png"))
    for shape in SHAPES:
        for i, (_, fill, edge) in enumerate(COLOURS):
            render(document(SIGN_W, SIGN_H, sign(shape, fill, edge)), SIGN_W, SIGN_H,
                   os.path.join(folder, "SS_Sign%s_%d.png" % (shape, i)))
    for i, bob in enumerate((0, 0, 3)):
        render(truck(bob), TRUCK_W, TRUCK_H, os.path.join(folder, "SS_Truck_%d.png" % i))
    render(bubble(), BUBBLE_W, BUBBLE_H, os.path.join(folder, "SS_AskBubble.png"))
    for i, picture in enumerate(ask_pictures()):
        render(picture, ASK_SIZE, ASK_SIZE, os.path.join(folder, "SS_Ask_%d.png" % i))


def manifest():
    out = ['<?xml version="1.0"?>\n',
           "<!-- The street-signs game: pictures, layouts, the signs, the truck and the levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_street_signs_art.py). -->\n",
           "<manifest>\n",
           '  <image name="SS_Backdrop" src="SS_Backdrop"/>\n',
           '  <image name="SS_Glow" src="SS_Glow"/>\n',
           '  <float name="StreetSigns_SignSpacing" value="%d"/>\n' % SPACING,
           '  <imagelist name="SS_TruckFrames" pattern="SS_Truck_%1%" first="0" last="2"/>\n',
           '  <image name="SS_AskBubble" src="SS_AskBubble"/>\n',
           '  <imagelist name="StreetSigns_AskPictures" pattern="SS_Ask_%%1%%" first="0" last="%d"/>\n'
           % (len(COLOURS) + len(SHAPES) - 1)]
    # One sprite type per shape; its still animations are the colours.
    for shape in SHAPES:
        out.append('  <imagelist name="SS_Sign%sFrames" pattern="SS_Sign%s_%%1%%" first="0" last="%d"/>\n'
                   % (shape, shape, len(COLOURS) - 1))
        out.append('  <spritetype name="StreetSigns_Sign%s" images="SS_Sign%sFrames">\n' % (shape, shape))
        out += ['    <animation name="%s" frameList="%d" fps="1" numPlays="0"/>\n' % (name, i)
                for i, (name, _, _) in enumerate(COLOURS)]
        out.append("  </spritetype>\n")
    out.append('  <spritetype name="StreetSigns_Truck" images="SS_TruckFrames">\n'
               '    <animation name="Idle" frameList="0" fps="1" numPlays="0"/>\n'
               '    <animation name="Drive" frameList="1,2" fps="8" numPlays="0"/>\n'
               "  </spritetype>\n")
    # The playfield: the row of signs, the truck with its bed slots, the driver's bubble and the click
    # mask over them all; the game's buttons above everything.
    slots = "".join('          <scenenode nodeName="Bed_%d" x="%d" y="%d"/>\n' % (k + 1, x, BED_Y - SIGN_H)
                    for k, x in enumerate(BED_SLOTS))
    out.append('  <scenelayout name="StreetSignsModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="SS_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <scenenode nodeName="SignRow" x="%d" y="%d"/>\n' % (ROW_X, ROW_Y) +
               '        <animatedspritenode nodeName="TruckNode" spriteType="StreetSigns_Truck" '
               'initialAnimation="Idle" x="%d" y="%d">\n' % (TRUCK_X, TRUCK_Y)
               + slots +
               "        </animatedspritenode>\n"
               '        <staticspritenode nodeName="AskBubble" src="SS_AskBubble" x="%d" y="%d" visible="false">\n'
               '          <staticspritenode nodeName="AskPicture" x="%d" y="%d"/>\n'
               "        </staticspritenode>\n" % (BUBBLE_X, BUBBLE_Y, 16 + (BUBBLE_W - 16 - ASK_SIZE) // 2,
                                                    8 + (BUBBLE_H - 16 - ASK_SIZE) // 2) +
               '        <scenenode nodeName="MouseInput_ClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    # A sign: its glow under the plate while the pointer is over it, and the sign itself.
    out.append('  <scenelayout name="StreetSignLayout">\n'
               '    <scenenode nodeName="StreetSign" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="glowNode" src="SS_Glow" x="%d" y="%d" visible="false"/>\n'
               '      <animatedspritenode nodeName="signNode"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (SIGN_W, SIGN_H, -GLOW_EDGE, -GLOW_EDGE))
    for name, difficulty, signs, asks in LEVELS:
        out.append('  <StreetSignLevel name="%s" difficulty="%s" signs="%d">\n' % (name, difficulty, signs))
        out += ['    <Ask trait="%s"/>\n' % trait for trait in asks]
        out.append("  </StreetSignLevel>\n")
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    del art  # everything is drawn here
    make_pictures(os.path.join(data, "streetsigns"))
    write(os.path.join(data, "StreetSignsMode.xml"), manifest())


if __name__ == "__main__":
    main()
