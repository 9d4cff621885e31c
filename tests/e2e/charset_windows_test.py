"""The table of texts of every script (charset_cases.py) through the Windows
program under Wine: from an X11 owner, which Wine hands over, and from a
Unicode Windows program (the probe)."""

import sys
import unittest

from charset_cases import CharsetCases
from windows_test import WAIT, Wine


class WineCharset(CharsetCases, Wine):
    separator = "\\"

    def launch(self):
        return self.wine()

    def stop(self, process):
        self.wait_for(self.tray_icons, what="the tray icon")
        self.assertEqual(self.probe("close", "TWK")[0], 0)
        self.assertEqual(process.wait(timeout=WAIT), 0)

    def unicode_owner(self, text):
        self.assertEqual(self.probe("unicode", text.encode("utf-8").hex())[0], 0)

    def unicode_clipboard(self):
        status, printed = self.probe("read-unicode")
        self.assertEqual(status, 0, "no CF_UNICODETEXT on the clipboard")
        return bytes.fromhex(printed.strip()).decode("utf-8")


if __name__ == "__main__":
    unittest.main(argv=sys.argv, verbosity=2)
