"""Reads the voice table: resource name, English words and Spanish words on each line, by tabs."""
import collections
import re

Line = collections.namedtuple("Line", "name sound variant english spanish")

# Sound lists made from name prefixes: the rest of the name is the list's entry.
LISTS = (
    ("General_ColorWords", "Word_Color_"),
    ("General_ShapeWords", "Word_Shape_"),
    ("General_ToolWords", "Word_Tool_"),
    ("General_ColoredToolWords", "Word_ColoredTool_"),
    ("General_MaterialWords_Singular", "Word_MaterialOne_"),
    ("General_MaterialWords_Plural", "Word_MaterialMany_"),
    ("General_NumberWords", "Word_Number_"),
    ("General_RequestWords_Singular", "Word_RequestOne_"),
    ("General_RequestWords_Plural", "Word_RequestMany_"),
    ("GameDescriptions", "GameDesc_"),
)

NAME = re.compile(r"^([A-Za-z][A-Za-z0-9_]*)(?:#([1-9][0-9]*))?$")


def read_table(path):
    """The lines in file order. Raises ValueError naming the line for a malformed or repeated one."""
    lines, seen = [], set()
    with open(path, encoding="utf-8") as f:
        for number, text in enumerate(f, 1):
            text = text.rstrip("\n")
            if not text.strip() or text.startswith("#"):
                continue
            fields = text.split("\t")
            where = "%s:%d" % (path, number)
            if len(fields) != 3 or not all(x.strip() for x in fields):
                raise ValueError("%s: want name, English and Spanish separated by tabs" % where)
            m = NAME.match(fields[0])
            if not m:
                raise ValueError("%s: bad resource name %r" % (where, fields[0]))
            if fields[0] in seen:
                raise ValueError("%s: %s is named twice" % (where, fields[0]))
            seen.add(fields[0])
            variant = int(m.group(2)) if m.group(2) else None
            lines.append(Line(fields[0], m.group(1), variant, fields[1].strip(), fields[2].strip()))
    plain = {l.sound for l in lines if l.variant is None}
    mixed = sorted(plain & {l.sound for l in lines if l.variant is not None})
    if mixed:
        raise ValueError("%s: both plain and random: %s" % (path, ", ".join(mixed)))
    return lines
