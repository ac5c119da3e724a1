#!/usr/bin/python3
"""Speaks the voice table into data/voices/{en,es}/ and writes the two voice manifests.

Usage: make_voices.py [--manifests-only] <voice table> <data folder> [name...]

English is spoken by Festival's HTS voice, Spanish by espeak-ng's Latin-American voice; both are
slowed for small children, trimmed of silence, levelled and encoded to mono Ogg Vorbis at 22,050 Hz.
Given names, only those lines are spoken again (the manifests are always rewritten whole); with
--manifests-only, none is.
"""
import concurrent.futures
import math
import os
import re
import subprocess
import sys
import tempfile
import zlib

from voice_table import read_table, LISTS

RATE = 22050
QUALITY = 3
TARGET_RMS = 0.13
# (folder, manifest, file suffix) per language; both manifests name the same sounds. Files are found
# by bare name in any folder, so each language's files carry their own suffix.
LANGUAGES = (("en", "AudioResources", "_EN"), ("es", "AudioResources_SP", "_SP"))


def run(args, **kw):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, **kw)


def speak(language, text, raw):
    if language == "en":
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8") as f:
            f.write(text + "\n")
        try:
            run(["text2wave", "-eval", "(voice_cmu_us_slt_arctic_hts)", f.name, "-o", raw])
        finally:
            os.unlink(f.name)
        return ["tempo", "-s", "0.85"]
    run(["espeak-ng", "-v", "es-419", "-s", "128", "-p", "58", "-w", raw, text])
    return []


def make_line(language, name, text, out):
    with tempfile.TemporaryDirectory() as work:
        raw = os.path.join(work, "raw.wav")
        level = os.path.join(work, "level.wav")
        slow = speak(language, text, raw)
        # -R and -D: no random dither, so the same words give the same bytes.
        run(["sox", "-R", "-D", raw, "-r", str(RATE), "-c", "1", "-b", "16", level] + slow +
            ["gain", "-6", "highpass", "70",
             "silence", "1", "0.02", "0.3%", "reverse", "silence", "1", "0.02", "0.3%", "reverse",
             "compand", "0.01,0.25", "-70,-70,-40,-22,-10,-9,0,-5", "0", "-90", "0.02",
             "pad", "0.08", "0.15"])
        # Level by loudness (RMS), not by peak, so English and Spanish lines sound equally loud;
        # the limiter keeps a peaky line from clipping.
        stat = subprocess.run(["sox", level, "-n", "stat"], check=True, capture_output=True, text=True).stderr
        rms = float(re.search(r"RMS\s+amplitude:\s+([0-9.eE+-]+)", stat).group(1))
        gain = 20 * math.log10(TARGET_RMS / rms) if rms > 0 else 0
        final = os.path.join(work, "final.wav")
        run(["sox", "-R", "-D", level, final, "gain", "-l", "%.2f" % gain])
        os.makedirs(os.path.dirname(out), exist_ok=True)
        serial = zlib.crc32((language + name).encode()) & 0x7FFFFFFF
        run(["oggenc", "-Q", "-q", str(QUALITY), "--serial", str(serial), "-o", out, final])


def file_name(name, suffix):
    return name.replace("#", "_") + suffix


def manifest(lines, suffix):
    out = ['<?xml version="1.0"?>',
           "<!-- Voice lines, made by tools/make_content.sh from tools/content/voices.txt. -->",
           "<manifest>"]
    groups = {}
    for line in lines:
        groups.setdefault(line.sound, []).append(line)
    for sound, variants in groups.items():
        if variants[0].variant is None:
            out.append('  <sound name="%s" src="%s"/>' % (sound, file_name(sound, suffix)))
        else:
            out.append('  <randomsound name="%s">' % sound)
            out += ['    <sound src="%s"/>' % file_name(v.name, suffix) for v in variants]
            out.append("  </randomsound>")
    for list_name, prefix in LISTS:
        entries = [(s[len(prefix):], s) for s in groups if s.startswith(prefix)]
        out.append('  <soundlist name="%s">' % list_name)
        out += ['    <sound event="%s" src="%s"/>' % e for e in entries]
        out.append("  </soundlist>")
    out.append("</manifest>")
    return "\n".join(out) + "\n"


def main():
    args = sys.argv[1:]
    speaking = "--manifests-only" not in args
    args = [a for a in args if a != "--manifests-only"]
    if len(args) < 2:
        sys.exit(__doc__)
    table, data = args[0], args[1]
    only = set(args[2:])
    lines = read_table(table)
    jobs = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        for line in lines:
            if not speaking or only and line.name not in only and line.sound not in only:
                continue
            for (folder, _, suffix), text in zip(LANGUAGES, (line.english, line.spanish)):
                out = os.path.join(data, "voices", folder, file_name(line.name, suffix) + ".ogg")
                jobs.append(pool.submit(make_line, folder, line.name, text, out))
        for job in jobs:
            job.result()
    for _, name, suffix in LANGUAGES:
        with open(os.path.join(data, name + ".xml"), "w", encoding="utf-8", newline="\n") as f:
            f.write(manifest(lines, suffix))


if __name__ == "__main__":
    main()
