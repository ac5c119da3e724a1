#!/usr/bin/python3
"""Renders the shared art from art/ into data/: cursors, stickers, skip buttons and the foreman.

Usage: make_art.py [--manifests-only] <art folder> <data folder>

Drawings are recoloured and combined as SVG text, then rendered once each with rsvg-convert. With
--manifests-only (which every art script takes) the manifests are written and nothing is rendered, so the
content check can compare them with data/ in a moment and without the drawing tools.
"""
import math
import os
import re
import subprocess
import sys
import tempfile

# Sticker order is the sticker's index, which players' profiles store: append, never reorder.
STICKERS = [
    "giraffe", "elephant", "lion", "zebra", "hippopotamus", "monkey", "tiger", "penguin",
    "delivery_truck", "tractor", "excavator", "crane",
    "cat", "dog", "cow", "pig", "horse", "rabbit", "bear", "panda", "koala", "kangaroo",
    "camel", "rhinoceros", "gorilla", "owl", "parrot", "flamingo", "peacock", "duck",
    "lorry", "pickup_truck", "fire_engine", "bus",
    "chicken", "turtle", "crocodile", "frog", "snake", "whale", "dolphin", "octopus", "seal",
    "otter", "sloth", "hedgehog", "fox", "deer", "goat", "llama", "polar_bear", "leopard",
    "swan", "rooster", "locomotive", "helicopter",
]
STICKER_SIZE = 96

# The paintbrush's bristles and handle are drawn in these colours; each brush cursor repaints both in
# its paint colour, so a child sees the colour at a glance; the clean brush has a wooden handle.
BRUSH_TIP = "#ffb02e"
BRUSH_HANDLE = "#f92f60"
BRUSH_EDGE = "#3b3530"
BRUSH_COLOURS = {
    "clean": ("#eadfc4", "#c68642"), "red": ("#e8262f", "#e8262f"), "green": ("#2fb344", "#2fb344"),
    "blue": ("#2f6fe8", "#2f6fe8"), "yellow": ("#ffd60a", "#f5c400"),
}

# Skip-button states in widget order: normal, hot, pressed, disabled, focused.
SKIP_STATES = [
    dict(FILL="#2fb344", EDGE="#1d7a2c", TEXTFILL="#ffffff", RING="none", dy=0),
    dict(FILL="#47cc5c", EDGE="#1d7a2c", TEXTFILL="#ffffff", RING="none", dy=0),
    dict(FILL="#23913a", EDGE="#145a20", TEXTFILL="#e8ffe8", RING="none", dy=2),
    dict(FILL="#b8b8b8", EDGE="#8a8a8a", TEXTFILL="#eeeeee", RING="none", dy=0),
    dict(FILL="#2fb344", EDGE="#1d7a2c", TEXTFILL="#ffffff", RING="#ffd60a", dy=0),
]
SKIP_TEXT = {"EN": "Skip", "SP": "Saltar"}

# The foreman's poses, by the frame index the games pass to the instruction pop-up: the foreman beside
# a waiting bubble, then one pose a game, in the order of the games' types (frame 1 + type), each
# showing the game's task in his bubble so a child who missed the words sees what to do.
FOREMAN_POSES = ["Default", "ToolShed", "StreetSigns", "PlanAJob", "PaintIt", "HoistStacker", "HammerTheNail",
                 "CountTheMaterials", "HaulersDelivery", "PileOfLeaves", "SproutPuzzle", "HideAndSeek",
                 "HereToThere"]
# A pose reaches from the foreman to the panel's bubble. Each task is drawn in a 176 x 106 sketch box
# (SKETCH) and scaled into the bubble's inside (BUBBLE), both in pose pixels.
POSE_W, POSE_H = 470, 220
POSE_AT = (170, 160)
SKETCH = (262, 26, 176, 106)
BUBBLE = (214, 26, 240, 148)

