#!/usr/bin/python3
"""Draws the tool-shed game's pictures and writes its whole manifest: pictures, the tools' sprite types,
layouts, tuning and levels.

Usage: make_tool_shed_art.py [--manifests-only] <art folder> <data folder>

The inside of a wooden shed, drawn here: a shelf on the back wall where the tool boxes stand, and a
plank floor where the thrown tools land. The tools are every game's one drawing of each kind
(TOOL_DRAWINGS in make_art.py), each painted in the four tool colours. A box is painted in the colour
it takes, or left plain with a sign showing the kind of tool it takes, drawn in plain steel so that
only its shape tells.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, TOOL_STEEL, arguments, document, fitted, render, tool_drawing, write  # noqa: E402

# In the order of the game's tool table.
TOOLS = ("Brush", "Drill", "Hammer", "Wrench", "Saw", "Screwdriver", "Level", "Pliers")
# Name: (main, dark, light), in the game's tool colour order.
COLOURS = (
    ("Red", ("#e8362d", "#a31d16", "#f58a84")),
    ("Blue", ("#2f7de1", "#1a4c94", "#8dbdf5")),
    ("Green", ("#3aa845", "#1f6e29", "#8fd997")),
    ("Yellow", ("#f6c511", "#a88206", "#fde58a")),
)
STEEL = TOOL_STEEL
TOOL = (100, 84)
BOX = (180, 150)
SIGN = (64, 52)
# Where the sign hangs on a box's front.
SIGN_AT = (58, 78)
# A tool in a box is drawn this small, standing at one of these places (up to ten), back row first.
IN_BOX_SCALE = 0.6
BOX_TOOL_OFFSETS = ((14, 8), (62, 6), (110, 8), (38, 16), (86, 16), (14, 20), (62, 18), (110, 20), (38, 24),
                    (86, 24))
SHELF_TOP = 262
# The boxes of a row stand on the shelf, centred as a row.
ROWS = {2: (170, 450), 3: (70, 310, 550), 4: (8, 210, 412, 614)}
# The floor's ten places, two rows; the tools are thrown up from below the floor's middle.
SPOTS = [(40 + 150 * i, 330) for i in range(5)] + [(100 + 150 * i, 455) for i in range(5)]
THROW_FROM = (400, 640)

# (name, difficulty, sortBy, boxes, tools): Easy sorts three or four tools into two boxes by colour;
# Medium five or six into three boxes, by kind or colour; Hard seven to ten into four.
LEVELS = (
    ("ToolShed_Easy_1", "Easy", "Color", ("Red", "Blue"),
     (("Hammer", "Red"), ("Saw", "Blue"), ("Brush", "Red"))),
    ("ToolShed_Easy_2", "Easy", "Color", ("Yellow", "Green"),
     (("Wrench", "Green"), ("Drill", "Yellow"), ("Hammer", "Yellow"), ("Level", "Green"))),
    ("ToolShed_Easy_3", "Easy", "Type", ("Hammer", "Saw"),
     (("Hammer", "Blue"), ("Saw", "Red"), ("Hammer", "Green"))),
    ("ToolShed_Medium_1", "Medium", "Color", ("Red", "Green", "Blue"),
     (("Drill", "Red"), ("Pliers", "Green"), ("Brush", "Blue"), ("Saw", "Green"), ("Wrench", "Red"))),
    ("ToolShed_Medium_2", "Medium", "Type", ("Brush", "Wrench", "Screwdriver"),
     (("Brush", "Yellow"), ("Wrench", "Blue"), ("Screwdriver", "Red"), ("Brush", "Green"),
      ("Screwdriver", "Yellow"), ("Wrench", "Red"))),
    ("ToolShed_Medium_3", "Medium", "Color", ("Yellow", "Blue", "Red"),
     (("Level", "Blue"), ("Hammer", "Yellow"), ("Screwdriver", "Red"), ("Pliers", "Yellow"), ("Drill", "Blue"),
      ("Saw", "Red"))),
    ("ToolShed_Hard_1", "Hard", "Type", ("Drill", "Level", "Pliers", "Hammer"),
     (("Drill", "Green"), ("Level", "Red"), ("Pliers", "Yellow"), ("Hammer", "Blue"), ("Drill", "Red"),
      ("Pliers", "Blue"), ("Level", "Yellow"))),
    ("ToolShed_Hard_2", "Hard", "Color", ("Green", "Yellow", "Red", "Blue"),
     (("Brush", "Green"), ("Screwdriver", "Yellow"), ("Saw", "Red"), ("Wrench", "Blue"), ("Drill", "Green"),
      ("Hammer", "Red"), ("Level", "Yellow"), ("Pliers", "Blue"))),
    ("ToolShed_Hard_3", "Hard", "Type", ("Saw", "Screwdriver", "Wrench", "Brush"),
     (("Saw", "Yellow"), ("Screwdriver", "Green"), ("Wrench", "Red"), ("Brush", "Blue"), ("Saw", "Green"),
      ("Screwdriver", "Blue"), ("Wrench", "Yellow"), ("Brush", "Red"), ("Saw", "Blue"), ("Wrench", "Green"))),
)


def tool_svg(art, tool, colour):
    """The tool's 32-unit drawing painted in (main, dark, light): every game's one drawing of it."""
    return tool_drawing(art, tool, colour)


def tool_picture(art, tool, colour):
    w, h = TOOL
    return document(w, h, fitted(tool_svg(art, tool, colour), 2, 2, w - 4, h - 4))


def ring(body, w, h, colour="#fff36b", radius=5):
    """A bright ring just outside the drawing's silhouette."""
    return ('<filter id="ring" filterUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
            '<feMorphology in="SourceAlpha" operator="dilate" radius="%d" result="wide"/>'
            '<feComposite in="wide" in2="SourceAlpha" operator="out" result="band"/>'
            '<feFlood flood-color="%s"/><feComposite in2="band" operator="in"/>'
            '</filter><g filter="url(#ring)">%s</g>' % (w, h, radius, colour, body))


