#!/usr/bin/env bash
# Drives the standalone app on a virtual display with real mouse and key input, talking to the
# built-in simulator, and saves pictures of its pages and panels into docs/images/:
#   scripts/screenshots.sh [output folder]
# The app keeps its settings in a scratch home, so the real ones are not touched.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/docs/images}"
app="$root/build/Ostrel_artefacts/Release/Standalone/Prophet 12 Ostrel"
[ -x "$app" ] || { echo "build the standalone app first (scripts/run.sh or cmake --build build)"; exit 1; }
mkdir -p "$out"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/.config"
# Both ports on the simulator: "Prophet 12 Simulator", separators 0F 10 11 12 as the ports file has them.
mkdir -p "$scratch/.config/PlugSettings"
printf 'Prophet 12 Simulator\x0fProphet 12 Simulator\x10\x110\x12' > "$scratch/.config/PlugSettings/pro12plports.dat"

cat > "$scratch/drive.sh" <<'DRIVE'
set -u
out="$1"; app="$2"
"$app" >/dev/null 2>&1 &
pid=$!
sleep 6
win=$(xdotool search --name "Prophet 12 Ostrel" | head -1)
eval "$(xdotool getwindowgeometry --shell "$win")"   # X, Y, WIDTH, HEIGHT
shot() { sleep "${2:-1.5}"; xwd -root -silent | convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "png:$out/$1.png"; }
shotscreen() { sleep "${2:-1.5}"; xwd -root -silent | convert xwd:- "png:$out/$1.png"; }
click() { xdotool mousemove "$((X + $1))" "$((Y + $2))" click "${3:-1}"; sleep 0.7; }
drag() { xdotool mousemove "$((X + $1))" "$((Y + $2))" mousedown 1; sleep 0.3
         xdotool mousemove "$((X + $3))" "$((Y + $4))"; sleep 0.3; xdotool mouseup 1; sleep 0.5; }

bar=267
click $((bar + 5 * 46 + 23)) 11                 # "RECV": the simulator's edit buffer
shot editor

pages=(osc char lpf hpf vca feedback delay lfo unison auxenv mods arp)
mkdir -p "$out/pages"
for i in "${!pages[@]}"; do
    click $((bar + 59 * i + 29)) 40
    shot "pages/page-${pages[$i]}" 1
done
click $((bar + 29)) 40                           # back to "OSC"

click $((bar + 23)) 11; shot bank-view; click $((bar + 23)) 11         # "BANKS" on and off
click $((bar + 6 * 46 + 23)) 11; shot write-dialog; click $((bar + 6 * 46 + 23)) 11   # "WRITE"
click $((bar + 2 * 46 + 23)) 11; shot edit-menu; xdotool key Escape; sleep 0.5       # "EDIT"
drag 168 110 168 70                              # turn a knob: the LCD marks the program edited
click $((bar + 2 * 46 + 23)) 11; shot edit-menu-undo; xdotool key Escape; sleep 0.5  # "Undo ..."
xdotool key ctrl+z; sleep 0.7                    # and back

# Every menu where it opens: at its own control.
mkdir -p "$out/menus"
menu() { click "$2" "$3" "${4:-1}"; shot "menus/$1" 1; xdotool key Escape; sleep 0.5; }
menu file $((bar + 46 + 23)) 11
menu send $((bar + 4 * 46 + 23)) 11
menu channel $((bar + 330 + 28)) 11
menu program-picker 84 12                        # the LCD's location
menu lcd-category 194 12                         # the LCD's category
menu value 230 120                               # the oscillator 1 shape: a value menu at its control

click 168 110 3; shot zoomed-group 2; click 5 300                     # right click on a knob, then a dimmer

click $((bar + 3 * 46 + 23)) 11                  # "MIDI"
menu midi-in-ports 100 90                        # the port lists and the SysEx size at their boxes
menu midi-out-ports 100 140
menu sysex-size 230 180
click 727 209; shot midi-setup-globals 2         # "GLOBALS"
menu globals-value 430 347                       # a value of the global settings at its control
click 727 249                                    # "OK"

drag 600 722 600 420; shot keyboard-panel        # pull the keyboard panel up by its title bar
drag 600 422 600 722

click $((bar + 23)) 11                           # "BANKS", then its menus
menu bank-file 237 83
menu bank-presets 393 83
menu bank-slot 300 114 3                         # right click on a program of the list
menu bank-category 430 114 3                     # right click on its category
click 315 83                                     # the bank panel's "MIDI": the transfer menu
shot menus/bank-transfer 1
for _ in 1 2 3 4 5; do xdotool key Down; sleep 0.2; done
xdotool key Return
shot progress-overlay 2
click 749 397                                    # its "CANCEL"
click $((bar + 23)) 11

click 24 22; sleep 2                             # the settings button opens the library window
lib=$(xdotool search --name "Prophet 12 Library" | head -1)
eval "$(xdotool getwindowgeometry --shell "$lib")"
shot library-presets 1
click 180 34; shot library-categories 2          # its "LIBRARY" tab: the category panel
click 930 77                                     # "LOAD", then "User Bank 1" from its menu
for _ in 1 2 3; do xdotool key Down; sleep 0.2; done
xdotool key Return
shot library-page 2
click 550 121                                    # the search field: type, and the list follows
xdotool type --delay 150 "pad"
shot library-search 1.5
kill $pid
DRIVE

xvfb-run -a -s "-screen 0 1400x900x24" bash "$scratch/drive.sh" "$out" "$app"
echo "saved pictures in $out"
