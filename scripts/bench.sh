#!/usr/bin/env bash
# Builds the switch benchmark (preset "windows") and runs it under Wine.
# Arguments go to the benchmark, e.g.: bash scripts/bench.sh --runs 9
# Its files (~1 GB while it runs) go to build/windows/bench-work; set
# PLOVER_WINDOWS_BUILD to use another build folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# Another folder can be given for a build of one's own.
home=${PLOVER_WINDOWS_BUILD:-$root/build/windows}

bash scripts/setup.sh
cmake --preset windows -B "$home" >/dev/null
cmake --build "$home" -j 2 --target bench_switch

work=$home/bench-work
# Leave Wine running if someone else (a test run) started it.
if bash scripts/wine-run.sh --home "$home" --status >/dev/null 2>&1; then
  started=0
else
  started=1
fi
trap '[ "$started" = 0 ] || bash "$root/scripts/wine-run.sh" --home "$home" --stop' EXIT

bash scripts/wine-run.sh --home "$home" "$home/bin/bench_switch.exe" --work "Z:${work//\//\\}" "$@"
