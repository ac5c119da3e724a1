#!/usr/bin/python3
"""Draws the delivery game's pictures and writes its whole manifest: pictures, layouts, the truck's
sprite type, the street's tuning constants and the levels.

Usage: make_delivery_art.py [--manifests-only] <art folder> <data folder>

The street has three roads with four house plots above each, and a loading row at the bottom with four
cage spots; the truck comes home from the row's right-hand end. One table of places below feeds the
backdrop, the layout and the constants, so the pictures and the places the truck drives to agree. The
animals, the houses, the truck and the building sites are Fluent Emoji; the cage, the flag and the
shapes are our own (art/own/htt_*.svg); the backdrop is drawn here.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, fitted, inner, read, recolour, render, write  # noqa: E402

# The plots: four columns on each of three rows; each row's road runs just below it.
PLOT_X = (30, 185, 340, 495)
ROW_TOP = (96, 212, 328)
PLOT_W, PLOT_H = 130, 100
# Where the truck's wheels touch each road (the truck's place is the middle of its bottom edge).
ROAD_Y = tuple(top + PLOT_H + 12 for top in ROW_TOP)
# The loading row: the cage spots and the truck's line along it.
CAGE_X = (90, 200, 310, 420)
CAGE_Y = 470
CAGE = 80
LOADING_Y = 578
IDLE_X = 650
# Beyond either edge, where a truck 150 wide is out of sight.
OFF_LEFT, OFF_RIGHT = -100, 900
TRUCK_W, TRUCK_H = 150, 116
# The truck drawing fills a TRUCK_W box from TRUCK_TOP down to its wheels' bottom at TRUCK_WHEELS; it
# is lowered by TRUCK_DROP into its frame, so its wheels end 2 pixels above the frame's bottom and its
# box stays inside the frame's top however high it bobs (BOB).
TRUCK_TOP, TRUCK_WHEELS, BOB = 32, 141, 3
TRUCK_DROP = TRUCK_H - 2 - TRUCK_WHEELS
# How far below the truck's place its wheels' bottom shows (on the far side of the road's grey band).
WHEELS_BELOW = 6
TRUCK_Y = WHEELS_BELOW - (TRUCK_H - 2)
# The animal's cage stands this far above the truck's top.
RIDE = 42
HOUSE = 100
# The four colours in the game's table order (Blue, Green, Purple, Yellow): fill and edge.
COLOURS = (("#2f6fe8", "#1b4aa8"), ("#2fb344", "#1d7a2c"), ("#9b4fd6", "#62279a"), ("#ffd60a", "#b08c00"))
# The shapes in the game's table order, with their image list names.
SHAPES = (("htt_shape_square.svg", "HereToThere_Rectangle"), ("htt_shape_circle.svg", "HereToThere_Circle"),
          ("htt_shape_triangle.svg", "HereToThere_Triangle"), ("htt_shape_star.svg", "HereToThere_Star"))
# Marks a child tells apart at a glance: about a finger wide. On a cage the mark hangs on a tag above
# the roof, so that it hides none of the animal; the cage's picture reaches TAG above the cage.
SHAPE = 44
TAG = 46
ANIMALS = ("penguin", "monkey", "lion")
# Roof and wall colours of the house variants; none uses a flag colour, so only the flag tells houses apart.
HOUSES = (("#f8312f", "#f3c07b"), ("#8c3b1f", "#f6e3c0"), ("#ff822d", "#e9d7b8"))

# (name, difficulty, numBuildings, matchColor, animals as (shape, colour)): three levels a difficulty.
# Easy matches colours alone among few houses; Hard needs shape and colour among a full street.
LEVELS = (
    ("HereToThere_Easy_1", "Easy", 3, True, (("Square", "Blue"), ("Star", "Yellow"))),
    ("HereToThere_Easy_2", "Easy", 4, True, (("Circle", "Green"), ("Triangle", "Purple"))),
    ("HereToThere_Easy_3", "Easy", 4, True, (("Star", "Blue"), ("Square", "Green"))),
    ("HereToThere_Medium_1", "Medium", 6, True, (("Square", "Blue"), ("Circle", "Green"), ("Star", "Yellow"))),
    ("HereToThere_Medium_2", "Medium", 7, True, (("Triangle", "Purple"), ("Square", "Yellow"), ("Circle", "Blue"))),
    ("HereToThere_Medium_3", "Medium", 6, False, (("Star", "Green"), ("Triangle", "Blue"), ("Circle", "Purple"))),
    ("HereToThere_Hard_1", "Hard", 10, False,
     (("Square", "Blue"), ("Circle", "Blue"), ("Star", "Green"), ("Triangle", "Yellow"))),
    ("HereToThere_Hard_2", "Hard", 12, False,
     (("Star", "Purple"), ("Star", "Yellow"), ("Square", "Purple"), ("Circle", "Green"))),
    ("HereToThere_Hard_3", "Hard", 11, False,
     (("Triangle", "Blue"), ("Triangle", "Green"), ("Circle", "Yellow"), ("Square", "Purple"))),
)


def cage_with_tag(cage):
    """The cage with a white tag hung above its roof, where its mark goes (CAGE wide, CAGE + TAG high)."""
    x = (CAGE - SHAPE) / 2
    tag = ('<rect x="%g" y="%d" width="6" height="14" fill="#6b7178"/>' % (CAGE / 2 - 3, TAG - 4) +
           '<rect x="%g" y="1" width="%d" height="%d" rx="9" fill="#ffffff" stroke="#6b7178" stroke-width="2"/>'
           % (x - 2, SHAPE + 4, TAG - 2))
    return document(CAGE, CAGE + TAG, tag + '<g transform="translate(0 %d)">%s</g>' % (TAG, inner(cage)[0]))


def backdrop():
    """Grass, three roads with dashed middle lines, a pavement before each row of plots, and the
    concrete loading row with a pad under each cage spot."""
    parts = ['<rect width="800" height="600" fill="#9ad46f"/>',
             '<rect y="0" width="800" height="70" fill="#bfe6ff"/>',
             '<path d="M0 70Q120 52 240 66T480 62T800 68V74H0Z" fill="#7fc25a"/>']
    for top, road in zip(ROW_TOP, ROAD_Y):
        parts.append('<rect y="%d" width="800" height="%d" fill="#e3dccd"/>' % (top + PLOT_H - 8, 12))
        parts.append('<rect y="%d" width="800" height="%d" fill="#7d8288"/>' % (road - 18, 24))
        parts.append('<path d="M0 %dH800" stroke="#f4f4f4" stroke-width="2" stroke-dasharray="18 14"/>' % (road - 6))
    parts.append('<rect y="452" width="800" height="148" fill="#cfc7b8"/>')
    parts.append('<rect y="452" width="800" height="6" fill="#b3aa99"/>')
    parts.append('<rect y="%d" width="800" height="20" fill="#bdb4a3"/>' % (LOADING_Y - 14))
    for x in CAGE_X:
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" rx="6" fill="#b3aa99"/>'
                     % (x - 6, CAGE_Y + CAGE - 14, CAGE + 12, 22))
    return document(800, 600, "".join(parts))


def make_pictures(art, folder):
    def own(name):
        return read(os.path.join(art, "own", name))

    def fluent(name):
        return read(os.path.join(art, "fluent", name + ".svg"))

    render(backdrop(), 800, 600, os.path.join(folder, "HTT_Backdrop.png"))
    for i, animal in enumerate(ANIMALS):
        render(document(64, 64, fitted(fluent(animal), 0, 0, 64, 64)), 64, 64,
               os.path.join(folder, "HereToThere_Animal_%d.png" % i))
    render(cage_with_tag(own("htt_cage.svg")), CAGE, CAGE + TAG, os.path.join(folder, "HTT_Cage.png"))
    ring = ('<rect x="2" y="2" width="%d" height="%d" rx="10" fill="none" stroke="#fff3a0" stroke-width="5"/>'
            % (CAGE - 4, CAGE - 4))
    render(document(CAGE, CAGE, ring), CAGE, CAGE, os.path.join(folder, "HTT_Rollover.png"))
    render(own("htt_flag.svg"), 66, 80, os.path.join(folder, "HTT_Flag.png"))
    for drawing, name in SHAPES:
        svg = own(drawing)
        for c, (fill, edge) in enumerate(COLOURS):
            render(recolour(svg, {"#4a7fd0": fill, "#274f8e": edge}), SHAPE, SHAPE,
                   os.path.join(folder, "%s_%d.png" % (name, c)))
    house = fluent("house")
    for i, (roof, walls) in enumerate(HOUSES):
        svg = recolour(house, {"#f8312f": roof, "#f3c07b": walls})
        render(document(HOUSE, HOUSE, fitted(svg, 0, 0, HOUSE, HOUSE)), HOUSE, HOUSE,
               os.path.join(folder, "HereToThere_DeliveryHouses_%d.png" % i))
    site = fluent("building_construction")
    render(document(HOUSE, HOUSE, '<g opacity="0.85">%s</g>' % fitted(site, 10, 10, 80, 80)), HOUSE, HOUSE,
           os.path.join(folder, "HTT_BuildingSite.png"))
    # The truck faces left as drawn; its body bobs while it drives.
    truck = fluent("delivery_truck")
    if TRUCK_DROP + TRUCK_TOP - BOB < 1:
        raise ValueError("the bobbing truck would be cut at its frame's top")
    for i, lift in enumerate((0, 0, BOB)):
        body = '<g transform="translate(0 %g)">%s</g>' % (-lift, fitted(truck, 0, TRUCK_DROP, TRUCK_W, TRUCK_W))
        render(document(TRUCK_W, TRUCK_H, body), TRUCK_W, TRUCK_H, os.path.join(folder, "HTT_TruckFrames_%d.png" % i))


def points(name, xs, ys):
    return ('  <vector2farray name="%s">%s</vector2farray>\n'
            % (name, "".join('<vector2f x="%d" y="%d"/>' % (x, y) for x, y in zip(xs, ys))))


def manifest():
    out = ['<?xml version="1.0"?>\n',
           "<!-- The delivery game: pictures, layouts, the truck, the street's places and the levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_delivery_art.py). -->\n",
           "<manifest>\n",
           '  <image name="HTT_Backdrop" src="HTT_Backdrop"/>\n',
           '  <image name="HTT_Cage" src="HTT_Cage"/>\n',
           '  <image name="HTT_Rollover" src="HTT_Rollover"/>\n',
           '  <image name="HTT_Flag" src="HTT_Flag"/>\n',
           '  <image name="HTT_BuildingSite" src="HTT_BuildingSite"/>\n',
           '  <imagelist name="HereToThere_Animal" pattern="HereToThere_Animal_%%1%%" first="0" last="%d"/>\n'
           % (len(ANIMALS) - 1),
           '  <imagelist name="HereToThere_DeliveryHouses" pattern="HereToThere_DeliveryHouses_%%1%%" first="0" '
           'last="%d"/>\n' % (len(HOUSES) - 1)]
    for _, name in SHAPES:
        out.append('  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="%d"/>\n' % (name, name, len(COLOURS) - 1))
    out.append('  <imagelist name="HTT_TruckFrames" pattern="HTT_TruckFrames_%1%" first="0" last="2"/>\n')
    out.append('  <spritetype name="HTT_Truck" images="HTT_TruckFrames">\n'
               '    <animation name="Idle-Left" frameList="0" fps="1" numPlays="0"/>\n'
               '    <animation name="Drive-Left" frameList="1,2" fps="8" numPlays="0"/>\n'
               "  </spritetype>\n")
    # The truck's place is the middle of its bottom edge; speeds are pixels a second.
    out.append('  <float name="HaulerBackgroundDrivingSpeed" value="340"/>\n')
    out.append('  <float name="HaulerForegroundDrivingSpeed" value="380"/>\n')
    out.append('  <vector2f name="HaulerIdleLocation" x="%d" y="%d"/>\n' % (IDLE_X, LOADING_Y))
    out.append('  <vector2f name="LoadingRowEnd_Left" x="%d" y="%d"/>\n' % (OFF_RIGHT, LOADING_Y))
    out.append(points("RoadEnd_Left", (OFF_LEFT,) * 3, ROAD_Y))
    out.append(points("RoadEnd_Right", (OFF_RIGHT,) * 3, ROAD_Y))
    out.append('  <float name="RoadEndX_Left" value="%d"/>\n' % OFF_LEFT)
    out.append('  <float name="RoadEndX_Right" value="%d"/>\n' % OFF_RIGHT)
    # The playfield: the plots and cage spots in the depth-sorted layer, the click mask over them, and
    # the game's buttons above everything.
    plots = ""
    for k in range(12):
        plots += ('          <scenenode nodeName="Target_%d" x="%d" y="%d" width="%d" height="%d"/>\n'
                  % (k + 1, PLOT_X[k % 4], ROW_TOP[k // 4], PLOT_W, PLOT_H))
    for i, x in enumerate(CAGE_X):
        plots += ('          <scenenode nodeName="Source_%d" x="%d" y="%d" width="%d" height="%d"/>\n'
                  % (i + 1, x, CAGE_Y, CAGE, CAGE))
    out.append('  <scenelayout name="HereToThereModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="HTT_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <scenenode nodeName="YSorted" width="800" height="600">\n'
               + plots +
               "        </scenenode>\n"
               '        <scenenode nodeName="Material_ClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    # The truck, drawn up from its place; the animal rides on its box, behind the cab whichever way it faces.
    out.append('  <scenelayout name="HereToThereCartLayout">\n'
               '    <scenenode nodeName="HereToThereCart">\n'
               '      <animatedspritenode nodeName="imageNode" spriteType="HTT_Truck" x="%d" y="%d"/>\n'
               '      <scenenode nodeName="ObjectAttachNode" x="-12" y="%d"/>\n'
               '      <scenenode nodeName="ObjectAttachNode_Flip" x="%d" y="%d"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (-TRUCK_W // 2, TRUCK_Y, TRUCK_Y + TRUCK_DROP + TRUCK_TOP - RIDE, 12 - CAGE,
                                        TRUCK_Y + TRUCK_DROP + TRUCK_TOP - RIDE))
    # An animal in its cage: the cage's bars over the animal, the mark on the tag above the cage, the
    # glow round the cage under the pointer, and the click area over the cage.
    out.append('  <scenelayout name="HereToThereObjectLayout">\n'
               '    <scenenode nodeName="HereToThereObject" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="animal" x="8" y="14"/>\n'
               '      <scenenode nodeName="cartImageNode" width="%d" height="%d">\n'
               '        <staticspritenode nodeName="cage" src="HTT_Cage" y="%d"/>\n'
               '        <staticspritenode nodeName="shapeNode" x="%d" y="%d"/>\n'
               '        <staticspritenode nodeName="rollover" src="HTT_Rollover"/>\n'
               "      </scenenode>\n"
               '      <scenenode nodeName="clickRect" width="%d" height="%d"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (CAGE, CAGE, CAGE, CAGE, -TAG, (CAGE - SHAPE) // 2, 1 - TAG, CAGE, CAGE))
    # A house with its flag; a delivered animal is set down by its door.
    out.append('  <scenelayout name="HereToThereTargetLayout">\n'
               '    <scenenode nodeName="HereToThereTarget" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="imageNode" x="8">\n'
               '        <staticspritenode nodeName="flag" src="HTT_Flag" x="72" y="-20">\n'
               '          <staticspritenode nodeName="shapeNode" x="13" y="9"/>\n'
               "        </staticspritenode>\n"
               '        <scenenode nodeName="cageAttach" x="-8" y="-10"/>\n'
               "      </staticspritenode>\n"
               "    </scenenode>\n"
               "  </scenelayout>\n" % (PLOT_W, PLOT_H))
    out.append('  <scenelayout name="HereToThereDummyHouse">\n'
               '    <staticspritenode nodeName="HereToThereDummyHouse" src="HTT_BuildingSite" x="8"/>\n'
               "  </scenelayout>\n")
    for name, difficulty, buildings, match, animals in LEVELS:
        out.append('  <HereToThereLevel name="%s" difficulty="%s" numBuildings="%d" matchColor="%s">\n'
                   % (name, difficulty, buildings, "true" if match else "false"))
        out += ['    <Animal type="%s" color="%s"/>\n' % animal for animal in animals]
        out.append("  </HereToThereLevel>\n")
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    make_pictures(art, os.path.join(data, "delivery"))
    write(os.path.join(data, "HereToThereMode.xml"), manifest())


if __name__ == "__main__":
    main()
