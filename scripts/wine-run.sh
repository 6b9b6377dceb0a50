#!/usr/bin/env bash
# Runs the Windows programs of a build under Wine.
#
# Every build folder ("home") gets its own Wine world, started on first use
# and kept running between programs so that tests stay quick:
#   <home>/wineprefix        the private WINEPREFIX
#   <home>/wine/             lock, state and the logs of Xvfb, wineserver, wineboot
# A home whose CMake cache (its own, or the one of the nearest build folder
# above it) names the x86_64 MinGW compiler (preset windows64) gets a 64-bit
# prefix run by /usr/lib/wine/wine64 and wineserver64; any other home a 32-bit
# prefix run by wine and wineserver. (Debian's wine wrapper always takes wine32
# when it is installed, even where it cannot run.)
#
# A lane (--lane N) is a Wine world of its own beside the home's, in
# <home>/wine-lanes/<N>: its own Xvfb, wineserver and prefix, so that tests
# that drive windows with real input can run at the same time, one lane each.
# A lane's prefix is a copy of the home's prepared prefix (made again when the
# home's is newer), not a second wineboot.
# The X display is an Xvfb started here (its number chosen by Xvfb itself), or
# the display named by PLOVER_WINE_DISPLAY. Everything long-lived is started
# detached (own session, standard streams and all other descriptors pointed
# away), so nothing it leaves running can hold the pipes of whoever called us
# (ctest waits for those to close). Programs run with their output going to a
# file that is copied to our own output as it grows, for the same reason:
# whatever they start may outlive them.
#
# Usage:
#   wine-run.sh [--home DIR] PROGRAM.exe [ARGUMENTS...]
#       Runs the program and exits with its exit code. Without --home (or
#       PLOVER_WINE_HOME) the home is the nearest folder above the program
#       that holds a CMakeCache.txt; this is how the CMake toolchain's
#       emulator setting uses the script.
#   wine-run.sh [--home DIR] [--keeper KEEPER.exe] --prepare
#       Starts Xvfb and wineserver, creates the prefix if needed (30-60 s the
#       first time) and starts KEEPER.exe, a program that keeps the Wine
#       desktop (explorer.exe) alive for as long as the server runs.
#   wine-run.sh [--home DIR] --env      like --prepare, then prints the
#                                        variables (for eval) to use Wine by hand;
#                                        for a 64-bit home they put "wine" and
#                                        "wineserver" commands that run the
#                                        64-bit ones first on PATH
#   wine-run.sh [--home DIR] --status   exit 0 when the home's wineserver runs
#   wine-run.sh [--home DIR] --stop     ends everything started for the home,
#                                        and for every lane of it (without --lane)
# Every mode takes --lane N: the same for lane N of the home.
#
# Environment:
#   PLOVER_WINE_HOME      the home, when --home is not given
#   PLOVER_WINE_LANE      the lane, when --lane is not given
#   PLOVER_WINE_DISPLAY   use this X display instead of an own Xvfb
#   PLOVER_WINE_TIMEOUT   seconds after which a program is stopped (0: never)
#   PLOVER_WINE_KEEPER    like --keeper, for every mode that starts Wine
#   PLOVER_WINEDEBUG      WINEDEBUG for Wine (default -all)
set -uo pipefail

die() {
  echo "wine-run: $*" >&2
  exit 125
}

usage() {
  sed -n '2,/^set -uo/p' "$0" | sed -e '$d' -e 's/^# \{0,1\}//'
}

home=${PLOVER_WINE_HOME:-}
lane=${PLOVER_WINE_LANE:-}
keeper=${PLOVER_WINE_KEEPER:-}
mode=run
while [ $# -gt 0 ]; do
  case "$1" in
    --home) [ $# -ge 2 ] || die "--home needs a folder"; home=$2; shift 2 ;;
    --home=*) home=${1#--home=}; shift ;;
    --keeper) [ $# -ge 2 ] || die "--keeper needs a program"; keeper=$2; shift 2 ;;
    --keeper=*) keeper=${1#--keeper=}; shift ;;
    --lane) [ $# -ge 2 ] || die "--lane needs a number"; lane=$2; shift 2 ;;
    --lane=*) lane=${1#--lane=}; shift ;;
    --prepare) mode=prepare; shift ;;
    --env) mode="env"; shift ;;
    --status) mode=status; shift ;;
    --stop) mode=stop; shift ;;
    -h | --help) usage; exit 0 ;;
    --) shift; break ;;
    -*) die "unknown option $1 (see --help)" ;;
    *) break ;;
  esac
