"""End-to-end tests of the native Windows program under Wine: each test has a
Wine prefix of its own (a copy of one prepared prefix) and an X display of its
own with a window manager and a tray; xclip sets and reads the clipboard, which
Wine passes to the program both ways, and xdotool clicks the tray icon, the
menu and the message boxes."""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

from program_case import ProgramCase, ini_with

PROGRAM = os.environ.get("TWK3_EXE", "")
PROBE = os.environ.get("TWK3_PROBE", "")
TEMPLATE = os.environ.get("TWK3_WINE_TEMPLATE", os.path.join(tempfile.gettempdir(), "twk3-wine-template"))
WAIT = float(os.environ.get("TWK3_WAIT", "60"))  # seconds: Wine starts slowly on a loaded two-core machine
RUN_LIMIT = "120"  # seconds any one Wine process may live
PREFIX_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "wine-prefix.sh")
LOADERS = {0x14C: "/usr/lib/wine/wine", 0x8664: "/usr/lib/wine/wine64"}


def machine_of(exe):
    """The machine a PE program is built for."""
    with open(exe, "rb") as f:
        header = f.read(4096)
    offset = struct.unpack_from("<I", header, 0x3C)[0]
    if header[offset:offset + 4] != b"PE\0\0":
        raise AssertionError(exe + " is no PE program")
    return struct.unpack_from("<H", header, offset + 4)[0]


def can_run(loader):
    try:
        return subprocess.run([loader, "--version"], capture_output=True, timeout=30).returncode == 0
    except OSError:
        return False


