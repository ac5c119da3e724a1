#!/usr/bin/python3
"""Draws the cargo-pattern game's pictures and writes its whole manifest: pictures, layouts, the
engine's, the carts' and the hoist's sprite types and the levels.

Usage: make_haulers_art.py [--manifests-only] <art folder> <data folder>

A train of six wagons behind a locomotive stands on a track across the middle: the game's lead cart
draws the locomotive with the first wagon coupled behind it, so every load rides a wagon and a child
counts six. Five loads wait on the yard below. Over the whole yard stands a gantry crane, Hoist: its
beam spans the top of the screen on a leg at each edge, its cab with a face hangs from the beam, and
each load's hook hangs from the beam on its cable (the beam is drawn over the cables, so a lifted
load goes up into it). The loads hang from a sling whose ring is where the hook takes them, so a load
and its hook meet whatever the load's shape. The plant, the logs and the bricks are Fluent Emoji, the
cones and the cement sacks the counting game's own drawings; the wagon and the hook are ours
(art/own/hd_*.svg); the backdrop, the gantry and its cab are drawn here. The crawler crane with a face
(HD_HoistFrames) is rendered here for the stacking game, which shows it.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, inner, read, recolour, render, write  # noqa: E402

# A load's picture: both sizes share one square canvas and its middle, so the hook, which the game
# only moves up and down, meets the sling's ring on either. The small load is the large one scaled
# about the canvas's bottom middle; the game raises the hook by SMALL_HOOK_DROP when it swaps them.
LOAD = 110
SMALL = 0.76
SMALL_HOOK_DROP = 25
# The hook: a cable long enough to reach the screen's top from the lowest load, ending in the hook.
HOOK_W, HOOK_H = 30, 720
# Where the hook's tip stands below "HookAssembly" (the game lowers it to 65 above the load's top).
HOOK_TIP = 72
# The train: the engine (the "truck" of the data's names) and the wagons share a canvas height, wheels on its bottom edge.
# The lead cart's picture is the engine and the first wagon behind it, one wagon's pitch apart, so all
# six loads stand one pitch apart and the train sits in the middle of the screen.
TRAIN_Y = 228
CART_W, CAR_H = 100, 100
PITCH = CART_W + 6
TRUCK_W = PITCH + CART_W
TRAIN_X = (800 - (7 * PITCH - 6)) // 2
CART_X = (TRAIN_X,) + tuple(TRAIN_X + PITCH * k for k in range(2, 7))
# The engine: the Fluent locomotive's 32-unit box at this scale, lowered so its wheels touch the rail.
ENGINE_SCALE = 3.1
ENGINE_DROP = CAR_H - 29 * ENGINE_SCALE - 1
# A load sits on a wagon's rim, the lead cart's on its own wagon's.
CART_LOAD = (-(LOAD - CART_W) // 2, 52 - LOAD)
TRUCK_LOAD = (PITCH + CART_LOAD[0], CART_LOAD[1])
CHOICE_X = tuple(25 + 160 * k for k in range(5))
CHOICE_Y = 430
HOIST = 150
# The gantry: its beam over the top of the screen, the legs at the edges, and Hoist's cab hanging from
# the beam between the first two loads' cables.
BEAM_H, LEG_W = 34, 18
CAB_W, CAB_H = 112, 110
CAB_X, CAB_Y = 104, 12

# The load pictures' lists, one frame a load type; the data spells them "HaulerDelivery", without the s.
ITEMS = "HaulerDeliveryItems"

# The loads in the game's type order: (drawing, recolouring). Drawings are fluent/ or own/ files; the
# Fluent ones are cut to what they draw of their 32 x 32 box (x, y, width, height), so all loads fill
# their sling alike. A fifth number widens the drawing by that much: the slim plant would otherwise be
# a narrower target than a small hand hits.
CROPS = {"fluent/potted_plant": (6, 1, 20, 30, 1.16), "fluent/wood": (3, 3, 26, 27), "fluent/brick": (2, 2, 28, 28)}
LOG_BARK, LOG_SIDE, LOG_END = "#6d4534", "#a56953", "#f3ad61"
BRICK = "#ff6723"
CONE = ("#f07a1a", "#a4480a")
CEMENT = ("#4a7fd0", "#274f8e")
LOADS = (
    ("fluent/potted_plant", {}),
    ("own/counting_cone", {CONE[0]: "#d83a2e", CONE[1]: "#8a1d16"}),
    ("own/counting_cone", {CONE[0]: "#f58a1f", CONE[1]: "#a4480a"}),
    ("own/counting_cone", {CONE[0]: "#f7d21b", CONE[1]: "#9c7a08"}),
    ("fluent/wood", {LOG_BARK: "#b08a00", LOG_SIDE: "#f2c21b", LOG_END: "#ffe98a"}),
    ("fluent/wood", {LOG_BARK: "#8a1d16", LOG_SIDE: "#d83a2e", LOG_END: "#f59a8f"}),
    ("fluent/wood", {}),
    ("own/counting_cement", {CEMENT[0]: "#3f78d8", CEMENT[1]: "#234a8e"}),
    ("own/counting_cement", {CEMENT[0]: "#d0453a", CEMENT[1]: "#84251d"}),
    ("own/counting_cement", {CEMENT[0]: "#9aa1a7", CEMENT[1]: "#5d6368"}),
    ("fluent/brick", {BRICK: "#a7a19a"}),
    ("fluent/brick", {BRICK: "#3f78d8"}),
    ("fluent/brick", {}),
)

# (name, difficulty, patterns): three levels a difficulty. Easy alternates two loads; Medium adds
# doubled letters and a third load; Hard mixes longer patterns of three loads.
LEVELS = (
    ("HaulersDelivery_Easy_1", "Easy", ("AB",)),
    ("HaulersDelivery_Easy_2", "Easy", ("AB", "A")),
    ("HaulersDelivery_Easy_3", "Easy", ("AB", "AAB")),
    ("HaulersDelivery_Medium_1", "Medium", ("AAB", "ABB")),
    ("HaulersDelivery_Medium_2", "Medium", ("ABC", "AAB")),
    ("HaulersDelivery_Medium_3", "Medium", ("ABC", "ABB", "AABB")),
    ("HaulersDelivery_Hard_1", "Hard", ("ABC", "AABB")),
    ("HaulersDelivery_Hard_2", "Hard", ("ABAC", "ABCB")),
    ("HaulersDelivery_Hard_3", "Hard", ("AABC", "ABCC", "ABAC")),
)


def fitted(svg, x, y, w, h, bottom=False):
    """The drawing scaled evenly to fit the box, centred in it (or standing on its bottom edge)."""
    body, vw, vh = inner(svg)
    s = min(w / vw, h / vh)
    top = y + h - vh * s if bottom else y + (h - vh * s) / 2
    return '<g transform="translate(%g %g) scale(%g)">%s</g>' % (x + (w - vw * s) / 2, top, s, body)


def slung(svg):
    """A load on the canvas: the drawing standing on the bottom, two ropes from its top corners to a
    ring at the top middle."""
    body = fitted(svg, 10, 30, LOAD - 20, LOAD - 34, bottom=True)
    _, vw, vh = inner(svg)
    s = min((LOAD - 20) / vw, (LOAD - 34) / vh)
    left, right, top = (LOAD - vw * s) / 2 + 4, (LOAD + vw * s) / 2 - 4, LOAD - 4 - vh * s + 4
    ropes = ('<path d="M%g %gL%g 13L%g %g" fill="none" stroke="#7a5a3a" stroke-width="3" '
             'stroke-linejoin="round"/><circle cx="%g" cy="8" r="5.5" fill="none" stroke="#636363" '
             'stroke-width="3"/>' % (left, top, LOAD / 2, right, top, LOAD / 2))
    return ropes + body


def small(body):
    return ('<g transform="translate(%g %g) scale(%g)">%s</g>'
            % (LOAD * (1 - SMALL) / 2, LOAD * (1 - SMALL), SMALL, body))


def halo(body):
    """A pale glow a few pixels wider than the load's silhouette, under the load itself."""
    return ('<filter id="halo" filterUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
            '<feMorphology in="SourceAlpha" operator="dilate" radius="4" result="wide"/>'
            '<feGaussianBlur in="wide" stdDeviation="1.5" result="soft"/>'
            '<feFlood flood-color="#fff3a0"/><feComposite in2="soft" operator="in"/></filter>'
            '<g filter="url(#halo)">%s</g>%s' % (LOAD, LOAD, body, body))


