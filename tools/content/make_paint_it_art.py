#!/usr/bin/python3
"""Draws the fence-painting game's pictures and writes its whole manifest: pictures, layouts, the
boards', buckets' and lift truck's sprite types and the levels.

Usage: make_paint_it_art.py [--manifests-only] <art folder> <data folder>

A fence of ten pointed boards stands across the yard, a giraffe looking over it. Below it the lift
truck drives from board to board; its scissor lift raises the foreman, who paints the board in front
of him. Three paint buckets wait on the grass at the bottom. The foreman, his brush, the giraffe and
the bucket are Fluent Emoji; the truck's chassis is ours (art/own/pi_lift.svg); the boards, the lift,
the paint and the backdrop are drawn here.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, fitted, inner, read, recolour, render, write  # noqa: E402

# Paint in the game's colour order (red, green, blue, yellow), as the brush cursors show it; each with
# a darker edge and a lighter gleam.
COLOURS = ("Red", "Green", "Blue", "Yellow")
PAINT = {"Red": ("#e8262f", "#a3141b", "#ff7a80"), "Green": ("#2fb344", "#1b7a2b", "#8fe39c"),
         "Blue": ("#2f6fe8", "#1a449c", "#8fb4ff"), "Yellow": ("#ffd60a", "#c9a400", "#fff08a")}
WOOD = ("#e9cfa3", "#b98d55", "#d7b883")
# A board's canvas; the boards stand BOARD_STEP apart (the game places them 70 apart) from FENCE_X.
BOARD_W, BOARD_H = 70, 250
FENCE_X, FENCE_Y = 50, 96
# Paint goes on in PAINT_STEPS strokes, from the top down.
PAINT_STEPS = 4
# The truck's canvas; its wheels stand on GROUND, its lift's platform is raised by LIFT pixels at most.
TRUCK_W, TRUCK_H = 170, 330
GROUND = 486
LIFT_LOW, LIFT_HIGH = 228, 100
# The truck node stands at the board's left edge; the sprite is shifted so its lift is under the board.
TRUCK_SHIFT = (BOARD_W - TRUCK_W) // 2
BUCKET = 110
BUCKET_X = (205, 345, 485)
BUCKET_Y = 486

# (name, difficulty, patterns): three levels a difficulty. Easy alternates two colours; Medium doubles
# letters and brings in a third; Hard mixes longer patterns of three colours, whose bare boards start
# past the end of the pattern.
LEVELS = (
    ("PaintIt_Easy_1", "Easy", ("AB",)),
    ("PaintIt_Easy_2", "Easy", ("AB", "A")),
    ("PaintIt_Easy_3", "Easy", ("AB", "AABB")),
    ("PaintIt_Medium_1", "Medium", ("AAB", "ABB")),
    ("PaintIt_Medium_2", "Medium", ("ABC", "AAB")),
    ("PaintIt_Medium_3", "Medium", ("ABC", "ABB", "AABB")),
    ("PaintIt_Hard_1", "Hard", ("ABC", "AABB", "ABCB")),
    ("PaintIt_Hard_2", "Hard", ("ABAC", "ABCB")),
    ("PaintIt_Hard_3", "Hard", ("AABC", "ABCC", "ABAC")),
)


def board_shape(x, y, w, h):
    """A picket: a board with a pointed top."""
    return "M%g %gL%g %gL%g %gV%gH%gZ" % (x, y + 18, x + w / 2, y, x + w, y + 18, y + h, x)


def board(colour, coverage):
    """A board, bare wood with `coverage` (0 to 1) of it painted from the top."""
    x, y, w, h = 5, 4, BOARD_W - 10, BOARD_H - 8
    shape = board_shape(x, y, w, h)
    parts = ['<clipPath id="b"><path d="%s"/></clipPath>' % shape,
             '<path d="%s" fill="%s" stroke="%s" stroke-width="3" stroke-linejoin="round"/>' % (shape, WOOD[0], WOOD[1])]
    for gx in (x + 16, x + 34, x + 46):
        parts.append('<path d="M%g %gv%g" stroke="%s" stroke-width="2" clip-path="url(#b)"/>'
                     % (gx, y + 30, h - 60, WOOD[2]))
    if coverage > 0:
        fill, edge, gleam = PAINT[colour]
        drip = y + h * coverage
        # The paint's lower edge runs in drips while the board is being painted.
        wave = "".join("Q%g %g %g %g" % (x + w * (i + 0.5) / 4, drip + (9 if i % 2 else -5), x + w * (i + 1) / 4, drip)
                       for i in range(4)) if coverage < 1 else "H%g" % (x + w)
        paint = "M%g %gV%g%sV%gZ" % (x, y - 2, drip, wave, y - 2)
        parts.append('<g clip-path="url(#b)"><path d="%s" fill="%s"/><rect x="%g" y="%g" width="7" height="%g" '
                     'fill="%s" opacity="0.7"/></g>' % (paint, fill, x + 9, y + 22, max(drip - y - 40, 0), gleam))
        parts.append('<path d="%s" fill="none" stroke="%s" stroke-width="3" stroke-linejoin="round" '
                     'clip-path="url(#b)"/>' % (shape, edge if coverage >= 1 else WOOD[1]))
    parts.append('<circle cx="%g" cy="%g" r="2.5" fill="#8a6a3a"/><circle cx="%g" cy="%g" r="2.5" fill="#8a6a3a"/>'
                 % (x + w / 2, y + 62, x + w / 2, y + h - 50))
    return document(BOARD_W, BOARD_H, "".join(parts))


def board_rollover():
    """A glowing outline round the board the next click paints."""
    shape = board_shape(3, 1, BOARD_W - 6, BOARD_H - 3)
    return document(BOARD_W, BOARD_H, '<path d="%s" fill="none" stroke="#fff35a" stroke-width="5" '
                    'stroke-linejoin="round" opacity="0.9"/>' % shape)


def bucket(art, colour):
    """A paint bucket of that colour, paint running over its rim."""
    fill, edge, gleam = PAINT[colour]
    can = recolour(read(os.path.join(art, "fluent", "bucket.svg")), {"#0074ba": fill, "#00a6ed": edge})
    body = fitted(can, 5, 8, BUCKET - 10, BUCKET - 10)
    s = (BUCKET - 10) / 32
    drips = ('<g transform="translate(5 8) scale(%g)"><ellipse cx="16" cy="7.6" rx="11.8" ry="1.6" fill="%s"/>'
             '<path d="M6 8.5q0 4 1.2 4.2t1.1-4.2zM19 8.5q0 6 1.4 6.2t1.2-6.2z" fill="%s"/></g>' % (s, gleam, fill))
    return body + drips


def bucket_shadow():
    return document(BUCKET, 24, '<ellipse cx="%g" cy="12" rx="50" ry="10" fill="#7fbf59"/>' % (BUCKET / 2))


def bucket_rollover():
    return document(BUCKET, BUCKET, '<ellipse cx="%g" cy="%g" rx="%g" ry="%g" fill="none" stroke="#fff35a" '
                    'stroke-width="6" opacity="0.9"/>' % (BUCKET / 2, BUCKET / 2 + 4, BUCKET / 2 - 4, BUCKET / 2 - 8))


def truck_frame(art, platform, arm, turn):
    """The lift truck with its platform `platform` pixels from the canvas top, the foreman's brush
    raised (`arm` 1) or lowered (0), and the wheels turned by `turn` degrees."""
    chassis = read(os.path.join(art, "own", "pi_lift.svg"))
    worker = read(os.path.join(art, "fluent", "construction_worker.svg"))
    # The foreman's brush is clean: the board shows the colour.
    brush = recolour(read(os.path.join(art, "fluent", "paintbrush.svg")), {"#ffb02e": "#eadfc4", "#f92f60": "#c68642"})
    base_y = TRUCK_H - 72
    parts = []
    # The scissor lift: crossed bars from the truck's bed up to the platform.
    left, right = 35, 125
    bottom = base_y + 22
    levels = 3
    rise = (bottom - platform - 10) / levels
    for i in range(levels):
        y0 = bottom - rise * i
        y1 = y0 - rise
        parts.append('<path d="M%g %gL%g %gM%g %gL%g %g" stroke="#6d6d6d" stroke-width="6" stroke-linecap="round"/>'
                     % (left, y0, right, y1, right, y0, left, y1))
    parts.append('<circle cx="%g" cy="%g" r="4" fill="#3b3b3b"/>' % ((left + right) / 2, bottom - rise / 2))
    # The foreman stands on the platform, brush in hand towards the board.
    parts.append(fitted(worker, 52, platform - 62, 66, 66))
    angle = -35 if arm else 10
    parts.append('<g transform="rotate(%g 62 %g)">%s</g>' % (angle, platform - 24, fitted(brush, 30, platform - 58, 40, 40)))
    parts.append('<rect x="%g" y="%g" width="110" height="10" rx="3" fill="#f5b400"/>'
                 '<path d="M%g %gv-22h110v22" fill="none" stroke="#f58a1f" stroke-width="3"/>'
                 % (30, platform, 30, platform))
    parts.append('<g transform="translate(10 %g)">%s</g>' % (base_y, inner(chassis)[0]))
    for cx in (40, 128):
        parts.append('<path d="M%g %gh12" stroke="#cfcfcf" stroke-width="3" transform="rotate(%g %g %g)"/>'
                     % (cx - 6, base_y + 54, turn, cx, base_y + 54))
    return document(TRUCK_W, TRUCK_H, "".join(parts))


def backdrop(art):
    """Sky, hills and a giraffe behind the fence's rails; the road the truck drives on and the grass
    where the buckets stand."""
    giraffe = read(os.path.join(art, "fluent", "giraffe.svg"))
    parts = ['<rect width="800" height="600" fill="#bfe6ff"/>',
             '<circle cx="90" cy="50" r="30" fill="#ffe066"/>',
             '<path d="M0 190Q160 130 330 175T640 150T800 165V600H0Z" fill="#a8d98a"/>',
             fitted(giraffe, 440, -20, 190, 190),
             '<rect y="%d" width="800" height="%d" fill="#9ad46f"/>' % (FENCE_Y + 150, 600 - FENCE_Y - 150)]
    for ry in (FENCE_Y + 60, FENCE_Y + BOARD_H - 70):
        parts.append('<rect x="%d" y="%d" width="%d" height="16" rx="4" fill="#c9a46c" stroke="#8a6a3a" '
                     'stroke-width="2"/>' % (FENCE_X - 10, ry, 10 * BOARD_W + 20))
    parts.append('<rect y="%d" width="800" height="34" fill="#cfc7b8"/>' % (GROUND - 22))
    parts.append('<rect y="%d" width="800" height="4" fill="#b3aa99"/>' % (GROUND - 22))
    return document(800, 600, "".join(parts))


def make_pictures(art, folder):
    render(backdrop(art), 800, 600, os.path.join(folder, "PI_Backdrop.png"))
    render(board_rollover(), BOARD_W, BOARD_H, os.path.join(folder, "PI_BoardRollover.png"))
    render(bucket_rollover(), BUCKET, BUCKET, os.path.join(folder, "PI_BucketRollover.png"))
    render(bucket_shadow(), BUCKET, 24, os.path.join(folder, "PI_BucketShadow.png"))
    for c, colour in enumerate(COLOURS):
        for step in range(PAINT_STEPS + 1):
            render(board(colour, step / PAINT_STEPS), BOARD_W, BOARD_H,
                   os.path.join(folder, "PI_Board_%s_%d.png" % (colour, step)))
        render(document(BUCKET, BUCKET, bucket(art, colour)), BUCKET, BUCKET,
               os.path.join(folder, "PaintIt_PaintBucket_%d.png" % c))
    # 0 standing, 1 driving, 2 to 4 the lift going up, 5 and 6 the brush up and down at the top.
    high = (LIFT_LOW, LIFT_LOW, LIFT_LOW - (LIFT_LOW - LIFT_HIGH) / 3, LIFT_LOW - 2 * (LIFT_LOW - LIFT_HIGH) / 3,
            LIFT_HIGH, LIFT_HIGH, LIFT_HIGH)
    for i, platform in enumerate(high):
        render(truck_frame(art, platform, i == 5, 45 if i == 1 else 0), TRUCK_W, TRUCK_H,
               os.path.join(folder, "PI_Truck_%d.png" % i))


def manifest():
    out = ['<?xml version="1.0"?>\n',
           "<!-- The fence-painting game: pictures, layouts, the boards, the buckets, the lift truck and the\n"
           "     levels. Made by tools/make_content.sh (tools/content/make_paint_it_art.py). -->\n",
           "<manifest>\n",
           '  <image name="PI_Backdrop" src="PI_Backdrop"/>\n',
           '  <image name="PI_BoardRollover" src="PI_BoardRollover"/>\n',
           '  <image name="PI_BucketRollover" src="PI_BucketRollover"/>\n',
           '  <image name="PI_BucketShadow" src="PI_BucketShadow"/>\n',
           '  <imagelist name="PaintIt_PaintBucket" pattern="PaintIt_PaintBucket_%%1%%" first="0" last="%d"/>\n'
           % (len(COLOURS) - 1),
           '  <imagelist name="PI_Truck" pattern="PI_Truck_%1%" first="0" last="6"/>\n']
    # Every animation the game waits for ends: the paint strokes and the lift's rise and fall play once.
    for colour in COLOURS:
        out.append('  <imagelist name="PI_Board_%s" pattern="PI_Board_%s_%%1%%" first="0" last="%d"/>\n'
                   % (colour, colour, PAINT_STEPS))
        out.append('  <spritetype name="FenceSpriteType_%s" images="PI_Board_%s">\n'
                   '    <animation name="Unpainted" frameList="0" fps="1" numPlays="0"/>\n'
                   '    <animation name="Painted" frameList="%d" fps="1" numPlays="0"/>\n'
                   '    <animation name="AddPaint" frameList="0,1,2,3,4,4" fps="5" numPlays="1" '
                   'linkedAnimation="Painted"/>\n'
                   '    <animation name="RemovePaint" frameList="4,3,2,1,0,0" fps="5" numPlays="1" '
                   'linkedAnimation="Unpainted"/>\n'
                   "  </spritetype>\n" % (colour, colour, PAINT_STEPS))
    out.append('  <spritetype name="PI_Truck_SpriteType" images="PI_Truck">\n'
               '    <animation name="Idle" frameList="0" fps="1" numPlays="0"/>\n'
               '    <animation name="Drive" frameList="0,1" fps="8" numPlays="0"/>\n'
               '    <animation name="Raise" frameList="2,3,4" fps="5" numPlays="1"/>\n'
               '    <animation name="ForemanPaint" frameList="5,6" fps="4" numPlays="0"/>\n'
               '    <animation name="Lower" frameList="4,3,2" fps="5" numPlays="1" linkedAnimation="Idle"/>\n'
               "  </spritetype>\n")
    # The playfield: the fence and its click area, the truck in front of it, the buckets and the click
    # mask over them all; the game's buttons above everything.
    buckets = "".join('        <scenenode nodeName="Bucket%d" x="%d" y="%d"/>\n' % (k + 1, x, BUCKET_Y)
                      for k, x in enumerate(BUCKET_X))
    out.append('  <scenelayout name="PaintTheHouseModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="PI_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <scenenode nodeName="HouseRoot" x="%d" y="%d"/>\n'
               '        <scenenode nodeName="FenceClickRect" x="%d" y="%d" width="%d" height="%d"/>\n'
               '        <scenenode nodeName="AnimNodeRoot" x="%d" y="%d">\n'
               '          <animatedspritenode nodeName="ReachAnimNode" spriteType="PI_Truck_SpriteType" '
               'initialAnimation="Idle" x="%d"/>\n'
               "        </scenenode>\n"
               % (FENCE_X, FENCE_Y, FENCE_X, FENCE_Y, 10 * BOARD_W, BOARD_H, FENCE_X + 6 * BOARD_W,
                  GROUND - TRUCK_H + 14, TRUCK_SHIFT)
               + buckets +
               '        <scenenode nodeName="MouseInput_ClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    # A bucket stands on its shadow; a board is bare until the game gives it its colour.
    out.append('  <scenelayout name="HousePaintBucketLayout">\n'
               '    <scenenode nodeName="HousePaintBucket" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="shadow" src="PI_BucketShadow" y="%d"/>\n'
               '      <staticspritenode nodeName="imageNode">\n'
               '        <staticspritenode nodeName="rollover" src="PI_BucketRollover" visible="false"/>\n'
               "      </staticspritenode>\n"
               "    </scenenode>\n"
               "  </scenelayout>\n" % (BUCKET, BUCKET, BUCKET - 18))
    out.append('  <scenelayout name="HouseStripeLayout">\n'
               '    <scenenode nodeName="HousePaintStripe" width="%d" height="%d">\n'
               '      <animatedspritenode nodeName="imageNode" spriteType="FenceSpriteType_Red" '
               'initialAnimation="Unpainted">\n'
               '        <staticspritenode nodeName="rollover" src="PI_BoardRollover" visible="false"/>\n'
               "      </animatedspritenode>\n"
               "    </scenenode>\n"
               "  </scenelayout>\n" % (BOARD_W, BOARD_H))
    for name, difficulty, patterns in LEVELS:
        out.append('  <PaintItLevel name="%s" difficulty="%s">\n' % (name, difficulty))
        out += ['    <Pattern order="%s"/>\n' % pattern for pattern in patterns]
        out.append("  </PaintItLevel>\n")
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    make_pictures(art, os.path.join(data, "paintit"))
    write(os.path.join(data, "PaintTheHouseMode.xml"), manifest())


if __name__ == "__main__":
    main()
