"""End-to-end tests of the Windows program's clipboard under Wine: the owners'
marks that keep a text out of any history, copies made faster than the polling
beat (TWK3_BURST_SPACINGS=5,25,100 TWK3_BURST_FREQUENCY=5 measures others), and a
huge text read without freezing the interface. The desktop, the prefix and the
probe are windows_test's."""

import os
import re
import subprocess
import sys
import time
import unittest

import x11util
from windows_test import Wine, WAIT

PING_SECONDS = 40
SPACINGS = [int(ms) for ms in os.environ.get("TWK3_BURST_SPACINGS", "25,100,500").split(",")]
FREQUENCY = int(os.environ.get("TWK3_BURST_FREQUENCY", "1"))

MARKERS = [
    ("Clipboard Viewer Ignore", "-"),
    ("ExcludeClipboardContentFromMonitorProcessing", "-"),
    ("CanIncludeInClipboardHistory", "0"),
    ("CanUploadToCloudClipboard", "0"),
]


class WineClipboard(Wine):
    ENCODING = "utf-8"

    def entries(self):
        """The TEXT values of the continuous log, in order."""
        return re.findall(rb"\r\nTEXT=(.*?)\r\n", self.read("twk.txt")) if os.path.exists(self.path("twk.txt")) else []

    def probe_started(self, *arguments):
        if not os.path.exists(self.path("probe.exe")):
            self.skipTest("TWK3_PROBE does not name the built probe.exe")
        probe = subprocess.Popen(["timeout", "300", self.loader, "probe.exe", *arguments], cwd=self.folder,
                                 env=self.env, stdout=subprocess.PIPE)
        self.processes.append(probe)
        return probe

    def probe_bytes(self, *arguments):
        probe = self.probe_started(*arguments)
        out, _ = probe.communicate(timeout=300)
        self.assertEqual(probe.returncode, 0, "probe " + " ".join(arguments))
        return out

    def own(self, *arguments):
        """Runs the probe as the clipboard's owner until another program takes it."""
        owner = self.probe_started(*arguments)
        self.assertEqual(owner.stdout.readline().strip(), b"owned", "probe " + " ".join(arguments))
        owner.owned_at = int(owner.stdout.readline().split()[1])  # the system's tick count once copied
        return owner

    def shown(self):
        """The clipboard's Unicode text as a Windows program reads it, and its registered formats."""
        text, _, formats = self.probe_bytes("show").partition(b"\n")
        return text.decode("utf-8"), formats.decode("utf-8").splitlines()

    def test_each_mark_that_keeps_a_text_out_of_histories_keeps_it_out_of_the_log(self):
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        self.wine()
        for index, (name, value) in enumerate(MARKERS):
            with self.subTest(marker=name):
                secret = "secret %d" % index
                self.own("marked", name, value, secret)
                time.sleep(2.5)  # two ticks
                # Neither read nor put back: the owner's content is on the clipboard as it left it.
                text, formats = self.shown()
                self.assertEqual(text, secret)
                self.assertIn(name, formats)
                self.set_clipboard("after %d" % index)
                self.logged("after %d\r\n" % index)
        # A DWORD of 1 allows what Windows' own history does: the value is read, not only its presence.
        for name in ("CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"):
            self.own("marked", name, "1", "allowed by " + name)
            self.logged("allowed by " + name + "\r\n")
        self.assertFalse([e for e in self.entries() if e.startswith(b"secret")], self.entries())

    def test_copies_faster_than_the_beat_are_each_logged_once_in_order(self):
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        self.write_ini(self.text("twk3.ini").replace("FREQUENCY=1\r\n", "FREQUENCY=%d\r\n" % FREQUENCY))
        self.wine()
        self.set_clipboard("start")
        self.logged("start\r\n")
        for spacing in SPACINGS:
            with self.subTest(spacing=spacing):
                before = len(self.entries())
                prefix = "%d ms apart, copy " % spacing
                texts = [(prefix + str(i)).encode() for i in range(1, 101)]
                owner = self.own("copies", "100", str(spacing), prefix)
                x11util.wait_for(lambda: self.entries()[-1:] == texts[-1:], WAIT + 60, "the last copy")
                time.sleep(1 + FREQUENCY)  # a tick more: nothing else comes
                logged = self.entries()[before:]
                print(f"{spacing} ms apart, Frequency {FREQUENCY}: {len(logged)} of 100 logged", file=sys.stderr)
                # In the order copied, each once, and the last one put back.
                self.assertEqual(logged, [t for t in texts if t in logged])
                self.wait_for(lambda: self.shown()[0] == texts[-1].decode(), what="the last copy on the clipboard")
                owner.wait(timeout=WAIT)
                # Each is read when it is announced: only one replaced within a few milliseconds is lost.
                if spacing >= 25:
                    self.assertEqual(logged, texts)

    def test_a_100_mb_copy_is_logged_whole_and_the_interface_never_stalls_long(self):
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        self.wine()
        self.set_clipboard("small first")
        self.logged("small first\r\n")
        line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ \u00e9\u00e8 \u041f\u0440\u0438\r\n"
        huge = (line * (100 * 1024 * 1024 // len(line.encode("utf-8")))).encode("utf-8")
        open(self.path("huge.txt"), "wb").write(huge)
        # WM_NULL round trips to the program's window every 20 ms, from before the copy until well after it is logged.
        pinger = self.probe_started("ping", str(PING_SECONDS))
        time.sleep(3)
        copied = self.own("hold", "huge.txt").owned_at
        started = time.monotonic()
        x11util.wait_for(lambda: os.path.getsize(self.path("twk.txt")) > len(huge), max(WAIT, PING_SECONDS),
                         "the huge capture")
        took, out = time.monotonic() - started, pinger.communicate(timeout=300)[0]
        pings = int(re.search(rb"pings (\d+)", out).group(1))
        # Wine holds up every program while one hands it 100 MB: the program's own stalls are those after the copy.
        stalls = [(int(start), int(ms)) for start, ms in re.findall(rb"stall (\d+) (\d+)", out)]
        longest = max([start + ms - max(start, copied) for start, ms in stalls if start + ms > copied], default=0)
        print("100 MB copy: logged %.1f s after it was made; the longest stall after it %d ms, before %d ms" %
              (took, longest, max([ms for start, ms in stalls if start + ms <= copied], default=0)), file=sys.stderr)
        self.assertEqual(self.read("twk.txt").count(huge), 1)
        self.assertGreater(pings, PING_SECONDS * 2, "the program answered throughout")
        self.assertLess(longest, 4000, "the interface stalled")


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