done

if [ "$mode" = run ] && [ $# -eq 0 ]; then
  die "no program given (see --help)"
fi

# The nearest folder at or above $1 holding a CMakeCache.txt.
find_build_dir() {
  local d
  d=$(cd "$1" 2>/dev/null && pwd) || return 1
  while [ -n "$d" ] && [ "$d" != / ]; do
    if [ -f "$d/CMakeCache.txt" ]; then
      echo "$d"
      return 0
    fi
    d=$(dirname "$d")
  done
  return 1
}

if [ -z "$home" ] && [ "$mode" = run ]; then
  home=$(find_build_dir "$(dirname "$1")") || home=""
fi
if [ -z "$home" ]; then
  home=$(find_build_dir "$PWD") || die "cannot tell the build folder: give --home DIR"
fi
mkdir -p "$home" || die "cannot create $home"
home=$(cd "$home" && pwd)

# A lane lives below its home, whose prepared prefix it copies.
seed=""
if [ -n "$lane" ]; then
  case "$lane" in
    *[!0-9]*) die "a lane is a number, not $lane" ;;
  esac
  seed=$home
  home=$home/wine-lanes/$lane
  mkdir -p "$home" || die "cannot create $home"
fi

state=$home/wine
prefix=$home/wineprefix
mkdir -p "$state" || die "cannot create $state"

# win64 when the CMake cache of the home, or of the nearest build folder
# above it (a lane's), names the x86_64 MinGW tools, else win32.
home_arch() {
  local build cache=""
  build=$(find_build_dir "$home") && cache=$build/CMakeCache.txt
  if [ -n "$cache" ] && [ -f "$cache" ] &&
    grep -qE '^CMAKE_(C|CXX|RC)_COMPILER(_AR)?(:[A-Z]+)?=.*x86_64-w64-mingw32-' "$cache"; then
    echo win64
  else
    echo win32
  fi
}

arch=$(home_arch)
if [ "$arch" = win64 ]; then
  wine=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver64
  # The programs Wine starts itself use the same loader and server.
  export WINELOADER=$wine WINESERVER=$wineserver
else
  wine=wine
  wineserver=wineserver
fi

export WINEPREFIX=$prefix
export WINEARCH=$arch
export WINEDEBUG=${PLOVER_WINEDEBUG:--all}
# No Mono or Gecko installer prompts, and no menu entries or file
# associations written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine keeps per-user things below $HOME; a bare environment may have none.
if [ -z "${HOME:-}" ]; then
  export HOME=$state/home
  mkdir -p "$HOME"
fi
# Wine converts command lines and file names with the Unix character set;
# make that UTF-8 whatever the caller's locale is.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

# ---------------------------------------------------------------------------
# Processes

# True when process $1 exists, is not a zombie and, if $2 is given, its
# command line contains $2.
alive() {
  local pid=$1 want=${2:-} line st
  [ -n "$pid" ] && [ -r "/proc/$pid/stat" ] || return 1
  read -r line 2>/dev/null <"/proc/$pid/stat" || return 1
  st=${line##*) }
  st=${st%% *}
  case "$st" in Z | X | x) return 1 ;; esac
  if [ -n "$want" ]; then
    tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -qF -- "$want" || return 1
  fi
  return 0
}

# Pids of the live processes whose command name starts with $1 and whose
# environment names our prefix.
prefix_processes() {
  local p name pid
  for p in /proc/[0-9]*; do
    read -r name 2>/dev/null <"$p/comm" || continue
    case "$name" in "$1"*) ;; *) continue ;; esac
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$prefix" || continue
    pid=${p#/proc/}
    alive "$pid" && echo "$pid"
  done
}

server_pid() {
  local pids
  pids=$(prefix_processes wineserver)
  [ -n "$pids" ] || return 1
  echo "${pids%%$'\n'*}"
}

