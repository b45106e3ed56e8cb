#!/usr/bin/env python3
"""Mutation testing: puts one small fault at a time into the sources, rebuilds the
existing build folder, runs the tests and reports which faults the tests caught.

Called by scripts/mutate.sh; see scripts/mutations.txt for the list's format."""

import argparse
import json
import os
import re
import signal
import subprocess
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))


class Interrupted(Exception):
    pass


class Mutation:
    def __init__(self, number, description):
        self.number = number
        self.description = description
        self.file = None
        self.tests = None
        self.old = []
        self.new = []


def parse_list(path):
    mutations, current = [], None
    with open(path, encoding="utf-8") as f:
        for lineno, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if line.startswith("=="):
                current = Mutation(len(mutations) + 1, line[2:].strip())
                mutations.append(current)
            elif not line.strip() or line.startswith("#"):
                continue
            elif current is None:
                sys.exit(f"{path}:{lineno}: text before the first '==' line")
            elif line.startswith("file:"):
                current.file = line[5:].strip()
            elif line.startswith("tests:"):
                current.tests = line[6:].strip() or None
            elif line.startswith("-"):
                current.old.append(line[2:] if line.startswith("- ") else line[1:])
            elif line.startswith("+"):
                current.new.append(line[2:] if line.startswith("+ ") else line[1:])
            else:
                sys.exit(f"{path}:{lineno}: cannot read: {line}")
    for m in mutations:
        if not m.file or not m.old:
            sys.exit(f"{path}: mutation {m.number} needs 'file:' and a '-' line")
    return mutations


def parse_numbers(text, count):
    chosen = set()
    for part in text.split(","):
        part = part.strip()
        if not part:
            continue
        a, _, b = part.partition("-")
        first, last = int(a), int(b or a)
        chosen.update(range(first, last + 1))
    return sorted(n for n in chosen if 1 <= n <= count)


# Child processes run in their own process group so that a timeout or an interrupt can
# end a test together with whatever it started.
running = set()
running_lock = threading.Lock()


def run(cmd, cwd=None, env=None, timeout=None):
    proc = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, start_new_session=True)
    with running_lock:
        running.add(proc)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        kill(proc)
        out, _ = proc.communicate()
        return None, out.decode("utf-8", "replace")
    finally:
        with running_lock:
            running.discard(proc)


