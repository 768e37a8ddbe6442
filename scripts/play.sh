#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from its runtime folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root/build/game/bin"
exec ./shooter
