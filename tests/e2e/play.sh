#!/usr/bin/env bash
# Playing: enemies appear after the start delay, chase the character and hurt
# it until the game-over screen comes on its own; held fire kills and scores.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib/common.sh"
out="$2/play"
mkdir -p "$out"
start_xvfb 1280x1024x24
game="$out/runtime"
make_runtime "$1" "$game"
# Standing still: one enemy at a time, from one start box straight ahead of
# the character (-4, -4) along z. An enemy whose last step towards the
# character is along x never reports a contact (only the z move counts), and
# crowding enemies block each other's touching moves, so an open map makes
# the run's length a matter of luck.
set_config "$game/config.txt" gamelogicmanager.startpoints 1
set_config "$game/config.txt" gamelogicmanager.startpoint1.min.x -5.0
set_config "$game/config.txt" gamelogicmanager.startpoint1.min.y 0.2
set_config "$game/config.txt" gamelogicmanager.startpoint1.min.z 12.0
set_config "$game/config.txt" gamelogicmanager.enemy.limit 1
set_config "$game/config.txt" gamelogicmanager.immortalitytime 0.5
# Three touches end the game.
set_config "$game/config.txt" enemy.brute.property.damage 40
set_config "$game/config.txt" enemy.crawler.property.damage 40
name="NightShooter"

# The game-over screen is the clear colour with two lines of text: the top of
# the window holds no scene any more, and the score line has glyphs.
on_game_over() {
  [ "$(bright_pixels "$1" 1024x200+0+0)" -lt 50 ] && [ "$(bright_pixels "$1" 400x40+341+344)" -gt 100 ]
}
# Screenshots into $1 until it shows the game-over screen, for up to $2 seconds.
wait_for_game_over() {
  local deadline=$((SECONDS + $2))
  while [ "$SECONDS" -lt "$deadline" ]; do
    screenshot "$1"
    on_game_over "$1" && return 0
    sleep 1
  done
  return 1
}

# 1. Standing still: the enemies come, "HIT" lines follow, the game ends by itself.
start_game "$game" "$out/still"
wait_for_window "$name"
wait_for_scene
deadline=$((SECONDS + 180))
while [ "$SECONDS" -lt "$deadline" ]; do
  [ "$(grep -c '^HIT: new health = ' "$out/still.stdout" || true)" -ge 2 ] && break
  sleep 1
done
screenshot "$out/1-enemies-chasing.png"
grep -q '^HIT: new health = [0-9]*\.$' "$out/still.stdout" || fail "no HIT line while standing still: $(cat "$out/still.stdout")"
# The health falls until a lethal contact shows the game-over screen on its own.
wait_for_game_over "$out/2-game-over-still.png" 120 || fail "the game-over screen did not come"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended instead of showing the game-over screen"
press Escape
wait_for_exit 120
status="$EXIT_STATUS"
[ "$status" = "0" ] || fail "Escape on the game-over screen should exit with status 0, got $status"
if grep -v '^HIT: new health = [0-9]*\.$' "$out/still.stdout" | grep -q .; then
  fail "unexpected output: $(cat "$out/still.stdout")"
fi
# The score "0" is one glyph: nothing right of it.
[ "$(bright_pixels "$out/2-game-over-still.png" 120x40+861+344)" -lt 20 ] || fail "a score above 0 without a shot"

# 2. Firing: in the same lane the enemy walks down the line of fire (the
# character faces +z), so held fire kills it and the score rises above zero.
# One hit kills and touches do no harm, so the result does not depend on how
# many shots a slow machine's frames fit in before the enemy arrives.
set_config "$game/config.txt" enemy.brute.property.health 30
set_config "$game/config.txt" enemy.crawler.property.health 30
set_config "$game/config.txt" enemy.brute.property.damage 0
set_config "$game/config.txt" enemy.crawler.property.damage 0
start_game "$game" "$out/firing"
wait_for_window "$name"
wait_for_scene
xdotool mousedown 1
sleep 15
xdotool mouseup 1
screenshot "$out/3-after-firing.png"
press Escape
wait_for_game_over "$out/4-game-over-score.png" 60 || fail "no game-over screen after firing"
# A score of 50 or more has a second digit right of the first.
[ "$(bright_pixels "$out/4-game-over-score.png" 80x40+861+344)" -gt 20 ] || fail "the score stayed 0 after firing"
press Escape
wait_for_exit 120
status="$EXIT_STATUS"
[ "$status" = "0" ] || fail "exit status $status"
echo "play: enemies hurt the standing character until game over; firing scored"
