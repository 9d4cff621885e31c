"""Turns one run of twk_bench (its JSON output) into the README's table."""

import json
import sys

UNITS = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}


def medians(path):
    """Real and CPU time in microseconds by benchmark name, the median where repeated."""
    found = {}
    for run in json.load(open(path))["benchmarks"]:
        repeated = run.get("run_type") == "aggregate"
        if repeated and run.get("aggregate_name") != "median":
            continue
        name = run["run_name"].split("/repeats:")[0]
        scale = UNITS[run["time_unit"]]
        found[name] = (run["real_time"] * scale, run["cpu_time"] * scale)
    return found


def peaks(path):
    """The peak memory counters, in MB, by benchmark name."""
    return {run["run_name"].split("/repeats:")[0]: run["peak_MB"]
            for run in json.load(open(path))["benchmarks"] if "peak_MB" in run}


def shown(us):
    return "%.0f ms" % (us / 1e3) if us >= 10e3 else "%.2f ms" % (us / 1e3) if us >= 1e3 else "%.1f µs" % us


def main():
    times = medians(sys.argv[1])
    sizes = sorted(int(name.split("/")[1]) for name in times if name.startswith("AddOneEntry/"))
    print("\n| sections | add one entry (CPU) | whole-file rewrite (CPU) | rewrite / add | ReadIni in the log | idle tick |")
    print("|---:|---:|---:|---:|---:|---:|")
    for n in sizes:
        add, rewrite = times["AddOneEntry/%d" % n], times["WholeFileRewrite/%d" % n]
        print("| %s | %s (%s) | %s (%s) | %.0fx | %s | %s |" % (
            format(n, ","), shown(add[0]), shown(add[1]), shown(rewrite[0]), shown(rewrite[1]), rewrite[0] / add[0],
            shown(times["ReadIniInLog/%d" % n][0]), shown(times["IdleTick/%d" % n][0])))
    first, last = times["AddOneEntry/%d" % sizes[0]], times["AddOneEntry/%d" % sizes[-1]]
    print("\nadd one entry, %s sections against %s: %.2fx real time, %.2fx CPU time" % (
        format(sizes[-1], ","), format(sizes[0], ","), last[0] / first[0], last[1] / first[1]))
    print("ReadIni in the settings file: %s" % shown(times["ReadIniInSettings"][0]))
    for megabytes in (10, 100):
        if "HugeText/%d" % megabytes in times:
            print("a %d MB copied text through the whole capture: %s" % (megabytes, shown(times["HugeText/%d" % megabytes][0])))

    fresh = [times.get("FreshProcessAddsEntry/%d" % n) for n in (1000, 1000000)]
    if all(fresh):
        print("a fresh process adding one entry (hit-and-run on the core, no window): %s at 1,000 sections, "
              "%s at 1,000,000: %.2fx" % (shown(fresh[0][0]), shown(fresh[1][0]), fresh[1][0] / fresh[0][0]))
    peak = peaks(sys.argv[1]).get("FirstAppendToAGigabyteLog/iterations:1")
    if peak is not None:
        print("peak memory of a fresh process adding the first entry to a 1 GB log: %.0f MB" % peak)
    if "CaptureAfterLongText" in times:
        print("a one-line capture in append mode after a 300,000-line text (core, fakes for the GUI): %s" %
              shown(times["CaptureAfterLongText"][0]))


main()
