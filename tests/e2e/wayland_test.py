"""End-to-end tests on Wayland desktops: the real program inside a headless sway or
KWin session (clipboard through data-control) and Weston (no data-control: through
XWayland), each started by the test. A native Wayland window holds the keyboard
throughout, and copies come from Wayland applications (wl-copy, a source of several
formats at once) and from an X11 one (xclip)."""

import os
import shutil
import signal
import tempfile
import time
import unittest

import x11util
from program_case import ini_with
import wayland_session
from wayland_session import Session

PROGRAM = os.environ.get("TWK3_PROGRAM", "")
SOURCE = os.environ.get("TWK3_TEST_SOURCE", "")
POINTER = os.environ.get("TWK3_TEST_POINTER", "")
WAIT = 20.0


class WaylandCase(unittest.TestCase):
    KIND = None
    PANEL = False

    def setUp(self):
        if not PROGRAM or not os.path.exists(PROGRAM):
            self.skipTest("TWK3_PROGRAM does not name the built program")
        for tool in ("wl-copy", "wl-paste", "xclip", "xdotool", "weston-clickdot"):
            if not shutil.which(tool):
                self.skipTest(tool + " is not installed")
        self.session = Session(self.KIND, self.skipTest, WAIT, self.PANEL)
        self.addCleanup(self.session.stop)
        self.session.start()
        # The program's folder, and its own copies of the program and its keepers.
        self.folder = tempfile.mkdtemp(prefix="twk-wl-program-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        built = os.path.dirname(PROGRAM)
        for name in ("twk3", "twk3-keeper", "twk3-keeper-wayland"):
            if os.path.exists(os.path.join(built, name)):
                shutil.copy(os.path.join(built, name), self.folder)
        self.session.give(self.folder)
        self.program = None

    def hold_the_keyboard(self):
        """A native Wayland window, which the compositor gives the keyboard to."""
        self.session.popen(["weston-clickdot"])
        if self.KIND == "sway":
            self.wait_for(lambda: '"app_id": "org.freedesktop.weston.wayland-clickdot"' in self.focused(),
                          "the Wayland window to have the keyboard")
            # The compositor may still pass the clipboard between XWayland and Wayland.
            time.sleep(1.5)
        else:
            # KWin says nothing of its focus; it may still pass the clipboard between
            # XWayland and Wayland as the keyboard moves.
            time.sleep(2.5)

    def focused(self):
        tree = self.session.run(["swaymsg", "-t", "get_tree"]).stdout.decode()
        # The focused node's own lines come after its "focused": true.
        at = tree.find('"focused": true')
        return tree[at:at + 2000] if at >= 0 else ""

    def wait_for(self, condition, what):
        return x11util.wait_for(condition, WAIT, what, 0.05)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write_ini(self, main=""):
        with open(self.path("twk3.ini"), "wb") as f:
            f.write(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s/\r\nAUTOCLEAR=0\r\n" % self.folder + main)
                    .encode())
        self.session.give(self.path("twk3.ini"))

    def start_program(self):
        self.stderr = open(self.path("stderr.txt"), "w+")
        self.program = self.session.popen(["timeout", "120", self.path("twk3")], stderr=self.stderr)
        self.wait_for(lambda: self.said(), "the program to say its clipboard's route")

    def start(self):
        self.start_program()
        # Without a tray the program shows its viewer (an X11 window, which takes the
        # keyboard): a Wayland window is given the keyboard after that.
        self.wait_for(lambda: self.session.run(["xdotool", "search", "--onlyvisible", "--class", "twk3"]).stdout,
                      "the program's viewer")
        time.sleep(0.5)
        self.hold_the_keyboard()

    def pid(self):
        """The program's own process, under the ones that start it."""
        found = self.session.run(["pgrep", "-x", "-s", str(self.program.pid), "twk3"]).stdout.split()
        self.assertEqual(len(found), 1)
        return int(found[0])

    def said(self):
        self.stderr.seek(0)
        return self.stderr.read()

    def log(self):
        path = self.path("twk.txt")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode()

    def logged(self, text):
        self.wait_for(lambda: "TEXT=" + text + "\r\n" in self.log(), "the capture of " + repr(text))

    def copy_in_wayland(self, text):
        """wl-copy's copy, served until another content takes its place or it is killed."""
        return self.session.popen(["wl-copy", "--foreground", text])

    def copy_formats(self, *formats, count=None):
        """The test source: a Wayland copy offering every (type, data) at once."""
        words = [SOURCE] + (["--count", count] if count else [])
        for n, (kind, data) in enumerate(formats):
            name = self.path("format%d" % n)
            with open(name, "wb") as f:
                f.write(data.encode())
            words.append("%s=%s" % (kind, name))
        self.session.give(self.folder)
        source = self.session.popen(words, stdout=-1)
        self.assertEqual(source.stdout.readline().strip(), b"ready")
        return source

    def watch_for_empty(self):
        """The clipboard's content at every change, as an application following it sees
        it: its types, or "empty"."""
        states = self.path("states.txt")
        self.session.popen([SOURCE, "--watch", states])

        def seen():
            if not os.path.exists(states):
                return []
            with open(states) as f:
                return [line.strip() for line in f]
        return seen


class DataControlCases:
    """Cases for a compositor that offers data-control: the program follows every copy
    whatever window has the keyboard."""

    def test_a_wayland_copy_is_logged_and_put_back_and_nothing_ever_empties_the_clipboard(self):
        self.write_ini()
        self.start()
        self.assertIn("clipboard through Wayland", self.said())
        self.copy_in_wayland("first copy")
        self.logged("first copy")
        states = self.watch_for_empty()
        # The put-back is ours: plain text only, pasteable.
        self.wait_for(lambda: "application/x-twk3-own" in self.session.types(), "the put-back")
        self.assertEqual(self.session.paste(), b"first copy")
        self.copy_formats(("text/html", "<b>second</b> copy"), ("text/plain;charset=utf-8", "second copy"))
        self.logged("second copy")
        self.wait_for(lambda: "text/html" not in self.session.types(), "only the plain text to stay")
        self.assertEqual(self.session.paste(), b"second copy")
        # An X11 application's copy reaches the Wayland ones.
        self.session.copy_in_x11(b"from X11")
        self.logged("from X11")
        self.wait_for(lambda: self.session.paste() == b"from X11", "the X11 copy in Wayland applications")
        time.sleep(1.5)  # a tick more: nothing else happens to it
        self.assertEqual(self.session.paste(), b"from X11")
        seen = states()
        self.assertIn("text/html", " ".join(seen), "the watcher saw the changes")
        self.assertNotIn("empty", seen, "the clipboard was never empty after the first copy")

    def test_the_text_outlives_its_source_and_the_program(self):
        self.write_ini()
        self.start()
        source = self.copy_in_wayland("keep me")
        self.logged("keep me")
        self.wait_for(lambda: "application/x-twk3-own" in self.session.types(), "the put-back")
        source.kill()
        source.wait()
        self.assertEqual(self.session.paste(), b"keep me")
        os.kill(self.pid(), signal.SIGTERM)  # as the desktop ends it
        self.assertEqual(self.program.wait(timeout=WAIT), 0)
        self.assertEqual(self.session.paste(), b"keep me", "the keeper serves it")
        # And lets it go for the next copy.
        self.copy_in_wayland("next")
        self.wait_for(lambda: self.session.paste() == b"next", "the next copy")

    def test_a_secret_and_copied_files_are_left_alone(self):
        self.write_ini()
        self.start()
        served = self.path("served.txt")
        secret = self.copy_formats(("text/plain;charset=utf-8", "hunter2"), ("x-kde-passwordManagerHint", "secret"),
                                   count=served)
        self.wait_for(lambda: os.path.exists(served), "the program to look at the clipboard")
        time.sleep(2.5)  # ticks at Frequency 1
        self.assertIsNone(secret.poll(), "the password manager's copy is still the clipboard")
        with open(served) as f:
            self.assertEqual(f.read().split(), ["x-kde-passwordManagerHint"], "the secret itself is never read")
        files = self.copy_formats(("text/uri-list", "file:///tmp/a.txt\r\n"),
                                  ("x-special/gnome-copied-files", "copy\nfile:///tmp/a.txt"),
                                  ("text/plain;charset=utf-8", "/tmp/a.txt"))
        self.assertEqual(secret.wait(timeout=WAIT), 0, "replaced by the file copy")
        time.sleep(2.5)
        self.assertIsNone(files.poll(), "the file manager's copy keeps every format")
        self.assertIn("x-special/gnome-copied-files", self.session.types())
        # Only then a text: the log holds it alone.
        self.copy_in_wayland("plain")
        self.logged("plain")
        self.assertEqual(self.log().count("TEXT="), 1)

    def test_an_idle_program_sleeps_until_the_clipboard_changes(self):
        self.write_ini()
        self.start()
        self.copy_in_wayland("before the nap")
        self.logged("before the nap")
        time.sleep(3)  # the put-back's own notices settle
        pid = self.pid()

        def wakeups():
            with open("/proc/%d/status" % pid) as f:
                return sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)

        before = wakeups()
        time.sleep(6)
        # Ticking every second would wake the interface thread at least six times.
        self.assertLessEqual(wakeups() - before, 2)
        self.copy_in_wayland("after the nap")
        self.logged("after the nap")


