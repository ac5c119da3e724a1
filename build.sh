#!/usr/bin/env bash
# One entry point for a fresh Debian machine.
#   ./build.sh play             installs what is missing, builds the game and starts it
#   ./build.sh test             installs what is missing, builds with sanitizers and runs every test, none
#                               hiding another; its fuzz step keeps its seeds and run counts fixed
#   ./build.sh fuzz [name...]   random fuzzing campaigns (FUZZ_SECONDS each, 300 by default) of every
#                               fuzz target, or of those named (e.g. download_body)
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-}
case "$mode" in play|test|fuzz) ;; *) echo "usage: $0 play|test|fuzz [fuzz target...]" >&2; exit 2 ;; esac
shift

SUDO=
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1; then SUDO=sudo; fi

# None of these installs or starts a service: a test run leaves nothing running behind it. llvm-14 holds
# llvm-symbolizer, which the sanitizers need to name functions in their reports.
packages=(cmake ninja-build g++ pkg-config zlib1g-dev libboost-dev libcurl4-openssl-dev libstb-dev libsdl2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libopenal-dev libsndfile1-dev libopenmpt-dev)
if [ "$mode" != play ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev libexpat1-dev libpugixml-dev clang libclang-rt-14-dev llvm-14 locales libgif-dev libpixman-1-dev xvfb xauth libx11-dev clang-format-14 python3)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ] && [ -z "$SUDO" ]; then
    echo "These packages are missing: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}), or install sudo, then run $0 $mode again." >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
# Where ccache is installed, repeated builds reuse what an earlier one compiled.
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi

if [ "$mode" = play ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRATA_TESTS=OFF "${launcher[@]}"
  cmake --build build/release -j "$jobs"
  exec ./build/release/src/game/menagerie
fi

# The sanitizers name functions through llvm-symbolizer, which Debian installs under a versioned name
# only; without it their reports are raw addresses.
if symbolizer=$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer); then
  for tool in ASAN LSAN UBSAN TSAN; do
    var=${tool}_SYMBOLIZER_PATH
    export "$var=${!var:-$symbolizer}"
  done
fi