def wheels(xs, y, r, turn):
    parts = []
    for x in xs:
        parts.append('<circle cx="%g" cy="%g" r="%g" fill="#321b41"/><circle cx="%g" cy="%g" r="%g" fill="#9b9b9b"/>'
                     % (x, y, r, x, y, r * 0.45))
        parts.append('<path d="M%g %gh%g" stroke="#321b41" stroke-width="2" transform="rotate(%g %g %g)"/>'
                     % (x - r * 0.45, y, r * 0.9, turn, x, y))
    return "".join(parts)


def wagon(art, turn):
    """A wagon, its wheels turned by `turn` degrees, its coupling at its front (left) edge."""
    body = ('<g transform="translate(0 44)">%s</g>' % inner(read(os.path.join(art, "own", "hd_cart.svg")))[0])
    return body + wheels((24, 76), CAR_H - 10, 10, turn) + '<rect x="-4" y="74" width="8" height="4" fill="#3b3b3b"/>'


def engine(art, turn, puff):
    """The lead cart: the locomotive at the head of the train, facing left as the train drives (the
    Fluent locomotive, the sticker's, wheels on the canvas's bottom edge), and the first wagon coupled
    behind it, one pitch along, on whose rim the lead load stands as every wagon's does."""
    loco = inner(read(os.path.join(art, "fluent", "locomotive.svg")))[0]
    smoke = ('<circle cx="34" cy="10" r="7" fill="#ffffff" fill-opacity="0.9"/>'
             '<circle cx="46" cy="6" r="5" fill="#ffffff" fill-opacity="0.8"/>') if puff else ""
    drawbar = '<rect x="%g" y="74" width="%g" height="4" fill="#3b3b3b"/>' % (29 * ENGINE_SCALE - 2, PITCH - 29 * ENGINE_SCALE)
    body = (drawbar + '<g transform="translate(0 %g) scale(%g)">%s</g>' % (ENGINE_DROP, ENGINE_SCALE, loco) + smoke
            + '<g transform="translate(%d 0)">%s</g>' % (PITCH, wagon(art, turn)))
    return document(TRUCK_W, CAR_H, body)