class Sway(WaylandCase, DataControlCases):
    KIND = "sway"


class KWin(WaylandCase, DataControlCases):
    KIND = "kwin"


class SwayPanel(WaylandCase):
    """sway with its bar and the bar's tray."""

    KIND = "sway"
    PANEL = True

    def test_the_tray_menu_opens_at_the_icon_clicked(self):
        for tool in ("swaybar", "dbus-run-session", "gdbus"):
            if not shutil.which(tool):
                self.skipTest(tool + " is not installed")
        if not POINTER or not os.path.exists(POINTER):
            self.skipTest("TWK3_TEST_POINTER does not name the test pointer")
        self.write_ini()
        self.start_program()
        watcher = ["gdbus", "call", "--session", "--dest", "org.kde.StatusNotifierWatcher", "--object-path",
                   "/StatusNotifierWatcher", "--method", "org.freedesktop.DBus.Properties.Get",
                   "org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems"]
        self.wait_for(lambda: b"StatusNotifierItem" in self.session.run(watcher).stdout, "the icon on the bar")
        # The headless seat has no pointer of its own: a right click on the icon, at the bar's right end.
        pointer = self.session.popen([POINTER, str(wayland_session.WIDTH), str(wayland_session.HEIGHT)], stdin=-1,
                                     stdout=-1)
        self.assertEqual(pointer.stdout.readline().strip(), b"ready")
        half = wayland_session.BAR_HEIGHT // 2
        x, y = wayland_session.WIDTH - half, wayland_session.HEIGHT - half

        def menu():
            # With a tray the viewers stay hidden: the program's one window shown is its menu.
            return self.session.run(["xdotool", "search", "--onlyvisible", "--class", "twk3"]).stdout.split()

        def clicked():
            # Again until the menu opens: the bar draws the icon some time after it is registered.
            pointer.stdin.write(b"move %d %d\nclick 273\n" % (x, y))
            pointer.stdin.flush()
            self.assertEqual([pointer.stdout.readline().strip() for _ in range(2)], [b"done", b"done"])
            try:
                return x11util.wait_for(menu, 2, "the menu", 0.05)
            except AssertionError:
                return None

        menu = x11util.wait_for(clicked, WAIT, "the tray menu", 0)[0]
        shape = dict(line.split("=") for line in self.session.run(
            ["xdotool", "getwindowgeometry", "--shell", menu]).stdout.decode().split())
        left, top = int(shape["X"]), int(shape["Y"])
        right, bottom = left + int(shape["WIDTH"]), top + int(shape["HEIGHT"])
        # Above the bar, where it was clicked (not where the pointer last crossed an X11 window).
        self.assertTrue(left <= x <= right and y - half <= bottom <= wayland_session.HEIGHT,
                        (left, top, right, bottom))


class Weston(WaylandCase):
    """No data-control, as on GNOME: the program goes through XWayland as before."""

    KIND = "weston"

    def hold_the_keyboard(self):
        pass  # an X11 copy needs no window; Weston gives the clipboard to XWayland as it is

    def test_without_data_control_the_clipboard_goes_through_xwayland(self):
        self.write_ini()
        self.start()
        self.assertIn("clipboard through XWayland", self.said())
        self.session.copy_in_x11(b"through XWayland")
        self.logged("through XWayland")
        self.wait_for(lambda: self.session.run(["xclip", "-selection", "clipboard", "-o"]).stdout == b"through XWayland",
                      "the put-back")


if __name__ == "__main__":
    unittest.main()
