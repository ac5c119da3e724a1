#!/usr/bin/env bash
# The performance page's goal marks: each line of benchmark output below, run through the tool's goal
# step, must come out as the line after it.
set -euo pipefail
tool=$1
failed=0
check() {
  local name=$1 input=$2 expected=$3 got
  got=$(printf '%s\n' "$input" | "$tool" --goals)
  if [ "$got" != "$expected" ]; then
    printf 'FAIL %s\n  expected: %s\n  got:      %s\n' "$name" "$expected" "$got"
    failed=1
  fi
}

check "a ratio over its goal" \
  "update: 30.5 ns, 15.03x a plain loop (2.0 ns per object; goal at most 3x). Medians of 5 runs." \
  "update: 30.5 ns, 15.03x a plain loop (2.0 ns per object; goal at most 3x: missed). Medians of 5 runs."
check "a ratio at its bound" \
  "frame: 1.50x the flat array (goal at most 1.5x)" \
  "frame: 1.50x the flat array (goal at most 1.5x: met)"
check "two goals in a line, each with its own figure" \
  "start: 381.7 ms; files 248.3 ms (1.54x; goal at most 1.5x). Memory 241.0 MB (1.37x; goal at most 1.5x)." \
  "start: 381.7 ms; files 248.3 ms (1.54x; goal at most 1.5x: missed). Memory 241.0 MB (1.37x; goal at most 1.5x: met)."
check "under is strict; a percentage's own number, not an earlier one" \
  "32 voices: 2.00% of one core (goal under 2%); the mix (4 effects): 0.24% (goal under 1%); idle 0.00%." \
  "32 voices: 2.00% of one core (goal under 2%: missed); the mix (4 effects): 0.24% (goal under 1%: met); idle 0.00%."
check "within bounds a signed figure's size" \
  "after 50: 266.6 MB (-6.2%; goal within 5%). After 5: (+0.0%; goal within 5%)" \
  "after 50: 266.6 MB (-6.2%; goal within 5%: missed). After 5: (+0.0%; goal within 5%: met)"
check "a goal without a figure of its unit is left unmarked" \
  "memory 200 MB (goal at most 3x)" \
  "memory 200 MB (goal at most 3x)"
check "a heading's goal on the lines below it, by the figure its words name" \
  "$(printf '%s\n' '  Per step (goal: 99th percentile at most 25%):' \
    '    sweep: mean 26.0%, 99th percentile 8.1% of the step' \
    '    drag: mean 2.0%, 99th percentile 31.0% of the step' \
    '  After: 40.0% of nothing')" \
  "$(printf '%s\n' '  Per step (goal: 99th percentile at most 25%):' \
    '    sweep: mean 26.0%, 99th percentile 8.1% of the step (goal met)' \
    '    drag: mean 2.0%, 99th percentile 31.0% of the step (goal missed)' \
    '  After: 40.0% of nothing')"
check "a heading without words takes each line's first figure of its unit" \
  "$(printf '%s\n' 'Still title (goal: under 1% of a core):' '  software: 0.95% of a core, thread 1.50%' \
    '  OpenGL: 1.69% of a core, thread 0.71%')" \
  "$(printf '%s\n' 'Still title (goal: under 1% of a core):' '  software: 0.95% of a core, thread 1.50% (goal met)' \
    '  OpenGL: 1.69% of a core, thread 0.71% (goal missed)')"
check "a line under a heading that judges itself is not judged again" \
  "$(printf '%s\n' '  Per step (goal: 99th percentile at most 25%):' \
    '    sweep: wall mean 7.0%, p99 25.2%; CPU mean 5.5%, p99 13.5% (255 steps; goal missed)')" \
  "$(printf '%s\n' '  Per step (goal: 99th percentile at most 25%):' \
    '    sweep: wall mean 7.0%, p99 25.2%; CPU mean 5.5%, p99 13.5% (255 steps; goal missed)')"
check "lines without a goal pass unchanged" \
  "The parsers agree on 39005 start tags at 1.41x libexpat." \
  "The parsers agree on 39005 start tags at 1.41x libexpat."
exit $failed
