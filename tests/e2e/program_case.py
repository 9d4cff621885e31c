"""What the desktop and the Wine end-to-end tests share: the program's folder and
its files, the INI files they write, the clipboard of the test's display, and
the window manager and tray they start there."""

import os
import shutil
import subprocess
import unittest

import x11util


def ini_with(main, link=""):
    return ("[TWK]\r\nFIRSTRUN=9\r\nON=1\r\nBEEPON=0\r\nFREQUENCY=1\r\nJS=1\r\n" + main +
            "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=1\r\n" + link)


class ProgramCase(unittest.TestCase):
    """A subclass sets folder (the program's), folder_line (it as an INI names
    it, with its last separator), processes, and ENCODING, WAIT and INTERVAL."""

    INTERVAL = 0.1

    def x_env(self):
        return os.environ

    def x(self, command):
        """What a command on the test's display prints."""
        return subprocess.run(command, env=self.x_env(), capture_output=True, text=True, timeout=30).stdout

    def wait_for(self, condition, what="condition"):
        return x11util.wait_for(condition, self.WAIT, what, self.INTERVAL)

    def named(self, name):
        return x11util.windows_named(name, self.x_env())

    def dismiss(self, name):
        x11util.dismiss(name, self.WAIT, self.x_env())

    def background(self, command):
        process = subprocess.Popen(command, env=self.x_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def start_window_manager(self):
        if not shutil.which("openbox"):
            self.skipTest("openbox is not installed: no window manager to decorate the windows")
        # Now and then, on a loaded machine, openbox never gets as far as announcing itself:
        # a fresh one is started rather than the case failing before the program ran.
        tries = 3
        for attempt in range(1, tries + 1):
            # A manager killed at the end of the case before leaves its mark on the root window: without
            # this, the wait below would pass before the new one manages anything.
            self.x(["xprop", "-root", "-remove", "_NET_SUPPORTING_WM_CHECK"])
            manager = self.background(["openbox", "--sm-disable"])
            try:
                x11util.wait_for(lambda: "window id" in self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]),
                                 max(self.WAIT / tries, 10), "the window manager", self.INTERVAL)
                return
            except x11util.TimedOut:
                if attempt == tries:
                    raise
                manager.kill()
                manager.wait(timeout=10)

    def start_tray(self):
        if not shutil.which("trayer"):
            self.skipTest("trayer is not installed: no tray to click")
        self.background(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "80",
                         "--height", "24"])
        self.wait_for(lambda: self.named("panel"), what="the tray")

    # The clipboard of the test's display.

    def set_clipboard(self, content):
        # xclip stays in the background to serve the text until someone else owns the clipboard.
        data = content.encode("utf-8") if isinstance(content, str) else content
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=data, env=self.x_env(), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def clipboard_bytes(self):
        """What the clipboard serves, or None when it holds no text."""
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.x_env(), capture_output=True,
                                timeout=20)
        return result.stdout if result.returncode == 0 else None

    def clipboard(self):
        served = self.clipboard_bytes()
        return None if served is None else served.decode("utf-8", "replace")

    def clipboard_emptied(self):
        self.wait_for(lambda: self.clipboard() in (None, ""), what="an empty clipboard")

    # The program's files.

    def path(self, name):
        return os.path.join(self.folder, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def text(self, name):
        return self.read(name).decode(self.ENCODING)

    def write_ini(self, content):
        with open(self.path("twk3.ini"), "wb") as f:
            f.write(content.encode(self.ENCODING))

    def write_logging_ini(self, main="", links=False):
        """An INI file that logs every text to twk.txt in the program's folder (and every link to
        twkurl.txt there, when links), with more lines of [TWK]."""
        link = "AUTOSAVE=1\r\nSAVETYPE=1\r\nlinkcatcherSAVEDFILEPATH=%s\r\n" % self.folder_line if links else ""
        self.write_ini(ini_with("AUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=%s\r\n" % self.folder_line + main, link))

    def file_holds(self, name, data):
        if isinstance(data, str):
            data = data.encode(self.ENCODING)
        return os.path.exists(self.path(name)) and data in self.read(name)

    def logged(self, text, name="twk.txt"):
        """Waits until the log holds TEXT=text."""
        self.wait_for(lambda: self.file_holds(name, "TEXT=" + text), what="the capture of " + repr(text[:40]))
