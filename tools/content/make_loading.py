#!/usr/bin/python3
"""Renders the loading screen's art into data/loading/ and writes data/Loading.xml.

Usage: make_loading.py [--manifests-only] <art folder> <data folder>

Two splashes (the crew at work, then the animals waiting for their new homes), the screen behind the
progress bar and the bar's empty and full strips, all in the flat style of the other drawings.
"""
import os
import sys

from make_art import arguments, document, drawing, place, render, write

W, H = 800, 600
BAR_W, BAR_H = 400, 28
FONT = "DejaVu Sans"


def sky(top, bottom, ground, hill):
    return ('<defs><linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient></defs>'
            '<rect width="%d" height="%d" fill="url(#sky)"/>'
            '<ellipse cx="180" cy="520" rx="420" ry="120" fill="%s"/>'
            '<ellipse cx="650" cy="540" rx="380" ry="110" fill="%s"/>'
            '<rect y="500" width="%d" height="100" fill="%s"/>' % (top, bottom, W, H, hill, hill, W, ground))


def sun(x, y):
    return '<circle cx="%d" cy="%d" r="46" fill="#ffd60a"/><circle cx="%d" cy="%d" r="34" fill="#ffe55c"/>' % (
        x, y, x, y)


def cloud(x, y, s):
    return ('<g transform="translate(%g %g) scale(%g)" fill="#ffffff">'
            '<ellipse cx="0" cy="0" rx="46" ry="24"/><ellipse cx="34" cy="-14" rx="34" ry="26"/>'
            '<ellipse cx="66" cy="2" rx="40" ry="22"/></g>' % (x, y, s))


def title(text, y, size, fill, edge):
    return ('<text x="%d" y="%d" text-anchor="middle" font-family="%s" font-weight="bold" font-size="%d" '
            'fill="%s" stroke="%s" stroke-width="%g" paint-order="stroke">%s</text>'
            % (W // 2, y, FONT, size, fill, edge, size / 8, text))


# The words drawn on the splash and behind the bar, by file suffix: English, then Spanish.
WORDS = {"": ("Build them a home!", "Loading…"), "_SP": ("¡Construyamos su casa!", "Cargando…")}


def splash_crew(art):
    body = sky("#7cc8ff", "#d8f0ff", "#7bc96f", "#95d88a") + sun(690, 110) + cloud(90, 120, 1.1) + cloud(420, 80, 0.8)
    body += place(drawing(art, "building_construction"), 300, 230, 220, 220)
    body += place(drawing(art, "crane"), 470, 170, 260, 260)
    body += place(drawing(art, "excavator"), 60, 330, 200, 200)
    body += place(drawing(art, "construction_worker"), 250, 400, 120, 120)
    body += place(drawing(art, "toolbox"), 560, 440, 90, 90)
    body += title("Menagerie", 90, 72, "#ffb02e", "#533566")
    return document(W, H, body)


def splash_animals(art, words):
    # The words take the top band; the sun and the cloud sit below them, clear of every letter.
    body = sky("#ffb86b", "#ffe9c2", "#5fb35a", "#86c76f") + sun(110, 180) + cloud(560, 185, 1.0)
    body += place(drawing(art, "house"), 40, 260, 200, 200)
    # Whole animals standing on one ground line, sized against one another.
    for x, name, size in ((230, "giraffe", 150), (360, "elephant", 130), (480, "tiger", 100), (580, "zebra", 110),
                          (690, "penguin", 80)):
        body += place(drawing(art, name), x, 490 - size, size, size)
    # The truck stands on the lawn before them: its wheels touch the ground near the bottom edge.
    body += place(drawing(art, "delivery_truck"), 630, 465, 130, 130)
    body += title(words, 90, 54, "#ffffff", "#1d7a2c")
    return document(W, H, body)


def background(words):
    body = sky("#9fd8ff", "#e6f6ff", "#7bc96f", "#95d88a") + cloud(120, 140, 1.2) + cloud(560, 90, 0.9)
    body += title(words, 300, 64, "#ffffff", "#2f6fe8")
    return document(W, H, body)


def bar(fill, edge, shine):
    r = BAR_H / 2
    body = ('<rect x="1" y="1" width="%d" height="%d" rx="%g" fill="%s" stroke="%s" stroke-width="2"/>'
            '<rect x="%g" y="5" width="%d" height="6" rx="3" fill="%s"/>'
            % (BAR_W - 2, BAR_H - 2, r - 1, fill, edge, r, BAR_W - 2 * int(r), shine))
    return document(BAR_W, BAR_H, body)


MANIFEST = """<?xml version="1.0"?>
<!-- The loading screen: two splashes cross-fade, then the bar fills. Made by tools/make_content.sh. -->
<manifest>
  <image name="Splash1" src="Splash1"/>
  <image name="Splash2" src="Splash2"/>
  <image name="LoadingBackground" src="LoadingBackground"/>
  <image name="LoadingBarEmpty" src="LoadingBarEmpty"/>
  <image name="LoadingBarFull" src="LoadingBarFull"/>
  <font name="LoadingFont" src="Body24"/>
  <layout name="LoadingMode">
    <imagesprite name="LoadingBackground" src="LoadingBackground" x="0" y="0" width="800" height="600" layer="0"/>
    <imagesprite name="Splash1" src="Splash1" x="0" y="0" width="800" height="600" layer="1"/>
    <imagesprite name="Splash2" src="Splash2" x="0" y="0" width="800" height="600" layer="2"/>
    <imagesprite name="LoadingEmpty" src="LoadingBarEmpty" x="200" y="400" layer="3"/>
    <imagesprite name="LoadingFull" src="LoadingBarFull" x="200" y="400" layer="4"/>
    <textsprite name="LoadingText" font="LoadingFont" color="#2f4f8f" x="372" y="440" layer="5"/>
  </layout>
</manifest>
"""


def main():
    art, data = arguments(__doc__, 2)
    out = os.path.join(data, "loading")
    render(splash_crew(art), W, H, os.path.join(out, "Splash1.png"))
    for suffix, (home, loading) in WORDS.items():
        render(splash_animals(art, home), W, H, os.path.join(out, "Splash2%s.png" % suffix))
        render(background(loading), W, H, os.path.join(out, "LoadingBackground%s.png" % suffix))
    render(bar("#ffffff", "#2f6fe8", "#ffffff"), BAR_W, BAR_H, os.path.join(out, "LoadingBarEmpty.png"))
    render(bar("#ffb02e", "#2f6fe8", "#ffe08a"), BAR_W, BAR_H, os.path.join(out, "LoadingBarFull.png"))
    write(os.path.join(data, "Loading.xml"), MANIFEST)
    # The Spanish profile's loading screen names the same resources, drawn with its own words: only the
    # images' files change, as the layout's sprites name the resources.
    spanish = MANIFEST
    for name in ("Splash2", "LoadingBackground"):
        spanish = spanish.replace('<image name="%s" src="%s"/>' % (name, name), '<image name="%s" src="%s_SP"/>' % (name, name))
    write(os.path.join(data, "Loading_SP.xml"), spanish)


if __name__ == "__main__":
    main()