# Runs "$@" with every descriptor above 2 closed, in a new session. Used in a
# subshell, so the caller's descriptors stay as they are.
close_fds_and_exec() {
  local fd
  for fd in "/proc/$BASHPID/fd/"*; do
    fd=${fd##*/}
    if [ "$fd" -gt 2 ] 2>/dev/null; then
      eval "exec $fd>&-" 2>/dev/null
    fi
  done
  exec setsid "$@"
}

log_note() {
  echo "[$(date '+%F %T')] $*" >>"$state/harness.log"
}

# ---------------------------------------------------------------------------
# Starting

display_works() {
  [ -n "$1" ] && DISPLAY=$1 xdpyinfo >/dev/null 2>&1
}

# Sets $display; returns 10 when a new Xvfb had to be started.
ensure_display() {
  if [ -n "${PLOVER_WINE_DISPLAY:-}" ]; then
    display=$PLOVER_WINE_DISPLAY
    return 0
  fi
  local pid n i
  pid=$(cat "$state/xvfb.pid" 2>/dev/null)
  display=$(cat "$state/display" 2>/dev/null)
  if alive "$pid" Xvfb && display_works "$display"; then
    return 0
  fi
  if alive "$pid" Xvfb; then
    kill "$pid" 2>/dev/null
  fi
  rm -f "$state/display" "$state/xvfb.pid"
  : >"$state/display.new"
  log_note "starting Xvfb"
  (
    # shellcheck disable=SC2016
    close_fds_and_exec bash -c 'exec 3>"$1"; exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset' \
      xvfb "$state/display.new"
  ) </dev/null >>"$state/xvfb.log" 2>&1 &
  pid=$!
  n=""
  for ((i = 0; i < 300; i++)); do
    n=$(head -n 1 "$state/display.new" 2>/dev/null)
    [ -n "$n" ] && break
    alive "$pid" || die "Xvfb did not start; see $state/xvfb.log"
    sleep 0.1
  done
  [ -n "$n" ] || die "Xvfb gave no display number in 30 s; see $state/xvfb.log"
  display=":$n"
  for ((i = 0; i < 100; i++)); do
    display_works "$display" && break
    sleep 0.1
  done
  display_works "$display" || die "Xvfb on $display does not answer; see $state/xvfb.log"
  echo "$pid" >"$state/xvfb.pid"
  echo "$display" >"$state/display"
  log_note "Xvfb $pid on $display"
  return 10
}

# Wine's own fonts (Tahoma, and Marlett for the glyphs of caption buttons,
# check boxes and scroll bars); this Wine build does not look for them by
# itself.
wine_fonts=/usr/share/wine/fonts

# Whether the window manager is to manage Wine's windows. Our own Xvfb has
# none: waiting for one to take a window away, Wine would lose two seconds
# each time a window is hidden or closed.
if [ -n "${PLOVER_WINE_DISPLAY:-}" ]; then
  managed=Y
else
  managed=N
fi

# The registry file with the prefix's settings: Wine's own fonts, an
# installed CJK font for the Chinese fonts that Windows has and Linux lacks
# (without it Chinese text is drawn as boxes), and whether windows are
# managed.
write_settings_reg() {
  local font="WenQuanYi Micro Hei" name
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
    printf '"Managed"="%s"\r\n\r\n' "$managed"
    if [ -d "$wine_fonts" ]; then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts]\r\n'
      printf '"Path"="Z:%s"\r\n\r\n' "${wine_fonts//\//\\\\}"
    fi
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for name in 宋体 新宋体 SimSun NSimSun 黑体 SimHei 微软雅黑 "Microsoft YaHei"; do
      printf '"%s"="%s"\r\n' "$name" "$font"
    done
  } | iconv -f UTF-8 -t UTF-16 >"$1"
}

settings_present() {
  grep -q '"SimSun"="WenQuanYi Micro Hei"' "$prefix/user.reg" 2>/dev/null || return 1
  grep -qF "\"Managed\"=\"$managed\"" "$prefix/user.reg" || return 1
  [ ! -d "$wine_fonts" ] || grep -qF '"Path"="Z:\\usr\\share\\wine\\fonts"' "$prefix/user.reg"
}

apply_settings() {
  local reg=$state/settings.reg
  write_settings_reg "$reg"
  log_note "setting the fonts and managed=$managed"
  (close_fds_and_exec "$wine" regedit.exe /S "Z:${reg//\//\\}") </dev/null >>"$state/wineboot.log" 2>&1 ||
    die "could not set the prefix's settings; see $state/wineboot.log"
}

# wineboot returns while some of the set-up it started still runs; wait
# (a minute at most) for that to end before the first program.
settle() {
  local i
  for ((i = 0; i < 600; i++)); do
    [ -z "$(prefix_processes rundll32)$(prefix_processes wineboot)$(prefix_processes winemenubuilder)" ] &&
      return 0
    sleep 0.1
  done
  log_note "set-up processes still running after a minute"
}