def gantry_beam():
    """The gantry's beam across the top of the screen: two chords and the struts between them."""
    struts = "".join('<path d="M%d 8L%d %dM%d 8L%d %d"/>' % (x, x + 20, BEAM_H - 8, x + 40, x + 20, BEAM_H - 8)
                     for x in range(-20, 820, 40))
    return document(800, BEAM_H, (
        '<g stroke="#c95f14" stroke-width="4" fill="none">%s</g>'
        '<rect x="0" y="1" width="800" height="9" fill="#ff822d" stroke="#c95f14" stroke-width="2"/>'
        '<rect x="0" y="%d" width="800" height="9" fill="#ff822d" stroke="#c95f14" stroke-width="2"/>'
        % (struts, BEAM_H - 10)))


def cab_frame(mood):
    """Hoist's cab hanging from the beam, with its face: content, glad (raised a little, smiling) or
    sad (sunk, frowning). The hangers' tops go up behind the beam."""
    lift = {"content": 0, "glad": -4, "sad": 4}[mood]
    mouth = {"content": "M34 74Q44 80 54 74", "glad": "M32 71Q44 86 56 71", "sad": "M34 79Q44 71 54 79"}[mood]
    body = ('<g fill="#636363"><rect x="30" y="0" width="6" height="30"/><rect x="76" y="0" width="6" height="30"/></g>'
            '<rect x="22" y="24" width="68" height="8" rx="3" fill="#533566"/>'
            '<rect x="6" y="30" width="100" height="66" rx="12" fill="#ffb02e" stroke="#d3883e" stroke-width="3"/>'
            '<rect x="66" y="40" width="30" height="26" rx="4" fill="#83cbff"/>'
            '<circle cx="34" cy="58" r="5" fill="#1c1c1c"/><circle cx="54" cy="58" r="5" fill="#1c1c1c"/>'
            '<path d="%s" fill="none" stroke="#1c1c1c" stroke-width="4" stroke-linecap="round"/>' % mouth)
    return document(CAB_W, CAB_H, '<g transform="translate(0 %d)">%s</g>' % (lift + 4, body))


