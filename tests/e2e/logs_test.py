"""End-to-end tests of the log browser, twk3-logs: its real window under an X
display, searched by typing with xdotool, its copies read back with xclip, and
opened from the program's tray menu."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import x11util
from program_case import ProgramCase

PROGRAM = os.environ.get("TWK3_PROGRAM", "")
LOGS = os.environ.get("TWK3_LOGS", "")
KEEPER = os.environ.get("TWK3_KEEPER", "")


def entry(stamp, text):
    return "[%s]\r\nTEXT=%s\r\n" % (stamp, text)


class LogBrowser(ProgramCase):
    ENCODING = "utf-8"
    WAIT = 20.0

    def setUp(self):
        if not os.environ.get("DISPLAY"):
            self.skipTest("no X display: run the tests through scripts/test.sh, which starts Xvfb")
        if not LOGS or not os.path.exists(LOGS):
            self.skipTest("TWK3_LOGS does not name the built log browser")
        self.folder = tempfile.mkdtemp(prefix="twk-logs-e2e-")
        self.folder_line = self.folder + "/"
        self.runtime = tempfile.mkdtemp(prefix="twk-run-")
        self.browser = self.path("twk3-logs")
        shutil.copy(LOGS, self.browser)
        if KEEPER:
            shutil.copy(KEEPER, self.path("twk3-keeper"))
        self.processes = []
        self.set_clipboard("")
        self.start_window_manager()

    def tearDown(self):
        # Browsers the program started are its children, not ours: end them by their windows.
        for window in self.browsers():
            pid = self.x(["xdotool", "getwindowpid", window]).strip()
            if pid.isdigit():
                try:
                    os.kill(int(pid), 9)
                except ProcessLookupError:
                    pass
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait(timeout=10)
        shutil.rmtree(self.folder, ignore_errors=True)
        shutil.rmtree(self.runtime, ignore_errors=True)

    def write(self, name, content):
        with open(self.path(name), "wb") as f:
            f.write(content.encode("utf-8") if isinstance(content, str) else content)

    def append(self, name, content):
        with open(self.path(name), "ab") as f:
            f.write(content.encode("utf-8"))

    def browsers(self):
        """The browser's visible windows: "TWK Logs - " and the folder."""
        return self.x(["xdotool", "search", "--onlyvisible", "--name", "^TWK Logs - "]).split()

    def open_browser(self, *arguments):
        process = subprocess.Popen([self.browser, *arguments], env=dict(os.environ, XDG_RUNTIME_DIR=self.runtime),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        window = self.wait_for(self.browsers, what="the log browser's window")[0]
        self.x(["xdotool", "windowactivate", "--sync", window])
        return process, window

    def search(self, window, text):
        """Types into the search box, which has the focus when the window opens."""
        self.x(["xdotool", "windowactivate", "--sync", window])
        self.x(["xdotool", "key", "ctrl+a", "BackSpace"])
        if text:
            self.x(["xdotool", "type", "--delay", "20", text])

    def copied_on_enter(self, window, expected, what, tries=None):
        """Presses Enter until the clipboard serves expected: the matches come as they are found."""
        def copied():
            self.x(["xdotool", "windowactivate", "--sync", window])
            self.x(["xdotool", "key", "Return"])
            time.sleep(0.2)
            return self.clipboard() == expected

        if tries == 1:
            return copied()
        return self.wait_for(copied, what=what)

    def test_every_scheme_searched_newest_first_and_copied_back(self):
        self.write("twk.txt", entry("20261201090000", "continuous apple") +
                   entry("20261203090000", "two lines of apple\r\nsecond line"))
        self.write("20261202.txt", entry("20261202090000", "apple of the day"))
        self.write("20261204_090000.txt", "[LogEntry]\r\nTEXT=per copy apple\r\n")
        self.write("twkurl.txt", "[20261205]\r\n090000=http://apple.example/link\r\n")
        self.write("u20261206.txt", "[09]\r\n0000=http://pear.example/newest\r\n")
        process, window = self.open_browser(self.folder)
        # The newest entry of all, whatever log holds it, comes first.
        self.copied_on_enter(window, "http://pear.example/newest", "the newest entry copied")
        self.search(window, "APPLE")
        self.copied_on_enter(window, "http://apple.example/link", "the newest apple copied")
        self.search(window, "second LINE")
        self.copied_on_enter(window, "two lines of apple\nsecond line", "a text of two lines copied as copied")
        self.search(window, "per\\s+copy")
        self.x(["xdotool", "key", "alt+x"])  # the regular expression box
        self.copied_on_enter(window, "per copy apple", "a match of an expression")
        # Closed, it leaves the entry copied last on the clipboard.
        self.x(["xdotool", "windowactivate", "--sync", window, "key", "alt+F4"])
        self.assertEqual(process.wait(timeout=self.WAIT), 0)
        self.assertEqual(self.clipboard(), "per copy apple")

    def test_an_appended_entry_appears_without_a_restart(self):
        self.write("20261205.txt", entry("20261205090000", "already there"))
        process, window = self.open_browser(self.path("20261205.txt"))
        self.copied_on_enter(window, "already there", "the first entry")
        self.search(window, "fresh")
        # Written meanwhile, as the program appends a capture.
        self.append("20261205.txt", entry("20261205090500", "fresh from the clipboard"))
        self.copied_on_enter(window, "fresh from the clipboard", "the appended entry")
        # A new file per copy appears as well, on top: the list's first row is then its entry.
        self.write("20261206_080000.txt", "[LogEntry]\r\nTEXT=fresh copy\r\n")

        def on_top():
            self.x(["xdotool", "key", "Prior"])
            return self.copied_on_enter(window, "fresh copy", "the new file's entry", tries=1)

        self.wait_for(on_top, what="the new file's entry on top")
        self.assertIsNone(process.poll())

    def test_past_the_rows_listed_a_note_that_copies_nothing(self):
        # One entry more than the list keeps: the oldest is counted, not listed.
        self.write("twk.txt", "".join(entry("202601%02d%02d%02d%02d" % (1 + i // 86400, i // 3600 % 24, i // 60 % 60,
                                                                       i % 60), "entry %d" % i) for i in range(200001)))
        process, window = self.open_browser(self.folder)
        self.copied_on_enter(window, "entry 200000", "the newest entry")
        self.x(["xdotool", "key", "Tab", "Tab"])  # from the search box past the check box to the list

        def last_listed():
            self.x(["xdotool", "key", "ctrl+End", "Up"])  # the row above the note's
            return self.copied_on_enter(window, "entry 1", "the oldest entry listed", tries=1)

        self.wait_for(last_listed, what="the oldest entry listed above the note")
        self.x(["xdotool", "key", "Down"])
        self.set_clipboard("untouched")
        self.x(["xdotool", "key", "Return"])
        time.sleep(0.3)
        self.assertEqual(self.clipboard(), "untouched")
        self.assertIsNone(process.poll())

    def test_damaged_and_hand_edited_logs_show_what_can_be_read(self):
        self.write("twk.txt", b"\xef\xbb\xbf" + entry("20261201090000", "after a mark").encode())
        self.write("20261202.txt", "garbage line\r\n=\r\n[[[\r\n" + entry("20261202090000", "between garbage") +
                   "no key here\r\n" + "[20261202100000]\r\nTEXT=half writ")
        self.write("20261203.txt", "\ufeff" + entry("20261203090000", "saved as utf-16 \u00e9t\u00e9"))
        with open(self.path("20261203.txt"), "wb") as f:
            f.write(("\ufeff" + entry("20261203090000", "saved as utf-16 \u00e9t\u00e9")).encode("utf-16-le"))
        self.write("20261204.txt", bytes(range(256)) * 64)
        process, window = self.open_browser(self.folder)
        for query, text in (("mark", "after a mark"), ("between", "between garbage\r\nno key here".replace("\r", "")),
                            ("half", "half writ"), ("\u00c9T\u00c9", "saved as utf-16 \u00e9t\u00e9")):
            self.search(window, query)
            self.copied_on_enter(window, text, "the entry holding " + query)
        self.assertIsNone(process.poll())

    def test_view_logs_opens_the_browser_on_the_current_log(self):
        if not PROGRAM or not os.path.exists(PROGRAM):
            self.skipTest("TWK3_PROGRAM does not name the built program")
        self.start_tray()
        shutil.copy(PROGRAM, self.path("twk3"))
        program = subprocess.Popen([self.path("twk3")], cwd="/", env=dict(os.environ, XDG_RUNTIME_DIR=self.runtime),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(program)
        # A first run beside the browser makes it the log viewer.
        self.dismiss("Tarnwick 3.0")
        self.assertIn("LOGVIEWER=%s\r\n" % self.browser, self.text("twk3.ini"))
        self.set_clipboard("captured for the browser")
        self.wait_for(lambda: any(self.file_holds(name, "TEXT=captured for the browser")
                                  for name in os.listdir(self.folder) if name.endswith(".txt")),
                      what="the capture in the day's log")

        def icons():
            found = self.x(["xdotool", "search", "--class", "twk3"]).split()
            return [w for w in found if self.x(["xdotool", "getwindowname", w]).strip() == "twk3"]

        icon = self.wait_for(icons, what="the tray icon")[0]

        def browser_open():
            # The menu may miss a key while it opens: choose again, after giving the browser time to show.
            self.x(["xdotool", "mousemove", "--window", icon, "10", "10", "click", "3"])
            time.sleep(0.5)
            self.x(["xdotool", "key", "l"])
            time.sleep(0.3)
            self.x(["xdotool", "key", "c"])
            try:
                return x11util.wait_for(self.browsers, 5, "the browser")
            except x11util.TimedOut:
                return None

        window = self.wait_for(browser_open, what="the browser opened from View Logs")[0]
        self.set_clipboard("")
        self.copied_on_enter(window, "captured for the browser", "the current log's entry copied")


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
