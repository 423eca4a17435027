#!/usr/bin/env bash
# Starts the standalone editor on a virtual display and saves a screenshot of it:
#   scripts/screenshot.sh [output.png] [seconds to wait]
# The app keeps its settings in a scratch home, so the real ones are not touched.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build/screenshot.png}"
wait="${2:-4}"
app="$root/build/Ostrel_artefacts/Release/Standalone/Prophet 12 Ostrel"
[ -x "$app" ] || { echo "build the standalone app first (scripts/run.sh or cmake --build build)"; exit 1; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/.config"

xvfb-run -a -s "-screen 0 1400x900x24" bash -c "
    \"$app\" >/dev/null 2>&1 &
    pid=\$!
    sleep $wait
    xwd -root -silent | convert xwd:- png:\"$out\"
    kill \$pid
"
echo "saved $out"
