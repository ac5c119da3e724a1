#!/usr/bin/python3
"""Renders the play-flow screens' art into data/flow/ and writes their manifests: the free-play chooser
and its game pictures, the difficulty choice, the quit question and the sticker reward.

Usage: make_flow_art.py [--manifests-only] <art folder> <data folder>

Runs after make_art.py, whose drawing helpers it shares; words are drawn into separate English and
Spanish images, and the screens pick theirs by the profile's language.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import (STICKERS, TOOL_YELLOW, arguments, document, drawing, place, put_block as put, read,  # noqa: E402
                      render, tool_drawing)

# The reward shows the sticker just unlocked at this size, drawn for it rather than scaled up.
BIG_STICKER = 224

# The game's label (the button's name, by which the chooser finds the game) and its picture: a drawing's
# name, or a tool kind and colour for a tool the game paints, drawn as every game draws that tool.
GAMES = [
    ("ToolShed", "toolbox"), ("StreetSigns", "street_sign"), ("PlanAJob", "flow_plan"),
    ("PaintIt", "paintbrush"), ("HoistStacker", "crane"), ("HammerTheNail", ("Wrench", TOOL_YELLOW)),
    ("CountTheMaterials", "brick"), ("HaulersDelivery", "locomotive"), ("PileOfLeaves", "fallen_leaf"),
    ("SproutPuzzle", "sp_jigsaw"), ("HideAndSeek", "cat"), ("HereToThere", "house"),
]

# Every heading, picture and button lies inside its panel's dashed border (which runs 22 pixels in from
# the panel's edge): the free-play heading between the border and the grid of games, the reward's OK
# button above the border's bottom run.
FREE_PLAY_TITLE_Y, GRID_TOP, GRID_STEP = 40, 104, 134
STICKER_Y, OK_Y = 144, 382

# Widget states in order: normal, hot, pressed, disabled, focused. A radio button shows "pressed" while
# checked.
CARD_STATES = [
    dict(fill="#fff6dc", edge="#ffb02e", ring="none", dy=0, fade=1.0),
    dict(fill="#fffbe9", edge="#ffb02e", ring="#ffd60a", dy=0, fade=1.0),
    dict(fill="#e6f7e9", edge="#2fb344", ring="none", dy=3, fade=1.0),
    dict(fill="#e4e4e4", edge="#b8b8b8", ring="none", dy=0, fade=0.3),
    dict(fill="#e6f7e9", edge="#2fb344", ring="#ffd60a", dy=0, fade=1.0),
]
GREEN_STATES = [
    dict(fill="#2fb344", edge="#1d7a2c", ring="none", dy=0, fade=1.0),
    dict(fill="#47cc5c", edge="#1d7a2c", ring="none", dy=0, fade=1.0),
    dict(fill="#23913a", edge="#145a20", ring="none", dy=2, fade=1.0),
    dict(fill="#b8b8b8", edge="#8a8a8a", ring="none", dy=0, fade=0.5),
    dict(fill="#2fb344", edge="#1d7a2c", ring="#ffd60a", dy=0, fade=1.0),
]
# The in-game corner buttons sit on every game's backdrop, light, mid or dark: a deep blue card (at least
# 3:1 against the light and mid ones) inside a wide white rim (against the dark ones), with a white symbol.
CORNER_STATES = [
    dict(fill="#1a3f9e", edge="#ffffff", ring="#ffffff", dy=0, fade=1.0),
    dict(fill="#2450b8", edge="#ffffff", ring="#ffd60a", dy=0, fade=1.0),
    dict(fill="#143380", edge="#e8f0ff", ring="#e8f0ff", dy=3, fade=1.0),
    dict(fill="#5a6478", edge="#d0d0d0", ring="#d0d0d0", dy=0, fade=0.5),
    dict(fill="#1a3f9e", edge="#ffffff", ring="#ffd60a", dy=0, fade=1.0),
]
RED_STATES = [
    dict(s, fill=f, edge=e) for s, f, e in zip(
        CARD_STATES, ["#fff6dc", "#fffbe9", "#ffe3e0", "#e4e4e4", "#fff6dc"],
        ["#f8312f", "#f8312f", "#b3201f", "#b8b8b8", "#f8312f"])
]

# Words, as the English and Spanish images that carry them.
WORDS = {
    "FreePlayTitle": ("Pick a game!", "¡Elige un juego!"),
    "DifficultyTitle": ("How hard?", "¿Qué tan difícil?"),
    "QuitQuestion": ("Leave the game?", "¿Salir del juego?"),
    "QuitQuestionInGame": ("Stop playing?", "¿Dejar de jugar?"),
    "NewSticker": ("A new sticker!", "¡Una estampa nueva!"),
    "BookComplete": ("Your sticker book is full!", "¡Tu álbum está completo!"),
}
PLAY = ("Play", "¡Jugar!")
LANGUAGES = ("EN", "SP")

PANEL = ('<rect x="6" y="12" width="{w8}" height="{h18}" rx="36" fill="#000000" fill-opacity="0.22"/>'
         '<rect x="4" y="4" width="{w8}" height="{h18}" rx="36" fill="#fff6dc" stroke="#ffb02e" stroke-width="8"/>'
         '<rect x="22" y="22" width="{w44}" height="{h54}" rx="24" fill="none" stroke="#ffd98a" '
         'stroke-width="3" stroke-dasharray="14 10"/>')


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;")


def card(w, h, state, body, radius=22):
    """A rounded card of one widget state with `body` (already placed) on it."""
    dy = state["dy"]
    return document(w, h, (
        '<rect x="4" y="8" width="%d" height="%d" rx="%d" fill="#000000" fill-opacity="0.2"/>'
        '<g transform="translate(0 %d)"><rect x="4" y="4" width="%d" height="%d" rx="%d" fill="%s" stroke="%s" '
        'stroke-width="5"/><rect x="1.5" y="1.5" width="%d" height="%d" rx="%d" fill="none" stroke="%s" '
        'stroke-width="3"/><g opacity="%g">%s</g></g>') % (
        w - 8, h - 12, radius, dy, w - 8, h - 12, radius, state["fill"], state["edge"],
        w - 3, h - 9, radius + 2, state["ring"], state["fade"], body))


def states(name, w, h, table, body, out):
    for index, state in enumerate(table):
        render(card(w, h, state, body), w, h, os.path.join(out, "%s_%d.png" % (name, index)))


def words(text, w, h, size, colour="#7a4a00"):
    return document(w, h, '<text x="%g" y="%g" font-family="DejaVu Sans" font-weight="bold" font-size="%d" '
                    'text-anchor="middle" fill="%s">%s</text>' % (w / 2, h / 2 + size * 0.36, size, colour,
                                                                  esc(text)))


def make_images(art, data):
    out = os.path.join(data, "flow")
    w, h = 150, 120
    for name, picture in GAMES:
        svg = drawing(art, picture) if isinstance(picture, str) else tool_drawing(art, *picture)
        states("GameButton_" + name, w, h, CARD_STATES, place(svg, 35, 18, 80, 80), out)
    star = drawing(art, "star")
    for stars, name in enumerate(("Easy", "Medium", "Hard"), start=1):
        size = 56
        x0 = (200 - stars * size - (stars - 1) * 4) / 2
        body = "".join(place(star, x0 + i * (size + 4), 52, size, size) for i in range(stars))
        states("Difficulty_" + name, 200, 160, CARD_STATES, body, out)
    tick, cross = drawing(art, "check_mark"), drawing(art, "flow_cross")
    states("Button_Yes", 140, 104, CARD_STATES, place(tick, 38, 20, 64, 64), out)
    states("Button_No", 140, 104, RED_STATES, place(cross, 40, 22, 60, 60), out)
    states("Button_Ok", 120, 96, CARD_STATES, place(tick, 30, 18, 60, 60), out)
    back = drawing(art, "flow_back")
    states("Button_Back", 112, 80, GREEN_STATES, place(back, 32, 14, 48, 48), out)
    # Every mini-game's corner buttons: the foreman explains the game again; the arrow leaves it.
    states("Button_GameHelp", 76, 76, CORNER_STATES, place(drawing(art, "construction_worker"), 13, 10, 50, 50), out)
    states("Button_GameQuit", 76, 76, CORNER_STATES, place(back, 14, 12, 48, 48), out)
    triangle = '<path fill="#ffffff" d="M0 0L26 17L0 34Z"/>'
    for language, text in zip(LANGUAGES, PLAY):
        body = ('<text x="95" y="50" font-family="DejaVu Sans" font-weight="bold" font-size="28" '
                'text-anchor="middle" fill="#ffffff">%s</text><g transform="translate(178 24)">%s</g>'
                % (esc(text), triangle))
        states("Button_Play_" + language, 224, 84, GREEN_STATES, body, out)
    for name, texts in WORDS.items():
        for language, text in zip(LANGUAGES, texts):
            render(words(text, 480, 64, 34 if len(text) < 20 else 28), 480, 64,
                   os.path.join(out, "%s_%s.png" % (name, language)))
    for name, (pw, ph) in (("FlowPanel", (760, 560)), ("FlowPopUp", (520, 330)), ("FlowRewardPanel", (520, 480))):
        svg = document(pw, ph, PANEL.format(w8=pw - 10, h18=ph - 18, w44=pw - 46, h54=ph - 58))
        render(svg, pw, ph, os.path.join(out, name + ".png"))
    render(document(96, 96, place(star, 0, 0, 96, 96)), 96, 96, os.path.join(out, "FlowBigStar.png"))
    frame = read(os.path.join(art, "own", "sticker_frame.svg"))
    b = BIG_STICKER
    for index, name in enumerate(STICKERS):
        body = place(frame, 0, 0, b, b) + place(drawing(art, name), b * 0.14, b * 0.13, b * 0.72, b * 0.72)
        render(document(b, b, body), b, b, os.path.join(out, "StickerBig_%d.png" % index))


def imagelist(name, pattern=None, last=4):
    return '  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="%d"/>\n' % (name, pattern or name, last)


def image(name):
    return '  <image name="%s" src="%s"/>\n' % (name, name)


def button(node, images, x, y, name=None):
    return ('      <buttonnode nodeName="%s" name="%s" images="%s" sounds="WidgetSounds" x="%d" y="%d"/>\n'
            % (node, name or node, images, x, y))


def put_block(path, comment, body):
    """Puts the play flow's entries into the manifest, keeping what other screens put there."""
    put(path, "play flow", comment, body, "make_flow_art.py")


