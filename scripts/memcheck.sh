#!/usr/bin/env bash
# Valgrind memcheck on a short scripted run of the staged game (build/) under
# its own Xvfb, in a small window: start-up, walking, firing, a jetpack flight,
# a pause, the render switches, the game-over screen, two more rounds started
# from it with Enter, and the exit. Fails on
# any error memcheck reports (invalid reads or writes, uninitialised values,
# definitely lost memory) apart from the system's own, listed with their
# reasons in tests/valgrind/system.supp. Not part of the test command.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

source "$root/tests/e2e/lib/common.sh"
out="$root/build/memcheck"
mkdir -p "$out"
start_xvfb 1280x1024x24
game="$out/runtime"
make_runtime "$root/build/game" "$game"
set_config "$game/config.txt" glfw.window.windowed.width 320
set_config "$game/config.txt" glfw.window.windowed.height 240
set_config "$game/config.txt" glfw.samples 0
# Enemies come at once and often, so spawning, contacts and kills happen in
# the few frames valgrind leaves time for.
set_config "$game/config.txt" gamelogicmanager.enemy.interval 0.5
set_config "$game/config.txt" gamelogicmanager.enemy.firstdelay 0.5
set_config "$game/config.txt" gameover.retry 1

log="$out/valgrind.txt"
(cd "$game/bin" && exec valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --track-origins=no --num-callers=30 --suppressions="$root/tests/valgrind/system.supp" \
  --log-file="$log" ./shooter >"$out/game.stdout" 2>"$out/game.stderr") &
GAME_PID=$!
wait_for_window "$(window_name "$game/config.txt")" 600
sleep 20
hold w 8
xdotool mousedown 1; sleep 6; xdotool mouseup 1
press space; sleep 6
press p; sleep 4; press p
for key in F2 F3 F4 F5 F6 F7 F8 F9; do press "$key"; sleep 3; done
# Two more rounds, each started again from the game-over screen.
for round in 2 3; do
  press Escape; sleep 10; press Return; sleep 15
  hold w 4
  xdotool mousedown 1; sleep 4; xdotool mouseup 1
done
press Escape; sleep 10; press Escape
wait_for_exit 600
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS under valgrind: $(tail -n 20 "$log")"

grep -E "ERROR SUMMARY|definitely lost:|suppressed:" "$log" | tee "$out/summary.txt"
grep -q "ERROR SUMMARY: 0 errors" "$log" || fail "memcheck found errors, see $log"
echo "memcheck: no invalid access and nothing definitely lost (full log: $log)"
