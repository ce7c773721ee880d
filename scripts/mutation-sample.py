#!/usr/bin/env python3
"""Mutation sample: how many small faults planted in the runtime's busiest files the tests catch.

For a fixed, seeded sample of mutants (a flipped comparison, + for -, && for ||, true for
false, a constant off by one, a statement left out) in the files listed below, one mutant at a
time is written into the source, the two test programs are rebuilt in a build folder of their
own, and the in-process tests run (the launch and desktop tests, which start the installed
application, are left out). A mutant is killed when a test fails, crashes or hangs past the
timeout; a mutant that does not compile is not counted. The source is restored after each one.

  scripts/mutation-sample.py [--list] [--limit N] [--out results.tsv]

The build folder is build/mutation (RelWithDebInfo, compiler cache). Results: one line per
mutant, "killed", "survived" or "no-build", then the kill rate.
"""
import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "mutation")
SEED = 19
# File, number of mutants drawn from it, and the test programs that use it.
FILES = [
    ("src/text/cursor_printing.cpp", 14, "gui"),
    ("src/app/number_format.cpp", 13, "core gui"),
    ("src/windows/window_creation.cpp", 13, "gui"),
    ("src/windows/window_placement.cpp", 13, "gui"),
    ("src/platform/worker_pool.cpp", 11, "core"),
    ("src/platform/key_events.cpp", 12, "core gui"),
    ("src/platform/dead_keys.cpp", 6, "core"),
]
# Timing tests that a loaded machine makes fail now and then; they test nothing mutated here.
UNSTEADY = "WindowPicture.TheAutoUpdateProcessSleepsWhileNoWindowNeedsIt"
# Tests that see what earlier tests of the same process left (the first window, a late click).
ALONE = ["WindowCreation.ProgramWindowLayout", "ViewEvents.ClicksBecomeColumnsAndRowsOfThePictureAndTheCloseBoxHides"]
TIMEOUT = 60

# (pattern, replacement) pairs; each match outside strings and comments is one candidate.
RULES = [
    (r"(?<![<>=!&|+\-*/%^])==(?!=)", "!="),
    (r"!=", "=="),
    (r"(?<![<>\-])<=(?!>)", "<"),
    (r"(?<![<>\-])>=", ">"),
    (r"(?<![<>\-=:\w])\s<\s(?![<=])", " <= "),
    (r"(?<![<>\-=])\s>\s(?![>=])", " >= "),
    (r"&&", "||"),
    (r"\|\|", "&&"),
    (r"(?<=[\w)\]])\s\+\s(?=[\w(])", " - "),
    (r"(?<=[\w)\]])\s-\s(?=[\w(])", " + "),
    (r"\+\+", "--"),
    (r"(?<![\w.])true(?!\w)", "false"),
    (r"(?<![\w.])false(?!\w)", "true"),
    (r"(?<![\w.])(\d+)(?![\w.])", None),  # constant + 1
    (r"if \(!", "if ("),
]


# A line that declares something: leaving it out would not compile.
DECLARATION = re.compile(r"^(const |static |auto |constexpr |std::atomic<\w+> )*[\w:<>,*&]+\s+[*&]?\w+\s*(=|\{|\(|;|\[)")


def code_spans(line):
    """Positions of the line outside string/char literals and // comments."""
    mask = [True] * len(line)
    i = 0
    while i < len(line):
        c = line[i]
        if line.startswith("//", i):
            for j in range(i, len(line)):
                mask[j] = False
            break
        if c in "\"'":
            j = i + 1
            while j < len(line) and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            for k in range(i, min(j + 1, len(line))):
                mask[k] = False
            i = j + 1
            continue
        i += 1
    return mask


def candidates(path):
    lines = open(os.path.join(ROOT, path)).read().split("\n")
    found = []
    for n, line in enumerate(lines):
        s = line.strip()
        if not s or s.startswith(("#", "//", "*", "/*")) or "static_assert" in s:
            continue
        mask = code_spans(line)
        for pattern, replacement in RULES:
            for m in re.finditer(pattern, line):
                if not all(mask[m.start():m.end()]):
                    continue
                new = replacement if replacement is not None else str(int(m.group(1)) + 1)
                found.append((n, m.start(), m.end(), new))
        # Statement left out: a whole-line call or assignment ending in ';'.
        if s.endswith(";") and not s.startswith(("return", "}", "case", "default", "break",
                                                 "continue")) and mask[len(line) - 1] \
                and not DECLARATION.match(s):
            found.append((n, 0, len(line), ""))
    return lines, found


def sample():
    rng = random.Random(SEED)
    mutants = []
    per_file = []
    for path, count, programs in FILES:
        lines, found = candidates(path)
        picked = sorted(rng.sample(found, min(count, len(found))))
        per_file.append([(path, n, lines[n], lines[n][:a] + new + lines[n][b:], programs) for n, a, b, new in picked])
    # One file after the other, so that any first part of the sample covers every file.
    for round in range(max(len(m) for m in per_file)):
        mutants += [m[round] for m in per_file if round < len(m)]
    return mutants


def run(cmd, timeout=None, env=None):
    try:
        p = subprocess.run(cmd, cwd=BUILD, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=timeout, env=env)
        return p.returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def failing(cmd, env):
    """The tests of one test program that fail; a crash or hang names the program."""
    try:
        p = subprocess.run(cmd, cwd=BUILD, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           timeout=TIMEOUT, env=env, text=True, errors="replace")
    except subprocess.TimeoutExpired:
        return [os.path.basename(cmd[0]) + ":hang"]
    failed = sorted(set(re.findall(r"^\[  FAILED  \] (\S+\.\S+)", p.stdout, re.M)))
    if p.returncode != 0 and not failed:
        return [os.path.basename(cmd[0]) + ":crash"]
    return failed


