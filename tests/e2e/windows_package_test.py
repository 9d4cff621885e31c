"""End-to-end tests of the Windows packages under Wine: the per-user installer
(silent install, Start menu, Apps & features, start at login, uninstall that
keeps the user's files), a copy in a folder its user cannot write to, the
options window's start-with-desktop box and the Run key, and --version."""

import glob
import os
import shutil
import stat
import subprocess
import tempfile
import time
import unittest

import windows_test
from windows_test import Wine, windows_path

SETUP = os.environ.get("TWK3_SETUP", "")
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TWK"
# Root may write anywhere, under Wine as well: as root, Wine runs as this user.
UNPRIVILEGED = 65534


def unprivileged_words():
    if os.geteuid() != 0:
        return []
    return ["setpriv", "--reuid=%d" % UNPRIVILEGED, "--regid=%d" % UNPRIVILEGED, "--clear-groups"]


def user_template(loader):
    """A prepared prefix of the unprivileged user's own (Wine refuses another's prefix, and
    makes one only in a folder of that user's)."""
    own = windows_test.TEMPLATE + "-user"
    os.makedirs(own, exist_ok=True)
    os.chown(own, UNPRIVILEGED, UNPRIVILEGED)
    template = os.path.join(own, "prefix")
    kind = "wine64" if loader.endswith("64") else "wine"
    subprocess.run(["timeout", "400", *unprivileged_words(), "env", "HOME=" + own, windows_test.PREFIX_SCRIPT,
                    template, kind], capture_output=True)
    if not os.path.exists(os.path.join(template, ".twk-made")):
        raise AssertionError("could not make the user's Wine prefix in " + template)
    return template


def holds(path, data):
    if not os.path.exists(path):
        return False
    with open(path, "rb") as f:
        return data in f.read()


