#!/usr/bin/env python3
"""Measures a program that speaks the measurement protocol, and reports programs side by side.

With VORPEL_MEASURE=1 in its environment a measured program prints, each line flushed at once:
    arm <ns>          when its repeating one-second timer is started (CLOCK_MONOTONIC)
    first-frame <ms>  once, when its window's first paint has been handed to the X server; ms since the
                      process started
    tick <n> <ns>     at the n-th tick of that timer, n from 1 (CLOCK_MONOTONIC when the tick ran)

  measure.py run --name NAME --out FILE [--xserver-pid PID] [--ticks N] ... -- COMMAND...
  measure.py startup --out FILE [--runs N] NAME=COMMAND NAME=COMMAND...
  measure.py report --out FILE.md [--micro FILE.json] [--display FILE.json] [--fuzz-log FILE] RESULT.json...
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
STALL_MS = 1.0  # a tick later than this is listed on its own


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

    def last_before_tick(self, keyword):
        """The last line of the keyword before the first tick: a grid armed again restarts the count."""
        found = None
        with self.changed:
            for _, words in self.lines:
                if words and words[0] == "tick":
                    break
                if words and words[0] == keyword:
                    found = words
        return found

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


def wakeups(pid):
    """Voluntary context switches of every live thread: one for each time a thread went to sleep."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if line.startswith("voluntary_ctxt_switches:"):
                        total += int(line.split()[1])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total


def wakeups_away(polled, tick_stamps, after_ns=50_000_000):
    """Wake-ups counted in a poll interval with no tick in it or in the 50 ms before it."""
    away = 0
    for (t0, w0), (t1, w1) in zip(polled, polled[1:]):
        if w1 > w0 and not any(t0 - after_ns <= s <= t1 for s in tick_stamps):
            away += w1 - w0
    return away


def steal_ms():
    """Time the hypervisor took from this machine's CPUs, all of them, in ms."""
    with open("/proc/stat") as f:
        fields = f.readline().split()
    return int(fields[8]) * 1000.0 / CLK_TCK if len(fields) > 8 else 0.0


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
        "stalls": [(n, round(l, 3)) for (n, _), l in zip(ticks, late) if l > STALL_MS],
        "lateness_ms": late,
    }


def first_frame(command, stderr_path, timeout_s):
    """One start: ms from spawn to the first-frame line, and the ms the program itself reports."""
    program = Program(command, stderr_path)
    try:
        if not program.wait_for(lambda lines: any(w and w[0] == "first-frame" for _, w in lines), timeout_s):
            raise RuntimeError(f"{command[0]}: no first-frame line within {timeout_s} s")
        arrived, words = program.first("first-frame")
        return (arrived - program.spawned_ns) / 1e6, float(words[1]) if len(words) > 1 else None
    finally:
        program.stop()
        time.sleep(0.5)  # lets the X server settle after the window goes


def summarise_startup(spawn_to_frame, reported):
    reported = [r for r in reported if r is not None]
    return {
        "runs": len(spawn_to_frame),
        "spawn_to_first_frame_ms": spawn_to_frame,
        "median_ms": statistics.median(spawn_to_frame),
        "reported_ms": reported,
        "reported_median_ms": statistics.median(reported) if reported else None,
    }


def measure_startup(command, runs, stderr_path, timeout_s):
    starts = [first_frame(command, stderr_path, timeout_s) for _ in range(runs)]
    return summarise_startup([s for s, _ in starts], [r for _, r in starts])