# One drawing of each tool kind, for every game, pop-up and card that shows the tool, so a child meets
# one look a word: (folder, drawing, the drawing's colours that take a tool colour's main and dark
# shades; None: our own drawing with {MAIN}, {DARK} and {LIGHT} to fill). A game that colours its tools
# paints them in its colours; the same shape everywhere.
TOOL_DRAWINGS = {
    "Brush": ("fluent", "paintbrush", {"#f92f60": 0}),
    "Drill": ("own", "ts_drill", None),
    "Hammer": ("fluent", "hammer", {"#7d4533": 0}),
    "Wrench": ("fluent", "wrench", {"#b4acbc": 0}),
    "Saw": ("fluent", "saw", {"#7d4533": 0}),
    "Screwdriver": ("fluent", "screwdriver", {"#f70a8d": 0, "#ca0b4a": 1}),
    "Level": ("own", "ts_level", None),
    "Pliers": ("own", "ts_pliers", None),
}
# The tool colours every game paints its tools in: (main, dark, light).
TOOL_RED = ("#e8362d", "#a31d16", "#f58a84")
TOOL_GREEN = ("#3aa845", "#1f6e29", "#8fd997")
TOOL_BLUE = ("#2f7de1", "#1a4c94", "#8dbdf5")
TOOL_YELLOW = ("#f6c511", "#a88206", "#fde58a")
# Plain steel: the tool shed's signs show a tool's kind alone in it.
TOOL_STEEL = ("#8d96a3", "#5d6570", "#c3cad3")

# Set by --manifests-only (see arguments()).
MANIFESTS_ONLY = False


# What a game's screen layout holds above its playfield: the effects layer and the help and quit
# buttons, which the game shows once its introduction is over.
GAME_SCREEN_TOP = ('      <scenenode nodeName="FX_Layer" width="800" height="600"/>\n'
                   '      <scenenode nodeName="UI_attach" width="800" height="600">\n'
                   '        <buttonnode nodeName="HelpButton" name="HelpButton" images="Button_GameHelp" '
                   'sounds="WidgetSounds" x="636" y="6" visible="false"/>\n'
                   '        <buttonnode nodeName="QuitButton" name="QuitButton" images="Button_GameQuit" '
                   'sounds="WidgetSounds" x="716" y="6" visible="false"/>\n'
                   "      </scenenode>\n")


def arguments(doc, count):
    """The script's arguments less --manifests-only, which switches rendering off; exits with the usage
    unless `count` remain."""
    global MANIFESTS_ONLY
    args = sys.argv[1:]
    if "--manifests-only" in args:
        args.remove("--manifests-only")
        MANIFESTS_ONLY = True
    if len(args) != count:
        sys.exit(doc)
    return args


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def inner(svg):
    """The drawing inside a standalone SVG, and its view box size."""
    m = re.match(r'\s*<svg[^>]*viewBox="0 0 ([\d.]+) ([\d.]+)"[^>]*>(.*)</svg>\s*$', svg, re.S)
    if not m:
        raise ValueError("not a standalone SVG with a view box at the origin")
    return m.group(3), float(m.group(1)), float(m.group(2))


def place(svg, x, y, w, h):
    """The drawing scaled into the box (x, y, w, h)."""
    body, vw, vh = inner(svg)
    return '<g transform="translate(%g %g) scale(%g %g)">%s</g>' % (x, y, w / vw, h / vh, body)


def fitted(svg, x, y, w, h):
    """The drawing scaled evenly to fit the box, centred in it."""
    body, vw, vh = inner(svg)
    s = min(w / vw, h / vh)
    return '<g transform="translate(%g %g) scale(%g)">%s</g>' % (x + (w - vw * s) / 2, y + (h - vh * s) / 2, s, body)


def document(w, h, body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
            "%s</svg>\n" % (w, h, w, h, body))


def put_block(path, what, comment, body, script):
    """Puts one script's entries into a manifest that others write too, between markers naming `what`:
    in place of its earlier entries, else at the end. A manifest still missing is made."""
    text = read(path) if os.path.exists(path) else '<?xml version="1.0"?>\n<manifest>\n</manifest>\n'
    block = "  <!-- %s: %s Made by tools/content/%s. -->\n%s  <!-- end of %s -->\n" % (what, comment, script, body, what)
    old = re.compile(r"  <!-- %s:[^\n]*-->\n.*?  <!-- end of %s -->\n" % (re.escape(what), re.escape(what)), re.S)
    if old.search(text):
        text = old.sub(lambda _: block, text, count=1)
    else:
        text = text.replace("</manifest>", block + "</manifest>")
    write(path, text)


def recolour(svg, mapping):
    for old, new in mapping.items():
        if old.lower() not in svg.lower():
            raise ValueError("colour %s is not in the drawing" % old)
        svg = re.sub(re.escape(old), new, svg, flags=re.I)
    return svg


