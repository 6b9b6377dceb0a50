#!/usr/bin/env bash
# Shows Plover at work on a synthetic game, under Wine.
#
#   bash scripts/demo.sh [--background]
#
# Builds the Windows program (preset "windows") and lays out build/demo/:
#   Plover.exe      the program
#   game\           a game installation of version "1.24" (its War3.exe is a
#                   stand-in that notes each start in game\war3-started.txt)
#   1.20.w3v, 1.20\ a ready version "1.20"
#   1.24.w3v, 1.24\ the version the game holds, so that the list marks it and
#                   the game can be switched back to it
#   ver.dat         pointing Plover at game\
# then starts Plover: on your display when DISPLAY is set, otherwise on a
# virtual one (Xvfb) whose screen you can capture as the script tells.
# With --background the script returns once Plover is up; stop it with
#   bash scripts/wine-run.sh --home build/demo --stop
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

background=0
case "${1:-}" in
  --background) background=1 ;;
  "") ;;
  *)
    echo "usage: bash scripts/demo.sh [--background]" >&2
    exit 2
    ;;
esac

# Other folders can be given for a build of one's own.
build=${PLOVER_WINDOWS_BUILD:-$root/build/windows}
demo=${PLOVER_DEMO_DIR:-$root/build/demo}

bash scripts/setup.sh
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j 2 --target Plover fake_war3 make_fake_install
wine_run() { bash "$root/scripts/wine-run.sh" --home "$demo" "$@"; }
# The Windows form of a path, as Wine's drive Z: (the Unix root) shows it.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

if [ -n "${DISPLAY:-}" ]; then
  export PLOVER_WINE_DISPLAY=$DISPLAY
fi

# A fresh demo folder each time; the Wine prefix is kept (it takes a while
# to create).
wine_run --stop
mkdir -p "$demo"
find "$demo" -mindepth 1 -maxdepth 1 ! -name wineprefix ! -name wine -exec rm -rf {} +
cp "$build/bin/Plover.exe" "$demo/"

echo "==> preparing the demo (the first time Wine needs a minute to set itself up)"
fake=$build/bin/fake
wine_run "$fake/make_fake_install.exe" game "$(winpath "$demo/game")" --flavour 1.24 \
  --war3 "$(winpath "$fake/war3.exe")"
for version in 1.20 1.24; do
  wine_run "$fake/make_fake_install.exe" version "$(winpath "$demo")" "$version" \
    --flavour "$version" --war3 "$(winpath "$fake/war3.exe")"
done
# The game holds exactly the stored files of 1.24, their times included (a
# switch leaves it so too), which is what the list's mark looks at.
# (Store copies are found without regard to case: War3.exe is kept as war3.exe.)
iconv -f CP936 -t UTF-8 "$demo/1.24.w3v" | tr -d '\r' | while IFS= read -r entry; do
  entry=${entry//\\//}
  stored=$(find "$demo/1.24" -maxdepth 1 -iname "$(basename "$entry")" | head -1)
  cp -p "$stored" "$demo/game/$entry"
done
# ver.dat: the game folder and an empty replay folder, code page 936, CR LF.
printf '%s\\\r\n\r\n' "$(winpath "$demo/game")" | iconv -f UTF-8 -t CP936 >"$demo/ver.dat"

eval "$(wine_run --env)"
if [ -z "${PLOVER_WINE_DISPLAY:-}" ]; then
  # Nobody draws window frames on a bare Xvfb: let Wine show a desktop of its
  # own, with frames, a taskbar and the notification area.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
    >/dev/null 2>&1 </dev/null
  echo "==> Plover runs on the virtual display $DISPLAY. To look at it:"
  echo "      DISPLAY=$DISPLAY import -window root plover.png"
else
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 </dev/null || true
  echo "==> Plover runs on your display $DISPLAY"
fi
# The desktop setting counts from the next start of Wine's desktop process:
# end the current one (the display stays).
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
echo "    The game folder is $demo/game; each start of the game is noted in"
echo "    $demo/game/war3-started.txt."

cd "$demo"
if [ "$background" = 1 ]; then
  (setsid bash "$root/scripts/wine-run.sh" --home "$demo" "$demo/Plover.exe" \
    </dev/null >"$demo/wine/plover.log" 2>&1 &)
  echo "==> Plover started in the background (output in $demo/wine/plover.log)."
  echo "    Stop it with: bash scripts/wine-run.sh --home $demo --stop"
else
  trap 'bash "$root/scripts/wine-run.sh" --home "$demo" --stop' EXIT
  echo "==> close Plover's window (or press Ctrl+C) to end the demo"
  wine_run "$demo/Plover.exe" || true
fi
