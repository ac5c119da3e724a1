#!/usr/bin/python3
"""Draws the job-order game's pictures and writes its whole manifest: pictures, layouts, the building
animations, tuning and levels.

Usage: make_plan_a_job_art.py [--manifests-only] <art folder> <data folder>

Three jobs of five steps each: building a house, planting a tree and making a doghouse. Each step is a
square drawing (120 units) that shows the job a little further on, so the order can be told from the
pictures alone; the house and the tree are our own drawings made here, the doghouse is put together from
Fluent Emoji (wood, saw, hammer, paintbrush, dog). A step is shown three ways: as a card the child
carries (on Easy with as many dots as its place on the blueprint), placed on the blueprint, and large in
the building animation, which plays the five steps in order when the job is done.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, fitted, read, render, write  # noqa: E402

STEPS = 5
CARD = 120
BIG = 250
BLUE = "#2f6fb5"
PAPER = "#fffdf5"
INK = "#3b2a1a"
DIRT = "#9a6a3f"
# The blueprint: where it rests and where it waits off screen, and its places (in its own frame).
BLUEPRINT = (770, 230)
BLUEPRINT_IN = (15, 90)
BLUEPRINT_OUT = (15, -260)
PLACE_Y = 40
PLACE_X = [25 + i * 150 for i in range(STEPS)]
# Where the offered pictures lie for each count, right of the building site.
SOURCES = {
    1: ((480, 400),),
    2: ((400, 400), (560, 400)),
    3: ((320, 400), (480, 400), (640, 400)),
    4: ((400, 340), (560, 340), (400, 470), (560, 470)),
    5: ((320, 340), (480, 340), (640, 340), (400, 470), (560, 470)),
}
BUILDING_AT = (25, 335)
# (job, difficulty, numEmpty): every job at every difficulty, more steps to place as it gets harder.
JOBS = ("House", "Tree", "Doghouse")
EMPTY = {"Easy": (2, 1, 2), "Medium": (3, 3, 4), "Hard": (5, 4, 5)}


def ground(body):
    """A patch of earth under the drawing."""
    return '<ellipse cx="60" cy="104" rx="54" ry="12" fill="%s"/>%s' % (DIRT, body)


def house_step(step):
    parts = []
    if step == 0:
        # A pile of bricks on the bare plot.
        for x, y in ((30, 80), (50, 80), (70, 80), (40, 68), (60, 68), (50, 56)):
            parts.append('<rect x="%d" y="%d" width="19" height="11" rx="2" fill="#e2572b" stroke="#a83a1a" '
                         'stroke-width="1.5"/>' % (x, y))
        return ground("".join(parts))
    rows = {1: 2, 2: 6}.get(step, 6)
    for r in range(rows):
        y = 92 - (r + 1) * 9
        offset = 0 if r % 2 == 0 else 8
        for k in range(5):
            x = 22 + offset + k * 16
            w = min(16, 98 - x)
            if w > 2:
                parts.append('<rect x="%d" y="%d" width="%d" height="9" fill="#e2572b" stroke="#a83a1a" '
                             'stroke-width="1.2"/>' % (x, y, w))
    if step >= 2:
        parts.append('<rect x="34" y="52" width="16" height="14" fill="#5a3b22"/>'
                     '<rect x="70" y="52" width="16" height="14" fill="#5a3b22"/>')
    if step >= 3:
        parts.append('<path d="M14 40L60 8L106 40Z" fill="#c0392b" stroke="#7d2418" stroke-width="2" '
                     'stroke-linejoin="round"/><rect x="80" y="14" width="10" height="18" fill="#8e4a2a"/>')
    if step >= 4:
        parts.append('<rect x="22" y="38" width="76" height="54" fill="#ffd966" stroke="#b8902a" '
                     'stroke-width="1.5"/>')
        parts.append('<path d="M14 40L60 8L106 40Z" fill="#c0392b" stroke="#7d2418" stroke-width="2" '
                     'stroke-linejoin="round"/>')
        parts.append('<rect x="32" y="50" width="18" height="16" fill="#7fc8f8" stroke="#fff" stroke-width="3"/>'
                     '<rect x="70" y="50" width="18" height="16" fill="#7fc8f8" stroke="#fff" stroke-width="3"/>'
                     '<rect x="52" y="66" width="16" height="26" rx="2" fill="#8e4a2a"/>'
                     '<circle cx="64" cy="80" r="1.6" fill="#ffd24a"/>'
                     '<circle cx="90" cy="8" r="4.5" fill="#dde3e8"/><circle cx="97" cy="3" r="3.5" fill="#dde3e8"/>')
    return ground("".join(parts))


def tree_step(art, step):
    parts = []
    if step == 0:
        # Digging the hole: a spade stands in the heap beside it.
        parts.append('<ellipse cx="48" cy="98" rx="22" ry="7" fill="#4a2d17"/>'
                     '<path d="M72 98Q84 80 98 98Z" fill="#7a4f2a"/>'
                     '<rect x="83" y="40" width="5" height="44" fill="#a0632b"/>'
                     '<rect x="78" y="36" width="15" height="6" rx="3" fill="#a0632b"/>'
                     '<path d="M78 82h15v12q-7.5 8-15 0Z" fill="#9aa5ad" stroke="#5d6970" stroke-width="1.5"/>')
    elif step in (1, 2):
        # The seedling in the hole, then watered.
        parts.append('<path d="M60 96V74" stroke="#3f8f3a" stroke-width="4"/>'
                     '<path d="M60 80Q46 66 40 76Q50 84 60 80Z" fill="#47cc5c"/>'
                     '<path d="M60 76Q74 62 80 72Q70 80 60 76Z" fill="#2fb344"/>')
        if step == 2:
            for x, y in ((34, 30), (50, 22), (70, 28), (86, 20), (44, 46), (78, 44)):
                parts.append('<path d="M%d %dq-5 8 0 10q5-2 0-10Z" fill="#3aa0ff"/>' % (x, y))
            parts.append('<path d="M58 96Q60 102 68 100" stroke="#2b6fb0" stroke-width="2" fill="none"/>')
    elif step == 3:
        parts.append('<rect x="56" y="58" width="8" height="40" fill="#a0632b"/>'
                     '<circle cx="60" cy="52" r="20" fill="#2fb344"/><circle cx="48" cy="58" r="11" fill="#47cc5c"/>'
                     '<circle cx="72" cy="57" r="11" fill="#23913a"/>')
    else:
        parts.append(fitted(read(os.path.join(art, "own", "menagerie_tree.svg")), 20, 4, 80, 100))
        for x, y in ((46, 40), (70, 30), (62, 56)):
            parts.append('<circle cx="%d" cy="%d" r="4.5" fill="#f8312f"/>' % (x, y))
    return ground("".join(parts))


def doghouse(colour):
    return ('<path d="M26 56L60 28L94 56Z" fill="%s" stroke="%s" stroke-width="2" stroke-linejoin="round"/>'
            '<rect x="32" y="54" width="56" height="42" fill="%s" stroke="%s" stroke-width="2"/>'
            '<path d="M48 96V78a12 12 0 0 1 24 0V96Z" fill="#3b2a1a"/>' % (colour[0], INK, colour[1], INK))


def doghouse_step(art, step):
    def emoji(name, x, y, size):
        return fitted(read(os.path.join(art, "fluent", name + ".svg")), x, y, size, size)

    plain = ("#d9a868", "#e9c99a")
    if step == 0:
        body = emoji("wood", 16, 36, 64) + emoji("wood", 46, 40, 62)
    elif step == 1:
        planks = "".join('<rect x="18" y="%d" width="84" height="10" rx="2" fill="#e9c99a" stroke="#b98b52" '
                         'stroke-width="1.5"/>' % y for y in (70, 82, 94))
        body = planks + emoji("saw", 44, 16, 60)
    elif step == 2:
        body = doghouse(plain) + emoji("hammer", 70, 14, 44)
    elif step == 3:
        half = ('<path d="M26 56L60 28L60 56Z" fill="#e74c3c"/>'
                '<rect x="33" y="55" width="27" height="40" fill="#3498db"/>')
        body = doghouse(plain) + half + emoji("paintbrush", 66, 18, 46)
    else:
        body = doghouse(("#e74c3c", "#3498db")) + emoji("dog", 46, 62, 40)
    return ground(body)


def step_drawing(art, job, step):
    """The step's drawing, 120 units square."""
    if job == "House":
        return house_step(step)
    if job == "Tree":
        return tree_step(art, step)
    return doghouse_step(art, step)


