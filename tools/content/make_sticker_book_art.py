#!/usr/bin/python3
"""Renders the sticker book's art into data/stickerbook/ and puts its layouts into StickerBook.xml.

Usage: make_sticker_book_art.py [--manifests-only] <art folder> <data folder>

Runs after make_art.py (which writes StickerBook.xml with the stickers) and make_flow_art.py (whose
back button the book shares). The book carries no words: an album whose page is a meadow to stick
stickers on, a tray of sticker places, and arrows that turn the tray's pages.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_art import arguments, document, put_block, render  # noqa: E402
from make_flow_art import CARD_STATES, button, image, imagelist, states  # noqa: E402

# The album and the page inside it, where the stickers go (page = album corner + PAGE_INSET).
BOOK_X, BOOK_Y, BOOK_W, BOOK_H = 8, 8, 432, 584
PAGE_INSET = 20
PAGE_W, PAGE_H = BOOK_W - 2 * PAGE_INSET, BOOK_H - 2 * PAGE_INSET
# The tray beside it: a grid of sticker places, the arrows under it and the back button at the bottom.
TRAY_X, TRAY_Y, TRAY_W, TRAY_H = 448, 8, 344, 584
SLOT = 104  # a sticker (96) with a margin that lights up under the pointer
COLUMNS, ROWS, SLOT_GAP = 3, 3, 4
LIST_X, LIST_Y = TRAY_X + 12, TRAY_Y + 16
LIST_W, LIST_H = COLUMNS * SLOT + (COLUMNS - 1) * SLOT_GAP, ROWS * SLOT + (ROWS - 1) * SLOT_GAP
ARROW_W, ARROW_H = 112, 72
ARROW_Y = LIST_Y + LIST_H + 16
BACK_W, BACK_H = 112, 80  # make_flow_art.py's "Button_Back"

# Slot looks in widget order: normal, hot, pressed, disabled, focused.
SLOT_FILLS = ["#ffe9b8", "#ffd60a", "#2fb344", "#e4e4e4", "#ffd60a"]


def album():
    """The closed side of a ring-bound album with its page: a meadow under a sunny sky."""
    p, w, h = PAGE_INSET, PAGE_W, PAGE_H
    body = ('<rect x="8" y="10" width="%d" height="%d" rx="26" fill="#000000" fill-opacity="0.22"/>'
            '<rect x="4" y="4" width="%d" height="%d" rx="26" fill="#f08a24" stroke="#c4661a" stroke-width="4"/>'
            % (BOOK_W - 10, BOOK_H - 12, BOOK_W - 10, BOOK_H - 12))
    body += '<clipPath id="page"><rect x="%d" y="%d" width="%d" height="%d" rx="12"/></clipPath>' % (p, p, w, h)
    scene = ('<rect x="%d" y="%d" width="%d" height="%d" fill="#dff3ff"/>' % (p, p, w, h) +
             '<circle cx="%d" cy="%d" r="34" fill="#ffd60a"/>' % (p + w - 64, p + 70) +
             '<circle cx="%d" cy="%d" r="46" fill="#ffd60a" fill-opacity="0.25"/>' % (p + w - 64, p + 70))
    for cx, cy in ((p + 92, p + 96), (p + 224, p + 58)):
        scene += ('<g fill="#ffffff"><ellipse cx="%d" cy="%d" rx="44" ry="18"/><circle cx="%d" cy="%d" r="20"/>'
                  '<circle cx="%d" cy="%d" r="15"/></g>' % (cx, cy, cx - 12, cy - 12, cx + 16, cy - 8))
    hill, grass = p + 350, p + 410
    scene += ('<path d="M%d %d Q%d %d %d %d T%d %d V%d H%d Z" fill="#b5e48c"/>'
              % (p, hill, p + w * 0.25, hill - 44, p + w * 0.5, hill - 6, p + w, hill - 20, p + h, p))
    scene += ('<path d="M%d %d Q%d %d %d %d T%d %d V%d H%d Z" fill="#8fd16a"/>'
              % (p, grass, p + w * 0.3, grass - 34, p + w * 0.6, grass - 4, p + w, grass - 12, p + h, p))
    body += '<g clip-path="url(#page)">%s</g>' % scene
    body += '<rect x="%d" y="%d" width="%d" height="%d" rx="12" fill="none" stroke="#c4661a" stroke-width="2"/>' % (
        p, p, w, h)
    # The rings that bind the page, through holes along its left edge.
    for ring in range(8):
        y = 64 + ring * 66
        body += ('<circle cx="%d" cy="%d" r="6" fill="#7a3d0a"/>'
                 '<rect x="4" y="%d" width="%d" height="12" rx="6" fill="#6f6f6f"/>'
                 '<rect x="7" y="%d" width="%d" height="4" rx="2" fill="#c8c8c8"/>'
                 % (p + 12, y, y - 6, p + 14, y - 4, p + 8))
    return document(BOOK_W, BOOK_H, body)


def tray():
    return document(TRAY_W, TRAY_H, (
        '<rect x="6" y="10" width="%d" height="%d" rx="28" fill="#000000" fill-opacity="0.22"/>'
        '<rect x="3" y="3" width="%d" height="%d" rx="28" fill="#fff6dc" stroke="#ffb02e" stroke-width="6"/>'
        % (TRAY_W - 9, TRAY_H - 13, TRAY_W - 9, TRAY_H - 13)))


def slot(fill):
    return document(SLOT, SLOT, '<rect x="0" y="0" width="%d" height="%d" rx="18" fill="%s"/>' % (SLOT, SLOT, fill))


def arrow(pointing_right):
    """An orange triangle, centred on the card, pointing the way the tray's pages turn."""
    cx, cy = ARROW_W / 2, ARROW_H / 2 - 4
    tip = 18 if pointing_right else -18
    return ('<path d="M%g %gL%g %gL%g %gZ" fill="#f08a24" stroke="#c4661a" stroke-width="3" stroke-linejoin="round"/>'
            % (cx - tip, cy - 20, cx + tip, cy, cx - tip, cy + 20))


