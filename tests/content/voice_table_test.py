"""The voice table reader and the voice manifests made from it (tools/content)."""
import os
import re
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "content"))

from voice_table import read_table  # noqa: E402
from make_voices import manifest  # noqa: E402


def table(test, text):
    """A table file holding the text, removed when the test ends."""
    f = tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8")
    f.write(text)
    f.close()
    test.addCleanup(os.remove, f.name)
    return f.name


class ReadTable(unittest.TestCase):
    def test_rejects_what_would_lose_or_mix_up_a_line(self):
        cases = {
            "two columns": "Word_Color_Red\tred\n",
            "four columns": "Word_Color_Red\tred\trojo\textra\n",
            "empty Spanish": "Word_Color_Red\tred\t \n",
            "named twice": "A\ta\ta\nA\tb\tb\n",
            "bad name": "Word Color\tred\trojo\n",
            "variant 0": "A#0\ta\ta\n",
            "plain and random": "A\ta\ta\nA#1\tb\tb\n",
        }
        for what, text in cases.items():
            with self.subTest(what):
                with self.assertRaises(ValueError):
                    read_table(table(self, text))

    def test_reads_words_as_written(self):
        lines = read_table(table(self, "# comment\n\nGeneral_CorrectAnswer#2\tYou did it!\t¡Lo lograste!\n"))
        self.assertEqual(1, len(lines))
        self.assertEqual(("General_CorrectAnswer", 2, "You did it!", "¡Lo lograste!"),
                         (lines[0].sound, lines[0].variant, lines[0].english, lines[0].spanish))


class Manifest(unittest.TestCase):
    def test_groups_variants_and_declares_sounds_before_their_lists(self):
        lines = read_table(table(self, "Word_Color_Red\tred\trojo\nOk#1\tyes\tsí\nOk#2\tgood\tbien\n"
                                 "Word_Number_3\tthree\ttres\n"))
        text = manifest(lines, "_SP")
        self.assertIn('<randomsound name="Ok">', text)
        self.assertIn('<sound src="Ok_1_SP"/>', text)
        self.assertIn('<sound src="Ok_2_SP"/>', text)
        self.assertIn('<sound event="Red" src="Word_Color_Red"/>', text)
        self.assertIn('<sound event="3" src="Word_Number_3"/>', text)
        # The engine resolves a list's entries when the list is built.
        self.assertLess(text.index('name="Word_Number_3"'), text.index('name="General_NumberWords"'))


class CountingRequests(unittest.TestCase):
    def test_spanish_requests_put_the_colour_after_the_noun_and_agree_with_it(self):
        # As the game says it: the number word, then the request words; for one, the One line alone.
        lines = read_table(os.path.join(os.path.dirname(__file__), "..", "..", "tools", "content", "voices.txt"))
        words = {line.sound: line.spanish for line in lines}
        materials = [s[len("Word_RequestMany_"):] for s in words if s.startswith("Word_RequestMany_")]
        self.assertEqual([
            "siete plantas", "siete troncos rojos", "siete troncos café", "siete troncos amarillos",
            "siete conos anaranjados", "siete conos rojos", "siete conos amarillos", "siete bolsas azules de cemento",
            "siete bolsas grises de cemento", "siete bolsas rojas de cemento", "siete ladrillos rojos",
            "siete ladrillos grises", "siete ladrillos azules",
        ], [words["Word_Number_7"] + " " + words["Word_RequestMany_" + m] for m in materials])
        self.assertEqual([
            "una planta", "un tronco rojo", "un tronco café", "un tronco amarillo", "un cono anaranjado",
            "un cono rojo", "un cono amarillo", "una bolsa azul de cemento", "una bolsa gris de cemento",
            "una bolsa roja de cemento", "un ladrillo rojo", "un ladrillo gris", "un ladrillo azul",
        ], [words["Word_RequestOne_" + m] for m in materials])
        english = {line.sound: line.english for line in lines}
        self.assertEqual(("seven red bricks", "one red brick"), (english["Word_Number_7"] + " " + english[
            "Word_RequestMany_BricksRed"], english["Word_RequestOne_BricksRed"]))


