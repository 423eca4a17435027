#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite. Non-zero on any failure.
#   scripts/test.sh            all suites
#   scripts/test.sh -L fast    only the fast suites (any ctest options are passed on)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"

# Tests get a home of their own, so no test can touch the real user's settings.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home"
export XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$XDG_CONFIG_HOME"

# GUI suites need a display; a virtual one serves everywhere.
cd "$build"
xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --timeout 600 "$@"
