"""Waiting for things on an X display and finding its windows: shared by the
end-to-end tests and the desktop benchmark. Calls that talk to the display
take its environment; by default they use this process's own."""

import re
import subprocess
import time


class TimedOut(AssertionError, TimeoutError):
    """A wait that ran out: a failed check to a test, a timeout to a benchmark."""


def wait_for(condition, timeout, what="condition", interval=0.1):
    """The first true result of condition(), asked every interval seconds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(interval)
    raise TimedOut("timed out waiting for " + what)


def wait_closely(condition, timeout, what="condition"):
    """wait_for asking every 5 ms, for a wait whose end is timed."""
    return wait_for(condition, timeout, what, interval=0.005)


def windows_named(name, env=None):
    """The visible windows whose name is exactly name."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(name) + "$"], env=env,
                           capture_output=True, text=True, timeout=30)
    return found.stdout.split()


def dismiss(name, timeout, env=None):
    """Presses Enter in the first visible window of that name (a message box)."""
    window = wait_for(lambda: windows_named(name, env), timeout, "window " + name)[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env, capture_output=True, timeout=30)
    subprocess.run(["xdotool", "key", "--clearmodifiers", "Return"], env=env, capture_output=True, timeout=30)
    wait_for(lambda: window not in windows_named(name, env), timeout, "window %s to close" % name)
