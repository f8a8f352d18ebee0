#!/usr/bin/env bash
# The tutor starts natively on Wayland: a headless weston compositor, the
# built tutor on Qt's wayland platform, painted once and quit by itself; then
# started again and ended by SIGTERM as a logout would. Both must end cleanly.
# Usage: wayland-start.sh BUILT_TUTOR
set -uo pipefail
tutor=$1
command -v weston >/dev/null || { echo "weston is not installed"; exit 77; }
plugins=$(find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' 2>/dev/null | head -n1)
[ -n "$plugins" ] || { echo "qt6-wayland is not installed"; exit 77; }

work=$(mktemp -d)
mkdir -p "$work/runtime" "$work/config" "$work/data" "$work/cache"
chmod 700 "$work/runtime"
weston_pid=""
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work" XDG_CONFIG_HOME="$work/config" \
  XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
unset DISPLAY
weston --backend=headless-backend.so --socket=quorvel-test --width=1280 --height=800 \
  --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/quorvel-test" ] && break
  sleep 0.1
done
if [ ! -S "$XDG_RUNTIME_DIR/quorvel-test" ]; then
  echo "weston did not start"; cat "$work/weston.log"; exit 1
fi
export WAYLAND_DISPLAY=quorvel-test QT_QPA_PLATFORM=wayland
failures=0
passes=0

# Painted once, then quits by itself.
QUORVEL_TRACE_STARTUP=quit timeout 60 "$tutor" >"$work/first.log" 2>&1
status=$?
if [ "$status" -eq 0 ] && grep -q "main window first painted" "$work/first.log"; then
  echo "ok   started on Wayland, painted and quit"
  passes=$((passes + 1))
else
  echo "FAIL the start on Wayland ended with status $status"; cat "$work/first.log"
  failures=$((failures + 1))
fi

# Running until a logout's SIGTERM.
"$tutor" >"$work/second.log" 2>&1 &
child=$!
sleep 4
if kill -0 "$child" 2>/dev/null; then
  kill -TERM "$child"
  timeout 30 tail --pid="$child" -f /dev/null
  wait "$child"
  status=$?
  if [ "$status" -eq 0 ]; then
    echo "ok   ran on Wayland and ended cleanly on SIGTERM"
    passes=$((passes + 1))
  else
    echo "FAIL ended with status $status on SIGTERM"; cat "$work/second.log"
    failures=$((failures + 1))
  fi
else
  wait "$child"
  echo "FAIL the tutor ended by itself on Wayland (status $?)"; cat "$work/second.log"
  failures=$((failures + 1))
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
