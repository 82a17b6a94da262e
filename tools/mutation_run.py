#!/usr/bin/env python3
"""Mutation run: how many small faults in the core and the tool the tests catch.

Usage (from anywhere; takes about an hour for 160 mutations on 2 cores):
    tools/mutation_run.py [--count 160] [--seed 1] [--jobs 2]
                          [--list] [--only m003,m117] [--resume]

Each mutation is one small edit of one C++ source in codec/, archive/,
decode/, parallel/ or cli/, sub-folders included (the kinds are listed
in mutation_sites.py).
The run writes it into the file, rebuilds the native preset incrementally
(`cmake --build --preset native`), runs the native ctest with a time limit
per test, and puts the file back. A mutation is killed when a test fails
or runs out of time, survives when every test passes, and is counted
apart when it does not compile. The run goes down the list until --count
mutations have compiled.

Choice: every site of every file is found, then ordered from the seed
alone, so the same seed over the same sources gives the same mutations.
Within a folder the kinds take turns (each kind's sites shuffled), so no
kind crowds out the rest. The folders take turns in proportion to their
share of all sites, each with at least a tenth of the turns, so that
parallel/, the smallest, still gets its share looked at.

A mutated file is always put back: on Ctrl-C, SIGTERM or SIGHUP, and even
after a SIGKILL, since the original is kept under build/mutation/journal/
first and put back by the next run before anything else. Only one run at
a time (a lock in build/mutation/). Not part of scripts/test.sh: too slow.

Output: a table per folder and per kind, every survivor with its diff,
in build/mutation/report.md (and on stdout); each result as it comes in
build/mutation/results.jsonl (--resume carries on from it; with --only
too, those mutations run again and their results replace the earlier
ones, so that the report covers the whole run). Survivors
listed in tools/mutation_equivalents.json with a reason are equivalent
mutations (no test can tell them apart) and count neither way.
"""
import argparse
import contextlib
import dataclasses
import difflib
import fcntl
import json
import os
import pathlib
import random
import re
import signal
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import mutation_sites  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parent.parent
FOLDERS = ("codec", "archive", "decode", "parallel", "cli")
OUT = ROOT / "build" / "mutation"
EQUIVALENTS = ROOT / "tools" / "mutation_equivalents.json"
MIN_FOLDER_SHARE = 0.1
_STOPPING = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)


@dataclasses.dataclass
class Mutation:
    id: str
    site: mutation_sites.Site

    @property
    def folder(self):
        return self.site.path.split("/")[0]

    def line(self, text):
        return text.count("\n", 0, self.site.start) + 1

    def diff(self, text):
        """The changed lines, before and after, as a unified diff."""
        mutated = self.site.apply(text)
        lines = difflib.unified_diff(text.splitlines(), mutated.splitlines(), "a/" + self.site.path,
                                     "b/" + self.site.path, n=0, lineterm="")
        return "\n".join(lines)

    def changed_lines(self, text):
        """(before, after): the changed lines, stripped, for the equivalents list."""
        before, after = [], []
        for line in self.diff(text).splitlines()[2:]:
            if line.startswith("-"):
                before.append(line[1:].strip())
            elif line.startswith("+"):
                after.append(line[1:].strip())
        return "\n".join(before), "\n".join(after)

    def context(self, text):
        """The last non-blank line above the change, stripped: tells apart
        the same change made to two alike lines."""
        lines = text[: text.rfind("\n", 0, self.site.start) + 1].splitlines()
        return next((line.strip() for line in reversed(lines) if line.strip()), "")


def all_sites():
    sites = {}
    for folder in FOLDERS:
        for source in sorted((ROOT / folder).rglob("*")):  # cli/'s rooms too
            if source.suffix in (".cpp", ".h"):
                path = source.relative_to(ROOT).as_posix()
                sites.setdefault(folder, []).extend(mutation_sites.find_sites(path, source.read_text()))
    return sites


