#!/usr/bin/python3
"""Draws the jigsaw game's pictures and pieces and writes its whole manifest: pictures, pieces, cut lines,
layouts and levels.

Usage: make_sprout_puzzle_art.py [--manifests-only] <art folder> <data folder>

Each picture is a scene of the menagerie made as the story's cut-scene pictures are (our scenery with
Fluent Emoji Flat animals on it), drawn on the board. A cut of C by R cells gives C * R pieces, frame
k of "SproutPuzzle_Pieces_<picture>_<C>x<R>" being the cell of row k / C, column k % C: the picture
clipped to the cell with its tabs and blanks, in a box reaching MARGIN past the cell on every side, so a
piece's node stands at its cell's corner. Between two cells one has a tab and the other the matching
blank; the cut lines image shows where they run on the empty board. The tray holds a place for each
piece of each cut, clear of the board and of each other.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import GAME_SCREEN_TOP, arguments, document, drawing, fitted, inner, render, write  # noqa: E402
from make_cutscenes import FENCE, POND, TREES, picture  # noqa: E402

# The board, whose size keeps the pictures' 4:3.
BOARD = (24, 96)
BOARD_W, BOARD_H = 360, 270
FRAME = 12
# The help and quit buttons' corner: they take the screen right of x and above y.
BUTTONS = (630, 76)
# How far a piece's picture may reach past its cell: its tabs are at most TAB * the cell's shorter side.
MARGIN = 40
TAB = 0.27

# The pictures by name, as the level's "picture" names them: placements on the scenery, as
# make_cutscenes.py places them on an 800 by 600 picture.
PICTURES = {
    "Giraffes": FENCE + [("giraffe", 40, 70, 280), ("parrot", 420, 70, 110), ("zebra", 340, 300, 210),
                         ("elephant", 560, 250, 230)],
    "Pond": [("menagerie_tree", 20, 110, 190)] + POND + [("flamingo", 620, 190, 170), ("hippopotamus", 40, 360, 250),
                                                         ("duck", 330, 410, 120), ("penguin", 470, 340, 140)],
    "Trees": TREES + [("monkey", 70, 140, 150), ("parrot", 350, 100, 130), ("koala", 650, 150, 130),
                      ("panda", 270, 320, 250)],
    "Lions": [("star", 90, 50, 100), ("menagerie_sign", 290, 90, 230), ("star", 630, 40, 90),
              ("lion", 30, 270, 270), ("tiger", 490, 290, 270)],
}
CUTS = ((2, 2), (3, 2), (3, 3))
# The stars that hop round the finished picture: their centres, on the board's frame.
STAR = 48
STARS = ((20, 90), (204, 84), (390, 92), (394, 230), (388, 372), (204, 380), (18, 370), (14, 230))

# The tray's places (each a cell's corner) for each number of pieces, scattered round the board: two
# columns right of it and a row below, every two cells two tabs' reach apart, so no piece lies over
# another whichever piece lands where.
TRAYS = {
    4: ((580, 116), (580, 329), (40, 425), (298, 425)),
    6: ((436, 40), (625, 111), (436, 244), (625, 315), (40, 425), (229, 425)),
    9: ((436, 40), (609, 103), (436, 183), (609, 246), (436, 326), (609, 389), (40, 470), (213, 470),
        (386, 470)),
}

# (difficulty, picture, cut): every picture in every difficulty but one, harder ones cut finer.
LEVELS = (
    ("Easy", "Giraffes", (2, 2)), ("Easy", "Pond", (2, 2)), ("Easy", "Trees", (2, 2)), ("Easy", "Lions", (2, 2)),
    ("Medium", "Giraffes", (3, 2)), ("Medium", "Pond", (3, 2)), ("Medium", "Trees", (3, 2)),
    ("Medium", "Lions", (3, 2)),
    ("Hard", "Giraffes", (3, 3)), ("Hard", "Pond", (3, 3)), ("Hard", "Trees", (3, 3)), ("Hard", "Lions", (3, 3)),
)


def cell(cut):
    columns, rows = cut
    return BOARD_W / columns, BOARD_H / rows


def bumps(cut):
    """Which way each inner edge's tab points: h[r][c] between rows r and r + 1 (1 down, -1 up),
    v[r][c] between columns c and c + 1 (1 right, -1 left); a checkerboard, so every piece differs."""
    columns, rows = cut
    h = [[1 if (r + c) % 2 == 0 else -1 for c in range(columns)] for r in range(rows - 1)]
    v = [[1 if (r + c) % 2 == 1 else -1 for c in range(columns - 1)] for r in range(rows)]
    return h, v


def edge(p0, p1, bump, size):
    """The path from p0 (already reached) to p1: straight for bump 0, else with a tab bulging to the left
    of the way (bump 1) or a blank into its right (bump -1), of a size for a cell of shorter side size."""
    x0, y0 = p0
    x1, y1 = p1
    length = ((x1 - x0) ** 2 + (y1 - y0) ** 2) ** 0.5
    dx, dy = (x1 - x0) / length, (y1 - y0) / length
    nx, ny = dy, -dx
    if bump == 0:
        return "L%.2f %.2f" % p1

    def at(t, n):
        return "%.2f %.2f" % (x0 + dx * t + nx * n * bump, y0 + dy * t + ny * n * bump)

    m, k = length / 2, size
    return ("L%s C%s %s %s C%s %s %s C%s %s %s C%s %s %s L%.2f %.2f" % (
        at(m - 0.09 * k, 0),
        at(m - 0.09 * k, 0.05 * k), at(m - 0.17 * k, 0.08 * k), at(m - 0.17 * k, 0.16 * k),
        at(m - 0.17 * k, 0.24 * k), at(m - 0.08 * k, TAB * k), at(m, TAB * k),
        at(m + 0.08 * k, TAB * k), at(m + 0.17 * k, 0.24 * k), at(m + 0.17 * k, 0.16 * k),
        at(m + 0.17 * k, 0.08 * k), at(m + 0.09 * k, 0.05 * k), at(m + 0.09 * k, 0),
        x1, y1))


def outline(cut, row, column):
    """The piece's outline about its cell's corner, clockwise, tabs outward."""
    columns, rows = cut
    w, h = cell(cut)
    hb, vb = bumps(cut)
    top = -hb[row - 1][column] if row > 0 else 0
    bottom = hb[row][column] if row < rows - 1 else 0
    left = -vb[row][column - 1] if column > 0 else 0
    right = vb[row][column] if column < columns - 1 else 0
    size = min(w, h)
    return ("M0 0 " + edge((0, 0), (w, 0), top, size) + edge((w, 0), (w, h), right, size) +
            edge((w, h), (0, h), bottom, size) + edge((0, h), (0, 0), left, size) + "Z")


def cut_lines(cut):
    """Every inner edge as one stroke, for the empty board."""
    columns, rows = cut
    w, h = cell(cut)
    hb, vb = bumps(cut)
    size = min(w, h)
    paths = []
    for r in range(rows - 1):
        for c in range(columns):
            y = (r + 1) * h
            paths.append("M%.2f %.2f " % (c * w, y) + edge((c * w, y), ((c + 1) * w, y), -hb[r][c], size))
    for r in range(rows):
        for c in range(columns - 1):
            x = (c + 1) * w
            paths.append("M%.2f %.2f " % (x, r * h) + edge((x, r * h), (x, (r + 1) * h), vb[r][c], size))
    return document(BOARD_W, BOARD_H, '<path d="%s" fill="none" stroke="#7a5230" stroke-opacity="0.55" '
                    'stroke-width="3" stroke-linecap="round"/>' % " ".join(paths))


def board_picture(art, name):
    """The picture's drawing at the board's size."""
    body, vw, _ = inner(picture(art, PICTURES[name]))
    return '<g transform="scale(%g)">%s</g>' % (BOARD_W / vw, body)


def piece(board, cut, row, column):
    w, h = cell(cut)
    shape = outline(cut, row, column)
    body = ('<defs><clipPath id="piece"><path transform="translate(%d %d)" d="%s"/></clipPath></defs>'
            '<g clip-path="url(#piece)"><g transform="translate(%.2f %.2f)">%s</g></g>'
            '<path transform="translate(%d %d)" d="%s" fill="none" stroke="#ffffff" stroke-opacity="0.7" '
            'stroke-width="2.5"/>' % (MARGIN, MARGIN, shape, MARGIN - column * w, MARGIN - row * h, board,
                                      MARGIN, MARGIN, shape))
    return document(int(w) + 2 * MARGIN, int(h) + 2 * MARGIN, body)


def backdrop():
    """A wooden table with the board's frame and a soft mat for the tray."""
    parts = ['<rect width="800" height="600" fill="#e9c58f"/>']
    for y in range(0, 600, 60):
        parts.append('<rect y="%d" width="800" height="3" fill="#d6ad72"/>' % (y + 58))
    for x, y, w in ((130, 30, 90), (520, 150, 60), (300, 400, 70), (680, 520, 80), (60, 560, 50)):
        parts.append('<path d="M%d %dq%d -6 %d 0" stroke="#cf9f62" stroke-width="2" fill="none"/>'
                     % (x, y, w / 2, w))
    # The mat is two rounded boxes in one: both rims first, then both fills over the inner rims.
    mats = ('x="420" y="28" width="372" height="562" rx="26"', 'x="8" y="400" width="440" height="190" rx="26"')
    parts += ['<rect %s fill="none" stroke="#a8cf8e" stroke-width="8"/>' % mat for mat in mats]
    parts += ['<rect %s fill="#cfe8b8"/>' % mat for mat in mats]
    bx, by = BOARD
    parts.append('<rect x="%d" y="%d" width="%d" height="%d" rx="10" fill="#8d5a2b"/>'
                 % (bx - FRAME, by - FRAME, BOARD_W + 2 * FRAME, BOARD_H + 2 * FRAME))
    parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="#fbf3e4"/>' % (bx, by, BOARD_W, BOARD_H))
    return document(800, 600, "".join(parts))


