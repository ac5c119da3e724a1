#!/usr/bin/python3
"""Draws the hide-and-seek game's pictures and writes its whole manifest: pictures, layouts, the cat's
and the tail's sprite types, the cat's places and the levels.

Usage: make_hide_and_seek_art.py [--manifests-only] <art folder> <data folder>

A garden with, for each difficulty, its own arrangement of obstacle slots; the level decides which
pictures fill them. The cat Tabby runs to an obstacle's top-left corner and stands there behind it, so
the cat's drawing sits inside the obstacle's box and the tail peeks out at its right. The cat, the
other animals and most obstacles are Fluent Emoji; the bush and the tail are our own
(art/own/hs_*.svg); the backdrop is drawn here.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, fitted, read, render, write  # noqa: E402

OBSTACLE = 150
# The obstacles by frame: a level's "imageID" indexes this list. (source folder, drawing)
OBSTACLES = (("fluent", "rock"), ("fluent", "wood"), ("fluent", "house"), ("fluent", "toolbox"),
             ("own", "hs_bush"), ("fluent", "bucket"))
WRONG_ANIMALS = ("dog", "rabbit", "hedgehog", "duck", "fox", "frog")
ANIMAL = 90
# Where the other animal stands inside an obstacle's box.
ANIMAL_AT = (30, 44)
CAT = 80
# The cat's drawing inside its node, whose place is the obstacle's top-left corner less 10 upwards.
CAT_AT = (35, 60)
# The tail's frame, and its root in the frame, which stands at (129, 120) of the obstacle's box: just
# inside its right edge, so the tail curls out from behind it.
TAIL = 64
TAIL_ROOT = (7, 58)
TAIL_AT = (129 - TAIL_ROOT[0], 120 - TAIL_ROOT[1])
# The slots of each difficulty, back row first so the front row is drawn over it; none so high that its
# picture, lifted 200 to show what is behind it, leaves the screen.
SLOTS = {
    "Easy": ((90, 300), (325, 300), (560, 300)),
    "Medium": ((80, 205), (440, 200), (250, 380), (590, 390)),
    "Hard": ((40, 205), (325, 200), (610, 205), (40, 400), (325, 410), (610, 400)),
}
START = (-20, 440)
END = (900, 440)

# (name, difficulty, numHides, numPreviewHides, runSpeed, showTail, obstacle frames): Easy shows the
# tail and runs slowly among three; Medium shows the tail for a moment only; Hard hides it and runs fast
# among six.
LEVELS = (
    ("HideAndSeek_Easy_1", "Easy", 1, 2, 240, True, (0, 1, 2)),
    ("HideAndSeek_Easy_2", "Easy", 2, 1, 240, True, (3, 4, 5)),
    ("HideAndSeek_Easy_3", "Easy", 2, 2, 260, True, (0, 2, 5, 4)),
    ("HideAndSeek_Medium_1", "Medium", 2, 3, 320, True, (1, 2, 3, 4)),
    ("HideAndSeek_Medium_2", "Medium", 2, 3, 320, True, (0, 3, 4, 5)),
    ("HideAndSeek_Medium_3", "Medium", 3, 2, 340, True, (0, 1, 2, 5, 4)),
    ("HideAndSeek_Hard_1", "Hard", 3, 4, 400, False, (0, 1, 2, 3, 4, 5)),
    ("HideAndSeek_Hard_2", "Hard", 3, 5, 420, False, (5, 4, 3, 2, 1, 0)),
    ("HideAndSeek_Hard_3", "Hard", 4, 4, 440, False, (2, 0, 4, 1, 5, 3, 0)),
)


def glow(svg):
    """The drawing's outline grown a little, all in one soft yellow: drawn behind it, a rim."""
    body = re.sub(r'(fill|stroke)="#[0-9a-fA-F]{3,6}"', r'\1="#fff176"', fitted(svg, 0, 0, OBSTACLE, OBSTACLE))
    grow = 1.08
    shift = -OBSTACLE * (grow - 1) / 2
    return document(OBSTACLE, OBSTACLE, '<g opacity="0.9" transform="translate(%g %g) scale(%g)">%s</g>'
                    % (shift, shift, grow, body))