def startup(args):
    """Starts the programs in turn, round after round, the order swapped each round, so that a slow
    spell of the host falls on all of them; the ratio is taken within each round."""
    programs = [given.split("=", 1) for given in args.programs]
    if len(programs) < 2 or any(len(p) != 2 for p in programs):
        sys.exit("measure.py startup: give two or more NAME=COMMAND")
    stderr_path = args.out + ".stderr"
    open(stderr_path, "w").close()
    starts = {name: [] for name, _ in programs}
    result = {"name": "startup", "order": [name for name, _ in programs]}
    try:
        for round_number in range(args.runs):
            order = programs if round_number % 2 == 0 else programs[::-1]
            for name, command in order:
                starts[name].append(first_frame([command], stderr_path, args.timeout))
    except (RuntimeError, OSError) as error:
        result["error"] = str(error)
        print(f"startup: {error} (stderr in {stderr_path})", file=sys.stderr)
    result["programs"] = {name: summarise_startup([s for s, _ in v], [r for _, r in v])
                          for name, v in starts.items() if v}
    first, second = programs[0][0], programs[1][0]
    pairs = list(zip(starts[first], starts[second]))
    if pairs:
        result["pair_ratio_median"] = statistics.median(b[0] / a[0] for a, b in pairs)
    with open(args.out, "w") as f:
        json.dump(result, f, indent=1)
    return 0 if "error" not in result else 1


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
            before = {k: (cpu_ticks_ms(p), cpu_sched_ms(p), wakeups(p)) for k, p in pids.items()}
            # The program's wake-ups every 10 ms, to tell those of a tick from any others.
            polled = [(time.monotonic_ns(), before["program"][2])]
            while time.monotonic() < start + args.cpu_from + args.cpu_seconds:
                time.sleep(0.01)
                polled.append((time.monotonic_ns(), wakeups(pid)))
            at(args.cpu_from + args.cpu_seconds)
            after = {k: (cpu_ticks_ms(p), cpu_sched_ms(p), wakeups(p)) for k, p in pids.items()}
            wall = time.monotonic() - wall0
            result["cpu_window_s"] = wall
            for k in pids:
                result[f"cpu_{k}_ms_per_s"] = (after[k][0] - before[k][0]) / wall
                result[f"cpu_{k}_sched_ms_per_s"] = (after[k][1] - before[k][1]) / wall
                result[f"wakeups_{k}_per_s"] = (after[k][2] - before[k][2]) / wall
            result["wakeups_away_from_ticks_per_s"] = wakeups_away(polled, [t for _, t in program.ticks()]) / wall
        if args.ticks > 0:
            steal_before = steal_ms()
            enough = lambda lines: sum(1 for _, w in lines if w and w[0] == "tick") >= args.ticks
            if not program.wait_for(enough, args.ticks + 15):
                raise RuntimeError(f"only {len(program.ticks())} of {args.ticks} ticks came")
            arm = program.last_before_tick("arm")
            result["ticks"] = tick_schedule(int(arm[1]) if arm else None, program.ticks()[: args.ticks])
            result["steal_ms"] = steal_ms() - steal_before
        # The high-water mark once more at the end: the peak over the whole run.
        if args.memory_after > 0 and program.process.poll() is None:
            result["vmhwm_kib"] = status_kib(pid, "VmHWM")
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
    ("CPU of the program, schedstat (ms per s)", ("cpu_program_sched_ms_per_s",), 1),
    ("CPU of the X server, schedstat (ms per s)", ("cpu_xserver_sched_ms_per_s",), 1),
    ("CPU of the program, utime+stime (ms per s)", ("cpu_program_ms_per_s",), 1),
    ("CPU of the X server, utime+stime (ms per s)", ("cpu_xserver_ms_per_s",), 1),
    ("Wake-ups of the program, all threads (per s)", ("wakeups_program_per_s",), 1),
    ("Wake-ups of the program away from a tick (per s)", ("wakeups_away_from_ticks_per_s",), 1),
    ("Wake-ups of the X server (per s)", ("wakeups_xserver_per_s",), 1),
    ("Tick lateness, mean (ms)", ("ticks", "mean_ms"), 1),
    ("Tick lateness, p99 (ms)", ("ticks", "p99_ms"), 1),
    ("Tick lateness, max (ms)", ("ticks", "max_ms"), 1),
    ("Tick drift, last minus first (ms)", ("ticks", "drift_ms"), 1),
    ("Ticks measured", ("ticks", "count"), 1),
    ("Ticks later than 1 ms", ("ticks", "stalls"), len),
    ("Steal time of the host during the ticks (ms)", ("steal_ms",), 1),
]


def fmt(value):
    if value is None:
        return "n/a"
    if isinstance(value, int):
        return str(value)
    return f"{value:.3f}" if abs(value) < 10 else f"{value:.1f}"


def ratio(a, b):
    if a is None or b is None or b == 0:
        return None
    return a / b


def fmt_ratio(r):
    return "n/a" if r is None else f"{r:.2f}x"


def micro_medians(path):
    """Median real time of each benchmark in ns: the median aggregate when repeated, else the one run."""
    if not path or not os.path.exists(path):
        return {}
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
    single, median = {}, {}
    with open(path) as f:
        for b in json.load(f).get("benchmarks", []):
            name = b.get("run_name", b["name"])
            value = b["real_time"] * scale.get(b.get("time_unit", "ns"), 1)
            if b.get("run_type") == "aggregate":
                if b.get("aggregate_name") == "median":
                    median[name] = value
            else:
                single.setdefault(name, value)
    return {**single, **median}


