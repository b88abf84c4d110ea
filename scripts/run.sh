#!/usr/bin/env bash
# Builds Morvanex in Release and runs the editor: scripts/run.sh [FILE]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVANEX_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/release"
exec "$root/build/release/bin/morvanex" "$@"