def main():
    # Stopped from outside, the mutant in hand is still taken out of the source.
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit("stopped"))
    ap = argparse.ArgumentParser()
    ap.add_argument("--list", action="store_true", help="print the mutants only")
    ap.add_argument("--limit", type=int, default=0)
    ap.add_argument("--out", default=os.path.join(BUILD, "mutation-results.tsv"))
    ap.add_argument("--reuse", help="results of an earlier run of the same sources: their mutants are not built again")
    ap.add_argument("--killed-in", help="results of an earlier run: only the mutants it killed run again")
    args = ap.parse_args()
    mutants = sample()
    if args.limit:
        mutants = mutants[:args.limit]
    if args.killed_in:
        killed = {int(line.split("\t")[0]) for line in open(args.killed_in) if line.split("\t")[1] == "killed"}
        mutants = [m if i in killed else None for i, m in enumerate(mutants)]
    if args.list:
        for i, mutant in enumerate(mutants):
            if mutant is None:
                continue
            path, n, old, new, programs = mutant
            print(f"{i}\t{path}:{n + 1}\t{old.strip()}\t=>\t{new.strip()}")
        return
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    env["CCACHE_BASEDIR"] = ROOT
    env["CCACHE_NOHASHDIR"] = "1"
    if not os.path.exists(os.path.join(BUILD, "build.ninja")):
        subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                        "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DVXTOOLS_BUILD_BENCHMARKS=OFF"],
                       check=True, stdout=subprocess.DEVNULL)
    build = ["ninja", "-j2", "tests/vx_core_tests", "tests/vx_gui_tests"]
    if run(build, env=env) != 0:
        sys.exit("the unmutated tests do not build")
    # A mutant rebuilds the two libraries and links the two test programs only, not the
    # application and the helper programs the GUI tests depend on.
    links = {program: subprocess.run(["ninja", "-t", "commands", "tests/vx_%s_tests" % program], cwd=BUILD,
                                     stdout=subprocess.PIPE, text=True, check=True).stdout.strip().split("\n")[-1]
             + " -fuse-ld=lld -Wl,--strip-debug" for program in ("core", "gui")}
    libraries = ["ninja", "-j2", "vxtools", "calvotrimex_program"]
    core = ["tests/vx_core_tests", "--gtest_brief=1"]
    gui = ["tests/vx_gui_tests", "--gtest_brief=1"]
    # The GUI tests are made to run one per process; the few that fail after others in one
    # process run alone, the rest together.
    together = "--gtest_filter=-Launch*:Desktop*:" + UNSTEADY
    alone = sorted(set(failing(gui + [together], env) + failing(gui + [together], env) + ALONE))
    tests = {"core": [core], "gui": [gui + [together + ":" + ":".join(alone)]] +
             [gui + ["--gtest_filter=" + name] for name in alone]}
    print("run alone: " + " ".join(alone), flush=True)
    unmutated = [name for t in tests["core"] + tests["gui"] for name in failing(t, env)]
    if unmutated:
        sys.exit("the unmutated tests fail: " + " ".join(unmutated))
    counts = {"killed": 0, "survived": 0, "no-build": 0}
    known = {}
    for line in open(args.reuse) if args.reuse else []:
        fields = line.rstrip("\n").split("\t")
        known[tuple(fields[2:6])] = (fields[1], fields[6].split() if len(fields) > 6 else [])
    with open(args.out, "w") as out:
        for i, mutant in enumerate(mutants):
            if mutant is None:
                continue
            path, n, old, new, programs = mutant
            key = (f"{path}:{n + 1}", old.strip(), "=>", new.strip())
            if key in known:
                status, killers = known[key]
                counts[status] += 1
                line = f"{i}\t{status}\t{path}:{n + 1}\t{old.strip()}\t=>\t{new.strip()}"
                if status == "killed":
                    line += "\t" + " ".join(killers)
                print(line + "\t(earlier run)", flush=True)
                out.write(line + "\n")
                continue
            source = os.path.join(ROOT, path)
            original = open(source).read()
            lines = original.split("\n")
            lines[n] = new
            killers = []
            started = time.time()
            try:
                open(source, "w").write("\n".join(lines))
                used = programs.split()
                if run(libraries, env=env) != 0 or any(run(["sh", "-c", links[p]], env=env) != 0 for p in used):
                    status = "no-build"
                else:
                    killers = [name for p in used for t in tests[p] for name in failing(t, env)]
                    status = "killed" if killers else "survived"
            finally:
                open(source, "w").write(original)
            counts[status] += 1
            line = f"{i}\t{status}\t{path}:{n + 1}\t{old.strip()}\t=>\t{new.strip()}"
            if status == "killed":
                line += "\t" + " ".join(killers)
            print(f"{line}\t({time.time() - started:.0f} s)", flush=True)
            out.write(line + "\n")
            out.flush()
    run(build, env=env)
    counted = counts["killed"] + counts["survived"]
    rate = 100.0 * counts["killed"] / counted if counted else 0.0
    print(f"mutants {sum(m is not None for m in mutants)}, compiled {counted}, killed {counts['killed']}, "
          f"survived {counts['survived']}, kill rate {rate:.1f} %")


if __name__ == "__main__":
    main()
