"""End-to-end tests of the Windows program's clipboard under Wine: the owners'
marks that keep a text out of any history, copies made faster than the polling
beat, and a huge text read without freezing the interface. The desktop, the
prefix and the probe are windows_test's."""

import os
import re
import subprocess
import sys
import time
import unittest

import x11util
from windows_test import Wine, WAIT

PING_SECONDS = 60

MARKERS = [
    ("Clipboard Viewer Ignore", "-"),
    ("ExcludeClipboardContentFromMonitorProcessing", "-"),
    ("CanIncludeInClipboardHistory", "0"),
    ("CanUploadToCloudClipboard", "0"),
]


class WineClipboard(Wine):
    ENCODING = "utf-8"

    def entries(self, name="twk.txt"):
        """The TEXT values of a continuous log, in order."""
        if not os.path.exists(self.path(name)):
            return []
        return re.findall(rb"\r\nTEXT=(.*?)\r\n", self.read(name))

    def probe_bytes(self, *arguments):
        if not os.path.exists(self.path("probe.exe")):
            self.skipTest("TWK3_PROBE does not name the built probe.exe")
        result = subprocess.run(["timeout", "120", self.loader, "probe.exe", *arguments], cwd=self.folder,
                                env=self.env, capture_output=True)
        self.assertEqual(result.returncode, 0, "probe " + " ".join(arguments))
        return result.stdout

    def own(self, *arguments):
        """Runs the probe as the clipboard's owner until another program takes it."""
        if not os.path.exists(self.path("probe.exe")):
            self.skipTest("TWK3_PROBE does not name the built probe.exe")
        owner = subprocess.Popen(["timeout", "200", self.loader, "probe.exe", *arguments], cwd=self.folder,
                                 env=self.env, stdout=subprocess.PIPE)
        self.processes.append(owner)
        self.assertEqual(owner.stdout.readline().strip(), b"owned", "probe " + " ".join(arguments))
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
        self.wine()
        self.set_clipboard("start")
        self.logged("start\r\n")
        for spacing in (25, 100, 500):
            with self.subTest(spacing=spacing):
                before = len(self.entries())
                prefix = "%d ms apart, copy " % spacing
                texts = [(prefix + str(i)).encode() for i in range(1, 101)]
                owner = self.own("copies", "100", str(spacing), prefix)
                x11util.wait_for(lambda: self.entries()[-1:] == texts[-1:], WAIT + 60, "the last copy")
                time.sleep(2)  # a tick more: nothing else comes
                logged = self.entries()[before:]
                # In the order copied, each once, and the last one put back.
                self.assertEqual(logged, [t for t in texts if t in logged])
                self.wait_for(lambda: self.shown()[0] == texts[-1].decode(), what="the last copy on the clipboard")
                owner.wait(timeout=WAIT)
                # A copy is lost only when the next replaces it before it can be read: on a
                # loaded machine that can happen 25 ms apart, never at the polling beat's tenth.
                if spacing >= 100:
                    self.assertEqual(logged, texts)
                else:
                    print("%d ms apart: %d of 100 logged" % (spacing, len(logged)), file=sys.stderr)

    def test_a_100_mb_copy_is_logged_whole_and_the_interface_never_stalls_long(self):
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        self.wine()
        self.set_clipboard("small first")
        self.logged("small first\r\n")
        line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ \u00e9\u00e8 \u041f\u0440\u0438\r\n"
        huge = (line * (100 * 1024 * 1024 // len(line.encode("utf-8")))).encode("utf-8")
        with open(self.path("huge.txt"), "wb") as f:
            f.write(huge)
        # WM_NULL round trips to the program's window every 20 ms, from before the copy
        # until well after it is logged.
        pinger = subprocess.Popen(["timeout", "300", self.loader, "probe.exe", "ping", str(PING_SECONDS)],
                                  cwd=self.folder, env=self.env, stdout=subprocess.PIPE)
        self.processes.append(pinger)
        time.sleep(3)
        started = time.monotonic()
        self.own("hold", "huge.txt")
        x11util.wait_for(lambda: os.path.getsize(self.path("twk.txt")) > len(huge), max(WAIT, PING_SECONDS),
                         "the huge capture")
        took = time.monotonic() - started
        out, _ = pinger.communicate(timeout=300)
        pings, longest = map(int, re.match(rb"pings (\d+) longest (\d+)", out).groups())
        print("100 MB copy: logged %.1f s after the copy; %d pings, the longest took %d ms" % (took, pings, longest),
              file=sys.stderr)
        self.assertEqual(self.read("twk.txt").count(huge), 1)
        self.assertGreater(pings, PING_SECONDS * 2, "the program answered throughout")
        self.assertLess(longest, 5000, "the interface stalled")


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
