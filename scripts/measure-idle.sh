#!/usr/bin/env bash
# Measures what a vxtools program costs while it does nothing: CPU time and wake-ups (context
# switches) per second over a while, from /proc, for the whole process and for each thread.
#
#   scripts/measure-idle.sh [calvotrimex|vxdemo] [build folder] [seconds]
#
# calvotrimex: measured after its program has ended (auto-update off); the run waits for
# "t_QuitProgram" in the log and then for the benchmark's idle workers to retire.
# vxdemo: measured while it waits for keys with auto-update on, nothing printed.
# The program runs under Xvfb when xvfb-run is there (MEASURE_PLATFORM=offscreen for Qt's
# offscreen platform instead); SETTLE seconds (default 8) pass before the measurement.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

program="${1:-calvotrimex}"
build="${2:-$project_dir/build/release}"
seconds="${3:-10}"
settle="${SETTLE:-8}"
case "$program" in
    calvotrimex) app="$build/Calvotrimex.app/Contents/bin/calvotrimex"; ready="t_QuitProgram" ;;
    vxdemo) app="$build/examples/vxdemo/VxDemo.app/Contents/bin/vxdemo"; ready="t_InitWindow: GraphicWindow #[0-9]* End" ;;
    *) echo "usage: $0 [calvotrimex|vxdemo] [build folder] [seconds]" >&2; exit 2 ;;
esac
[ -x "$app" ] || { echo "$app is not built" >&2; exit 1; }

log="$(mktemp)"
platform="${MEASURE_PLATFORM:-}"
if [ -z "$platform" ]; then platform=offscreen; command -v xvfb-run >/dev/null && platform=xvfb; fi
if [ "$platform" = xvfb ]; then
    xvfb-run -a -s "-screen 0 1600x1000x24" "$app" >"$log" 2>&1 &
else
    "$app" -platform offscreen >"$log" 2>&1 &
fi
runner=$!
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
    rm -f "$log"
}
trap cleanup EXIT

# The program's process: the runner itself, or its descendant running the executable.
for _ in $(seq 600); do
    pid="$(pgrep -f -n -- "^$app" || true)"
    [ -n "$pid" ] && break
    sleep 0.1
done
[ -n "$pid" ] || { echo "the program did not start" >&2; exit 1; }
for _ in $(seq 1200); do
    grep -q "$ready" "$log" && break
    kill -0 "$pid" 2>/dev/null || { echo "the program ended early:" >&2; cat "$log" >&2; exit 1; }
    sleep 0.1
done
grep -q "$ready" "$log" || { echo "no \"$ready\" in the log" >&2; exit 1; }
sleep "$settle"

# "tid name switches cpu-ns" for every thread (ns on a CPU from schedstat).
threads() {
    for status in /proc/"$pid"/task/*/status; do
        awk -v tid="$(basename "$(dirname "$status")")" -v stat="$(dirname "$status")/schedstat" '
            /^Name:/ { sub(/^Name:\t/, ""); name = $0 }
            /_ctxt_switches:/ { switches += $2 }
            END { getline cpu < stat; split(cpu, f, " ")
                  printf "%s\t%s\t%d\t%.0f\n", tid, name, switches, f[1] }' "$status" 2>/dev/null || true
    done
}

before="$(threads)"
start_ns="$(date +%s%N)"
sleep "$seconds"
after="$(threads)"
end_ns="$(date +%s%N)"

awk -v ns="$((end_ns - start_ns))" -v program="$program" -v platform="$platform" '
    BEGIN { FS = "\t"; secs = ns / 1e9 }
    NR == FNR { was[$1] = $3; wascpu[$1] = $4; next }
    {
        d = $3 - ($1 in was ? was[$1] : 0)
        c = $4 - ($1 in wascpu ? wascpu[$1] : 0)
        total += d; cpu += c
        if (d > 0) printf "  %-7s %-16s %8.1f wakeups/s %7.3f %% CPU\n", $1, $2, d / secs, 100 * c / ns
    }
    END {
        printf "%s (%s), %.1f s: CPU %.3f %%, %.1f wakeups/s in all\n", program, platform, secs, 100 * cpu / ns, total / secs
    }' <(echo "$before") <(echo "$after")
