#!/usr/bin/env bash
# Hostile content: every broken file or unusable setting a modder might hand
# the game must end start-up with a message naming the file or the key and a
# non-zero status. An abort from the uncaught exception (status 134) is the
# expected end; a segmentation fault, another signal or a hang fails. Settings
# at the edge of what they mean must start and play instead.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib/common.sh"
runtime_source="$1"
out="$2/hostile"
assetgen="$3"
rm -rf "$out"
mkdir -p "$out"
start_xvfb 1280x1024x24

# The broken files live beside the runtime's folders: ../hostile from bin/.
base="$out/base"
make_runtime "$runtime_source" "$base"
hostile="$base/hostile"
"$assetgen" --hostile "$hostile"
assets="$base/assets"
head -c 3000 "$assets/characters/brute.gltf" >"$hostile/truncated.gltf"
# A complete glTF whose binary buffer is cut short.
cp "$assets/characters/brute.gltf" "$hostile/short_buffer.gltf"
cp "$assets/characters/brute.png" "$hostile/brute.png"
head -c 5000 "$assets/characters/brute.bin" >"$hostile/brute.bin"
echo "this is not a model" >"$hostile/not_a_model.gltf"
: >"$hostile/empty.frag"
head -c 200 "$assets/sky/sky_front.png" >"$hostile/truncated.png"
# A readable PNG under another format's extension: the content decides.
cp "$assets/sky/sky_front.png" "$hostile/sky_front.jpg"
echo "this is not a sound" >"$hostile/not_a_sound.wav"
head -c 30 "$assets/sounds/shot.wav" >"$hostile/truncated.wav"

# A case's own folder: its config.txt (copied from the base) beside links to
# the shared assets, shaders and broken files.
make_case_runtime() {
  local dir="$1"
  mkdir -p "$dir/bin"
  cp "$base/config.txt" "$dir/config.txt"
  cp "$base/bin/shooter" "$dir/bin/"
  ln -sfn "$(readlink -f "$base/assets")" "$dir/assets"
  ln -sfn "$(readlink -f "$base/shaders")" "$dir/shaders"
  ln -sfn "$hostile" "$dir/hostile"
}

# Runs one case: $1 name, $2 text stderr must contain, then key=value edits.
# Fails unless the game ends by itself within 120 s with status 1..127 or 134.
failures=()
try_case() {
  local name="$1" expected="$2"
  shift 2
  local dir="$out/$name"
  make_case_runtime "$dir"
  local edit
  for edit in "$@"; do set_config "$dir/config.txt" "${edit%%=*}" "${edit#*=}"; done
  start_game "$dir" "$dir/game"
  wait_for_exit 120
  local status="$EXIT_STATUS"
  if [ "$status" = "timeout" ]; then
    stop_game
    failures+=("$name: still running after 120 s")
  elif [ "$status" = "0" ]; then
    failures+=("$name: exit status 0")
  elif [ "$status" -gt 128 ] && [ "$status" != "134" ]; then
    failures+=("$name: killed by signal $((status - 128))")
  elif ! grep -qF -- "$expected" "$dir/game.stderr"; then
    failures+=("$name: stderr lacks '$expected': $(tr '\n' ' ' <"$dir/game.stderr")")
  else
    echo "ok $name (status $status): $(grep -F -- "$expected" "$dir/game.stderr" | head -n1)"
  fi
}

try_case missing-model "nothing.gltf" "map.wall0.path=../assets/map/nothing.gltf"
try_case truncated-model "truncated.gltf" "map.wall0.path=../hostile/truncated.gltf"
try_case short-model-buffer "short_buffer.gltf" "enemy.brute.path=../hostile/short_buffer.gltf"
try_case not-a-model "not_a_model.gltf" "map.floor0.path=../hostile/not_a_model.gltf"
try_case image-as-model "standard.png" "map.floor0.path=../assets/standard.png"
try_case too-many-vertices "too_many_vertices.obj" "map.floor0.path=../hostile/too_many_vertices.obj"
try_case too-many-bones "too_many_bones.gltf" "maincharacter.path=../hostile/too_many_bones.gltf"
try_case animation-without-animations "floor0.gltf" "anim.player.idle.path=../assets/map/floor0.gltf"
try_case garbage-image "garbage.png" "skybox.texture.front=../hostile/garbage.png"
try_case truncated-image "truncated.png" "textmanager.texture.path=../hostile/truncated.png"
try_case missing-image "nothing.png" "skybox.texture.back=../assets/sky/nothing.png"
try_case empty-shader "empty.frag" "shader.lighting.fragment=../hostile/empty.frag"
try_case missing-sound "nothing.wav" "sound.shot.file=../assets/sounds/nothing.wav"
try_case not-a-sound "not_a_sound.wav" "sound.hit.file=../hostile/not_a_sound.wav"
try_case truncated-sound "truncated.wav" "sound.ambience.file=../hostile/truncated.wav"
try_case image-as-sound "standard.png" "sound.enemy.crawler.death.file=../assets/standard.png"
try_case missing-shader "nothing.vert" "shader.shadow.vertex=../shaders/nothing.vert"
try_case negative-window-width "glfw.window.windowed.width" "glfw.window.windowed.width=-1024"
try_case zero-window-height "GLFW: Could not create window." "glfw.window.windowed.height=0"
try_case no-enemy-types-while-spawning "enemy.types" "enemy.types=0"
try_case zero-light-direction "light 'moon'" \
  "moon.light.direction.x=0" "moon.light.direction.y=0" "moon.light.direction.z=0"

