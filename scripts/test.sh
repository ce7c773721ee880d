#!/usr/bin/env bash
# Builds Calvotrimex and runs the whole test suite three times: as built, under
# AddressSanitizer + UndefinedBehaviorSanitizer, and (the plain C++ core) under
# ThreadSanitizer.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$project_dir/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen

run_suite() {
    local name="$1" folder="$2"
    shift 2
    echo "== $name"
    configure "$folder" "$@"
    cmake --build "$folder" -j "$jobs"
    (cd "$folder" && ctest --output-on-failure -j "$jobs" ${CTEST_ARGS:-})
}

run_suite "tests" "$project_dir/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo

ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite "tests under AddressSanitizer + UndefinedBehaviorSanitizer" "$project_dir/build/asan" \
    -DCMAKE_BUILD_TYPE=Debug -DVXTOOLS_SANITIZE=address,undefined -DVXTOOLS_BUILD_BENCHMARKS=OFF

echo "== core tests under ThreadSanitizer"
tsan="$project_dir/build/tsan"
configure "$tsan" -DCMAKE_BUILD_TYPE=Debug -DVXTOOLS_SANITIZE=thread -DVXTOOLS_BUILD_BENCHMARKS=OFF
cmake --build "$tsan" --target vx_core_tests -j "$jobs"
(cd "$tsan" && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ctest --output-on-failure -L core -j "$jobs")
"$project_dir/scripts/fuzz.sh"
