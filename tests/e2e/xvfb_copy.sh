#!/usr/bin/env bash
# End to end in a real X server: start the viewer on the demo schedule, click
# the WBS tab with the pointer, press Ctrl+C and read the clipboard back; it
# must hold the WBS table, header line first. Then, with WORKBOOK given:
# start on the workbook, open the demo through Ctrl+O, click the Resource
# tab and copy: every column of "All Resources" must still be there (a file
# lacking fields must never cost the remembered columns).
#   xvfb_copy.sh TESSEL_READER TESSEL_DUMP DEMO.xer [WORKBOOK.xls]
# Exit 77 (skipped) only when Xvfb itself is missing.
set -euo pipefail
APP="$1"; DUMP="$2"; DEMO="$3"; WORKBOOK="${4:-}"

if ! command -v Xvfb >/dev/null; then echo "Xvfb is not installed: skipped"; exit 77; fi
for tool in xdotool xclip; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done

WORK="$(mktemp -d)"
XPID=""; APID=""
cleanup() {
  [ -n "$APID" ] && kill "$APID" 2>/dev/null || true
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# A display number nobody uses.
N=90
while [ -e "/tmp/.X11-unix/X$N" ] || [ -e "/tmp/.X$N-lock" ]; do N=$((N + 1)); done
Xvfb ":$N" -screen 0 1600x1000x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XPID=$!
export DISPLAY=":$N"
# A loaded machine can take seconds to bring the server up.
for _ in $(seq 300); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null 2>&1 || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }

# The window runs on the X server, not off-screen; its settings stay here.
export QT_QPA_PLATFORM=xcb
export TESSEL_DATA_DIR="$WORK/data" XDG_CONFIG_HOME="$WORK/config" TESSEL_UI_MAP=1
"$APP" "$DEMO" >"$WORK/app.out" 2>"$WORK/app.err" &
APID=$!
# A server just up has once turned the viewer's first connection away on a
# loaded machine ("could not connect to display"): a viewer gone at once
# is started again, once.
sleep 1
if ! kill -0 "$APID" 2>/dev/null && grep -q "could not connect to display" "$WORK/app.err"; then
  echo "the viewer could not connect at first; starting it again"
  "$APP" "$DEMO" >"$WORK/app.out" 2>"$WORK/app.err" &
  APID=$!
fi

# The first window whose name matches, waiting up to SECONDS for it. A single
# search can fail on a window that closes while it looks (a dialog going
# away), so it is asked again until the time is up.
find_window() {
  local pattern="$1" seconds="$2" id
  for _ in $(seq $((seconds * 10))); do
    id="$(xdotool search --name "$pattern" 2>/dev/null | head -1)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

WID="$(find_window "demo.xer - Corvane Tessel Reader" 30)" || {
  echo "the window did not appear"; cat "$WORK/app.err" "$WORK/xvfb.log"; exit 1; }
for _ in $(seq 50); do grep -q '^tab WBS ' "$WORK/app.out" && break; sleep 0.1; done
read -r _ _ TX TY TW TH < <(grep '^tab WBS ' "$WORK/app.out")
[ -n "${TH:-}" ] || { echo "no tab geometry reported"; exit 1; }

# A real pointer click on the middle of the WBS tab.
xdotool mousemove --window "$WID" $((TX + TW / 2)) $((TY + TH / 2))
sleep 0.2
xdotool click 1
sleep 0.5
xdotool key --window "$WID" ctrl+c
sleep 0.5

GOT="$(timeout 5 xclip -o -selection clipboard 2>/dev/null | head -1 | tr -d '\r')"
WANT="$("$DUMP" --view wbs "$DEMO" | head -1)"
if [ "$GOT" != "$WANT" ]; then
  echo "clipboard header:  [$GOT]"
  echo "WBS table header:  [$WANT]"
  exit 1
fi
echo "clipboard holds the WBS table: $GOT"

[ -n "$WORKBOOK" ] && [ -f "$WORKBOOK" ] || { echo "no workbook given: the remembered-columns run is skipped"; exit 0; }
kill "$APID" 2>/dev/null || true
wait "$APID" 2>/dev/null || true
APID=""

# The Resource table's header as a fresh per-user folder gives it.
WANT="$(TESSEL_DATA_DIR="$WORK/fresh" "$DUMP" --view resource "$DEMO" | head -1)"
"$APP" "$WORKBOOK" >"$WORK/app2.out" 2>"$WORK/app2.err" &
APID=$!
WID="$(find_window "$(basename "$WORKBOOK") - Corvane Tessel Reader" 60)" || {
  echo "the workbook window did not appear"; cat "$WORK/app2.err"; exit 1; }
for _ in $(seq 50); do grep -q '^tab Resource ' "$WORK/app2.out" && break; sleep 0.1; done
read -r _ _ RX RY RW RH < <(grep '^tab Resource ' "$WORK/app2.out")
[ -n "${RH:-}" ] || { echo "no Resource tab geometry reported"; exit 1; }
sleep 0.5

# A click makes the window active (there is no window manager), then the
# demo through the Open dialog: its file name box has the focus.
xdotool mousemove --window "$WID" $((RX + RW / 2)) $((RY + RH / 2))
sleep 0.2
xdotool click 1
sleep 0.5
xdotool key --window "$WID" ctrl+o
find_window '^Open$' 20 >/dev/null || { echo "no Open dialog"; exit 1; }
sleep 0.5
# The dialog is typed into the way a person would, name box first; without a
# window manager the keys can go astray while it settles, so the name is
# typed again (after Ctrl+A) into each window called "Open" until the demo
# opens.
OPENED=""
for attempt in 1 2 3 4; do
  for DID in $(xdotool search --name '^Open$' 2>/dev/null); do
    xdotool windowfocus --sync "$DID" 2>/dev/null || true
    sleep 0.3
    xdotool key --window "$DID" ctrl+a 2>/dev/null || true
    xdotool type --window "$DID" --delay 20 "$(realpath "$DEMO")" 2>/dev/null || true
    sleep 0.3
    xdotool key --window "$DID" Return 2>/dev/null || true
  done
  if find_window "demo.xer - Corvane Tessel Reader" 10 >/dev/null; then OPENED=1; break; fi
done
[ -n "$OPENED" ] || {
  echo "the demo did not open after the workbook"; cat "$WORK/app2.err"; exit 1; }
sleep 0.5
xdotool mousemove --window "$WID" $((RX + RW / 2)) $((RY + RH / 2))
sleep 0.2
xdotool click 1
sleep 0.5
xdotool key --window "$WID" ctrl+c
sleep 0.5
GOT="$(timeout 5 xclip -o -selection clipboard 2>/dev/null | head -1 | tr -d '\r')"
if [ "$GOT" != "$WANT" ]; then
  echo "after the workbook, clipboard header:  [$GOT]"
  echo "All Resources header:                  [$WANT]"
  exit 1
fi
echo "after the workbook the Resource table keeps every column: $GOT"
