"""End-to-end tests: the real program under an X display, driven through the
real X11 clipboard with xclip and through its message boxes with xdotool."""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from program_case import ProgramCase, ini_with

PROGRAM = os.environ.get("TWK3_PROGRAM", "")
KEEPER = os.environ.get("TWK3_KEEPER", "")
OWNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "owner.py")
PLACEMENT = "[frmtotext]\r\nLeft=1500\r\nTop=1500\r\nWidth=6720\r\nHeight=2160\r\nWindowState=%d\r\n"


class Desktop(ProgramCase):
    ENCODING = "utf-8"
    WAIT = 20.0  # seconds: generous for a loaded two-core machine

    def setUp(self):
        if not os.environ.get("DISPLAY"):
            self.skipTest("no X display: run the tests through scripts/test.sh, which starts Xvfb")
        if not PROGRAM or not os.path.exists(PROGRAM):
            self.skipTest("TWK3_PROGRAM does not name the built program")
        self.folder = tempfile.mkdtemp(prefix="twk-e2e-")
        self.folder_line = self.folder + "/"
        self.program = self.path("twk3")
        shutil.copy(PROGRAM, self.program)
        # The user's runtime folder, where a running copy keeps its lock and socket.
        self.runtime = tempfile.mkdtemp(prefix="twk-run-")
        if KEEPER:
            shutil.copy(KEEPER, self.path("twk3-keeper"))
        self.processes = []
        self.set_clipboard("")  # a clipboard owned by nobody we start

    def tearDown(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait(timeout=10)
        shutil.rmtree(self.folder, ignore_errors=True)
        shutil.rmtree(self.runtime, ignore_errors=True)

    def start(self, *arguments, program=None, environment=None):
        environment = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, **(environment or {}))
        process = subprocess.Popen([program or self.program, *arguments], cwd="/", env=environment,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def ends_cleanly(self, process):
        self.assertEqual(process.wait(timeout=self.WAIT), 0)

    def tray_icons(self):
        found = self.x(["xdotool", "search", "--class", "twk3"]).split()
        return [w for w in found if self.x(["xdotool", "getwindowname", w]).strip() == "twk3"]

    def open_tray_menu(self):
        icon = self.wait_for(self.tray_icons, what="the tray icon")[0]
        # No --sync: it waits for a motion that never comes when the pointer is already there.
        # The server handles the move and the click in the order sent.
        self.x(["xdotool", "mousemove", "--window", icon, "10", "10", "click", "3"])

    def press_until(self, key, done, what):
        """Presses a menu's access key until done(): the menu may take a moment to open."""
        def pressed():
            self.x(["xdotool", "key", key])
            return done()

        return self.wait_for(pressed, what=what)

    def exit_from_tray_menu(self, process):
        self.open_tray_menu()
        self.press_until("x", lambda: process.poll() is not None, "the program to end")
        self.assertEqual(process.returncode, 0)

    def open_options(self):
        self.open_tray_menu()
        return self.press_until("o", lambda: self.named("TWK Options"), "the options window")[0]

    def test_first_run_writes_the_defaults_and_welcomes(self):
        process = self.start()
        welcome = self.wait_for(lambda: self.named("Tarnwick 3.0"), what="the welcome box")[0]
        self.assertIn("Icon (", self.x(["xprop", "-id", welcome, "_NET_WM_ICON"]), "the program's own icon is built in")
        self.dismiss("Tarnwick 3.0")
        ini = self.text("twk3.ini")
        for line in ("XYPOS=0", "AMLFPATH=" + self.folder_line + "appendfile.txt", "SAVETYPE=3",
                     "SAVEDFILEPATH=" + self.folder_line, "HITNRUN=0", "FIRSTRUN=9",
                     "linkcatcherSAVEDFILEPATH=" + self.folder_line):
            self.assertIn(line + "\r\n", ini)
        self.assertIsNone(process.poll())

    def test_a_copied_text_reaches_the_viewer_the_log_and_the_link_log(self):
        self.write_logging_ini("AM=1\r\nASAF=1\r\nAMLFPATH=%s\r\n" % self.path("append.txt"), links=True)
        self.start()
        self.set_clipboard("http://example.org/page")
        self.wait_for(lambda: self.file_holds("twkurl.txt", "=http://example.org/page"), what="the link log")
        self.assertRegex(self.text("twk.txt"), r"^\[\d{14}\]\r\nTEXT=http://example.org/page\r\n$")
        self.set_clipboard("two\nlines")
        self.logged("two\r\nlines")
        # The append file mirrors the viewer's whole text.
        self.assertEqual(self.text("append.txt"), "\r\nhttp://example.org/page\r\ntwo\r\nlines\r\n")
        self.assertEqual(self.text("twkurl.txt").count("="), 1, "the second text is no link")

    def test_a_javascript_link_becomes_its_address_on_the_clipboard(self):
        self.write_ini(ini_with("AUTOSAVE=0\r\nAUTOCLEAR=0\r\n"))
        self.start()
        self.set_clipboard("javascript:window.open('http://example.org/x')")
        self.wait_for(lambda: self.clipboard() == "http://example.org/x", what="the rewritten link")

    def test_an_idle_program_sleeps_until_the_clipboard_changes(self):
        self.start_tray()
        self.write_logging_ini()
        process = self.start()
        self.set_clipboard("before the nap")
        self.logged("before the nap")
        time.sleep(3)  # the tray icon and the put-back's own notices settle

        def wakeups():
            with open("/proc/%d/task/%d/status" % (process.pid, process.pid)) as f:
                return sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)

        before = wakeups()
        time.sleep(6)
        # Ticking every second would wake the interface thread at least six times.
        self.assertLessEqual(wakeups() - before, 2)
        self.set_clipboard("after the nap")
        self.logged("after the nap")

    def test_a_large_text_of_mixed_line_breaks_is_logged_and_put_back_byte_for_byte(self):
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        self.start()
        # Large enough to come in pieces; the log ends the text at its NUL, the clipboard does not.
        pieces = [b"text \xc3\xa9", b"\r\n", b"\n", b"\r", b"\r\r\n"]
        mix = b"".join(pieces[(n * 7 + n // 5) % len(pieces)] for n in range(800000)) + b"end of mix"
        copied = mix + b"\x00after the NUL\n"
        self.set_clipboard(copied)
        self.wait_for(lambda: self.file_holds("twk.txt", "end of mix"), what="the capture")
        logged = self.read("twk.txt")
        self.assertRegex(logged[:18], rb"^\[\d{14}\]\r\n$")
        entry = re.sub(rb"(?<!\r)\n", b"\r\n", mix)
        self.assertTrue(logged[18:] == b"TEXT=" + entry + b"\r\n", "the log holds the text up to its NUL")
        self.assertTrue(self.clipboard_bytes() == copied, "the clipboard holds the text as it was copied")

    def test_the_argument_99_keeps_a_hit_and_run_program_running(self):
        self.write_logging_ini("HITNRUN=1\r\n")
        process = self.start("99")
        for text in ("first", "second"):
            self.set_clipboard(text)
            self.logged(text)
        self.assertIsNone(process.poll())

    def test_two_starts_at_once_leave_exactly_one_running(self):
        self.write_ini(ini_with("AUTOSAVE=0\r\n"))
        pair = [self.start(), self.start()]
        self.dismiss("unwanted instance")
        self.wait_for(lambda: sum(p.poll() is None for p in pair) == 1, what="one of the two to end")

    def test_copies_in_two_folders_each_stay_one_and_leave_nothing_behind(self):
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        other = self.path("other")
        os.mkdir(other)
        shutil.copy(PROGRAM, os.path.join(other, "twk3"))
        with open(os.path.join(other, "twk3.ini"), "wb") as f:
            f.write(self.text("twk3.ini").replace(self.folder_line, other + "/").encode())
        first = self.start()
        self.set_clipboard("seen by the first")
        self.logged("seen by the first")
        self.assertNotEqual(os.listdir(self.runtime), [], "the lock is in the user's runtime folder")
        elsewhere = self.start(program=os.path.join(other, "twk3"))
        self.set_clipboard("seen by both")
        self.logged("seen by both", "other/twk.txt")
        elsewhere.send_signal(signal.SIGTERM)
        self.ends_cleanly(elsewhere)

        before = self.read("twk3.ini")
        second = self.start()
        self.dismiss("unwanted instance")
        self.ends_cleanly(second)
        self.assertEqual(self.read("twk3.ini"), before, "the refused copy wrote nothing")
        self.assertIsNone(first.poll())
        first.send_signal(signal.SIGTERM)
        self.ends_cleanly(first)
        self.assertEqual(os.listdir(self.runtime), [], "no lock or socket is left behind")

    def test_a_start_while_the_previous_copy_ends_runs_on_its_own(self):
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        previous = self.start()
        self.set_clipboard("before")
        self.logged("before")
        # Caught between its last event and its end: it holds the lock and
        # its socket still takes connections, but it answers no one.
        previous.send_signal(signal.SIGSTOP)
        following = self.start()
        time.sleep(1.5)
        previous.kill()
        previous.wait(timeout=self.WAIT)
        self.set_clipboard("after")
        self.logged("after")
        self.assertEqual(self.named("unwanted instance"), [])
        self.assertIsNone(following.poll())

    def test_autoclear_set_in_the_options_acts_at_the_next_tick(self):
        self.start_tray()
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        process = self.start()
        self.set_clipboard("before\nas it was")
        self.logged("before\r\nas it was")
        # By now the program owns the clipboard: the text comes from it, line breaks unchanged.
        self.assertEqual(self.clipboard(), "before\nas it was")
        dialog = self.open_options()
        self.x(["xdotool", "windowfocus", "--sync", dialog])
        # The page list has focus: the second page, then to its second box, "Clear Clipboard After Log Save?".
        for key in ("Down", "Tab", "Tab", "space", "alt+s"):
            self.x(["xdotool", "key", "--clearmodifiers", key])
            time.sleep(0.2)
        self.wait_for(lambda: self.file_holds("twk3.ini", "AUTOCLEAR=1"), what="the saved setting")
        self.wait_for(lambda: not self.named("TWK Options"), what="the options window to close")
        self.set_clipboard("after")
        self.logged("after")
        self.clipboard_emptied()
        self.assertIsNone(process.poll())

    def test_a_remembered_placement_keeps_its_size_under_a_window_manager(self):
        self.start_tray()
        self.start_window_manager()
        self.write_ini(ini_with("XYPOS=1\r\nAUTOOOPENVIEWERS=1\r\nAUTOSAVE=0\r\n") + PLACEMENT % 0)
        process = self.start()
        viewer = self.wait_for(lambda: self.named("Recent Clipboard Text"), what="the viewer")[0]
        self.wait_for(lambda: "=" in self.x(["xprop", "-id", viewer, "_NET_FRAME_EXTENTS"]), what="the viewer's frame")
        time.sleep(1)  # the program hears of its frame after the window manager has set it
        self.exit_from_tray_menu(process)
        self.assertIn(PLACEMENT % 0, self.text("twk3.ini"))

    def test_ended_by_the_system_it_saves_every_placement_and_a_minimised_window_stays_so(self):
        self.start_tray()
        self.start_window_manager()
        self.write_ini(ini_with("XYPOS=1\r\nAUTOOOPENVIEWERS=1\r\nAUTOSAVE=0\r\n") + PLACEMENT % 1)
        process = self.start()
        self.wait_for(lambda: self.named("Link Catcher"), what="the link catcher")

        def viewer_state():
            found = self.x(["xdotool", "search", "--name", "^Recent Clipboard Text$"]).split()
            return next((s for s in (self.x(["xprop", "-id", w, "WM_STATE"]) for w in found)
                         if "window state:" in s), None)

        time.sleep(1)  # the window manager has had its say
        self.assertIn("Iconic", self.wait_for(viewer_state, what="the viewer's state"))
        process.send_signal(signal.SIGTERM)
        self.ends_cleanly(process)
        ini = self.text("twk3.ini")
        self.assertIn("WindowState=1\r\n", ini[ini.index("[frmtotext]"):])
        self.assertIn("[frmlinkcatcher]\r\n", ini)

        for ending in (signal.SIGINT, signal.SIGHUP):
            self.write_ini(ini_with("AUTOSAVE=0\r\n"))
            process = self.start()
            self.wait_for(self.tray_icons, what="the program to start")
            process.send_signal(ending)
            self.assertEqual(process.wait(timeout=self.WAIT), 0, ending)
            self.assertIn("[frmlinkcatcher]\r\n", self.text("twk3.ini"), ending)

    def own_clipboard(self, *arguments):
        """Another program takes the clipboard, offering TARGET=VALUE pairs (or never answering: --hang)."""
        owner = subprocess.Popen([sys.executable, OWNER, *arguments], stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL, text=True)
        self.processes.append(owner)
        self.assertEqual(owner.stdout.readline().strip(), "owned")
        return owner

    def assert_kept_until_taken(self, text):
        def keepers():
            return subprocess.run(["pgrep", "-f", "^" + re.escape(self.path("twk3-keeper"))], capture_output=True,
                                  text=True).stdout.split()

        self.wait_for(lambda: self.clipboard() == text, what="the text on the clipboard after the end")
        self.set_clipboard("taken by another program")
        self.wait_for(lambda: not keepers(), what="nothing of the program to keep running")

    def test_hit_and_run_leaves_the_text_on_the_clipboard(self):
        self.write_logging_ini("HITNRUN=1\r\nAUTOCLEAR=0\r\n")
        self.set_clipboard("still there\nto paste")
        self.ends_cleanly(self.start())
        self.assertIn("TEXT=still there\r\nto paste\r\n", self.text("twk.txt"))
        self.assertIn("HITNRUN=1", self.text("twk3.ini"))
        self.assert_kept_until_taken("still there\nto paste")

    def test_exit_from_the_tray_leaves_the_text_on_the_clipboard(self):
        self.start_tray()
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        process = self.start()
        self.set_clipboard("x" * 3000000)  # large enough to go in pieces
        self.logged("xxx")
        self.exit_from_tray_menu(process)
        self.assert_kept_until_taken("x" * 3000000)

    def test_a_file_copy_keeps_all_its_targets_and_nothing_is_logged(self):
        self.write_logging_ini("AUTOCLEAR=1\r\n")
        files = "file:///home/me/report.odt"
        owner = self.own_clipboard("--count", self.path("served.txt"), "UTF8_STRING=/home/me/report.odt",
                                   "text/uri-list=" + files, "x-special/gnome-copied-files=copy\n" + files)
        self.start()
        # A plain text copied after the files shows that the program was looking all along.
        self.wait_for(lambda: self.file_holds("twk3.ini", "SAVETYPE"), what="the program to start")
        time.sleep(3)  # some ticks at Frequency 1
        targets = self.x(["xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"]).split()
        self.assertEqual(sorted(targets), ["TARGETS", "UTF8_STRING", "text/uri-list", "x-special/gnome-copied-files"])
        self.assertIsNone(owner.poll(), "the file manager still owns the clipboard")
        self.assertFalse(os.path.exists(self.path("twk.txt")))
        self.set_clipboard("a plain text")
        self.logged("a plain text")
        self.assertNotIn("report", self.text("twk.txt"))

    def test_an_owner_answering_after_the_program_gave_up_keeps_the_clipboard(self):
        self.write_logging_ini("AUTOCLEAR=1\r\n")
        # Slower than the program's patience with an owner: every read is given up first.
        owner = self.own_clipboard("--late", "5", "UTF8_STRING=slow")
        self.start()
        # An answer written to a window already gone would end this owner, and the clipboard with it.
        self.assertEqual(owner.stdout.readline().strip(), "answered")
        self.assertIsNone(owner.poll())
        self.set_clipboard("after the slow one")
        self.logged("after the slow one")

    def test_a_secret_is_neither_logged_nor_touched_nor_read(self):
        self.write_logging_ini("AUTOCLEAR=1\r\n", links=True)
        served = self.path("served.txt")
        owner = self.own_clipboard("--count", served, "UTF8_STRING=http://hunter2.example",
                                   "x-kde-passwordManagerHint=secret")
        self.start()
        self.wait_for(lambda: os.path.exists(served), what="the program to look at the clipboard")
        time.sleep(3)  # some ticks at Frequency 1
        self.assertIsNone(owner.poll(), "the password manager still owns the clipboard")
        self.assertEqual(self.clipboard(), "http://hunter2.example")
        asked = self.text("served.txt").split()
        self.assertEqual([name for name in asked if name != "UTF8_STRING"], ["x-kde-passwordManagerHint"])
        self.assertEqual(asked.count("UTF8_STRING"), 1, "only our own check above read the secret")
        self.assertFalse(os.path.exists(self.path("twk.txt")))
        self.assertFalse(os.path.exists(self.path("twkurl.txt")))

    def test_an_owner_that_never_answers_leaves_the_tray_menu_working(self):
        self.start_tray()
        self.write_ini(ini_with("AUTOSAVE=0\r\n"))
        self.own_clipboard("--hang")
        process = self.start()
        time.sleep(2)  # the program is waiting for the owner by now
        shown = self.open_options()
        self.x(["xdotool", "key", "--clearmodifiers", "Escape"])
        # The tray menu opens again only once the options window has gone.
        self.wait_for(lambda: shown not in self.named("TWK Options"), what="the options window to close")
        attempts = []

        def exited():
            # A menu opened while the closed window still had the focus may miss the key: open it again.
            if process.poll() is not None:
                return True
            if len(attempts) % 10 == 0:
                self.open_tray_menu()
            attempts.append(1)
            self.x(["xdotool", "key", "x"])
            return process.poll() is not None

        self.wait_for(exited, what="the program to end")
        self.assertEqual(process.returncode, 0)

    def test_without_a_tray_the_menu_opens_from_the_viewer(self):
        self.write_ini(ini_with("AUTOOOPENVIEWERS=0\r\nAUTOSAVE=0\r\n"))
        process = self.start()
        viewer = self.wait_for(lambda: self.named("Recent Clipboard Text"), what="the viewer, shown for the menu")[0]
        self.dismiss("Tarnwick 3.0")  # how to reach the menu, said once
        self.assertEqual(self.named("Tarnwick 3.0"), [])

        def exited():
            self.x(["xdotool", "mousemove", "--window", viewer, "40", "30", "click", "3"])
            time.sleep(0.5)
            self.x(["xdotool", "key", "x"])
            return process.poll() is not None

        self.wait_for(exited, what="Exit chosen from the viewer's menu")
        self.assertEqual(process.returncode, 0)

    def test_without_a_display_it_says_what_is_missing(self):
        environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        result = subprocess.run([self.program], env=environment, capture_output=True, text=True, timeout=self.WAIT)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("DISPLAY", result.stderr)
        self.assertFalse(os.path.exists(self.path("twk3.ini")))


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
