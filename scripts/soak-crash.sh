#!/bin/bash
# Runs the soak under gdb, without address randomisation, until it crashes or the runs are
# used up, and prints each run's end: the heap fault of the plain soak shows there in about
# every second 40-second run, against a few in a hundred without gdb. By hand only; needs gdb.
#
#   scripts/soak-crash.sh [runs] [soak options...]     e.g. scripts/soak-crash.sh 6 --soak-skip sk
#
# The soak is the one of build/test (configure it RelWithDebInfo first). Each run's whole
# output, the threads' backtraces at the fault included, stays in build/soak-crash/run-N.txt.
set -u
cd "$(dirname "$0")/.."
runs=${1:-6}
shift || true
soak=build/test/tools/VxSoak.app/Contents/bin/vx_soak
command -v gdb >/dev/null || { echo "soak-crash.sh: gdb is missing (apt-get install gdb)"; exit 2; }
[ -x "$soak" ] || { echo "soak-crash.sh: $soak is missing; build the target vx_soak first"; exit 2; }
mkdir -p build/soak-crash
for run in $(seq 1 "$runs"); do
    out=build/soak-crash/run-$run.txt
    QT_QPA_PLATFORM=offscreen timeout 300 setarch -R gdb -q -batch \
        -ex "handle SIGPIPE nostop noprint pass" -ex run -ex "thread apply all bt 25" \
        --args "$soak" -platform offscreen --quit-when-done --soak-seconds 40 --soak-warmup 5 \
        --soak-interval 10 --soak-runtime-log /dev/null --soak-seed 5016 "$@" >"$out" 2>&1
    fault=$(grep -m1 -A2 "received signal" "$out" | grep -m1 "^0x\|^#0" | cut -c1-120)
    echo "run $run: ${fault:-$(grep -a "vx_soak:.*\(passed\|FAILED\)" "$out" | tail -1)}"
done