def make_images(data):
    out = os.path.join(data, "stickerbook")
    render(album(), BOOK_W, BOOK_H, os.path.join(out, "StickerBookPage.png"))
    render(tray(), TRAY_W, TRAY_H, os.path.join(out, "StickerBookTray.png"))
    for index, fill in enumerate(SLOT_FILLS):
        render(slot(fill), SLOT, SLOT, os.path.join(out, "StickerSlot_%d.png" % index))
    states("Button_PagePrev", ARROW_W, ARROW_H, CARD_STATES, arrow(False), out)
    states("Button_PageNext", ARROW_W, ARROW_H, CARD_STATES, arrow(True), out)


def write_manifest(data):
    body = image("StickerBookPage") + image("StickerBookTray")
    body += imagelist("StickerSlot") + imagelist("Button_PagePrev") + imagelist("Button_PageNext")
    body += ('  <scenelayout name="StickerBookLayout">\n'
             '    <scenenode nodeName="StickerBook" width="800" height="600">\n'
             '      <rectnode width="800" height="600" color="#8fd3f4"/>\n'
             '      <staticspritenode src="StickerBookPage" x="%d" y="%d"/>\n'
             '      <scenenode nodeName="Page" x="%d" y="%d" width="%d" height="%d" hitTest="true"/>\n'
             '      <staticspritenode src="StickerBookTray" x="%d" y="%d"/>\n'
             '      <scenenode nodeName="StickerList" x="%d" y="%d" width="%d" height="%d"/>\n'
             % (BOOK_X, BOOK_Y, BOOK_X + PAGE_INSET, BOOK_Y + PAGE_INSET, PAGE_W, PAGE_H, TRAY_X, TRAY_Y,
                LIST_X, LIST_Y, LIST_W, LIST_H))
    body += button("PrevPageButton", "Button_PagePrev", LIST_X + 12, ARROW_Y)
    body += button("NextPageButton", "Button_PageNext", LIST_X + LIST_W - 12 - ARROW_W, ARROW_Y)
    body += button("BackButton", "Button_Back", TRAY_X + (TRAY_W - BACK_W) // 2, TRAY_Y + TRAY_H - BACK_H - 20)
    # Above everything: the sticker in hand.
    body += ('      <scenenode nodeName="CarryLayer" width="800" height="600"/>\n'
             '    </scenenode>\n  </scenelayout>\n')
    body += ('  <scenelayout name="StickerSlotLayout">\n'
             '    <buttonnode nodeName="Slot" name="StickerSlot" images="StickerSlot" sounds="WidgetSounds" '
             'alphaSensitivity="0">\n'
             '      <staticspritenode nodeName="Picture" x="%d" y="%d"/>\n'
             '    </buttonnode>\n  </scenelayout>\n' % ((SLOT - 96) // 2, (SLOT - 96) // 2))
    put_block(os.path.join(data, "StickerBook.xml"), "sticker book",
              "the book's page, its tray of stickers (one slot per sticker, pages turned by the arrows) and "
              "the slot a sticker sits in.", body, "make_sticker_book_art.py")


def main():
    art, data = arguments(__doc__, 2)
    del art  # the book is drawn here; the stickers come from make_art.py
    make_images(data)
    write_manifest(data)


if __name__ == "__main__":
    main()
