#!/usr/bin/env python3
"""Runs every benchmark and prints one table: each figure, its anchor, the ratio, the goal.

Usage: bench/run.py [--build build-bench] [--reps 5] [--clock cpu|real]

Google Benchmark programs run with --benchmark_repetitions and their medians are used; the
external dumpers (xxd, hexyl) run under hyperfine (or repeated /usr/bin/time runs when it is
missing); peak memory comes from /usr/bin/time -v. The machine is shared and noisy, so the
default clock is CPU time (user + system, page faults included); --clock real uses wall time.
Figures only: nothing here fails on a missed goal.
"""
import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def log(text):
    print(text, file=sys.stderr, flush=True)


def run_gbench(program, args, reps, clock, out_dir):
    """Runs one Google Benchmark program; returns {name: median seconds per iteration}."""
    out = os.path.join(out_dir, os.path.basename(program) + ".json")
    command = [program] + args + [
        f"--benchmark_repetitions={reps}",
        "--benchmark_report_aggregates_only=true",
        f"--benchmark_out={out}",
        "--benchmark_out_format=json",
    ]
    log("$ " + " ".join(command))
    subprocess.run(command, check=True, stdout=sys.stderr)
    with open(out) as f:
        data = json.load(f)
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    medians = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = re.sub(r"/(real_time|iterations:\d+)", "", b["run_name"])
        key = "cpu_time" if clock == "cpu" else "real_time"
        medians[name] = b[key] * scale[b["time_unit"]]
    return medians


def run_external(command, reps, clock, out_dir, warmup=1):
    """Seconds for one run of a shell command (output to /dev/null): median of `reps` runs."""
    if shutil.which("hyperfine"):
        out = os.path.join(out_dir, "hyperfine.json")
        log(f"$ hyperfine --runs {reps} '{command}'")
        subprocess.run(["hyperfine", "--style", "basic", "--warmup", str(warmup), "--runs", str(reps),
                        "--export-json", out, command], check=True, stdout=sys.stderr)
        with open(out) as f:
            result = json.load(f)["results"][0]
        if clock == "cpu":
            return result["user"] + result["system"]  # hyperfine gives these as means
        return result["median"]
    times = []
    for _ in range(reps):
        usage = time_v(["sh", "-c", command])
        times.append(usage["cpu"] if clock == "cpu" else usage["wall"])
    return statistics.median(times)


def time_v(command):
    """Runs a command under /usr/bin/time -v; returns its peak memory and times."""
    with tempfile.NamedTemporaryFile("r", suffix=".time") as report:
        subprocess.run(["/usr/bin/time", "-v", "-o", report.name] + command, check=True,
                       stdout=subprocess.DEVNULL)
        text = report.read()

    def field(name):
        return re.search(re.escape(name) + r":\s*(\S+)", text).group(1)

    wall = field("Elapsed (wall clock) time (h:mm:ss or m:ss)").split(":")
    seconds = sum(float(part) * 60 ** i for i, part in enumerate(reversed(wall)))
    return {
        "peak": int(field("Maximum resident set size (kbytes)")) * 1024,
        "cpu": float(field("User time (seconds)")) + float(field("System time (seconds)")),
        "wall": seconds,
    }


def fmt_time(seconds):
    if seconds >= 1:
        return f"{seconds:.2f} s"
    if seconds >= 1e-3:
        return f"{seconds * 1e3:.1f} ms"
    return f"{seconds * 1e6:.1f} us"


