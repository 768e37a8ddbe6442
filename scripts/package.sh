#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/night-shooter_<version>_amd64.deb with CPack.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root/build"
cpack -G DEB
