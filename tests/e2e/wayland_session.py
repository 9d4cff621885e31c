"""A Wayland desktop for one test: a compositor started headless by the test itself,
with XWayland, as an unprivileged user when the tests run as root (sway refuses root),
in a runtime folder of its own. Every command of the test runs inside it, as that user."""

import os
import pwd
import shutil
import signal
import subprocess
import tempfile
import time

import x11util

USER = "nobody"
SOCKET = "wayland-twk"
WIDTH, HEIGHT = 1280, 800
BAR_HEIGHT = 24


class Session:
    """kind: "sway", "kwin" or "weston". start() raises unittest's SkipTest through
    skip() when the compositor is not installed or does not come up."""

    def __init__(self, kind, skip, wait=20.0, panel=False):
        self.kind = kind
        # sway only: swaybar at the bottom, with its tray, on a D-Bus session of its own.
        self.panel = panel
        self.skip = skip
        self.wait = wait
        self.processes = []
        self.compositor = None
        self.xvfb = None
        self.display = None
        self.runtime = tempfile.mkdtemp(prefix="twk-wl-")
        self.as_root = os.geteuid() == 0
        if self.as_root:
            entry = pwd.getpwnam(USER)
            os.chown(self.runtime, entry.pw_uid, entry.pw_gid)
        os.chmod(self.runtime, 0o700)

    # Running things inside.

    def env(self):
        environment = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.runtime, "LANG": "C.UTF-8",
                       "XDG_RUNTIME_DIR": self.runtime, "WAYLAND_DISPLAY": SOCKET}
        if self.display:
            environment["DISPLAY"] = self.display
        ipc = [name for name in os.listdir(self.runtime) if name.startswith("sway-ipc.")]
        if ipc:
            environment["SWAYSOCK"] = os.path.join(self.runtime, ipc[0])
        bus = os.path.join(self.runtime, "bus")
        if os.path.exists(bus):
            with open(bus) as f:
                environment["DBUS_SESSION_BUS_ADDRESS"] = f.read().strip()
        return environment

    def command(self, words, extra=None):
        environment = dict(self.env(), **(extra or {}))
        settings = ["%s=%s" % item for item in environment.items()]
        prefix = ["runuser", "-u", USER, "--"] if self.as_root else []
        return prefix + ["env", "-i"] + settings + list(words)

    def give(self, path):
        """Makes a file or folder the session user's, so that it can use it."""
        if self.as_root:
            entry = pwd.getpwnam(USER)
            for folder, folders, files in os.walk(path):
                for name in [folder] + [os.path.join(folder, f) for f in files]:
                    os.chown(name, entry.pw_uid, entry.pw_gid)
            if os.path.isfile(path):
                os.chown(path, entry.pw_uid, entry.pw_gid)

    def run(self, words, data=None, timeout=20, extra=None):
        self.check_alive()
        return subprocess.run(self.command(words, extra), input=data, capture_output=True, timeout=timeout)

    def copy_in_x11(self, data):
        """xclip's copy: it stays in the background to serve it (and keeps no pipe of ours)."""
        self.check_alive()
        subprocess.run(self.command(["xclip", "-selection", "clipboard", "-i"]), input=data, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20)

    def popen(self, words, extra=None, **options):
        self.check_alive()
        options.setdefault("stdout", subprocess.DEVNULL)
        options.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(self.command(words, extra), start_new_session=True, **options)
        self.processes.append(process)
        return process

    def check_alive(self):
        # Once a compositor ends, its display numbers may go to another server of the machine.
        if self.compositor is not None and self.compositor.poll() is not None:
            raise AssertionError("the %s compositor ended (status %s)" % (self.kind, self.compositor.returncode))

    # The clipboard, as Wayland applications see it.

    def paste(self):
        """The clipboard's text as wl-paste gets it; None when it holds none."""
        result = self.run(["wl-paste", "--no-newline"], timeout=10)
        return result.stdout if result.returncode == 0 else None

    def types(self):
        result = self.run(["wl-paste", "--list-types"], timeout=10)
        return result.stdout.decode().split() if result.returncode == 0 else []

    # The compositor.

    def start(self):
        starts = {"sway": self._start_sway, "kwin": self._start_kwin, "weston": self._start_weston}
        starts[self.kind]()
        socket = os.path.join(self.runtime, SOCKET)
        try:
            x11util.wait_for(lambda: os.path.exists(socket) and self.compositor.poll() is None and
                             (self.display or self._find_display()) and
                             (not self.panel or os.path.exists(os.path.join(self.runtime, "bus"))),
                             self.wait, "the %s session" % self.kind)
        except AssertionError:
            status = self.compositor.poll()
            self.stop()
            self.skip("%s did not start headless here (status %s)" % (self.kind, status))
        self.check_alive()

    def _find_display(self):
        if self.kind == "weston":
            return self._weston_display()
        path = os.path.join(self.runtime, "display")
        if os.path.exists(path):
            with open(path) as f:
                self.display = f.read().strip() or None
        return self.display

    def _spawn(self, words, extra):
        self.compositor = subprocess.Popen(self.command(words, extra), start_new_session=True,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _say_display(self):
        return "echo $DISPLAY > %s/display" % self.runtime

    def _start_sway(self):
        if not shutil.which("sway"):
            self.skip("sway is not installed")
        config = os.path.join(self.runtime, "sway.config")
        say = self._say_display()
        bar = ""
        if self.panel:
            say += "; echo $DBUS_SESSION_BUS_ADDRESS > %s/bus" % self.runtime
            bar = "bar {\n position bottom\n height %d\n tray_output *\n}\n" % BAR_HEIGHT
        with open(config, "w") as f:
            f.write("xwayland enable\noutput HEADLESS-1 resolution %dx%d\n%sexec sh -c '%s'\n" % (WIDTH, HEIGHT, bar, say))
        self.give(config)
        self._spawn((["dbus-run-session", "--"] if self.panel else []) + ["sway", "-c", config],
                    {"WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1",
                     "WAYLAND_DISPLAY": ""})
        # sway names its socket itself: give it ours once it is there.
        x11util.wait_for(lambda: self.compositor.poll() is not None or self._sway_socket(), self.wait, "sway's socket")

    def _sway_socket(self):
        for name in os.listdir(self.runtime):
            if name.startswith("wayland-") and not name.endswith(".lock") and name != SOCKET:
                os.symlink(os.path.join(self.runtime, name), os.path.join(self.runtime, SOCKET))
                return True
        return False

    def _start_kwin(self):
        installed = shutil.which("kwin_wayland")
        if not installed or not shutil.which("dbus-run-session"):
            self.skip("kwin_wayland (and dbus-run-session) are not installed")
        # The packaged file carries a capability that a container refuses; a plain copy runs.
        kwin = os.path.join(self.runtime, "kwin_wayland")
        shutil.copy(installed, kwin)
        self.give(kwin)
        self._spawn(["dbus-run-session", "--", kwin, "--virtual", "--xwayland", "--socket", SOCKET, "--width",
                     "1280", "--height", "800", "sh -c '%s; exec sleep 100000'" % self._say_display()],
                    {"QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": ""})

    def _start_weston(self):
        if not shutil.which("weston") or not shutil.which("Xvfb"):
            self.skip("weston (and Xvfb) are not installed")
        # Its headless backend has no seat: it runs on an X display of its own instead.
        host = ":%d" % (200 + os.getpid() % 50)
        self.xvfb = subprocess.Popen(["Xvfb", host, "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-ac"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        x11util.wait_for(lambda: os.path.exists("/tmp/.X11-unix/X" + host[1:]), self.wait, "Xvfb")
        log = os.path.join(self.runtime, "weston.log")
        self._spawn(["weston", "--backend=x11-backend.so", "--xwayland", "--socket=" + SOCKET, "--log=" + log],
                    {"DISPLAY": host, "WAYLAND_DISPLAY": ""})
        self._weston_log = log

    def _weston_display(self):
        """Weston's XWayland display, as its log says it."""
        with open(self._weston_log) as f:
            for line in f:
                if "xserver listening on display" in line:
                    self.display = line.split()[-1]
        return self.display

    def stop(self):
        # The clients first; then the servers, asked to end so that they take their
        # sockets and lock files with them.
        for group, ask in ((self.processes, signal.SIGKILL), ([self.compositor, self.xvfb], signal.SIGTERM)):
            for process in group:
                if process is not None and process.poll() is None:
                    try:
                        os.killpg(process.pid, ask)
                    except ProcessLookupError:
                        pass
            for process in group:
                if process is None:
                    continue
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait(timeout=5)
        time.sleep(0.2)
        shutil.rmtree(self.runtime, ignore_errors=True)
