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
  mkdir -p "$fuzz_build/corpus"
  # A crash, a leak, a sanitizer report, a slow input or a runaway
  # allocation ends the run with a non-zero status and leaves the input in
  # build/fuzz (crash-*, leak-*, timeout-*, oom-*).
  if ! "$fuzz_build/scene_reader_fuzz" "$fuzz_build/corpus" "$fuzz_build/seeds" \
      -max_total_time=60 -rss_limit_mb=2048 -max_len=65536 -timeout=10 \
      -artifact_prefix="$fuzz_build/" -print_final_stats=1 >"$fuzz_build/fuzz.log" 2>&1; then
    tail -n 60 "$fuzz_build/fuzz.log"
    echo "The scene reader fuzzer failed: the input is in $fuzz_build, the log in $fuzz_build/fuzz.log" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$fuzz_build/fuzz.log" || true

  echo "== Importer fuzzers (libFuzzer, 20 s each)"
  "$fuzz_build/make_import_seeds" "$fuzz_build/import-seeds"
  for pair in obj_reader:obj three_ds_reader:3ds collada_reader:dae; do
    reader="${pair%%:*}"
    kind="${pair##*:}"
    corpus="$fuzz_build/import-corpus/$kind"
    mkdir -p "$corpus"
    if ! "$fuzz_build/${reader}_fuzz" "$corpus" "$fuzz_build/import-seeds/$kind" \
        -max_total_time=20 -rss_limit_mb=2048 -max_len=65536 -timeout=10 \
        -artifact_prefix="$fuzz_build/$kind-" -print_final_stats=1 >"$fuzz_build/$kind-fuzz.log" 2>&1; then
      tail -n 60 "$fuzz_build/$kind-fuzz.log"
      echo "The $kind reader fuzzer failed: the input is in $fuzz_build, the log in $fuzz_build/$kind-fuzz.log" >&2
      exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units)' "$fuzz_build/$kind-fuzz.log" || true
  done
else
  echo "clang++ with -fsanitize=fuzzer is not available: the fuzz step is skipped"
fi
