#!/usr/bin/env bash
# Remakes the game's bitmap fonts in data/fonts from free TrueType fonts. Needs g++, libstb-dev and
# fonts-dejavu-core.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
dejavu=/usr/share/fonts/truetype/dejavu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -o "$work/makefont" "$here/makefont.cpp" -lm
mkdir -p "$root/data/fonts"
"$work/makefont" "$dejavu/DejaVuSans.ttf" 24 "$root/data/fonts/Body24"
"$work/makefont" "$dejavu/DejaVuSans-Bold.ttf" 40 "$root/data/fonts/Title40"
"$work/makefont" "$dejavu/DejaVuSans.ttf" 12 "$root/data/fonts/Verdana12"
