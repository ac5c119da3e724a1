#!/usr/bin/python3
"""Draws the hammering game's pictures and writes its manifest: pictures, layouts, constants, levels.

Usage: make_hammer_art.py [--manifests-only] <art folder> <data folder>

The tools are Fluent Emoji Flat's wrench and screwdriver, painted in the four tool colours; a badge on
the handle tells the cross-head ("DriverPlus") from the flat screwdriver ("DriverMinus"), and the screw
heads carry the same mark. Bolts (a hex head over a threaded shank) and screws are our own drawings (art/own/fixit_*).
A nail's frame k shows it standing out k strokes above the wood.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import TOOL_BLUE, TOOL_GREEN, TOOL_RED, TOOL_STEEL, TOOL_YELLOW, arguments, document, inner, read, recolour, render, tool_drawing, write  # noqa: E402

TOOLS = ("Wrench", "DriverPlus", "DriverMinus")
# Name: (main, dark, light), in the game's colour order.
COLOURS = (("Red", TOOL_RED), ("Green", TOOL_GREEN), ("Blue", TOOL_BLUE), ("Yellow", TOOL_YELLOW))
MAX_STROKES = 3

# A tool in the box and its rollover glow; the wrench in hand swings about its jaw at the left edge.
BOX = (160, 90)
HAND_WRENCH = (170, 64)
WRENCH_JAW = 17
# The screwdriver in hand points down; its tip is at the bottom middle.
HAND_DRIVER = (80, 170)
DRIVER_TIP = (40, 166)
# A nail stands on the wood at BOARD; each stroke left raises it by STEP.
NAIL = (100, 140)
BOARD = 122
NAIL_MIN = {"bolt": 22, "screw": 28}
STEP = 22

INK = "#3b2a1a"
MARKS = {
    # (badge symbol, slot on a screw head), drawn in the dark ink and bold, so a child tells them apart
    # at a glance.
    "DriverPlus": ('<path d="M-6 -2.2h12v4.4h-12zM-2.2 -6h4.4v12h-4.4z" fill="%s"/>' % INK,
                   '<rect x="9" y="7.5" width="42" height="7" rx="2.5" fill="%s"/>'
                   '<rect x="26.5" y="1.5" width="7" height="19" rx="2.5" fill="%s"/>' % (INK, INK)),
    "DriverMinus": ('<path d="M-6 -2.2h12v4.4h-12z" fill="%s"/>' % INK,
                    '<rect x="7" y="7.5" width="46" height="7" rx="2.5" fill="%s"/>' % INK),
}


def turned(body, cx, cy, scale, degrees, size=32):
    """A 32-unit drawing centred on (cx, cy), scaled and turned about its middle."""
    return ('<g transform="translate(%g %g) rotate(%g) scale(%g) translate(%g %g)">%s</g>'
            % (cx, cy, degrees, scale, -size / 2, -size / 2, body))


def painted_wrench(art, colour):
    """Every game's one wrench, painted, with its dark edge."""
    return inner(tool_drawing(art, "Wrench", colour))[0]


def painted_driver(art, tool, colour, upright=45):
    """The screwdriver (tip towards the top-left of its 32-unit box) with the badge on its handle, its
    mark turned by `upright` so that it stands level once the drawing is turned."""
    main, dark, _ = colour
    body = inner(recolour(read(os.path.join(art, "fluent", "screwdriver.svg")), {"#f70a8d": main, "#ca0b4a": dark}))[0]
    badge = ('<g transform="translate(23.2 23.2) rotate(%g) scale(0.52)"><circle r="8" fill="#ffffff" stroke="%s" '
             'stroke-width="1.5"/>%s</g>' % (upright, dark, MARKS[tool][0]))
    return body + badge


def tool_body(art, tool, colour):
    return painted_wrench(art, colour) if tool == "Wrench" else painted_driver(art, tool, colour)


