#!/usr/bin/python3
"""Renders the story's cut-scene pictures into data/cutscenes/ and writes the manifests "CutsceneMode"
and "LevelProgression" (the story "MenagerieStory").

Usage: make_cutscenes.py [--manifests-only] <art folder> <data folder>

Each picture ("CutscenePicture_<name>_<n>") is our scenery with Fluent Emoji Flat drawings placed on it; a picture's voice line is
"Cutscene_<name>_<n>" in tools/content/voices.txt. Pictures carry no words, so one set serves both
languages.
"""
import os
import re
import sys

from make_art import arguments, document, drawing, place, render, write

W, H = 800, 600

# (drawing, x, y, size) placements on the scenery; later ones are drawn over earlier ones.
CREW = [("construction_worker", 70, 330, 130), ("construction_worker", 190, 350, 110),
        ("crane", 560, 200, 200)]
FENCE = [("menagerie_fence", x, 360, 150) for x in (0, 150, 300, 450, 600, 750)]
# The fence the crew is building: whole on the left, then a section with two pickets nailed on, then
# bare posts and rails; the pickets still to go lie on the grass in front.
FENCE_BUILT = [("menagerie_fence", x, 360, 150) for x in (0, 150, 300)] + [
    ("fence_half", 450, 360, 150), ("fence_bare", 600, 360, 150), ("fence_bare", 750, 360, 150)]
POND = [("menagerie_pond", 300, 420, 300)]
TREES = [("menagerie_tree", 40, 200, 140), ("menagerie_tree", 660, 190, 140)]

# Cut-scene name -> pictures, each a list of placements (sizes are the width; heights follow the
# drawing's own proportions). Animals are whole, on the ground or in a tree, and sized against one
# another: a giraffe over an elephant over a tiger or a zebra, small birds small.
CUTSCENES = {
    "Intro": [
        [("menagerie_sign", 320, 260, 170)] + CREW + [("toolbox", 330, 470, 90)],
        [("delivery_truck", 40, 300, 220), ("menagerie_sign", 610, 200, 130), ("giraffe", 270, 290, 190),
         ("elephant", 440, 330, 170), ("tiger", 630, 390, 120)],
    ],
    "Fence": [
        # The foreman stands on the grass in front of the section he is nailing, raising his hammer (its
        # handle behind his shoulder) to the newest picket; the pickets still to go lie beside him.
        FENCE_BUILT + [("hammer_mirrored", 520, 370, 70), ("construction_worker", 430, 390, 140),
                       ("picket_pile", 630, 470, 140)],
        # The animals stand on the grass before the finished fence; a star in the open sky, clear of the sun.
        FENCE + [("giraffe", 200, 275, 200), ("zebra", 450, 360, 130), ("star", 320, 130, 64)],
    ],
    "Pond": [
        [("excavator", 40, 330, 220)] + POND + [("construction_worker", 620, 330, 110)],
        POND + [("duck", 380, 440, 60), ("penguin", 480, 420, 80), ("hippopotamus", 80, 390, 180),
                ("flamingo", 640, 300, 120)],
    ],
    "Trees": [
        TREES + [("potted_plant", 300, 420, 90), ("construction_worker", 420, 380, 120),
                 ("potted_plant", 560, 430, 80)],
        # The parrot perches on a crown, the sloth hangs under one and the monkey sits in the other.
        TREES + [("parrot", 84, 166, 52), ("sloth", 70, 270, 80), ("monkey", 695, 178, 80),
                 ("gorilla", 320, 370, 160)],
    ],
    "Finale": [
        # The trees and the giraffe stand on the grass behind the fence, the giraffe's head above it; the
        # elephant, zebra and tiger stand apart on the grass in front, the birds at the pond.
        TREES + [("giraffe", 170, 256, 180)] + FENCE + POND + [
            ("elephant", 615, 375, 160), ("zebra", 50, 360, 120), ("duck", 380, 440, 60),
            ("penguin", 480, 430, 70), ("monkey", 680, 190, 70), ("tiger", 170, 440, 110)],
        # The sign's posts stand on the hill; the stars are in open sky, clear of the clouds and the sun.
        FENCE + [("menagerie_sign", 320, 188, 170), ("construction_worker", 110, 330, 130),
                 ("construction_worker", 560, 330, 130), ("star", 225, 150, 56), ("star", 565, 165, 56),
                 ("giraffe", 330, 310, 150)],
    ],
}

# The story: games from the gentlest to those that need planning, a cut-scene after every three. A step
# names its game by the story's name for it, the game's label but for "HaulerDelivery" (without the s).
STORY = [
    ("Cutscene", "Intro"), ("Level", "ToolShed"), ("Level", "PaintIt"), ("Level", "CountTheMaterials"),
    ("Cutscene", "Fence"), ("Level", "HammerTheNail"), ("Level", "HoistStacker"), ("Level", "StreetSigns"),
    ("Cutscene", "Pond"), ("Level", "PileOfLeaves"), ("Level", "SproutPuzzle"), ("Level", "HideAndSeek"),
    ("Cutscene", "Trees"), ("Level", "HaulerDelivery"), ("Level", "HereToThere"), ("Level", "PlanAJob"),
    ("Cutscene", "Finale"),
]


