#!/usr/bin/env bash
# Start-up, the two loops on Escape, exit status 0, and the configuration
# failures that end the game with their exact message.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib/common.sh"
runtime="$1"
out="$2/foundation"
mkdir -p "$out"
start_xvfb 1280x1024x24

game="$out/runtime"
make_runtime "$runtime" "$game"
# A clear colour no scene pixel is likely to have: the game-over screen keeps
# it around its text.
set_config "$game/config.txt" opengl.clearcolor.r 0.2
set_config "$game/config.txt" opengl.clearcolor.g 0.6
set_config "$game/config.txt" opengl.clearcolor.b 0.4
name="$(window_name "$game/config.txt")"

start_game "$game" "$out/play"
wait_for_window "$name"
wait_for_scene
screenshot "$out/1-playing.png"

# The game-over screen shows the clear colour around its text; wait for it.
press Escape
wait_for_pixel "$out/2-game-over.png" 5 5 51 153 102

press Escape
wait_for_exit 120
status="$EXIT_STATUS"
[ "$status" = "0" ] || fail "the second Escape should end the program with status 0, got: $status"

# Failures end the run with the message and a non-zero status.
expect_failure() {
  local label="$1" message="$2"
  local status=0
  (cd "$game/bin" && ./shooter >"$out/$label.stdout" 2>"$out/$label.stderr") || status=$?
  [ "$status" -ne 0 ] || fail "$label: the game exited with status 0"
  grep -qF "$message" "$out/$label.stderr" || fail "$label: expected '$message' on standard error, got: $(cat "$out/$label.stderr")"
}

mv "$game/config.txt" "$game/config.saved"
expect_failure missing-config "CONFIG: File ../config.txt couldn't be found."

{ head -n 2 "$game/config.saved"; echo "this line has no separator"; tail -n +4 "$game/config.saved"; } >"$game/config.txt"
expect_failure malformed-line "CONFIG: Couldn't find separator on line: 3."

sed 's/^glfw.window.name.*$//' "$game/config.saved" >"$game/config.txt"
expect_failure missing-key "CONFIG: No key named 'glfw.window.name' exists."

echo "foundation: start-up, game-over screen, exit status and configuration failures behave"