def dots(step, y, colour):
    """The step's number as dots in a row, centred."""
    n = step + 1
    return "".join('<circle cx="%g" cy="%d" r="5" fill="%s"/>' % (60 - (n - 1) * 7 + i * 14, y, colour)
                   for i in range(n))


def card(body, with_dots, step):
    """A picture the child carries: the drawing on a white card."""
    out = ('<rect x="3" y="3" width="114" height="114" rx="12" fill="%s" stroke="#c9b48a" stroke-width="3"/>'
           % PAPER)
    out += '<g transform="translate(10 2) scale(0.83)">%s</g>' % body
    if with_dots:
        out += dots(step, 108, "#e2572b")
    return document(CARD, CARD, out)


def placed(body, step):
    """The step as it shows on the blueprint: the drawing on a pale card with its dots."""
    return document(CARD, CARD, '<rect x="3" y="3" width="114" height="114" rx="10" fill="#eaf4ff" '
                    'stroke="#ffffff" stroke-width="4"/><g transform="translate(12 0) scale(0.8)">%s</g>%s'
                    % (body, dots(step, 107, BLUE)))


def empty_place(step):
    """An empty place: a dashed frame with the step's dots, white on the blueprint's blue."""
    return document(CARD, CARD, '<rect x="4" y="4" width="112" height="112" rx="10" fill="#4b86c8" '
                    'stroke="#ffffff" stroke-width="4" stroke-dasharray="12 8"/>'
                    '<text x="60" y="74" font-family="DejaVu Sans" font-weight="bold" font-size="44" '
                    'text-anchor="middle" fill="#ffffff" opacity="0.8">?</text>%s' % dots(step, 100, "#ffffff"))