def folder_order(sites, seed, folder):
    """The folder's sites with the kinds taking turns, each kind shuffled."""
    rng = random.Random(f"{seed}/{folder}")
    by_kind = {kind: [s for s in sites if s.kind == kind] for kind in mutation_sites.KINDS}
    for kind_sites in by_kind.values():
        rng.shuffle(kind_sites)
    order = []
    while any(by_kind.values()):
        for kind in mutation_sites.KINDS:
            if by_kind[kind]:
                order.append(by_kind[kind].pop())
    return order


def plan(seed):
    """Every mutation in the order the run takes them."""
    sites = all_sites()
    total = sum(len(s) for s in sites.values())
    weights = {f: max(len(s) / total, MIN_FOLDER_SHARE) for f, s in sites.items()}
    orders = {f: folder_order(s, seed, f) for f, s in sites.items()}
    taken = dict.fromkeys(orders, 0)
    mutations = []
    while any(taken[f] < len(orders[f]) for f in orders):
        # The folder furthest behind its share goes next (smooth weighted turns).
        folder = min((f for f in orders if taken[f] < len(orders[f])),
                     key=lambda f: ((taken[f] + 1) / weights[f], f))
        site = orders[folder][taken[folder]]
        taken[folder] += 1
        mutations.append(Mutation(f"m{len(mutations) + 1:03d}", site))
    return mutations


def run(command, timeout):
    """(exit code, output) of a command in a session of its own; None on timeout."""
    with subprocess.Popen(command, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, start_new_session=True) as process:
        try:
            output, _ = process.communicate(timeout=timeout)
            return process.returncode, output
        except subprocess.TimeoutExpired:
            stop_group(process)
            return None, process.communicate()[0]
        except BaseException:
            stop_group(process)
            raise


def stop_group(process):
    """Ends the process and everything it started."""
    for sig, grace in ((signal.SIGTERM, 10), (signal.SIGKILL, None)):
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, sig)
        try:
            process.wait(timeout=grace)
            return
        except subprocess.TimeoutExpired:
            continue


def _raise_interrupt(signum, _frame):
    raise KeyboardInterrupt(f"signal {signum}")


def journal_path(path):
    return OUT / "journal" / path


def put_back_leftovers():
    """Restores any source a killed run left mutated."""
    for kept in sorted((OUT / "journal").rglob("*")) if (OUT / "journal").exists() else []:
        if kept.is_file():
            source = ROOT / kept.relative_to(OUT / "journal")
            source.write_bytes(kept.read_bytes())
            kept.unlink()
            print(f"put back {source.relative_to(ROOT)}, left mutated by an earlier run")


@contextlib.contextmanager
def mutated(mutation):
    """The file holds the mutation inside the block, its own text after it."""
    source = ROOT / mutation.site.path
    original = source.read_bytes()
    kept = journal_path(mutation.site.path)
    kept.parent.mkdir(parents=True, exist_ok=True)
    kept.write_bytes(original)
    try:
        source.write_text(mutation.site.apply(original.decode()))
        yield
    finally:
        blocked = signal.pthread_sigmask(signal.SIG_BLOCK, _STOPPING)
        try:
            source.write_bytes(original)
            kept.unlink()
        finally:
            signal.pthread_sigmask(signal.SIG_SETMASK, blocked)