def backdrop():
    """Sky, a wooden fence along the back of the lawn, and a few flowers at the edges."""
    parts = ['<rect width="800" height="600" fill="#bfe6ff"/>',
             '<circle cx="90" cy="70" r="38" fill="#ffe27a"/>',
             '<rect y="120" width="800" height="480" fill="#8fd16a"/>',
             '<path d="M0 160Q200 140 400 156T800 150V600H0Z" fill="#7fc25a"/>']
    for x in range(0, 800, 40):
        parts.append('<path d="M%d 150V86l14-12l14 12V150Z" fill="#e9c99a" stroke="#b98b52" stroke-width="2"/>'
                     % (x + 6))
    parts.append('<rect y="98" width="800" height="10" fill="#d2a96d"/>')
    parts.append('<rect y="130" width="800" height="10" fill="#d2a96d"/>')
    for x, y, c in ((30, 560, "#f8312f"), (120, 585, "#ffd60a"), (700, 570, "#9b4fd6"), (760, 590, "#f8312f"),
                    (400, 585, "#ff822d")):
        parts.append('<path d="M%d %dv-16" stroke="#3f8f3a" stroke-width="3"/>' % (x, y))
        parts.append('<circle cx="%d" cy="%d" r="7" fill="%s"/><circle cx="%d" cy="%d" r="3" fill="#fff3a0"/>'
                     % (x, y - 18, c, x, y - 18))
    return document(800, 600, "".join(parts))


def make_pictures(art, folder):
    def drawing(source, name):
        return read(os.path.join(art, source, name + ".svg"))

    render(backdrop(), 800, 600, os.path.join(folder, "HS_Backdrop.png"))
    for i, (source, name) in enumerate(OBSTACLES):
        svg = drawing(source, name)
        render(document(OBSTACLE, OBSTACLE, fitted(svg, 0, 0, OBSTACLE, OBSTACLE)), OBSTACLE, OBSTACLE,
               os.path.join(folder, "HideAndSeekObstacle_%d.png" % i))
        render(glow(svg), OBSTACLE, OBSTACLE, os.path.join(folder, "HideAndSeekObstacle_Rollover_%d.png" % i))
    for i, name in enumerate(WRONG_ANIMALS):
        render(document(ANIMAL, ANIMAL, fitted(drawing("fluent", name), 0, 0, ANIMAL, ANIMAL)), ANIMAL, ANIMAL,
               os.path.join(folder, "HideAndSeek_WrongAnimals_%d.png" % i))
    # The cat, turned to face right (unmirrored runs go right): standing, then two running strides with
    # the body bobbing.
    cat = drawing("fluent", "cat")
    for i, (lift, lean) in enumerate(((0, 0), (0, -4), (4, 4))):
        body = '<g transform="translate(%g %g) scale(-1 1) rotate(%g %g %g)">%s</g>' % (
            CAT, -lift, lean, CAT / 2, CAT, fitted(cat, 0, 0, CAT, CAT))
        render(document(CAT, CAT, body), CAT, CAT, os.path.join(folder, "HS_TabbyFrames_%d.png" % i))
    # The tail swinging about its root at the bottom left; the last frame is empty, where a timed
    # showing ends.
    tail = drawing("own", "hs_tail")
    # Drawn inside a margin, so the swing never carries its tip past the frame's edge.
    for i, angle in enumerate((0, -12, 12)):
        body = '<g transform="rotate(%g %g %g)">%s</g>' % ((angle,) + TAIL_ROOT + (fitted(tail, 0, 8, TAIL - 8, TAIL - 8),))
        render(document(TAIL, TAIL, body), TAIL, TAIL, os.path.join(folder, "HS_TailFrames_%d.png" % i))
    render(document(TAIL, TAIL, ""), TAIL, TAIL, os.path.join(folder, "HS_TailFrames_3.png"))