GLOW = 10


def rollover():
    """A soft yellow rim that shows round a card it lies behind."""
    size = CARD + 2 * GLOW
    return document(size, size, '<rect x="1" y="1" width="%d" height="%d" rx="18" fill="#ffe94d" opacity="0.95"/>'
                    % (size - 2, size - 2))


def blueprint():
    """The blue sheet with its grid and an arrow from each place to the next."""
    w, h = BLUEPRINT
    parts = ['<rect x="2" y="2" width="%d" height="%d" rx="14" fill="%s" stroke="#1d4f86" stroke-width="4"/>'
             % (w - 4, h - 4, BLUE)]
    for x in range(20, w, 20):
        parts.append('<path d="M%d 8V%d" stroke="#5a8fd0" stroke-width="1"/>' % (x, h - 8))
    for y in range(20, h, 20):
        parts.append('<path d="M8 %dH%d" stroke="#5a8fd0" stroke-width="1"/>' % (y, w - 8))
    for i in range(STEPS - 1):
        x = PLACE_X[i] + CARD + 4
        y = PLACE_Y + CARD / 2
        parts.append('<path d="M%g %gh18l-6-7M%g %gl-6 7" stroke="#ffffff" stroke-width="4" fill="none" '
                     'stroke-linecap="round" stroke-linejoin="round"/>' % (x, y, x + 18, y))
    # The foreman's hands hold the sheet at its lower corners.
    for x in (8, w - 48):
        parts.append('<rect x="%d" y="%d" width="40" height="26" rx="12" fill="#f5c18e" stroke="#c98a52" '
                     'stroke-width="2"/>' % (x, h - 30))
    return document(w, h, "".join(parts))


def backdrop():
    """Sky over a building plot, a fence at the back, a ground of earth and grass."""
    parts = ['<rect width="800" height="600" fill="#bfe6ff"/>',
             '<rect y="300" width="800" height="300" fill="#8fd16a"/>',
             '<path d="M0 320Q200 300 400 316T800 310V600H0Z" fill="#7fc25a"/>',
             '<rect x="10" y="320" width="280" height="270" rx="18" fill="#c79a63"/>',
             '<rect x="300" y="322" width="490" height="270" rx="18" fill="#a8dc86"/>']
    for x in range(0, 800, 40):
        parts.append('<path d="M%d 310V246l14-12l14 12V310Z" fill="#e9c99a" stroke="#b98b52" stroke-width="2"/>'
                     % (x + 6))
    parts.append('<rect y="258" width="800" height="10" fill="#d2a96d"/>')
    parts.append('<rect y="290" width="800" height="10" fill="#d2a96d"/>')
    return document(800, 600, "".join(parts))


def site(art):
    """The plot before the work starts: a construction sign on bare earth."""
    return ground(fitted(read(os.path.join(art, "fluent", "building_construction.svg")), 22, 14, 76, 76))


def make_pictures(art, folder):
    render(backdrop(), 800, 600, os.path.join(folder, "PlanAJob_Backdrop.png"))
    render(blueprint(), BLUEPRINT[0], BLUEPRINT[1], os.path.join(folder, "PlanAJob_Blueprint.png"))
    render(rollover(), CARD + 2 * GLOW, CARD + 2 * GLOW, os.path.join(folder, "PlanAJob_Rollover.png"))
    for step in range(STEPS):
        render(empty_place(step), CARD, CARD, os.path.join(folder, "BluePrintTargetImages_%d.png" % step))
    for job in JOBS:
        prefix = "PlanAJob_" + job
        for step in range(STEPS):
            body = step_drawing(art, job, step)
            render(card(body, True, step), CARD, CARD, os.path.join(folder, "%s_Objects_Easy_%d.png" % (prefix, step)))
            for difficulty in ("Medium", "Hard"):
                render(card(body, False, step), CARD, CARD,
                       os.path.join(folder, "%s_Objects_%s_%d.png" % (prefix, difficulty, step)))
            render(placed(body, step), CARD, CARD, os.path.join(folder, "%s_Targets_%d.png" % (prefix, step)))
            render(document(CARD, CARD, body), BIG, BIG, os.path.join(folder, "%s_Build_%d.png" % (prefix, step)))
        render(document(CARD, CARD, site(art)), BIG, BIG, os.path.join(folder, "%s_Build_%d.png" % (prefix, STEPS)))


