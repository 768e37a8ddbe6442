#!/usr/bin/env bash
# Walking and the render switches: W, A, S, D and mouse turns move the
# character and the camera follows; F3, F6, F7 and F8 change the picture;
# P pauses. Enemies are switched off so every picture shows the same scene.
# Each step waits for what the screen shows, with generous limits, so a slow
# or busy machine only makes the run longer.
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
wait_for_scene
alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at $1"; }
sleep 1
screenshot "$out/01-start.png"
hold_until_changed w "$out/01-start.png" 20000 60 "$out/02-walked-forward.png"
alive walking
sleep 1
screenshot "$out/02-walked-forward.png"
turn 300
shot_changed_from "$out/03-turned.png" "$out/02-walked-forward.png" 20000
alive turning
# Each key is held until the picture shows its move: on a slow machine a
# short press and its release can reach the game in the same frame.
sleep 1
screenshot "$out/03-turned.png"
hold_until_changed d "$out/03-turned.png" 3000 60 "$out/04-strafed.png"
hold_until_changed s "$out/04-strafed.png" 3000 60 "$out/04-backed.png"
hold_until_changed a "$out/04-backed.png" 3000 60 "$out/04-strafed-and-backed.png"
sleep 1
screenshot "$out/04-strafed-and-backed.png"

press F3
shot_changed_from "$out/05-wireframe.png" "$out/04-strafed-and-backed.png" 20000
press F3
press F6
shot_changed_from "$out/06-fog-off.png" "$out/04-strafed-and-backed.png" 2000
press F6
press F7
shot_changed_from "$out/07-bounding-boxes.png" "$out/04-strafed-and-backed.png" 500
press F7
press F2
shot_changed_from "$out/08-overlay.png" "$out/04-strafed-and-backed.png" 500
press F8
sleep 1
screenshot "$out/09-culling-off.png"
press F8
alive switching

# Paused, holding W moves nothing: the floor beside the character looks the
# same a second later (the character itself, and so its shadows, still show
# its walk pose; the left third of the floor holds none of them).
# W is pressed after P, so the game sees it only once paused.
press p
xdotool keydown w
sleep 1
screenshot "$out/10-paused-a.png"
sleep 1
screenshot "$out/10-paused-b.png"
xdotool keyup w
convert "$out/10-paused-a.png" -crop 340x200+0+560 +repage "$out/10-floor-a.png"
convert "$out/10-paused-b.png" -crop 340x200+0+560 +repage "$out/10-floor-b.png"
count="$(difference "$out/10-floor-a.png" "$out/10-floor-b.png")"
awk -v c="$count" 'BEGIN { exit !(c < 200) }' || fail "the scene moved while paused ($count pixels)"
press p

press Escape
sleep 1
press Escape
wait_for_exit 120
status="$EXIT_STATUS"
[ "$status" = "0" ] || fail "exit status $status"
[ ! -s "$out/walk.stdout" ] || fail "unexpected output: $(cat "$out/walk.stdout")"
echo "walk: walking, turning, the render switches and the pause behave"