def load(path):
    if not path or not os.path.exists(path):
        return {}
    with open(path) as f:
        return json.load(f)


def report(args):
    results = {}
    for path in args.results:
        r = load(path)
        if r:
            results[r["name"]] = r
    floor = results.get("floor", {})
    program = results.get("vorpel", {})
    wakeup = results.get("wakeup", {})
    micro = micro_medians(args.micro)
    display = load(args.display)
    rounds = load(args.startup)
    for name, r in (("floor", floor), ("vorpel", program)):
        if name in rounds.get("programs", {}):
            r["startup"] = rounds["programs"][name]

    def goal(label, target, value, shown, met):
        return [label, target, shown if value is not None else "n/a",
                "n/a" if value is None else ("yes" if met(value) else "NO")]

    startup_ratio = rounds.get("pair_ratio_median") or ratio(dig(program, "startup", "median_ms"),
                                                             dig(floor, "startup", "median_ms"))
    rss_ratio = ratio(dig(program, "vmhwm_kib"), dig(floor, "vmhwm_kib"))
    cpu_parts = (dig(program, "cpu_program_sched_ms_per_s"), dig(program, "cpu_xserver_sched_ms_per_s"))
    cpu = sum(cpu_parts) if None not in cpu_parts else None
    wakeups = dig(program, "wakeups_program_per_s")
    away = dig(program, "wakeups_away_from_ticks_per_s")
    tick, reset = micro.get("BM_Program_Tick"), micro.get("BM_Program_KeyReset/manual_time")
    mean, p99, drift = (dig(program, "ticks", k) for k in ("mean_ms", "p99_ms", "drift_ms"))
    shown = display.get("median_ms")
    goals = [
        goal("Tick path, Timer._CallAction (median)", "<= 1000 ns", tick, f"{fmt(tick)} ns", lambda v: v <= 1000),
        goal("Reset path, Window._KeyDown (median)", "<= 1000 ns", reset, f"{fmt(reset)} ns", lambda v: v <= 1000),
        goal("Start-up to first frame, vorpel / floor (median of rounds)", "<= 1.10x", startup_ratio,
             f"{fmt_ratio(startup_ratio)} ({fmt(dig(program, 'startup', 'median_ms'))} / "
             f"{fmt(dig(floor, 'startup', 'median_ms'))} ms)", lambda v: v <= 1.10),
        goal("Peak resident memory, vorpel / floor", "<= 1.10x", rss_ratio,
             f"{fmt_ratio(rss_ratio)} ({fmt((dig(program, 'vmhwm_kib') or 0) / 1024)} / "
             f"{fmt((dig(floor, 'vmhwm_kib') or 0) / 1024)} MiB)", lambda v: v <= 1.10),
        goal("CPU of steady countdown, vorpel + X server", "<= 3.3 ms/s", cpu,
             f"{fmt(cpu)} ms/s ({fmt(cpu_parts[0])} + {fmt(cpu_parts[1])})", lambda v: v <= 3.3),
        goal("Wake-ups of vorpel not part of a tick or its repaint", "none", away,
             f"{fmt(away)} /s (all: {fmt(wakeups)} /s)", lambda v: v == 0),
        goal("Tick lateness, mean", "<= 0.5 ms", mean, f"{fmt(mean)} ms", lambda v: v <= 0.5),
        goal("Tick lateness, p99", "<= 1 ms", p99, f"{fmt(p99)} ms", lambda v: v <= 1.0),
        goal("Tick drift, last 50 minus first 50", "within 0.2 ms", drift, f"{fmt(drift)} ms",
             lambda v: abs(v) <= 0.2),
        goal("Input to display, key press to 01:00 painted (median)", "<= 2 ms", shown,
             f"{fmt(shown)} ms (p99 {fmt(display.get('p99_ms'))}, max {fmt(display.get('max_ms'))})",
             lambda v: v <= 2.0),
    ]

    header = ["Figure", "floor (bare Qt)", "vorpel", "vorpel / floor", "machine wake-up floor"]
    table = []
    for label, path, scale in ROWS:
        f, p, w = (dig(r, *path) for r in (floor, program, wakeup))
        if scale is len:
            f, p, w = (len(v) if v is not None else None for v in (f, p, w))
        elif scale != 1:
            f, p, w = (v * scale if v is not None else v for v in (f, p, w))
        comparable = path[0] not in ("ticks", "steal_ms") or path[1:] in (("mean_ms",), ("p99_ms",), ("max_ms",))
        table.append([label, fmt(f), fmt(p), fmt_ratio(ratio(p, f)) if comparable else "",
                      fmt(w) if path[0] in ("ticks", "steal_ms") else ""])

    notes = []
    for name, r in (("floor", floor), ("vorpel", program), ("wakeup", wakeup)):
        if not r:
            notes.append(f"{name}: not measured")
        elif "error" in r:
            notes.append(f"{name}: {r['error']}")
        if dig(r, "ticks", "note"):
            notes.append(f"{name}: {r['ticks']['note']}")
        if dig(r, "ticks", "missing"):
            notes.append(f"{name}: {r['ticks']['missing']} tick numbers skipped")
        stalls = dig(r, "ticks", "stalls")
        if stalls:
            worst = sorted(stalls, key=lambda s: -s[1])[:8]
            notes.append(f"{name}: ticks later than 1 ms (tick, ms): " + ", ".join(f"{n}: {l}" for n, l in worst)
                         + (" ..." if len(stalls) > len(worst) else ""))
    if rounds.get("error"):
        notes.append(f"start-up: {rounds['error']}")
    if display.get("error"):
        notes.append(f"input to display: {display['error']}")
    k = dig(floor, "ticks", "drift_window") or dig(program, "ticks", "drift_window")
    if k and k < 50:
        notes.append(f"drift compares the mean of the last {k} ticks with the first {k} (fewer than 100 ticks)")

    def text_table(head, rows):
        widths = [max(len(row[i]) for row in rows + [head]) for i in range(len(head))]
        line = lambda row: "  ".join(c.ljust(widths[i]) if i == 0 else c.rjust(widths[i]) for i, c in enumerate(row))
        print(line(head))
        for row in rows:
            print(line(row))

    goal_header = ["Goal", "target", "measured", "met"]
    text_table(goal_header, goals)
    print()
    text_table(header, table)
    for note in notes:
        print("note: " + note)

    def md_table(head, rows):
        out = ["| " + " | ".join(head) + " |", "|" + "|".join(["---"] + ["---:"] * (len(head) - 1)) + "|"]
        return out + ["| " + " | ".join(c.strip() for c in row) + " |" for row in rows]

    fuzz = []
    if args.fuzz_log and os.path.exists(args.fuzz_log):
        with open(args.fuzz_log) as f:
            fuzz = [l.strip() for l in f if l.startswith("Done ") or l.startswith("stat::")]

    md = ["# Vorpel measurements", ""]
    md.append(f"Taken {time.strftime('%Y-%m-%d %H:%M:%S %Z')} on {platform.node()}: {cpu_model()}, "
              f"{os.cpu_count()} CPUs, Linux {platform.release()}; commit {args.commit or 'unknown'}. "
              f"Programs run under Xvfb at 1920x1080x24 with a window manager; CPU is sampled over "
              f"{fmt(dig(floor, 'cpu_window_s') or dig(program, 'cpu_window_s'))} s of steady countdown; "
              "tick lateness is against arm + n x 1000 ms. Input to display runs offscreen at "
              f"{display.get('screen', 'n/a')} over {display.get('presses', 'n/a')} presses.")
    md += [""] + md_table(goal_header, goals) + [""] + md_table(header, table)
    if notes:
        md.append("")
        md.extend(f"- {n}" for n in notes)
    if micro:
        md += ["", "## Micro-benchmarks (headless platform, median real time)", "", "| Benchmark | Time (ns) |",
               "|---|---:|"]
        md += [f"| {n} | {fmt(v)} |" for n, v in micro.items()]
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
    u = sub.add_parser("startup", help="start programs in turn to their first frame")
    u.add_argument("--out", required=True)
    u.add_argument("--runs", type=int, default=15)
    u.add_argument("--timeout", type=float, default=20)
    u.add_argument("programs", nargs="+", help="NAME=COMMAND; the second is set against the first")
    p = sub.add_parser("report", help="print and write the side-by-side table")
    p.add_argument("--out", required=True)
    p.add_argument("--micro")
    p.add_argument("--fuzz-log")
    p.add_argument("--display", help="JSON of the input-to-display run")
    p.add_argument("--startup", help="JSON of the start-up rounds")
    p.add_argument("--commit")
    p.add_argument("results", nargs="+")
    args = parser.parse_args()
    sys.exit({"run": run, "startup": startup, "report": report}[args.mode](args))


if __name__ == "__main__":
    main()
