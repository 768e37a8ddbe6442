#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need.
# Skips what is already installed; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libassimp-dev libfreeimage-dev libglm-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev fonts-dejavu-core
  libgl1-mesa-dri libglx-mesa0 libgl1-mesa-dev mesa-utils
  xvfb xauth xdotool imagemagick x11-utils
  gnuplot-nox  # the benchmark plot
  dpkg-dev lintian desktop-file-utils  # the Debian package: dpkg-shlibdeps for its dependencies, its checks
  libopenal-dev libsndfile1-dev sox  # game audio and reading sound files; sox measures the recorded sound
  clang libclang-rt-14-dev llvm  # the fuzzer build; llvm brings llvm-symbolizer for its stacks
)
# Node.js (for the glTF validator) may come from another packaging that
# bundles npm; install Debian's only when the commands are missing.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Khronos glTF validator that checks the generated models (a test of the
# test command); its node_modules stay inside tools/validator, outside git.
validator_dir="$(cd "$(dirname "$0")/.." && pwd)/tools/validator"
if [ ! -d "$validator_dir/node_modules/gltf-validator" ]; then
  (cd "$validator_dir" && npm ci --no-audit --no-fund --silent)
fi
