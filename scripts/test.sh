#!/usr/bin/env bash
# Builds and tests everything from scratch or incrementally:
#   1. the platform-neutral logic on Linux (preset "native", with
#      AddressSanitizer and UndefinedBehaviorSanitizer),
#   2. the 32-bit Windows program (preset "windows", the one shipped) and the
#      Windows tests under Wine: with that 32-bit build where this machine
#      can run 32-bit Linux programs (wine32 needs that), else with the
#      64-bit build (preset "windows64") under wine64,
#   3. the fuzz targets briefly (preset "fuzz"), where clang is installed.
# Every part always runs; the exit code is non-zero when anything failed.
# Wine and Xvfb started for the tests are stopped at the end. The e2e tests
# run in lanes beside each other, each with its own display and Wine prefix.
#
#   bash scripts/test.sh            the full run (what CI runs)
#   bash scripts/test.sh --quick    for everyday work: the native tests and the
#                                   Windows unit tests, without the e2e tests,
#                                   the fuzz targets and the package
#
# PLOVER_WINDOWS_TESTS=windows or =windows64 chooses the build for the Windows
# tests instead of the check.
set -uo pipefail

quick=0
case "${1:-}" in
  --quick) quick=1 ;;
  "") ;;
  *)
    echo "usage: bash scripts/test.sh [--quick]" >&2
    exit 2
    ;;
esac

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1

bash scripts/setup.sh || {
  echo "test.sh: installing the packages failed" >&2
  exit 1
}

# wine32 is a 32-bit Linux program: it runs only where the kernel runs those
# (not where IA-32 emulation is off). Its version query starts nothing else.
# (Where the kernel refuses it, timeout hands the file to sh, which fails.)
wine32_runs() {
  local version
  [ -x /usr/lib/wine/wine ] &&
    version=$(timeout -k 2 20 /usr/lib/wine/wine --version </dev/null 2>/dev/null) &&
    [[ $version == wine-* ]]
}

case "${PLOVER_WINDOWS_TESTS:-}" in
  windows | windows64)
    tests_preset=$PLOVER_WINDOWS_TESTS
    why="chosen by PLOVER_WINDOWS_TESTS"
    ;;
  "")
    if wine32_runs; then
      tests_preset=windows
      why="this machine runs 32-bit Linux programs, so wine32 works"
    else
      tests_preset=windows64
      why="this machine cannot run 32-bit Linux programs (/usr/lib/wine/wine does not start), so wine32 cannot"
    fi
    ;;
  *)
    echo "test.sh: PLOVER_WINDOWS_TESTS must be windows or windows64" >&2
    exit 1
    ;;
esac
case "$tests_preset" in
  windows) ran_on="the 32-bit build (build/windows) under wine32" ;;
  *) ran_on="the 64-bit build (build/windows64) under wine64" ;;
esac
echo "==> Windows tests: $ran_on, as $why"

wine_home=$root/build/$tests_preset
trap 'bash "$root/scripts/wine-run.sh" --home "$wine_home" --stop >/dev/null 2>&1 || true' EXIT

failed=()
# Runs the steps of one preset in order, stopping at the first that fails;
# with "build-only" as $2, only the tests that need no Wine.
run_preset() {
  local preset=$1 what=${2:-} start=$SECONDS
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
  if [ "$preset" = windows ] && [ $quick = 0 ]; then
    # The players' package as README makes it: the two programs alone.
    echo "==> $preset: release package (preset package)"
    if ! cmake --workflow --preset package || ! bash scripts/check-package.sh; then
      failed+=("$preset: package")
    fi
  fi
  if [ "$what" != build-only ]; then
    echo "==> $preset: test"
    local skip=()
    [ $quick = 1 ] && skip=(-LE e2e)
    if ! ctest --preset "$preset" "${skip[@]}"; then
      failed+=("$preset: tests")
    fi
  else
    # The checks that need no Wine (the programs' sizes) still run.
    echo "==> $preset: tests that need no Wine"
    if ! ctest --preset "$preset" -L no-wine; then
      failed+=("$preset: tests")
    fi
  fi
  echo "==> $preset: done in $((SECONDS - start)) s"
}

run_preset native

# The fuzz targets, each briefly (CTest of the preset "fuzz"), where clang
# with libFuzzer is at hand; scripts/fuzz.sh runs them long.
if [ $quick = 1 ]; then
  echo "==> fuzz: skipped in the quick run"
elif command -v clang >/dev/null && command -v clang++ >/dev/null; then
  run_preset fuzz
else
  echo "==> fuzz: skipped, clang is not installed"
fi
if [ "$tests_preset" = windows ]; then
  run_preset windows
elif [ $quick = 1 ]; then
  run_preset windows64
else
  run_preset windows build-only
  run_preset windows64
fi

echo "test.sh: the Windows tests ran on $ran_on, as $why"
if [ ${#failed[@]} -gt 0 ]; then
  echo "test.sh: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "test.sh: all passed in $SECONDS s"
