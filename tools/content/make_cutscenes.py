#!/usr/bin/python3
"""Renders the story's cut-scene pictures into data/cutscenes/ and writes the manifests "CutsceneMode"
and "LevelProgression" (the story "MenagerieStory").

Usage: make_cutscenes.py [--manifests-only] <art folder> <data folder>

Each picture ("CutscenePicture_<name>_<n>") is our scenery with Fluent Emoji Flat drawings placed on it; a picture's voice line is
"Cutscene_<name>_<n>" in tools/content/voices.txt. Pictures carry no words, so one set serves both
languages.
"""
import os
import sys

from make_art import arguments, document, drawing, place, render, write

W, H = 800, 600

# (drawing, x, y, size) placements on the scenery; later ones are drawn over earlier ones.
CREW = [("construction_worker", 70, 330, 130), ("construction_worker", 190, 350, 110),
        ("crane", 560, 200, 200)]
FENCE = [("menagerie_fence", x, 360, 150) for x in (0, 150, 300, 450, 600, 750)]
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
        [("construction_worker", 40, 380, 120), ("hammer", 150, 430, 70)] + FENCE,
        FENCE + [("giraffe", 210, 220, 200), ("zebra", 440, 320, 130), ("star", 640, 120, 80)],
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
        FENCE + TREES + POND + [("giraffe", 150, 200, 180), ("elephant", 300, 300, 160),
                                ("zebra", 50, 360, 120), ("duck", 380, 440, 60), ("penguin", 480, 430, 70),
                                ("monkey", 680, 190, 70), ("tiger", 170, 440, 110)],
        FENCE + [("menagerie_sign", 320, 140, 170), ("construction_worker", 110, 330, 130),
                 ("construction_worker", 560, 330, 130), ("star", 90, 90, 70), ("star", 540, 60, 70),
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
    import re
    m = re.search(r'viewBox="0 0 ([\d.]+) ([\d.]+)"', svg)
    return float(m.group(1)), float(m.group(2))


def picture(art, placements):
    body = place(drawing(art, "menagerie_scenery"), 0, 0, W, H)
    for name, x, y, width in placements:
        svg = drawing(art, name)
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
