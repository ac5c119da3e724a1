#!/usr/bin/env bash
# One entry point for a fresh Debian machine.
#   ./build.sh play   installs what is missing, builds the game and starts it
#   ./build.sh test   installs what is missing, builds with sanitizers and runs every test
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-}
case "$mode" in play|test) ;; *) echo "usage: $0 play|test" >&2; exit 2 ;; esac

SUDO=
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1; then SUDO=sudo; fi

packages=(cmake ninja-build g++ pkg-config zlib1g-dev libboost-dev libcurl4-openssl-dev libstb-dev libsdl2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libopenal-dev libsndfile1-dev libopenmpt-dev)
if [ "$mode" = test ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev libexpat1-dev libpugixml-dev clang libclang-rt-14-dev locales nginx-light libgif-dev libpixman-1-dev xvfb xauth libx11-dev clang-format-14 python3)
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

if [ "$mode" = test ] && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # Every C++ file keeps the project's formatting, so a change is checked wherever it lands.
  git ls-files -z '*.cpp' '*.h' | xargs -0 tools/check_format.sh
fi

if [ "$mode" = play ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRATA_TESTS=OFF "${launcher[@]}"
  cmake --build build/release -j "$jobs"
  exec ./build/release/src/game/menagerie
fi

# Parsing and case folding are tested under desktop locales that differ from C: Spanish (decimal comma)
# and Turkish (dotless i).
for loc in es_ES tr_TR; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
    $SUDO localedef -i "$loc" -f UTF-8 "$loc.UTF-8" 2>/dev/null || echo "note: $loc.UTF-8 locale unavailable; its tests will skip"
  fi
done

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# Mesa's software rasterizer without worker threads: the leak checker's tracer can crash on them at exit.
export LP_NUM_THREADS=0
# Without a session bus address, the D-Bus library SDL loads under X11 tries to launch a bus and leaves
# processes behind; no test needs the bus. The leak checker's exceptions are all in tests/lsan.supp.
export DBUS_SESSION_BUS_ADDRESS="${DBUS_SESSION_BUS_ADDRESS:-unix:path=/nonexistent}"

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 -DSTRATA_SANITIZE=ON "${launcher[@]}"
cmake --build build/test -j "$jobs"

# Tests that open a real window or an OpenGL context find an X server made by xvfb-run (Mesa draws); it
# does not reset when its last client leaves, so a test that reopens the display never finds it away.
display=()
if command -v xvfb-run >/dev/null 2>&1; then display=(xvfb-run -a -s "-noreset -screen 0 1920x1080x24"); fi

# Benchmarks are built and run briefly so they keep working; their figures never fail the build. The
# engine's tests are built and run in the same optimised build: what the sanitizers' build hides (their
# own allocator, say) or what optimisation breaks fails here. Only those targets are built, not the game's.
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRATA_TESTS=ON -DSTRATA_BENCH=ON "${launcher[@]}"
engine_parts=(core framework graphics controls scene audio)
bench_targets=()
for source in bench/*_bench.cpp; do bench_targets+=("$(basename "$source" .cpp)"); done
engine_tests=()
for part in "${engine_parts[@]}"; do engine_tests+=("strata_${part}_tests"); done
cmake --build build/bench -j "$jobs" --target "${bench_targets[@]}" "${engine_tests[@]}"
for part in "${engine_parts[@]}"; do
  "${display[@]}" ctest --test-dir "build/bench/tests/engine/$part" -j "$jobs" --output-on-failure --timeout 300
done
for b in build/bench/bench/*_bench; do
  [ -x "$b" ] && "$b" --benchmark_min_time=0.5 --benchmark_color=false || echo "benchmark $b did not finish"
done

# Each fuzz target runs for a bounded time over a scratch copy of its stored corpus.
if command -v clang++ >/dev/null 2>&1; then
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DSTRATA_TESTS=OFF -DSTRATA_FUZZ=ON "${launcher[@]}"
  cmake --build build/fuzz -j "$jobs"
  for f in build/fuzz/fuzz/*_fuzz; do
    [ -x "$f" ] || continue
    name=$(basename "$f" _fuzz)
    scratch=$(mktemp -d)
    cp -r "fuzz/corpus/$name/." "$scratch/" 2>/dev/null || true
    echo "fuzzing $name for ${FUZZ_SECONDS:-20} s"
    "$f" -max_total_time="${FUZZ_SECONDS:-20}" -rss_limit_mb=2048 -print_final_stats=1 "$scratch" 2>&1 | tail -n 40
    rm -rf "$scratch"
  done
else
  echo "clang++ not found: fuzz targets skipped"
fi

# The threaded framework and audio code runs once more under ThreadSanitizer.
if compgen -G "tests/engine/framework/*Test.cpp" >/dev/null; then
  cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 -DSTRATA_TSAN=ON "${launcher[@]}"
  cmake --build build/tsan -j "$jobs" --target strata_framework_tests strata_audio_tests
  for dir in framework audio; do
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" \
      ctest --test-dir "build/tsan/tests/engine/$dir" -j "$jobs" --output-on-failure --timeout 300
  done
fi

"${display[@]}" ctest --test-dir build/test -j "$jobs" --output-on-failure --timeout 300
