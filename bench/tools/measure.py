#!/usr/bin/env python3
"""Measures a program that speaks the measurement protocol, and reports programs side by side.

With VORPEL_MEASURE=1 in its environment a measured program prints, each line flushed at once:
    arm <ns>          when its repeating one-second timer is started (CLOCK_MONOTONIC)
    first-frame <ms>  once, when its window's first paint has been handed to the X server; ms since the
                      process started
    tick <n> <ns>     at the n-th tick of that timer, n from 1 (CLOCK_MONOTONIC when the tick ran)

  measure.py run --name NAME --out FILE [--xserver-pid PID] [--ticks N] ... -- COMMAND...
  measure.py report --out FILE.md [--micro FILE.json] [--fuzz-log FILE] RESULT.json...
"""

import argparse
import json
import os
import platform
import signal
import statistics
import subprocess
import sys
import threading
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")
PERIOD_NS = 1_000_000_000


class Program:
    """A started program whose protocol lines are collected, each with the time it arrived."""

    def __init__(self, command, stderr_path):
        env = dict(os.environ, VORPEL_MEASURE="1")
        self.spawned_ns = time.monotonic_ns()
        self.stderr = open(stderr_path, "ab")
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=self.stderr, env=env)
        self.lines = []  # (arrival ns, words)
        self.changed = threading.Condition()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.process.stdout:
            arrived = time.monotonic_ns()
            words = raw.decode("utf-8", "replace").split()
            with self.changed:
                self.lines.append((arrived, words))
                self.changed.notify_all()
        with self.changed:
            self.changed.notify_all()

    def wait_for(self, predicate, timeout_s):
        """Waits until predicate(lines) holds; False on timeout or when the program has ended."""
        deadline = time.monotonic() + timeout_s
        with self.changed:
            while not predicate(self.lines):
                left = deadline - time.monotonic()
                if left <= 0 or (self.process.poll() is not None and not self.reader.is_alive()):
                    return predicate(self.lines)
                self.changed.wait(min(left, 0.2))
            return True

    def first(self, keyword):
        with self.changed:
            for arrived, words in self.lines:
                if words and words[0] == keyword:
                    return arrived, words
        return None

    def ticks(self):
        with self.changed:
            return [(int(w[1]), int(w[2])) for _, w in self.lines if len(w) >= 3 and w[0] == "tick"]

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(3)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.reader.join(2)
        self.stderr.close()


def cpu_ticks_ms(pid):
    """utime + stime of the whole process, in ms."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # fields[0] is field 3 (state); utime and stime are fields 14 and 15.
    return (int(fields[11]) + int(fields[12])) * 1000.0 / CLK_TCK


def cpu_sched_ms(pid):
    """Time on the CPU of the process's live threads, from schedstat in ns, in ms."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total / 1e6


