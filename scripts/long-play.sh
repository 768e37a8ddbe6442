#!/usr/bin/env bash
# Long play: builds the game with the stage stopwatch printing on (build-laps/),
# plays it under its own Xvfb for LONG_PLAY_MINUTES (default 10) minutes of
# walking, turning, firing, jetpack flights, pauses and render switches, and
# checks that resident memory and frame time stay flat; then plays
# LONG_PLAY_ROUNDS (default 20) short rounds, each ended on the game-over
# screen and started again with Enter, and checks that memory stays flat from
# round to round. Not part of the test command. Prints one line per minute and
# per round and a verdict; exits 1 on growth.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
minutes="${LONG_PLAY_MINUTES:-10}"
rounds="${LONG_PLAY_ROUNDS:-20}"
"$root/scripts/install-deps.sh"
build="$root/build-laps"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHOOTER_PRINT_STAGE_LAPS=ON >/dev/null
cmake --build "$build" --target shooter -j "$(nproc 2>/dev/null || echo 2)"

source "$root/tests/e2e/lib/common.sh"
out="$build/long-play"
mkdir -p "$out"
start_xvfb 1280x1024x24
game="$out/runtime"
make_runtime "$build/game" "$game"
# Contacts must not end the game early: enemies keep coming but do no harm.
set_config "$game/config.txt" enemy.brute.property.damage 0
set_config "$game/config.txt" enemy.crawler.property.damage 0
set_config "$game/config.txt" gameover.retry 1
start_game "$game" "$out/game"
wait_for_window "$(window_name "$game/config.txt")"

samples="$out/samples.txt"  # seconds, resident kB, stdout lines so far
: >"$samples"
sample() {
  local rss
  rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status")"
  echo "$SECONDS $rss $(wc -l <"$out/game.stdout")" >>"$samples"
}

# One round of play, about 25 seconds.
play_round() {
  hold w 2; hold a 1; hold s 1.5; hold d 1
  turn 240 12
  xdotool mousedown 1; turn -120 12; sleep 1.5; xdotool mouseup 1
  press space; hold w 2
  press p; sleep 1.5; press p
  press F3; sleep 1.5; press F3
  press F8; sleep 1.5; press F8
  press F7; sleep 1; press F7
  turn -120 6; hold s 1
}

SECONDS=0
end=$((minutes * 60))
next_sample=0
while [ "$SECONDS" -lt "$end" ]; do
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the run: $(tail -n 5 "$out/game.stderr")"
  if [ "$SECONDS" -ge "$next_sample" ]; then sample; next_sample=$((next_sample + 10)); fi
  play_round
done
sample

# Rounds: each plays a little (enemies spawn, shots, a flight), ends on the
# game-over screen and starts again with Enter.
round_samples="$out/rounds.txt"
: >"$round_samples"
for round in $(seq 1 "$rounds"); do
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended in round $round: $(tail -n 5 "$out/game.stderr")"
  press Escape; sleep 1; press Return; sleep 1
  hold w 1.5
  xdotool mousedown 1; turn 200 10; xdotool mouseup 1
  press space; sleep 3
  rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status")"
  echo "$round $rss" >>"$round_samples"
  echo "round $round rss_kb=$rss"
done
press Escape; sleep 1; press Escape
wait_for_exit 30
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after the run"

# Per full minute: frames drawn (one "SMP" lap per frame), mean wall time per
# frame, mean stage time per frame, and the resident memory at the minute's
# last sample (samples come between rounds of play).
report="$out/report.txt"
awk -v samples="$samples" -v minutes="$minutes" '
  BEGIN {
    while ((getline line < samples) > 0) {
      split(line, f, " ")
      m = int(f[1] / 60)
      endLine[m] = f[3]; rss[m] = f[2]
    }
  }
  { lines[NR] = $0 }
  END {
    first = 1
    for (m = 0; m < minutes; m++) {
      if (!(m in endLine)) continue
      frames = 0; stage = 0
      for (i = first; i <= endLine[m]; i++) {
        split(lines[i], w, " ")
        if (w[1] == "SMP:") frames++
        if (w[1] ~ /^(GLM|PHD|IM|AI|SMP|RP|TM):$/) stage += w[2]
      }
      if (frames > 0)
        printf "minute %d frames=%d frame_ms=%.1f stages_ms=%.1f rss_kb=%d\n", m + 1, frames, 60000 / frames, stage / frames / 1000, rss[m]
      first = endLine[m] + 1
    }
  }' "$out/game.stdout" | tee "$report"

# The memory after the first minute against the last sample; frame time of
# the second minute (the first holds the start) against the last full minute.
read -r rss_first rss_last < <(awk '$1 >= 60 && !a { a = $2 } { l = $2 } END { print a, l }' "$samples")
read -r early late < <(awk '/^minute/ { split($4, t, "="); ms[++n] = t[2] } END { print ms[2], ms[n] }' "$report")
echo "resident memory: ${rss_first} kB after 1 min, ${rss_last} kB at the end"
echo "frame time: ${early} ms in minute 2, ${late} ms in the last full minute"
awk -v a="$rss_first" -v b="$rss_last" 'BEGIN { exit !(b <= a * 1.05) }' || fail "resident memory grew by more than 5%"
awk -v a="$early" -v b="$late" 'BEGIN { exit !(b <= a * 1.10) }' || fail "frame time drifted by more than 10%"
if [ "$rounds" -ge 2 ]; then
  # From the second round on: the first one settles what every round reuses.
  read -r rss_round2 rss_roundN < <(awk 'NR == 2 { a = $2 } { l = $2 } END { print a, l }' "$round_samples")
  echo "resident memory: ${rss_round2} kB after round 2, ${rss_roundN} kB after round $rounds"
  awk -v a="$rss_round2" -v b="$rss_roundN" 'BEGIN { exit !(b <= a * 1.05) }' || fail "memory grew from round to round"
fi
echo "long play: memory and frame time stayed flat over $minutes minutes and $rounds rounds"
