#!/usr/bin/python3
"""Renders the front screens' art (title, profiles, menu, options, credits buttons) into data/.

Usage: make_front.py [--manifests-only] <art folder> <data folder>

Buttons are green rounded panels with white bold words, one image per widget state, in both
languages; profile pictures are Fluent Emoji Flat animals on cream panels. The buttons and headings,
which carry words, are declared in each language's LocalizedImageResources; the screens' layouts
declare the rest.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import arguments, document, drawing, place, put_block, render  # noqa: E402

# Widget states in order: normal, hot, pressed, disabled, focused.
STATES = [
    ("#2fb344", "#1d7a2c", "#ffffff", "none", 0), ("#47cc5c", "#1d7a2c", "#ffffff", "none", 0),
    ("#23913a", "#145a20", "#e8ffe8", "none", 3), ("#b8b8b8", "#8a8a8a", "#eeeeee", "none", 0),
    ("#2fb344", "#1d7a2c", "#ffffff", "#ffd60a", 0),
]
# Button name: (English, Spanish, drawing beside the words).
BUTTONS = {
    "StartButton": ("Play!", "¡Jugar!", "check_mark"),
    "StoryButton": ("Story", "Cuento", "house"),
    "FreePlayButton": ("Free Play", "Juego libre", "hammer"),
    "StickerBookButton": ("Stickers", "Estampas", "lion"),
    "OptionsButton": ("Options", "Opciones", "wrench"),
    "CreditsButton": ("Credits", "Créditos", "paintbrush"),
    "QuitButton": ("Quit", "Salir", "flow_back"),
    "PlayButton": ("Play", "¡Jugar!", "check_mark"),
    "NewGameButton": ("New Game", "Juego nuevo", "new"),
    "DoneButton": ("Done", "Listo", "check_mark"),
    "BackButton": ("Back", "Volver", None),
}
BUTTON_W, BUTTON_H = 260, 72
# Pictures drawn here: a new game is a bright plus, beside Play's tick.
OWN_PICTURES = {
    "new": ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">'
            '<rect x="2" y="2" width="28" height="28" rx="6" fill="#ff822d"/>'
            '<path d="M16 7.5v17M7.5 16h17" stroke="#ffffff" stroke-width="5" stroke-linecap="round"/></svg>'),
}
# Screen headings: (English, Spanish), drawn centred in a 560 x 64 strip.
HEADINGS = {
    "Profiles": ("Who is playing?", "¿Quién juega?"),
    "StartOver": ("Start over?", "¿Empezar de nuevo?"),
    "Options": ("Options", "Opciones"),
    "Credits": ("Credits", "Créditos"),
}
PROFILES = ["lion", "elephant", "giraffe"]
# The options sliders' thumb, and the channel's height: a finger wide.
SLIDER_THUMB = 52
PROFILE_SIZE = 160
# The languages, each named in its own words.
CHOICES = {"English": "English", "Spanish": "Español"}


def text_width(text):
    """The width of `text` in bold DejaVu Sans, in font sizes: narrow letters take about 0.38 of the
    size, the others at most 0.7 (an estimate on the safe side, so a word never runs past its button)."""
    return sum(0.38 if c in "iljtfrI!¡ ,.'" else 0.7 for c in text)


def button(text, picture, state, art):
    fill, edge, ink, ring, dy = state
    body = ('<rect x="4" y="%d" width="%d" height="%d" rx="24" fill="#000" fill-opacity="0.2"/>'
            '<rect x="4" y="%d" width="%d" height="%d" rx="24" fill="%s" stroke="%s" stroke-width="4"/>'
            '<rect x="2" y="2" width="%d" height="%d" rx="26" fill="none" stroke="%s" stroke-width="3"/>'
            % (8, BUTTON_W - 8, BUTTON_H - 10, 4 + dy, BUTTON_W - 8, BUTTON_H - 12, fill, edge,
               BUTTON_W - 4, BUTTON_H - 4, ring))
    x, room = BUTTON_W / 2, BUTTON_W - 28
    if picture:
        body += place(OWN_PICTURES.get(picture) or drawing(art, picture), 16, 12 + dy, 44, 44)
        x, room = x + 26, room - 52
    # Only words too long for the button shrink, so the buttons of one menu share one type size.
    size = min(28, int(room / text_width(text)))
    body += ('<text x="%g" y="%d" font-family="DejaVu Sans" font-weight="bold" font-size="%d" '
             'text-anchor="middle" fill="%s">%s</text>' % (x, 36 + size * 0.36 + dy, size, ink, text))
    return document(BUTTON_W, BUTTON_H, body)


def radio(inner_svg, w, h, state):
    # Normal, hot, pressed (checked), disabled, focused: the checked one wears a thick orange ring.
    ring = ["#e0a060", "#f08a24", "#f08a24", "#bbbbbb", "#f08a24"][state]
    width = [4, 6, 10, 4, 10][state]
    fill = ["#fff6e0", "#fff0cc", "#ffe2a8", "#eeeeee", "#ffe2a8"][state]
    return document(w, h, '<rect x="6" y="6" width="%d" height="%d" rx="20" fill="%s" stroke="%s" '
                    'stroke-width="%d"/>%s' % (w - 12, h - 12, fill, ring, width, inner_svg))


def write_manifests(data):
    for language, suffix in (("EN", ""), ("SP", "_SP")):
        body = "".join('  <imagelist name="Button_%s_%s" pattern="Button_%s_%s_%%1%%" first="0" last="%d"/>\n'
                       % (name, language, name, language, len(STATES) - 1) for name in BUTTONS)
        body += "".join('  <image name="Heading_%s_%s" src="Heading_%s_%s"/>\n' % (name, language, name, language)
                        for name in HEADINGS)
        put_block(os.path.join(data, "LocalizedImageResources%s.xml" % suffix), "front screens",
                  "the buttons and headings of the title, menu, profile, options and credits screens.", body,
                  "make_front.py")


def main():
    art, data = arguments(__doc__, 2)
    write_manifests(data)
    out = os.path.join(data, "front")
    for name, (en, sp, picture) in BUTTONS.items():
        for language, text in (("EN", en), ("SP", sp)):
            for index, state in enumerate(STATES):
                render(button(text, picture, state, art), BUTTON_W, BUTTON_H,
                       os.path.join(out, "Button_%s_%s_%d.png" % (name, language, index)))
    for name, words in HEADINGS.items():
        for language, text in zip(("EN", "SP"), words):
            body = ('<text x="280" y="48" font-family="DejaVu Sans" font-weight="bold" font-size="40" '
                    'text-anchor="middle" fill="#7a3d0a">%s</text>' % text)
            render(document(560, 64, body), 560, 64, os.path.join(out, "Heading_%s_%s.png" % (name, language)))
    s = PROFILE_SIZE
    for number, animal in enumerate(PROFILES, 1):
        for state in range(5):
            inner_svg = place(drawing(art, animal), s * 0.15, s * 0.12, s * 0.7, s * 0.7)
            render(radio(inner_svg, s, s, state), s, s, os.path.join(out, "Radio_Profile%d_%d.png" % (number, state)))
    for name, text in CHOICES.items():
        for state in range(5):
            inner_svg = ('<text x="100" y="46" font-family="DejaVu Sans" font-weight="bold" font-size="26" '
                         'text-anchor="middle" fill="#6b3d10">%s</text>' % text)
            render(radio(inner_svg, 200, 72, state), 200, 72, os.path.join(out, "Radio_%s_%d.png" % (name, state)))
    # The slider's channel is a three-slice strip (left cap, middle, right cap); its thumb has the
    # normal, hot, pressed and disabled looks.
    # The thumb is a finger wide, and so is where it takes presses (its opaque pixels); the channel is
    # as high, so the thumb sits on the channel's middle.
    t, mid = SLIDER_THUMB, SLIDER_THUMB // 2
    caps = {0: '<rect x="4" y="%d" width="24" height="12" rx="6" fill="#f0c890" stroke="#e07b1a" stroke-width="3"/>' % (mid - 6),
            1: '<rect x="-2" y="%d" width="12" height="12" fill="#f0c890"/><path d="M0 %gH8M0 %gH8" stroke="#e07b1a" '
               'stroke-width="3"/>' % (mid - 6, mid - 4.5, mid + 4.5),
            2: '<rect x="-12" y="%d" width="24" height="12" rx="6" fill="#f0c890" stroke="#e07b1a" stroke-width="3"/>' % (mid - 6)}
    for index, body in caps.items():
        w = 8 if index == 1 else 16
        render(document(w, t, body), w, t, os.path.join(out, "SliderChannel_%d.png" % index))
    for state in range(4):
        fill = ["#2fb344", "#47cc5c", "#23913a", "#b8b8b8"][state]
        thumb = ('<circle cx="%d" cy="%d" r="%d" fill="%s" stroke="#1d7a2c" stroke-width="3"/>'
                 '<path d="M%d %dv12M%d %dv12" stroke="#ffffff" stroke-opacity="0.8" stroke-width="3" stroke-linecap="round"/>'
                 % (mid, mid, mid - 2, fill, mid - 4, mid - 6, mid + 4, mid - 6))
        render(document(t, t, thumb), t, t, os.path.join(out, "SliderThumb_%d.png" % state))
    # What each volume slider controls, shown beside it: a note for the music, a speaking head for the
    # voices and effects.
    icons = {"Music": '<path d="M17 12L38 6V32" fill="none" stroke="#6b3d10" stroke-width="4"/>'
                      '<path d="M17 36V12L38 6V13L17 19Z" fill="#6b3d10"/>'
                      '<ellipse cx="12" cy="36" rx="7" ry="5.5" transform="rotate(-20 12 36)" fill="#6b3d10"/>'
                      '<ellipse cx="33" cy="32" rx="7" ry="5.5" transform="rotate(-20 33 32)" fill="#6b3d10"/>',
             "Voices": '<path d="M6 44C3 32 4 10 19 7C29 5 33 12 32 19L36 26L31.5 27C32 32 29 34 25 34V44Z" '
                       'fill="#6b3d10"/><path d="M37 15Q42 22 37 29M42 10Q50 22 42 34" fill="none" '
                       'stroke="#6b3d10" stroke-width="3.5" stroke-linecap="round"/>'}
    for name, body in icons.items():
        render(document(48, 48, body), 48, 48, os.path.join(out, "SliderIcon_%s.png" % name))
    # Sound on or off (check box: five looks unchecked, then five checked): a loudspeaker, struck out when off.
    speaker = ('<path d="M18 28H30L46 14V58L30 44H18Z" fill="#6b3d10"/>'
               '<path d="M54 26Q62 36 54 46M60 20Q72 36 60 52" fill="none" stroke="#6b3d10" stroke-width="5" '
               'stroke-linecap="round"/>')
    for checked in range(2):
        for state in range(5):
            inner_svg = speaker
            if not checked:
                inner_svg += '<path d="M16 60L72 12" stroke="#e8262f" stroke-width="8" stroke-linecap="round"/>'
            render(radio(inner_svg, 88, 72, state), 88, 72,
                   os.path.join(out, "SoundCheck_%d.png" % (checked * 5 + state)))
    # The window choices as pictures: a small window on a screen, and a screen filled.
    screens = {"Windowed": '<rect x="60" y="14" width="80" height="46" rx="4" fill="#bfe6ff" stroke="#6b3d10" stroke-width="4"/>'
                           '<rect x="78" y="24" width="44" height="26" fill="#2fb344"/>',
               "FullScreen": '<rect x="60" y="14" width="80" height="46" rx="4" fill="#2fb344" stroke="#6b3d10" stroke-width="4"/>'}
    for name, body in screens.items():
        for state in range(5):
            render(radio(body, 200, 72, state), 200, 72, os.path.join(out, "Radio_%s_%d.png" % (name, state)))
    render(confirm_panel(), 560, 320, os.path.join(out, "ConfirmPanel.png"))
    render(document(800, 600, place(read_panel(), 0, 0, 800, 600)), 800, 600, os.path.join(out, "MenuBackdrop.png"))
    # The game's name is part of the picture: big, orange with a white outline, the same in both languages.
    # The crane and the digger stand on the far meadow, each on its shadow, the foreman behind a rise of
    # the near meadow; the animals stand in front, on the near meadow.
    title = ('<rect width="800" height="600" fill="#bfe6ff"/>'
             '<path d="M0 318Q200 300 400 312T800 306V600H0Z" fill="#a8d98a"/>'
             '<text x="400" y="120" font-family="DejaVu Sans" font-weight="bold" font-size="96" text-anchor="middle" '
             'fill="#f08a24" stroke="#ffffff" stroke-width="6" paint-order="stroke">Menagerie</text>')
    for x, y, w in ((170, 362, 76), (640, 362, 72)):
        title += '<ellipse cx="%d" cy="%d" rx="%d" ry="7" fill="#6fa85a" fill-opacity="0.5"/>' % (x, y, w)
    title += place(drawing(art, "crane"), 100, 210, 160, 160) + place(drawing(art, "excavator"), 560, 215, 160, 160)
    title += place(drawing(art, "construction_worker"), 320, 196, 160, 160)
    title += ('<path d="M0 404Q120 398 230 392C290 388 300 338 400 338S510 388 570 392Q680 398 800 404V600H0Z" '
              'fill="#8fd16a"/>')
    for i, (animal, size) in enumerate((("giraffe", 140), ("elephant", 125), ("tiger", 100), ("monkey", 80),
                                        ("zebra", 105))):
        title += place(drawing(art, animal), 40 + i * 150, 470 - size, size, size)
    render(document(800, 600, title), 800, 600, os.path.join(out, "TitleBackdrop.png"))


def confirm_panel():
    return document(560, 320, '<rect x="8" y="12" width="544" height="300" rx="28" fill="#000" fill-opacity="0.2"/>'
                    '<rect x="6" y="6" width="544" height="300" rx="28" fill="#fff6e0" stroke="#f08a24" stroke-width="8"/>')


def read_panel():
    return ('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 800 600"><rect width="800" height="600" fill="#bfe6ff"/>'
            '<rect x="40" y="30" width="720" height="540" rx="28" fill="#fff6e0" stroke="#f08a24" stroke-width="8"/></svg>')


if __name__ == "__main__":
    main()
