#!/bin/sh
# Runs a Windows program under Wine: the project's own 32-bit prefix under
# build/, no Wine debug output, a virtual display when there is none.
#   wine-run.sh PROGRAM [ARGS...]   run it, exit with its exit code; without a
#                                   lasting wineserver (--start), end the
#                                   wineserver and the virtual display it caused
#   wine-run.sh --start             prepare prefix, display and a lasting wineserver
#   wine-run.sh --stop              end the wineserver and the virtual display
#   wine-run.sh --host32            exit 0 when this host runs 32-bit programs
#                                   (QUILLET_HOST32=no answers no, for trying
#                                   a 64-bit-only host on one that is not)
#   wine-run.sh --win64 ...         the same with the 64-bit prefix, for 64-bit programs
#   wine-run.sh --wm ...            the same on a desktop with a window manager
#                                   (openbox on a virtual display of its own,
#                                   a prefix of its own); --wm --win64 for 64 bits
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
managed=no
bits=32
while :; do
  case "${1:-}" in
    --win64) bits=64; shift ;;
    --wm) managed=yes; shift ;;
    *) break ;;
  esac
done

# Debian's wine wrapper takes the 32-bit loader whenever wine32 is installed,
# and a host without 32-bit code refuses it ("Exec format error"); asking
# that loader for its version is cheap and tells.
host_runs_32bit() {
  [ "${QUILLET_HOST32:-}" = no ] && return 1
  /usr/lib/wine/wine --version >/dev/null 2>&1
}
if [ "${1:-}" = --host32 ]; then
  host_runs_32bit
  exit
fi

if [ $bits = 64 ]; then
  suffix=64
  export WINEARCH=win64
  # The 64-bit loader by its own name, on every host: the wrapper would take
  # the 32-bit one.
  loader=/usr/lib/wine/wine64
  export WINELOADER=$loader
else
  suffix=""
  export WINEARCH=win32
  loader=wine
fi
# Where the host cannot run it, a 32-bit run ends here with the reason, as the
# host itself would end it, and never half prepared.
if [ $bits = 32 ] && ! host_runs_32bit && [ "${1:-}" != --stop ]; then
  echo "wine-run.sh: this host runs no 32-bit code" >&2
  exit 126
fi
wine() { command "$loader" "$@"; }
wineboot() { command "$loader" wineboot "$@"; }
if [ $managed = yes ]; then
  export WINEPREFIX="${QUILLET_WINEPREFIX_WM:-$root/build/wineprefix-wm$suffix}"
  # Never the person's own desktop: a managed one of our own.
  unset DISPLAY
  QUILLET_XDISPLAY="${QUILLET_WM_XDISPLAY:-:78}"
elif [ $bits = 64 ]; then
  export WINEPREFIX="${QUILLET_WINEPREFIX64:-$root/build/wineprefix64}"
else
  export WINEPREFIX="${QUILLET_WINEPREFIX:-$root/build/wineprefix}"
fi
export WINEDEBUG=-all
xdisplay="${QUILLET_XDISPLAY:-:77}"
xlock="/tmp/.X${xdisplay#:}-lock"
wm_pid="$WINEPREFIX/.openbox-pid"

display_alive() {
  [ -e "/tmp/.X11-unix/X${xdisplay#:}" ] && [ -f "$xlock" ] &&
    kill -0 "$(tr -d ' ' < "$xlock")" 2>/dev/null
}

# Set while a --start holds a lasting wineserver for the prefix.
lasting="$WINEPREFIX/.quillet-lasting"
started_display=no

start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  export DISPLAY="$xdisplay"
  if ! display_alive; then
    started_display=yes
    rm -f "$xlock" "/tmp/.X11-unix/X${xdisplay#:}"
    setsid nohup Xvfb "$xdisplay" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    i=0
    while [ ! -e "/tmp/.X11-unix/X${xdisplay#:}" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i+1)); done
  fi
  # Answering, not only listening: a program started sooner on a busy
  # machine can find no display and end at once.
  i=0
  while ! xprop -root -display "$xdisplay" >/dev/null 2>&1 && [ $i -lt 100 ]; do
    sleep 0.1; i=$((i+1))
  done
  [ $managed = yes ] && start_window_manager
  return 0
}