def in_box(art, tool, colour):
    """Lying in its compartment, the working end to the left."""
    w, h = BOX
    return turned(tool_body(art, tool, colour), w / 2, h / 2, 4.1, -45)


def glow(body, w, h):
    """A bright ring just outside the drawing's silhouette, drawn over it without hiding it."""
    return ('<filter id="ring" filterUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
            '<feMorphology in="SourceAlpha" operator="dilate" radius="5" result="wide"/>'
            '<feComposite in="wide" in2="SourceAlpha" operator="out" result="band"/>'
            '<feFlood flood-color="#fff36b"/><feComposite in2="band" operator="in"/>'
            '</filter><g filter="url(#ring)">%s</g>' % (w, h, body))


def wrench_in_hand(art, colour):
    """Its jaw's ring centred WRENCH_JAW pixels right of the left edge, the handle to the right."""
    w, h = HAND_WRENCH
    # The ring's centre lies 52 pixels left of the drawing's middle at this size.
    return turned(painted_wrench(art, colour), WRENCH_JAW + 52, h / 2, 4.1, -45)


def driver_frame(art, tool, colour, frame):
    """Tip down; frames 1 to 3 rock the handle and sweep a turning arc round it."""
    w, h = HAND_DRIVER
    rock = (0, -4, 0, 4)[frame]
    body = turned(painted_driver(art, tool, colour, 135), w / 2, h / 2 + 2, 4.6, -135)
    arc = ""
    if frame:
        # A bright streak sweeps across the lower handle, left to right, as it turns.
        x0 = 20 + 12 * frame
        arc = ('<path d="M%d 66q6 5 14 4" fill="none" stroke="#ffffff" stroke-width="4" '
               'stroke-linecap="round" stroke-opacity="0.8"/>' % x0)
    return '<g transform="rotate(%g %g %g)">%s</g>%s' % (rock, DRIVER_TIP[0], DRIVER_TIP[1], body, arc)


def bolt(art, colour):
    """The bolt standing upright, hex head on top, its top at 0."""
    main, dark, light = colour
    svg = read(os.path.join(art, "own", "fixit_bolt.svg"))
    svg = svg.replace("{MAIN}", main).replace("{DARK}", dark).replace("{LIGHT}", light)
    return '<g transform="translate(20 0)">%s</g>' % inner(svg)[0]


def screw(art, tool, colour):
    main, dark, _ = colour
    svg = read(os.path.join(art, "own", "fixit_screw.svg"))
    svg = svg.replace("{MAIN}", main).replace("{DARK}", dark).replace("{SLOT}", MARKS[tool][1])
    return '<g transform="translate(20 0)">%s</g>' % inner(svg)[0]


def nail_top(tool, strokes):
    """Where the nail's top edge is in its picture with `strokes` left."""
    return BOARD - NAIL_MIN["bolt" if tool == "Wrench" else "screw"] - STEP * strokes


def nail_frame(art, tool, colour, strokes):
    w, h = NAIL
    body = bolt(art, colour) if tool == "Wrench" else screw(art, tool, colour)
    top = nail_top(tool, strokes)
    hole = '<ellipse cx="50" cy="%d" rx="24" ry="6" fill="#5c3515" fill-opacity="0.55"/>' % BOARD
    return ('<clipPath id="above"><rect x="0" y="0" width="%d" height="%d"/></clipPath>%s'
            '<g clip-path="url(#above)"><g transform="translate(0 %d)">%s</g></g>' % (w, BOARD, hole, top, body))


def foreman(art):
    """The foreman holding a wrench, as he stands beside the work: the game's wrench in plain steel, so
    that it matches no bolt's colour."""
    worker = inner(read(os.path.join(art, "fluent", "construction_worker.svg")))[0]
    wrench = painted_wrench(art, TOOL_STEEL)
    return ('<g transform="scale(4.4)">%s</g><g transform="translate(84 70) scale(2.2)">%s</g>' % (worker, wrench))


