#!/usr/bin/env bash
# Builds the plug-in, installs the VST3 and LV2 bundles for this user and starts the standalone editor.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target Ostrel_VST3 Ostrel_LV2 Ostrel_Standalone OstrelLibCli

artefacts="$build/Ostrel_artefacts/Release"
vst3="$artefacts/VST3/Prophet 12 Ostrel.vst3"
lv2="$artefacts/LV2/Prophet 12 Ostrel.lv2"
app="$artefacts/Standalone/Prophet 12 Ostrel"

mkdir -p "$HOME/.vst3" "$HOME/.lv2"
rm -rf "$HOME/.vst3/Prophet 12 Ostrel.vst3" "$HOME/.lv2/Prophet 12 Ostrel.lv2"
cp -R "$vst3" "$HOME/.vst3/"
cp -R "$lv2" "$HOME/.lv2/"

echo "Installed the VST3 plug-in in $HOME/.vst3/Prophet 12 Ostrel.vst3"
echo "Installed the LV2 plug-in in  $HOME/.lv2/Prophet 12 Ostrel.lv2"

# The command-line companion goes where a user's own programs live.
mkdir -p "$HOME/.local/bin"
install -m 755 "$build/tools/ostrel-lib" "$HOME/.local/bin/ostrel-lib"
echo "Installed the command-line companion in $HOME/.local/bin/ostrel-lib (try: ostrel-lib --help)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$app"
else
    echo "No display here, so the editor was not started. On a desktop, start it with:"
    echo "  \"$app\""
fi