def manifest():
    out = ['<?xml version="1.0"?>\n',
           "<!-- The hide-and-seek game: pictures, layouts, the cat, its places and the levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_hide_and_seek_art.py). -->\n",
           "<manifest>\n",
           '  <image name="HS_Backdrop" src="HS_Backdrop"/>\n']
    for name, count in (("HideAndSeekObstacle", len(OBSTACLES)), ("HideAndSeekObstacle_Rollover", len(OBSTACLES)),
                        ("HideAndSeek_WrongAnimals", len(WRONG_ANIMALS)), ("HS_TabbyFrames", 3),
                        ("HS_TailFrames", 4)):
        out.append('  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="%d"/>\n' % (name, name, count - 1))
    out.append('  <spritetype name="HS_Tabby" images="HS_TabbyFrames">\n'
               '    <animation name="Idle" frameList="0" fps="1" numPlays="0"/>\n'
               '    <animation name="Run" frameList="1,2" fps="8" numPlays="0"/>\n'
               "  </spritetype>\n")
    out.append('  <spritetype name="HS_Tail" images="HS_TailFrames">\n'
               '    <animation name="Wag" frameList="0,1,0,2" fps="4" numPlays="0"/>\n'
               '    <animation name="TimedShow" frameList="0,1,0,2,0,1,0,2,3" fps="4" numPlays="1"/>\n'
               "  </spritetype>\n")
    out.append('  <vector2f name="TabbyStartLocation" x="%d" y="%d"/>\n' % START)
    out.append('  <vector2f name="TabbyEndLocation" x="%d" y="%d"/>\n' % END)
    # The playfield: one layer of slots a difficulty, the click mask over them, the buttons above all.
    layers = ""
    for difficulty, slots in SLOTS.items():
        layers += '          <scenenode nodeName="YSortedLayer_%s" width="800" height="600">\n' % difficulty
        for k, (x, y) in enumerate(slots):
            layers += ('            <scenenode nodeName="Slot_%d" x="%d" y="%d" width="%d" height="%d"/>\n'
                       % (k + 1, x, y, OBSTACLE, OBSTACLE))
        layers += "          </scenenode>\n"
    out.append('  <scenelayout name="HideAndSeekModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="HS_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <scenenode nodeName="PlayfieldLayers" width="800" height="600">\n'
               + layers +
               "        </scenenode>\n"
               '        <scenenode nodeName="ClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    out.append('  <scenelayout name="HideAndSeekCharacterLayout">\n'
               '    <scenenode nodeName="HideAndSeekCharacter">\n'
               '      <animatedspritenode nodeName="imageNode" spriteType="HS_Tabby" initialAnimation="Idle" '
               'x="%d" y="%d"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % CAT_AT)
    # Behind the picture, from the back: the other animal, the tail, the highlight's rim.
    out.append('  <scenelayout name="HideAndSeekObstacleLayout">\n'
               '    <scenenode nodeName="HideAndSeekObstacle" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="wrongAnimal" x="%d" y="%d"/>\n'
               '      <animatedspritenode nodeName="TabbyTail" spriteType="HS_Tail" initialAnimation="Wag" '
               'x="%d" y="%d"/>\n'
               '      <staticspritenode nodeName="rolloverNode"/>\n'
               '      <staticspritenode nodeName="imageNode"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % ((OBSTACLE, OBSTACLE) + ANIMAL_AT + TAIL_AT))
    for name, difficulty, hides, preview, speed, tail, frames in LEVELS:
        out.append('  <HideAndSeekLevel name="%s" difficulty="%s" numHides="%d" numPreviewHides="%d" '
                   'runSpeed="%d" showTail="%s">\n' % (name, difficulty, hides, preview, speed,
                                                       "true" if tail else "false"))
        out += ['    <Obstacle imageID="%d"/>\n' % frame for frame in frames]
        out.append("  </HideAndSeekLevel>\n")
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    make_pictures(art, os.path.join(data, "hideandseek"))
    write(os.path.join(data, "HideAndSeekMode.xml"), manifest())


if __name__ == "__main__":
    main()
