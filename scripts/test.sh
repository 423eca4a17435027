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
(cd "$build" && xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --timeout 600 "$@")

# The suites again under the sanitizers, each in a folder of its own, and the parser fuzzer. Only
# when the whole suite runs (no ctest options given).
if [ $# -eq 0 ]; then
    tsan="$root/build-tsan"
    cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_SANITIZER=thread -DOSTREL_BUILD_BENCH=OFF
    cmake --build "$tsan" --target OstrelStressTests
    export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1${TSAN_OPTIONS:+ $TSAN_OPTIONS}"
    (cd "$tsan" && ctest --output-on-failure --timeout 900 -L tsan)

    # The fast and stress suites again under AddressSanitizer and LeakSanitizer.
    asan="$root/build-asan"
    cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_SANITIZER=address -DOSTREL_BUILD_BENCH=OFF
    cmake --build "$asan" --target OstrelModelTests OstrelControllerTests OstrelProcessorTests OstrelLibraryTests \
        OstrelStressTests OstrelFactoryGen OstrelSkinGen OstrelLibCli
    (cd "$asan" && ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}" \
        xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --timeout 900 -L "fast|stress")

    # Every reader of outside bytes under libFuzzer and AddressSanitizer, built with clang.
    fuzz="$root/build-fuzz"
    cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
        -DCMAKE_CXX_COMPILER=clang++ -DOSTREL_FUZZ=ON -DOSTREL_BUILD_TESTS=OFF -DOSTREL_BUILD_BENCH=OFF
    cmake --build "$fuzz" --target OstrelFuzz
    (cd "$fuzz" && ctest --output-on-failure -L fuzz)
fi
