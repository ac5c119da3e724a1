#!/usr/bin/python3
"""Renders the front screens' art (title, profiles, menu, options, credits buttons) into data/.

Usage: make_front.py <art folder> <data folder>

Buttons are green rounded panels with white bold words, one image per widget state, in both
languages; profile pictures are Fluent Emoji Flat animals on cream panels.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import document, drawing, place, render  # noqa: E402

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
    "StickerBookButton": ("Stickers", "Calcomanías", "lion"),
    "OptionsButton": ("Options", "Opciones", "wrench"),
    "CreditsButton": ("Credits", "Créditos", "paintbrush"),
    "QuitButton": ("Quit", "Salir", None),
    "PlayButton": ("Play", "Jugar", "check_mark"),
    "NewGameButton": ("New Game", "Juego nuevo", None),
    "YesButton": ("Yes", "Sí", "check_mark"),
    "NoButton": ("No", "No", None),
    "DoneButton": ("Done", "Listo", "check_mark"),
    "BackButton": ("Back", "Volver", None),
}
BUTTON_W, BUTTON_H = 260, 72
PROFILES = ["lion", "elephant", "giraffe"]
PROFILE_SIZE = 160
# Radio choices drawn as pictures: a flag-like word panel or a drawing.
CHOICES = {"English": "English", "Spanish": "Español", "Windowed": "▭", "FullScreen": "⛶"}


def button(text, picture, state, art):
    fill, edge, ink, ring, dy = state
    body = ('<rect x="4" y="%d" width="%d" height="%d" rx="24" fill="#000" fill-opacity="0.2"/>'
            '<rect x="4" y="%d" width="%d" height="%d" rx="24" fill="%s" stroke="%s" stroke-width="4"/>'
            '<rect x="2" y="2" width="%d" height="%d" rx="26" fill="none" stroke="%s" stroke-width="3"/>'
            % (8, BUTTON_W - 8, BUTTON_H - 10, 4 + dy, BUTTON_W - 8, BUTTON_H - 12, fill, edge,
               BUTTON_W - 4, BUTTON_H - 4, ring))
    x = BUTTON_W / 2
    if picture:
        body += place(drawing(art, picture), 16, 12 + dy, 44, 44)
        x += 26
    body += ('<text x="%g" y="%d" font-family="DejaVu Sans" font-weight="bold" font-size="28" '
             'text-anchor="middle" fill="%s">%s</text>' % (x, 46 + dy, ink, text))
    return document(BUTTON_W, BUTTON_H, body)


def radio(inner_svg, w, h, state):
    # Normal, hot, pressed (checked), disabled, focused: the checked one wears a thick orange ring.
    ring = ["#e0a060", "#f08a24", "#f08a24", "#bbbbbb", "#f08a24"][state]
    width = [4, 6, 10, 4, 10][state]
    fill = ["#fff6e0", "#fff0cc", "#ffe2a8", "#eeeeee", "#ffe2a8"][state]
    return document(w, h, '<rect x="6" y="6" width="%d" height="%d" rx="20" fill="%s" stroke="%s" '
                    'stroke-width="%d"/>%s' % (w - 12, h - 12, fill, ring, width, inner_svg))


def main():
    art, data = sys.argv[1], sys.argv[2]
    out = os.path.join(data, "front")
    for name, (en, sp, picture) in BUTTONS.items():
        for language, text in (("EN", en), ("SP", sp)):
            for index, state in enumerate(STATES):
                render(button(text, picture, state, art), BUTTON_W, BUTTON_H,
                       os.path.join(out, "Button_%s_%s_%d.png" % (name, language, index)))
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
    # The slider's channel and thumb, and the sound check box (off, on; each normal, hot, pressed, disabled).
    for state in range(4):
        render(document(300, 40, '<rect x="4" y="14" width="292" height="12" rx="6" fill="#f0c890" stroke="#e07b1a" '
                        'stroke-width="3"/>'), 300, 40, os.path.join(out, "SliderChannel_%d.png" % state))
        fill = ["#2fb344", "#47cc5c", "#23913a", "#b8b8b8"][state]
        render(document(40, 40, '<circle cx="20" cy="20" r="16" fill="%s" stroke="#1d7a2c" stroke-width="3"/>' % fill),
               40, 40, os.path.join(out, "SliderThumb_%d.png" % state))
    speaker = drawing(art, "speaker_high_volume") if os.path.exists(os.path.join(art, "fluent", "speaker_high_volume.svg")) else None
    for checked in range(2):
        for state in range(5):
            inner_svg = place(speaker, 20, 12, 48, 48) if speaker else ""
            if not checked:
                inner_svg += '<path d="M16 60L72 12" stroke="#e8262f" stroke-width="8" stroke-linecap="round"/>'
            render(radio(inner_svg, 88, 72, state), 88, 72,
                   os.path.join(out, "SoundCheck_%d.png" % (checked * 5 + state)))
    render(document(800, 600, place(read_panel(), 0, 0, 800, 600)), 800, 600, os.path.join(out, "MenuBackdrop.png"))
    # The game's name is part of the picture: big, orange with a white outline, the same in both languages.
    title = ('<rect width="800" height="600" fill="#bfe6ff"/><rect y="400" width="800" height="200" fill="#8fd16a"/>'
             '<text x="400" y="120" font-family="DejaVu Sans" font-weight="bold" font-size="96" text-anchor="middle" '
             'fill="#f08a24" stroke="#ffffff" stroke-width="6" paint-order="stroke">Menagerie</text>')
    for i, animal in enumerate(["giraffe", "elephant", "lion", "monkey", "zebra"]):
        title += place(drawing(art, animal), 40 + i * 150, 350, 120, 120)
    title += place(drawing(art, "construction_worker"), 320, 160, 160, 160)
    title += place(drawing(art, "excavator"), 560, 180, 160, 160) + place(drawing(art, "crane"), 80, 180, 160, 160)
    render(document(800, 600, title), 800, 600, os.path.join(out, "TitleBackdrop.png"))


def read_panel():
    return ('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 800 600"><rect width="800" height="600" fill="#bfe6ff"/>'
            '<rect x="40" y="30" width="720" height="540" rx="28" fill="#fff6e0" stroke="#f08a24" stroke-width="8"/></svg>')


if __name__ == "__main__":
    main()