class Runner:
    """Builds and tests the tree as it stands."""

    def __init__(self, args):
        self.build_command = ["cmake", "--build", "--preset", "native", "-j", str(args.jobs)]
        self.test_command = ["ctest", "--preset", "native", "-j", str(args.jobs), "--timeout",
                             str(args.test_timeout), "--stop-on-failure"]
        self.build_timeout = args.build_timeout
        self.test_timeout = 4 * args.test_timeout + 120

    def build(self):
        code, output = run(self.build_command, self.build_timeout)
        return code == 0, output

    def test(self):
        """(passed, the first test that failed or ran out of time)."""
        code, output = run(self.test_command, self.test_timeout)
        if code == 0:
            return True, None
        failed = re.search(r"Test\s+#\d+: (\S+) .*?\*\*\*(\w+)", output or "")
        if failed:
            return False, f"{failed.group(1)} ({failed.group(2).lower()})"
        return False, "ctest timed out" if code is None else f"ctest exit {code}"

    def outcome(self, mutation):
        """killed, survived or not compiled, with the test that killed it."""
        started = time.monotonic()
        with mutated(mutation):
            built, _ = self.build()
            passed, killer = self.test() if built else (None, None)
        status = "not compiled" if not built else "survived" if passed else "killed"
        return status, killer, time.monotonic() - started


def baseline(runner):
    """Builds and tests the untouched tree; stops the run unless all is well."""
    started = time.monotonic()
    built, output = runner.build()
    if not built:
        sys.exit("the untouched tree does not build:\n" + output[-3000:])
    build_seconds = time.monotonic() - started
    passed, killer = runner.test()
    if not passed:
        sys.exit(f"the untouched tree fails its tests ({killer}): fix that first")
    print(f"baseline: build {build_seconds:.0f} s, tests {time.monotonic() - started - build_seconds:.0f} s")


def record_for(mutation, text, status, killer, seconds):
    before, after = mutation.changed_lines(text)
    return {"id": mutation.id, "path": mutation.site.path, "line": mutation.line(text), "kind": mutation.site.kind,
            "start": mutation.site.start, "replacement": mutation.site.replacement, "status": status,
            "killed_by": killer, "seconds": round(seconds, 1), "context": mutation.context(text), "before": before,
            "after": after, "diff": mutation.diff(text)}


def key_of(record):
    return (record["path"], record["start"], record["replacement"])


def load_results(path):
    if not path.exists():
        return []
    return [json.loads(line) for line in path.read_text().splitlines() if line.strip()]


def campaign(args, mutations, runner):
    """Runs mutations in order until args.count have compiled; the records."""
    results_path = OUT / "results.jsonl"
    records = load_results(results_path) if args.resume else []
    if args.only:  # run again: their new results replace the earlier ones
        again = {(m.site.path, m.site.start, m.site.replacement) for m in mutations}
        records = [r for r in records if key_of(r) not in again]
    done = {key_of(r) for r in records}
    compiled = sum(r["status"] != "not compiled" for r in records)
    with results_path.open("w") as results:
        for record in records:
            results.write(json.dumps(record) + "\n")
        for mutation in mutations:
            if compiled >= args.count and not args.only:
                break
            text = (ROOT / mutation.site.path).read_text()
            if (mutation.site.path, mutation.site.start, mutation.site.replacement) in done:
                continue
            status, killer, seconds = runner.outcome(mutation)
            record = record_for(mutation, text, status, killer, seconds)
            records.append(record)
            compiled += status != "not compiled"
            results.write(json.dumps(record) + "\n")
            results.flush()
            print(f"{mutation.id} {mutation.site.path}:{record['line']} {mutation.site.kind:<10} {status:<12} "
                  f"{seconds:5.1f} s  {killer or ''}", flush=True)
    return records


def load_equivalents():
    """{(path, context, before, after): why} for the survivors judged equivalent."""
    if not EQUIVALENTS.exists():
        return {}
    return {(e["path"], e["context"], e["before"], e["after"]): e["why"] for e in json.loads(EQUIVALENTS.read_text())}


def tally_rows(records, group, equivalents):
    """Markdown rows of a table that counts the records by `group`."""
    rows = []
    groups = sorted({group(r) for r in records}) + ["all"]
    for name in groups:
        mine = [r for r in records if name == "all" or group(r) == name]
        count = {s: sum(r["status"] == s for r in mine) for s in ("killed", "survived", "not compiled")}
        equivalent = sum(r["status"] == "survived" and key_for_equivalents(r) in equivalents for r in mine)
        judged = count["killed"] + count["survived"] - equivalent
        caught = f"{100 * count['killed'] / judged:.1f}%" if judged else "-"
        rows.append(f"| {name} | {count['killed'] + count['survived']} | {count['killed']} | {count['survived']} "
                    f"| {equivalent} | {count['not compiled']} | {caught} |")
    return rows