class WordsFitThePictures(unittest.TestCase):
    def setUp(self):
        self.lines = read_table(os.path.join(os.path.dirname(__file__), "..", "..", "tools", "content", "voices.txt"))

    def test_no_line_names_a_picture_by_a_word_it_does_not_show(self):
        # (what, lines whose name matches, language, words none of them may hold)
        cases = [
            ("stacked pieces are feminine piezas", r"HoistStacker", "spanish",
             r"\b(el|los|lo|ponlo|chiquitos?)\b"),
            ("Hoist's stacks are towers, not batteries", r"Hoist", "spanish", r"\bpilas?\b"),
            ("the drawn brush is an artist's pincel", r"Brush", "spanish", r"brocha|\bla pincel"),
            ("a train's rail car is a car", r"HaulersDelivery", "english", r"\bcarts?\b"),
            # The bag has the colour, not the cement; a colour named by a noun ("café") stays invariable.
            ("the bag is coloured, not the cement", r"Cement", "spanish", r"cemento (azul|gris|roj)"),
            ("café stays café", r"^Word_", "spanish", r"\bcafés\b"),
            # The flatbed truck asks, in its bubble; a colour splash is "the same" as no sign.
            ("the truck asks for the signs", r"Signs", "english", r"\bcrew\b|\bmatch"),
            ("el camión pide las señales", r"Signs", "spanish", r"cuadrilla|\bigual"),
            ("one word for the animals' house", r"HereToThere", "spanish", r"\bcasa\b"),
        ]
        for what, name, language, wrong in cases:
            with self.subTest(what):
                found = [(line.name, getattr(line, language)) for line in self.lines if re.search(name, line.name)]
                self.assertTrue(found)
                self.assertEqual([], [f for f in found if re.search(wrong, f[1], re.IGNORECASE)])

    def test_the_spanish_says_what_the_english_says(self):
        # (lines whose name matches, words in English, words in Spanish): a line says both or neither.
        cases = [
            (r"General_IncorrectAnswer", r"\bnot that one\b", r"\bese no\b"),
            (r"General_IncorrectAnswer", r"\blook\b", r"\bfíjate\b|\bmira\b"),
            (r"HaulersDelivery", r"\bright kind of load\b", r"\btipo de carga correcto\b"),
            (r"HaulersDelivery", r"\bnot the right color\b", r"\bno el color correcto\b"),
            (r"Signs", r"\btruck\b", r"\bcamión\b"),
            (r"Signs", r"\bcolor or that shape\b", r"\bcolor o de esa forma\b"),
            (r"HereToThere", r"\bhouse\b|\bhome\b", r"\bcasita\b"),
            # The stacking game draws benches, not platforms.
            (r"HoistStacker", r"\bbench\b", r"\bbanca\b"),
        ]
        for name, english, spanish in cases:
            with self.subTest(name=name, english=english):
                lines = [line for line in self.lines if re.search(name, line.name)]
                said = [(line.name, bool(re.search(english, line.english, re.IGNORECASE)),
                         bool(re.search(spanish, line.spanish, re.IGNORECASE))) for line in lines]
                self.assertTrue(any(en for _, en, _ in said), said)
                self.assertEqual([], [s for s in said if s[1] != s[2]])

    def test_a_coloured_tool_request_uses_the_tool_name_with_its_article_and_agreeing_colour(self):
        # The tool word said alone (the tool shed) and inside a request (the leaf pile) must be one word.
        article = {"Hammer": "el", "Saw": "el", "Drill": "el", "Brush": "el", "Wrench": "la", "Screwdriver": "el",
                  "Level": "el", "Pliers": "las"}

        def agree(colour, article):
            if article != "el" and colour.endswith("o"):
                colour = colour[:-1] + "a"
            return colour + ("" if article != "las" else "s" if colour[-1] in "aeiou" else "es")

        words = {line.sound: line for line in self.lines}
        requests = [s for s in words if s.startswith("Word_ColoredTool_")]
        self.assertEqual(4 * len(article), len(requests))
        for sound in requests:
            colour, tool = sound[len("Word_ColoredTool_"):].split("_")
            with self.subTest(sound):
                noun, adjective, the = words["Word_Tool_" + tool], words["Word_Color_" + colour], article[tool]
                self.assertEqual("¡Busca %s %s %s!" % (the, noun.spanish, agree(adjective.spanish, the)),
                                 words[sound].spanish)
                self.assertEqual("Find the %s %s!" % (adjective.english, noun.english), words[sound].english)


if __name__ == "__main__":
    unittest.main()