def prepare_template(loader):
    """Makes the prepared prefix once; each test copies it in about two seconds."""
    kind = "wine64" if loader.endswith("64") else "wine"
    subprocess.run(["timeout", "400", PREFIX_SCRIPT, TEMPLATE, kind], capture_output=True)
    if not os.path.exists(os.path.join(TEMPLATE, ".twk-made")):
        raise AssertionError("could not make a Wine prefix in " + TEMPLATE)


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class Wine(ProgramCase):
    ENCODING = "latin-1"
    WAIT = WAIT
    INTERVAL = 0.2

    def setUp(self):
        if not PROGRAM or not os.path.exists(PROGRAM):
            self.skipTest("TWK3_EXE does not name the built twk3.exe")
        for tool in ("Xvfb", "xclip", "xdotool", "openbox", "trayer", "xwininfo"):
            if not shutil.which(tool):
                self.skipTest(tool + " is not installed")
        self.loader = LOADERS.get(machine_of(PROGRAM))
        if not self.loader or not can_run(self.loader):
            self.skipTest("this machine's Wine cannot run %s programs: it is tested in its 64-bit build" %
                          ("32-bit" if machine_of(PROGRAM) == 0x14C else "these"))
        prepare_template(self.loader)
        self.processes = []
        # Runs even when the rest of the set-up fails: nothing of a test outlives it.
        self.addCleanup(self.clean_up)
        self.root = tempfile.mkdtemp(prefix="twk-wine-")
        self.prefix = os.path.join(self.root, "prefix")
        subprocess.run(["cp", "-a", TEMPLATE, self.prefix], check=True)
        self.folder = os.path.join(self.root, "program")
        self.folder_line = windows_path(self.folder) + "\\"
        os.mkdir(self.folder)
        shutil.copy(PROGRAM, self.path("twk3.exe"))
        help_file = os.path.join(os.path.dirname(PROGRAM), "twk3.chm")
        if os.path.exists(help_file):
            shutil.copy(help_file, self.folder)
        if PROBE and os.path.exists(PROBE):
            shutil.copy(PROBE, self.path("probe.exe"))
        self.start_desktop()
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", WINELOADER=self.loader,
                        DISPLAY=self.display, WINEDLLOVERRIDES="mscoree,mshtml=")
        self.set_clipboard("")

    def clean_up(self):
        env = getattr(self, "env", None)
        if env:
            subprocess.run(["timeout", "60", "wineserver", "-k"], env=env, capture_output=True)
        # Politely first: an X server killed outright leaves its display locked.
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait(timeout=30)
        shutil.rmtree(getattr(self, "root", ""), ignore_errors=True)

    # The desktop: a display of its own, a window manager, a tray.

    def start_desktop(self):
        fixed = os.environ.get("TWK3_WINE_DISPLAY")
        if fixed:
            server = subprocess.Popen(["Xvfb", fixed, "-screen", "0", "1280x960x24", "-nolisten", "tcp"],
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.display = fixed
        else:
            read, write = os.pipe()
            server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x960x24",
                                       "-nolisten", "tcp"], pass_fds=(write,), stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
            os.close(write)
            with os.fdopen(read) as f:
                self.display = ":" + f.readline().strip()
        self.processes.append(server)
        self.wait_for(lambda: subprocess.run(["xdpyinfo"], env=self.x_env(), capture_output=True).returncode == 0,
                      what="the X display")
        self.start_window_manager()
        self.start_tray()

    def x_env(self):
        return dict(os.environ, DISPLAY=getattr(self, "display", ""))

    def tray_icons(self):
        """The icons docked in the tray: Wine's windows inside trayer's panel."""
        icons, inside = [], None
        for line in self.x(["xwininfo", "-root", "-tree"]).splitlines():
            depth = len(line) - len(line.lstrip())
            if '"panel": ("panel" "trayer")' in line:
                inside = depth
            elif inside is not None and depth <= inside and line.strip():
                inside = None
            elif inside is not None and '("explorer.exe"' in line:
                icons.append(line.split()[0])
        return icons

    def popup_menus(self):
        """The program's open popup menus: its windows without a name."""
        found = self.x(["xdotool", "search", "--onlyvisible", "--class", "twk3.exe"]).split()
        return [w for w in found if not self.x(["xdotool", "getwindowname", w]).strip()]

    def open_tray_menu(self):
        icon = self.wait_for(self.tray_icons, what="the tray icon")[0]

        def opened():
            # A click that comes before the program listens is lost: click again until a menu opens.
            menus = self.popup_menus()
            if not menus:
                self.x(["xdotool", "mousemove", "--window", icon, "8", "8", "click", "3"])
                time.sleep(2)
                menus = self.popup_menus()
            return menus[0] if menus else None

        return self.wait_for(opened, what="the tray menu")

    def click_entry(self, menu, index, count=9):
        """Clicks the index-th of count entries of an open menu (the tray menu has nine)."""
        geometry = self.x(["xdotool", "getwindowgeometry", menu])
        height = int(re.search(r"Geometry: \d+x(\d+)", geometry).group(1))
        self.x(["xdotool", "mousemove", "--window", menu, "30", str(int(height * (index + 0.5) / count)),
                "click", "1"])

    def click_twips(self, window, left, top):
        """Clicks a point of a window's client area given in twips, at 15 twips a pixel."""
        self.x(["xdotool", "mousemove", "--window", window, str(int(left / 15)), str(int(top / 15)), "click", "1"])
        time.sleep(0.5)

    def escape_until_gone(self, name, what):
        """Activates a window and presses Esc until it has gone: another may take the focus in between."""
        window = self.named(name)[0]

        def gone():
            self.x(["xdotool", "windowactivate", "--sync", window])
            time.sleep(0.5)
            self.x(["xdotool", "key", "--clearmodifiers", "Escape"])
            time.sleep(0.5)
            return not self.named(name)

        self.wait_for(gone, what=what)

    def open_options(self):
        self.click_entry(self.open_tray_menu(), 5)  # "&Options"
        return self.wait_for(lambda: self.named("TWK Options"), what="the options window")[0]

    def save_options(self, options):
        self.click_twips(options, 6840 + 600, 3120 + 240)  # "&Save Changes"

    def exit_from_tray_menu(self, process):
        self.click_entry(self.open_tray_menu(), 8)  # "E&xit"
        self.assertEqual(process.wait(timeout=WAIT), 0)
        self.assertEqual(self.tray_icons(), [], "the tray icon is gone")

    def wine(self, *arguments, program="twk3.exe"):
        command = ["timeout", RUN_LIMIT, self.loader, program, *arguments]
        process = subprocess.Popen(command, cwd=self.folder, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def probe(self, *arguments):
        if not os.path.exists(self.path("probe.exe")):
            self.skipTest("TWK3_PROBE does not name the built probe.exe")
        result = subprocess.run(["timeout", "60", self.loader, "probe.exe", *arguments], cwd=self.folder,
                                env=self.env, capture_output=True, text=True)
        return result.returncode, result.stdout

    # The cases.

    def test_first_run_at_a_drive_root_writes_the_defaults_and_welcomes(self):
        # The program's folder is the root of drive D:, so its INI file is D:\twk3.ini.
        os.symlink(self.folder, os.path.join(self.prefix, "dosdevices", "d:"))
        process = self.wine(program="D:\\twk3.exe")
        self.wait_for(lambda: self.named("Tarnwick 3.0"), what="the welcome box")
        self.assertEqual(self.named("Recent Clipboard Text"), [], "the welcome comes before the viewers")
        self.assertEqual(self.probe("find"), (0, 'found "Tarnwick 3.0" visible=0\n'))
        self.dismiss("Tarnwick 3.0")
        ini = self.text("twk3.ini")
        for line in ("XYPOS=0", "AMLFPATH=D:\\appendfile.txt", "SAVETYPE=3", "SAVEDFILEPATH=D:\\", "HITNRUN=0",
                     "FIRSTRUN=9", "linkcatcherSAVEDFILEPATH=D:\\"):
            self.assertIn(line + "\r\n", ini)
        self.assertRegex(ini, r"LOGVIEWER=[A-Za-z]:\\windows\\Notepad\.exe\r\n")
        self.assertEqual(len(self.wait_for(self.tray_icons, what="the tray icon")), 1)
        self.assertIsNone(process.poll())

    def test_a_copied_text_reaches_the_clipboard_log_and_the_link_log(self):
        self.write_logging_ini("AM=1\r\nASAF=1\r\nAMLFPATH=%sappend.txt\r\nAUTOCLEAR=0\r\n" % self.folder_line,
                               links=True)
        self.wine()
        self.set_clipboard("http://example.org/page")
        self.wait_for(lambda: self.file_holds("twkurl.txt", "=http://example.org/page"), what="the link log")
        self.assertRegex(self.read("twk.txt"), rb"^\[\d{14}\]\r\nTEXT=http://example.org/page\r\n$")
        self.assertRegex(self.read("twkurl.txt"), rb"^\[\d{8}\]\r\n\d{6}=http://example.org/page\r\n$")
        # Two lines, and a letter outside ASCII: UTF-8 in the files.
        self.set_clipboard("two\nlines caf\u00e9")
        self.logged("two")
        log = self.read("twk.txt")
        self.assertTrue(log.endswith(b"]\r\nTEXT=two\r\nlines caf\xc3\xa9\r\n"), log)
        self.assertEqual(self.read("append.txt"), b"\r\nhttp://example.org/page\r\ntwo\r\nlines caf\xc3\xa9\r\n")
        self.assertEqual(self.read("twkurl.txt").count(b"="), 1, "the second text is no link")
        # Put back as it came.
        self.assertEqual(self.clipboard(), "two\nlines caf\u00e9")

    def test_hit_and_run_captures_what_is_there_and_ends(self):
        self.write_logging_ini("HITNRUN=1\r\n")
        self.set_clipboard("taken at start")
        self.assertEqual(self.wine().wait(timeout=WAIT), 0)
        self.assertRegex(self.read("twk.txt"), rb"^\[\d{14}\]\r\nTEXT=taken at start\r\n$")
        self.assertIn(b"HITNRUN=1\r\n", self.read("twk3.ini"))
        self.assertEqual(self.probe("find")[0], 1, "nothing of the program is left")

    def test_a_second_instance_says_so_and_ends_without_a_trace(self):
        self.write_logging_ini()
        first = self.wine()
        self.set_clipboard("first is up")
        self.logged("first is up")
        before = self.read("twk3.ini")
        icons = len(self.tray_icons())
        second = self.wine()
        self.dismiss("unwanted instance")
        self.assertEqual(second.wait(timeout=WAIT), 0)
        self.assertEqual(self.read("twk3.ini"), before)
        self.assertEqual(len(self.tray_icons()), icons, "the second instance added no tray icon")
        self.assertIsNone(first.poll())
        self.assertEqual(self.probe("find"), (0, 'found "Tarnwick 3.0" visible=0\n'))

    def test_a_password_managers_secret_and_copied_files_stay_out_of_the_log(self):
        self.write_logging_ini("AUTOCLEAR=1\r\n")
        self.wine()
        self.set_clipboard("before")
        self.logged("before\r\n")
        self.assertEqual(self.probe("secret", "hunter2")[0], 0)
        self.assertEqual(self.probe("files", r"C:\windows\win.ini")[0], 0)
        time.sleep(3)  # three ticks
        self.set_clipboard("after")
        self.logged("after\r\n")
        self.assertNotIn(b"hunter2", self.read("twk.txt"))
        self.assertNotIn(b"win.ini", self.read("twk.txt"))

    def test_a_log_opens_in_the_log_viewer_with_one_blank(self):
        viewer = windows_path(self.path("probe.exe"))
        self.write_logging_ini("LOGVIEWER=%s\r\n" % viewer)
        self.wine()
        menu = self.open_tray_menu()
        self.click_entry(menu, 0)  # "View &Logs" opens its submenu
        submenu = self.wait_for(lambda: [m for m in self.popup_menus() if m != menu], what="the View Logs submenu")[0]
        self.click_entry(submenu, 0, 3)  # "Current &Clipboard Log"
        self.wait_for(lambda: os.path.exists(self.path("probe-command-lines.txt")), what="the log viewer")
        self.assertEqual(self.text("probe-command-lines.txt"), viewer + " " + self.folder_line + "twk.txt\n")

    def test_exit_from_the_tray_menu_ends_the_program_cleanly(self):
        placement = "[frmtotext]\r\nLeft=1500\r\nTop=1500\r\nWidth=6720\r\nHeight=2160\r\nWindowState=0\r\n"
        self.write_ini(ini_with("XYPOS=1\r\nAUTOOOPENVIEWERS=1\r\nAUTOSAVE=0\r\n") + placement)
        process = self.wine()
        self.wait_for(lambda: self.named("Recent Clipboard Text"), what="the viewer")
        self.exit_from_tray_menu(process)
        # Each viewer saved where it was as it closed; bounds are outer bounds both ways, so a
        # remembered placement comes back as it was saved and does not grow by the frame.
        ini = self.text("twk3.ini")
        self.assertIn(placement, ini)
        self.assertRegex(ini, r"\[frmlinkcatcher\]\r\nLeft=\d+\r\nTop=\d+\r\nWidth=\d+\r\nHeight=\d+\r\n"
                              r"WindowState=0\r\n")

    def test_the_tray_menu_answers_the_keyboard(self):
        self.write_ini(ini_with("AUTOSAVE=0\r\n"))
        process = self.wine()
        menu = self.open_tray_menu()
        self.x(["xdotool", "key", "--clearmodifiers", "Escape"])
        self.wait_for(lambda: menu not in self.popup_menus(), what="Esc to close the tray menu")
        self.assertIsNone(process.poll())
        self.open_tray_menu()
        self.x(["xdotool", "key", "--clearmodifiers", "x"])  # "E&xit"
        self.assertEqual(process.wait(timeout=WAIT), 0)
        self.assertEqual(self.tray_icons(), [], "the tray icon is gone")

    def test_autoclear_ticked_in_the_options_window_acts_at_the_next_tick(self):
        self.write_logging_ini("AUTOCLEAR=0\r\n")
        process = self.wine()
        self.set_clipboard("before")
        self.logged("before\r\n")
        self.assertEqual(self.clipboard(), "before")
        options = self.open_options()
        self.click_twips(options, 600, 300)  # the page list's second entry, "Clipboard Logging"
        self.click_twips(options, 2040 + 120 + 120, 240 + 285 + 120)  # "Clear Clipboard After Log Save?"
        self.save_options(options)
        self.wait_for(lambda: self.file_holds("twk3.ini", "AUTOCLEAR=1\r\n"), what="the saved setting")
        self.wait_for(lambda: not self.named("TWK Options"), what="the options window to close")
        self.set_clipboard("after")
        self.logged("after\r\n")
        self.clipboard_emptied()
        self.assertIsNone(process.poll())

    def test_a_log_folder_picked_in_the_browser_takes_the_next_capture(self):
        os.mkdir(self.path("logs"))
        self.write_logging_ini()
        self.wine()
        options = self.open_options()
        self.click_twips(options, 600, 300)  # "Clipboard Logging"
        self.click_twips(options, 2040 + 120 + 240, 2460 + 180)  # the log folder's button
        browser = self.wait_for(lambda: self.named("TWK Browse for File or Directory"), what="the browser")[0]
        # It opens on the saved folder, which holds ".." and "logs": open "logs", then Ok.
        line = str(int(480 / 15 + 13 * 1.5))
        self.x(["xdotool", "mousemove", "--window", browser, "30", line, "click", "1"])
        time.sleep(0.5)
        self.x(["xdotool", "mousemove", "--window", browser, "30", line, "click", "--repeat", "2", "--delay", "80", "1"])
        shown = lambda: self.probe("texts", "TWK Browse for File or Directory")[1]
        self.wait_for(lambda: self.folder_line + "logs\\\n" in shown(),
                      what="the browser to open the logs folder: " + shown())
        self.click_twips(browser, 3240 + 600, 3720 + 240)  # "&Ok"
        self.wait_for(lambda: not self.named("TWK Browse for File or Directory"), what="the browser to close")
        self.save_options(options)
        self.wait_for(lambda: self.file_holds("twk3.ini", "SAVEDFILEPATH=%slogs\\\r\n" % self.folder_line),
                      what="the saved folder")
        self.set_clipboard("into the new folder")
        self.logged("into the new folder\r\n", os.path.join("logs", "twk.txt"))

    def test_the_about_window_shows_the_version_record_and_its_help_button_opens_the_help(self):
        if not os.path.exists(self.path("twk3.chm")):
            self.skipTest("no twk3.chm beside TWK3_EXE")
        self.write_ini(ini_with("AUTOSAVE=0\r\n"))
        self.wine()
        self.click_entry(self.open_tray_menu(), 6)  # "&About/Help"
        about = self.wait_for(lambda: self.named("About Tarnwick 3.0"), what="the about window")[0]
        status, texts = self.probe("texts", "About Tarnwick 3.0")
        self.assertEqual(status, 0)
        for text in ("Version 3.0.0", "TWK3 Tarnwick Windows Clipboard Utility", "Help (F1)", "OK"):
            self.assertIn(text + "\n", texts)
        self.click_twips(about, 4320 + 600, 2880 + 180)  # "Help (F1)"
        self.wait_for(lambda: self.named("TWK 3.0 Help"), what="the help viewer")
        self.escape_until_gone("About Tarnwick 3.0", "Esc to close the about window")
        self.assertIn(b"[frmAbout]\r\nLeft=", self.read("twk3.ini"))

    def test_the_system_closing_the_hidden_main_window_ends_the_program_in_order(self):
        self.write_ini(ini_with("AUTOSAVE=0\r\nAUTOOOPENVIEWERS=1\r\n"))
        process = self.wine()
        self.wait_for(lambda: self.named("Recent Clipboard Text"), what="the viewer")
        self.wait_for(self.tray_icons, what="the tray icon")
        self.assertEqual(self.probe("close", "TWK")[0], 0)
        self.assertEqual(process.wait(timeout=WAIT), 0)
        self.assertEqual(self.tray_icons(), [], "the tray icon is gone")
        self.assertIn(b"[frmtotext]\r\nLeft=", self.read("twk3.ini"))

    def test_esc_hides_the_viewer_which_goes_on_showing_new_text(self):
        self.write_logging_ini("AUTOOOPENVIEWERS=1\r\nPAC=1\r\n")
        self.wine()
        self.wait_for(lambda: self.named("Recent Clipboard Text"), what="the viewer")
        # The Link Catcher, shown last, may take the focus back in between.
        self.escape_until_gone("Recent Clipboard Text", "the viewer to hide")
        self.assertTrue(self.named("Link Catcher"), "Esc in the viewer leaves the Link Catcher")
        # It pops up again with the next text, given to it while it was hidden.
        self.set_clipboard("back again")
        self.logged("back again\r\n")
        self.wait_for(lambda: self.named("Recent Clipboard Text"), what="the viewer to pop up")
        self.assertIn("back again", self.probe("texts", "Recent Clipboard Text")[1])


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
