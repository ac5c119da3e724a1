#!/usr/bin/python3
"""Makes the music loops, the ambience and the effects, and the manifest AudioResources_General.

Usage: make_sounds.py [--manifests-only] <data folder> music|effects...

Music is written here as MIDI (python3-mido) from fixed chord patterns and rendered with fluidsynth
and the General MIDI sound font. Each piece is rendered twice over and the second pass kept, so the
reverb tail of its end sounds under its start and the loop joins without a seam. Ambience and
effects are synthesised with sox; sox runs in repeatable mode (-R) so its noise is the same each run.
With --manifests-only only the manifest is written.
"""
import collections
import os
import random
import subprocess
import sys
import tempfile
import zlib

SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
RATE = 44100
TICKS = 480

# Chords as MIDI notes of a root position triad: name -> semitones above C4 (60).
CHORDS = {"C": (0, 4, 7), "F": (5, 9, 12), "G": (7, 11, 14), "Am": (9, 12, 16), "Dm": (2, 5, 9),
          "Em": (4, 7, 11), "Bb": (10, 14, 17), "D": (2, 6, 9), "E": (4, 8, 11)}

# name: tempo, key shift, chords (one a bar), melody program, accompaniment program, bass program, style
PIECES = {
    "Music_GeneralUI": (96, 0, ["C", "Am", "F", "G", "C", "Am", "Dm", "G"], 12, 0, 32, "waltz-free"),
    "Music_TitleTheme": (116, 2, ["C", "G", "Am", "F", "C", "G", "F", "G", "C", "Em", "F", "G"], 56, 0, 33, "march"),
    "Music_Track1": (108, 0, ["C", "F", "C", "G", "C", "F", "G", "C"], 45, 46, 32, "bouncy"),
    "Music_Track2": (120, -3, ["C", "Am", "Dm", "G", "C", "Am", "F", "G"], 13, 24, 33, "bouncy"),
    "Music_Track3": (88, 5, ["F", "C", "Dm", "Bb", "F", "C", "Bb", "C"], 73, 46, 32, "gentle"),
    "Music_Track4": (112, 0, ["G", "C", "G", "D", "G", "C", "D", "G"], 105, 25, 32, "bouncy"),
}