start_server() {
  local i
  log_note "starting wineserver"
  # Without -f the server goes to the background once it is ready.
  (close_fds_and_exec "$wineserver" -p) </dev/null >>"$state/wineserver.log" 2>&1
  for ((i = 0; i < 100; i++)); do
    server_pid >/dev/null && break
    sleep 0.1
  done
  server_pid >/dev/null || die "wineserver did not start; see $state/wineserver.log"
}

ensure_server() {
  local fresh=$1 pid
  if pid=$(server_pid) && [ "$fresh" = 1 ]; then
    # A new display: everything on the old one goes.
    log_note "restarting wineserver $pid for the new display"
    stop_server
  fi
  if ! server_pid >/dev/null; then
    local made
    made=$(sed -n 's/^#arch=//p' "$prefix/system.reg" 2>/dev/null)
    if [ -n "$made" ] && [ "$made" != "$arch" ]; then
      die "$prefix is a $made prefix but this home needs $arch: remove it"
    fi
    mkdir -p "$prefix"
    start_server
    fresh=1
  fi
  if [ ! -f "$prefix/.plover-ready" ]; then
    log_note "creating the prefix"
    local t0=$SECONDS
    (close_fds_and_exec timeout 900 "$wine" wineboot.exe --init) </dev/null >>"$state/wineboot.log" 2>&1 ||
      die "wineboot failed; see $state/wineboot.log"
    settle
    apply_settings
    # The server writes the registry to the prefix's files when it ends:
    # once it has, the prefix on disk is whole, ready to be copied.
    stop_server
    touch "$prefix/.plover-ready"
    start_server
    log_note "prefix ready after $((SECONDS - t0)) s"
  elif [ "$fresh" = 1 ] && ! settings_present; then
    apply_settings
  fi
}

# A lane's prefix: a copy of its home's prepared one, made while the home's
# lock keeps that from being prepared at the same time. Left as it is when
# the copy is at least as new as the home's prefix; when the home has none
# ready, the lane makes its own (ensure_server).
ensure_seeded() {
  local from=$seed/wineprefix t0=$SECONDS
  [ -n "$seed" ] || return 0
  if [ -f "$prefix/.plover-ready" ] && ! [ "$from/.plover-ready" -nt "$prefix/.plover-ready" ]; then
    return 0
  fi
  mkdir -p "$seed/wine" || die "cannot create $seed/wine"
  exec 8>>"$seed/wine/lock" || die "cannot open $seed/wine/lock"
  flock -w 1200 8 || die "waited 20 minutes for $seed/wine/lock"
  if [ -f "$from/.plover-ready" ]; then
    stop_server
    log_note "copying the prefix of $seed"
    rm -rf "$prefix" "$prefix.new"
    cp -a "$from" "$prefix.new" || die "cannot copy $from"
    # The copy gets a server of its own: the name of the source's server
    # folder and any registry file half saved stay behind.
    rm -f "$prefix.new/wineserver" "$prefix.new"/reg*.tmp
    mv "$prefix.new" "$prefix" || die "cannot move the copy of $from to $prefix"
    log_note "prefix copied in $((SECONDS - t0)) s"
  fi
  exec 8>&-
}

ensure_keeper() {
  [ -n "$keeper" ] || return 0
  [ -f "$keeper" ] || die "no keeper program $keeper"
  local pid i
  pid=$(cat "$state/keeper.pid" 2>/dev/null)
  if alive "$pid" keeper && [ -n "$(prefix_processes explorer)" ]; then
    return 0
  fi
  log_note "starting the desktop keeper"
  (close_fds_and_exec "$wine" "$keeper") </dev/null >>"$state/keeper.log" 2>&1 &
  echo $! >"$state/keeper.pid"
  for ((i = 0; i < 200; i++)); do
    [ -n "$(prefix_processes explorer)" ] && return 0
    sleep 0.1
  done
  die "the Wine desktop did not start; see $state/keeper.log"
}

# Everything up and running; sets $display. Safe to call from several
# processes at once.
ensure_running() {
  exec 9>>"$state/lock" || die "cannot open $state/lock"
  flock -w 1200 9 || die "waited 20 minutes for $state/lock"
  if [ "$arch" = win64 ] && ! { [ -x "$wine" ] && [ -x "$wineserver" ]; }; then
    die "$home is a 64-bit build: install wine64"
  fi
  ensure_seeded
  local fresh=0
  ensure_display
  [ $? -eq 10 ] && fresh=1
  export DISPLAY=$display
  ensure_server "$fresh"
  ensure_keeper
  exec 9>&-
}

