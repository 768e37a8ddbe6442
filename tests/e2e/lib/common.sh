# Shared helpers of the end-to-end scripts: a private X server, a private
# runtime folder, window waits, key presses and pixel checks.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts an Xvfb of its own on a free display and exports DISPLAY. It must not
# reset when the last client leaves: the next game start would race the reset.
start_xvfb() {
  local size="${1:-1280x1024x24}"
  local fdfile
  fdfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.05
  done
  [ -s "$fdfile" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  trap 'stop_game; kill "$XVFB_PID" 2>/dev/null || true' EXIT
}

# Copies the staged runtime into a private folder (binary copied, assets and
# shaders linked) so a test can change config.txt without touching the real one.
# The additions that hold play at the start, keep files, change what the
# game-over screen does or lighten the frame under a software renderer are
# off; a test that is about them turns them on.
make_runtime() {
  local source="$1" target="$2"
  rm -rf "$target"
  mkdir -p "$target/bin"
  cp "$source/bin/shooter" "$target/bin/"
  ln -s "$(readlink -f "$source/assets")" "$target/assets"
  ln -s "$(readlink -f "$source/shaders")" "$target/shaders"
  cp "$(readlink -f "$source/config.txt")" "$target/config.txt"
  local key
  for key in help.show scores.keep gameover.retry render.auto; do set_config "$target/config.txt" "$key" 0; done
}

# Sets key = value in a config file (the key must already be there).
set_config() {
  local file="$1" key="$2" value="$3"
  grep -q "^[[:space:]]*${key}[[:space:]]*=" "$file" || fail "no key $key in $file"
  sed -i "s|^\([[:space:]]*${key}[[:space:]]*=\).*|\1 ${value}|" "$file"
}

# Starts the game in runtime folder $1; output goes to $2.stdout / $2.stderr.
start_game() {
  local runtime="$1" logs="$2"
  (cd "$runtime/bin" && exec ./shooter >"$logs.stdout" 2>"$logs.stderr") &
  GAME_PID=$!
}

stop_game() {
  if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; then
    kill "$GAME_PID" 2>/dev/null || true
    wait "$GAME_PID" 2>/dev/null || true
  fi
}

# The window title a runtime's config.txt gives (the first word of the value).
window_name() {
  grep -E '^[[:space:]]*glfw.window.name' "$1" | sed 's/.*=[[:space:]]*//; s/[[:space:]#].*//'
}

# Waits until the game's window is mapped (up to $2 seconds, default 60).
wait_for_window() {
  local name="$1" limit="${2:-60}"
  for _ in $(seq 1 $((limit * 10))); do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
    if xdotool search --onlyvisible --name "$name" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  fail "no window named $name after ${limit}s"
}

# Waits for the game to end within $1 seconds and sets EXIT_STATUS to its
# exit status, or to "timeout". It must run in the shell that started the game
# (not inside $(...)), since only that shell can collect the status.
wait_for_exit() {
  local limit="$1"
  EXIT_STATUS="timeout"
  for _ in $(seq 1 $((limit * 10))); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      EXIT_STATUS=0
      wait "$GAME_PID" || EXIT_STATUS=$?
      GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
}

press() { xdotool key --delay 60 "$@"; }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }

screenshot() { import -window root "$1"; }

# Waits until the game has drawn its scene (the screen is no longer black),
# up to $1 seconds (default 120): the first frames under a software renderer
# can take seconds each.
wait_for_scene() {
  local limit="${1:-120}" probe
  probe="$(mktemp --suffix=.png)"
  local deadline=$((SECONDS + limit))
  while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before it drew its scene"
    screenshot "$probe"
    if awk -v m="$(convert "$probe" -colorspace Gray -format "%[fx:mean]" info:)" 'BEGIN { exit !(m > 0.02) }'; then
      rm -f "$probe"
      return 0
    fi
    sleep 0.5
  done
  rm -f "$probe"
  fail "the game drew no scene within ${limit}s"
}

# Takes screenshot $1 once it differs from $2 in at least $3 pixels, waiting up
# to $4 seconds (default 60); fails otherwise. What the game shows decides,
# not how fast the machine draws it.
shot_changed_from() {
  local image="$1" reference="$2" minimum="$3" limit="${4:-60}"
  local deadline=$((SECONDS + limit)) count=0
  while [ "$SECONDS" -lt "$deadline" ]; do
    screenshot "$image"
    count="$(difference "$reference" "$image")"
    awk -v c="$count" -v m="$minimum" 'BEGIN { exit !(c >= m) }' && return 0
    sleep 0.3
  done
  fail "$image differs from $reference in only $count pixels after ${limit}s (expected $minimum)"
}

# Holds key $1 until the screen differs from $2 in at least $3 pixels
# (at most $4 seconds, default 60), then releases it and keeps the picture in $5.
hold_until_changed() {
  local key="$1" reference="$2" minimum="$3" limit="${4:-60}" image="$5"
  xdotool keydown "$key"
  shot_changed_from "$image" "$reference" "$minimum" "$limit"
  xdotool keyup "$key"
}

# Prints "r g b" (0..255) of pixel x,y of a PNG.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# True when pixel x,y of a PNG is within 3 of r g b on every channel.
pixel_near() {
  local pr pg pb
  read -r pr pg pb <<<"$(pixel "$1" "$2" "$3")"
  awk -v a="$pr" -v b="$pg" -v c="$pb" -v r="$4" -v g="$5" -v bl="$6" \
    'function d(x, y) { return x > y ? x - y : y - x } BEGIN { exit !(d(a, r) <= 3 && d(b, g) <= 3 && d(c, bl) <= 3) }'
}

# Fails unless pixel x,y of a PNG is within 3 of the expected r g b.
expect_pixel() {
  pixel_near "$@" || fail "pixel ($2,$3) of $1 is ($(pixel "$1" "$2" "$3")), expected ($4,$5,$6)"
}

# Number of pixels that differ by more than 5% between two images.
difference() { { compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1 || true; } | sed "s/[^0-9.e+].*//"; }

# Fails unless two screenshots differ in at least $3 pixels.
expect_changed() {
  local count
  count="$(difference "$1" "$2")"
  awk -v c="$count" -v m="$3" 'BEGIN { exit !(c >= m) }' || fail "$2 differs from $1 in only $count pixels (expected $3)"
}

# Counts bright pixels (any channel above 60%) in a region WxH+X+Y of an image.
bright_pixels() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 60% -format "%[fx:int(mean*w*h+0.5)]" info:
}

# Moves the (hidden, re-centred) pointer by dx pixels in steps, turning the character.
turn() {
  local dx="$1" steps="${2:-10}"
  for _ in $(seq 1 "$steps"); do xdotool mousemove_relative -- "$((dx / steps))" 0; sleep 0.05; done
}

# Screenshots into $1 until pixel ($2, $3) is near ($4, $5, $6), for up to
# 60 s; fails if the game ends first or the pixel never comes.
wait_for_pixel() {
  for _ in $(seq 1 120); do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for pixel ($2,$3) of $1"
    screenshot "$1"
    pixel_near "$@" && return 0
    sleep 0.5
  done
  expect_pixel "$@"
}
