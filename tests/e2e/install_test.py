"""End-to-end tests of the program as a package installs it: the install rules'
layout in a folder its user cannot write to, the per-user folder it then keeps
its files in, and the command line that answers without starting anything."""

import datetime
import os
import shutil
import stat
import subprocess
import tempfile
import unittest

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


class Installed(ProgramCase):
    ENCODING = "utf-8"
    WAIT = 20.0

    def setUp(self):
        if not os.environ.get("DISPLAY"):
            self.skipTest("no X display: run the tests through scripts/test.sh, which starts Xvfb")
        if not BUILD or not os.path.isdir(BUILD):
            self.skipTest("TWK3_BUILD_DIR does not name the build folder")
        self.processes = []
        self.root = tempfile.mkdtemp(prefix="twk-install-")
        os.chmod(self.root, 0o755)
        subprocess.run(["cmake", "--install", BUILD, "--prefix", os.path.join(self.root, "usr")], check=True,
                       stdout=subprocess.DEVNULL, timeout=120)
        self.installed = os.path.join(self.root, "usr", "lib", "twk3")
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
        for dirpath, dirnames, filenames in os.walk(self.root):
            os.chmod(dirpath, 0o755)
        for folder in (self.root, self.home, self.runtime):
            shutil.rmtree(folder, ignore_errors=True)

    def environment(self, **more):
        environment = dict(os.environ, HOME=self.home, XDG_RUNTIME_DIR=self.runtime, **more)
        environment.pop("XDG_CONFIG_HOME", None)
        return environment

    def start_installed(self, **more):
        process = subprocess.Popen(as_user() + [os.path.join(self.root, "usr", "bin", "twk3")], cwd="/",
                                   env=self.environment(**more), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def test_the_installed_copy_keeps_its_settings_and_logs_in_the_users_configuration_folder(self):
        shipped = sorted(os.listdir(self.installed))
        self.assertTrue({"twk3", "twk3-help.html", "twk3-keeper"} <= set(shipped), shipped)
        process = self.start_installed()
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
        self.assertEqual(sorted(os.listdir(self.installed)), shipped, "nothing is written beside the program")
        self.assertIsNone(process.poll())

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