def run(args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def encode(wav, out, quality, name):
    os.makedirs(os.path.dirname(out), exist_ok=True)
    serial = zlib.crc32(name.encode()) & 0x7FFFFFFF
    run(["oggenc", "-Q", "-q", str(quality), "--serial", str(serial), "-o", out, wav])


def scale_notes(chord, shift):
    """Chord tones and passing tones of the major scale near the chord, for the melody."""
    tones = [60 + shift + t for t in CHORDS[chord]]
    return tones + [t + 12 for t in tones]


def compose(name, tempo, shift, chords, melody, accomp, bass, style):
    # Imported here: writing the manifest alone needs nothing but Python.
    import mido

    rng = random.Random(zlib.crc32(name.encode()))
    song = mido.MidiFile(ticks_per_beat=TICKS)
    beat = TICKS
    bar = 4 * beat
    events = {0: [], 1: [], 2: []}  # channel -> (start, length, note, velocity)
    motif = None
    for b, chord in enumerate(chords):
        start = b * bar
        root = 36 + shift + CHORDS[chord][0]
        tones = [60 + shift + t for t in CHORDS[chord]]
        # Bass: root and fifth.
        if style == "gentle":
            events[2] += [(start, 2 * beat, root, 70), (start + 2 * beat, 2 * beat, root + 7, 62)]
        else:
            for q in range(4):
                events[2].append((start + q * beat, beat - 40, root + (7 if q % 2 else 0), 72))
        # Accompaniment: off-beat chords, or broken chords when gentle.
        if style == "gentle":
            for e in range(8):
                events[1].append((start + e * beat // 2, beat // 2, tones[e % 3] - 12 + (12 if e in (3, 7) else 0), 48))
        else:
            for q in range(4):
                at = start + q * beat + (beat // 2 if style == "bouncy" else 0)
                for t in tones:
                    events[1].append((at, beat // 2 - 20, t - 12, 50 if q % 2 else 58))
        # Melody: a two-bar motif repeated with the chord's tones, varied at the phrase ends.
        pool = scale_notes(chord, shift)
        if motif is None or b % 4 == 0:
            motif = [rng.choice([(beat, 0), (beat // 2, 1), (beat // 2, 1), (beat * 2, 0)]) for _ in range(6)]
        at, i = start, 0
        while at < start + bar:
            length, _ = motif[i % len(motif)]
            length = min(length, start + bar - at)
            note = pool[(i * 2 + b) % len(pool)] if rng.random() < 0.75 else rng.choice(pool)
            if b == len(chords) - 1 and at + length >= start + bar:
                note = 60 + shift + CHORDS[chords[0]][0] + 12
            events[0].append((at, max(60, length - 30), note + (12 if melody in (12, 13, 9, 10) else 0), 84))
            at += length
            i += 1
    programs = {0: melody, 1: accomp, 2: bass}
    for channel in (0, 1, 2):
        track = mido.MidiTrack()
        if channel == 0:
            track.append(mido.MetaMessage("set_tempo", tempo=mido.bpm2tempo(tempo), time=0))
        track.append(mido.Message("program_change", channel=channel, program=programs[channel], time=0))
        track.append(mido.Message("control_change", channel=channel, control=7,
                                  value=(100, 70, 90)[channel], time=0))
        messages = []
        total = len(chords) * bar
        for repeat in (0, 1):  # twice over: the second pass is the loop
            for startt, length, note, velocity in events[channel]:
                s = startt + repeat * total
                messages.append((s, 1, note, velocity))
                messages.append((s + length, 0, note, 0))
        messages.sort(key=lambda m: (m[0], m[1]))
        now = 0
        for when, on, note, velocity in messages:
            kind = "note_on" if on else "note_off"
            track.append(mido.Message(kind, channel=channel, note=note, velocity=velocity, time=when - now))
            now = when
        song.tracks.append(track)
    seconds = len(chords) * 4 * 60.0 / tempo
    return song, seconds


def make_music(data):
    for name, (tempo, shift, chords, melody, accomp, bass, style) in PIECES.items():
        song, seconds = compose(name, tempo, shift, chords, melody, accomp, bass, style)
        with tempfile.TemporaryDirectory() as work:
            mid, wav, loop = (os.path.join(work, n) for n in ("m.mid", "r.wav", "l.wav"))
            song.save(mid)
            run(["fluidsynth", "-ni", "-q", "-g", "0.5", "-r", str(RATE), "-F", wav, SOUNDFONT, mid])
            run(["sox", "-R", "-D", wav, "-b", "16", loop, "trim", "%.6f" % seconds, "%.6f" % seconds, "gain", "-n", "-3"])
            encode(loop, os.path.join(data, "music", name + ".ogg"), 3, name)


# Ambience: sox synthesis chains, each 20 seconds and made to loop (a short fade at both ends).
AMBIENCE = {
    "Ambient_Indoor": [
        ["synth", "20", "brownnoise", "vol", "0.35", "lowpass", "400"],
        ["synth", "0.03", "sine", "1800", "fade", "0", "0.03", "0.02", "pad", "0", "0.97", "repeat", "19", "vol", "0.06"],
    ],
    "Ambient_Outdoor_1": [
        ["synth", "20", "pinknoise", "vol", "0.18", "lowpass", "1200", "tremolo", "0.15", "60"],
        ["synth", "0.12", "sine", "2600-3800", "fade", "0.01", "0.12", "0.04", "pad", "0.3", "2.1",
         "synth", "0.1", "sine", "3400-2800", "fade", "0.01", "0.1", "0.03", "pad", "0", "1.3",
         "repeat", "4", "vol", "0.12"],
    ],
    "Ambient_Outdoor_2": [
        ["synth", "20", "brownnoise", "vol", "0.3", "lowpass", "700", "tremolo", "0.1", "50"],
        ["synth", "0.09", "sine", "3000-4200", "fade", "0.01", "0.09", "0.03", "pad", "1.1", "3.6",
         "repeat", "3", "vol", "0.1"],
    ],
}


# Brown noise carries much more energy than pink: each bed is set to a similar, quiet loudness.
AMBIENCE_LEVEL = {"Ambient_Indoor": 0.22, "Ambient_Outdoor_1": 1.0, "Ambient_Outdoor_2": 0.38}


def make_ambience(data):
    for name, layers in AMBIENCE.items():
        with tempfile.TemporaryDirectory() as work:
            parts = []
            for i, chain in enumerate(layers):
                part = os.path.join(work, "p%d.wav" % i)
                run(["sox", "-R", "-D", "-n", "-r", "22050", "-c", "1", "-b", "16", part] + chain)
                parts.append(part)
            mixed = os.path.join(work, "mix.wav")
            if len(parts) > 1:
                run(["sox", "-R", "-D", "-m"] + parts + [mixed, "trim", "0", "20", "fade", "0.5", "20", "0.5",
                                                         "gain", "-n", "-6", "vol", str(AMBIENCE_LEVEL[name])])
            else:
                run(["sox", "-R", "-D", parts[0], mixed, "trim", "0", "20", "fade", "0.5", "20", "0.5"])
            encode(mixed, os.path.join(data, "music", name + ".ogg"), 2, name)


# Effects: name -> sox synthesis chain (mono, 22,050 Hz).
EFFECTS = {
    "UI_Hot": ["synth", "0.05", "sine", "1400", "fade", "0", "0.05", "0.04", "vol", "0.4"],
    "UI_Down": ["synth", "0.04", "square", "700", "lowpass", "2500", "fade", "0", "0.04", "0.035", "vol", "0.5"],
    "UI_Release": ["synth", "0.07", "sine", "900-1500", "fade", "0", "0.07", "0.05", "vol", "0.6"],
    "UI_Checked": ["synth", "0.14", "sine", "700-1400", "fade", "0", "0.14", "0.08", "vol", "0.6"],
    "UI_Unchecked": ["synth", "0.14", "sine", "1400-700", "fade", "0", "0.14", "0.08", "vol", "0.6"],
    "UI_Snap": ["synth", "0.03", "whitenoise", "highpass", "2000", "fade", "0", "0.03", "0.025", "vol", "0.8"],
    "SFX_Correct": ["synth", "0.5", "sine", "1047", "sine", "1319", "fade", "0", "0.5", "0.4", "remix", "-",
                    "vol", "0.7"],
    "SFX_Whoosh": ["synth", "0.4", "pinknoise", "bandpass", "1500", "2q", "fade", "q", "0.15", "0.4", "0.25",
                   "vol", "0.7"],
    "SFX_Pop": ["synth", "0.08", "sine", "400-1200", "fade", "0", "0.08", "0.06", "vol", "0.7"],
}

# An effect of several sounds at once: its layers (sox synthesis chains) are mixed, and the mix is
# normalised to a peak in dB, so a busy mix comes out no louder than a single tone.
Mix = collections.namedtuple("Mix", "layers peak")


def clatter(name, hits, span):
    """Short metallic knocks at scattered times, dying away as a load settles in a steel body. The
    times and pitches are drawn from the name, so every run gives the same clatter."""
    rng = random.Random(zlib.crc32(name.encode()))
    layers = []
    for i in range(hits):
        at = span * i / hits + rng.uniform(0, span / hits)
        length = rng.uniform(0.05, 0.09)
        ring = rng.choice((1180, 1460, 1730, 2050))
        layers.append(["synth", "%.3f" % length, "whitenoise", "synth", "%.3f" % length, "sine", "mix", str(ring),
                       "bandpass", str(ring), "4q", "fade", "q", "0", "%.3f" % length, "%.3f" % (length * 0.9),
                       "vol", "%.2f" % (rng.uniform(0.6, 0.9) * (1 - 0.5 * i / hits)), "pad", "%.3f" % at])
    return layers


EFFECTS.update({
    # Heard often, on every pile the pointer crosses: soft and short, a low bloop under a faint glint.
    "SFX_ObjectRollover": Mix([
        ["synth", "0.15", "sine", "500:820", "fade", "h", "0", "0.15", "0.12"],
        ["synth", "0.1", "sine", "2637", "fade", "0", "0.1", "0.09", "vol", "0.2", "pad", "0.04"],
    ], -8),
    "SFX_SelectItem": Mix([
        ["synth", "0.12", "sine", "330:990", "fade", "h", "0", "0.12", "0.1"],
        ["synth", "0.12", "pluck", "1319", "lowpass", "3500", "fade", "0", "0.12", "0.1", "vol", "0.5"],
    ], -4),
    # Engines: a lowpassed sawtooth whose pitch rises as the engine revs, pulsed by a sine at the
    # firing rate, over a brown-noise rumble; both fade out as the vehicle leaves.
    "SFX_TipperMove": Mix([
        ["synth", "1.5", "sawtooth", "38:70", "synth", "1.5", "sine", "amod", "18:30", "40", "vol", "0.6",
         "lowpass", "700", "fade", "h", "0.08", "1.5", "0.6"],
        ["synth", "1.5", "brownnoise", "vol", "0.6", "lowpass", "250", "tremolo", "24", "60",
         "fade", "h", "0.08", "1.5", "0.6"],
    ], -4),
    "SFX_DiggerMove": Mix([
        ["synth", "1.2", "sawtooth", "70:82", "synth", "1.2", "sine", "amod", "9", "vol", "0.6",
         "lowpass", "1000", "fade", "h", "0.05", "1.2", "0.5"],
        ["synth", "1.2", "brownnoise", "vol", "0.5", "lowpass", "400", "tremolo", "9", "80",
         "fade", "h", "0.05", "1.2", "0.5"],
    ], -5),
    "SFX_BrickDrop": Mix([
        # The thud sweeps down from where small speakers still carry it.
        ["synth", "0.4", "sine", "180:55", "fade", "0", "0.4", "0.34", "vol", "0.7"],
        ["synth", "0.7", "brownnoise", "vol", "0.4", "lowpass", "500", "fade", "q", "0", "0.7", "0.65"],
    ] + clatter("SFX_BrickDrop", 9, 0.6), -3),
    # A two-tone horn (a major third apart), tooted twice.
    "CTM_TipperFinished": Mix([
        ["synth", "0.28", "square", str(f), "vol", "0.5", "lowpass", "1400", "lowpass", "2400",
         "fade", "0.01", "0.28", "0.05", "pad", "0", "0.12", "repeat", "1"] for f in (392, 494)
    ], -4),
    # The delivery truck: a higher, lighter engine than the tipper's, short for a hop along a row and
    # long for a trip round the street; its horn is one bright two-tone toot.
    "SFX_HaulerMoveShort": Mix([
        ["synth", "1.0", "sawtooth", "55:90", "synth", "1.0", "sine", "amod", "14:24", "40", "vol", "0.6",
         "lowpass", "900", "fade", "h", "0.05", "1.0", "0.4"],
        ["synth", "1.0", "brownnoise", "vol", "0.5", "lowpass", "300", "tremolo", "20", "60",
         "fade", "h", "0.05", "1.0", "0.4"],
    ], -5),
    "SFX_HaulerMoveLong": Mix([
        ["synth", "2.2", "sawtooth", "55:95", "synth", "2.2", "sine", "amod", "14:26", "40", "vol", "0.6",
         "lowpass", "900", "fade", "h", "0.1", "2.2", "1.0"],
        ["synth", "2.2", "brownnoise", "vol", "0.5", "lowpass", "300", "tremolo", "20", "60",
         "fade", "h", "0.1", "2.2", "1.0"],
    ], -5),
    # The cargo hoist: its winch whines up as the arm swings over, and the hook clanks shut on a load.
    "SFX_HoistArm": Mix([
        ["synth", "1.0", "sawtooth", "110:190", "vol", "0.5", "lowpass", "1200", "tremolo", "30", "40",
         "fade", "q", "0.1", "1.0", "0.3"],
        ["synth", "1.0", "brownnoise", "vol", "0.3", "lowpass", "400", "fade", "q", "0.1", "1.0", "0.3"],
    ], -6),
    "SFX_GeneralClick": ["synth", "0.03", "square", "1800", "lowpass", "4000", "fade", "0", "0.03", "0.025",
                         "vol", "0.5"],
    "SFX_HaulerHorn": Mix([
        ["synth", "0.3", "square", str(f), "vol", "0.5", "lowpass", "1800", "lowpass", "2800",
         "fade", "0.01", "0.3", "0.06"] for f in (523, 659)
    ], -4),
})
# The hammering game: a tool snapping into the hand, a screw's ratcheting turn, a tool laid in its box.
EFFECTS.update({
    "SFX_ObjectStick": Mix([
        ["synth", "0.1", "sine", "900:1600", "fade", "0", "0.1", "0.08"],
        ["synth", "0.05", "whitenoise", "highpass", "3000", "fade", "0", "0.05", "0.045", "vol", "0.4"],
    ], -5),
    "SFX_Screw": Mix([
        ["synth", "0.03", "whitenoise", "bandpass", "2400", "6q", "fade", "0", "0.03", "0.025", "pad", "%.2f" % at]
        for at in (0, 0.09, 0.18, 0.27, 0.36, 0.45)
    ] + [["synth", "0.55", "brownnoise", "lowpass", "600", "vol", "0.3", "fade", "q", "0.05", "0.55", "0.2"]], -4),
    "SFX_Toolbox": Mix([
        ["synth", "0.25", "sine", "220:110", "fade", "0", "0.25", "0.2", "vol", "0.7"],
    ] + clatter("SFX_Toolbox", 4, 0.2), -4),
})
# The tool shed: the thrown tools landing on the plank floor, a wooden knock under a few metal clinks.
EFFECTS.update({
    "SFX_ToolShedLand": Mix([
        ["synth", "0.3", "sine", "160:70", "fade", "0", "0.3", "0.25", "vol", "0.8"],
        ["synth", "0.25", "brownnoise", "lowpass", "700", "vol", "0.5", "fade", "q", "0", "0.25", "0.2"],
    ] + clatter("SFX_ToolShedLand", 6, 0.35), -4),
})
# The job-order game: the crew builds the job, hammer knocks around a stretch of sawing.
EFFECTS.update({
    "SFX_Construction": Mix([
        ["synth", "0.12", "brownnoise", "lowpass", "900", "fade", "0", "0.12", "0.11", "vol", "1.5", "pad", "%.2f" % at]
        for at in (0, 0.35, 0.7, 2.0, 2.3, 2.6)
    ] + [["synth", "0.9", "pinknoise", "bandpass", "2200", "3q", "tremolo", "7", "80", "fade", "q", "0.05", "0.9",
          "0.1", "vol", "0.5", "pad", "1.0"]], -3),
})
# The stacking game: a girder or log set down with a clank, and a stack tumbling to the ground.
EFFECTS.update({
    "SFX_DropGirder": Mix([
        ["synth", "0.3", "sine", "160:70", "fade", "0", "0.3", "0.25", "vol", "0.7"],
    ] + clatter("SFX_DropGirder", 3, 0.12), -4),
    "SFX_GirderFall": Mix([
        ["synth", "0.9", "brownnoise", "vol", "0.5", "lowpass", "450", "fade", "q", "0.02", "0.9", "0.6"],
        ["synth", "0.5", "sine", "140:50", "fade", "0", "0.5", "0.4", "vol", "0.6", "pad", "0.3"],
    ] + clatter("SFX_GirderFall", 8, 0.7), -3),
})
# The leaf-pile game: a gust that swells and dies away, with a rustle of dry leaves riding on it.
EFFECTS.update({
    "SFX_BlowLeaves": Mix([
        ["synth", "1.6", "pinknoise", "bandpass", "700", "1.5q", "tremolo", "0.7", "40",
         "fade", "q", "0.6", "1.6", "0.8", "vol", "0.8"],
        ["synth", "1.4", "whitenoise", "highpass", "3000", "tremolo", "13", "90",
         "fade", "h", "0.4", "1.4", "0.7", "vol", "0.4", "pad", "0.15"],
    ], -5),
})
# The fence-painting game: the lift's hydraulic whine, the lift truck's short hop to the next board and
# a brush stroking paint on (or a scraper taking it off).
EFFECTS.update({
    "SFX_ReachArm": Mix([
        ["synth", "0.9", "sawtooth", "90:150", "vol", "0.5", "lowpass", "900", "tremolo", "40", "30",
         "fade", "q", "0.1", "0.9", "0.3"],
        ["synth", "0.9", "pinknoise", "vol", "0.2", "bandpass", "600", "2q", "fade", "q", "0.1", "0.9", "0.3"],
    ], -6),
    "SFX_ReachMove": Mix([
        ["synth", "1.0", "sawtooth", "50:80", "synth", "1.0", "sine", "amod", "12:20", "40", "vol", "0.6",
         "lowpass", "800", "fade", "h", "0.05", "1.0", "0.4"],
        ["synth", "1.0", "brownnoise", "vol", "0.5", "lowpass", "300", "tremolo", "18", "60",
         "fade", "h", "0.05", "1.0", "0.4"],
    ], -5),
    "SFX_Paint": Mix([
        ["synth", "0.3", "pinknoise", "bandpass", "1800", "1.5q", "fade", "h", "0.08", "0.3", "0.12",
         "pad", "%.2f" % at] for at in (0, 0.35, 0.7)
    ], -6),
})
# The street-signs game: a sign wobbling on its post, and a sign set down on the truck's wooden bed.
EFFECTS.update({
    "SFX_SignWobble": ["synth", "0.45", "sine", "330", "tremolo", "14", "70", "vol", "0.6",
                       "fade", "0", "0.45", "0.3"],
    "SFX_SignLand": Mix([
        ["synth", "0.18", "sine", "160:70", "fade", "0", "0.18", "0.15", "vol", "0.8"],
        ["synth", "0.08", "brownnoise", "lowpass", "700", "fade", "0", "0.08", "0.07", "vol", "0.8"],
    ], -4),
})
WIDGET_EVENTS = ["Hot", "Down", "Release", "Checked", "Unchecked", "Snap"]


def make_effects(data):
    for name, chain in EFFECTS.items():
        with tempfile.TemporaryDirectory() as work:
            wav = os.path.join(work, "e.wav")
            if isinstance(chain, Mix):
                layers = []
                for i, layer in enumerate(chain.layers):
                    part = os.path.join(work, "l%d.wav" % i)
                    run(["sox", "-R", "-D", "-n", "-r", "22050", "-c", "1", "-b", "16", part] + layer)
                    layers.append(part)
                mix = ["-m"] + layers if len(layers) > 1 else layers
                run(["sox", "-R", "-D"] + mix + [wav, "gain", "-n", str(chain.peak)])
            else:
                run(["sox", "-R", "-D", "-n", "-r", "22050", "-c", "1", "-b", "16", wav] + chain)
            encode(wav, os.path.join(data, "sfx", name + ".ogg"), 3, name)


def write_manifest(data):
    out = ['<?xml version="1.0"?>',
           "<!-- Music, ambience and effects, made by tools/make_content.sh (tools/content/make_sounds.py). -->",
           "<manifest>"]
    for name in PIECES:
        out.append('  <sound name="%s" src="%s" type="music" loop="forever"/>' % (name, name))
    for name in AMBIENCE:
        out.append('  <sound name="%s" src="%s" type="ambient" loop="forever"/>' % (name, name))
    for name in EFFECTS:
        out.append('  <sound name="%s" src="%s"/>' % (name, name))
    out.append('  <soundlist name="WidgetSounds">')
    out += ['    <sound event="%s" src="UI_%s"/>' % (e, e) for e in WIDGET_EVENTS]
    out.append("  </soundlist>")
    out.append("</manifest>")
    with open(os.path.join(data, "AudioResources_General.xml"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")


def main():
    manifests_only = "--manifests-only" in sys.argv[1:]
    args = [a for a in sys.argv[1:] if a != "--manifests-only"]
    if len(args) < 2 or any(a not in ("music", "effects") for a in args[1:]):
        sys.exit(__doc__)
    data, steps = args[0], [] if manifests_only else args[1:]
    if "music" in steps:
        make_music(data)
        make_ambience(data)
    if "effects" in steps:
        make_effects(data)
    write_manifest(data)


if __name__ == "__main__":
    main()
