#!/usr/bin/python3
"""Draws the leaf-pile game's pictures and writes its whole manifest: pictures, layouts, the dog's
sprite type, the tuning constants and the levels.

Usage: make_leaves_art.py [--manifests-only] <art folder> <data folder>

Tools lie on a lawn under a pile of autumn leaves; the dog watches from the top left and the request
box shows the tool to find. The tools are every game's one drawing of each kind (TOOL_DRAWINGS in
make_art.py), painted in the four tool colours as the hammering game and the tool shed paint theirs.
The leaves are the Fluent fallen leaf's
large leaf in autumn colours, and the dog is the Fluent dog; the backdrop is drawn here.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, fitted, inner, read, recolour, render, tool_drawing, write  # noqa: E402
from make_hammer_art import COLOURS, glow  # noqa: E402

# A tool's picture; the game places its top-left corner and spins it about its middle.
TOOL = (100, 70)
# The shared tool table's order. Each is every game's one drawing of that kind (TOOL_DRAWINGS), drawn
# as the tool shed draws it, fitted inside the ring its highlight frame draws round it.
TOOLS = ("Hammer", "Saw", "Drill", "Brush", "Wrench", "Screwdriver", "Level", "Pliers")
TOOL_INSET = 5
# The Fluent fallen leaf's large leaf and its vein, cut from its 32-unit box (x, y, width, height).
LEAF_CROP = (14.5, 4, 16.5, 26.5)
LEAF_BODY, LEAF_VEIN = "#f8312f", "#ca0b4a"
LEAF_COLOURS = (("#f8312f", "#ca0b4a"), ("#ff822d", "#c4501a"), ("#ffc83d", "#c98a00"), ("#b5651d", "#7a3e10"),
                ("#d9482b", "#8e2a14"), ("#f2a93b", "#b06a12"))
LEAF = 60
BLOWN_LEAF = 50
DOG = 120
DOG_AT = (30, 112)
BOX = (130, 100)
BOX_AT = (335, 8)

# (name, difficulty, numTools, areaCover, toolCover, cursorRadius): a run asks for
# "RepeatedGameNumLoops" + 1 tools (4, 5 and 6), so each level holds more; Hard buries more tools under
# a deeper pile that the pointer clears in a smaller circle. A leaf reaches about 33 pixels from its
# middle, however it lies, so a pushed leaf leaves the radius less that clear round the pointer: 57
# pixels at least, more than a tool's half width, so a sweep shows the ground and the tools beneath. Each
# tool lies under leaves of its own (toolCover), so none shows before it is swept; the field's leaves are
# kept few, since every leaf costs each frame of the pile blowing in.
LEVELS = (
    ("PileOfLeaves_Easy_1", "Easy", 5, 30, 6, 120),
    ("PileOfLeaves_Easy_2", "Easy", 5, 36, 6, 120),
    ("PileOfLeaves_Easy_3", "Easy", 6, 40, 7, 110),
    ("PileOfLeaves_Medium_1", "Medium", 7, 60, 8, 110),
    ("PileOfLeaves_Medium_2", "Medium", 7, 70, 8, 100),
    ("PileOfLeaves_Medium_3", "Medium", 8, 80, 9, 100),
    ("PileOfLeaves_Hard_1", "Hard", 9, 110, 10, 95),
    ("PileOfLeaves_Hard_2", "Hard", 10, 120, 11, 90),
    ("PileOfLeaves_Hard_3", "Hard", 10, 140, 12, 90),
)
# Seconds and pixels a second.
CONSTANTS = (("PreIntroLeafFlightTime", 2.5), ("PreFlightLeafDelayMax", 0.8), ("LeafFlightSpeed", 700),
             ("ToolCorrectFlySpeed", 600))


def tool_body(art, tool, colour):
    w, h = TOOL
    return fitted(tool_drawing(art, tool, colour), TOOL_INSET, TOOL_INSET, w - 2 * TOOL_INSET, h - 2 * TOOL_INSET)


def leaf(art, body, vein):
    svg = read(os.path.join(art, "fluent", "fallen_leaf.svg"))
    # Only the large leaf: its two paths come first in the drawing.
    paths = inner(svg)[0].split("<path")
    drawing = "<path" + "<path".join(paths[1:3])
    x, y, w, h = LEAF_CROP
    cut = document(w, h, '<g transform="translate(%g %g)">%s</g>' % (-x, -y, drawing))
    return recolour(cut, {LEAF_BODY: body, LEAF_VEIN: vein})


def dog_frame(art, lift, lean, shift):
    """The dog facing right (towards the request box), lifted, leaning about its feet and shifted: drawn
    smaller than its frame, so a hop or a lean never cuts its tail or feet at the frame's edge."""
    body = fitted(read(os.path.join(art, "fluent", "dog.svg")), 12, DOG - 96, 96, 94)
    return document(DOG, DOG, '<g transform="translate(%g %g) rotate(%g %g %g) translate(%d 0) scale(-1 1)">%s</g>'
                    % (shift, -lift, lean, DOG / 2, DOG, DOG, body))