class WinePackage(Wine):
    # The cases that need a folder their user cannot write to; the others run as the Wine tests do.
    UNPRIVILEGED_CASES = {"test_a_copy_in_a_write_protected_folder_keeps_its_files_in_appdata"}

    def as_user(self):
        return unprivileged_words() if self._testMethodName in self.UNPRIVILEGED_CASES else []

    def setUp(self):
        super().setUp()
        if self.as_user():
            template = user_template(self.loader)
            shutil.rmtree(self.prefix)
            subprocess.run(["cp", "-a", template, self.prefix], check=True)
            self.home = os.path.join(self.root, "home")
            os.mkdir(self.home)
            for path in (self.root, self.folder, self.home):
                os.chown(path, UNPRIVILEGED, UNPRIVILEGED)
            for name in os.listdir(self.folder):
                os.chown(self.path(name), UNPRIVILEGED, UNPRIVILEGED)
            self.env["HOME"] = self.home
        self.users = os.path.join(self.prefix, "drive_c", "users")

    def clean_up(self):
        env = getattr(self, "env", None)
        if env:
            subprocess.run(["timeout", "60", *self.as_user(), "wineserver", "-k"], env=env, capture_output=True)
        super().clean_up()

    def wine(self, *arguments, program="twk3.exe", cwd=None):
        command = ["timeout", windows_test.RUN_LIMIT, *self.as_user(), self.loader, program, *arguments]
        process = subprocess.Popen(command, cwd=cwd or self.folder, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def run_wine(self, *arguments):
        """A Windows command run to its end: its exit code and what it printed."""
        result = subprocess.run(["timeout", "120", *self.as_user(), self.loader, *arguments], cwd="/", env=self.env,
                                capture_output=True, text=True, errors="replace")
        return result.returncode, result.stdout

    def run_value(self):
        code, shown = self.run_wine("reg", "query", RUN_KEY, "/v", "TWK")
        if code != 0:
            return None
        line = [l for l in shown.splitlines() if l.strip().startswith("TWK")][0]
        return line.split("REG_SZ", 1)[1].strip()

    def user_folder(self, *parts):
        """A folder of the prefix's user profile (its name is the user's)."""
        found = glob.glob(os.path.join(self.users, "*", *parts))
        found = [f for f in found if "/Public/" not in f]
        return found[0] if found else None

    def drive_c_path(self, path):
        """A file of the prefix's drive C: as Windows programs name it (not through Z:)."""
        return "C:\\" + os.path.relpath(path, os.path.join(self.prefix, "drive_c")).replace("/", "\\")

    def end_program(self, process):
        self.exit_from_tray_menu(process)

    # The cases.

    def test_the_installer_installs_for_the_user_and_the_uninstaller_keeps_the_logs_and_settings(self):
        if not SETUP or not os.path.exists(SETUP):
            self.skipTest("TWK3_SETUP does not name the built installer")
        shutil.copy(SETUP, self.path("setup.exe"))
        os.chmod(self.path("setup.exe"), 0o755)
        installer = self.wine("/S", "/AUTOSTART", program="setup.exe")
        self.assertEqual(installer.wait(timeout=self.WAIT * 2), 0)
        installed = self.user_folder("AppData", "Local", "Programs", "TWK")
        self.assertIsNotNone(installed, "installed under %LOCALAPPDATA%\\Programs")
        self.assertEqual(sorted(os.listdir(installed)), ["README.txt", "Uninstall.exe", "twk3.chm", "twk3.exe"])
        # Stripped: with its debug information the program weighs some 25 MB.
        self.assertLess(os.path.getsize(os.path.join(installed, "twk3.exe")), 4 << 20, "the program as it ships")
        shortcut = self.user_folder("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs", "TWK.lnk")
        self.assertIsNotNone(shortcut, "the Start-menu shortcut")
        code, listed = self.run_wine("reg", "query", UNINSTALL_KEY)
        self.assertEqual(code, 0, "listed in Apps & features")
        for value in ("DisplayName", "DisplayVersion", "UninstallString", "QuietUninstallString"):
            self.assertIn(value, listed)
        installed_exe = self.drive_c_path(os.path.join(installed, "twk3.exe"))
        self.assertEqual(self.run_value().lower(), ('"%s"' % installed_exe).lower(), "/AUTOSTART: start at login")

        # The installed program: its folder is the user's, so it keeps its files beside itself.
        program = self.wine(program=installed_exe, cwd=installed)
        self.dismiss("Tarnwick 3.0")
        self.wait_for(lambda: os.path.exists(os.path.join(installed, "twk3.ini")), what="the settings")
        self.set_clipboard("copied under the installed program")
        day = time.strftime("%Y%m%d") + ".txt"
        self.wait_for(lambda: holds(os.path.join(installed, day), b"TEXT=copied under the installed program"),
                      what="the capture in the installed program's log")
        self.end_program(program)

        uninstall = self.drive_c_path(os.path.join(installed, "Uninstall.exe"))
        uninstaller = self.wine("/S", program=uninstall, cwd=installed)
        self.assertEqual(uninstaller.wait(timeout=self.WAIT), 0)
        # The silent uninstaller goes on from a copy of itself.
        self.wait_for(lambda: not os.path.exists(os.path.join(installed, "twk3.exe")) and
                      not os.path.exists(os.path.join(installed, "Uninstall.exe")), what="the program removed")
        self.wait_for(lambda: self.run_wine("reg", "query", UNINSTALL_KEY)[0] != 0, what="the Apps & features entry")
        self.assertEqual(sorted(os.listdir(installed)), sorted([day, "twk3.ini"]), "the user's files stay")
        self.assertIsNone(self.user_folder("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                                           "TWK.lnk"))
        self.assertIsNone(self.run_value(), "no start at login for a program that is gone")

    def test_a_copy_in_a_write_protected_folder_keeps_its_files_in_appdata(self):
        os.chmod(self.folder, 0o555)
        self.addCleanup(os.chmod, self.folder, 0o755)
        process = self.wine()
        self.dismiss("Tarnwick 3.0")
        own = self.wait_for(lambda: self.user_folder("AppData", "Roaming", "TWK", "twk3.ini"), what="the settings")
        with open(own, "rb") as f:
            ini = f.read().decode("utf-8")
        # Wine names the user's folder on drive C:, the test sees it through its own path.
        self.assertRegex(ini, r"SAVEDFILEPATH=C:\\users\\[^\\]+\\AppData\\Roaming\\TWK\\\r\n")
        self.assertRegex(ini, r"AMLFPATH=C:\\users\\[^\\]+\\AppData\\Roaming\\TWK\\appendfile.txt\r\n")
        self.set_clipboard("copied beside a write-protected program")
        day = os.path.join(os.path.dirname(own), time.strftime("%Y%m%d") + ".txt")
        self.wait_for(lambda: holds(day, b"TEXT=copied beside a write-protected program"),
                      what="the capture in %APPDATA%\\TWK")
        self.assertNotIn("twk3.ini", os.listdir(self.folder))
        self.assertIsNone(process.poll())

    def test_the_run_entry_follows_the_start_with_desktop_box(self):
        self.write_logging_ini()
        process = self.wine()
        # A Windows command started while the program is still starting Wine's session may hang
        # with it: the registry is read once the program is up.
        self.wait_for(self.tray_icons, what="the tray icon")
        self.assertIsNone(self.run_value())
        for ticked in (True, False):
            options = self.open_options()
            self.click_twips(options, 2040 + 120 + 120, 240 + 7 * 285 + 120)  # "Start with the desktop?"
            self.save_options(options)
            self.wait_for(lambda: not self.named("TWK Options"), what="the options window to close")
            if ticked:
                value = self.wait_for(self.run_value, what="the Run entry")
                self.assertEqual(value.lower(), ('"%s"' % windows_path(self.path("twk3.exe"))).lower())
            else:
                self.wait_for(lambda: self.run_value() is None, what="the Run entry removed")
        self.assertNotIn("DESKTOP", self.text("twk3.ini").upper(), "the box is no INI setting")
        self.assertIsNone(process.poll())

    def test_version_prints_without_starting_anything(self):
        code, shown = self.run_wine(windows_path(self.path("twk3.exe")), "--version")
        self.assertEqual((code, shown.replace("\r\n", "\n")), (0, "twk3 3.0.0\n"))
        self.assertNotIn("twk3.ini", os.listdir(self.folder))
        self.assertEqual(self.tray_icons(), [])


if __name__ == "__main__":
    unittest.main()
