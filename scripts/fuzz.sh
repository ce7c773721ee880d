#!/usr/bin/env bash
# Builds the fuzz targets with clang under AddressSanitizer + UndefinedBehaviorSanitizer,
# replays every committed corpus and then runs each target for a short, fixed time.
# FUZZ_SECONDS sets the time per target (15 by default). Any finding fails the script; the
# input that caused it is kept in build/fuzz/findings/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$project_dir/scripts/install-deps.sh"
targets=(fuzz_byte_strings fuzz_font_loading fuzz_text_routines fuzz_print_stream fuzz_windows)
seconds="${FUZZ_SECONDS:-15}"
build="$project_dir/build/fuzz"
findings="$build/findings"

echo "== fuzz targets under AddressSanitizer + UndefinedBehaviorSanitizer"
configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVXTOOLS_BUILD_FUZZERS=ON \
    -DVXTOOLS_SANITIZE=address,undefined -DVXTOOLS_BUILD_TESTS=OFF -DVXTOOLS_BUILD_BENCHMARKS=OFF \
    -DVXTOOLS_BUILD_EXAMPLES=OFF
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$findings"
for target in "${targets[@]}"; do
    corpus="$project_dir/fuzz/corpus/$target"
    fuzzer=("$build/fuzz/$target" -close_fd_mask=1 -timeout=10 -max_len=32768 -artifact_prefix="$findings/$target-")
    echo "== $target: the corpus, then $seconds s"
    if ! "${fuzzer[@]}" -runs=0 "$corpus" >/dev/null 2>"$work/$target.replay"; then
        tail -n 60 "$work/$target.replay"
        echo "$target: the committed corpus gives a finding"
        exit 1
    fi
    mkdir -p "$work/$target"  # new inputs go here, the committed corpus stays as it is
    log="$work/$target.log"
    status=0
    "${fuzzer[@]}" -max_total_time="$seconds" -print_final_stats=1 "$work/$target" "$corpus" >"$log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log"
        echo "$target: finding, input kept in $findings/"
        exit 1
    fi
    grep -E '^stat::number_of_executed_units' "$log"
done
