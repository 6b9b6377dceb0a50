#!/usr/bin/env bash
# Builds and tests everything from scratch or incrementally:
#   1. the platform-neutral logic on Linux (preset "native", with
#      AddressSanitizer and UndefinedBehaviorSanitizer),
#   2. the 32-bit Windows program and its tests under Wine (preset "windows").
# Both parts always run; the exit code is non-zero when anything failed.
# Wine and Xvfb started for the tests are stopped at the end.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1

bash scripts/setup.sh || {
  echo "test.sh: installing the packages failed" >&2
  exit 1
}

wine_home=$root/build/windows
trap 'bash "$root/scripts/wine-run.sh" --home "$wine_home" --stop >/dev/null 2>&1 || true' EXIT

failed=()
# Runs the steps of one preset in order, stopping at the first that fails.
run_preset() {
  local preset=$1 start=$SECONDS
  echo "==> $preset: configure"
  if ! cmake --preset "$preset"; then
    failed+=("$preset: configure")
    return
  fi
  echo "==> $preset: build"
  if ! cmake --build --preset "$preset"; then
    failed+=("$preset: build")
    return
  fi
  echo "==> $preset: test"
  if ! ctest --preset "$preset"; then
    failed+=("$preset: tests")
  fi
  echo "==> $preset: done in $((SECONDS - start)) s"
}

run_preset native
run_preset windows

if [ ${#failed[@]} -gt 0 ]; then
  echo "test.sh: FAILED: ${failed[*]}" >&2
  exit 1
fi
