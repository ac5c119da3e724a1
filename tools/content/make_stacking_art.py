#!/usr/bin/python3
"""Draws the stacking game's pictures and writes its whole manifest: pictures, layouts, Hoist's sprite
type and the levels.

Usage: make_stacking_art.py [--manifests-only] <art folder> <data folder>

Hoist, the crawler crane with a face that make_haulers_art.py renders (HD_HoistFrames), stands on the
yard between two platforms, one for each colour; the logs and girders lie in two rows of five on the
yard below. Logs and girders are drawn here, lying down, their length growing with their size, so a
stack's order shows at a glance; the platforms and the backdrop are drawn here too.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, render, write  # noqa: E402

# Every log and girder shares one canvas; the object lies on its bottom edge (less the glow's margin),
# centred, so the layout's root is the middle of the object's underside whatever its size.
# THICK is a finger's width, so even the shortest log is a target a small hand hits.
THICK = 48
OBJ_W, OBJ_H = 160, THICK + 14
OBJ_BASE = OBJ_H - 4
LENGTHS = (50, 74, 98, 122, 146)
# The platforms: a painted deck on legs. The stacking points stand THICK apart from the deck's top up.
PLAT_W, PLAT_H = 220, 70
DECK = 6
TARGETS = (("Target_Left", 40, 100), ("Target_Right", 540, 100))
PLAT_Y = 250
# The ground: two rows of five, the object's underside at the place.
GROUND_X = (88, 244, 400, 556, 712)
GROUND_Y = (484, 570)
# Hoist's frames are 150 pixels square, its tracks' underside 141 down: it stands at the back of the yard,
# level with the platforms' feet.
HOIST_AT = (325, 275)
HOIST_FOOT = (401, 416)

COLOURS = {
    "Red": {"main": "#d83a2e", "dark": "#8a1d16", "light": "#f59a8f"},
    "Blue": {"main": "#3f78d8", "dark": "#234a8e", "light": "#9cc0f5"},
}

# (name, difficulty, objects as (colour, kind, sizes)): three levels a difficulty. Easy is one stack of
# three; Medium two stacks of two or three; Hard two full stacks, kinds mixed on the last.
LEVELS = (
    ("HoistStacker_Easy_1", "Easy", (("Red", "Girder", (1, 2, 3)),)),
    ("HoistStacker_Easy_2", "Easy", (("Blue", "Log", (1, 2, 3)),)),
    ("HoistStacker_Easy_3", "Easy", (("Red", "Log", (1, 3, 5)),)),
    ("HoistStacker_Medium_1", "Medium", (("Red", "Girder", (1, 2, 3)), ("Blue", "Girder", (1, 2, 3)))),
    ("HoistStacker_Medium_2", "Medium", (("Red", "Log", (2, 3, 4)), ("Blue", "Log", (1, 3)))),
    ("HoistStacker_Medium_3", "Medium", (("Red", "Girder", (1, 3, 5)), ("Blue", "Log", (2, 4, 5)))),
    ("HoistStacker_Hard_1", "Hard", (("Red", "Girder", (1, 2, 3, 4, 5)), ("Blue", "Girder", (1, 2, 3, 4, 5)))),
    ("HoistStacker_Hard_2", "Hard", (("Red", "Log", (1, 2, 3, 4, 5)), ("Blue", "Girder", (1, 2, 3, 4)))),
    ("HoistStacker_Hard_3", "Hard", (("Red", "Girder", (1, 3, 5)), ("Red", "Log", (2, 4)),
                                     ("Blue", "Log", (1, 3, 5)), ("Blue", "Girder", (2, 4)))),
)


def log(length, c):
    """A log lying along the canvas, its cut end facing right, painted in the colour."""
    x0 = (OBJ_W - length) / 2
    top = OBJ_BASE - THICK
    r = THICK / 2
    end = x0 + length - r * 0.55
    return ('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s" stroke="%s" stroke-width="2"/>'
            '<rect x="%g" y="%g" width="%g" height="3" rx="1.5" fill="%s" fill-opacity="0.5"/>'
            '<rect x="%g" y="%g" width="%g" height="3" rx="1.5" fill="%s" fill-opacity="0.5"/>'
            '<ellipse cx="%g" cy="%g" rx="%g" ry="%g" fill="#f2d39b" stroke="%s" stroke-width="2"/>'
            '<ellipse cx="%g" cy="%g" rx="%g" ry="%g" fill="none" stroke="#c99a5b" stroke-width="1.5"/>'
            '<circle cx="%g" cy="%g" r="1.6" fill="#c99a5b"/>'
            % (x0 + 1, top + 1, length - 2, THICK - 2, r * 0.8, c["main"], c["dark"],
               x0 + 8, top + 9, max(length * 0.45, 10), c["dark"],
               x0 + length * 0.3, top + 21, max(length * 0.4, 8), c["dark"],
               end, top + r, r * 0.55, r - 1, c["dark"], end, top + r, r * 0.28, r * 0.5, end, top + r))


def girder(length, c):
    """A steel I-beam seen from the side: two flanges, the web between with its bolt holes."""
    x0 = (OBJ_W - length) / 2
    top = OBJ_BASE - THICK
    flange = 8
    holes = "".join('<circle cx="%g" cy="%g" r="2.6" fill="%s"/>' % (x0 + x, top + THICK / 2, c["dark"])
                    for x in range(12, int(length) - 6, 24))
    return ('<rect x="%g" y="%g" width="%g" height="%g" fill="%s" stroke="%s" stroke-width="2"/>'
            '<rect x="%g" y="%g" width="%g" height="%g" rx="2" fill="%s" stroke="%s" stroke-width="2"/>'
            '<rect x="%g" y="%g" width="%g" height="%g" rx="2" fill="%s" stroke="%s" stroke-width="2"/>'
            '<rect x="%g" y="%g" width="%g" height="2" fill="%s" fill-opacity="0.7"/>%s'
            % (x0 + 3, top + flange - 1, length - 6, THICK - 2 * flange + 2, c["main"], c["dark"],
               x0 + 1, top + 1, length - 2, flange, c["main"], c["dark"],
               x0 + 1, top + THICK - flange - 1, length - 2, flange, c["main"], c["dark"],
               x0 + 3, top + 3, length - 6, c["light"], holes))


def glow(body):
    """A pale glow round the object's outline, leaving the object itself clear, so one glow serves
    both colours."""
    return ('<filter id="glow" filterUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
            '<feMorphology in="SourceAlpha" operator="dilate" radius="4" result="wide"/>'
            '<feGaussianBlur in="wide" stdDeviation="1.5" result="soft"/>'
            '<feFlood flood-color="#fff3a0"/><feComposite in2="soft" operator="in" result="lit"/>'
            '<feComposite in="lit" in2="SourceAlpha" operator="out"/></filter>'
            '<g filter="url(#glow)">%s</g>' % (OBJ_W, OBJ_H, body))


def platform(c):
    """A wooden deck painted in the colour, on two steel legs with feet."""
    legs = "".join('<rect x="%d" y="%d" width="12" height="%d" fill="#636363"/>'
                   '<rect x="%d" y="%d" width="28" height="6" rx="2" fill="#3b3b3b"/>'
                   % (x, DECK + 16, PLAT_H - DECK - 22, x - 8, PLAT_H - 6) for x in (30, PLAT_W - 42))
    boards = "".join('<rect x="%d" y="%d" width="2" height="14" fill="%s" fill-opacity="0.6"/>'
                     % (x, DECK + 2, c["dark"]) for x in range(36, PLAT_W - 20, 38))
    return ('%s<rect x="24" y="%d" width="%d" height="5" fill="#4a4a4a"/>'
            '<rect x="2" y="%d" width="%d" height="18" rx="4" fill="%s" stroke="%s" stroke-width="2.5"/>'
            '<rect x="8" y="%d" width="%d" height="3" rx="1.5" fill="%s"/>%s'
            % (legs, DECK + 30, PLAT_W - 48, DECK, PLAT_W - 4, c["main"], c["dark"], DECK + 3, PLAT_W - 16,
               c["light"], boards))


def backdrop():
    """Sky, far hills and the yard, its ground marked where Hoist stands and each object lies. A level of one colour
    has one platform, so the backdrop marks none."""
    parts = ['<rect width="800" height="600" fill="#bfe6ff"/>',
             '<circle cx="90" cy="70" r="34" fill="#ffe98a"/>',
             '<path d="M0 250Q160 190 340 235T700 215T800 225V600H0Z" fill="#a8d98a"/>',
             '<rect y="380" width="800" height="220" fill="#cfc7b8"/>',
             '<rect y="380" width="800" height="6" fill="#b3aa99"/>']
    parts.append('<ellipse cx="%d" cy="%d" rx="70" ry="7" fill="#b3aa99"/>' % HOIST_FOOT)
    for y in GROUND_Y:
        for x in GROUND_X:
            parts.append('<ellipse cx="%d" cy="%d" rx="70" ry="7" fill="#b3aa99"/>' % (x, y - 1))
    return document(800, 600, "".join(parts))


def make_pictures(folder):
    render(backdrop(), 800, 600, os.path.join(folder, "ST_Backdrop.png"))
    for colour, c in COLOURS.items():
        render(document(PLAT_W, PLAT_H, platform(c)), PLAT_W, PLAT_H, os.path.join(folder, "Platform_%s.png" % colour))
        for kind, draw in (("Girder", girder), ("Log", log)):
            for i, length in enumerate(LENGTHS):
                body = draw(length, c)
                render(document(OBJ_W, OBJ_H, body), OBJ_W, OBJ_H,
                       os.path.join(folder, "%s%ss_%d.png" % (colour, kind, i)))
                # One glow a kind: the outline is the same in either colour.
                if colour == "Red":
                    render(document(OBJ_W, OBJ_H, glow(body)), OBJ_W, OBJ_H,
                           os.path.join(folder, "%sRollover_%d.png" % (kind, i)))


def manifest():
    last = len(LENGTHS) - 1
    out = ['<?xml version="1.0"?>\n',
           "<!-- The stacking game: pictures, layouts, Hoist and the levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_stacking_art.py). -->\n",
           "<manifest>\n",
           '  <image name="ST_Backdrop" src="ST_Backdrop"/>\n']
    out += ['  <image name="Platform_%s" src="Platform_%s"/>\n' % (c, c) for c in COLOURS]
    for colour in COLOURS:
        for kind in ("Girder", "Log"):
            # A wrong stack shakes its object down: 10 degree steps show the 10 degree shake both
            # ways on the software canvas (coarser ones snap it upright or overturn it).
            out.append('  <imagelist name="%s%ss" pattern="%s%ss_%%1%%" first="0" last="%d" rotations="36"/>\n'
                       % (colour, kind, colour, kind, last))
    for kind in ("Girder", "Log"):
        out.append('  <imagelist name="%sRollover" pattern="%sRollover_%%1%%" first="0" last="%d"/>\n'
                   % (kind, kind, last))
    # Hoist's frames (rendered by make_haulers_art.py) are content, glad and sad. Both moods end in Idle.
    out.append('  <imagelist name="ST_HoistFrames" pattern="HD_HoistFrames_%1%" first="0" last="2"/>\n'
               '  <spritetype name="ST_Hoist_SpriteType" images="ST_HoistFrames">\n'
               '    <animation name="Idle" frameList="0" fps="1" numPlays="0"/>\n'
               '    <animation name="Sad" frameList="2,2,2,2" fps="2" numPlays="1" linkedAnimation="Idle"/>\n'
               '    <animation name="Happy" frameList="1,0,1,0,1,1" fps="4" numPlays="1" linkedAnimation="Idle"/>\n'
               "  </spritetype>\n")
    # The drop mask lies below everything it must not block; the objects lie above the platforms, so
    # the platforms' click areas never hide an object on the ground.
    targets = "".join('          <scenenode nodeName="%s" x="%d" y="%d"/>\n' % t for t in TARGETS)
    sources = "".join('          <scenenode nodeName="Source_%d" x="%d" y="%d"/>\n'
                      % (1 + row * len(GROUND_X) + k, x, y)
                      for row, y in enumerate(GROUND_Y) for k, x in enumerate(GROUND_X))
    out.append('  <scenelayout name="HoistStackerModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="ST_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <scenenode nodeName="DropItem_Mask" width="800" height="600"/>\n'
               '        <animatedspritenode nodeName="HoistAnimNode" spriteType="ST_Hoist_SpriteType" '
               'initialAnimation="Idle" x="%d" y="%d"/>\n'
               '        <scenenode nodeName="MaterialTargets">\n' % HOIST_AT
               + targets +
               "        </scenenode>\n"
               '        <scenenode nodeName="MaterialSources">\n'
               + sources +
               "        </scenenode>\n"
               "      </scenenode>\n"
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    # An object: its root is the middle of its underside; the glow is shown over the picture.
    out.append('  <scenelayout name="StackableObjectLayout">\n'
               '    <scenenode nodeName="Stackable">\n'
               '      <staticspritenode nodeName="imageNode" x="%d" y="%d">\n'
               '        <staticspritenode nodeName="rollover" visible="false"/>\n'
               "      </staticspritenode>\n"
               "    </scenenode>\n"
               "  </scenelayout>\n" % (-OBJ_W // 2, -OBJ_BASE))
    # A platform: the deck at the foot of its column, the stacking points up from the deck's top, and
    # the click area over the whole column a stack of five can fill.
    points = "".join('        <scenenode nodeName="StackPoint_%d" x="%d" y="%d"/>\n'
                     % (n + 1, PLAT_W // 2, DECK - n * THICK) for n in range(5))
    column = 5 * THICK + 20
    out.append('  <scenelayout name="StackTargetLayout">\n'
               '    <scenenode nodeName="Platform_Root">\n'
               '      <staticspritenode nodeName="Platform" y="%d">\n' % PLAT_Y
               + points +
               "      </staticspritenode>\n"
               '      <scenenode nodeName="clickNode" y="%d" width="%d" height="%d"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (PLAT_Y + DECK - column, PLAT_W, column + PLAT_H - DECK))
    for name, difficulty, groups in LEVELS:
        out.append('  <HoistStackerLevel name="%s" difficulty="%s">\n' % (name, difficulty))
        out += ['    <StackObject size="%d" color="%s" type="%s"/>\n' % (size, colour, kind)
                for colour, kind, sizes in groups for size in sizes]
        out.append("  </HoistStackerLevel>\n")
    out.append("</manifest>\n")
    return "".join(out)


def main():
    _, data = arguments(__doc__, 2)
    make_pictures(os.path.join(data, "stacking"))
    write(os.path.join(data, "HoistStackerMode.xml"), manifest())


if __name__ == "__main__":
    main()
