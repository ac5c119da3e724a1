#!/usr/bin/python3
"""Copies the Fluent Emoji Flat drawings the game uses out of the npm package into art/fluent/.

Usage: import_art.py <unpacked package folder> <art folder>

Each drawing becomes a standalone SVG on the set's 32x32 view box, and art/SOURCES lists where it
came from. Fails, naming them, when a drawing is missing from the package.
"""
import json
import os
import sys

SET = "Fluent Emoji Flat (@iconify-json/fluent-emoji-flat)"

# Our name -> the set's name. Our names are what the art scripts and manifests use.
DRAWINGS = {
    # The menagerie's animals.
    "giraffe": "giraffe", "elephant": "elephant", "lion": "lion", "zebra": "zebra",
    "hippopotamus": "hippopotamus", "monkey": "monkey", "tiger": "tiger", "penguin": "penguin",
    "cat": "cat", "dog": "dog", "cow": "cow", "pig": "pig", "horse": "horse", "rabbit": "rabbit",
    "bear": "bear", "panda": "panda", "koala": "koala", "kangaroo": "kangaroo",
    "camel": "two-hump-camel", "rhinoceros": "rhinoceros", "gorilla": "gorilla", "owl": "owl",
    "parrot": "parrot", "flamingo": "flamingo", "peacock": "peacock", "duck": "duck",
    "chicken": "chicken", "turtle": "turtle", "crocodile": "crocodile", "frog": "frog",
    "snake": "snake", "whale": "spouting-whale", "dolphin": "dolphin", "octopus": "octopus",
    "seal": "seal", "otter": "otter", "sloth": "sloth", "hedgehog": "hedgehog", "fox": "fox",
    "deer": "deer", "goat": "goat", "llama": "llama", "polar_bear": "polar-bear",
    "leopard": "leopard", "swan": "swan", "rooster": "rooster",
    # The crew's machines.
    "delivery_truck": "delivery-truck", "tractor": "tractor", "lorry": "articulated-lorry",
    "pickup_truck": "pickup-truck", "fire_engine": "fire-engine", "bus": "bus",
    "locomotive": "locomotive", "helicopter": "helicopter",
    # Tools, materials and places the games name.
    "hammer": "hammer", "screwdriver": "screwdriver", "wrench": "wrench", "saw": "carpentry-saw",
    "paintbrush": "paintbrush", "bucket": "bucket", "brick": "brick", "wood": "wood",
    "rock": "rock", "fallen_leaf": "fallen-leaf", "placard": "placard", "house": "house",
    "toolbox": "toolbox", "building_construction": "building-construction",
    "construction_worker": "construction-worker", "potted_plant": "potted-plant",
    "nut_and_bolt": "nut-and-bolt", "ladder": "ladder",
    # Interface.
    "hand_pointing": "backhand-index-pointing-up", "fast_forward": "fast-forward-button",
    "check_mark": "check-mark-button", "star": "star",
}


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    package, art = sys.argv[1], sys.argv[2]
    with open(os.path.join(package, "icons.json"), encoding="utf-8") as f:
        data = json.load(f)
    with open(os.path.join(package, "package.json"), encoding="utf-8") as f:
        version = json.load(f)["version"]
    icons = data["icons"]
    size = (data.get("width", 32), data.get("height", 32))
    missing = sorted(n for n in DRAWINGS.values() if n not in icons)
    if missing:
        sys.exit("import_art: not in the package: " + ", ".join(missing))

    out = os.path.join(art, "fluent")
    os.makedirs(out, exist_ok=True)
    rows = []
    for ours, theirs in sorted(DRAWINGS.items()):
        icon = icons[theirs]
        width, height = icon.get("width", size[0]), icon.get("height", size[1])
        svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
               "%s</svg>\n" % (width, height, width, height, icon["body"]))
        with open(os.path.join(out, ours + ".svg"), "w", encoding="utf-8", newline="\n") as f:
            f.write(svg)
        rows.append("fluent/%s.svg\t%s %s\t%s\tMIT" % (ours, SET, version, theirs))

    own = sorted(f for f in os.listdir(os.path.join(art, "own")) if f.endswith(".svg")) \
        if os.path.isdir(os.path.join(art, "own")) else []
    for name in own:
        rows.append("own/%s\tdrawn for this game\t-\tMIT" % name)
    with open(os.path.join(art, "SOURCES"), "w", encoding="utf-8", newline="\n") as f:
        f.write("# file\tset\toriginal name\tlicence\n")
        f.write("# Fluent Emoji: Copyright (c) Microsoft Corporation, MIT licence (LICENSE-MIT).\n")
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