def backdrop():
    """Sky and far hills, the track the train stands on, and the yard where the loads wait."""
    rail = TRAIN_Y + CAR_H
    parts = ['<rect width="800" height="600" fill="#bfe6ff"/>',
             '<path d="M0 200Q140 150 300 185T620 170T800 180V600H0Z" fill="#a8d98a"/>',
             '<rect y="%d" width="800" height="%d" fill="#9ad46f"/>' % (rail - 40, 600 - rail + 40)]
    for x in range(-8, 800, 26):
        parts.append('<rect x="%d" y="%d" width="14" height="10" rx="2" fill="#8d5a2b"/>' % (x, rail - 2))
    parts.append('<rect y="%d" width="800" height="4" fill="#636363"/>' % (rail - 1))
    parts.append('<rect y="%d" width="800" height="170" fill="#cfc7b8"/>' % (CHOICE_Y - 20))
    parts.append('<rect y="%d" width="800" height="6" fill="#b3aa99"/>' % (CHOICE_Y - 20))
    # The gantry's legs at the screen's edges, from under its beam down to their feet in the yard.
    for x in (0, 800 - LEG_W):
        parts.append('<rect x="%d" y="0" width="%d" height="%d" fill="#ff822d" stroke="#c95f14" stroke-width="2"/>'
                     % (x, LEG_W, CHOICE_Y + LOAD + 20))
        parts.append('<rect x="%d" y="%d" width="%d" height="10" rx="3" fill="#533566"/>'
                     % (x - 6, CHOICE_Y + LOAD + 14, LEG_W + 12))
    for x in CHOICE_X:
        parts.append('<ellipse cx="%g" cy="%d" rx="56" ry="12" fill="#b3aa99"/>' % (x + LOAD / 2, CHOICE_Y + LOAD - 2))
    return document(800, 600, "".join(parts))


def hoist_frame(crane, mood):
    """The hoist with a face on its cab: content, glad (raised a little) or sad (sunk, frowning)."""
    body, vw, _ = inner(crane)
    lift = {"content": 0, "glad": -1.2, "sad": 0.8}[mood]
    mouth = {"content": "M5.8 23.1Q7.5 24.2 9.2 23.1", "glad": "M5.6 22.8Q7.5 25 9.4 22.8",
             "sad": "M5.8 24Q7.5 22.9 9.2 24"}[mood]
    face = ('<circle cx="6.3" cy="21.4" r="0.7" fill="#1c1c1c"/><circle cx="8.7" cy="21.4" r="0.7" fill="#1c1c1c"/>'
            '<path d="%s" fill="none" stroke="#1c1c1c" stroke-width="0.6" stroke-linecap="round"/>' % mouth)
    s = HOIST / vw
    return document(HOIST, HOIST, '<g transform="scale(%g) translate(0 %g)">%s%s</g>' % (s, lift, body, face))


def cropped(svg, box):
    body, _, _ = inner(svg)
    x, y, w, h = box[:4]
    wide = box[4] if len(box) > 4 else 1
    return document(w * wide, h, '<g transform="scale(%g 1) translate(%g %g)">%s</g>' % (wide, -x, -y, body))