def imagelist(name, count, extra=""):
    return '  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="%d"%s/>\n' % (name, name, count - 1, extra)


def manifest():
    out = ['<?xml version="1.0"?>\n',
           "<!-- The job-order game: pictures, layouts, building animations, tuning and levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_plan_a_job_art.py). -->\n",
           "<manifest>\n",
           '  <image name="PlanAJob_Backdrop" src="PlanAJob_Backdrop"/>\n',
           '  <image name="PlanAJob_Blueprint" src="PlanAJob_Blueprint"/>\n',
           '  <image name="PlanAJob_Rollover" src="PlanAJob_Rollover"/>\n',
           imagelist("BluePrintTargetImages", STEPS)]
    for job in JOBS:
        prefix = "PlanAJob_" + job
        for difficulty in ("Easy", "Medium", "Hard"):
            # A wrong card shakes 10 degrees each way; the software canvas draws a turned picture only
            # from its turned copies (each made when first drawn), so 10 degree steps show the shake.
            out.append(imagelist("%s_Objects_%s" % (prefix, difficulty), STEPS, ' rotations="36"'))
        out.append(imagelist(prefix + "_Targets", STEPS))
        out.append(imagelist(prefix + "_Build", STEPS + 1))
        # Waiting shows the plot; building plays the steps in order and stays on the finished job.
        out.append('  <spritetype name="%s_SpriteType" images="%s_Build">\n'
                   '    <animation name="WaitAnim" frameList="%d" fps="1" numPlays="0"/>\n'
                   '    <animation name="BuildAnim" frameList="0,1,2,3,4,4" fps="1.5" numPlays="1"/>\n'
                   "  </spritetype>\n" % (prefix, prefix, STEPS))
    out.append('  <vector2f name="BluePrintsFinalPosition" x="%d" y="%d"/>\n' % BLUEPRINT_IN)
    out.append('  <vector2f name="BluePrintsOffScreenPosition" x="%d" y="%d"/>\n' % BLUEPRINT_OUT)
    out.append('  <float name="BlueprintsMoveTime" value="0.8"/>\n')
    # From the back: the building site, the blueprint (its hands under its places, which take presses),
    # the offered pictures, then the introduction's mask over the whole playfield.
    places = "".join('            <scenenode x="%d" y="%d" width="%d" height="%d"/>\n' % (x, PLACE_Y, CARD, CARD)
                     for x in PLACE_X)
    sources = ""
    for count, spots in SOURCES.items():
        sources += '          <scenenode nodeName="Sources_%d">\n' % count
        sources += "".join('            <scenenode x="%d" y="%d" width="%d" height="%d"/>\n' % (x, y, CARD, CARD)
                           for x, y in spots)
        sources += "          </scenenode>\n"
    out.append('  <scenelayout name="PlanAJobModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="PlanAJob_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <animatedspritenode nodeName="BuildingAnimationNode" x="%d" y="%d"/>\n'
               '        <staticspritenode nodeName="Blueprint" src="PlanAJob_Blueprint" x="%d" y="%d">\n'
               '          <scenenode nodeName="ForemanHands" width="%d" height="%d"/>\n'
               '          <scenenode nodeName="MaterialTargets">\n%s'
               "          </scenenode>\n"
               "        </staticspritenode>\n"
               '        <scenenode nodeName="MaterialSources">\n%s'
               "        </scenenode>\n"
               '        <scenenode nodeName="IntroClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               % (BUILDING_AT + BLUEPRINT_OUT + BLUEPRINT + (places, sources))
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    out.append('  <scenelayout name="JobSequenceItemLayout">\n'
               '    <scenenode nodeName="JobSequenceItem" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="rollover" src="PlanAJob_Rollover" x="%d" y="%d" visible="false"/>\n'
               '      <staticspritenode nodeName="imageNode"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (CARD, CARD, -GLOW, -GLOW))
    out.append('  <scenelayout name="JobSequenceSlotLayout">\n'
               '    <scenenode nodeName="JobSequenceSlot" width="%d" height="%d">\n'
               '      <staticspritenode nodeName="imageNode"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (CARD, CARD))
    for difficulty, empties in EMPTY.items():
        for job, empty in zip(JOBS, empties):
            out.append('  <PlanAJobLevel name="PlanAJob_%s_%s" difficulty="%s" imageList="PlanAJob_%s" '
                       'numEmpty="%d"/>\n' % (job, difficulty, difficulty, job, empty))
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    make_pictures(art, os.path.join(data, "planajob"))
    write(os.path.join(data, "PlanAJobMode.xml"), manifest())


if __name__ == "__main__":
    main()