def box_back(colour):
    """The handle and the box's dark inside, behind the tools."""
    main, dark, _ = colour
    return ('<path d="M60 34V18a8 8 0 0 1 8-8h44a8 8 0 0 1 8 8v16" fill="none" stroke="%s" stroke-width="9" '
            'stroke-linecap="round"/>'
            '<rect x="6" y="30" width="168" height="40" rx="6" fill="%s"/>'
            '<rect x="12" y="36" width="156" height="30" rx="4" fill="#3b2a1a" fill-opacity="0.55"/>'
            % (dark, dark)) if main else ""


def box_front(colour):
    """The body of the box over the tools' lower halves: a lid rim, a latch and a shadow."""
    main, dark, light = colour
    return ('<rect x="2" y="58" width="176" height="90" rx="8" fill="%s"/>'
            '<rect x="2" y="58" width="176" height="14" rx="6" fill="%s"/>'
            '<rect x="10" y="62" width="160" height="4" rx="2" fill="%s"/>'
            '<rect x="2" y="134" width="176" height="14" rx="6" fill="%s"/>'
            '<rect x="78" y="64" width="24" height="12" rx="3" fill="#d3d3d3" stroke="#5d6570" stroke-width="2"/>'
            % (main, dark, light, dark))


def sign(art, tool):
    w, h = SIGN
    return document(w, h, '<rect x="2" y="2" width="%d" height="%d" rx="8" fill="#fffdf5" stroke="#5c3b1e" '
                          'stroke-width="3"/>%s' % (w - 4, h - 4, fitted(tool_svg(art, tool, STEEL), 8, 6, w - 16,
                                                                         h - 12)))


