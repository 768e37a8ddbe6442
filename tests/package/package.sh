#!/usr/bin/env bash
# The Debian package, built with cpack from the build folder given as $1 and
# checked with lintian. As root, with no night-shooter package on the
# machine, it is installed with dpkg, played and removed again; otherwise it
# is unpacked with dpkg-deb -x and played from there. Played means: started
# through the launcher from another folder, Escape, Escape, status 0; then
# the user's own config.txt edited and obeyed, a failing game's status passed
# on, the shipped config.txt restored, an unmakeable game folder reported,
# and the package's files left as they were. Output goes to $2.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/lib/common.sh"
build="$1"
out="$2"
rm -rf "$out"
mkdir -p "$out"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out/cpack" >"$out/cpack.log" 2>&1 ||
  fail "cpack could not build the package: $(tail -n 20 "$out/cpack.log")"
debs=("$out"/cpack/night-shooter_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one night-shooter_*.deb in $out/cpack, found: ${debs[*]}"
deb="${debs[0]}"

lintian_status=0
lintian --fail-on error "$deb" >"$out/lintian.txt" 2>&1 || lintian_status=$?
grep -v "running with root privileges" "$out/lintian.txt" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors for $(basename "$deb")"

# What the package holds, unpacked: the menu entry is valid, every icon has
# the size its folder names, and every file the shipped config.txt names is
# there (sounds too, which a silent machine would not miss at run time).
unpacked="$out/unpacked"
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/night-shooter.desktop" ||
  fail "the desktop entry is not valid"
icons=0
for icon in "$unpacked"/usr/share/icons/hicolor/*/apps/night-shooter.png; do
  folder="$(basename "$(dirname "$(dirname "$icon")")")"
  size="$(identify -format "%wx%h" "$icon")"
  [ "$size" = "$folder" ] || fail "the icon in $folder is $size"
  icons=$((icons + 1))
done
[ "$icons" -ge 4 ] || fail "only $icons icon sizes in the package"
shipped_data="$unpacked/usr/share/games/night-shooter"
while read -r path; do
  [ -f "$shipped_data/${path#../}" ] || fail "config.txt names $path, which the package lacks"
done < <(grep -o '\.\./[^[:space:]#]*' "$shipped_data/config.txt" | sort -u)

# Installed or unpacked, the files to play from and to check.
mode=unpacked
root="$unpacked"
if [ "$(id -u)" -eq 0 ]; then
  if dpkg-query -W -f='${Status}' night-shooter 2>/dev/null | grep -qv "not-installed"; then
    echo "package: a night-shooter package is on this machine already; checking the unpacked package instead of replacing it"
  else
    mode=installed
    root=/
  fi
fi
mapfile -t package_files < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }')
mapfile -t package_dirs < <(dpkg-deb -c "$deb" | awk '$1 ~ /^d/ { sub(/^\.\//, "", $6); sub(/\/$/, "", $6); if ($6 != "") print $6 }')
checksums() { (cd "$root" && sha256sum -- "${package_files[@]}"); }

start_xvfb 1280x1024x24
cleanup() {
  stop_game
  kill "$XVFB_PID" 2>/dev/null || true
  if [ "$mode" = installed ] && dpkg-query -W -f='${Status}' night-shooter 2>/dev/null | grep -q "ok installed"; then
    dpkg -r night-shooter >/dev/null 2>&1 || true
  fi
}
trap cleanup EXIT
if [ "$mode" = installed ]; then
  dpkg -i "$deb" >"$out/dpkg-install.log" 2>&1 || fail "dpkg -i failed: $(cat "$out/dpkg-install.log")"
fi
launcher="${root%/}/usr/games/night-shooter"
data="${root%/}/usr/share/games/night-shooter"
checksums >"$out/before.sha256"

home="$out/home"
mkdir -p "$home"
folder="$home/.local/share/night-shooter"
# The launcher for a user whose home is $home, from another folder.
as_user() { (cd / && exec env -u XDG_DATA_HOME HOME="$home" "$launcher" "$@"); }
# Starts the game that way, its process the launcher's; output goes to
# $1.stdout / $1.stderr.
start_launcher() {
  (cd / && exec env -u XDG_DATA_HOME HOME="$home" "$launcher" >"$1.stdout" 2>"$1.stderr") &
  GAME_PID=$!
}
name="$(window_name "$data/config.txt")"

# The first start makes the user's folder and plays: the controls card
# shows until a key goes (that key does nothing else), then Escape ends the
# game and the best score is kept in the user's data folder.
start_launcher "$out/first"
wait_for_window "$name"
wait_for_scene
press Return
press Escape
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the first Escape ended the game instead of showing the game-over screen"
press Escape
wait_for_exit 120
[ "$EXIT_STATUS" = "0" ] || fail "Escape, Escape should end the installed game with status 0, got: $EXIT_STATUS ($(cat "$out/first.stderr"))"
[ -f "$folder/config.txt" ] && [ ! -L "$folder/config.txt" ] || fail "the first start left no config.txt of the user's own in $folder"
cmp -s "$folder/config.txt" "$data/config.txt" || fail "the user's config.txt is not the shipped one"
grep -qE '^0 [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}$' "$folder/scores.txt" ||
  fail "the game kept no score in $folder/scores.txt"
for item in shaders assets; do
  [ "$(readlink -f "$folder/$item")" = "$(readlink -f "$data/$item")" ] || fail "$folder/$item does not lead to $data/$item"
done

# A modder's edit of their own config.txt is what the game reads: the
# game-over screen shows the edited clear colour around its text.
set_config "$folder/config.txt" opengl.clearcolor.r 0.2
set_config "$folder/config.txt" opengl.clearcolor.g 0.6
set_config "$folder/config.txt" opengl.clearcolor.b 0.4
start_launcher "$out/edited"
wait_for_window "$name"
wait_for_scene
press Return
press Escape
# The game-over screen shows the clear colour around its text.
wait_for_pixel "$out/edited-game-over.png" 5 5 51 153 102
press Escape
wait_for_exit 120
[ "$EXIT_STATUS" = "0" ] || fail "the second start ended with status $EXIT_STATUS"

# A game that stops on an error: its status and message come through.
sed -i 's/^glfw.window.name.*$//' "$folder/config.txt"
status=0
as_user >"$out/broken.stdout" 2>"$out/broken.stderr" || status=$?
[ "$status" -ne 0 ] || fail "the launcher ended with status 0 for a game that could not start"
grep -qF "CONFIG: No key named 'glfw.window.name' exists." "$out/broken.stderr" ||
  fail "the game's message did not come through: $(cat "$out/broken.stderr")"

# --reset-config puts the shipped file back and keeps the user's.
as_user --reset-config >"$out/reset.stdout" 2>&1 || fail "--reset-config failed: $(cat "$out/reset.stdout")"
cmp -s "$folder/config.txt" "$data/config.txt" || fail "--reset-config did not restore the shipped config.txt"
grep -q "opengl.clearcolor.g = 0.6" "$folder/config.txt.old" || fail "--reset-config did not keep the user's config.txt as config.txt.old"

# A game folder that cannot be made: status 1 and a message naming it.
touch "$out/not-a-folder"
status=0
XDG_DATA_HOME="$out/not-a-folder" "$launcher" >"$out/unmakeable.stdout" 2>"$out/unmakeable.stderr" || status=$?
[ "$status" -eq 1 ] || fail "an unmakeable game folder should end the launcher with status 1, got $status"
grep -qF "cannot make your game folder $out/not-a-folder/night-shooter" "$out/unmakeable.stderr" ||
  fail "the launcher did not name the folder it could not make: $(cat "$out/unmakeable.stderr")"

checksums >"$out/after.sha256"
cmp -s "$out/before.sha256" "$out/after.sha256" ||
  fail "playing changed files of the package: $(diff "$out/before.sha256" "$out/after.sha256" || true)"
leftover="$(cd "$data" && find . -newer "$out/before.sha256" | grep -v '^\.$' || true)"
[ -z "$leftover" ] || fail "playing added files to $data: $leftover"

if [ "$mode" = installed ]; then
  dpkg -r night-shooter >"$out/dpkg-remove.log" 2>&1 || fail "dpkg -r failed: $(cat "$out/dpkg-remove.log")"
  for path in "${package_files[@]}"; do
    [ ! -e "/$path" ] && [ ! -L "/$path" ] || fail "/$path is left after dpkg -r"
  done
  # A folder may stay only when another package has files in it.
  for path in "${package_dirs[@]}"; do
    [ ! -d "/$path" ] || dpkg-query -S "/$path" >/dev/null 2>&1 || fail "/$path is left after dpkg -r"
  done
fi

echo "package: $(basename "$deb") passes lintian, and the $mode package plays from its launcher and leaves its files alone"
