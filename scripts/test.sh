#!/usr/bin/env bash
# Checks that the sources keep to their layers (docs/architecture.md), then builds Calvotrimex
# and runs the test suite three times: as built, under AddressSanitizer +
# UndefinedBehaviorSanitizer with leak detection, and (the core, the GUI tests, the soak and a
# run of the application) under ThreadSanitizer. The plain build is also checked for using
# nothing from /usr beyond the listed Debian packages. The sanitizer builds make only what
# their tests use; ccache serves whatever is unchanged. Suppressions, each with its reason, are
# in scripts/lsan-suppressions.txt and scripts/tsan-suppressions.txt.
# In the plain build any compiler warning is an error.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

echo "== includes keep to the layers of docs/architecture.md"
"$project_dir/scripts/check-includes.sh"

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
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions="$project_dir/scripts/lsan-suppressions.txt" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_tests "$asan"

echo "== core, GUI tests, soak and the application under ThreadSanitizer"
tsan="$project_dir/build/tsan"
configure "$tsan" "${sanitized[@]}" -DVXTOOLS_SANITIZE=thread
cmake --build "$tsan" -j "$jobs" --target vx_core_tests vx_gui_tests vx_soak
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$project_dir/scripts/tsan-suppressions.txt"
run_tests "$tsan" -L 'core|gui|soak'
# The whole benchmark and its picture, as a user starts it; any report ends it with a failure.
"$tsan/Calvotrimex.app/Contents/bin/calvotrimex" -platform offscreen --quit-when-done >"$tsan/calvotrimex.log" 2>&1 ||
    { tail -n 60 "$tsan/calvotrimex.log"; echo "calvotrimex failed under ThreadSanitizer"; exit 1; }
unset TSAN_OPTIONS

"$project_dir/scripts/fuzz.sh"