def key_for_equivalents(record):
    return (record["path"], record.get("context", ""), record["before"], record["after"])


def report(records, header):
    equivalents = load_equivalents()
    head = ["| {} | compiled | killed | survived | of them equivalent | not compiled | caught (of non-equivalent) |",
            "|---|---|---|---|---|---|---|"]
    lines = header + ["", head[0].format("folder"), head[1]]
    lines += tally_rows(records, lambda r: r["path"].split("/")[0], equivalents)
    lines += ["", head[0].format("kind"), head[1]]
    lines += tally_rows(records, lambda r: r["kind"], equivalents)
    lines += ["", "## Survivors", ""]
    for r in (r for r in records if r["status"] == "survived"):
        why = equivalents.get(key_for_equivalents(r))
        verdict = f"equivalent: {why}" if why else "not caught"
        lines += [f"{r['id']} {r['path']}:{r['line']} ({r['kind']}) {verdict}", "```diff", r["diff"], "```", ""]
    return "\n".join(lines)


def select(mutations, only):
    if not only:
        return mutations
    wanted = set(only.split(","))
    return [m for m in mutations if m.id in wanted]


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--count", type=int, default=160, help="compiled mutations to run (default 160)")
    parser.add_argument("--seed", default="1", help="chooses and orders the mutations (default 1)")
    parser.add_argument("--jobs", type=int, default=2, help="build and test jobs (default 2)")
    parser.add_argument("--test-timeout", type=int, default=60, help="seconds a single test may take (default 60)")
    parser.add_argument("--build-timeout", type=int, default=1800, help="seconds a rebuild may take (default 1800)")
    parser.add_argument("--list", action="store_true", help="print the mutations in order and run nothing")
    parser.add_argument("--only", help="run just these mutations (ids from --list, comma-separated)")
    parser.add_argument("--resume", action="store_true", help="carry on from build/mutation/results.jsonl")
    return parser.parse_args()


def list_plan(mutations, count):
    for mutation in mutations[: count * 2]:
        text = (ROOT / mutation.site.path).read_text()
        before, after = mutation.changed_lines(text)
        print(f"{mutation.id} {mutation.site.path}:{mutation.line(text)} {mutation.site.kind}\n"
              f"    - {before}\n    + {after}")


def main():
    args = parse_arguments()
    mutations = select(plan(args.seed), args.only)
    if args.list:
        return list_plan(mutations, args.count)
    OUT.mkdir(parents=True, exist_ok=True)
    with (OUT / "lock").open("w") as lock:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            sys.exit("another mutation run holds build/mutation/lock")
        for sig in _STOPPING:
            # SIGINT too: a shell without job control starts background
            # jobs with it ignored. A hang-up ignored on purpose (nohup) stays so.
            if sig != signal.SIGHUP or signal.getsignal(sig) != signal.SIG_IGN:
                signal.signal(sig, _raise_interrupt)
        put_back_leftovers()
        runner = Runner(args)
        started = time.monotonic()
        baseline(runner)
        records = campaign(args, mutations, runner)
        runner.build()  # leaves build/native as the sources are
        minutes = (time.monotonic() - started) / 60
    commit = subprocess.run(["git", "rev-parse", "--short", "HEAD"], cwd=ROOT, capture_output=True, text=True).stdout
    header = [f"# Mutation run: seed {args.seed}, commit {commit.strip()}",
              "", f"{len(records)} mutations, {minutes:.1f} minutes wall time (this run), -j{args.jobs}"]
    text = report(records, header)
    (OUT / "report.md").write_text(text + "\n")
    print(text)


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit("stopped; every mutated file was put back")