def render(svg, w, h, out):
    if MANIFESTS_ONLY:
        return
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with tempfile.NamedTemporaryFile("w", suffix=".svg", delete=False, encoding="utf-8") as f:
        f.write(svg)
        name = f.name
    try:
        subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-f", "png", "-o", out, name],
                       check=True)
    finally:
        os.unlink(name)


def tool_drawing(art, kind, colour):
    """The tool's 32-unit drawing (a standalone SVG) painted in `colour` (main, dark, light). The
    wrench, a thin outline, gets a dark edge so that a yellow one still shows on light ground."""
    folder, name, mapping = TOOL_DRAWINGS[kind]
    svg = read(os.path.join(art, folder, name + ".svg"))
    if mapping is None:
        return svg.replace("{MAIN}", colour[0]).replace("{DARK}", colour[1]).replace("{LIGHT}", colour[2])
    painted = recolour(svg, {old: colour[shade] for old, shade in mapping.items()})
    if kind != "Wrench":
        return painted
    edge = inner(recolour(svg, {"#b4acbc": colour[1]}))[0]
    body, w, h = inner(painted)
    return document(w, h, '<g transform="translate(0.5 0.6)">%s</g>%s' % (edge, body))


def make_cursors(art, data):
    arrow = read(os.path.join(art, "own", "cursor_arrow.svg"))
    render(arrow, 32, 32, os.path.join(data, "cursors", "cursor_default.png"))
    hand = read(os.path.join(art, "fluent", "hand_pointing.svg"))
    render(hand, 48, 48, os.path.join(data, "cursors", "cursor_hand.png"))
    brush = read(os.path.join(art, "fluent", "paintbrush.svg"))
    for name, (tip, handle) in BRUSH_COLOURS.items():
        # A dark edge behind it, so that the brush still shows over a board of its own colour.
        body, w, h = inner(recolour(brush, {BRUSH_TIP: tip, BRUSH_HANDLE: handle}))
        edge = '<g stroke="%s" stroke-width="1.6" stroke-linejoin="round">%s</g>' % (BRUSH_EDGE, body)
        render(document(w, h, edge + body), 48, 48, os.path.join(data, "cursors", "cursor_brush_%s.png" % name))


def drawing(art, name):
    for folder in ("fluent", "own"):
        path = os.path.join(art, folder, name + ".svg")
        if os.path.exists(path):
            return read(path)
    raise FileNotFoundError("no drawing named %s in %s" % (name, art))


def make_stickers(art, data):
    if len(set(STICKERS)) != len(STICKERS) or not 1 <= len(STICKERS) <= 150:
        raise ValueError("stickers must be 1 to 150 distinct drawings")
    frame = read(os.path.join(art, "own", "sticker_frame.svg"))
    s = STICKER_SIZE
    for index, name in enumerate(STICKERS):
        body = place(frame, 0, 0, s, s) + place(drawing(art, name), s * 0.14, s * 0.13, s * 0.72, s * 0.72)
        render(document(s, s, body), s, s, os.path.join(data, "stickers", "Sticker_%d.png" % index))


def make_skip_buttons(art, data):
    # Separate images, one per state: the button nodes take an image list, not a film strip.
    template = read(os.path.join(art, "own", "button_skip.svg"))
    for language, text in SKIP_TEXT.items():
        for index, state in enumerate(SKIP_STATES):
            svg = template.replace("{TEXT}", text)
            for key in ("FILL", "EDGE", "TEXTFILL", "RING"):
                svg = svg.replace("{%s}" % key, state[key])
            render(document(160, 64, place(svg, 0, state["dy"], 160, 64)), 160, 64,
                   os.path.join(data, "buttons", "Button_SkipCutscene_%s_%d.png" % (language, index)))


def arrow(x1, y1, x2, y2):
    """A bold arrow from (x1, y1) to (x2, y2), the head at the end."""
    return ('<g stroke="#e8562f" stroke-width="7" stroke-linecap="round" stroke-linejoin="round" fill="#e8562f">'
            '<path d="M%g %gL%g %g" fill="none"/><path d="M%g %gl-12 -9v18z" transform="rotate(%g %g %g)"/></g>'
            % (x1, y1, x2, y2, x2, y2, math.degrees(math.atan2(y2 - y1, x2 - x1)), x2, y2))


