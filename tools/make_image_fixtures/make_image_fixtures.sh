#!/usr/bin/env bash
# Rebuilds the graphics test images and the GIF fuzz seeds. Needs g++, libgif-dev and libstb-dev.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -Wall -Wextra -o "$work/make_image_fixtures" "$here/make_image_fixtures.cpp" -lgif -lm
mkdir -p "$root/tests/engine/graphics/fixtures" "$root/fuzz/corpus/gif_decoder"
"$work/make_image_fixtures" "$root/tests/engine/graphics/fixtures" "$root/fuzz/corpus/gif_decoder"
