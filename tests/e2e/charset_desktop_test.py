"""The table of texts of every script (charset_cases.py) through the desktop
program, under an X display of the caller's."""

import signal
import sys
import unittest

from charset_cases import CharsetCases
from desktop_test import Desktop


class DesktopCharset(CharsetCases, Desktop):
    separator = "/"
    unicode_owner = None  # xclip is as much a program of this desktop as any

    def launch(self):
        return self.start()

    def stop(self, process):
        process.send_signal(signal.SIGTERM)
        self.ends_cleanly(process)


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