def size_of(svg):
    m = re.search(r'viewBox="0 0 ([\d.]+) ([\d.]+)"', svg)
    return float(m.group(1)), float(m.group(2))


def fence_part(art, pickets):
    """The fence drawing with only its first `pickets` pickets, its rails held up by a post at its end."""
    svg = drawing(art, "menagerie_fence")
    paths = re.findall(r'<path d="[^"]*"/>', svg)
    for path in paths[pickets:]:
        svg = svg.replace(path, "", 1)
    post = '<rect x="59" y="4" width="5" height="28" rx="1" fill="#b5733a"/>'
    return svg.replace("</svg>", post + "</svg>")


def picket_pile():
    """Pickets not yet nailed on, lying one on another: the fence's pickets on their sides."""
    right = '<path d="M{x} {y}h25l4 3l-4 3h-25Z"/>'
    left = '<path d="M{x} {y}h25v6h-25l-4-3Z"/>'
    pickets = right.format(x=6, y=1) + left.format(x=7, y=5.5) + right.format(x=3, y=10)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="38" height="17" viewBox="0 0 38 17">'
            '<g fill="#e19747" stroke="#b5733a" stroke-width="0.8" stroke-linejoin="round">%s</g></svg>' % pickets)


def mirrored(svg):
    """The drawing flipped left to right."""
    w, _ = size_of(svg)
    return re.sub(r'(<svg[^>]*>)(.*)</svg>', lambda m: '%s<g transform="translate(%g 0) scale(-1 1)">%s</g></svg>'
                  % (m.group(1), w, m.group(2)), svg, flags=re.S)


def piece(art, name):
    """A drawing of art/, or one of the pieces drawn here."""
    if name == "fence_half":
        return fence_part(art, 2)
    if name == "fence_bare":
        return fence_part(art, 0)
    if name == "picket_pile":
        return picket_pile()
    if name.endswith("_mirrored"):
        return mirrored(drawing(art, name[:-len("_mirrored")]))
    return drawing(art, name)


def picture(art, placements):
    body = place(drawing(art, "menagerie_scenery"), 0, 0, W, H)
    for name, x, y, width in placements:
        svg = piece(art, name)
        vw, vh = size_of(svg)
        body += place(svg, x, y, width, width * vh / vw)
    return document(W, H, body)


def manifests(data):
    cut = ['<?xml version="1.0"?>',
           "<!-- The story's cut-scenes: the frame with its skip button (given the image list of the",
           "     player's language) and one layout per cut-scene whose root's children are its pictures,",
           "     shown in turn with the voice lines Cutscene_<name>_<n>. Made by tools/make_content.sh. -->",
           "<manifest>",
           '  <scenelayout name="CutsceneLayout">',
           '    <scenenode nodeName="CutsceneMode" width="800" height="600">',
           '      <scenenode nodeName="Pictures" width="800" height="600"/>',
           '      <buttonnode nodeName="SkipButton" name="SkipButton" images="Button_SkipCutscene_EN"'
           ' sounds="WidgetSounds"',
           '                  alphaSensitivity="0" x="624" y="520"/>',
           "    </scenenode>",
           "  </scenelayout>"]
    for name, pictures in CUTSCENES.items():
        for n in range(1, len(pictures) + 1):
            cut.append('  <image name="CutscenePicture_%s_%d" src="CutscenePicture_%s_%d"/>' % (name, n, name, n))
        cut.append('  <scenelayout name="Cutscene_%s">' % name)
        cut.append('    <scenenode nodeName="Cutscene_%s" width="800" height="600">' % name)
        for n in range(1, len(pictures) + 1):
            cut.append('      <staticspritenode nodeName="Picture%d" src="CutscenePicture_%s_%d"/>' % (n, name, n))
        cut += ["    </scenenode>", "  </scenelayout>"]
    cut.append("</manifest>")
    write(os.path.join(data, "CutsceneMode.xml"), "\n".join(cut) + "\n")

    story = ['<?xml version="1.0"?>',
             "<!-- The story the main menu starts. Made by tools/make_content.sh. -->",
             "<manifest>",
             '  <LevelProg name="MenagerieStory">']
    for kind, name in STORY:
        story.append('    <Cutscene cutsceneID="%s"/>' % name if kind == "Cutscene"
                     else '    <Level gameType="%s"/>' % name)
    story += ["  </LevelProg>", "</manifest>"]
    write(os.path.join(data, "LevelProgression.xml"), "\n".join(story) + "\n")


def main():
    art, data = arguments(__doc__, 2)
    if sorted(n for k, n in STORY if k == "Cutscene") != sorted(CUTSCENES):
        raise ValueError("every cut-scene of the story needs its pictures, and only those")
    for name, pictures in CUTSCENES.items():
        for n, placements in enumerate(pictures, 1):
            render(picture(art, placements), W, H, os.path.join(data, "cutscenes", "CutscenePicture_%s_%d.png" % (name, n)))
    manifests(data)


if __name__ == "__main__":
    main()
