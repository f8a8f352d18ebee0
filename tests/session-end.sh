#!/usr/bin/env bash
# The run in progress outlives the session's end: the built tutor runs on its
# own X server (Xvfb) with a home of its own, a root drill is started and
# typed by keys (xdotool), then the tutor is ended by SIGTERM, by SIGHUP and
# by its display going away; each time the history must hold the run.
# Usage: session-end.sh BUILT_TUTOR
set -uo pipefail
tutor=$1
for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb=""
child=""
cleanup() {
  [ -n "$child" ] && kill -KILL "$child" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
passes=0

start_display() {
  # Xvfb picks a free display and writes its number once it is ready.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  display=":$(head -n1 "$work/display")"
}

runs_in_history() {
  python3 - "$1" <<'EOF'
import sqlite3, sys
try:
    db = sqlite3.connect(sys.argv[1])
    print(db.execute("SELECT COUNT(*) FROM runs WHERE items > 0").fetchone()[0])
except Exception:
    print(0)
EOF
}

# One ending: $1 names it, $2 is what ends the tutor (signal name or "display").
one_ending() {
  local name=$1 how=$2
  local home="$work/$name"
  mkdir -p "$home/config" "$home/data" "$home/cache" "$home/runtime"
  chmod 700 "$home/runtime"
  : >"$work/display"
  start_display
  HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" \
    DISPLAY="$display" QT_QPA_PLATFORM=xcb "$tutor" >"$work/$name.log" 2>&1 &
  child=$!
  local window=""
  for _ in $(seq 100); do
    window=$(DISPLAY="$display" xdotool search --onlyvisible --name 'Quorvel' 2>/dev/null | head -n1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -z "$window" ]; then
    echo "FAIL $name: the main window never showed"; cat "$work/$name.log"
    failures=$((failures + 1)); return
  fi
  sleep 1
  # Alt+2 starts the root drill (the second selection row); a few keys are
  # entries, right or wrong.
  DISPLAY="$display" xdotool windowfocus --sync "$window" 2>/dev/null
  DISPLAY="$display" xdotool key --delay 80 alt+2 a s d f j k l
  sleep 0.5
  case "$how" in
    display) kill "$xvfb"; wait "$xvfb" 2>/dev/null; xvfb="" ;;
    *) kill -s "$how" "$child" ;;
  esac
  local ended=""
  for _ in $(seq 100); do
    kill -0 "$child" 2>/dev/null || { ended=1; break; }
    sleep 0.1
  done
  if [ -z "$ended" ]; then
    echo "FAIL $name: the tutor did not end"; kill -KILL "$child"
    failures=$((failures + 1))
  fi
  wait "$child" 2>/dev/null
  local status=$?
  child=""
  [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; xvfb=""; }
  local runs
  runs=$(runs_in_history "$home/data/quorvel/history.sqlite3")
  if [ "$runs" -ge 1 ]; then
    echo "ok   $name: ended with status $status, the history holds $runs run(s)"
    passes=$((passes + 1))
  else
    echo "FAIL $name: ended with status $status, the run in progress was lost"
    cat "$work/$name.log"
    failures=$((failures + 1))
  fi
}

one_ending sigterm TERM
one_ending sighup HUP
one_ending lost-display display

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