def make_pictures(art, folder):
    for tool in TOOLS:
        for index, (_, colour) in enumerate(COLOURS):
            render(document(*BOX, in_box(art, tool, colour)), *BOX,
                   os.path.join(folder, "FixIt_Tool_InBox_%s_%d.png" % (tool, index)))
            for strokes in range(MAX_STROKES + 1):
                name = "FixIt_Nail_%s_%s_%d.png" % (tool, COLOURS[index][0], strokes)
                render(document(*NAIL, nail_frame(art, tool, colour, strokes)), *NAIL, os.path.join(folder, name))
        render(document(*BOX, glow(in_box(art, tool, COLOURS[0][1]), *BOX)), *BOX,
               os.path.join(folder, "FixIt_Tool_InBox_rollover_%d.png" % TOOLS.index(tool)))
    for index, (name, colour) in enumerate(COLOURS):
        render(document(*HAND_WRENCH, wrench_in_hand(art, colour)), *HAND_WRENCH,
               os.path.join(folder, "FixIt_Tool_InHand_Wrench_%d.png" % index))
        for tool in TOOLS[1:]:
            for frame in range(4):
                render(document(*HAND_DRIVER, driver_frame(art, tool, colour, frame)), *HAND_DRIVER,
                       os.path.join(folder, "FixIt_Tool_InHand_%s_%s_%d.png" % (tool, name, frame)))
    render(read(os.path.join(art, "own", "fixit_backdrop.svg")), 800, 600, os.path.join(folder, "FixIt_Backdrop.png"))
    render(read(os.path.join(art, "own", "fixit_toolbox.svg")), 800, 170, os.path.join(folder, "FixIt_Toolbox.png"))
    render(document(150, 150, foreman(art)), 150, 150, os.path.join(folder, "FixIt_Foreman.png"))
    render(read(os.path.join(art, "own", "fixit_mouth.svg")), 24, 16, os.path.join(folder, "FixIt_ForemanMouth.png"))


def offsets(tool):
    """Where the copy in hand sits on a nail with n strokes left, from the nail's top-left corner."""
    rows = []
    for n in range(MAX_STROKES + 1):
        top = nail_top(tool, n)
        if tool == "Wrench":
            # The jaw grips the bolt's head.
            x, y = 50 - WRENCH_JAW, top + 10 - HAND_WRENCH[1] / 2
        else:
            x, y = 50 - DRIVER_TIP[0], top + 10 - DRIVER_TIP[1]
        rows.append('<vector2f x="%g" y="%g"/>' % (x, y))
    return "".join(rows)


# The levels: (tools named first, nails as (type, colour, strokes, x, y)). Each nail's 100 by 140
# picture lies apart from the others, above the box, clear of the foreman and low enough that a
# screwdriver held on it stays on the screen.
LEVELS = {
    "Easy": [
        ([], [("Wrench", "Red", 1, 160, 150), ("Wrench", "Red", 1, 400, 250)]),
        ([], [("DriverPlus", "Blue", 2, 280, 200)]),
        ([("Wrench", "Yellow")], [("DriverMinus", "Green", 1, 160, 150), ("DriverMinus", "Green", 2, 400, 240)]),
    ],
    "Medium": [
        ([], [("Wrench", "Blue", 2, 80, 140), ("DriverPlus", "Yellow", 2, 280, 280), ("Wrench", "Blue", 1, 480, 140)]),
        ([("DriverPlus", "Red")], [("DriverMinus", "Red", 2, 140, 260), ("Wrench", "Green", 2, 400, 150)]),
        ([], [("DriverPlus", "Green", 1, 80, 140), ("DriverMinus", "Green", 2, 260, 280),
              ("DriverPlus", "Green", 2, 440, 150)]),
    ],
    "Hard": [
        ([], [("Wrench", "Red", 3, 40, 140), ("Wrench", "Blue", 2, 180, 285), ("DriverPlus", "Red", 2, 320, 140),
              ("DriverMinus", "Blue", 3, 460, 285)]),
        ([("Wrench", "Yellow")], [("DriverPlus", "Yellow", 3, 40, 285), ("DriverMinus", "Yellow", 2, 180, 140),
                                  ("Wrench", "Green", 3, 320, 285), ("DriverPlus", "Yellow", 1, 460, 140)]),
        ([], [("DriverMinus", "Red", 2, 40, 140), ("DriverPlus", "Blue", 3, 160, 285), ("Wrench", "Yellow", 2, 280, 140),
              ("DriverMinus", "Green", 3, 400, 285), ("Wrench", "Yellow", 1, 520, 140)]),
    ],
}