def fmt_bytes(count):
    return f"{count / 2**20:.0f} MiB"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--reps", type=int, default=5)
    parser.add_argument("--clock", choices=["cpu", "real"], default="cpu")
    parser.add_argument("--data", help="folder for the generated files (default: BUILD/bench-data)")
    options = parser.parse_args()

    bench_dir = os.path.join(options.build, "bench")
    data_dir = options.data or os.path.join(options.build, "bench-data")
    os.makedirs(data_dir, exist_ok=True)
    out_dir = tempfile.mkdtemp(prefix="tarnholm-bench-")
    program = lambda name: os.path.join(bench_dir, name)
    data_arg = f"--data-dir={data_dir}"
    reps, clock = options.reps, options.clock

    log("Generating the files (once; kept in " + data_dir + ")")
    chunk_file, raw_file = subprocess.run(
        [program("dump_bench"), data_arg, "--write-data=1"], check=True, capture_output=True,
        text=True).stdout.split()
    load_files = {}
    for chunks in (10000, 1000000):
        load_files[chunks] = subprocess.run(
            [program("load_bench"), data_arg, f"--write-data={chunks}"], check=True,
            capture_output=True, text=True).stdout.strip()

    dump = run_gbench(program("dump_bench"), [data_arg], reps, clock, out_dir)
    load = run_gbench(program("load_bench"), [data_arg], reps, clock, out_dir)
    tree = run_gbench(program("tree_bench"), [], reps, clock, out_dir)
    edit = run_gbench(program("edit_bench"), [], reps, clock, out_dir)

    xxd = run_external(f"xxd '{raw_file}' > /dev/null", reps, clock, out_dir)
    hexyl = None
    if shutil.which("hexyl"):
        # hexyl takes about ten times as long as xxd: three runs are enough to place it.
        hexyl = run_external(f"hexyl '{raw_file}' > /dev/null", min(reps, 3), clock, out_dir, warmup=0)

    log("Peak memory: /usr/bin/time -v on the headless viewer opening the 1,000,000-chunk file")
    peaks = [time_v([program("load_bench"), data_arg, "--open-peak=" + load_files[1000000]])["peak"]
             for _ in range(3)]
    empty_peak = time_v([program("load_bench"), data_arg, "--open-peak="])["peak"]
    peak = statistics.median(peaks)
    size = os.path.getsize(load_files[1000000])
    memory_goal = 1.2 * size + 150 * 1000000

    per_chunk_small = load["Load/loadFile/10000"] / 10000
    per_chunk_large = load["Load/loadFile/1000000"] / 1000000
    rows = [
        ("Dump 64 MiB: formatHexDump", fmt_time(dump["Dump/formatHexDump"]),
         "memcpy of its output's size into a fresh new[] buffer", fmt_time(dump["Dump/copyAnchor"]),
         dump["Dump/formatHexDump"] / dump["Dump/copyAnchor"], 2.0),
        ("Dump 64 MiB: Down key -> pane filled and painted", fmt_time(dump["Dump/downKey"]),
         "xxd to /dev/null", fmt_time(xxd), dump["Dump/downKey"] / xxd, 1.0),
        ("Dump 64 MiB: showRecord into the edit control", fmt_time(dump["Dump/showRecord"]),
         "xxd to /dev/null", fmt_time(xxd), dump["Dump/showRecord"] / xxd, None),
    ]
    if hexyl:
        rows.append(("Dump 64 MiB: Down key -> pane filled and painted", fmt_time(dump["Dump/downKey"]),
                     "hexyl to /dev/null", fmt_time(hexyl), dump["Dump/downKey"] / hexyl, None))
    rows += [
        ("Load 1,000,000 chunks: loadFile into the tree", fmt_time(load["Load/loadFile/1000000"]),
         "in-memory walk: copy each body, append a record", fmt_time(load["Load/floor/1000000"]),
         load["Load/loadFile/1000000"] / load["Load/floor/1000000"], 1.5),
        ("Load 10,000 chunks: loadFile into the tree", fmt_time(load["Load/loadFile/10000"]),
         "in-memory walk: copy each body, append a record", fmt_time(load["Load/floor/10000"]),
         load["Load/loadFile/10000"] / load["Load/floor/10000"], None),
        ("Load: time per chunk at 1,000,000", f"{per_chunk_large * 1e9:.0f} ns",
         "time per chunk at 10,000", f"{per_chunk_small * 1e9:.0f} ns",
         per_chunk_large / per_chunk_small, 1.3),
        (f"Load: peak memory opening {fmt_bytes(size)} headless", fmt_bytes(peak),
         "1.2 x file size + 150 B per chunk", fmt_bytes(memory_goal), peak / memory_goal, 1.0),
        ("Redraw: Down in a tree of 1,000,000 items", fmt_time(tree["DownAndPaint/1000000"]),
         "the same with 100 items", fmt_time(tree["DownAndPaint/100"]),
         tree["DownAndPaint/1000000"] / tree["DownAndPaint/100"], 2.0),
        ("Redraw: PgDn in a pane of 300 MB", fmt_time(edit["PageAndPaint/300MB"]),
         "the same with 3 KB", fmt_time(edit["PageAndPaint/3KB"]),
         edit["PageAndPaint/300MB"] / edit["PageAndPaint/3KB"], 2.0),
    ]

    header = ("Figure", "Value", "Anchor", "Anchor value", "Ratio", "Goal", "")
    table = [header]
    for name, value, anchor, anchor_value, ratio, goal in rows:
        verdict = "" if goal is None else ("ok" if ratio <= goal else "missed")
        table.append((name, value, anchor, anchor_value, f"{ratio:.2f}x",
                      "-" if goal is None else f"<= {goal:g}x", verdict))
    widths = [max(len(row[i]) for row in table) for i in range(len(header))]
    print()
    print(f"Medians of {reps} runs, {clock} time; viewer baseline peak memory "
          f"{fmt_bytes(empty_peak)} with no file open.")
    print("| " + " | ".join(h.ljust(w) for h, w in zip(header, widths)) + " |")
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in table[1:]:
        print("| " + " | ".join(c.ljust(w) for c, w in zip(row, widths)) + " |")
    shutil.rmtree(out_dir, ignore_errors=True)


if __name__ == "__main__":
    main()
