#!/usr/bin/env bash
# Regenerates the built-in factory banks and the Basic Program under resources/factory.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build" --target OstrelFactoryGen
"$root/build/tools/OstrelFactoryGen_artefacts/Release/OstrelFactoryGen" "$root/resources/factory"
