"""End-to-end tests of the program as its Debian package installs it: the
package that apt accepts, unpacked into a folder its user cannot write to,
started from its menu entry and again from the start-at-login entry it makes,
with its files in the user's own folder; and the command line that answers
without starting anything."""

import datetime
import os
import shutil
import signal
import stat
import subprocess
import tempfile
import unittest

from desktop_test import Desktop
from program_case import ProgramCase, ini_with

BUILD = os.environ.get("TWK3_BUILD_DIR", "")
PROGRAM = os.environ.get("TWK3_PROGRAM", "")
# Root may write anywhere: as root, the installed copy runs as this user.
UNPRIVILEGED = 65534


def as_user():
    """The words that run a command as the test's unprivileged user (none when not root)."""
    if os.geteuid() != 0:
        return []
    return ["setpriv", "--reuid=%d" % UNPRIVILEGED, "--regid=%d" % UNPRIVILEGED, "--clear-groups"]


def give_to_user(path):
    if os.geteuid() == 0:
        os.chown(path, UNPRIVILEGED, UNPRIVILEGED)


def running(program):
    """The ids of the processes that run this program file."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.readlink("/proc/%s/exe" % pid) == program:
                found.append(int(pid))
        except OSError:
            pass
    return found


class Installed(ProgramCase):
    ENCODING = "utf-8"
    WAIT = 20.0
    # Driven as the desktop tests drive it.
    tray_icons = Desktop.tray_icons
    open_tray_menu = Desktop.open_tray_menu
    press_until = Desktop.press_until
    open_options = Desktop.open_options

    def setUp(self):
        if not os.environ.get("DISPLAY"):
            self.skipTest("no X display: run the tests through scripts/test.sh, which starts Xvfb")
        if not BUILD or not os.path.isdir(BUILD):
            self.skipTest("TWK3_BUILD_DIR does not name the build folder")
        self.processes = []
        self.root = tempfile.mkdtemp(prefix="twk-install-")
        os.chmod(self.root, 0o755)
        # The package as it ships, made from the build and unpacked as dpkg would.
        made = os.path.join(self.root, "made")
        subprocess.run(["cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", made],
                       check=True, stdout=subprocess.DEVNULL, timeout=180)
        self.package = [os.path.join(made, name) for name in os.listdir(made) if name.endswith(".deb")][0]
        subprocess.run(["dpkg-deb", "-x", self.package, self.root], check=True, timeout=60)
        self.installed = os.path.join(self.root, "usr", "lib", "twk3")
        self.program = os.path.join(self.installed, "twk3")
        for dirpath, dirnames, filenames in os.walk(os.path.join(self.root, "usr")):
            os.chmod(dirpath, 0o555)  # nobody writes here, not even a copy run by its owner
        self.home = tempfile.mkdtemp(prefix="twk-home-")
        self.runtime = tempfile.mkdtemp(prefix="twk-run-")
        for folder in (self.home, self.runtime):
            give_to_user(folder)
        self.folder = os.path.join(self.home, ".config", "twk3")
        self.folder_line = self.folder + "/"
        self.set_clipboard("")

    def tearDown(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait(timeout=10)
        # What a desktop entry started is no child of the test's.
        for program in ("twk3", "twk3-keeper"):
            for pid in running(os.path.join(self.installed, program)):
                os.kill(pid, signal.SIGKILL)
        for dirpath, dirnames, filenames in os.walk(self.root):
            os.chmod(dirpath, 0o755)
        for folder in (self.root, self.home, self.runtime):
            shutil.rmtree(folder, ignore_errors=True)

    def environment(self, **more):
        environment = dict(os.environ, HOME=self.home, XDG_RUNTIME_DIR=self.runtime, **more)
        environment.pop("XDG_CONFIG_HOME", None)
        return environment

    def launch(self, entry):
        """Starts a desktop entry as a menu or the session does (GLib's launcher), with the
        package's commands on the PATH as /usr/bin would put them; no session bus to start."""
        environment = self.environment(PATH=os.path.join(self.root, "usr", "bin") + ":" + os.environ["PATH"],
                                       DBUS_SESSION_BUS_ADDRESS="disabled:")
        # No pipes: the program inherits them, and would hold them open.
        launched = subprocess.run(as_user() + ["gio", "launch", entry], cwd="/", env=environment,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        self.assertEqual(launched.returncode, 0, "launched " + entry)
        self.wait_for(lambda: running(self.program), what="the program started from " + entry)

    def test_the_package_starts_from_the_menu_and_at_login_with_its_files_in_the_users_folder(self):
        if not shutil.which("gio"):
            self.skipTest("gio (libglib2.0-bin) is not installed: no desktop entry launcher")
        simulated = subprocess.run(["apt-get", "install", "--simulate", self.package], capture_output=True,
                                   text=True, timeout=300)
        self.assertEqual(simulated.returncode, 0, "apt finds what the package depends on: " + simulated.stderr)
        self.assertIn("Inst twk3 ", simulated.stdout)
        shipped = sorted(os.listdir(self.installed))
        self.assertTrue({"twk3", "twk3-help.html", "twk3-keeper", "twk3-logs"} <= set(shipped), shipped)
        self.start_tray()
        self.launch(os.path.join(self.root, "usr", "share", "applications", "twk3.desktop"))
        self.dismiss("Tarnwick 3.0")  # the welcome box of a first run
        ini = self.text("twk3.ini")
        for line in ("SAVEDFILEPATH=" + self.folder_line, "AMLFPATH=" + self.folder_line + "appendfile.txt",
                     "linkcatcherSAVEDFILEPATH=" + self.folder_line, "FIRSTRUN=9"):
            self.assertIn(line + "\r\n", ini)
        self.set_clipboard("copied under an installed program")
        log = datetime.date.today().strftime("%Y%m%d") + ".txt"
        self.logged("copied under an installed program", log)
        # The user's logs are the user's alone.
        self.assertEqual(stat.S_IMODE(os.stat(self.path(log)).st_mode), 0o600)
        # The log browser installed beside it looks there too when it is given no folder.
        found = subprocess.run(as_user() + [os.path.join(self.root, "usr", "bin", "twk3-logs"), "--search",
                                            "under an installed"], cwd="/", env=self.environment(),
                               capture_output=True, text=True, timeout=60)
        self.assertEqual((found.returncode, found.stderr), (0, ""))
        self.assertIn("copied under an installed program", found.stdout)

        # "Start with the desktop?", the General page's last box, from the page list.
        dialog = self.open_options()
        self.x(["xdotool", "windowfocus", "--sync", dialog])
        for key in ["Tab"] * 8 + ["space", "alt+s"]:
            self.x(["xdotool", "key", "--clearmodifiers", key])
        entry = os.path.join(self.home, ".config", "autostart", "twk3.desktop")
        self.wait_for(lambda: os.path.exists(entry), what="the start-at-login entry")
        self.open_tray_menu()
        self.press_until("x", lambda: not running(self.program), "the program to end")  # "E&xit"
        # The next login: the session starts what the entry names.
        self.launch(entry)
        self.set_clipboard("copied after the next login")
        self.logged("copied after the next login", log)
        self.assertEqual(sorted(os.listdir(self.installed)), shipped, "nothing is written beside the program")

    def test_a_trace_tells_what_failed_when_asked_for(self):
        os.makedirs(self.folder)
        with open(os.path.join(self.folder, "twk3.ini"), "wb") as f:
            f.write(ini_with("AUTOSAVE=0\r\nAM=1\r\nASAF=1\r\nAMLFPATH=/nonexistent/append.txt\r\n").encode())
        for path in (os.path.join(self.home, ".config"), self.folder, os.path.join(self.folder, "twk3.ini")):
            give_to_user(path)
        errors = os.path.join(self.home, "errors.txt")
        with open(errors, "wb") as sink:
            process = subprocess.Popen(as_user() + [os.path.join(self.root, "usr", "bin", "twk3")], cwd="/",
                                       env=self.environment(TWK_DEBUG="1"), stdout=subprocess.DEVNULL, stderr=sink)
        self.processes.append(process)
        self.set_clipboard("a text for an append file that cannot be written")
        self.wait_for(lambda: "append file not written: /nonexistent/append.txt: No such file or directory"
                      in open(errors, encoding="utf-8", errors="replace").read(), what="the traced failure")


class CommandLine(unittest.TestCase):
    def setUp(self):
        if not PROGRAM or not os.path.exists(PROGRAM):
            self.skipTest("TWK3_PROGRAM does not name the built program")
        self.folder = tempfile.mkdtemp(prefix="twk-cli-")
        self.program = os.path.join(self.folder, "twk3")
        shutil.copy(PROGRAM, self.program)

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def test_version_and_help_answer_without_a_display_and_touch_nothing(self):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        environment["HOME"] = self.folder
        version = subprocess.run([self.program, "--version"], env=environment, capture_output=True, text=True,
                                 timeout=30)
        self.assertEqual((version.returncode, version.stdout), (0, "twk3 3.0.0\n"))
        shown = subprocess.run([self.program, "--help"], env=environment, capture_output=True, text=True,
                               timeout=30)
        self.assertEqual(shown.returncode, 0)
        self.assertIn("Usage: twk3 [99]", shown.stdout)
        self.assertEqual(sorted(os.listdir(self.folder)), ["twk3"], "no INI file, no folder of the user's")


if __name__ == "__main__":
    unittest.main()
