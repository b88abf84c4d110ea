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

echo "== Layering of the sources"
bash "$root/scripts/check-layers.sh"

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

# ---------------------------------------------------------------------------
echo "== Scene reader fuzzer (libFuzzer, 60 s), then the importer fuzzers"
# Needs clang with libFuzzer; a probe program tells whether it links.
fuzz_build="$root/build/fuzz"
can_fuzz=0
if command -v clang++ >/dev/null 2>&1 && command -v clang >/dev/null 2>&1; then
  probe="$MORVANEX_HOME/fuzz-probe"
  mkdir -p "$probe"
  printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
    'extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }' >"$probe/probe.cpp"
  if clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1; then
    can_fuzz=1
  fi
fi
if [ "$can_fuzz" -eq 1 ]; then
  cmake -S "$root/fuzz" -B "$fuzz_build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
  cmake --build "$fuzz_build" -j "$jobs"
  "$fuzz_build/make_seeds" "$fuzz_build/seeds"
  # Runs one fuzzer: NAME BINARY CORPUS SEEDS SECONDS. A crash, a leak, a
  # sanitizer report, a slow input or a runaway allocation ends the run with
  # a non-zero status and leaves the input in build/fuzz (NAME-crash-*, ...).
  run_fuzzer() {
    local name="$1" binary="$2" corpus="$3" seeds="$4" seconds="$5"
    local log="$fuzz_build/$name-fuzz.log"
    mkdir -p "$corpus"
    if ! "$binary" "$corpus" "$seeds" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 -timeout=10 \
        -artifact_prefix="$fuzz_build/$name-" -print_final_stats=1 >"$log" 2>&1; then
      tail -n 60 "$log"
      echo "The $name fuzzer failed: the input is in $fuzz_build, the log in $log" >&2
      exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units)' "$log" || true
  }
  run_fuzzer scene-reader "$fuzz_build/scene_reader_fuzz" "$fuzz_build/corpus" "$fuzz_build/seeds" 60

  echo "== Importer fuzzers (libFuzzer, 20 s each)"
  "$fuzz_build/make_import_seeds" "$fuzz_build/import-seeds"
  for pair in obj_reader:obj three_ds_reader:3ds collada_reader:dae; do
    reader="${pair%%:*}"
    kind="${pair##*:}"
    run_fuzzer "$kind-reader" "$fuzz_build/${reader}_fuzz" "$fuzz_build/import-corpus/$kind" \
      "$fuzz_build/import-seeds/$kind" 20
  done
else
  echo "clang++ with -fsanitize=fuzzer is not available: the fuzz step is skipped"
fi
