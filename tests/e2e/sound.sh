#!/usr/bin/env bash
# Sound through OpenAL Soft's wave writer, which records what the game plays
# into a WAV file in real time: firing is louder than the ambience before it,
# and the game-over sting follows. Without any audio back end the game says
# so in one line and plays on. Leaves a spectrogram for a person to look at.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib/common.sh"
out="$2/sound"
mkdir -p "$out"
start_xvfb 1024x768x24
game="$out/runtime"
make_runtime "$1" "$game"
# No enemies: only the ambience plays before the trigger is pulled.
set_config "$game/config.txt" gamelogicmanager.enemy.limit 0
name="$(window_name "$game/config.txt")"
now() { date +%s.%N; }

# 1. Recorded: quiet, then firing, then the sting.
recording="$out/recording.wav"
rm -f "$recording"
printf '[general]\ndrivers = wave\n[wave]\nfile = %s\n' "$recording" >"$out/alsoft.conf"
export ALSOFT_CONF="$out/alsoft.conf"
start_game "$game" "$out/recorded"
wait_for_window "$name"
wait_for_scene
sleep 4
fire_start="$(now)"
xdotool mousemove 512 384 mousedown 1
sleep 3
xdotool mouseup 1
fire_end="$(now)"
sleep 1
press Escape
sleep 3
press Escape
wait_for_exit 120
finished="$(now)"
[ "$EXIT_STATUS" = "0" ] || fail "the recorded game ended with status $EXIT_STATUS"
unset ALSOFT_CONF
! grep -q "no audio device" "$out/recorded.stderr" || fail "the wave writer was not used: $(cat "$out/recorded.stderr")"
[ -s "$recording" ] || fail "nothing was recorded"

# The recording ends when the game closes its device, just before it exits:
# times are counted back from its end.
length="$(soxi -D "$recording")"
at() { awk -v l="$length" -v f="$finished" -v t="$1" -v d="$2" 'BEGIN { v = l - (f - t) + d; if (v < 0) v = 0; printf "%.3f", v }'; }
rms() { sox "$recording" -n trim "$1" ="$2" stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'; }
quiet="$(rms "$(at "$fire_start" -3.0)" "$(at "$fire_start" -0.5)")"
firing="$(rms "$(at "$fire_start" 0.5)" "$(at "$fire_end" -0.3)")"
sting="$(rms "$(at "$fire_end" 1.5)" "$(at "$fire_end" 3.5)")"
echo "recorded ${length}s; RMS quiet=$quiet firing=$firing game-over=$sting"
awk -v q="$quiet" 'BEGIN { exit !(q > 0.0005) }' || fail "the ambience is silent (RMS $quiet)"
awk -v q="$quiet" -v f="$firing" 'BEGIN { exit !(f > 3 * q) }' || fail "firing (RMS $firing) is not louder than before it (RMS $quiet)"
awk -v q="$quiet" -v s="$sting" 'BEGIN { exit !(s > 2 * q) }' || fail "no game-over sting (RMS $sting against $quiet)"
sox "$recording" -n remix - spectrogram -x 1200 -y 400 -o "$out/spectrogram.png" || true

# 2. No back end at all: one line, and the game plays on to its usual exit.
export ALSOFT_DRIVERS=none-here
start_game "$game" "$out/silent"
wait_for_window "$name"
wait_for_scene
press Escape
sleep 1
press Escape
wait_for_exit 120
unset ALSOFT_DRIVERS
[ "$EXIT_STATUS" = "0" ] || fail "the silent game ended with status $EXIT_STATUS"
[ "$(cat "$out/silent.stderr")" = "SOUND: no audio device, playing silently." ] ||
  fail "expected one line about the missing device, got: $(cat "$out/silent.stderr")"
echo "sound: passed"
