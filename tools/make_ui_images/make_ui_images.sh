#!/usr/bin/env bash
# Redraws the generic control images under data/ui. Needs g++ and libstb-dev.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -Wall -Wextra -o "$work/make_ui_images" "$here/make_ui_images.cpp"
mkdir -p "$root/data/ui"
"$work/make_ui_images" "$root/data"