def write_manifests(data):
    # The twelve game pictures: "GameSelect".
    put_block(os.path.join(data, "GameSelect.xml"),
              "the pictures of the twelve games, one image list per game button.",
              "".join(imagelist("GameButton_" + name) for name, _ in GAMES))

    grid = ""
    for index, (name, _) in enumerate(GAMES):
        grid += button(name, "GameButton_" + name, 67 + (index % 4) * 172, GRID_TOP + (index // 4) * GRID_STEP)
    body = image("FlowPanel") + image("FlowRewardPanel") + image("FlowBigStar")
    body += imagelist("Button_Back") + imagelist("Button_Ok")
    body += imagelist("StickerBigList", "StickerBig", len(STICKERS) - 1)
    body += ('  <scenelayout name="FreePlaySelectLayout">\n'
             '    <scenenode nodeName="FreePlaySelect" width="800" height="600">\n'
             '      <rectnode width="800" height="600" color="#8fd3f4"/>\n'
             '      <staticspritenode src="FlowPanel" x="20" y="20"/>\n'
             '      <staticspritenode nodeName="Title" src="FreePlayTitle_EN" x="160" y="%d"/>\n' % FREE_PLAY_TITLE_Y +
             grid + button("BackButton", "Button_Back", 44, 500) +
             '    </scenenode>\n  </scenelayout>\n')
    body += ('  <scenelayout name="StickerUnlockLayout">\n'
             '    <scenenode nodeName="StickerUnlock" width="800" height="600">\n'
             '      <rectnode width="800" height="600" color="#00000066"/>\n'
             '      <staticspritenode src="FlowRewardPanel" x="140" y="50"/>\n'
             '      <staticspritenode nodeName="NewSticker" src="NewSticker_EN" x="160" y="76"/>\n'
             '      <staticspritenode nodeName="StickerImage" x="288" y="%d"/>\n' % STICKER_Y +
             '      <scenenode nodeName="BookComplete" visible="false">\n'
             '        <staticspritenode nodeName="BookCompleteText" src="BookComplete_EN" x="160" y="76"/>\n'
             '        <staticspritenode src="FlowBigStar" x="352" y="180"/>\n'
             '        <staticspritenode src="FlowBigStar" x="232" y="230"/>\n'
             '        <staticspritenode src="FlowBigStar" x="472" y="230"/>\n'
             '      </scenenode>\n'
             + button("OkButton", "Button_Ok", 340, OK_Y) +
             '    </scenenode>\n  </scenelayout>\n')
    put_block(os.path.join(data, "FreePlaySelect.xml"),
              "the free-play chooser (one button per game, named after its label) and the sticker reward.", body)

    body = image("FlowPopUp") + imagelist("Button_Yes") + imagelist("Button_No")
    body += imagelist("Button_GameHelp") + imagelist("Button_GameQuit")
    body += "".join(imagelist("Difficulty_" + name) for name in ("Easy", "Medium", "Hard"))
    radios = "".join(
        '      <radiobuttonnode nodeName="%s" name="%s" group="Difficulty" images="Difficulty_%s" '
        'sounds="WidgetSounds" x="%d" y="150"/>\n' % (name, name, name, 70 + index * 230)
        for index, name in enumerate(("Easy", "Medium", "Hard")))
    body += ('  <scenelayout name="DifficultySelectLayout">\n'
             '    <scenenode nodeName="DifficultySelect" width="800" height="600">\n'
             '      <rectnode width="800" height="600" color="#8fd3f4"/>\n'
             '      <staticspritenode src="FlowPanel" x="20" y="20"/>\n'
             '      <staticspritenode nodeName="Title" src="DifficultyTitle_EN" x="160" y="50"/>\n'
             + radios + button("PlayButton", "Button_Play_EN", 288, 380) + button("BackButton", "Button_Back", 44, 500) +
             '    </scenenode>\n  </scenelayout>\n')
    body += ('  <scenelayout name="QuitConfirmLayout">\n'
             '    <scenenode nodeName="QuitConfirm" width="800" height="600">\n'
             '      <rectnode width="800" height="600" color="#00000066"/>\n'
             '      <staticspritenode src="FlowPopUp" x="140" y="135"/>\n'
             '      <staticspritenode nodeName="InGameQuestion" src="QuitQuestionInGame_EN" x="160" y="180"/>\n'
             '      <staticspritenode nodeName="LeaveQuestion" src="QuitQuestion_EN" x="160" y="180" visible="false"/>\n'
             + button("YesButton", "Button_Yes", 230, 290) + button("NoButton", "Button_No", 430, 290) +
             '    </scenenode>\n  </scenelayout>\n')
    put_block(os.path.join(data, "DifficultyOptionsQuit.xml"),
              "the difficulty choice (radio buttons Easy, Medium, Hard), the quit question and the games' "
              "Help and Quit buttons.", body)

    # Words go into the localized manifests.
    for language, suffix in (("EN", ""), ("SP", "_SP")):
        body = imagelist("Button_Play_" + language) + "".join(image("%s_%s" % (name, language)) for name in WORDS)
        put_block(os.path.join(data, "LocalizedImageResources%s.xml" % suffix), "words of the screens.", body)


def main():
    art, data = arguments(__doc__, 2)
    make_images(art, data)
    write_manifests(data)


if __name__ == "__main__":
    main()
