#!/usr/bin/env bash
# Builds Calvotrimex and runs the test suite three times: as built, under AddressSanitizer +
# UndefinedBehaviorSanitizer, and (the plain C++ core) under ThreadSanitizer. The plain build
# is also checked for using nothing from /usr beyond the listed Debian packages. The sanitizer
# builds make only what their tests use; ccache serves whatever is unchanged. In the plain
# build any compiler warning is an error.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$project_dir/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
sanitized=(-DCMAKE_BUILD_TYPE=Debug -DVXTOOLS_BUILD_BENCHMARKS=OFF -DVXTOOLS_BUILD_EXAMPLES=OFF)

# run_tests <build folder> [ctest options...]
run_tests() {
    local folder="$1"
    shift
    (cd "$folder" && ctest --output-on-failure -j "$jobs" "$@" ${CTEST_ARGS:-})
}

echo "== tests"
plain="$project_dir/build/test"
configure "$plain" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVXTOOLS_WARNINGS_AS_ERRORS=ON
cmake --build "$plain" -j "$jobs"
run_tests "$plain"
"$project_dir/scripts/check-packages.sh" "$plain"

echo "== tests under AddressSanitizer + UndefinedBehaviorSanitizer"
asan="$project_dir/build/asan"
configure "$asan" "${sanitized[@]}" -DVXTOOLS_SANITIZE=address,undefined
cmake --build "$asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_tests "$asan"

echo "== core tests under ThreadSanitizer"
tsan="$project_dir/build/tsan"
configure "$tsan" "${sanitized[@]}" -DVXTOOLS_SANITIZE=thread
cmake --build "$tsan" -j "$jobs" --target vx_core_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 run_tests "$tsan" -L core

"$project_dir/scripts/fuzz.sh"