def make_pictures(art, folder):
    def drawing(name):
        svg = read(os.path.join(art, name + ".svg"))
        return cropped(svg, CROPS[name]) if name in CROPS else svg

    render(backdrop(), 800, 600, os.path.join(folder, "HD_Backdrop.png"))
    for t, (name, colours) in enumerate(LOADS):
        load = slung(recolour(drawing(name), colours))
        for suffix, body in (("Large", load), ("Large_rollover", halo(load)),
                             ("Small", small(load)), ("Small_rollover", small(halo(load)))):
            render(document(LOAD, LOAD, body), LOAD, LOAD,
                   os.path.join(folder, "%s_%s_%d.png" % (ITEMS, suffix, t)))
    hook = fitted(drawing("own/hd_hook"), 0, HOOK_H - 40, HOOK_W, 40)
    cable = '<rect x="%g" y="0" width="3" height="%d" fill="#3b3b3b"/>' % (HOOK_W / 2 - 1.5, HOOK_H - 38)
    render(document(HOOK_W, HOOK_H, cable + hook), HOOK_W, HOOK_H, os.path.join(folder, "HD_Hook.png"))
    # The engine leads the train; while it drives, its wagon's wheels turn and the chimney puffs.
    for i, turn in enumerate((0, 0, 60)):
        render(engine(art, turn, i == 2), TRUCK_W, CAR_H, os.path.join(folder, "HD_TruckFrames_%d.png" % i))
    for i, turn in enumerate((0, 0, 60)):
        render(document(CART_W, CAR_H, wagon(art, turn)), CART_W, CAR_H, os.path.join(folder, "HD_CartFrames_%d.png" % i))
    render(gantry_beam(), 800, BEAM_H, os.path.join(folder, "HD_GantryBeam.png"))
    for i, mood in enumerate(("content", "glad", "sad")):
        render(cab_frame(mood), CAB_W, CAB_H, os.path.join(folder, "HD_CabFrames_%d.png" % i))
    # The stacking game's Hoist.
    crane = drawing("own/crane")
    for i, mood in enumerate(("content", "glad", "sad")):
        render(hoist_frame(crane, mood), HOIST, HOIST, os.path.join(folder, "HD_HoistFrames_%d.png" % i))


