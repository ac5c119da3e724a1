#!/usr/bin/python3
"""Checks that data/ is what the content tools make of the sources, that data/LICENSES accounts for
every drawing and ships the licence texts it names, and that art/SOURCES names every drawing in art/.

Usage: check_content.py [data folder]      (default: the repository's data/)

The manifests and other text files are remade with `tools/make_content.sh --manifests-only` in a copy
of the data folder and compared with it byte for byte; pictures and sounds are not remade. A file whose
first comment says it is made by tools/make_content.sh is left out of the copy, so the tools must write
it whole; the rest are written by hand, and the tools fill their marked blocks in place. Prints every
difference and exits 1 when there is one.
"""
import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
# Pictures and sounds: remade only by the full run, whose renderers need not give the same bytes
# everywhere.
BINARY = (".png", ".ogg")
IMAGES = (".png", ".gif", ".jpg")
# The folder of data/ that holds the licence texts LICENSES names.
LICENCE_TEXTS = "licenses/"
# Where a licence text lies outside the data folder, which LICENSES must not point at.
OUTSIDE = re.compile(r"/usr/share/\S*|\bart/LICEN[CS]E\S*")
WHOLE = re.compile(r"\A[^<]*<\?xml[^>]*>\s*<!--(?:(?!-->).)*made by tools/make_content\.sh", re.S | re.I)


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def text_files(folder):
    """Paths of the text files below the folder, relative to it."""
    found = []
    for top, _, files in os.walk(folder):
        for name in files:
            if not name.lower().endswith(BINARY):
                found.append(os.path.relpath(os.path.join(top, name), folder))
    return sorted(found)


def written_whole(data, name):
    """Whether the tools write the file whole: LICENSES, the licence texts and the manifests that say so."""
    return name == "LICENSES" or name.startswith(LICENCE_TEXTS) or bool(WHOLE.match(read(os.path.join(data, name))))


def remake_differences(data, root=ROOT):
    """What differs between the data folder's text files and what the tools write from the sources."""
    with tempfile.TemporaryDirectory() as work:
        for name in text_files(data):
            if not written_whole(data, name):
                os.makedirs(os.path.dirname(os.path.join(work, name)), exist_ok=True)
                shutil.copyfile(os.path.join(data, name), os.path.join(work, name))
        run = subprocess.run(["bash", os.path.join(root, "tools", "make_content.sh"), "--manifests-only",
                              "--data", work], capture_output=True, text=True)
        if run.returncode != 0:
            return ["tools/make_content.sh --manifests-only failed:\n" + run.stdout + run.stderr]
        problems = []
        committed, made = set(text_files(data)), set(text_files(work))
        for name in sorted(committed - made):
            problems.append("%s says the tools make it, but they do not" % name)
        for name in sorted(made - committed):
            problems.append("%s is made by the tools but not in the data folder" % name)
        for name in sorted(committed & made):
            ours, theirs = read(os.path.join(data, name)), read(os.path.join(work, name))
            if ours != theirs:
                diff = difflib.unified_diff(theirs.splitlines(True), ours.splitlines(True),
                                            "tools make " + name, "data has " + name)
                problems.append("%s differs from what the tools make:\n%s" % (name, "".join(diff)))
        return problems


def unlicensed(licenses, data, art):
    """Picture folders of the data folder and our own drawings in art/own/ that the LICENSES text does
    not name ("stickers/", "cursor_arrow.svg"); licence texts it points at outside the data folder, or
    names in licenses/ without shipping them, or ships without naming them; and drawings in art/ missing
    from art/SOURCES, or rows of it naming no drawing."""
    problems = []
    for folder in sorted(os.listdir(data)):
        path = os.path.join(data, folder)
        if os.path.isdir(path) and any(n.lower().endswith(IMAGES) for _, _, files in os.walk(path) for n in files):
            if folder + "/" not in licenses:
                problems.append("LICENSES does not name the picture folder %s/" % folder)
    for name in sorted(os.listdir(os.path.join(art, "own"))):
        if name.endswith(".svg") and name not in licenses:
            problems.append("LICENSES does not name our drawing art/own/%s" % name)
    for outside in OUTSIDE.findall(licenses):
        problems.append("LICENSES points at %s, outside the data folder" % outside.rstrip(").,;"))
    named = set(re.findall(re.escape(LICENCE_TEXTS) + r"[\w.-]*\w", licenses))
    shipped = set()
    if os.path.isdir(os.path.join(data, LICENCE_TEXTS)):
        shipped = {LICENCE_TEXTS + n for n in os.listdir(os.path.join(data, LICENCE_TEXTS))}
    for name in sorted(named - shipped):
        problems.append("LICENSES names %s, which the data folder does not hold" % name)
    for name in sorted(shipped - named):
        problems.append("LICENSES does not name the licence text %s" % name)
    sources = read(os.path.join(art, "SOURCES"))
    listed = {line.split("\t")[0] for line in sources.splitlines() if line and not line.startswith("#")}
    drawings = {"%s/%s" % (folder, name) for folder in sorted(os.listdir(art))
                if os.path.isdir(os.path.join(art, folder))
                for name in os.listdir(os.path.join(art, folder)) if name.endswith(".svg")}
    for name in sorted(drawings - listed):
        problems.append("art/SOURCES does not list art/%s" % name)
    for name in sorted(listed - drawings):
        problems.append("art/SOURCES lists art/%s, which is no drawing there" % name)
    return problems


def check(data, root=ROOT):
    licenses = os.path.join(data, "LICENSES")
    text = read(licenses) if os.path.exists(licenses) else ""
    return remake_differences(data, root) + unlicensed(text, data, os.path.join(root, "art"))


def main():
    if len(sys.argv) > 2:
        sys.exit(__doc__)
    problems = check(sys.argv[1] if len(sys.argv) == 2 else os.path.join(ROOT, "data"))
    for problem in problems:
        print(problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