def levels():
    out = []
    for difficulty, rows in LEVELS.items():
        for number, (tools, nails) in enumerate(rows, 1):
            out.append('  <HammerTheNailLevel name="HammerTheNail_%s_%d" difficulty="%s">' % (difficulty, number,
                                                                                             difficulty))
            out += ['    <Tool type="%s" color="%s"/>' % tool for tool in tools]
            out += ['    <Nail type="%s" color="%s" clickCount="%d" x="%d" y="%d"/>' % nail for nail in nails]
            out.append("  </HammerTheNailLevel>")
    return "\n".join(out) + "\n"


MANIFEST = """\
<?xml version="1.0"?>
<!-- The hammering game: pictures, layouts, tuning and levels. Made by tools/make_content.sh
     (tools/content/make_hammer_art.py). -->
<manifest>
  <image name="FixIt_Backdrop" src="FixIt_Backdrop"/>
  <image name="FixIt_Toolbox" src="FixIt_Toolbox"/>
  <image name="FixIt_Foreman" src="FixIt_Foreman"/>
  <image name="FixIt_ForemanMouth" src="FixIt_ForemanMouth"/>
%(lists)s
  <float name="FixIt_ToolSpinTime" value="0.6"/>
  <vector2farray name="WrenchToolAttachOffset">%(wrench)s</vector2farray>
  <vector2farray name="ScrewToolAttachOffset">%(screw)s</vector2farray>
  <!-- The wrench turns about its left edge: these moves keep its jaw on the bolt. -->
  <vector2farray name="WrenchCounterRotationPath">%(path)s</vector2farray>
  <!-- The put-back area lies under everything it may be pressed through; the input mask over the
       playfield's objects, under the buttons; the tool in hand above all but the buttons. -->
  <scenelayout name="HammerTheNailModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <staticspritenode nodeName="Backdrop" src="FixIt_Backdrop"/>
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="DropItem_ClickMask" width="800" height="600" visible="false"/>
        <staticspritenode nodeName="Toolbox" src="FixIt_Toolbox" x="6" y="428"/>
        <scenenode nodeName="MaterialSources">
          <scenenode nodeName="Source_1" x="26" y="446" width="%(bw)d" height="%(bh)d"/>
          <scenenode nodeName="Source_2" x="214" y="446" width="%(bw)d" height="%(bh)d"/>
          <scenenode nodeName="Source_3" x="402" y="446" width="%(bw)d" height="%(bh)d"/>
          <scenenode nodeName="Source_4" x="590" y="446" width="%(bw)d" height="%(bh)d"/>
        </scenenode>
        <scenenode nodeName="MaterialTargets" width="800" height="430"/>
        <staticspritenode nodeName="InGameForeman" src="FixIt_Foreman" x="640" y="270" visible="false">
          <staticspritenode nodeName="mouth" src="FixIt_ForemanMouth" x="%(mx)d" y="%(my)d" visible="false"/>
        </staticspritenode>
        <scenenode nodeName="MaskInput_ClickMask" width="800" height="600" visible="false"/>
      </scenenode>
      <scenenode nodeName="FX_Layer" width="800" height="600"/>
      <scenenode nodeName="UI_attach" width="800" height="600">
        <buttonnode nodeName="HelpButton" name="HelpButton" images="Button_GameHelp" sounds="WidgetSounds" x="636" y="6" visible="false"/>
        <buttonnode nodeName="QuitButton" name="QuitButton" images="Button_GameQuit" sounds="WidgetSounds" x="716" y="6" visible="false"/>
      </scenenode>
    </scenenode>
  </scenelayout>
  <!-- A tool in its compartment: the glow over the picture shows only round its edge. -->
  <scenelayout name="ToolLayout">
    <scenenode nodeName="Tool" width="%(bw)d" height="%(bh)d">
      <staticspritenode nodeName="shapeNode" width="%(bw)d" height="%(bh)d">
        <staticspritenode nodeName="rolloverNode" visible="false"/>
      </staticspritenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="FloatingToolLayout">
    <scenenode nodeName="FloatingTool">
      <staticspritenode nodeName="WrenchAnimNode" visible="false"/>
      <animatedspritenode nodeName="DriverAnimNode" visible="false"/>
    </scenenode>
  </scenelayout>
  <scenelayout name="NailLayout">
    <scenenode nodeName="Nail" width="%(nw)d" height="%(nh)d">
      <staticspritenode nodeName="shapeNode" width="%(nw)d" height="%(nh)d"/>
    </scenenode>
  </scenelayout>
%(levels)s</manifest>
"""