def backdrop():
    """Sky, autumn trees along a hedge, and the lawn the pile lies on."""
    parts = ['<rect width="800" height="600" fill="#bfe6ff"/>',
             '<circle cx="720" cy="120" r="34" fill="#ffe27a"/>',
             '<path d="M0 190Q200 170 400 186T800 180V600H0Z" fill="#7fbf55"/>',
             '<rect y="236" width="800" height="364" fill="#8fc95f"/>']
    for x, r, c in ((560, 46, "#f2a93b"), (625, 38, "#d9482b"), (690, 50, "#ff822d"), (250, 40, "#ffc83d"),
                    (190, 34, "#d9482b")):
        parts.append('<rect x="%d" y="%d" width="12" height="60" fill="#7a4a24"/>' % (x - 6, 196 - 60))
        parts.append('<circle cx="%d" cy="%d" r="%d" fill="%s"/>' % (x, 196 - 60 - r / 2, r, c))
    parts.append('<path d="M0 236Q400 224 800 236" fill="none" stroke="#76b24b" stroke-width="6"/>')
    for y in range(270, 600, 56):
        parts.append('<path d="M0 %dQ400 %d 800 %d" fill="none" stroke="#86c057" stroke-width="14"/>' % (y, y - 8, y))
    return document(800, 600, "".join(parts))


def request_box():
    w, h = BOX
    return document(w, h, '<rect x="4" y="4" width="%d" height="%d" rx="16" fill="#fff8e1" stroke="#ffb300" '
                    'stroke-width="7"/>' % (w - 8, h - 8))


def make_pictures(art, folder):
    render(backdrop(), 800, 600, os.path.join(folder, "POL_Backdrop.png"))
    render(request_box(), BOX[0], BOX[1], os.path.join(folder, "POL_RequestBox.png"))
    w, h = TOOL
    for name in TOOLS:
        for i, (_, colour) in enumerate(COLOURS):
            render(document(w, h, tool_body(art, name, colour)), w, h,
                   os.path.join(folder, "GeneralTool_%s_%d.png" % (name, i)))
        render(document(w, h, glow(tool_body(art, name, COLOURS[0][1]), w, h)), w, h,
               os.path.join(folder, "GeneralTool_%s_4.png" % name))
    for i, (body, vein) in enumerate(LEAF_COLOURS):
        render(document(LEAF, LEAF, fitted(leaf(art, body, vein), 2, 2, LEAF - 4, LEAF - 4)), LEAF, LEAF,
               os.path.join(folder, "POL_Leaf_%d.png" % i))
    body, vein = LEAF_COLOURS[1]
    render(document(BLOWN_LEAF, BLOWN_LEAF, fitted(leaf(art, body, vein), 0, 0, BLOWN_LEAF, BLOWN_LEAF)),
           BLOWN_LEAF, BLOWN_LEAF, os.path.join(folder, "POL_BlownLeaf.png"))
    # Standing; two hops; head down and back, a shake of disappointment.
    for i, (lift, lean, shift) in enumerate(((0, 0, 0), (10, 0, 0), (18, 4, 0), (0, -6, 0), (0, -6, -4))):
        render(dog_frame(art, lift, lean, shift), DOG, DOG, os.path.join(folder, "POL_DogFrames_%d.png" % i))