stop_server() {
  local pid i
  pid=$(server_pid) || return 0
  "$wineserver" -k >/dev/null 2>&1 </dev/null
  for ((i = 0; i < 150; i++)); do
    alive "$pid" || break
    sleep 0.1
  done
  if alive "$pid"; then
    kill -KILL "$pid" 2>/dev/null
  fi
  log_note "wineserver $pid stopped"
}

stop_all() {
  exec 9>>"$state/lock" || die "cannot open $state/lock"
  flock -w 1200 9 || die "waited 20 minutes for $state/lock"
  stop_server
  rm -f "$state/keeper.pid"
  local pid i
  pid=$(cat "$state/xvfb.pid" 2>/dev/null)
  if alive "$pid" Xvfb; then
    kill "$pid" 2>/dev/null
    for ((i = 0; i < 50; i++)); do
      alive "$pid" || break
      sleep 0.1
    done
    alive "$pid" && kill -KILL "$pid" 2>/dev/null
    log_note "Xvfb $pid stopped"
  fi
  rm -f "$state/xvfb.pid" "$state/display" "$state/display.new"
  exec 9>&-
}

# ---------------------------------------------------------------------------
# Running a program

run_program() {
  local exe=$1
  shift
  [ -f "$exe" ] || die "no such program: $exe"
  ensure_running

  local out pid tailpid rc limit=${PLOVER_WINE_TIMEOUT:-0}
  out=$(mktemp "$state/output.XXXXXX") || die "cannot create an output file in $state"
  # timeout makes a process group of the program and all it starts, so a
  # time-out or a signal to us ends the lot.
  (close_fds_and_exec timeout -k 5 "$limit" "$wine" "$exe" "$@") </dev/null >"$out" 2>&1 &
  pid=$!
  tail -s 0.2 --pid="$pid" -n +1 -f "$out" &
  tailpid=$!
  # shellcheck disable=SC2064
  trap "kill -TERM $pid 2>/dev/null; sleep 1; kill $tailpid 2>/dev/null; rm -f '$out'; exit 143" TERM INT HUP
  wait "$pid"
  rc=$?
  wait "$tailpid"
  trap - TERM INT HUP
  rm -f "$out"
  if [ "$rc" -eq 124 ] && [ "$limit" != 0 ]; then
    echo "wine-run: $exe was stopped after $limit s" >&2
  fi
  return "$rc"
}

case "$mode" in
  run)
    run_program "$@"
    exit $?
    ;;
  prepare)
    t0=$SECONDS
    ensure_running
    echo "Wine ($arch) ready in $((SECONDS - t0)) s: WINEPREFIX=$prefix DISPLAY=$display (logs in $state)"
    ;;
  env)
    ensure_running
    printf 'export WINEPREFIX=%q WINEARCH=%q WINEDEBUG=%q WINEDLLOVERRIDES=%q DISPLAY=%q\n' \
      "$prefix" "$arch" "$WINEDEBUG" "$WINEDLLOVERRIDES" "$display"
    if [ "$arch" = win64 ]; then
      # Scripts, not links: Wine's loader finds its parts by the name it
      # was started as.
      mkdir -p "$state/bin" || die "cannot create $state/bin"
      for cmd in "$wine" "$wineserver"; do
        file=$state/bin/${cmd##*/}
        file=${file%64}
        { printf '#!/bin/sh\nexec %s "$@"\n' "$cmd" >"$file" && chmod +x "$file"; } ||
          die "cannot write $file"
      done
      # shellcheck disable=SC2016
      printf 'export WINELOADER=%q WINESERVER=%q PATH=%q"${PATH:+:$PATH}"\n' \
        "$wine" "$wineserver" "$state/bin"
    fi
    ;;
  status)
    if pid=$(server_pid); then
      echo "wineserver $pid runs for $prefix on display $(cat "$state/display" 2>/dev/null || echo "${PLOVER_WINE_DISPLAY:-?}")"
      exit 0
    fi
    echo "no wineserver runs for $prefix"
    exit 1
    ;;
  stop)
    stop_all
    if [ -z "$seed" ]; then
      # And every lane of the home, all at once.
      for dir in "$home"/wine-lanes/*/; do
        [ -d "$dir" ] || continue
        n=${dir%/}
        n=${n##*/}
        PLOVER_WINE_LANE="" bash "$0" --home "$home" --lane "$n" --stop &
      done
      wait
    fi
    ;;
esac