def pose_task(art, game):
    """What the bubble shows for a game, drawn inside SKETCH."""
    x, y, w, h = SKETCH
    d = lambda name: drawing(art, name)  # noqa: E731
    if game == "Default":
        return "".join('<circle cx="%g" cy="%g" r="11" fill="#ffb02e"/>' % (x + w / 2 + dx, y + h / 2) for dx in (-40, 0, 40))
    if game == "ToolShed":
        # A tool going into the box whose sign shows it.
        # The game's red hammer; the box's sign draws it in plain steel, as the game's signs do.
        sign = ('<rect x="378" y="60" width="40" height="30" rx="5" fill="#ffffff" stroke="#7a4a24" stroke-width="3"/>'
                + place(tool_drawing(art, "Hammer", TOOL_STEEL), 384, 61, 28, 28))
        return (place(tool_drawing(art, "Hammer", TOOL_RED), 266, 28, 62, 62) + arrow(318, 70, 352, 92)
                + place(d("toolbox"), 350, 48, 86, 86) + sign)
    if game == "StreetSigns":
        # A sign lifted onto the bed of the game's own green flatbed truck.
        from make_street_signs_art import truck  # noqa: E402 (it imports this module)
        return (place(d("street_sign"), 272, 14, 64, 64) + arrow(342, 40, 362, 104)
                + fitted(truck(0), 262, 84, 176, 56))
    if game == "PlanAJob":
        return place(d("flow_plan"), x + (w - 124) / 2, y - 10, 124, 124)
    if game == "PaintIt":
        stripes = "".join('<rect x="%d" y="40" width="22" height="84" rx="5" fill="%s"/>' % (272 + i * 28, c)
                          for i, c in enumerate(("#e8262f", "#2f6fe8", "#e8262f", "#f0d9b5")))
        return stripes + place(d("paintbrush"), 362, 24, 74, 74)
    if game == "HoistStacker":
        beams = "".join('<rect x="%d" y="%d" width="70" height="14" rx="3" fill="#2f6fe8" stroke="#1a4c94" '
                        'stroke-width="2"/>' % (356, 112 - i * 16) for i in range(3))
        return place(d("crane"), 262, 22, 110, 110) + beams + arrow(392, 36, 392, 60)
    if game == "HammerTheNail":
        bolt = read(os.path.join(art, "own", "fixit_bolt.svg"))
        bolt = bolt.replace("{MAIN}", "#2f7de1").replace("{DARK}", "#1a4c94").replace("{LIGHT}", "#8dbdf5")
        turn = ('<path d="M346 44a26 12 0 1 0 52 0" fill="none" stroke="#e8562f" stroke-width="5" '
                'stroke-linecap="round"/><path d="M398 44l-8 -8l14 -2z" fill="#e8562f"/>')
        # The wrench in the bolt's colour: the game's rule.
        return place(tool_drawing(art, "Wrench", TOOL_BLUE), 270, 30, 78, 78) + place(bolt, 342, 28, 60, 100) + turn
    if game == "CountTheMaterials":
        bricks = "".join(place(d("counting_bricks"), 266 + (i % 2) * 32, 40 + i * 24, 42, 21) for i in range(3))
        return bricks + arrow(318, 78, 342, 78) + place(d("ctm_tipper"), 340, 52, 98, 64)
    if game == "HaulersDelivery":
        out = []
        for i, cargo in enumerate(("brick", "potted_plant", "brick", None)):
            cx = 266 + i * 43
            out.append(place(d("hd_cart"), cx, 108, 40, 19))
            if cargo:
                out.append(place(d(cargo), cx + 6, 82, 28, 28))
        # The next load hangs from the hook over the empty wagon.
        out.append(place(d("hd_hook"), 407, 28, 16, 20) + place(d("potted_plant"), 401, 46, 28, 28))
        return "".join(out) + arrow(415, 78, 415, 102)
    if game == "PileOfLeaves":
        wrench = place(tool_drawing(art, "Wrench", TOOL_BLUE), 300, 52, 60, 60)
        leaves = "".join('<g transform="rotate(%d %g %g)">%s</g>' % (r, lx + 22, ly + 22, place(d("fallen_leaf"), lx, ly, 44, 44))
                         for lx, ly, r in ((268, 74, 0), (340, 80, 30), (272, 36, 60)))
        return wrench + leaves + place(d("hand_pointing"), 372, 82, 48, 48)
    if game == "SproutPuzzle":
        frame = ('<rect x="268" y="32" width="96" height="96" rx="6" fill="#a0643a"/>'
                 '<rect x="276" y="40" width="80" height="80" fill="#bfe6ff"/>'
                 '<rect x="276" y="80" width="80" height="40" fill="#7fbf55"/>'
                 '<rect x="318" y="42" width="36" height="36" fill="#fff6dc" stroke="#a0643a" stroke-width="2" '
                 'stroke-dasharray="5 4"/>')
        piece = ('<rect x="394" y="34" width="38" height="38" rx="3" fill="#bfe6ff" stroke="#1a4c94" stroke-width="2.5"/>'
                 '<circle cx="413" cy="52" r="9" fill="#ffd60a"/>')
        return frame + place(d("panda"), 282, 68, 44, 44) + piece + arrow(392, 66, 364, 66)
    if game == "HideAndSeek":
        tail = place(d("hs_tail"), 368, 40, 52, 52)
        return tail + place(d("hs_bush"), 290, 26, 108, 108) + place(d("hand_pointing"), 388, 84, 44, 44)
    if game == "HereToThere":
        from make_delivery_art import CAGE, SHAPE, TAG, cage_with_tag  # noqa: E402 (it imports this module)
        star = place(d("htt_shape_star"), 280, 34, 36, 36)
        # On the tag above the cage, as the game shows it; the cage drawn at 0.8 of its game size.
        k, cx, cy = 0.8, 366, 30
        cage = place(cage_with_tag(d("htt_cage")), cx, cy, CAGE * k, (CAGE + TAG) * k)
        cage_star = place(d("htt_shape_star"), cx + (CAGE - SHAPE) / 2 * k, cy + k, SHAPE * k, SHAPE * k)
        lion = place(d("lion"), cx + 8 * k, cy + (TAG + 14) * k, 64 * k, 64 * k)
        return place(d("htt_flag"), 268, 26, 60, 79) + star + arrow(330, 82, 356, 82) + lion + cage + cage_star
    raise ValueError("no pose for %s" % game)


