"""Measures the real program on headless Wayland desktops (sway and KWin, the
clipboard through data-control) and prints a Markdown table: the time from a
Wayland application's copy (wl-copy, a Wayland window holding the keyboard) to
its entry in the log, and the program's wakeups while nothing changes.

  wayland_bench.py --program PATH [--copies N] [--idle-seconds S]

Every program runs under `timeout`; each session, and everything it started, is
ended when its row is measured.
"""

import argparse
import os
import random
import shutil
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from program_case import ini_with  # noqa: E402 (found through the path above)
from wayland_session import Session  # noqa: E402
from x11util import wait_closely  # noqa: E402


def skip(reason):
    raise RuntimeError(reason)


def measure(kind, program, copies, idle_seconds):
    session = Session(kind, skip)
    folder = tempfile.mkdtemp(prefix="twk-wl-bench-")
    try:
        session.start()
        for name in ("twk3", "twk3-keeper-wayland"):
            shutil.copy(os.path.join(os.path.dirname(program), name), folder)
        log = os.path.join(folder, "twk.txt")
        with open(os.path.join(folder, "twk3.ini"), "wb") as f:
            f.write(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\nAUTOCLEAR=0\r\n" % folder).encode())
        session.give(folder)
        started = session.popen(["timeout", "600", os.path.join(folder, "twk3")])
        wait_closely(lambda: session.run(["xdotool", "search", "--onlyvisible", "--class", "twk3"]).stdout, 30,
                     "the viewer")
        session.popen(["weston-clickdot"])
        time.sleep(3)

        def logged(text):
            if not os.path.exists(log):
                return False
            with open(log, "rb") as f:
                return ("TEXT=%s\r\n" % text).encode() in f.read()

        latencies = []
        for n in range(copies):
            # At any moment of the beat: the program dozes between changes.
            time.sleep(1 + random.random())
            text = "copy %d of the %s run" % (n, kind)
            copied = time.monotonic()
            session.popen(["wl-copy", "--foreground", text])
            wait_closely(lambda: logged(text), 30, "the capture")
            latencies.append(time.monotonic() - copied)
        time.sleep(3)
        pid = int(session.run(["pgrep", "-x", "-s", str(started.pid), "twk3"]).stdout.split()[0])

        def wakeups():
            with open("/proc/%d/status" % pid) as f:
                return sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)

        before = wakeups()
        time.sleep(idle_seconds)
        return latencies, wakeups() - before
    finally:
        session.stop()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--copies", type=int, default=10)
    parser.add_argument("--idle-seconds", type=float, default=10)
    arguments = parser.parse_args()
    print("| desktop | copy to log, median (min-max) over %d copies, Frequency 1 | wakeups in %g s idle |"
          % (arguments.copies, arguments.idle_seconds))
    print("|---|---|---|")
    for kind in ("sway", "kwin"):
        try:
            latencies, wakeups = measure(kind, arguments.program, arguments.copies, arguments.idle_seconds)
        except RuntimeError as reason:
            print("| %s | not measured: %s | |" % (kind, reason))
            continue
        print("| %s | %.2f s (%.2f-%.2f) | %d |" % (kind, statistics.median(latencies), min(latencies), max(latencies),
                                                    wakeups), flush=True)


if __name__ == "__main__":
    main()
