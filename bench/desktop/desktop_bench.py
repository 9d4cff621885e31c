"""Measures the real program (and CopyQ, where installed) on a private X
display and prints a Markdown table. Started by bench/desktop/run.sh, which
builds what it needs and passes the paths:

  desktop_bench.py --program PATH --helpers DIR --display :N [--idle-seconds S] [--repeats N]

Every program runs under `timeout`; the display, the programs and the owners
it starts are ended by their ids when it finishes.
"""

import argparse
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from x11util import wait_closely as wait_for  # noqa: E402 (found through the path above)

GENEROUS = 180  # seconds: the longest any one program run may take


def log(message):
    print("# " + message, file=sys.stderr, flush=True)


def child_of(pid, timeout=10):
    """The program that `timeout` started: its only child."""
    def find():
        try:
            with open("/proc/%d/task/%d/children" % (pid, pid)) as f:
                children = f.read().split()
        except OSError:
            return None
        return int(children[0]) if children else None
    return wait_for(find, timeout, "the program under timeout to start")


def descendants(pid):
    """pid and every process below it, found through /proc's children lists."""
    found, queue = [], [pid]
    while queue:
        current = queue.pop()
        found.append(current)
        try:
            for task in os.listdir("/proc/%d/task" % current):
                with open("/proc/%d/task/%s/children" % (current, task)) as f:
                    queue.extend(int(c) for c in f.read().split())
        except OSError:
            pass
    return found


def usage(pids):
    """(CPU seconds, context switches) summed over every thread of the given processes.
    CPU is the scheduler's run time (ns); /proc/PID/stat's utime+stime count 10 ms ticks,
    too coarse for an idle program, so they only add the time of children already reaped."""
    cpu, switches = 0.0, 0
    for pid in pids:
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            cpu += (int(fields[13]) + int(fields[14])) / os.sysconf("SC_CLK_TCK")  # cutime, cstime
            for task in os.listdir("/proc/%d/task" % pid):
                with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                    cpu += int(f.read().split()[0]) / 1e9
                with open("/proc/%d/task/%s/status" % (pid, task)) as f:
                    for line in f:
                        if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                            switches += int(line.split()[1])
        except (OSError, IndexError):
            pass
    return cpu, switches