# Settings at their edges start and play, then quit cleanly with Escape,
# Escape: no upper enemy limit, a spawn try every frame into start boxes
# without volume, killed enemies gone at once, lamps straight down and a
# window larger than the screen; then no enemies at all, with no types.
plays_case() {
  local name="$1"
  shift
  local dir="$out/$name"
  make_case_runtime "$dir"
  local edit
  for edit in "$@"; do
    # "-prefix" takes out every key that starts with it.
    if [ "${edit:0:1}" = "-" ]; then
      sed -i "/^[[:space:]]*${edit:1}/d" "$dir/config.txt"
    else
      set_config "$dir/config.txt" "${edit%%=*}" "${edit#*=}"
    fi
  done
  start_game "$dir" "$dir/game"
  wait_for_window "$(window_name "$dir/config.txt")" 120
  # Play past the start delay, so enemies (where they can) spawn and move.
  sleep 8
  if ! kill -0 "$GAME_PID" 2>/dev/null; then
    wait_for_exit 1
    failures+=("$name: ended while playing, status $EXIT_STATUS: $(tr '\n' ' ' <"$dir/game.stderr")")
    return
  fi
  press Escape
  sleep 1
  press Escape
  wait_for_exit 120
  if [ "$EXIT_STATUS" != "0" ]; then
    stop_game
    failures+=("$name: status $EXIT_STATUS: $(tr '\n' ' ' <"$dir/game.stderr")")
  else
    echo "ok $name: started, played and quit"
  fi
}
plays_case edge-settings "gamelogicmanager.enemy.limit=2000000000" "gamelogicmanager.enemy.interval=0" \
  "gamelogicmanager.startpoints.size.x=0" "gamelogicmanager.startpoints.size.y=0" \
  "gamelogicmanager.startpoints.size.z=0" "scenemanager.fadeouttime=0" \
  "lightmanager.standard.light.direction.x=0" "lightmanager.standard.light.direction.z=0" \
  "glfw.window.windowed.width=1600" "glfw.window.windowed.height=1200"
plays_case no-enemies "gamelogicmanager.enemy.limit=-1" "enemy.types=0" "scenemanager.fadeouttime=-1" \
  "gamelogicmanager.enemy.interval=-3.5"
# Only the game's own keys: without the keys of the additions (the HUD,
# sound) the game starts and plays without them.
plays_case only-the-games-own-keys "-hud\\." "-sound\\." "-shader\\.hud\\." "-help\\." "-gameover\\." "-scores\\."

# The game-over font is read when the game-over screen is built, after play:
# a broken one ends the game there, with its message.
dir="$out/missing-game-over-font"
make_case_runtime "$dir"
set_config "$dir/config.txt" highscore.path ../assets/fonts/nothing.png
start_game "$dir" "$dir/game"
wait_for_window "$(window_name "$dir/config.txt")"
press Escape
wait_for_exit 120
if [ "$EXIT_STATUS" != "134" ] || ! grep -qF "nothing.png" "$dir/game.stderr"; then
  failures+=("missing-game-over-font: status $EXIT_STATUS: $(tr '\n' ' ' <"$dir/game.stderr")")
else
  echo "ok missing-game-over-font (status 134): $(grep -F nothing.png "$dir/game.stderr")"
fi

# A readable image whose extension names another format starts normally.
dir="$out/image-wrong-extension"
make_case_runtime "$dir"
set_config "$dir/config.txt" skybox.texture.front ../hostile/sky_front.jpg
start_game "$dir" "$dir/game"
wait_for_window "$(window_name "$dir/config.txt")"
sleep 2
press Escape
sleep 1
press Escape
wait_for_exit 120
if [ "$EXIT_STATUS" != "0" ]; then
  failures+=("image-wrong-extension: a PNG named .jpg should load, status $EXIT_STATUS: $(cat "$dir/game.stderr")")
else
  echo "ok image-wrong-extension: loaded by its content"
fi

if [ ${#failures[@]} -gt 0 ]; then
  printf 'FAIL %s\n' "${failures[@]}" >&2
  exit 1
fi
echo "hostile: every broken input ended start-up with its message"