def counter_rotation():
    """Where the wrench moves at each quarter of its turn from -45 to +45 degrees (clockwise), so that
    its jaw, WRENCH_JAW pixels along from the pivot, stays where it was at 0 degrees."""
    rows = []
    for quarter in range(1, 5):
        turn = math.radians(-45 + 22.5 * quarter)
        rows.append('<vector2f x="%.1f" y="%.1f"/>' % (WRENCH_JAW * (1 - math.cos(turn)) + 0.0,
                                                       -WRENCH_JAW * math.sin(turn) + 0.0))
    return "".join(rows)


def manifest(data):
    lists = []
    for tool in TOOLS:
        lists.append('  <imagelist name="FixIt_Tool_InBox_%s" pattern="FixIt_Tool_InBox_%s_%%1%%" first="0" last="3"/>'
                     % (tool, tool))
        for name, _ in COLOURS:
            lists.append('  <imagelist name="FixIt_Nail_%s_%s" pattern="FixIt_Nail_%s_%s_%%1%%" first="0" last="%d"/>'
                         % (tool, name, tool, name, MAX_STROKES))
    lists.append('  <imagelist name="FixIt_Tool_InBox_rollover" pattern="FixIt_Tool_InBox_rollover_%1%" first="0" '
                 'last="2"/>')
    # The wrench swings through a quarter turn on each stroke: 10 degree steps for the software canvas.
    lists.append('  <imagelist name="FixIt_Tool_InHand_Wrench" pattern="FixIt_Tool_InHand_Wrench_%1%" first="0" '
                 'last="3" rotations="36"/>')
    for tool in TOOLS[1:]:
        for name, _ in COLOURS:
            frames = "FixIt_Tool_InHand_%s_%s" % (tool, name)
            lists.append('  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="3"/>' % (frames, frames))
            # "Rotate" plays twice round and stops: the stroke waits for its end.
            lists.append('  <spritetype name="SpriteType_%s_%s" images="%s">\n'
                         '    <animation name="Normal" frameList="0" fps="1" numPlays="0"/>\n'
                         '    <animation name="Rotate" frameList="1,2,3,1,2,3,0" fps="12" numPlays="1"/>\n'
                         '  </spritetype>' % (tool, name, frames))
    text = MANIFEST % dict(lists="\n".join(lists), wrench=offsets("Wrench"), screw=offsets("DriverPlus"), path=counter_rotation(),
                           bw=BOX[0], bh=BOX[1], nw=NAIL[0], nh=NAIL[1], mx=58, my=69, levels=levels())
    write(os.path.join(data, "HammerTheNailMode.xml"), text)


def main():
    art, data = arguments(__doc__, 2)
    make_pictures(art, os.path.join(data, "hammer"))
    manifest(data)


if __name__ == "__main__":
    main()
