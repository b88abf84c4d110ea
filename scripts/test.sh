#!/usr/bin/env bash
# Builds Morvanex and runs the whole test suite headless, then the unit tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero
# on any failure.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

# Tests never touch the real home, whatever a test forgets to set.
export MORVANEX_HOME="$(mktemp -d)"
trap 'rm -rf "$MORVANEX_HOME"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

echo "== Build and test (warnings are errors)"
cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVANEX_WERROR=ON -DMORVANEX_BUILD_BENCH=ON >/dev/null
cmake --build "$root/build/test" -j "$jobs"
ctest --test-dir "$root/build/test" -j "$jobs" --output-on-failure

echo "== Unit tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DMORVANEX_SANITIZE=ON -DMORVANEX_WERROR=ON >/dev/null
cmake --build "$root/build/asan" -j "$jobs"
# Leaks inside the system's GL and window libraries are theirs, not ours.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$root/build/asan" -j "$jobs" --output-on-failure
