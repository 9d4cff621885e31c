"""Drives the log browser's benchmark (run.sh builds, writes the logs and
starts the display): the search as the window runs it (twk_search_bench), the
real command line and grep -c over the same files, and the window's longest
stall while it searches. Prints a Markdown table of medians."""

import argparse
import glob
import os
import statistics
import subprocess
import sys
import time

RARE = "zanzibar"
COMMON = "clipboard"
REGEX = "zanz[i1]bar"


def run_timed(command):
    """Wall seconds and peak memory (MB) of a command whose output is read and thrown away.
    Not written to /dev/null: grep sees that and stops at its first match."""
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    while process.stdout.read(1 << 16):
        pass
    _, _, usage = os.wait4(process.pid, 0)
    process.stdout.close()
    return time.monotonic() - start, usage.ru_maxrss / 1024


def median_timed(command, repeats):
    runs = [run_timed(command) for _ in range(repeats)]
    return statistics.median(r[0] for r in runs), max(r[1] for r in runs)


def search_bench(helpers, folder, repeats, query, regex=False):
    """first ms, last ms, matches, peak MB of one query, in a process of its own."""
    command = [os.path.join(helpers, "logs", "twk_search_bench"), folder, str(repeats)]
    if regex:
        command.append("--regex")
    command.append(query or "''")
    line = subprocess.run(command, capture_output=True, text=True, check=True).stdout.split()
    return float(line[1]), float(line[2]), int(line[3]), float(line[4])


def warm(files):
    for name in files:
        with open(name, "rb") as f:
            while f.read(1 << 20):
                pass


def stall(browser, helpers, folder, query):
    """Longest _NET_WM_PING round trip (ms) while the window searches for query, and the median."""
    process = subprocess.Popen([browser, folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = None
        for _ in range(200):
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^TWK Logs - "],
                                   capture_output=True, text=True).stdout.split()
            if found:
                window = found[0]
                break
            time.sleep(0.05)
        if not window:
            raise RuntimeError("the browser's window did not show")
        time.sleep(4)  # the first listing of every entry runs its course
        probe = subprocess.Popen([os.path.join(helpers, "desktop", "ping_probe"), window], stdout=subprocess.PIPE,
                                 text=True)
        time.sleep(0.5)
        subprocess.run(["xdotool", "windowfocus", "--sync", window])
        subprocess.run(["xdotool", "type", "--delay", "80", query])  # each key starts the search anew
        time.sleep(6)
        probe.terminate()
        out = probe.communicate(timeout=10)[0].split("\n")
        times = [int(line.split()[1]) / 1000 for line in out if line.strip()]
        return max(times), statistics.median(times), len(times)
    finally:
        process.kill()
        process.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--browser", required=True)
    parser.add_argument("--helpers", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--repeats", type=int, default=5)
    args = parser.parse_args()
    sets = [("continuous log, 1,000,000 entries", os.path.join(args.data, "continuous")),
            ("files per day, 1 GB", os.path.join(args.data, "perday"))]
    print("| measure | %s |" % " | ".join(name for name, _ in sets))
    print("|---|" + "---:|" * len(sets))
    rows = {}

    def add(measure, index, value):
        rows.setdefault(measure, ["", ""])[index] = value

    for index, (_, folder) in enumerate(sets):
        files = sorted(glob.glob(os.path.join(folder, "*.txt")))
        size = sum(os.path.getsize(f) for f in files)
        add("logs: files, size", index, "%d, %.0f MB" % (len(files), size / 1e6))
        warm(files)
        first, last, count, peak = search_bench(args.helpers, folder, args.repeats, "")
        add("open: first row of the newest entries", index, "%.0f ms" % first)
        add("every entry listed and counted", index, "%.0f ms (%d entries)" % (last, count))
        for label, query, regex in (("rare word", RARE, False), ("common word", COMMON, False),
                                    ("expression, rare", REGEX, True)):
            first, last, count, peak_query = search_bench(args.helpers, folder, args.repeats, query, regex)
            peak = max(peak, peak_query)
            add("%s: first result / last (matches)" % label, index, "%.0f / %.0f ms (%d)" % (first, last, count))
        add("peak memory of the search (VmHWM)", index, "%.0f MB" % peak)
        for label, query in (("rare word", RARE), ("common word", COMMON)):
            seconds, memory = median_timed([args.browser, "--search", query, folder], args.repeats)
            add("twk3-logs --search, %s: whole run (peak memory)" % label, index,
                "%.0f ms (%.0f MB)" % (seconds * 1000, memory))
            grep_seconds, _ = median_timed(["grep", "-c", query] + files, args.repeats)
            add("grep -c, %s" % label, index, "%.0f ms" % (grep_seconds * 1000))
            grep_seconds, _ = median_timed(["grep", "-ci", query] + files, args.repeats)
            add("grep -ci, %s" % label, index, "%.0f ms" % (grep_seconds * 1000))
    longest, typical, count = stall(args.browser, args.helpers, sets[1][1], COMMON)
    add("window: longest stall while searching (median)", 1, "%.0f ms (%.1f ms, %d pings)" % (longest, typical, count))
    for measure, values in rows.items():
        print("| %s | %s |" % (measure, " | ".join(values)))
    sys.stdout.flush()


if __name__ == "__main__":
    main()
