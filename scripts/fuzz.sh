#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz", clang with libFuzzer) and runs each
# of them for a while, one after the other, then prints the executions and
# seconds of each and in all. Exits non-zero when a target crashed or found an
# input that breaks one of its invariants (the input is kept under
# build/fuzz/tests/fuzz/crashes/), and 0 with a note when clang is missing.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#   SECONDS_PER_TARGET  default 300
#   TARGET              e.g. fuzz_loader; default all of them
# Inputs a run finds go to build/fuzz/tests/fuzz/found/<target> (kept between
# runs); the seeds in tests/fuzz/corpus/<target> are read, never written.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1

seconds=${1:-300}
shift || true
if ! command -v clang >/dev/null || ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang is not installed: the fuzz targets are skipped"
  exit 0
fi
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || {
  echo "fuzz.sh: building the fuzz targets failed" >&2
  exit 1
}
dir=$root/build/fuzz/tests/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in "$dir"/fuzz_*; do [ -x "$t" ] && targets+=("$(basename "$t")"); done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz targets were built (clang cannot link libFuzzer here): skipped"
  exit 0
fi

failed=()
total_runs=0
total_seconds=0
report=()
for t in "${targets[@]}"; do
  mkdir -p "$dir/found/$t" "$dir/crashes"
  log=$dir/$t.log
  echo "==> $t: $seconds s"
  nice "$dir/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dir/crashes/$t-" "$dir/found/$t" "$root/tests/fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  secs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\2/p' "$log" | tail -1)
  if [ $rc -ne 0 ] || [ -z "$runs" ]; then
    failed+=("$t")
    grep -E 'invariant broken|ERROR|SUMMARY|Test unit written' "$log" | head -5 >&2
    runs=${runs:-0} secs=${secs:-0}
  fi
  total_runs=$((total_runs + runs))
  total_seconds=$((total_seconds + secs))
  report+=("$(printf '%-24s %12s runs %6s s' "$t" "$runs" "$secs")")
done

printf '%s\n' "${report[@]}"
printf '%-24s %12s runs %6s s\n' "in all" "$total_runs" "$total_seconds"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: FAILED: ${failed[*]} (logs in $dir/<target>.log)" >&2
  exit 1
fi
echo "fuzz.sh: no crash and no broken invariant"