# The fuzz targets: built with clang, run over a scratch copy of their stored corpus (the fuzzer adds
# what it finds to the folder it is given), crashing inputs kept under build/fuzz/artifacts/.
fuzz_build() {
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DSTRATA_TESTS=OFF -DSTRATA_FUZZ=ON "${launcher[@]}" && cmake --build build/fuzz -j "$jobs"
}
fuzz_run() { # name, then libFuzzer's options
  local name=$1 scratch status
  shift
  scratch=$(mktemp -d)
  mkdir -p build/fuzz/artifacts
  cp -r "fuzz/corpus/$name/." "$scratch/" 2>/dev/null || true
  "build/fuzz/fuzz/${name}_fuzz" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/artifacts/$name-" "$@" "$scratch" >"build/fuzz/$name.log" 2>&1 </dev/null
  status=$?
  rm -rf "$scratch"
  # The summary (seed, run count, coverage, final statistics), and the end of the log when it failed.
  grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|INFO: Seed:|Done |stat::)' "build/fuzz/$name.log"
  if [ "$status" -ne 0 ]; then
    echo "--- the end of build/fuzz/$name.log:"
    tail -n 120 "build/fuzz/$name.log"
  fi
  return "$status"
}
fuzz_targets() { # the names given, or every target built
  if [ $# -gt 0 ]; then printf '%s\n' "$@"; return; fi
  for f in build/fuzz/fuzz/*_fuzz; do [ -x "$f" ] && basename "$f" _fuzz; done
}

# From here on every step runs whatever an earlier one did; the failed ones are named at the end.
set +e
failed=()
step() { # name, then the command
  local name=$1 status start=$SECONDS
  shift
  echo
  echo "=== $name"
  "$@"
  status=$?
  if [ "$status" -ne 0 ]; then
    failed+=("$name")
    echo "=== $name FAILED (status $status, $((SECONDS - start)) s)"
  else
    echo "=== $name passed ($((SECONDS - start)) s)"
  fi
  return "$status"
}
skipped() { failed+=("$1 (not run: $2)"); echo "=== $1 not run: $2"; }
finish() {
  echo
  if [ ${#failed[@]} -eq 0 ]; then
    echo "=== every step passed"
    exit 0
  fi
  echo "=== ${#failed[@]} step(s) failed:"
  printf '    %s\n' "${failed[@]}"
  exit 1
}

if [ "$mode" = fuzz ]; then
  # Random seeds and a time limit: each campaign differs. Its seed is printed, but -seed=<n> -runs=<count>
  # replays it only roughly (the fuzzer follows coverage, which differs from run to run); a crash is
  # replayed from its artifact. New inputs are not kept; copy an artifact into fuzz/corpus/<name>/ by hand.
  step "fuzz build" fuzz_build || finish
  mapfile -t names < <(fuzz_targets "$@")
  for name in "${names[@]}"; do
    step "fuzz $name" fuzz_run "$name" -max_total_time="${FUZZ_SECONDS:-300}"
  done
  finish
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # Every C++ file keeps the project's formatting, so a change is checked wherever it lands.
  step "format check" bash -c "git ls-files -z '*.cpp' '*.h' | xargs -0 tools/check_format.sh"
fi

# Parsing and case folding are tested under desktop locales that differ from C: Spanish (decimal comma)
# and Turkish (dotless i).
for loc in es_ES tr_TR; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
    $SUDO localedef -i "$loc" -f UTF-8 "$loc.UTF-8" 2>/dev/null || echo "note: $loc.UTF-8 locale unavailable; its tests will skip"
  fi
done

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# Mesa's software rasterizer without worker threads, and without the shader cache's thread: the leak
# checker's tracer can crash on them at exit.
export LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true
# Without a session bus address, the D-Bus library SDL loads under X11 tries to launch a bus and leaves
# processes behind; no test needs the bus. The leak checker's exceptions are all in tests/lsan.supp.
export DBUS_SESSION_BUS_ADDRESS="${DBUS_SESSION_BUS_ADDRESS:-unix:path=/nonexistent}"
# The long random session of the whole game plays the same session in every test run.
export MENAGERIE_LONG_RUN_SEED="${MENAGERIE_LONG_RUN_SEED:-20240601}"

sanitizer_build() {
  cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 -DSTRATA_SANITIZE=ON "${launcher[@]}" &&
    cmake --build build/test -j "$jobs"
}
step "sanitizer build" sanitizer_build
sanitizer_built=$?

# Tests that open a real window or an OpenGL context find an X server made by xvfb-run (Mesa draws); it
# does not reset when its last client leaves, so a test that reopens the display never finds it away.
display=()
if command -v xvfb-run >/dev/null 2>&1; then display=(xvfb-run -a -s "-noreset -screen 0 1920x1080x24"); fi

# Benchmarks are built and run briefly so they keep working; their figures never fail the build. The
# engine's tests are built and run in the same optimised build: what the sanitizers' build hides (their
# own allocator, say) or what optimisation breaks fails here. Only those targets are built, not the game's.
engine_parts=(core framework graphics controls scene audio)
bench_targets=()
for source in bench/*_bench.cpp; do bench_targets+=("$(basename "$source" .cpp)"); done
engine_tests=()
for part in "${engine_parts[@]}"; do engine_tests+=("strata_${part}_tests"); done
bench_build() {
  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRATA_TESTS=ON -DSTRATA_BENCH=ON "${launcher[@]}" &&
    cmake --build build/bench -j "$jobs" --target "${bench_targets[@]}" "${engine_tests[@]}"
}
benchmarks() {
  local b status=0
  for b in build/bench/bench/*_bench; do
    [ -x "$b" ] || continue
    "$b" --benchmark_min_time=0.05 --benchmark_color=false || { echo "benchmark $b did not finish"; status=1; }
  done
  return "$status"
}
if step "release build" bench_build; then
  for part in "${engine_parts[@]}"; do
    step "release tests: $part" "${display[@]}" ctest --test-dir "build/bench/tests/engine/$part" -j "$jobs" \
      --output-on-failure --timeout 300
  done
  step "benchmarks" benchmarks
else
  skipped "release tests and benchmarks" "the release build failed"
fi

# Each fuzz target replays its stored corpus, then fuzzes for a fixed number of runs from a fixed seed.
# The seed and count are the same every time, the inputs after the corpus are not: the fuzzer picks its
# mutations by the coverage it sees, and that differs from run to run (address layout, download_body's
# thread). The corpus replay is the part that always runs the same. FUZZ_RUNS changes the count.
if command -v clang++ >/dev/null 2>&1; then
  if step "fuzz build" fuzz_build; then
    mapfile -t names < <(fuzz_targets)
    for name in "${names[@]}"; do
      step "fuzz $name" fuzz_run "$name" -seed=1 -runs="${FUZZ_RUNS:-3000}"
    done
  else
    skipped "fuzz targets" "the fuzz build failed"
  fi
else
  skipped "fuzz targets" "clang++ not found"
fi

# The threaded framework and audio code runs once more under ThreadSanitizer.
if compgen -G "tests/engine/framework/*Test.cpp" >/dev/null; then
  tsan_build() {
    cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 -DSTRATA_TSAN=ON "${launcher[@]}" &&
      cmake --build build/tsan -j "$jobs" --target strata_framework_tests strata_audio_tests
  }
  if step "tsan build" tsan_build; then
    for dir in framework audio; do
      TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" \
        step "tsan tests: $dir" ctest --test-dir "build/tsan/tests/engine/$dir" -j "$jobs" --output-on-failure --timeout 300
    done
  else
    skipped "tsan tests" "the tsan build failed"
  fi
fi

# The main suite last: it is the longest.
if [ "$sanitizer_built" -eq 0 ]; then
  step "main test suite" "${display[@]}" ctest --test-dir build/test -j "$jobs" --output-on-failure --timeout 300
else
  skipped "main test suite" "the sanitizer build failed"
fi

finish
