"""data/ is what the content tools make, and data/LICENSES accounts for every drawing (tools/content)."""
import os
import re
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "content"))

from check_content import check, read, text_files, unlicensed  # noqa: E402

DATA = os.path.join(ROOT, "data")


class ContentTools(unittest.TestCase):
    def test_the_committed_data_is_what_the_tools_make(self):
        problems = check(DATA)
        self.assertEqual([], problems, "\n".join(problems))

    def test_an_edit_the_tools_would_undo_is_found(self):
        # (file, text replaced, replacement, what the report must name)
        cases = [
            # Added by hand to a manifest a tool writes whole: the next run of the tools drops it.
            ("LocalizedImageResources_SP.xml", "</manifest>", '  <image name="Extra_SP" src="Extra_SP"/>\n</manifest>',
             "LocalizedImageResources_SP.xml differs"),
            # Changed inside a tool's block of a manifest written by hand.
            ("FreePlaySelect.xml", 'x="44" y="500"', 'x="45" y="500"', "FreePlaySelect.xml differs"),
            ("GlobalConstants.xml", '"TipperStartPosition" x="820"', '"TipperStartPosition" x="821"',
             "GlobalConstants.xml differs"),
            # A manifest that says the tools make it, which they do not.
            ("Stray.xml", None, '<?xml version="1.0"?>\n<!-- Made by tools/make_content.sh. -->\n<manifest/>\n',
             "Stray.xml says the tools make it"),
            ("LICENSES", "MIT licence", "GPL", "LICENSES differs"),
            ("licenses/DejaVu-fonts.txt", "Bitstream", "Someone", "licenses/DejaVu-fonts.txt differs"),
        ]
        for name, old, new, report in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as data:
                for relative in text_files(DATA):
                    os.makedirs(os.path.dirname(os.path.join(data, relative)), exist_ok=True)
                    shutil.copyfile(os.path.join(DATA, relative), os.path.join(data, relative))
                path = os.path.join(data, name)
                text = read(path) if old else ""
                self.assertTrue(old is None or old in text, old)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text.replace(old, new, 1) if old else new)
                problems = check(data)
                self.assertTrue(any(report in p for p in problems), "\n".join(problems))

    def test_licenses_must_name_every_picture_folder_and_own_drawing(self):
        art = os.path.join(ROOT, "art")
        licenses = read(os.path.join(DATA, "LICENSES"))
        self.assertEqual([], unlicensed(licenses, DATA, art))
        for name, report in (("counting/", "picture folder counting/"), ("loading/", "picture folder loading/"),
                             ("ctm_wheel.svg", "art/own/ctm_wheel.svg"), ("cursor_arrow.svg", "art/own/cursor_arrow")):
            with self.subTest(name):
                problems = unlicensed(licenses.replace(name, "?"), DATA, art)
                self.assertTrue(any(report in p for p in problems), problems)

    def test_licence_texts_ship_inside_the_data_and_every_drawing_has_its_source(self):
        def licence(old, new):
            return lambda data, art: edit(os.path.join(data, "LICENSES"), old, new)

        def edit(path, old, new):
            text = read(path)
            self.assertIn(old, text)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text.replace(old, new))

        def remove(*parts):
            return lambda data, art: os.remove(os.path.join({"data": data, "art": art}[parts[0]], *parts[1:]))

        def add(*parts):
            return lambda data, art: open(os.path.join({"data": data, "art": art}[parts[0]], *parts[1:]), "w").close()

        # (what is done to a copy of data/ and art/, what the report must say)
        cases = [
            (licence("licenses/DejaVu-fonts.txt", "/usr/share/doc/fonts-dejavu-core/copyright"),
             "points at /usr/share/doc/fonts-dejavu-core/copyright"),
            (licence("licenses/Fluent-Emoji-MIT.txt", "art/LICENSE-MIT"), "points at art/LICENSE-MIT"),
            (remove("data", "licenses", "FluidR3-soundfont.txt"),
             "names licenses/FluidR3-soundfont.txt, which the data folder does not hold"),
            (add("data", "licenses", "Stray.txt"), "does not name the licence text licenses/Stray.txt"),
            (lambda data, art: edit(os.path.join(art, "SOURCES"), "own/pi_lift.svg\t", "#"),
             "art/SOURCES does not list art/own/pi_lift.svg"),
            (lambda data, art: edit(os.path.join(art, "SOURCES"), "fluent/bear.svg\t", "#"),
             "art/SOURCES does not list art/fluent/bear.svg"),
            (add("art", "own", "new_drawing.svg"), "art/SOURCES does not list art/own/new_drawing.svg"),
            (remove("art", "own", "hs_tail.svg"), "art/SOURCES lists art/own/hs_tail.svg, which is no drawing"),
        ]
        for change, report in cases:
            with self.subTest(report), tempfile.TemporaryDirectory() as work:
                data, art = os.path.join(work, "data"), os.path.join(work, "art")
                shutil.copytree(DATA, data, ignore=shutil.ignore_patterns("*.ogg", "*.png"))
                shutil.copytree(os.path.join(ROOT, "art"), art)
                self.assertEqual([], unlicensed(read(os.path.join(data, "LICENSES")), data, art))
                change(data, art)
                problems = unlicensed(read(os.path.join(data, "LICENSES")), data, art)
                self.assertTrue(any(report in p for p in problems), "\n".join(problems))

    def test_words_on_screen_name_no_path_of_the_source_tree(self):
        # An installed game has no source tree: the credits name the licence file in words.
        shown = [(name, text) for name in text_files(DATA) if name.endswith(".xml")
                 for text in re.findall(r'\btext="([^"]*)"', read(os.path.join(DATA, name)))]
        self.assertTrue(any("LICENSES" in text for name, text in shown if name == "CreditsMode.xml"))
        self.assertEqual([], [s for s in shown if re.search(r"\b(data|tools|art|src|docs)/", s[1])])


if __name__ == "__main__":
    unittest.main()
