#!/usr/bin/env bash
# Time from launch until a program's main window is mapped (visible and at
# least 600 px wide, so a splash does not count), each start on its own fresh
# Xvfb display with a fresh HOME and its own session bus. The tutor, a bare Qt window built beside it
# and, when installed, Klavaro run interleaved, so a busy machine slows all
# alike; prints each program's median and the tutor's ratio to the others.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]      (default build-s, 5)
#   TUTOR=/path/to/quorvel bench/startup.sh   times another tutor build
#   BEFORE=/path/to/quorvel bench/startup.sh  adds an earlier tutor to the run
#   PROFILE=1 bench/startup.sh                 also prints where the tutor's (and BEFORE's) time goes:
#                                              the median of each start-up step, in ms
#                                              from launch and in CPU ms
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-s}
runs=${2:-5}
tutor=${TUTOR:-$build/quorvel}
bare=${BARE:-$build/quorvel_bare_window}
wait_mapped=${WAIT_MAPPED:-$build/quorvel_wait_mapped}
for tool in Xvfb xdpyinfo dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "startup.sh needs $tool" >&2; exit 1; }
done
[[ -x $tutor ]] || { echo "no tutor at $tutor" >&2; exit 1; }
[[ -x $wait_mapped ]] || { echo "no $wait_mapped (build with -DQUORVEL_BENCH=ON)" >&2; exit 1; }
# A tutor without its resource library starts faster than a real one: refuse.
tutor_dir=$(dirname "$tutor")
if [[ ! -f $tutor_dir/deRizizoz.dll && ! -f $tutor_dir/../share/quorvel/deRizizoz.dll ]]; then
  echo "no resource library beside $tutor: build it first (cmake --build $build)" >&2
  exit 1
fi
[[ -x $bare ]] || { echo "no bare window at $bare (build with -DQUORVEL_BENCH=ON)" >&2; exit 1; }

programs=(tutor bare)
declare -A command=([tutor]=$tutor [bare]=$bare)
# The width that tells the main window from a splash; Klavaro's main menu is
# 420 px wide and it shows nothing before it.
declare -A min_width=([tutor]=600 [bare]=600)
if [[ -n ${BEFORE:-} ]]; then
  programs+=(before)
  command[before]=$BEFORE
  min_width[before]=600
fi
if command -v klavaro >/dev/null; then
  programs+=(klavaro)
  command[klavaro]=$(command -v klavaro)
  min_width[klavaro]=400
fi

work=$(mktemp -d)
server=""
cleanup() {
  [[ -n $server ]] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Milliseconds until a visible window at least min_width wide exists on $DISPLAY.
time_one() {
  local program=$1 home start mapped app watcher
  home=$(mktemp -d "$work/home.XXXX")
  # A desktop session has its message bus running before any program starts;
  # without one, each program would spend its start launching a bus of its own.
  local bus
  bus=$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=1 | tr '\n' ' ')
  # The watcher listens before the program starts and reports the map itself.
  coproc WATCH { exec "$wait_mapped" "${min_width[$program]}" 20000; }
  watcher=$WATCH_PID
  read -r -u "${WATCH[0]}" _ || { echo "$program: the map watcher did not start" >&2; echo -1; return; }
  start=$(date +%s%N)
  DBUS_SESSION_BUS_ADDRESS=${bus%% *} HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
    XDG_DATA_HOME=$home/.local/share QUORVEL_TRACE_STARTUP=${PROFILE:+1} \
    "${command[$program]}" >/dev/null 2>"$home/stderr" &
  app=$!
  mapped=""
  read -r -u "${WATCH[0]}" mapped || true
  wait "$watcher" 2>/dev/null || true
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  kill "${bus#* }" 2>/dev/null || true
  if [[ -z $mapped ]]; then
    echo "$program showed no window in 20 s:" >&2
    tail -3 "$home/stderr" >&2
    echo -1
    return
  fi
  if [[ ($program == tutor || $program == before) && -n ${PROFILE:-} ]]; then
    awk -v s="$start" '$1 == "quorvel-trace" {
        step = $4; for (i = 5; i <= NF; i++) step = step " " $i
        printf "%s\t%.1f\t%.1f\n", step, ($2 - s) / 1e6, $3 / 1e6 }' \
      "$home/stderr" >"$work/profile.$program.$(date +%s%N)"
  fi
  echo $(((mapped - start) / 1000000))
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

declare -A times
display=91
for ((run = 1; run <= runs; run++)); do
  for program in "${programs[@]}"; do
    # A fresh display each start, cycling :91 to :95; a server that does
    # not answer is replaced before the program is started on it. -noreset:
    # the probe disconnecting must not make the server reset under the program.
    export DISPLAY=":$display"
    for _ in 1 2 3; do
      Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >>"$work/xvfb.log" 2>&1 &
      server=$!
      up=0
      for _ in $(seq 100); do
        if xdpyinfo >/dev/null 2>&1; then up=1; break; fi
        kill -0 "$server" 2>/dev/null || break
        sleep 0.02
      done
      ((up)) && break
      kill "$server" 2>/dev/null || true
      wait "$server" 2>/dev/null || true
      server=""
      sleep 0.2
    done
    ms=$(time_one "$program")
    times[$program]+="$ms "
    echo "run $run $program: $ms ms"
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    server=""
    display=$((display == 95 ? 91 : display + 1))
  done
done

echo "--- median of $runs, ms to the main window mapped ($(nproc) cores)"
declare -A med
for program in "${programs[@]}"; do
  # A failed start (-1) is left out of the median and counted.
  med[$program]=$(tr ' ' '\n' <<<"${times[$program]}" | grep -v '^$' | grep -v '^-' | median)
  failed=$(tr ' ' '\n' <<<"${times[$program]}" | grep -c '^-' || true)
  ((failed == 0)) || echo "$program: $failed failed start(s) left out of the median"
  echo "$program: ${med[$program]}  (runs: ${times[$program]})"
done
awk -v t="${med[tutor]}" -v b="${med[bare]}" 'BEGIN {printf "tutor / bare: %.2f\n", t / b}'
if [[ -n ${med[klavaro]:-} ]]; then
  awk -v t="${med[tutor]}" -v k="${med[klavaro]}" 'BEGIN {printf "tutor / klavaro: %.2f\n", t / k}'
fi
if [[ -n ${PROFILE:-} ]]; then
  for program in tutor before; do
    compgen -G "$work/profile.$program.*" >/dev/null || continue
    echo "--- $program's start-up steps, median of $runs: ms from launch, CPU ms"
    cat "$work"/profile."$program".* | awk -F '\t' '
      !($1 in seen) { seen[$1] = 1; order[++n] = $1 }
      { at[$1] = at[$1] " " $2; cpu[$1] = cpu[$1] " " $3 }
      function median(list,   v, k, i, j, t) {
        k = split(list, v, " ")
        for (i = 2; i <= k; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) {
          t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
        return (k % 2) ? v[(k + 1) / 2] : (v[k / 2] + v[k / 2 + 1]) / 2
      }
      END { for (i = 1; i <= n; i++) printf "%8.1f %8.1f  %s\n", median(at[order[i]]), median(cpu[order[i]]), order[i] }'
  done
fi
