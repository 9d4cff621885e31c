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

import x11util
from x11util import windows_named

PROGRAM = os.environ.get("TWK3_PROGRAM", "")
KEEPER = os.environ.get("TWK3_KEEPER", "")
OWNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "owner.py")
WAIT = 20.0  # seconds: generous for a loaded two-core machine


def wait_for(condition, timeout=WAIT, what="condition"):
    return x11util.wait_for(condition, timeout, what)


def dismiss(name):
    x11util.dismiss(name, WAIT)


def has_icon(window):
    shown = subprocess.run(["xprop", "-id", window, "_NET_WM_ICON"], capture_output=True, text=True)
    return "Icon (" in shown.stdout


def set_clipboard(text):
    # xclip stays in the background to serve the text until someone else owns the clipboard.
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text.encode(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def clipboard():
    """The clipboard's text, or None when it holds none."""
    result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True, timeout=10)
    return result.stdout.decode() if result.returncode == 0 else None


def ini_with(main, link=""):
    return ("[TWK]\r\nFIRSTRUN=9\r\nON=1\r\nBEEPON=0\r\nFREQUENCY=1\r\nJS=1\r\n" + main +
            "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=1\r\n" + link)


class Desktop(unittest.TestCase):
    def setUp(self):
        if not os.environ.get("DISPLAY"):
            self.skipTest("no X display: run the tests through scripts/test.sh, which starts Xvfb")
        if not PROGRAM or not os.path.exists(PROGRAM):
            self.skipTest("TWK3_PROGRAM does not name the built program")
        self.folder = tempfile.mkdtemp(prefix="twk-e2e-")
        self.program = os.path.join(self.folder, "twk3")
        shutil.copy(PROGRAM, self.program)
        # The user's runtime folder, where a running copy keeps its lock and socket.
        self.runtime = tempfile.mkdtemp(prefix="twk-run-")
        if KEEPER:
            shutil.copy(KEEPER, os.path.join(self.folder, "twk3-keeper"))
        self.processes = []
        set_clipboard("")  # a clipboard owned by nobody we start

    def tearDown(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait(timeout=10)
        shutil.rmtree(self.folder, ignore_errors=True)
        shutil.rmtree(self.runtime, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.folder, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read().decode()

    def write_ini(self, content):
        with open(self.path("twk3.ini"), "wb") as f:
            f.write(content.encode())

    def start(self, *arguments, program=None):
        environment = dict(os.environ, XDG_RUNTIME_DIR=self.runtime)
        process = subprocess.Popen([program or self.program, *arguments], cwd="/", env=environment,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def file_holds(self, name, text):
        return os.path.exists(self.path(name)) and text in self.read(name)

    def test_first_run_writes_the_defaults_and_welcomes(self):
        process = self.start()
        welcome = wait_for(lambda: windows_named("Tarnwick 3.0"), what="the welcome box")[0]
        self.assertTrue(has_icon(welcome), "the program's own icon is built in")
        dismiss("Tarnwick 3.0")
        ini = self.read("twk3.ini")
        folder = self.folder + "/"
        for line in ("XYPOS=0", "AMLFPATH=" + folder + "appendfile.txt", "SAVETYPE=3",
                     "SAVEDFILEPATH=" + folder, "HITNRUN=0", "FIRSTRUN=9",
                     "linkcatcherSAVEDFILEPATH=" + folder):
            self.assertIn(line + "\r\n", ini)
        self.assertIsNone(process.poll())

    def test_a_copied_text_reaches_the_viewer_the_log_and_the_link_log(self):
        self.write_ini(ini_with("AM=1\r\nASAF=1\r\nAMLFPATH=%s\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n"
                                % (self.path("append.txt"), self.folder),
                                "AUTOSAVE=1\r\nSAVETYPE=1\r\nlinkcatcherSAVEDFILEPATH=%s/\r\n" % self.folder))
        self.start()
        set_clipboard("http://example.org/page")
        wait_for(lambda: self.file_holds("twkurl.txt", "=http://example.org/page"), what="the link log")
        self.assertRegex(self.read("twk.txt"), r"^\[\d{14}\]\r\nTEXT=http://example.org/page\r\n$")
        set_clipboard("two\nlines")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=two\r\nlines"), what="the second text")
        # The append file mirrors the viewer's whole text.
        self.assertEqual(self.read("append.txt"), "\r\nhttp://example.org/page\r\ntwo\r\nlines\r\n")
        self.assertEqual(self.read("twkurl.txt").count("="), 1, "the second text is no link")

    def test_a_javascript_link_becomes_its_address_on_the_clipboard(self):
        self.write_ini(ini_with("AUTOSAVE=0\r\nAUTOCLEAR=0\r\n"))
        self.start()
        set_clipboard("javascript:window.open('http://example.org/x')")
        wait_for(lambda: clipboard() == "http://example.org/x", what="the rewritten link")

    def test_without_autoclear_the_text_is_put_back(self):
        self.write_ini(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nAUTOCLEAR=0\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        self.start()
        set_clipboard("kept\nas it was")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=kept"), what="the capture")
        # By now the program owns the clipboard: the text comes from it, line breaks unchanged.
        self.assertEqual(clipboard(), "kept\nas it was")

    def test_an_idle_program_sleeps_until_the_clipboard_changes(self):
        self.start_tray()
        self.write_ini(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        process = self.start()
        set_clipboard("before the nap")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=before the nap"), what="the capture")
        time.sleep(3)  # the tray icon and the put-back's own notices settle

        def wakeups():
            with open("/proc/%d/task/%d/status" % (process.pid, process.pid)) as f:
                return sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)

        before = wakeups()
        time.sleep(6)
        # Ticking every second would wake the interface thread at least six times.
        self.assertLessEqual(wakeups() - before, 2)
        set_clipboard("after the nap")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=after the nap"), what="the capture after the nap")

    def test_a_large_text_of_mixed_line_breaks_is_logged_and_put_back_byte_for_byte(self):
        self.write_ini(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nAUTOCLEAR=0\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        self.start()
        # Large enough to come in pieces; the log ends the text at its NUL, the clipboard does not.
        pieces = [b"text \xc3\xa9", b"\r\n", b"\n", b"\r", b"\r\r\n"]
        mix = b"".join(pieces[(n * 7 + n // 5) % len(pieces)] for n in range(800000)) + b"end of mix"
        text = mix + b"\x00after the NUL\n"
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: self.file_holds("twk.txt", "end of mix"), what="the capture")
        with open(self.path("twk.txt"), "rb") as f:
            logged = f.read()
        entry = re.sub(rb"(?<!\r)\n", b"\r\n", mix)
        self.assertRegex(logged[:18], rb"^\[\d{14}\]\r\n$")
        self.assertTrue(logged[18:] == b"TEXT=" + entry + b"\r\n", "the log holds the text up to its NUL")
        served = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True, timeout=20).stdout
        self.assertTrue(served == text, "the clipboard holds the text as it was copied")

    def test_hit_and_run_captures_what_is_there_and_ends(self):
        self.write_ini(ini_with("HITNRUN=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        set_clipboard("taken at start")
        process = self.start()
        self.assertEqual(process.wait(timeout=WAIT), 0)
        self.assertIn("TEXT=taken at start\r\n", self.read("twk.txt"))
        self.assertIn("HITNRUN=1", self.read("twk3.ini"))

    def test_the_argument_99_keeps_a_hit_and_run_program_running(self):
        self.write_ini(ini_with("HITNRUN=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        process = self.start("99")
        set_clipboard("first")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=first"), what="the first capture")
        set_clipboard("second")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=second"), what="a second capture")
        self.assertIsNone(process.poll())

    def test_a_second_instance_says_so_and_ends_without_a_trace(self):
        self.write_ini(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        first = self.start()
        set_clipboard("first is up")
        wait_for(lambda: self.file_holds("twk.txt", "first is up"), what="the first instance")
        before = self.read("twk3.ini")
        second = self.start()
        dismiss("unwanted instance")
        self.assertEqual(second.wait(timeout=WAIT), 0)
        self.assertEqual(self.read("twk3.ini"), before)
        self.assertIsNone(first.poll())

    def test_two_starts_at_once_leave_exactly_one_running(self):
        self.write_ini(ini_with("AUTOSAVE=0\r\n"))
        pair = [self.start(), self.start()]
        dismiss("unwanted instance")
        wait_for(lambda: sum(p.poll() is None for p in pair) == 1, what="one of the two to end")

    def test_copies_in_two_folders_each_stay_one_and_leave_nothing_behind(self):
        logging = "AUTOSAVE=1\r\nSAVETYPE=1\r\nAUTOCLEAR=0\r\nSAVEDFILEPATH=%s/\r\n"
        self.write_ini(ini_with(logging % self.folder))
        other = os.path.join(self.folder, "other")
        os.mkdir(other)
        shutil.copy(PROGRAM, os.path.join(other, "twk3"))
        with open(os.path.join(other, "twk3.ini"), "wb") as f:
            f.write(ini_with(logging % other).encode())

        first = self.start()
        set_clipboard("seen by the first")
        wait_for(lambda: self.file_holds("twk.txt", "seen by the first"), what="the first copy")
        self.assertNotEqual(os.listdir(self.runtime), [], "the lock is in the user's runtime folder")
        elsewhere = self.start(program=os.path.join(other, "twk3"))
        set_clipboard("seen by both")
        wait_for(lambda: self.file_holds("other/twk.txt", "seen by both"), what="the copy in the other folder")
        elsewhere.send_signal(signal.SIGTERM)
        self.assertEqual(elsewhere.wait(timeout=WAIT), 0)

        second = self.start()
        dismiss("unwanted instance")
        self.assertEqual(second.wait(timeout=WAIT), 0)
        self.assertIsNone(first.poll())
        first.send_signal(signal.SIGTERM)
        self.assertEqual(first.wait(timeout=WAIT), 0)
        self.assertEqual(os.listdir(self.runtime), [], "no lock or socket is left behind")

    def test_a_start_while_the_previous_copy_ends_runs_on_its_own(self):
        self.write_ini(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nAUTOCLEAR=0\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        previous = self.start()
        set_clipboard("before")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=before"), what="the previous copy")
        # Caught between its last event and its end: it holds the lock and
        # its socket still takes connections, but it answers no one.
        previous.send_signal(signal.SIGSTOP)
        following = self.start()
        time.sleep(1.5)
        previous.kill()
        previous.wait(timeout=WAIT)
        set_clipboard("after")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=after"), what="the following copy")
        self.assertEqual(windows_named("unwanted instance"), [])
        self.assertIsNone(following.poll())

    def start_tray(self):
        if not shutil.which("trayer"):
            self.skipTest("trayer is not installed: no tray to click")
        tray = subprocess.Popen(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                 "--width", "80", "--height", "24"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.processes.append(tray)
        wait_for(lambda: windows_named("panel"), what="the tray")

    def open_tray_menu(self):
        def icons():
            found = subprocess.run(["xdotool", "search", "--class", "twk3"], capture_output=True, text=True)
            named = [(w, subprocess.run(["xdotool", "getwindowname", w], capture_output=True, text=True).stdout)
                     for w in found.stdout.split()]
            return [w for w, name in named if name.strip() == "twk3"]

        icon = wait_for(icons, what="the tray icon")[0]
        # No --sync: it waits for a motion that never comes when the pointer is already there.
        # The server handles the move and the click in the order sent.
        subprocess.run(["xdotool", "mousemove", "--window", icon, "10", "10", "click", "3"], capture_output=True)

    def test_exit_from_the_tray_menu_ends_the_program_cleanly(self):
        self.start_tray()
        self.write_ini(ini_with("AUTOSAVE=0\r\n"))
        process = self.start()
        self.open_tray_menu()

        def exited():
            # The menu may take a moment to open: its access key is pressed until the program ends.
            subprocess.run(["xdotool", "key", "x"], capture_output=True)
            return process.poll() is not None

        wait_for(exited, what="the program to end")
        self.assertEqual(process.returncode, 0)

    def test_autoclear_set_in_the_options_acts_at_the_next_tick(self):
        self.start_tray()
        self.write_ini(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nAUTOCLEAR=0\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        process = self.start()
        set_clipboard("before")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=before"), what="the first capture")
        self.assertEqual(clipboard(), "before")
        self.open_tray_menu()

        def options():
            subprocess.run(["xdotool", "key", "o"], capture_output=True)
            return windows_named("TWK Options")

        dialog = wait_for(options, what="the options window")[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", dialog], capture_output=True)
        # The page list has focus: the second page, then to its second box, "Clear Clipboard After Log Save?".
        for key in ("Down", "Tab", "Tab", "space", "alt+s"):
            subprocess.run(["xdotool", "key", "--clearmodifiers", key], capture_output=True)
            time.sleep(0.2)
        wait_for(lambda: self.file_holds("twk3.ini", "AUTOCLEAR=1"), what="the saved setting")
        wait_for(lambda: not windows_named("TWK Options"), what="the options window to close")
        set_clipboard("after")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=after"), what="the second capture")
        wait_for(lambda: clipboard() in (None, ""), what="an empty clipboard")
        self.assertIsNone(process.poll())

    def start_window_manager(self):
        if not shutil.which("openbox"):
            self.skipTest("openbox is not installed: no window manager to decorate the windows")
        manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(manager)
        wait_for(lambda: "window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                                       capture_output=True, text=True).stdout,
                 what="the window manager")

    def test_a_remembered_placement_keeps_its_size_under_a_window_manager(self):
        self.start_tray()
        self.start_window_manager()
        placement = "[frmtotext]\r\nLeft=1500\r\nTop=1500\r\nWidth=6720\r\nHeight=2160\r\nWindowState=0\r\n"
        self.write_ini(ini_with("XYPOS=1\r\nAUTOOOPENVIEWERS=1\r\nAUTOSAVE=0\r\n") + placement)
        process = self.start()
        viewer = wait_for(lambda: windows_named("Recent Clipboard Text"), what="the viewer")[0]
        wait_for(lambda: "=" in subprocess.run(["xprop", "-id", viewer, "_NET_FRAME_EXTENTS"],
                                               capture_output=True, text=True).stdout,
                 what="the viewer's frame")
        time.sleep(1)  # the program hears of its frame after the window manager has set it
        self.open_tray_menu()

        def exited():
            subprocess.run(["xdotool", "key", "x"], capture_output=True)
            return process.poll() is not None

        wait_for(exited, what="the program to end")
        self.assertIn(placement, self.read("twk3.ini"))

    def test_ended_by_the_system_it_saves_every_placement_and_a_minimised_window_stays_so(self):
        self.start_tray()
        self.start_window_manager()
        minimised = "[frmtotext]\r\nLeft=1500\r\nTop=1500\r\nWidth=6720\r\nHeight=2160\r\nWindowState=1\r\n"
        self.write_ini(ini_with("XYPOS=1\r\nAUTOOOPENVIEWERS=1\r\nAUTOSAVE=0\r\n") + minimised)
        process = self.start()
        wait_for(lambda: windows_named("Link Catcher"), what="the link catcher")

        def viewer_state():
            found = subprocess.run(["xdotool", "search", "--name", "^Recent Clipboard Text$"],
                                   capture_output=True, text=True).stdout.split()
            states = [subprocess.run(["xprop", "-id", w, "WM_STATE"], capture_output=True, text=True).stdout
                      for w in found]
            return next((s for s in states if "window state:" in s), None)

        time.sleep(1)  # the window manager has had its say
        self.assertIn("Iconic", wait_for(viewer_state, what="the viewer's state"))
        process.send_signal(signal.SIGTERM)
        self.assertEqual(process.wait(timeout=WAIT), 0)
        ini = self.read("twk3.ini")
        self.assertIn("WindowState=1\r\n", ini[ini.index("[frmtotext]"):])
        self.assertIn("[frmlinkcatcher]\r\n", ini)

        for ending in (signal.SIGINT, signal.SIGHUP):
            self.write_ini(ini_with("AUTOSAVE=0\r\n"))
            process = self.start()
            wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "^Link Catcher$"],
                                            capture_output=True).returncode == 0, what="the program to start")
            process.send_signal(ending)
            self.assertEqual(process.wait(timeout=WAIT), 0, ending)
            self.assertIn("[frmlinkcatcher]\r\n", self.read("twk3.ini"), ending)

    def own_clipboard(self, *arguments):
        """Another program takes the clipboard, offering TARGET=VALUE pairs (or never answering: --hang)."""
        owner = subprocess.Popen([sys.executable, OWNER, *arguments], stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL, text=True)
        self.processes.append(owner)
        self.assertEqual(owner.stdout.readline().strip(), "owned")
        return owner

    def keepers(self):
        found = subprocess.run(["pgrep", "-f", "^" + re.escape(self.path("twk3-keeper"))], capture_output=True,
                               text=True)
        return found.stdout.split()

    def assert_kept_until_taken(self, text):
        wait_for(lambda: clipboard() == text, what="the text on the clipboard after the end")
        set_clipboard("taken by another program")
        wait_for(lambda: not self.keepers(), what="nothing of the program to keep running")

    def test_hit_and_run_leaves_the_text_on_the_clipboard(self):
        self.write_ini(ini_with("HITNRUN=1\r\nAUTOCLEAR=0\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n"
                                % self.folder))
        set_clipboard("still there\nto paste")
        self.assertEqual(self.start().wait(timeout=WAIT), 0)
        self.assertIn("TEXT=still there\r\nto paste\r\n", self.read("twk.txt"))
        self.assert_kept_until_taken("still there\nto paste")

    def test_exit_from_the_tray_leaves_the_text_on_the_clipboard(self):
        self.start_tray()
        self.write_ini(ini_with("AUTOCLEAR=0\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        process = self.start()
        set_clipboard("x" * 3000000)  # large enough to go in pieces
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=xxx"), what="the capture")
        self.open_tray_menu()

        def exited():
            subprocess.run(["xdotool", "key", "x"], capture_output=True)
            return process.poll() is not None

        wait_for(exited, what="the program to end")
        self.assert_kept_until_taken("x" * 3000000)

    def test_a_file_copy_keeps_all_its_targets_and_nothing_is_logged(self):
        self.write_ini(ini_with("AUTOCLEAR=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        served = self.path("served.txt")
        files = "file:///home/me/report.odt"
        owner = self.own_clipboard("--count", served, "UTF8_STRING=/home/me/report.odt", "text/uri-list=" + files,
                                   "x-special/gnome-copied-files=copy\n" + files)
        self.start()
        # A plain text copied after the files shows that the program was looking all along.
        wait_for(lambda: os.path.exists(self.path("twk3.ini")) and "SAVETYPE" in self.read("twk3.ini"),
                 what="the program to start")
        time.sleep(3)  # some ticks at Frequency 1
        targets = subprocess.run(["xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"], capture_output=True,
                                 text=True, timeout=10).stdout.split()
        self.assertEqual(sorted(targets), ["TARGETS", "UTF8_STRING", "text/uri-list", "x-special/gnome-copied-files"])
        self.assertIsNone(owner.poll(), "the file manager still owns the clipboard")
        self.assertFalse(os.path.exists(self.path("twk.txt")))
        set_clipboard("a plain text")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=a plain text"), what="the plain text's capture")
        self.assertNotIn("report", self.read("twk.txt"))

    def test_an_owner_answering_after_the_program_gave_up_keeps_the_clipboard(self):
        self.write_ini(ini_with("AUTOCLEAR=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n" % self.folder))
        # Slower than the program's patience with an owner: every read is given up first.
        owner = self.own_clipboard("--late", "5", "UTF8_STRING=slow")
        self.start()
        # An answer written to a window already gone would end this owner, and the clipboard with it.
        self.assertEqual(owner.stdout.readline().strip(), "answered")
        self.assertIsNone(owner.poll())
        set_clipboard("after the slow one")
        wait_for(lambda: self.file_holds("twk.txt", "TEXT=after the slow one"), what="the next capture")

    def test_a_secret_is_neither_logged_nor_touched_nor_read(self):
        self.write_ini(ini_with("AUTOCLEAR=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\n" % self.folder,
                                "AUTOSAVE=1\r\nSAVETYPE=1\r\nlinkcatcherSAVEDFILEPATH=%s/\r\n" % self.folder))
        served = self.path("served.txt")
        owner = self.own_clipboard("--count", served, "UTF8_STRING=http://hunter2.example",
                                   "x-kde-passwordManagerHint=secret")
        self.start()
        wait_for(lambda: os.path.exists(served), what="the program to look at the clipboard")
        time.sleep(3)  # some ticks at Frequency 1
        self.assertIsNone(owner.poll(), "the password manager still owns the clipboard")
        self.assertEqual(clipboard(), "http://hunter2.example")
        with open(served) as f:
            asked = f.read().split()
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
        self.open_tray_menu()

        def options():
            subprocess.run(["xdotool", "key", "o"], capture_output=True)
            return windows_named("TWK Options")

        shown = wait_for(options, what="the options window")[0]
        subprocess.run(["xdotool", "key", "--clearmodifiers", "Escape"], capture_output=True)
        # The tray menu opens again only once the options window has gone.
        wait_for(lambda: shown not in windows_named("TWK Options"), what="the options window to close")

        attempts = []

        def exited():
            # A menu opened while the closed window still had the focus may miss the key: open it again.
            if process.poll() is not None:
                return True
            if len(attempts) % 10 == 0:
                self.open_tray_menu()
            attempts.append(1)
            subprocess.run(["xdotool", "key", "x"], capture_output=True)
            return process.poll() is not None

        wait_for(exited, what="the program to end")
        self.assertEqual(process.returncode, 0)

    def test_without_a_tray_the_menu_opens_from_the_viewer(self):
        self.write_ini(ini_with("AUTOOOPENVIEWERS=0\r\nAUTOSAVE=0\r\n"))
        process = self.start()
        viewer = wait_for(lambda: windows_named("Recent Clipboard Text"), what="the viewer, shown for the menu")[0]
        dismiss("Tarnwick 3.0")  # how to reach the menu, said once
        self.assertEqual(windows_named("Tarnwick 3.0"), [])

        def exited():
            subprocess.run(["xdotool", "mousemove", "--window", viewer, "40", "30", "click", "3"], capture_output=True)
            time.sleep(0.5)
            subprocess.run(["xdotool", "key", "x"], capture_output=True)
            return process.poll() is not None

        wait_for(exited, what="Exit chosen from the viewer's menu")
        self.assertEqual(process.returncode, 0)

    def test_without_a_display_it_says_what_is_missing(self):
        environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        result = subprocess.run([self.program], env=environment, capture_output=True, text=True, timeout=WAIT)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("DISPLAY", result.stderr)
        self.assertFalse(os.path.exists(self.path("twk3.ini")))


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