def kill(proc):
    try:
        os.killpg(proc.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def kill_all():
    with running_lock:
        for proc in list(running):
            kill(proc)


# Tests that start the program itself.
RUN_PROGRAM = re.compile(r"commandline|recoverycrash|lettercommand|serialcommand|pgserver")


def build(build_dir, targets=None):
    """Builds everything, or only `targets` (test executables) and what they need."""
    cmd = ["cmake", "--build", build_dir]
    if targets is not None:
        cmd += ["--target"] + sorted(targets)
        if any(RUN_PROGRAM.search(t) for t in targets):
            cmd.append("qx-text")
    code, out = run(cmd)
    return code == 0, out


def list_tests(build_dir):
    code, out = run(["ctest", "--test-dir", build_dir, "--show-only=json-v1"])
    if code != 0:
        sys.exit("ctest cannot list the tests:\n" + out)
    tests = []
    for t in json.loads(out)["tests"]:
        props = {p["name"]: p["value"] for p in t.get("properties", [])}
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        for item in props.get("ENVIRONMENT", []):
            k, _, v = item.partition("=")
            env[k] = v
        tests.append({"name": t["name"], "command": t["command"], "env": env,
                      "cwd": props.get("WORKING_DIRECTORY", build_dir),
                      "requires": props.get("FIXTURES_REQUIRED", []),
                      "sets_up": props.get("FIXTURES_SETUP", []),
                      "cleans_up": props.get("FIXTURES_CLEANUP", [])})
    return tests


def run_fixtures(tests, fixtures, key, timeout):
    """Runs the set-up (key "sets_up") or clean-up tests of `fixtures`, as ctest would
    around the tests that need them (the address server's tests need a running server)."""
    for t in tests:
        if set(t[key]) & fixtures:
            code, out = run(t["command"], cwd=t["cwd"], env=t["env"], timeout=timeout)
            if code != 0 and key == "sets_up":
                sys.exit("The fixture %s does not start:\n%s" % (t["name"], out[-3000:]))


def run_suite(tests, jobs, timeout, stop_early):
    """Runs the tests and returns {name: 'failed'|'timeout'} for those that did not pass."""
    failures, stop = {}, threading.Event()

    def one(test):
        if stop.is_set():
            return
        code, _ = run(test["command"], cwd=test["cwd"], env=test["env"], timeout=timeout)
        if stop.is_set() and code != 0:
            return  # ended by an early stop, not by the mutation
        if code is None:
            failures[test["name"]] = "timeout"
        elif code != 0:
            failures[test["name"]] = "failed"
        if failures and stop_early:
            stop.set()
            kill_all()

    with ThreadPoolExecutor(max_workers=jobs) as pool:
        try:
            list(pool.map(one, tests))
        except Interrupted:
            stop.set()
            kill_all()
            raise
    return failures


def main():
    ap = argparse.ArgumentParser(description="Mutation testing over scripts/mutations.txt.")
    ap.add_argument("numbers", nargs="?", help="mutations to run, e.g. 3 or 1,4-7 (default all)")
    ap.add_argument("--list", default=os.path.join(TOP, "scripts", "mutations.txt"))
    ap.add_argument("--build-dir", default=os.path.join(TOP, "build"))
    ap.add_argument("--jobs", "-j", type=int, default=2)
    ap.add_argument("--timeout", type=int, default=180, help="seconds per test (default 180)")
    ap.add_argument("--all-failures", action="store_true",
                    help="run every test of a mutation instead of stopping at the first failure")
    ap.add_argument("--whole-suite", action="store_true",
                    help="ignore the 'tests:' lines and run the whole suite for each mutation")
    ap.add_argument("--no-baseline", action="store_true",
                    help="skip the run of the unchanged suite")
    ap.add_argument("--check", action="store_true",
                    help="only say which mutations still apply; build and run nothing")
    args = ap.parse_args()

    os.chdir(TOP)
    mutations = parse_list(args.list)
    chosen = parse_numbers(args.numbers, len(mutations)) if args.numbers else \
        [m.number for m in mutations]
    build_dir = os.path.abspath(args.build_dir)

    def applicable(m):
        try:
            with open(m.file, encoding="utf-8") as f:
                text = f.read()
        except OSError:
            return None, "file missing"
        found = text.count("\n".join(m.old))
        if found != 1:
            return None, "text found %d times" % found
        return text, None

    if args.check:
        for n in chosen:
            m = mutations[n - 1]
            _, why = applicable(m)
            print("%3d %-16s %s" % (n, "not applicable" if why else "applies", m.description))
        return 0

    dirty = run(["git", "status", "--porcelain", "--untracked-files=no"])[1].strip()
    if dirty:
        sys.exit("The work tree has uncommitted changes; commit or stash them first:\n" + dirty)
    if not os.path.isfile(os.path.join(build_dir, "CMakeCache.txt")):
        sys.exit(f"No configured build folder at {build_dir}.")

    state = os.path.join(build_dir, ".mutate-active")
    backup = os.path.join(build_dir, ".mutate-backup")

    def on_signal(signum, _frame):
        for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(s, signal.SIG_IGN)  # a second signal must not cut the restore short
        raise Interrupted()

    for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, on_signal)

    results = []
    fixtures, all_tests = set(), []
    interrupted = False
    restore = None  # (path, original text) while a mutation is in the tree
    try:
        print("Building %s ..." % build_dir, flush=True)
        ok, out = build(build_dir)
        if not ok:
            sys.exit("The unchanged tree does not build:\n" + out[-3000:])
        all_tests = list_tests(build_dir)
        # Fixture tests run once around the whole run, never as a mutation's test.
        tests = [t for t in all_tests if not t["sets_up"] and not t["cleans_up"]]
        executables = {t["name"] for t in tests
                       if os.path.basename(t["command"][0]) == t["name"]}

        def subset_of(m):
            pattern = None if args.whole_suite or not m.tests else re.compile(m.tests)
            return pattern, [t for t in tests if not pattern or pattern.search(t["name"])]

        fixtures = {f for n in chosen for t in subset_of(mutations[n - 1])[1] for f in t["requires"]}
        if fixtures:
            print("Starting %s ..." % ", ".join(sorted(fixtures)), flush=True)
            run_fixtures(all_tests, fixtures, "sets_up", args.timeout)
        durations = {}
        if not args.no_baseline:
            # Only the tests the chosen mutations will run must pass unchanged.
            needed = {t["name"] for n in chosen for t in subset_of(mutations[n - 1])[1]}
            needed = [t for t in tests if t["name"] in needed]
            print("Running the unchanged tests (%d of %d) ..." % (len(needed), len(tests)), flush=True)
            for t in needed:
                start = time.time()
                code, out = run(t["command"], cwd=t["cwd"], env=t["env"], timeout=args.timeout)
                durations[t["name"]] = time.time() - start
                if code != 0:
                    sys.exit("The unchanged suite fails in %s; fix that first:\n%s"
                             % (t["name"], out[-3000:]))
            print("  passes in %.0f s" % sum(durations.values()), flush=True)
            # Quick tests first: a mutation is usually caught sooner.
            tests.sort(key=lambda t: durations.get(t["name"], 0))

        for n in chosen:
            m = mutations[n - 1]
            head = "[%d] %s" % (n, m.description)
            text, why = applicable(m)
            if why:
                print("%s\n     not applicable (%s in %s)" % (head, why, m.file), flush=True)
                results.append((m, "n/a", []))
                continue
            with open(backup, "w", encoding="utf-8") as f:
                f.write(text)
            with open(state, "w", encoding="utf-8") as f:
                f.write(m.file)
            restore = (m.file, text)
            with open(m.file, "w", encoding="utf-8") as f:
                f.write(text.replace("\n".join(m.old), "\n".join(m.new), 1))
            start = time.time()
            pattern, subset = subset_of(m)
            # Only what the chosen tests need is linked again; a test that is not a
            # target of its own (the install test) needs the whole build.
            targets = {t["name"] for t in subset}
            ok, out = build(build_dir, targets if pattern and targets <= executables else None)
            if not ok:
                verdict, failed = "compiler", []
            else:
                failures = run_suite(subset, args.jobs, args.timeout, not args.all_failures)
                failed = ["%s%s" % (k, " (timeout)" if v == "timeout" else "")
                          for k, v in sorted(failures.items())]
                verdict = "killed" if failures else "survived"
            with open(m.file, "w", encoding="utf-8") as f:
                f.write(text)
            restore = None
            os.remove(state)
            os.remove(backup)
            label = {"killed": "KILLED", "survived": "SURVIVED",
                     "compiler": "KILLED BY THE COMPILER (does not build; avoid such mutations)"}
            print("%s\n     %s in %.0f s%s" % (head, label[verdict], time.time() - start,
                                              (": " + ", ".join(failed)) if failed else ""),
                  flush=True)
            results.append((m, verdict, failed))
    except Interrupted:
        interrupted = True
        kill_all()
        print("\nInterrupted.", flush=True)
    finally:
        if fixtures:
            run_fixtures(all_tests, fixtures, "cleans_up", args.timeout)
        if restore:
            with open(restore[0], "w", encoding="utf-8") as f:
                f.write(restore[1])
            for p in (state, backup):
                if os.path.exists(p):
                    os.remove(p)
            print("Restored %s." % restore[0], flush=True)

    applied = [r for r in results if r[1] != "n/a"]
    killed = [r for r in applied if r[1] in ("killed", "compiler")]
    print("\nSummary")
    for m, verdict, _ in results:
        if verdict in ("survived", "n/a", "compiler"):
            print("  %3d %-15s %s" % (m.number, {"survived": "survived", "n/a": "not applicable",
                                                 "compiler": "compiler"}[verdict], m.description))
    if not applied and not interrupted:
        print("No mutation of the choice applies to the sources.")
    if applied:
        print("Score: %d of %d applicable mutations killed = %.0f %% (%d by the compiler, "
              "%d not applicable)" % (len(killed), len(applied), 100.0 * len(killed) / len(applied),
                                      sum(1 for r in applied if r[1] == "compiler"),
                                      len(results) - len(applied)))
    if applied:
        build(build_dir)  # leave the build folder matching the restored tree
    return 0


if __name__ == "__main__":
    sys.exit(main())
