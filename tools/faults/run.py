#!/usr/bin/env python3
"""Plants each fault of faults.txt in turn, builds, runs the suites and records whether a
test caught it. Run by hand, never in CI; it rebuilds once per fault.

    tools/faults/run.py                     # every fault, on a copy of the working tree
    tools/faults/run.py --only R04 N09      # some of them
    tools/faults/run.py --kinds bytes wiring

The sources are copied to a scratch folder (--scratch, default /tmp/zerkavi-faults) and
built there in Debug, so the working tree and its build folders are never touched. A fault
in the core is run against the core suite first and against the window suite only when the
core suite misses it; a fault in platform/, window/ or app/ is run against the window suite
(which also drives the command line). Each suite stops at its first failing test.
Results go to <scratch>/results.tsv and to the terminal: caught (by which suite), missed,
"caught at build time" when the build itself refuses the fault (the library compiler, run
during the build, rejects the built-in library it now lays out wrongly), or "no build" when
the planted line does not compile (the fault list needs fixing then). The build checks the
standard library's bounds (_GLIBCXX_ASSERTIONS), as the sanitizer build of ./test does, so a
fault that reads past a vector fails there instead of reading whatever lies before it.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINDOW_FLOORS = ("platform/", "window/", "app/")


def read_faults(path):
    faults = []
    for line in open(path, encoding="utf-8"):
        if not line.strip() or line.startswith("#"):
            continue
        fid, kind, file, find, replace = line.rstrip("\n").split("\t")
        faults.append(dict(id=fid, kind=kind, file=file, find=find, replace=replace))
    return faults


def run(cmd, cwd, log, timeout=None, env=None):
    with open(log, "a") as out:
        out.write("$ " + " ".join(cmd) + "\n")
        out.flush()
        try:
            return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout, env=env).returncode
        except subprocess.TimeoutExpired:
            out.write("timed out\n")
            return -1


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", default=ROOT, help="tree to copy (default: this one)")
    ap.add_argument("--scratch", default="/tmp/zerkavi-faults")
    ap.add_argument("--faults", default=os.path.join(ROOT, "tools/faults/faults.txt"))
    ap.add_argument("--only", nargs="*")
    ap.add_argument("--kinds", nargs="*")
    ap.add_argument("--jobs", default="2")
    ap.add_argument("--timeout", type=int, default=900, help="seconds per suite run")
    ap.add_argument("--suites", nargs="*", default=["core_tests", "window_tests"],
                    help="suites to run; faults no listed suite can see are skipped")
    ap.add_argument("--window-filter", default="*",
                    help="gtest filter for the window suite, to leave out the slowest tests")
    ap.add_argument("--skip-clean-run", action="store_true",
                    help="trust that the unplanted suites pass (a second run on the same tree)")
    ap.add_argument("--coverage", action="store_true",
                    help="build with --coverage; tools/coverage.sh <scratch>/build then gives "
                         "the core's line coverage of the unplanted core suite")
    args = ap.parse_args()

    faults = read_faults(args.faults)
    if args.only:
        faults = sorted((f for f in faults if f["id"] in args.only),
                        key=lambda f: args.only.index(f["id"]))
    if args.kinds:
        faults = [f for f in faults if f["kind"] in args.kinds]

    src = os.path.join(args.scratch, "src")
    build = os.path.join(args.scratch, "build")
    log = os.path.join(args.scratch, "log.txt")
    os.makedirs(args.scratch, exist_ok=True)
    ignore = shutil.ignore_patterns("build", "build-*", ".git")
    if os.path.isdir(src):
        shutil.rmtree(src)
    shutil.copytree(args.source, src, ignore=ignore)

    # Every fault must find its line exactly once before anything is built.
    for f in faults:
        text = open(os.path.join(src, f["file"]), encoding="utf-8").read()
        if text.count(f["find"]) != 1:
            sys.exit(f"{f['id']}: '{f['find']}' occurs {text.count(f['find'])} times in {f['file']}")

    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "offscreen:configfile=" + os.path.join(src, "tests/support/screens.json")
    flags = "-D_GLIBCXX_ASSERTIONS"
    configure = ["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=Debug"]
    if args.coverage:
        flags += " --coverage"
        configure += ["-DCMAKE_EXE_LINKER_FLAGS=--coverage"]
    configure += ["-DCMAKE_CXX_FLAGS=" + flags]
    if shutil.which("ccache") and not args.coverage:
        # Every run copies the tree afresh, so without a cache each one is a cold build; the
        # scratch folders differ only in their path, which the cache is told to look past.
        os.environ["CCACHE_BASEDIR"] = os.path.dirname(os.path.abspath(args.scratch))
        os.environ["CCACHE_NOHASHDIR"] = "1"
        configure += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"]
    if run(configure, src, log) != 0:
        sys.exit("configure failed, see " + log)

    def suite(target, binary):
        start = os.path.getsize(log)
        if run(["cmake", "--build", build, "-j", args.jobs, "--target", target], src, log) != 0:
            # A compiler error means the planted line is wrong; a build that compiled but
            # whose own checks failed has caught the fault.
            with open(log, encoding="utf-8", errors="replace") as f:
                f.seek(start)
                output = f.read()
            return None if "error:" in output or "Terminated" in output else "build"
        cmd = [os.path.join(build, "tests", binary), "--gtest_fail_fast", "--gtest_brief=1"]
        if binary == "window_tests":
            cmd.append("--gtest_filter=" + args.window_filter)
        rc = run(cmd,
                 os.path.join(build, "tests"), log, timeout=args.timeout, env=env)
        return rc != 0

    # The unplanted tree must build and pass, or no result below means anything.
    for target in ([] if args.skip_clean_run else args.suites):
        clean = suite(target, target)
        if clean is None or clean == "build":
            sys.exit(target + " does not build unplanted, see " + log)
        if clean:
            sys.exit(target + " fails unplanted, see " + log)
        if target == "core_tests" and args.coverage:
            subprocess.run([os.path.join(ROOT, "tools/coverage.sh"), build])

    results = []
    for f in faults:
        suites = (["window_tests"] if f["file"].startswith(WINDOW_FLOORS)
                  else ["core_tests", "window_tests"])
        suites = [t for t in suites if t in args.suites]
        if not suites:
            continue
        path = os.path.join(src, f["file"])
        original = open(path, encoding="utf-8").read()
        started = time.time()
        try:
            open(path, "w", encoding="utf-8").write(original.replace(f["find"], f["replace"]))
            with open(log, "a") as out:
                out.write(f"\n==== {f['id']} {f['file']}\n")
            verdict = "missed"
            for target in suites:
                caught = suite(target, target)
                if caught is None:
                    verdict = "no build"
                    break
                if caught == "build":
                    verdict = "caught at build time"
                    break
                if caught:
                    verdict = "caught by " + target
                    break
        finally:
            open(path, "w", encoding="utf-8").write(original)
        results.append((f["id"], f["kind"], f["file"], verdict, int(time.time() - started)))
        print(f"{f['id']}\t{f['kind']}\t{f['file']}\t{verdict}\t{results[-1][4]}s", flush=True)

    with open(os.path.join(args.scratch, "results.tsv"), "w") as out:
        for r in results:
            out.write("\t".join(map(str, r)) + "\n")
    caught = sum(1 for r in results if r[3].startswith("caught"))
    print(f"{caught} of {len(results)} caught")


if __name__ == "__main__":
    main()