def make_foreman(art, data):
    worker = read(os.path.join(art, "fluent", "construction_worker.svg"))
    (sx, sy, sw, sh), (bx, by, bw, bh) = SKETCH, BUBBLE
    k = min(bw / sw, bh / sh)
    into_bubble = "translate(%g %g) scale(%g) translate(%g %g)" % (bx + (bw - sw * k) / 2, by + (bh - sh * k) / 2, k, -sx, -sy)
    for index, game in enumerate(FOREMAN_POSES):
        body = place(worker, 0, 50, 160, 160) + '<g transform="%s">%s</g>' % (into_bubble, pose_task(art, game))
        render(document(POSE_W, POSE_H, body), POSE_W, POSE_H,
               os.path.join(data, "foreman", "ForemanPose_%d.png" % index))
    render(read(os.path.join(art, "own", "foreman_panel.svg")), 520, 320,
           os.path.join(data, "foreman", "ForemanPanel.png"))


# The data partition finds a file by its bare name, searching every folder, so manifests name files
# without their folder and every file name in data/ must be unique.
def write_manifests(data):
    # Hot spots are where the pointer acts in each cursor image, in pixels.
    write(os.path.join(data, "GlobalConstants.xml"), """<?xml version="1.0"?>
<!-- Tunable numbers of the game. Made by tools/make_content.sh. -->
<manifest>
  <!-- How many rounds a repeating game plays, by difficulty: easy, medium, hard. -->
  <intarray name="RepeatedGameNumLoops">
    <int value="3"/>
    <int value="4"/>
    <int value="5"/>
  </intarray>
  <vector2i name="DefaultCursorRegPt" x="4" y="3"/>
  <vector2i name="HandCursorRegPt" x="20" y="3"/>
  <vector2i name="BrushCursorRegPt" x="5" y="42"/>
  <!-- The counting game's roads and places, in playfield pixels; speeds in pixels a second. The
       tipper stands where its road in ends; the digger idles at the left end of the road. -->
  <vector2f name="TipperStartPosition" x="820" y="150"/>
  <vector2farray name="TipperForegroundDriveOnPath"><vector2f x="600" y="150"/><vector2f x="380" y="150"/></vector2farray>
  <vector2farray name="TipperForegroundDriveOffPath"><vector2f x="100" y="150"/><vector2f x="-300" y="150"/></vector2farray>
  <float name="TipperForegroundDrivingSpeed" value="320"/>
  <vector2f name="TipperBGStartPos" x="-130" y="118"/>
  <vector2farray name="TipperBackgroundDrivePath"><vector2f x="340" y="117"/><vector2f x="830" y="118"/></vector2farray>
  <float name="TipperBackgroundDrivingSpeed" value="320"/>
  <vector2f name="DiggerOffScreenPosition_Left" x="-260" y="160"/>
  <vector2f name="DiggerIdlePosition" x="20" y="160"/>
  <vector2f name="DiggerOffScreenPosition_Right" x="840" y="360"/>
  <vector2f name="DiggerDeliveryRoadEnterPosition" x="840" y="150"/>
  <vector2farray name="DiggerForegroundDriveOnPath"><vector2f x="700" y="150"/><vector2f x="560" y="150"/></vector2farray>
  <vector2farray name="DiggerForegroundDriveOffPath"><vector2f x="700" y="152"/><vector2f x="860" y="150"/></vector2farray>
  <vector2f name="MaterialPickupOffset" x="-135" y="-168"/>
</manifest>
""")
    cursors = "".join('  <image name="cursor_brush_%s" src="cursor_brush_%s"/>\n' % (c, c)
                      for c in BRUSH_COLOURS)
    write(os.path.join(data, "resources.xml"), """<?xml version="1.0"?>
<!-- Art every screen shares. Made by tools/make_content.sh. -->
<manifest>
  <image name="cursor_default" src="cursor_default"/>
  <image name="cursor_hand" src="cursor_hand"/>
%s</manifest>
""" % cursors)
    write(os.path.join(data, "StickerBook.xml"), """<?xml version="1.0"?>
<!-- The stickers, by index; profiles store indices, so new stickers go at the end. Made by
     tools/make_content.sh. -->
<manifest>
  <imagelist name="AllStickersList" pattern="Sticker_%%1%%" first="0" last="%d"/>
</manifest>
""" % (len(STICKERS) - 1))
    write(os.path.join(data, "ForemanInstructionMode.xml"), """<?xml version="1.0"?>
<!-- The instruction pop-up: the foreman on a panel while the game's description is spoken, and the
     skip button (the pop-up gives it the image list of the player's language). Made by
     tools/make_content.sh. -->
<manifest>
  <imagelist name="ForemanPoses" pattern="ForemanPose_%%1%%" first="0" last="%d"/>
  <image name="ForemanPanel" src="ForemanPanel"/>
  <spritetype name="ForemanSpriteType" images="ForemanPoses"/>
  <scenelayout name="ForemanInstructionModeLayout">
    <scenenode nodeName="ForemanInstructionMode" width="800" height="600">
      <rectnode width="800" height="600" color="#00000066"/>
      <staticspritenode src="ForemanPanel" x="140" y="140"/>
      <animatedspritenode nodeName="LevelIntroForeman" spriteType="ForemanSpriteType" x="%d" y="%d"/>
      <buttonnode nodeName="SkipButton" name="OkButton" images="Button_SkipCutscene_EN" sounds="WidgetSounds"
                  alphaSensitivity="0" x="440" y="356"/>
    </scenenode>
  </scenelayout>
</manifest>
""" % ((len(FOREMAN_POSES) - 1,) + POSE_AT))
    for language, manifest in (("EN", "LocalizedImageResources"), ("SP", "LocalizedImageResources_SP")):
        write(os.path.join(data, manifest + ".xml"), """<?xml version="1.0"?>
<!-- Images that carry words. Made by tools/make_content.sh. -->
<manifest>
  <imagelist name="Button_SkipCutscene_%s" pattern="Button_SkipCutscene_%s_%%1%%" first="0" last="%d"/>
</manifest>
""" % (language, language, len(SKIP_STATES) - 1))


def main():
    art, data = arguments(__doc__, 2)
    make_cursors(art, data)
    make_stickers(art, data)
    make_skip_buttons(art, data)
    make_foreman(art, data)
    write_manifests(data)


if __name__ == "__main__":
    main()
