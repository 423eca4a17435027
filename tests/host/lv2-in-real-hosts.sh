#!/usr/bin/env bash
# The LV2 bundle in the LV2 tools real hosts use: lv2info must read its manifest, and jalv must run
# it for a few seconds against a JACK server with the dummy backend (no sound card needed).
#   lv2-in-real-hosts.sh <folder holding the .lv2 bundle>
set -euo pipefail
uri="http://quenmarrow.org/lv2/prophet12-ostrel"
scratch="$(mktemp -d)"
jack_pid=""
cleanup() {
    [ -n "$jack_pid" ] && kill "$jack_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# The plug-in's settings files go to a home of this test's own.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
mkdir -p "$XDG_CONFIG_HOME"
export LV2_PATH="$1"

echo "== lv2info"
info="$(lv2info "$uri")"
head -20 <<<"$info"
grep -q "Name:.*Prophet 12 Ostrel" <<<"$info"
grep -q "Class:" <<<"$info"
presets="$(awk '/^\tPresets:/ {on=1; next} on && /^\t[A-Z]/ {on=0} on && NF {n++} END {print n+0}' <<<"$info")"
[ "$presets" -eq 99 ] || { echo "$presets presets instead of 99"; exit 1; }
[ "$(grep -c 'lv2core#AudioPort' <<<"$info")" -eq 4 ] || { echo "not two audio inputs and two outputs"; exit 1; }
# The host parameters are declared as LV2 parameters in the bundle.
parameters="$(cat "$1"/*.lv2/dsp.ttl | grep -c 'a lv2:Parameter' || true)"
[ "$parameters" -eq 624 ] || { echo "$parameters parameters instead of 624"; exit 1; }

echo "== jalv on JACK's dummy backend"
export JACK_DEFAULT_SERVER="ostrel-test-$$"
export JACK_NO_AUDIO_RESERVATION=1
jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >"$scratch/jackd.log" 2>&1 &
jack_pid=$!
sleep 2
kill -0 "$jack_pid" || { cat "$scratch/jackd.log"; echo "jackd did not start"; exit 1; }

set +e
# jalv reads commands from its input and stops at its end: keep it open while it runs.
sleep 8 | timeout -s INT 5 jalv -n ostrel "$uri" >"$scratch/jalv.log" 2>&1
status=${PIPESTATUS[1]}
set -e
tail -20 "$scratch/jalv.log"
# Running until the timeout stops it is the success: an early exit means it failed or crashed.
if [ "$status" -ne 124 ] && [ "$status" -ne 130 ] && [ "$status" -ne 0 ]; then
    echo "jalv ended with status $status"
    exit 1
fi
# (ALSA's note that this machine has no MIDI sequencer is not an error of ours.)
if grep -v "^ALSA lib" "$scratch/jalv.log" | grep -i "error\|failed" >/dev/null; then
    echo "jalv reported an error"
    exit 1
fi
grep -q "Block length" "$scratch/jalv.log" || grep -q "Sample rate" "$scratch/jalv.log" || { echo "jalv never ran the plug-in"; exit 1; }
echo "ok"
