"""The game core (src/game outside the game folders) includes no header of a game's folder, so the
core and the games form no cycle and a new game touches no core file."""
import os
import re
import sys
import tempfile
import unittest

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "src", "game")
# Folders of src/game that belong to the core, not to a game.
CORE_FOLDERS = {"screens"}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"](?:game/)?([^/<>"]+)/', re.MULTILINE)


def core_includes_of_games(root):
    """Every (core file, included header) where a core file includes a header of a game's folder."""
    games = {name for name in os.listdir(root)
             if os.path.isdir(os.path.join(root, name)) and name not in CORE_FOLDERS}
    found = []
    for folder in [root] + [os.path.join(root, name) for name in sorted(CORE_FOLDERS)]:
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if not name.endswith((".cpp", ".h")) or not os.path.isfile(path):
                continue
            with open(path, encoding="utf-8") as f:
                text = f.read()
            for match in INCLUDE.finditer(text):
                if match.group(1) in games:
                    found.append((os.path.relpath(path, root), text[match.start():match.end()].strip()))
    return found


class CoreIncludes(unittest.TestCase):
    def test_the_core_includes_no_game_header(self):
        self.assertEqual([], core_includes_of_games(SOURCE))

    def test_a_core_file_reaching_into_a_game_is_found(self):
        # (file, text, found): the check must see every spelling of such an include and only those.
        cases = [
            ("Core.cpp", '#include "game/Paint/PaintGame.h"\n', True),
            ("Core.h", '#  include <game/Paint/PaintMode.h>\n', True),
            ("screens/Menu.cpp", '#include "game/Paint/PaintGame.h"\n', True),
            ("Core.cpp", '#include "Paint/PaintGame.h"\n', True),
            ("Core.cpp", '#include "game/screens/Menu.h"\n#include "game/Core.h"\n', False),
            ("Core.cpp", '// the paint game (game/Paint/PaintGame.h) registers itself\n', False),
            ("Paint/PaintGame.cpp", '#include "game/Other/OtherGame.h"\n', False),
            ("Core.cpp.in", '#include "game/Paint/PaintGame.h"\n', False),
        ]
        for name, text, expected in cases:
            with self.subTest(name=name, text=text), tempfile.TemporaryDirectory() as root:
                for folder in ("Paint", "Other", "screens"):
                    os.makedirs(os.path.join(root, folder))
                with open(os.path.join(root, name), "w", encoding="utf-8") as f:
                    f.write(text)
                self.assertEqual(expected, bool(core_includes_of_games(root)))


if __name__ == "__main__":
    sys.exit(unittest.main())