wm_alive() {
  [ -f "$wm_pid" ] && kill -0 "$(cat "$wm_pid")" 2>/dev/null
}

# openbox decides activation as every desktop's manager does: after a box
# closes, on a click, on a new window.
start_window_manager() {
  wm_alive && return 0
  mkdir -p "$WINEPREFIX"
  setsid nohup openbox --sm-disable </dev/null >/dev/null 2>&1 &
  echo $! >"$wm_pid"
  # Managing: it has set its check window on the root window.
  i=0
  while ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && [ $i -lt 100 ]; do
    sleep 0.1; i=$((i+1))
  done
}

# Ends a process and waits until it is gone: a display still dying would look
# alive to the next run, which would then lose it under its program.
# (A child of this shell stays a zombie until it ends: that counts as gone.)
end_and_wait() {
  kill "$1" 2>/dev/null || return 0
  i=0
  while [ $i -lt 100 ] && kill -0 "$1" 2>/dev/null &&
        ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null; do
    sleep 0.05; i=$((i+1))
  done
  return 0
}

stop_window_manager() {
  wm_alive && end_and_wait "$(cat "$wm_pid")"
  rm -f "$wm_pid"
}

# Wine's own fonts (the caption buttons' symbol font among them) are not on
# its font path here; without them the caption buttons draw as letters.
install_fonts() {
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -d "$fonts" ] || return 0
  for f in /usr/share/wine/fonts/*.ttf; do
    [ -e "$f" ] && [ ! -e "$fonts/${f##*/}" ] && cp "$f" "$fonts/"
  done
  return 0
}

# The windows ask for "Comic Sans MS", which Linux does not have: Comic Neue
# (fonts-comic-neue, found by Wine through fontconfig) is drawn in its place.
replace_fonts() {
  [ -f "$WINEPREFIX/.quillet-fonts" ] && return 0
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Comic Sans MS' /d 'Comic Neue' /f \
    </dev/null >/dev/null 2>&1 && touch "$WINEPREFIX/.quillet-fonts"
}

prepare_prefix() {
  if [ ! -f "$WINEPREFIX/.quillet-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # No window manager under Xvfb: let Wine draw captions and frames itself.
    # With one, Wine must leave its windows to it (Managed N would hide them
    # from the manager).
    if [ $managed = no ]; then
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    fi
    wineserver -w
    # The user's folders (Documents, Desktop...) are links to the Unix home:
    # make them folders of the prefix, so that nothing a test does leaves it.
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
    done
    touch "$WINEPREFIX/.quillet-ready"
  fi
  install_fonts
  replace_fonts
}

# One lasting wineserver, and Wine's background services started here with no
# descriptors of ours: started by a test instead, they would inherit its output
# pipe and keep the test runner waiting for it to close.
start_services() {
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

stop_display() {
  [ $managed = yes ] && stop_window_manager
  if [ -z "${DISPLAY:-}" ] && [ -f "$xlock" ]; then
    end_and_wait "$(tr -d ' ' < "$xlock")"
  fi
}

case "${1:-}" in
  --start)
    start_display; prepare_prefix; start_services; touch "$lasting"; exit 0 ;;
  --stop)
    rm -f "$lasting"
    wineserver -k </dev/null >/dev/null 2>&1
    stop_display
    exit 0 ;;
  --display)
    start_display; echo "$DISPLAY"; exit 0 ;;
esac

start_display
prepare_prefix
# Inside --start and --stop, the lasting wineserver and its services are up.
[ -f "$lasting" ] && exec "$loader" "$@"

# On its own: a wineserver that ends a few seconds after the program, waited
# for, and the virtual display ended if this run started it.
finish() {
  timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || wineserver -k </dev/null >/dev/null 2>&1
  if [ "$started_display" = yes ]; then unset DISPLAY; stop_display; fi
}
trap 'finish; exit 130' INT TERM HUP
wine cmd /c exit </dev/null >/dev/null 2>&1
status=0
wine "$@" || status=$?
finish
exit "$status"