def backdrop():
    """The shed's plank walls with a window and a pegboard, the long shelf and the plank floor."""
    parts = ['<rect width="800" height="600" fill="#c98f55"/>']
    for x in range(0, 800, 50):
        parts.append('<rect x="%d" y="0" width="50" height="300" fill="%s"/>'
                     % (x, "#cf975e" if (x // 50) % 2 else "#c48a50"))
        parts.append('<path d="M%d 0V300" stroke="#9b6535" stroke-width="3"/>' % x)
    # A window of blue sky with its cross bars, and a pegboard on either side.
    parts.append('<rect x="330" y="28" width="140" height="92" rx="6" fill="#7a4a22"/>'
                 '<rect x="340" y="38" width="120" height="72" fill="#bfe6ff"/>'
                 '<circle cx="440" cy="58" r="12" fill="#ffe27a"/>'
                 '<path d="M340 92q30-16 60 0t60 0V110H340Z" fill="#8fd16a"/>'
                 '<path d="M400 38V110M340 74H460" stroke="#7a4a22" stroke-width="6"/>')
    for x0 in (40, 560):
        parts.append('<rect x="%d" y="30" width="200" height="80" rx="4" fill="#e2b98a" stroke="#9b6535" '
                     'stroke-width="3"/>' % x0)
        for i in range(9):
            for j in range(3):
                parts.append('<circle cx="%d" cy="%d" r="2.5" fill="#9b6535"/>' % (x0 + 20 + 20 * i, 50 + 20 * j))
    # The shelf on its brackets.
    parts.append('<rect x="0" y="%d" width="800" height="18" fill="#8a5a2b"/>'
                 '<rect x="0" y="%d" width="800" height="6" fill="#a8733f"/>' % (SHELF_TOP, SHELF_TOP))
    for x in (120, 400, 680):
        parts.append('<path d="M%d %dh16v40z" fill="#6e4420"/>' % (x - 8, SHELF_TOP + 18))
    # The floor, planks running away from the viewer.
    parts.append('<rect x="0" y="300" width="800" height="300" fill="#b07a45"/>')
    parts.append('<rect x="0" y="296" width="800" height="10" fill="#6e4420"/>')
    for i in range(-6, 17):
        parts.append('<path d="M%d 306L%d 600" stroke="#8d5d31" stroke-width="3"/>' % (400 + 30 * (i - 5),
                                                                                      400 + 70 * (i - 5)))
    for y in (380, 480, 570):
        parts.append('<path d="M0 %dH800" stroke="#9a6838" stroke-width="2" stroke-opacity="0.6"/>' % y)
    return document(800, 600, "".join(parts))


def make_pictures(art, folder):
    render(backdrop(), 800, 600, os.path.join(folder, "ToolShed_Backdrop.png"))
    for t, tool in enumerate(TOOLS):
        for c, (_, colour) in enumerate(COLOURS):
            render(tool_picture(art, tool, colour), *TOOL, os.path.join(folder, "ToolShedTool_%s_%d.png" % (tool, c)))
        body = fitted(tool_svg(art, tool, COLOURS[0][1]), 2, 2, TOOL[0] - 4, TOOL[1] - 4)
        render(document(*TOOL, ring(body, *TOOL)), *TOOL, os.path.join(folder, "ToolShedTool_Rollover_%d.png" % t))
        render(sign(art, tool), *SIGN, os.path.join(folder, "ToolShedBox_Sign_%d.png" % t))
    for f, colour in enumerate([c for _, c in COLOURS] + [STEEL]):
        render(document(*BOX, box_back(colour)), *BOX, os.path.join(folder, "ToolShedBox_Back_%d.png" % f))
        render(document(*BOX, box_front(colour)), *BOX, os.path.join(folder, "ToolShedBox_Front_%d.png" % f))
    w, h = BOX[0] + 20, BOX[1] + 20
    render(document(w, h, '<rect x="3" y="14" width="%d" height="%d" rx="16" fill="none" stroke="#fff36b" '
                          'stroke-width="6" stroke-opacity="0.9"/>' % (w - 6, h - 20)), w, h,
           os.path.join(folder, "ToolShedBox_Rollover.png"))


def manifest():
    out = ['<?xml version="1.0"?>\n',
           "<!-- The tool-shed game: pictures, the tools' sprite types, layouts, tuning and levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_tool_shed_art.py). -->\n",
           "<manifest>\n",
           '  <image name="ToolShed_Backdrop" src="ToolShed_Backdrop"/>\n',
           '  <image name="ToolShedBox_Rollover" src="ToolShedBox_Rollover"/>\n']
    lists = [("ToolShedTool_%s_Frames" % tool, "ToolShedTool_%s" % tool, len(COLOURS)) for tool in TOOLS]
    lists += [("ToolShedTool_Rollover", "ToolShedTool_Rollover", len(TOOLS)),
              ("ToolShedBox_Sign", "ToolShedBox_Sign", len(TOOLS)),
              ("ToolShedBox_Back", "ToolShedBox_Back", len(COLOURS) + 1),
              ("ToolShedBox_Front", "ToolShedBox_Front", len(COLOURS) + 1)]
    for name, files, count in lists:
        out.append('  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="%d"/>\n' % (name, files, count - 1))
    # A tool's sprite type shows the frame of its colour under the colour's name.
    for tool in TOOLS:
        out.append('  <spritetype name="ToolShedTool_%s" images="ToolShedTool_%s_Frames">\n' % (tool, tool))
        out += ['    <animation name="%s" frameList="%d" fps="1" numPlays="0"/>\n' % (name, i)
                for i, (name, _) in enumerate(COLOURS)]
        out.append("  </spritetype>\n")
    out.append('  <vector2f name="ToolShed_ThrowFrom" x="%d" y="%d"/>\n' % THROW_FROM)
    out.append('  <float name="ToolShed_ThrowInterval" value="0.18"/>\n')
    out.append('  <float name="ToolShed_FlightTime" value="0.9"/>\n')
    out.append('  <float name="ToolShed_ReturnTime" value="0.35"/>\n')
    # A parent moves its children but does not scale their places: these are pixels inside the box.
    out.append('  <vector2farray name="ToolShed_BoxToolOffsets">%s</vector2farray>\n'
               % "".join('<vector2f x="%d" y="%d"/>' % at for at in BOX_TOOL_OFFSETS))
    rows = ""
    for count, xs in ROWS.items():
        rows += '          <scenenode nodeName="Boxes_%d">\n' % count
        rows += "".join('            <scenenode nodeName="Box_%d" x="%d" y="%d"/>\n' % (i + 1, x, SHELF_TOP - BOX[1])
                        for i, x in enumerate(xs))
        rows += "          </scenenode>\n"
    spots = "".join('          <scenenode nodeName="Spot_%d" x="%d" y="%d"/>\n' % (i + 1, x, y)
                    for i, (x, y) in enumerate(SPOTS))
    out.append('  <scenelayout name="ToolShedModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="ToolShed_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <scenenode nodeName="Shelf">\n' + rows +
               "        </scenenode>\n"
               '        <scenenode nodeName="Floor">\n' + spots +
               "        </scenenode>\n"
               '        <scenenode nodeName="ToolShed_ClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    out.append('  <scenelayout name="ToolShedItemLayout">\n'
               '    <scenenode nodeName="ToolShedItem" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="rolloverNode"/>\n'
               '      <animatedspritenode nodeName="imageNode" spriteType="ToolShedTool_Hammer" initialAnimation="Red"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % TOOL)
    # From the back: the glow, the handle and inside, the tools put in, the body, its sign, and over all
    # the area a carried tool is dropped on.
    out.append('  <scenelayout name="ToolShedToolBoxLayout">\n'
               '    <scenenode nodeName="ToolShedToolBox" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="rolloverNode" src="ToolShedBox_Rollover" x="-10" y="-10"/>\n'
               '      <staticspritenode nodeName="boxBack"/>\n'
               '      <scenenode nodeName="contents" scaleX="%g" scaleY="%g"/>\n'
               '      <staticspritenode nodeName="boxFront"/>\n'
               '      <staticspritenode nodeName="sign" x="%d" y="%d"/>\n'
               '      <scenenode nodeName="dropArea" width="%d" height="%d"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (BOX + (IN_BOX_SCALE, IN_BOX_SCALE) + SIGN_AT + BOX))
    for name, difficulty, sort_by, boxes, tools in LEVELS:
        out.append('  <ToolShedLevel name="%s" difficulty="%s" sortBy="%s">\n' % (name, difficulty, sort_by))
        key = "type" if sort_by == "Type" else "color"
        out += ['    <Box %s="%s"/>\n' % (key, box) for box in boxes]
        out += ['    <Tool type="%s" color="%s"/>\n' % tool for tool in tools]
        out.append("  </ToolShedLevel>\n")
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    make_pictures(art, os.path.join(data, "toolshed"))
    write(os.path.join(data, "ToolShedMode.xml"), manifest())


if __name__ == "__main__":
    main()
