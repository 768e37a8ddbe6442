#!/usr/bin/env bash
# The controls card, another round and the best scores, as a new player meets
# them: the card shows over the first frame until a key goes, Escape ends the
# round on the game-over screen with its best score and "ENTER  PLAY AGAIN",
# Enter starts a round that looks like the first, and both scores are kept in
# the player's data folder.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib/common.sh"
out="$2/retry"
rm -rf "$out"
mkdir -p "$out"
start_xvfb 1024x768x24
game="$out/runtime"
make_runtime "$1" "$game"
set_config "$game/config.txt" help.show 1
set_config "$game/config.txt" gameover.retry 1
set_config "$game/config.txt" scores.keep 1
set_config "$game/config.txt" gamelogicmanager.enemy.limit 0
export XDG_DATA_HOME="$out/data"
name="$(window_name "$game/config.txt")"
card_region=440x300+292+234  # the middle of the window, where the card stands

start_game "$game" "$out/game"
wait_for_window "$name"
wait_for_scene
sleep 1
screenshot "$out/01-card.png"
[ "$(bright_pixels "$out/01-card.png" "$card_region")" -gt 1500 ] || fail "no controls card over the first frame"
press Return
shot_changed_from "$out/02-playing.png" "$out/01-card.png" 20000
[ "$(bright_pixels "$out/02-playing.png" "$card_region")" -lt 1500 ] || fail "the card did not go"

press Escape
wait_for_pixel "$out/03-game-over.png" 5 5 5 7 20
# Under the score: the best score and how to play again.
[ "$(bright_pixels "$out/03-game-over.png" 600x100+300+420)" -gt 800 ] || fail "no lines under the score"

press Return
shot_changed_from "$out/04-again.png" "$out/03-game-over.png" 100000
sleep 2
screenshot "$out/04-again.png"
count="$(difference "$out/02-playing.png" "$out/04-again.png")"
awk -v c="$count" 'BEGIN { exit !(c < 20000) }' || fail "the new round does not look like the first ($count pixels differ)"

press Escape
wait_for_pixel "$out/05-game-over.png" 5 5 5 7 20
press Escape
wait_for_exit 120
[ "$EXIT_STATUS" = "0" ] || fail "the game ended with status $EXIT_STATUS: $(cat "$out/game.stderr")"
scores="$XDG_DATA_HOME/night-shooter/scores.txt"
[ "$(grep -cE '^0 [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}$' "$scores")" = "2" ] ||
  fail "$scores does not hold both rounds: $(cat "$scores")"
echo "ok: card, two rounds, $(grep -c '^0 ' "$scores") scores kept"
