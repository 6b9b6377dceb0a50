#!/usr/bin/env bash
# Builds a benchmark (preset "windows") and runs it under Wine.
#
#   bash scripts/bench.sh [switch] [ARGUMENTS...]   the switch benchmark (the default)
#   bash scripts/bench.sh startup [ARGUMENTS...]    Plover's start-up against a bare window
#   bash scripts/bench.sh scale [--runs N] [--entries LIST] [--work FOLDER]
#                                                   thousands of entries in one folder, and
#                                                   the start-up at 1, 50 and 500 versions
#
# Arguments go to the benchmark, e.g.: bash scripts/bench.sh --runs 9, or
# bash scripts/bench.sh startup --runs 21 --versions 500.
# The switch benchmark's files (~1 GB while it runs) go to
# build/windows/bench-work, the scale benchmark's to
# build/windows/bench-work/scale (--work puts them elsewhere, e.g.
# 'Z:\dev\shm\bw' on a RAM disk); set PLOVER_WINDOWS_BUILD to use another
# build folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

which=switch
case "${1:-}" in
  switch | startup | scale) which=$1; shift ;;
esac

# Another folder can be given for a build of one's own.
home=${PLOVER_WINDOWS_BUILD:-$root/build/windows}

bash scripts/setup.sh
cmake --preset windows -B "$home" >/dev/null

# Leave Wine running if someone else (a test run) started it.
if bash scripts/wine-run.sh --home "$home" --status >/dev/null 2>&1; then
  started=0
else
  started=1
fi
trap '[ "$started" = 0 ] || bash "$root/scripts/wine-run.sh" --home "$home" --stop' EXIT

case "$which" in
  switch)
    cmake --build "$home" -j 2 --target bench_switch
    work=$home/bench-work
    bash scripts/wine-run.sh --home "$home" "$home/bin/bench_switch.exe" --work "Z:${work//\//\\}" "$@"
    ;;
  startup)
    # The desktop keeper holds Wine's desktop open, so that no start pays
    # for bringing it up.
    cmake --build "$home" -j 2 --target bench_startup plover_wine_keeper
    export PLOVER_WINE_KEEPER=$home/bin/wine_support/plover_wine_keeper.exe
    bash scripts/wine-run.sh --home "$home" --prepare >/dev/null
    bash scripts/wine-run.sh --home "$home" "$home/bin/bench_startup.exe" "$@"
    ;;
  scale)
    # --runs counts for the start-up runs too (which otherwise take their
    # own 21); --work holds their layouts as well.
    startup_args=()
    args=("$@")
    for ((i = 0; i < ${#args[@]}; i++)); do
      case "${args[i]}" in
        --runs) startup_args+=(--runs "${args[i + 1]:-}") ;;
        --work) startup_args+=(--work "${args[i + 1]:-}\\startup") ;;
      esac
    done
    cmake --build "$home" -j 2 --target bench_scale bench_startup plover_wine_keeper
    export PLOVER_WINE_KEEPER=$home/bin/wine_support/plover_wine_keeper.exe
    bash scripts/wine-run.sh --home "$home" --prepare >/dev/null
    work=$home/bench-work/scale
    log=$home/bench-scale.log
    startup_log=$home/bench-scale-startup.log
    bash scripts/wine-run.sh --home "$home" "$home/bin/bench_scale.exe" \
      --work "Z:${work//\//\\}" "$@" | tee "$log"
    : >"$startup_log"
    for versions in 1 50 500; do
      echo
      bash scripts/wine-run.sh --home "$home" "$home/bin/bench_startup.exe" \
        --versions "$versions" "${startup_args[@]}" | tee -a "$startup_log"
    done
    echo
    sed -n '/^summary/,$p' "$log"
    grep -E '^start-up (with|ratio)' "$startup_log"
    echo "(the whole output is in $log and $startup_log)"
    ;;
esac