def manifest():
    out = ['<?xml version="1.0"?>\n',
           "<!-- The leaf-pile game: pictures, layouts, the dog, its tuning and the levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_leaves_art.py). -->\n",
           "<manifest>\n",
           '  <image name="POL_Backdrop" src="POL_Backdrop"/>\n',
           '  <image name="POL_RequestBox" src="POL_RequestBox"/>\n',
           '  <image name="POL_BlownLeaf" src="POL_BlownLeaf"/>\n',
           # Turned copies for the software canvas: each leaf lies at its own angle, a found tool spins
           # and a wrong one shakes 10 degrees each way.
           '  <imagelist name="Leaves" pattern="POL_Leaf_%%1%%" first="0" last="%d" rotations="36"/>\n'
           % (len(LEAF_COLOURS) - 1),
           '  <imagelist name="POL_DogFrames" pattern="POL_DogFrames_%1%" first="0" last="4"/>\n']
    # Images 0 to 3: the tool in each colour; image 4: its highlight ring.
    for name in TOOLS:
        out.append('  <imagelist name="GeneralTool_%s" pattern="GeneralTool_%s_%%1%%" first="0" last="4" '
                   'rotations="36"/>\n' % (name, name))
    # The game only starts "Correct" and "Wrong"; both end in the looping "Idle".
    out.append('  <spritetype name="PileOfLeaves_Dog" images="POL_DogFrames">\n'
               '    <animation name="Idle" frameList="0" fps="1" numPlays="0"/>\n'
               '    <animation name="Correct" frameList="1,2,1,0,1,2,1,0" fps="8" numPlays="1" '
               'linkedAnimation="Idle"/>\n'
               '    <animation name="Wrong" frameList="3,4,3,4,3,0" fps="6" numPlays="1" linkedAnimation="Idle"/>\n'
               "  </spritetype>\n")
    for name, value in CONSTANTS:
        out.append('  <float name="%s" value="%g"/>\n' % (name, value))
    # The tools below the leaves, the dog beside them, the click mask over all three; the request box
    # with the help and quit buttons above everything.
    top = GAME_SCREEN_TOP.replace(
        '      <scenenode nodeName="UI_attach" width="800" height="600">\n',
        '      <scenenode nodeName="UI_attach" width="800" height="600">\n'
        '        <staticspritenode nodeName="HighlightBox" src="POL_RequestBox" x="%d" y="%d" visible="false"/>\n'
        '        <staticspritenode nodeName="ToolToPick" x="%d" y="%d" scaleHAlign="center" scaleVAlign="middle" '
        'visible="false"/>\n' % (BOX_AT + (BOX_AT[0] + (BOX[0] - TOOL[0]) // 2, BOX_AT[1] + (BOX[1] - TOOL[1]) // 2)))
    out.append('  <scenelayout name="PileOfLeavesModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="POL_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <scenenode nodeName="ToolLayer" width="800" height="600"/>\n'
               '        <scenenode nodeName="LeafLayer" width="800" height="600"/>\n'
               '        <animatedspritenode nodeName="DogAnimationNode" spriteType="PileOfLeaves_Dog" '
               'initialAnimation="Idle" x="%d" y="%d"/>\n' % DOG_AT
               + '        <scenenode nodeName="ClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               + top +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    out.append('  <scenelayout name="LeafLayout">\n'
               '    <scenenode nodeName="Leaf">\n'
               '      <staticspritenode nodeName="imageNode" x="%d" y="%d" rotateHAlign="center" '
               'rotateVAlign="middle"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (-LEAF // 2, -LEAF // 2))
    out.append('  <scenelayout name="LeafCoveredToolLayout">\n'
               '    <scenenode nodeName="LeafCoveredTool" width="%d" height="%d" rotateHAlign="center" '
               'rotateVAlign="middle">\n'
               '      <staticspritenode nodeName="imageNode">\n'
               '        <staticspritenode nodeName="highlightNode"/>\n'
               "      </staticspritenode>\n"
               "    </scenenode>\n"
               "  </scenelayout>\n" % TOOL)
    out.append('  <scenelayout name="AnimatedLeafLayout">\n'
               '    <scenenode nodeName="BlownLeaf">\n'
               '      <staticspritenode nodeName="imageNode" src="POL_BlownLeaf" x="%d" y="%d"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (-BLOWN_LEAF // 2, -BLOWN_LEAF // 2))
    for level in LEVELS:
        out.append('  <PileOfLeavesLevel name="%s" difficulty="%s" numTools="%d" areaCover="%d" toolCover="%d" '
                   'cursorRadius="%d"/>\n' % level)
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    make_pictures(art, os.path.join(data, "leaves"))
    write(os.path.join(data, "PileOfLeavesMode.xml"), manifest())


if __name__ == "__main__":
    main()