def manifest():
    count = len(LOADS) - 1
    out = ['<?xml version="1.0"?>\n',
           "<!-- The cargo-pattern game: pictures, layouts, the train, the hoist and the levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_haulers_art.py). -->\n",
           "<manifest>\n",
           '  <image name="HD_Backdrop" src="HD_Backdrop"/>\n',
           '  <image name="HD_Hook" src="HD_Hook"/>\n',
           '  <image name="HD_GantryBeam" src="HD_GantryBeam"/>\n']
    for suffix in ("Large", "Large_rollover", "Small", "Small_rollover"):
        out.append('  <imagelist name="%s_%s" pattern="%s_%s_%%1%%" first="0" last="%d"/>\n'
                   % (ITEMS, suffix, ITEMS, suffix, count))
    for name in ("Truck", "Cart", "Cab"):
        out.append('  <imagelist name="HD_%sFrames" pattern="HD_%sFrames_%%1%%" first="0" last="2"/>\n' % (name, name))
    # Every animation the game starts either loops or ends in one that does.
    for sprite, images in (("Hauler_SpriteType", "HD_TruckFrames"), ("HD_Cart_SpriteType", "HD_CartFrames")):
        out.append('  <spritetype name="%s" images="%s">\n'
                   '    <animation name="Idle-Left" frameList="0" fps="1" numPlays="0"/>\n'
                   '    <animation name="Drive-Left" frameList="1,2" fps="8" numPlays="0"/>\n'
                   "  </spritetype>\n" % (sprite, images))
    out.append('  <spritetype name="HD_Hoist_SpriteType" images="HD_CabFrames">\n'
               '    <animation name="Idle" frameList="0" fps="1" numPlays="0"/>\n'
               '    <animation name="Sad" frameList="2,2,2,2" fps="2" numPlays="1" linkedAnimation="Idle"/>\n'
               '    <animation name="Happy" frameList="1,0,1,0,1,1" fps="4" numPlays="1" linkedAnimation="Idle"/>\n'
               "  </spritetype>\n")
    # The playfield: Hoist's cab, the train, the five loads' places, the gantry's beam over their hooks'
    # cables and the click mask over them all; the game's buttons above everything.
    carts = "".join('          <scenenode nodeName="Cart_%d" x="%d"/>\n' % (k + 1, x) for k, x in enumerate(CART_X))
    places = "".join('        <scenenode nodeName="Pattern%d" x="%d" y="%d" width="%d" height="%d"/>\n'
                     % (k + 1, x, CHOICE_Y, LOAD, LOAD) for k, x in enumerate(CHOICE_X))
    out.append('  <scenelayout name="HaulersDeliveryModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="HD_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <animatedspritenode nodeName="HoistAnimNode" spriteType="HD_Hoist_SpriteType" '
               'initialAnimation="Idle" x="%d" y="%d"/>\n'
               '        <scenenode nodeName="CargoRoot" y="%d" width="800" height="%d">\n' % (CAB_X, CAB_Y, TRAIN_Y, CAR_H)
               + carts +
               "        </scenenode>\n"
               + places +
               '        <staticspritenode nodeName="GantryBeam" src="HD_GantryBeam"/>\n' +
               '        <scenenode nodeName="MouseInput_ClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    # A wagon, or the engine and its wagon for the lead cart: its load stands on the wagon's rim;
    # a delivered load comes to rest where the wagon's own load would stand.
    out.append('  <scenelayout name="DeliveryCartLayout">\n'
               '    <scenenode nodeName="DeliveryCart" width="%d" height="%d">\n'
               '      <animatedspritenode nodeName="cart" spriteType="HD_Cart_SpriteType" initialAnimation="Drive-Left"/>\n'
               '      <staticspritenode nodeName="cargoImage" x="%d" y="%d"/>\n'
               '      <staticspritenode nodeName="cargoImage_front" x="%d" y="%d"/>\n'
               '      <staticspritenode nodeName="rolloverNode" x="%d" y="%d" visible="false"/>\n'
               '      <staticspritenode nodeName="rolloverNode_front" x="%d" y="%d" visible="false"/>\n'
               '      <scenenode nodeName="cargoTarget" x="%d" y="%d"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % ((CART_W, CAR_H) + CART_LOAD + TRUCK_LOAD + CART_LOAD + TRUCK_LOAD + CART_LOAD))
    # A load waiting in the yard, its hook up in the gantry's beam until the game lowers it.
    out.append('  <scenelayout name="DeliveryObjectLayout">\n'
               '    <scenenode nodeName="DeliveryObject" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="imageNode">\n'
               '        <staticspritenode nodeName="rolloverNode"/>\n'
               "      </staticspritenode>\n"
               '      <scenenode nodeName="HookAssembly" y="-600">\n'
               '        <staticspritenode nodeName="hook" src="HD_Hook" x="%d" y="%d"/>\n'
               "      </scenenode>\n"
               "    </scenenode>\n"
               "  </scenelayout>\n" % (LOAD, LOAD, (LOAD - HOOK_W) // 2, HOOK_TIP - HOOK_H))
    for name, difficulty, patterns in LEVELS:
        out.append('  <HaulersDeliveryLevel name="%s" difficulty="%s">\n' % (name, difficulty))
        out += ['    <Pattern order="%s"/>\n' % pattern for pattern in patterns]
        out.append("  </HaulersDeliveryLevel>\n")
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    make_pictures(art, os.path.join(data, "haulers"))
    write(os.path.join(data, "HaulersDeliveryMode.xml"), manifest())


if __name__ == "__main__":
    main()
