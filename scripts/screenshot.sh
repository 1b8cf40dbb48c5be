#!/usr/bin/env bash
# Takes the README's screenshot from a real run: Quillscope under Xvfb in a
# network namespace whose only adapter is a veth in 198.18.0.0/24 (a range
# reserved for test networks), the camera simulator answering from 20
# addresses in a second namespace, Search pressed through the window.
# Needs root. Nothing leaves the two namespaces.
#
# With --findings the site has problems to show: one more camera claims the
# address of another (an address conflict, and an answer from an address it
# does not report), and one with a factory-default address in another subnet
# answers the limited broadcast. The 20 cameras answer a moment later, so the
# problem rows come first, and the pointer rests on one to show its tooltip.
#
#   scripts/screenshot.sh [--findings] [output.png]
#   (default: docs/quillscope-search.png, with --findings docs/quillscope-findings.png)
set -euo pipefail
cd "$(dirname "$0")/.."

findings=0
if [ "${1:-}" = "--findings" ]; then
  findings=1
  shift
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "scripts/screenshot.sh needs root (network namespaces)" >&2
  exit 1
fi

default_output=docs/quillscope-search.png
[ "$findings" -eq 1 ] && default_output=docs/quillscope-findings.png
output=${1:-$default_output}
bash scripts/install-deps.sh
need=()
for p in xvfb xdotool imagemagick x11-utils fonts-noto-cjk; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}"
fi

build_dir=${QUILL_BUILD_DIR:-build-release}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DQUILL_BUILD_TESTS=OFF -DQUILL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target quillscope quillscope-camera-sim >/dev/null

pc=qsdemo-pc
cam=qsdemo-cam
workdir=$(mktemp -d)
sim_pids=()
cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  for pid in "${sim_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  ip netns del "$pc" 2>/dev/null || true
  ip netns del "$cam" 2>/dev/null || true
  rm -rf "/etc/netns/$pc" "$workdir"
}
trap cleanup EXIT
ip netns del "$pc" 2>/dev/null || true
ip netns del "$cam" 2>/dev/null || true

ip netns add "$pc"
ip netns add "$cam"
ip -n "$pc" link set lo up
ip -n "$cam" link set lo up
ip -n "$pc" link add eth0 type veth peer name eth0 netns "$cam"
ip -n "$pc" addr add 198.18.0.1/24 dev eth0
ip -n "$pc" link set eth0 up
ip -n "$pc" route add default via 198.18.0.254
ip -n "$cam" link set eth0 up
for host in $(seq 10 29); do
  ip -n "$cam" addr add "198.18.0.$host/24" dev eth0
done
# The PC's resolver file inside its namespace ("ip netns exec" mounts it).
mkdir -p "/etc/netns/$pc"
echo "nameserver 198.18.0.53" > "/etc/netns/$pc/resolv.conf"

sim="$build_dir/tools/camera_sim/quillscope-camera-sim"
later=()
if [ "$findings" -eq 1 ]; then
  later=(--delay 300)
  ip -n "$cam" addr add 198.18.0.2/24 dev eth0
  ip -n "$cam" addr add 192.168.1.108/24 dev eth0
  ip netns exec "$cam" "$sim" --bind 198.18.0.2 --ip 198.18.0.12 --sn 'SIM000099' \
    --name Gate-Cam --fw V2.1.0 > "$workdir/sim-claims.log" 2>&1 &
  sim_pids+=($!)
  ip netns exec "$cam" "$sim" --bind 192.168.1.108 --answer-by-broadcast --sn 'SIM000100' \
    --name New-Cam --fw V1.0.0 > "$workdir/sim-default.log" 2>&1 &
  sim_pids+=($!)
fi
ip netns exec "$cam" "$sim" --range 198.18.0.10-198.18.0.29 --fw 'V2.3.{n}' "${later[@]}" \
  > "$workdir/sim.log" 2>&1 &
sim_pids+=($!)

display=:77
ip netns exec "$pc" Xvfb "$display" -screen 0 1024x768x24 -wr -nolisten tcp > "$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -S /tmp/.X11-unix/X77 ] && break; sleep 0.1; done

(cd "$workdir" && DISPLAY=$display QT_QPA_PLATFORM=xcb ip netns exec "$pc" \
  "$OLDPWD/$build_dir/app/quillscope" > "$workdir/app.log" 2>&1) &
app_pid=$!

window=""
for _ in $(seq 100); do
  window=$(DISPLAY=$display xdotool search --name '^Tessory Tool$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "the window did not appear" >&2
  cat "$workdir/app.log" >&2
  exit 1
fi
sleep 1
DISPLAY=$display xdotool windowmove "$window" 0 0
eval "$(DISPLAY=$display xdotool getwindowgeometry --shell "$window")"
# The Search button's centre: (290, 30) dialog units of the page, which lies
# 3 pixels right of and 23 pixels below the window's client origin.
click_x=$(( 3 + 290 * WIDTH / 319 ))
click_y=$(( 23 + 30 * (HEIGHT - 26) / 190 ))
DISPLAY=$display xdotool mousemove --window "$window" "$click_x" "$click_y" click 1
# The status line settles 2 s after the last answer.
sleep 4
if [ "$findings" -eq 1 ]; then
  # Over the fifth row's number: the result list starts at (9, 56) dialog
  # units, its rows (about 18 pixels high) below a header of about 25.
  hover_x=$(( 3 + 9 * WIDTH / 319 + 30 ))
  hover_y=$(( 23 + 56 * (HEIGHT - 26) / 190 + 32 + 4 * 18 ))
  DISPLAY=$display xdotool mousemove --window "$window" "$hover_x" "$hover_y"
  sleep 2
fi
mkdir -p "$(dirname "$output")"
# The screen under the window, and right of it where a tooltip reaches past it.
shot_width=$WIDTH
[ "$findings" -eq 1 ] && shot_width=1024
DISPLAY=$display import -window root -crop "${shot_width}x${HEIGHT}+0+0" +repage "$output"
echo "screenshot: $output"
grep -c . "$workdir/sim.log" >/dev/null || true