def make_pictures(art, folder):
    render(backdrop(), 800, 600, os.path.join(folder, "SP_Backdrop.png"))
    render(document(STAR, STAR, fitted(drawing(art, "star"), 0, 0, STAR, STAR)), STAR, STAR,
           os.path.join(folder, "SP_Star.png"))
    for cut in CUTS:
        render(cut_lines(cut), BOARD_W, BOARD_H, os.path.join(folder, "SproutPuzzle_CutLines_%dx%d.png" % cut))
    for name in PICTURES:
        board = board_picture(art, name)
        render(document(BOARD_W, BOARD_H, board), BOARD_W, BOARD_H,
               os.path.join(folder, "SproutPuzzle_Picture_%s.png" % name))
        for cut in CUTS:
            columns, rows = cut
            w, h = cell(cut)
            for k in range(columns * rows):
                render(piece(board, cut, k // columns, k % columns), int(w) + 2 * MARGIN, int(h) + 2 * MARGIN,
                       os.path.join(folder, "SproutPuzzle_Pieces_%s_%dx%d_%d.png" % ((name,) + cut + (k,))))


def check_trays():
    """Every place keeps its piece on screen, off the board and off the buttons, and clear of the other
    pieces' cells by two tabs (one each way, and the outline), as the game's test of the shipped levels
    checks."""
    bx, by = BOARD
    for cut in CUTS:
        pieces = cut[0] * cut[1]
        w, h = cell(cut)
        reach = TAB * min(w, h) + 2
        places = TRAYS[pieces]
        if len(places) != pieces:
            raise ValueError("the tray of %d pieces has %d places" % (pieces, len(places)))
        for i, (x, y) in enumerate(places):
            # The whole picture, with the room for tabs it may not use, stays on screen and off the board.
            if x - MARGIN < 0 or y - MARGIN < 0 or x + w + MARGIN > 800 or y + h + MARGIN > 600:
                raise ValueError("place %d of %d leaves the screen" % (i + 1, pieces))
            if x + w + reach > BUTTONS[0] and y - reach < BUTTONS[1]:
                raise ValueError("place %d of %d is under the help and quit buttons" % (i + 1, pieces))
            if (x - MARGIN < bx + BOARD_W + FRAME and x + w + MARGIN > bx - FRAME and
                    y - MARGIN < by + BOARD_H + FRAME and y + h + MARGIN > by - FRAME):
                raise ValueError("place %d of %d is on the board" % (i + 1, pieces))
            for j, (u, v) in enumerate(places[:i]):
                if x - 2 * reach < u + w and u - 2 * reach < x + w and y - 2 * reach < v + h and v - 2 * reach < y + h:
                    raise ValueError("places %d and %d of %d touch" % (j + 1, i + 1, pieces))


def manifest():
    out = ['<?xml version="1.0"?>\n',
           "<!-- The jigsaw game: pictures, pieces, cut lines, layouts and levels. Made by\n"
           "     tools/make_content.sh (tools/content/make_sprout_puzzle_art.py). -->\n",
           "<manifest>\n",
           '  <image name="SP_Backdrop" src="SP_Backdrop"/>\n',
           '  <image name="SP_Star" src="SP_Star"/>\n']
    for cut in CUTS:
        out.append('  <image name="SproutPuzzle_CutLines_%dx%d" src="SproutPuzzle_CutLines_%dx%d"/>\n' % (cut + cut))
    for name in PICTURES:
        out.append('  <image name="SproutPuzzle_Picture_%s" src="SproutPuzzle_Picture_%s"/>\n' % (name, name))
        for cut in CUTS:
            pieces = "SproutPuzzle_Pieces_%s_%dx%d" % ((name,) + cut)
            # A piece turned away shakes 10 degrees each way; the software canvas draws a turned picture
            # only from its turned copies (each made when first drawn), so 10 degree steps show it.
            out.append('  <imagelist name="%s" pattern="%s_%%1%%" first="0" last="%d" rotations="36"/>\n'
                       % (pieces, pieces, cut[0] * cut[1] - 1))
    trays = ""
    for pieces, places in TRAYS.items():
        trays += '        <scenenode nodeName="PieceTray_%d">\n' % pieces
        for k, (x, y) in enumerate(places):
            trays += '          <scenenode nodeName="Spot_%d" x="%d" y="%d"/>\n' % (k + 1, x, y)
        trays += "        </scenenode>\n"
    cheer = '        <scenenode nodeName="Cheer" visible="false">\n'
    for k, (x, y) in enumerate(STARS):
        cheer += ('          <staticspritenode nodeName="Star_%d" src="SP_Star" x="%d" y="%d"/>\n'
                  % (k + 1, x - STAR // 2, y - STAR // 2))
    cheer += "        </scenenode>\n"
    # The board from the back: the faint picture, the cut, the slots with their pieces.
    out.append('  <scenelayout name="SproutPuzzleModeLayout">\n'
               '    <scenenode nodeName="GameScreenRoot" width="800" height="600">\n'
               '      <staticspritenode nodeName="Backdrop" src="SP_Backdrop"/>\n'
               '      <scenenode nodeName="Playfield" width="800" height="600">\n'
               '        <scenenode nodeName="Board" x="%d" y="%d" width="%d" height="%d">\n'
               '          <staticspritenode nodeName="Guide" alpha="0.3"/>\n'
               '          <staticspritenode nodeName="CutLines"/>\n'
               '          <scenenode nodeName="Slots"/>\n'
               "        </scenenode>\n" % (BOARD + (BOARD_W, BOARD_H))
               + trays + cheer +
               '        <scenenode nodeName="ClickMask" width="800" height="600"/>\n'
               "      </scenenode>\n"
               + GAME_SCREEN_TOP +
               "    </scenenode>\n"
               "  </scenelayout>\n")
    # A piece wobbles and swells about its middle.
    out.append('  <scenelayout name="SproutPuzzlePieceLayout">\n'
               '    <scenenode nodeName="SproutPuzzlePiece">\n'
               '      <staticspritenode nodeName="imageNode" x="%d" y="%d" rotateHAlign="center" '
               'rotateVAlign="middle"\n'
               '                        scaleHAlign="center" scaleVAlign="middle"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n" % (-MARGIN, -MARGIN))
    out.append('  <scenelayout name="SproutPuzzlePieceSlotLayout">\n'
               '    <scenenode nodeName="SproutPuzzlePieceSlot">\n'
               '      <scenenode nodeName="dropArea"/>\n'
               "    </scenenode>\n"
               "  </scenelayout>\n")
    numbers = {}
    for difficulty, name, cut in LEVELS:
        numbers[difficulty] = numbers.get(difficulty, 0) + 1
        out.append('  <SproutPuzzleLevel name="SproutPuzzle_%s_%d" difficulty="%s" picture="%s" columns="%d" '
                   'rows="%d"/>\n' % ((difficulty, numbers[difficulty], difficulty, name) + cut))
    out.append("</manifest>\n")
    return "".join(out)


def main():
    art, data = arguments(__doc__, 2)
    check_trays()
    make_pictures(art, os.path.join(data, "puzzle"))
    write(os.path.join(data, "SproutPuzzleMode.xml"), manifest())


if __name__ == "__main__":
    main()
