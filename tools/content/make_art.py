#!/usr/bin/python3
"""Renders the shared art from art/ into data/: cursors, stickers, skip buttons and the foreman.

Usage: make_art.py [--manifests-only] <art folder> <data folder>

Drawings are recoloured and combined as SVG text, then rendered once each with rsvg-convert. With
--manifests-only (which every art script takes) the manifests are written and nothing is rendered, so the
content check can compare them with data/ in a moment and without the drawing tools.
"""
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

# The foreman's poses, by the frame index the games pass to the instruction pop-up: the crew's
# foreman alone, then holding what the game is about.
FOREMAN_POSES = [None, "hammer", "paintbrush", "toolbox", "wrench"]
FOREMAN_SIZE = 200

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


def make_cursors(art, data):
    arrow = read(os.path.join(art, "own", "cursor_arrow.svg"))
    render(arrow, 32, 32, os.path.join(data, "cursors", "cursor_default.png"))
    hand = read(os.path.join(art, "fluent", "hand_pointing.svg"))
    render(hand, 48, 48, os.path.join(data, "cursors", "cursor_hand.png"))
    brush = read(os.path.join(art, "fluent", "paintbrush.svg"))
    for name, (tip, handle) in BRUSH_COLOURS.items():
        render(recolour(brush, {BRUSH_TIP: tip, BRUSH_HANDLE: handle}), 48, 48,
               os.path.join(data, "cursors", "cursor_brush_%s.png" % name))


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


def make_foreman(art, data):
    worker = read(os.path.join(art, "fluent", "construction_worker.svg"))
    s = FOREMAN_SIZE
    for index, tool in enumerate(FOREMAN_POSES):
        body = place(worker, 0, s * 0.1, s * 0.8, s * 0.8)
        if tool:
            body += place(read(os.path.join(art, "fluent", tool + ".svg")), s * 0.52, s * 0.5, s * 0.46, s * 0.46)
        render(document(s, s, body), s, s, os.path.join(data, "foreman", "ForemanPose_%d.png" % index))
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
      <animatedspritenode nodeName="LevelIntroForeman" spriteType="ForemanSpriteType" x="170" y="190"/>
      <buttonnode nodeName="SkipButton" name="OkButton" images="Button_SkipCutscene_EN" sounds="WidgetSounds"
                  alphaSensitivity="0" x="440" y="356"/>
    </scenenode>
  </scenelayout>
</manifest>
""" % (len(FOREMAN_POSES) - 1))
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