def status_kib(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return None


def tick_schedule(arm_ns, ticks):
    """Lateness of each tick against arm + n x 1 s, in ms, and its summary."""
    origin_note = None
    if arm_ns is None:
        # Without an arm line the first tick is taken as on time.
        arm_ns = ticks[0][1] - ticks[0][0] * PERIOD_NS
        origin_note = "no arm line: the grid starts one period before tick 1"
    late = [(stamp - (arm_ns + n * PERIOD_NS)) / 1e6 for n, stamp in ticks]
    ordered = sorted(late)
    k = min(50, len(late) // 2) or 1
    numbers = [n for n, _ in ticks]
    return {
        "count": len(late),
        "missing": (numbers[-1] - numbers[0] + 1 - len(numbers)) if numbers else 0,
        "mean_ms": statistics.fmean(late),
        "p99_ms": ordered[min(len(ordered) - 1, max(0, -(-99 * len(ordered) // 100) - 1))],
        "max_ms": ordered[-1],
        "min_ms": ordered[0],
        "drift_ms": statistics.fmean(late[-k:]) - statistics.fmean(late[:k]),
        "drift_window": k,
        "note": origin_note,
        "lateness_ms": late,
    }


def measure_startup(command, runs, stderr_path, timeout_s):
    spawn_to_frame, reported = [], []
    for _ in range(runs):
        program = Program(command, stderr_path)
        try:
            if not program.wait_for(lambda lines: any(w and w[0] == "first-frame" for _, w in lines), timeout_s):
                raise RuntimeError(f"no first-frame line within {timeout_s} s")
            arrived, words = program.first("first-frame")
            spawn_to_frame.append((arrived - program.spawned_ns) / 1e6)
            if len(words) > 1:
                reported.append(float(words[1]))
        finally:
            program.stop()
        time.sleep(0.5)  # lets the X server settle after the window goes
    return {
        "runs": runs,
        "spawn_to_first_frame_ms": spawn_to_frame,
        "median_ms": statistics.median(spawn_to_frame),
        "reported_ms": reported,
        "reported_median_ms": statistics.median(reported) if reported else None,
    }


def measure_steady(command, args, stderr_path):
    result = {}
    program = Program(command, stderr_path)
    pid = program.process.pid
    start = time.monotonic()

    def at(seconds):
        time.sleep(max(0.0, start + seconds - time.monotonic()))
        if program.process.poll() is not None:
            raise RuntimeError(f"the program ended early with status {program.process.returncode}")

    try:
        if args.memory_after > 0:
            at(args.memory_after)
            result["vmhwm_kib"] = status_kib(pid, "VmHWM")
            result["vmrss_kib"] = status_kib(pid, "VmRSS")
        if args.cpu_seconds > 0:
            at(args.cpu_from)
            pids = {"program": pid}
            if args.xserver_pid:
                pids["xserver"] = args.xserver_pid
            wall0 = time.monotonic()
            before = {k: (cpu_ticks_ms(p), cpu_sched_ms(p)) for k, p in pids.items()}
            at(args.cpu_from + args.cpu_seconds)
            after = {k: (cpu_ticks_ms(p), cpu_sched_ms(p)) for k, p in pids.items()}
            wall = time.monotonic() - wall0
            result["cpu_window_s"] = wall
            for k in pids:
                result[f"cpu_{k}_ms_per_s"] = (after[k][0] - before[k][0]) / wall
                result[f"cpu_{k}_sched_ms_per_s"] = (after[k][1] - before[k][1]) / wall
        if args.ticks > 0:
            enough = lambda lines: sum(1 for _, w in lines if w and w[0] == "tick") >= args.ticks
            if not program.wait_for(enough, args.ticks + 15):
                raise RuntimeError(f"only {len(program.ticks())} of {args.ticks} ticks came")
            arm = program.first("arm")
            result["ticks"] = tick_schedule(int(arm[1][1]) if arm else None, program.ticks()[: args.ticks])
    finally:
        program.stop()
    return result


def run(args):
    command = args.command[1:] if args.command and args.command[0] == "--" else args.command
    if not command:
        sys.exit("measure.py run: no command")
    stderr_path = args.out + ".stderr"
    open(stderr_path, "w").close()
    result = {"name": args.name, "command": command}
    try:
        if args.startup_runs > 0:
            result["startup"] = measure_startup(command, args.startup_runs, stderr_path, args.startup_timeout)
        result.update(measure_steady(command, args, stderr_path))
    except (RuntimeError, OSError) as error:
        result["error"] = str(error)
        print(f"{args.name}: {error} (its stderr is in {stderr_path})", file=sys.stderr)
    with open(args.out, "w") as f:
        json.dump(result, f, indent=1)
    return 0 if "error" not in result else 1


# --- report -----------------------------------------------------------------------------------------

def dig(result, *path):
    for key in path:
        if not isinstance(result, dict) or key not in result or result[key] is None:
            return None
        result = result[key]
    return result


ROWS = [
    ("Start-up to first frame, median of runs (ms)", ("startup", "median_ms"), 1),
    ("Start-up as the program reports it (ms)", ("startup", "reported_median_ms"), 1),
    ("Peak resident memory, VmHWM (MiB)", ("vmhwm_kib",), 1 / 1024),
    ("CPU of the program, utime+stime (ms per s)", ("cpu_program_ms_per_s",), 1),
    ("CPU of the program, schedstat (ms per s)", ("cpu_program_sched_ms_per_s",), 1),
    ("CPU of the X server, utime+stime (ms per s)", ("cpu_xserver_ms_per_s",), 1),
    ("CPU of the X server, schedstat (ms per s)", ("cpu_xserver_sched_ms_per_s",), 1),
    ("Tick lateness, mean (ms)", ("ticks", "mean_ms"), 1),
    ("Tick lateness, p99 (ms)", ("ticks", "p99_ms"), 1),
    ("Tick lateness, max (ms)", ("ticks", "max_ms"), 1),
    ("Tick drift, last minus first (ms)", ("ticks", "drift_ms"), 1),
    ("Ticks measured", ("ticks", "count"), 1),
]


def fmt(value):
    if value is None:
        return "n/a"
    if isinstance(value, int):
        return str(value)
    return f"{value:.3f}" if abs(value) < 10 else f"{value:.1f}"


def ratio(a, b):
    if a is None or b is None or b == 0:
        return "n/a"
    return f"{a / b:.2f}x"


def report(args):
    results = {}
    for path in args.results:
        with open(path) as f:
            r = json.load(f)
        results[r["name"]] = r
    floor = results.get("floor", {})
    program = results.get("vorpel", {})
    wakeup = results.get("wakeup", {})

    header = ["Figure", "floor (bare Qt)", "vorpel", "vorpel / floor", "machine wake-up floor"]
    table = []
    for label, path, scale in ROWS:
        f, p, w = (dig(r, *path) for r in (floor, program, wakeup))
        f, p, w = (v * scale if v is not None and scale != 1 else v for v in (f, p, w))
        table.append([label, fmt(f), fmt(p), ratio(p, f) if path != ("ticks", "count") else "",
                      fmt(w) if path[0] == "ticks" else ""])

    notes = []
    for name, r in (("floor", floor), ("vorpel", program), ("wakeup", wakeup)):
        if not r:
            notes.append(f"{name}: not measured" + (" (build/release/vorpel does not exist yet)" if name == "vorpel" else ""))
        elif "error" in r:
            notes.append(f"{name}: {r['error']}")
        if dig(r, "ticks", "note"):
            notes.append(f"{name}: {r['ticks']['note']}")
        if dig(r, "ticks", "missing"):
            notes.append(f"{name}: {r['ticks']['missing']} tick numbers skipped")
    k = dig(floor, "ticks", "drift_window") or dig(program, "ticks", "drift_window")
    if k and k < 50:
        notes.append(f"drift compares the mean of the last {k} ticks with the first {k} (fewer than 100 ticks)")

    widths = [max(len(row[i]) for row in table + [header]) for i in range(len(header))]
    line = lambda row: "  ".join(c.ljust(widths[i]) if i == 0 else c.rjust(widths[i]) for i, c in enumerate(row))
    print(line(header))
    for row in table:
        print(line(row))
    for note in notes:
        print("note: " + note)

    micro = []
    if args.micro and os.path.exists(args.micro):
        with open(args.micro) as f:
            for b in json.load(f).get("benchmarks", []):
                if b.get("run_type", "iteration") == "iteration":
                    micro.append((b["name"], b["real_time"], b["cpu_time"], b.get("time_unit", "ns"), b["iterations"]))

    fuzz = []
    if args.fuzz_log and os.path.exists(args.fuzz_log):
        with open(args.fuzz_log) as f:
            fuzz = [l.strip() for l in f if l.startswith("Done ") or l.startswith("stat::")]

    md = ["# Vorpel measurements", ""]
    md.append(f"Taken {time.strftime('%Y-%m-%d %H:%M:%S %Z')} on {platform.node()}: {cpu_model()}, "
              f"{os.cpu_count()} CPUs, Linux {platform.release()}; commit {args.commit or 'unknown'}. "
              f"Programs run under Xvfb at 1920x1080x24 with a window manager; CPU is sampled over "
              f"{fmt(dig(floor, 'cpu_window_s') or dig(program, 'cpu_window_s'))} s of steady countdown; "
              "tick lateness is against arm + n x 1000 ms.")
    md.append("")
    md.append("| " + " | ".join(header) + " |")
    md.append("|" + "|".join(["---"] + ["---:"] * (len(header) - 1)) + "|")
    for row in table:
        md.append("| " + " | ".join(c.strip() for c in row) + " |")
    if notes:
        md.append("")
        md.extend(f"- {n}" for n in notes)
    if micro:
        md += ["", "## Micro-benchmarks (headless platform)", "", "| Benchmark | Time | CPU | Iterations |",
               "|---|---:|---:|---:|"]
        md += [f"| {n} | {rt:.1f} {u} | {ct:.1f} {u} | {it} |" for n, rt, ct, u, it in micro]
    if fuzz:
        md += ["", "## Fuzzing the property-set reader", ""] + [f"    {l}" for l in fuzz]
    with open(args.out, "w") as f:
        f.write("\n".join(md) + "\n")
    print(f"results written to {args.out}")
    return 0


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.machine()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="mode", required=True)
    r = sub.add_parser("run", help="measure one program")
    r.add_argument("--name", required=True)
    r.add_argument("--out", required=True, help="JSON file for the results")
    r.add_argument("--xserver-pid", type=int, default=0)
    r.add_argument("--startup-runs", type=int, default=5)
    r.add_argument("--startup-timeout", type=float, default=20)
    r.add_argument("--memory-after", type=float, default=3, help="seconds after start to read VmHWM (0: skip)")
    r.add_argument("--cpu-from", type=float, default=4, help="seconds after start the CPU window opens")
    r.add_argument("--cpu-seconds", type=float, default=20, help="length of the CPU window (0: skip)")
    r.add_argument("--ticks", type=int, default=300, help="ticks to collect (0: skip)")
    r.add_argument("command", nargs=argparse.REMAINDER)
    p = sub.add_parser("report", help="print and write the side-by-side table")
    p.add_argument("--out", required=True)
    p.add_argument("--micro")
    p.add_argument("--fuzz-log")
    p.add_argument("--commit")
    p.add_argument("results", nargs="+")
    args = parser.parse_args()
    sys.exit(run(args) if args.mode == "run" else report(args))


if __name__ == "__main__":
    main()
