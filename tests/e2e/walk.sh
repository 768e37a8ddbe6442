#!/usr/bin/env bash
# Walking and the render switches: W, A, S, D and mouse turns move the
# character and the camera follows; F3, F6, F7 and F8 change the picture;
# P pauses. Enemies are switched off so every picture shows the same scene.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib/common.sh"
out="$2/walk"
mkdir -p "$out"
start_xvfb 1280x1024x24
game="$out/runtime"
make_runtime "$1" "$game"
set_config "$game/config.txt" gamelogicmanager.enemy.limit 0

start_game "$game" "$out/walk"
wait_for_window NightShooter
sleep 4
shot() { sleep 0.8; screenshot "$out/$1.png"; kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at $1"; }
shot 01-start
hold w 1.5
shot 02-walked-forward
expect_changed "$out/01-start.png" "$out/02-walked-forward.png" 20000
turn 300
shot 03-turned
expect_changed "$out/02-walked-forward.png" "$out/03-turned.png" 20000
hold d 1.0
hold s 1.0
hold a 1.0
shot 04-strafed-and-backed
expect_changed "$out/03-turned.png" "$out/04-strafed-and-backed.png" 10000

press F3
shot 05-wireframe
expect_changed "$out/04-strafed-and-backed.png" "$out/05-wireframe.png" 20000
press F3
press F6
shot 06-fog-off
expect_changed "$out/04-strafed-and-backed.png" "$out/06-fog-off.png" 2000
press F6
press F7
shot 07-bounding-boxes
expect_changed "$out/04-strafed-and-backed.png" "$out/07-bounding-boxes.png" 500
press F7
press F2
shot 08-overlay
press F8
shot 09-culling-off
press F8

# Paused, holding W moves nothing: the floor in front of the character looks
# the same a second later (the character itself still shows its walk pose).
press p
sleep 0.5
xdotool keydown w
shot 10-paused-a
sleep 1
shot 10-paused-b
xdotool keyup w
convert "$out/10-paused-a.png" -crop 1024x200+0+560 +repage "$out/10-floor-a.png"
convert "$out/10-paused-b.png" -crop 1024x200+0+560 +repage "$out/10-floor-b.png"
count="$(difference "$out/10-floor-a.png" "$out/10-floor-b.png")"
awk -v c="$count" 'BEGIN { exit !(c < 200) }' || fail "the scene moved while paused ($count pixels)"
press p

press Escape
sleep 1
press Escape
wait_for_exit 20
status="$EXIT_STATUS"
[ "$status" = "0" ] || fail "exit status $status"
[ ! -s "$out/walk.stdout" ] || fail "unexpected output: $(cat "$out/walk.stdout")"
echo "walk: walking, turning, the render switches and the pause behave"