def peak_memory_mb(pids):
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/status" % pid) as f:
                for line in f:
                    if line.startswith("VmHWM:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total / 1024


class Owner:
    """A clipboard owner that counts what is asked of it (clipboard_owner)."""

    def __init__(self, helpers, size, tag, keep=False):
        command = ["timeout", str(GENEROUS), os.path.join(helpers, "clipboard_owner"), "--bytes", str(size),
                   "--tag", tag]
        if keep:
            command.append("--keep")
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.events = []
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        self.owned_at = wait_for(lambda: self.first("owned"), 60, "the owner to take the clipboard")[1] / 1e9

    def _read(self):
        for line in self.process.stdout:
            with self.lock:
                self.events.append(line.split())

    def _copy(self):
        with self.lock:
            return list(self.events)

    def first(self, kind):
        for event in self._copy():
            if event[0] == kind:
                return [event[0]] + [int(x) if x.isdigit() else x for x in event[1:]]
        return None

    def count(self, kind, text_only=True):
        return sum(1 for e in self._copy() if e[0] == kind and (not text_only or e[1] not in ("TARGETS", "TIMESTAMP")))

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def clear_clipboard(helpers):
    """Leaves the clipboard owned by nobody: an owner takes it and ends."""
    Owner(helpers, 1, "nobody").stop()
    time.sleep(0.2)


class PingProbe:
    """Times _NET_WM_PING round trips to one window (ping_probe)."""

    def __init__(self, helpers, window):
        self.process = subprocess.Popen(["timeout", str(GENEROUS), os.path.join(helpers, "ping_probe"), str(window)],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)

    def longest_ms(self):
        self.process.send_signal(signal.SIGTERM)
        output, _ = self.process.communicate(timeout=10)
        times = [int(line.split()[1]) for line in output.splitlines() if len(line.split()) == 2]
        return max(times) / 1000 if times else float("nan")


def windows_of(pid):
    found = subprocess.run(["xdotool", "search", "--pid", str(pid)], capture_output=True, text=True)
    return found.stdout.split()


def answers_ping(window):
    protocols = subprocess.run(["xprop", "-id", window, "WM_PROTOCOLS"], capture_output=True, text=True).stdout
    return "_NET_WM_PING" in protocols


class Program:
    """One run of a program under test: start, measure, stop."""

    name = ""

    def stop(self):
        if self.runner.poll() is None:
            self.runner.send_signal(signal.SIGTERM)
        try:
            self.runner.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.runner.kill()
            self.runner.wait()

    def processes(self):
        return descendants(self.pid)

    def ping_window(self):
        return wait_for(lambda: next((w for w in windows_of(self.pid) if answers_ping(w)), None), 20,
                        "a window of %s that answers pings" % self.name)


class Twk(Program):
    name = "TWK"

    def __init__(self, binary, root, settings):
        self.folder = tempfile.mkdtemp(prefix="twk-", dir=root)
        self.program = os.path.join(self.folder, "twk3")
        shutil.copy(binary, self.program)
        # The helper that keeps the text on the clipboard after the program ends goes beside it.
        keeper = os.path.join(os.path.dirname(binary), "twk3-keeper")
        if os.path.exists(keeper):
            shutil.copy(keeper, os.path.join(self.folder, "twk3-keeper"))
        # A new user's settings, but no beep, no welcome, and one continuous log.
        main = {"FIRSTRUN": "9", "ON": "1", "BEEPON": "0", "FREQUENCY": "1", "JS": "1", "AUTOCLEAR": "0",
                "XYPOS": "0", "PAC": "0", "AM": "0", "ASAF": "1", "AUTOOOPENVIEWERS": "0", "HITNRUN": "0",
                "AUTOSAVE": "1", "SAVETYPE": "1", "SAVEDFILEPATH": self.folder + "/",
                "AMLFPATH": self.folder + "/appendfile.txt"}
        main.update(settings)
        ini = "[TWK]\r\n" + "".join("%s=%s\r\n" % kv for kv in main.items())
        ini += "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\n"
        ini += "linkcatcherSAVEDFILEPATH=%s/\r\n" % self.folder
        with open(os.path.join(self.folder, "twk3.ini"), "wb") as f:
            f.write(ini.encode())
        self.log = os.path.join(self.folder, "twk.txt")

    def start(self, argument=None, find_pid=True):
        self.started = time.monotonic()
        self.runner = subprocess.Popen(["timeout", str(GENEROUS), self.program] + ([argument] if argument else []),
                                       cwd="/", stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Found by asking /proc every 100 ms: a run timed from start to exit leaves it out.
        self.pid = child_of(self.runner.pid) if find_pid else None
        return self

    def ready(self):
        self.window = wait_for(lambda: next((w for w in windows_of(self.pid) if answers_ping(w)), None), 30,
                               "the program's windows")
        time.sleep(1.5)  # the first ticks and the windows' placement
        return self

    def logged(self, tag):
        """True once the log's last entry ends with the text's last line."""
        try:
            size = os.path.getsize(self.log)
            with open(self.log, "rb") as f:
                f.seek(max(0, size - 256))
                return ("end of " + tag).encode() in f.read()
        except OSError:
            return False

    def wait_captured(self, owner, tag, timeout=GENEROUS):
        wait_for(lambda: self.logged(tag), timeout, "the log to hold " + tag)
        return time.monotonic()

    def texts_kept(self, prefix):
        """The logged texts that start with prefix, in the log's order."""
        try:
            with open(self.log, "rb") as f:
                log_text = f.read().decode("utf-8", "replace")
        except OSError:
            return []
        return [t for t in re.findall(r"\r\nTEXT=(.*?)\r\n", log_text) if t.startswith(prefix + " ")]


class CopyQ(Program):
    name = "CopyQ"

    def __init__(self, root):
        home = tempfile.mkdtemp(prefix="copyq-", dir=root)
        runtime = os.path.join(home, "run")
        os.mkdir(runtime, 0o700)
        self.environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                                XDG_DATA_HOME=os.path.join(home, "data"), XDG_CACHE_HOME=os.path.join(home, "cache"),
                                XDG_RUNTIME_DIR=runtime)

    def command(self, *arguments):
        subprocess.run(["timeout", "20", "copyq", "-s", "twkbench", *arguments], env=self.environment,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self):
        self.runner = subprocess.Popen(["timeout", str(GENEROUS), "copyq", "-s", "twkbench"], env=self.environment,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pid = child_of(self.runner.pid)
        return self

    def ready(self):
        # Its main window is made on first show; made and hidden, it answers pings.
        time.sleep(1)
        self.command("show")
        self.command("hide")
        self.window = self.ping_window()
        time.sleep(1.5)
        return self

    def texts_kept(self, prefix):
        """The items of its history that start with prefix, oldest first."""
        result = subprocess.run(["timeout", "20", "copyq", "-s", "twkbench", "separator", "\n", "read",
                                 *[str(i) for i in range(300)]], env=self.environment, capture_output=True)
        items = result.stdout.decode("utf-8", "replace").split("\n")
        return [t for t in reversed(items) if t.startswith(prefix + " ")]

    def wait_captured(self, owner, tag, timeout=GENEROUS):
        """CopyQ keeps no log: the time its read of the text finished, at the owner."""
        served = wait_for(lambda: owner.first("served"), timeout, "CopyQ to read the text")
        time.sleep(0.5)
        return served[-1] / 1e9


BURST_OWNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e",
                           "burst_owner.py")


def burst(prefix, count, spacing_ms, owners):
    """Owner processes that copy "prefix 0" .. "prefix count-1" in turn, one every spacing_ms."""
    start = time.time() + 1.0
    for offset in range(owners):
        subprocess.Popen([sys.executable, BURST_OWNER, "--start", str(start), "--spacing", str(spacing_ms), "--count",
                          str(count), "--every", str(owners), "--offset", str(offset), prefix],
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return ["%s %d" % (prefix, i) for i in range(count)]


def clipboard_text():
    result = subprocess.run(["timeout", "10", "xclip", "-selection", "clipboard", "-o"], capture_output=True)
    return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None


def write_continuous_log(path, sections):
    """A continuous log as the program writes it: a section per capture, named by its second, with
    a text of a line or two. Its size in bytes."""
    first = time.time() - 2 * 365 * 86400  # long past, so a new capture's name is free
    size = 0
    with open(path, "wb") as f:
        for start in range(0, sections, 10_000):
            chunk = []
            for n in range(start, min(sections, start + 10_000)):
                stamp = time.strftime("%Y%m%d%H%M%S", time.localtime(first + 7 * n))
                text = "https://example.org/articles/%d?ref=clipboard" % n
                if n % 3 == 0:
                    text += "\r\nand a second line of copied words"
                chunk.append("[%s]\r\nTEXT=%s\r\n" % (stamp, text))
            data = "".join(chunk).encode()
            f.write(data)
            size += len(data)
    os.chmod(path, 0o600)
    return size


def median(values):
    values = [v for v in values if v == v]  # a failed measurement is NaN
    return statistics.median(values) if values else float("nan")


class Bench:
    def __init__(self, options):
        self.options = options
        self.root = tempfile.mkdtemp(prefix="twk-desktop-bench-")
        self.results = {}

    def programs(self):
        yield "TWK", lambda settings=None: Twk(self.options.program, self.root, settings or {})
        if shutil.which("copyq"):
            yield "CopyQ", lambda settings=None: CopyQ(self.root)

    def record(self, row, program, value):
        self.results.setdefault(row, {})[program] = value

    def idle(self):
        seconds = self.options.idle_seconds
        for name, make in self.programs():
            for label, size in (("empty clipboard", 0), ("1 MB held by another program", 1_000_000),
                                ("30 MB held by another program", 30_000_000)):
                clear_clipboard(self.options.helpers)
                owner = Owner(self.options.helpers, size, "idle", keep=True) if size else None
                program = make().start()
                try:
                    program.ready()
                    if owner:
                        program.wait_captured(owner, "idle")
                        time.sleep(3)  # the text put back, taken back by its owner, and read once more
                    cpu, wakeups = [], []
                    for _ in range(self.options.repeats):
                        before = usage(program.processes())
                        time.sleep(seconds)
                        after = usage(program.processes())
                        cpu.append((after[0] - before[0]) * 60 / seconds * 1000)
                        wakeups.append((after[1] - before[1]) * 60 / seconds)
                finally:
                    program.stop()
                    if owner:
                        owner.stop()
                log("%s idle, %s: %.1f ms CPU/min, %.0f wakeups/min" % (name, label, median(cpu), median(wakeups)))
                self.record("idle CPU per minute, " + label, name, "%.1f ms" % median(cpu))
                self.record("wakeups per idle minute, " + label, name, "%.0f" % median(wakeups))

    def captures(self):
        for name, make in self.programs():
            clear_clipboard(self.options.helpers)
            program = make().start()
            transfers, probes, latencies = [], [], []
            try:
                program.ready()
                for n in range(self.options.repeats):
                    tag = "capture%d" % n
                    owner = Owner(self.options.helpers, 1000, tag)
                    done = program.wait_captured(owner, tag, timeout=30)
                    latencies.append((done - owner.owned_at) * 1000)
                    time.sleep(2.5)  # later ticks may ask again
                    transfers.append(owner.count("served"))
                    probes.append(owner.count("request", text_only=False) - owner.count("request"))
                    owner.stop()
            finally:
                program.stop()
            log("%s captures: transfers %s, other requests %s, latency %s" % (name, transfers, probes, latencies))
            self.record("text transfers per capture (at the owner)", name, "%g" % median(transfers))
            self.record("other requests per capture (TARGETS, TIMESTAMP)", name, "%g" % median(probes))
            self.record("time from copy to log (CopyQ: to its read)", name, "%.0f ms" % median(latencies))

    def bursts(self):
        """100 distinct texts copied one after another at each spacing: how many of them each
        program keeps, in order and once each."""
        for name, make in self.programs():
            for frequency, owners in ((1, 1), (1, 3), (5, 1), (5, 3)) if name == "TWK" else ((None, 1),):
                for spacing in self.options.spacings:
                    clear_clipboard(self.options.helpers)
                    program = make({"FREQUENCY": str(frequency)} if frequency else None).start()
                    try:
                        program.ready()
                        prefix = "b%d_%d_%d" % (frequency or 0, owners, spacing)
                        texts = burst(prefix, 100, spacing, owners)
                        # Until every text is kept, or two beats after the last copy: a loaded
                        # machine may delay a tick, and a fixed wait would count that as a loss.
                        deadline = time.monotonic() + 1.0 + 100 * spacing / 1000 + 2 * (frequency or 1) + 3
                        kept = program.texts_kept(prefix)
                        while len(kept) < len(texts) and time.monotonic() < deadline:
                            time.sleep(0.5)
                            kept = program.texts_kept(prefix)
                        in_order = [t for t in texts if t in kept] == kept
                        ends_with = clipboard_text() == texts[-1]
                    finally:
                        program.stop()
                    log("%s bursts F%s, %d owners, %d ms: %d kept, in order %s, last on the clipboard %s" %
                        (name, frequency, owners, spacing, len(kept), in_order, ends_with))
                    row = "100 copies %d ms apart, %s: kept, in order" % (
                        spacing, "one owner" if owners == 1 else "three owners")
                    column = name if not frequency else "%s Frequency %d" % (name, frequency)
                    self.record(row, column, "%d%s%s" % (len(set(kept)), "" if in_order and len(set(kept)) ==
                                                          len(kept) else " (out of order or twice)",
                                                          "" if ends_with else " (not last on clipboard)"))

    def hit_and_run(self):
        clear_clipboard(self.options.helpers)
        program = Twk(self.options.program, self.root, {"HITNRUN": "1"})
        target = os.path.join(self.root, "xclip-out.txt")
        twk, xclip = [], []
        for n in range(max(5, self.options.repeats)):
            tag = "hit%d" % n
            owner = Owner(self.options.helpers, 1000, tag)
            started = time.monotonic()
            # A blocking wait: Popen.wait with a timeout polls at intervals that grow to 50 ms,
            # which measured the polling instead of the program. `timeout` bounds the run.
            program.start(find_pid=False).runner.wait()
            twk.append((time.monotonic() - started) * 1000)
            if not program.logged(tag):
                log("hit-and-run %d: the text is missing from the log" % n)
                twk[-1] = float("nan")
            owner.stop()
            owner = Owner(self.options.helpers, 1000, tag)
            started = time.monotonic()
            subprocess.run(["timeout", "20", "sh", "-c", 'xclip -selection clipboard -o >> "$0"', target])
            xclip.append((time.monotonic() - started) * 1000)
            owner.stop()
        log("hit-and-run %s, xclip %s" % (twk, xclip))
        self.record("hit-and-run: start to exit", "TWK", "%.0f ms" % median(twk))
        self.record("hit-and-run: start to exit", "xclip -o >> file", "%.0f ms" % median(xclip))

    def hit_and_run_sizes(self):
        """Hit-and-run against continuous logs of 1,000 and 1,000,000 sections, the two in turn: the time
        from start to exit, and the CPU time the program used (steadier on a loaded machine)."""
        clear_clipboard(self.options.helpers)
        sizes = (1_000, 1_000_000)
        programs, megabytes = {}, {}
        for sections in sizes:
            programs[sections] = Twk(self.options.program, self.root, {"HITNRUN": "1"})
            megabytes[sections] = write_continuous_log(programs[sections].log, sections) / 1e6
        times = {sections: [] for sections in sizes}
        cpu = {sections: [] for sections in sizes}
        for n in range(1 + max(9, self.options.repeats)):  # the first round only warms up
            for sections, program in programs.items():
                tag = "size%d-%d" % (sections, n)
                owner = Owner(self.options.helpers, 1000, tag)
                started = time.monotonic()
                # timeout waits for the program, so its children's usage is the program's.
                _, _, usage = os.wait4(program.start().runner.pid, 0)
                took = (time.monotonic() - started) * 1000
                used = (usage.ru_utime + usage.ru_stime) * 1000
                if not program.logged(tag):
                    log("hit-and-run on %d sections, run %d: the text is missing from the log" % (sections, n))
                    took = used = float("nan")
                owner.stop()
                if n > 0:
                    times[sections].append(took)
                    cpu[sections].append(used)
        log("hit-and-run by log size: times %s, CPU %s" % (times, cpu))
        for sections in sizes:
            size = "%.0f MB" % megabytes[sections] if megabytes[sections] >= 1 else "%.0f KB" % (megabytes[sections] * 1000)
            self.record("hit-and-run, continuous log of {:,} sections ({}): start to exit (CPU)".format(sections, size),
                        "TWK", "%.0f ms (%.0f ms)" % (median(times[sections]), median(cpu[sections])))
        self.record("hit-and-run, 1,000,000 sections against 1,000 (CPU)", "TWK", "%.2fx (%.2fx)" % (
            median(times[sizes[1]]) / median(times[sizes[0]]), median(cpu[sizes[1]]) / median(cpu[sizes[0]])))

    def huge(self):
        size = self.options.huge_mb * 1_000_000
        for name, make in self.programs():
            logged, peaks, stalls = [], [], []
            for n in range(self.options.repeats):
                clear_clipboard(self.options.helpers)
                program = make().start()
                try:
                    program.ready()
                    probe = PingProbe(self.options.helpers, program.window)
                    tag = "huge%d" % n
                    owner = Owner(self.options.helpers, size, tag)
                    try:
                        done = program.wait_captured(owner, tag)
                        logged.append(done - owner.owned_at)
                    except TimeoutError:
                        logged.append(float("inf"))  # shown as more than the bound
                    time.sleep(3)  # whatever the program does after logging counts too
                    stalls.append(probe.longest_ms())
                    peaks.append(peak_memory_mb(program.processes()))
                    owner.stop()
                finally:
                    program.stop()
                log("%s %d MB: %.1f s, %.0f MB peak, %.0f ms longest stall" %
                    (name, self.options.huge_mb, logged[-1], peaks[-1], stalls[-1]))
            mb = self.options.huge_mb
            took = median(logged)
            self.record("%d MB text: time until logged complete (CopyQ: read)" % mb, name,
                        "%.1f s" % took if took != float("inf") else "over %d s" % GENEROUS)
            self.record("%d MB text: peak memory (VmHWM)" % mb, name,
                        "%.0f MB (%.1fx the text)" % (median(peaks), median(peaks) / mb))
            self.record("%d MB text: longest interface stall" % mb, name, "%.0f ms" % median(stalls))

    def append_stall(self):
        """Append mode, the viewer shown: one-line captures after a 300,000-line text."""
        clear_clipboard(self.options.helpers)
        program = Twk(self.options.program, self.root, {"AM": "1", "ASAF": "0", "AUTOOOPENVIEWERS": "1"}).start()
        stalls = []
        try:
            program.ready()
            owner = Owner(self.options.helpers, 300_000 * 73, "long")
            program.wait_captured(owner, "long")
            time.sleep(2)
            owner.stop()
            for n in range(self.options.repeats):
                probe = PingProbe(self.options.helpers, program.window)
                tag = "line%d" % n
                owner = Owner(self.options.helpers, 20, tag)
                program.wait_captured(owner, tag, timeout=60)
                time.sleep(1.5)
                stalls.append(probe.longest_ms())
                owner.stop()
        finally:
            program.stop()
        log("append-mode stalls %s" % stalls)
        self.record("append mode, one-line capture after a 300,000-line text: longest stall", "TWK",
                    "%.0f ms" % median(stalls))

    def table(self):
        columns = []
        for values in self.results.values():
            columns += [c for c in values if c not in columns]
        lines = ["| measure | " + " | ".join(columns) + " |", "|---|" + "---:|" * len(columns)]
        for row, values in self.results.items():
            lines.append("| %s | %s |" % (row, " | ".join(values.get(c, "") for c in columns)))
        return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--helpers", required=True)
    parser.add_argument("--idle-seconds", type=float, default=20)
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--huge-mb", type=int, default=100)
    parser.add_argument("--only", default="idle,captures,bursts,hit_and_run,hit_and_run_sizes,huge,append_stall")
    parser.add_argument("--spacings", default="5,25,100,500", type=lambda v: [int(x) for x in v.split(",")])
    options = parser.parse_args()
    bench = Bench(options)
    try:
        for part in options.only.split(","):
            log("running " + part)
            try:
                getattr(bench, part)()
            except (TimeoutError, subprocess.SubprocessError, OSError) as failure:
                log("%s failed: %s" % (part, failure))
                bench.record(part + " (failed: see the log)", "TWK", "failed")
    finally:
        shutil.rmtree(bench.root, ignore_errors=True)
    print(bench.table())


if __name__ == "__main__":
    main()
