"""Texts of every script through the real program, one table for both systems.

CASES are the copied texts; INI_FORMS the ways a user may save twk3.ini. The
desktop (Linux) and the Wine (Windows) tests both run CharsetCases on them and
expect the very same bytes in every log: UTF-8, whatever the system."""

import codecs
import os
import re

# Each text starts with "http" so that it is a link too, even to the strict rules.
CASES = [
    ("cyrillic", "http://example.org/ \u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440"),
    ("cjk", "http://example.org/ \u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8"),
    ("emoji", "http://example.org/ thumbs \U0001F44D up"),
    ("latin1", "http://example.org/ caf\u00e9 cr\u00e8me \u201cquoted\u201d \u20ac5 \u00a9 \u00a3 \u00b0"),
    # 255 characters in 481 bytes: still a link, as the limit counts characters.
    ("long", "http://example.org/" + "\u0436" * 236),
]

# A log folder the form can spell, and how the form writes text.
INI_FORMS = [
    ("utf-16", "\u041f\u0430\u043f\u043a\u0430 caf\u00e9 \u65e5\u672c", lambda text: codecs.BOM_UTF16_LE +
     text.encode("utf-16-le")),
    ("utf-8 with a mark", "\u041f\u0430\u043f\u043a\u0430 \U0001F44D", lambda text: codecs.BOM_UTF8 +
     text.encode("utf-8")),
    ("utf-8", "\u65e5\u672c\u8a9e caf\u00e9", lambda text: text.encode("utf-8")),
    # An older program's file; the program reads it in the system's ANSI code page.
    ("ansi", "caf\u00e9 \u00a9", lambda text: text.encode("cp1252"), "windows only"),
]

CLIP_SCHEMES = {"1": r"^twk\.txt$", "2": r"^\d{8}_\d{6}(_\d+)?\.txt$", "3": r"^\d{8}\.txt$"}
LINK_SCHEMES = {"1": r"^twkurl\.txt$", "2": r"^u\d{8}\.txt$"}


def utf8(text):
    return text.encode("utf-8")


class CharsetCases:
    """Mixed into a ProgramCase that can run the program: the subclass gives
    launch() (starts it), stop(process) (ends it as the system does),
    separator (of its folders), unicode_owner(text) (puts
    text on the clipboard as a program of the system's own would; None where
    the X11 owner is the system's own) and unicode_clipboard() (the clipboard's
    text as such a program reads it)."""

    def charset_ini(self, main, folder, link=""):
        return ("[TWK]\r\nFIRSTRUN=9\r\nON=1\r\nBEEPON=0\r\nFREQUENCY=1\r\nJS=1\r\nAUTOSAVE=1\r\n"
                "SAVEDFILEPATH=%s\r\n%s[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=1\r\nAUTOSAVE=1\r\n"
                "linkcatcherSAVEDFILEPATH=%s\r\n%s" % (folder, main, folder, link))

    def logs(self, folder, pattern):
        names = sorted(n for n in os.listdir(folder) if re.match(pattern, n))
        return [self.read_in(folder, name) for name in names]

    def read_in(self, folder, name):
        with open(os.path.join(folder, name), "rb") as f:
            return f.read()

    def copy_every_case(self, put, folder, clip_scheme):
        for name, text in CASES:
            put(text)
            self.wait_for(lambda: any(b"TEXT=" + utf8(text) + b"\r\n" in log
                                      for log in self.logs(folder, CLIP_SCHEMES[clip_scheme])),
                          what="the capture of the %s text" % name)
            # Put back as it came (AUTOCLEAR=0), by the tick that logged it, just after the log.
            self.wait_for(lambda: self.clipboard() == text, what="the %s text put back" % name)
            if self.unicode_owner is not None:
                self.assertEqual(self.unicode_clipboard(), text, name)

    def check_logs(self, folder, clip_scheme, link_scheme):
        clip = self.logs(folder, CLIP_SCHEMES[clip_scheme])
        entries = [utf8(text) for _, text in CASES]
        if clip_scheme == "1":
            self.assertEqual(len(clip), 1)
            expected = b"".join(rb"\[\d{14}(_\d+)?\]\r\nTEXT=" + re.escape(entry) + b"\r\n" for entry in entries)
            self.assertRegex(clip[0], b"^" + expected + b"$")
        else:
            for entry in entries:
                self.assertTrue(any(b"TEXT=" + entry + b"\r\n" in log for log in clip), entry)
        links = b"".join(self.logs(folder, LINK_SCHEMES[link_scheme]))
        for entry in entries:
            self.assertRegex(links, rb"\r\n\d{4,6}(_\d+)?=" + re.escape(entry) + rb"\r\n")
        self.assertEqual(self.read_in(folder, "append.txt"), b"".join(b"\r\n" + entry for entry in entries) + b"\r\n")

    def run_schemes(self, clip_scheme, link_scheme, owner):
        folder_line = self.folder_line
        main = "SAVETYPE=%s\r\nAUTOCLEAR=0\r\nAM=1\r\nASAF=1\r\nAMLFPATH=%sappend.txt\r\n" % (clip_scheme, folder_line)
        ini = self.charset_ini(main, folder_line, "SAVETYPE=%s\r\n" % link_scheme)
        self.write_ini_bytes(ini.encode("utf-8"))
        self.launch()
        self.copy_every_case(owner, self.folder, clip_scheme)
        self.check_logs(self.folder, clip_scheme, link_scheme)

    def write_ini_bytes(self, data):
        with open(self.path("twk3.ini"), "wb") as f:
            f.write(data)

    # The cases.

    def test_every_script_is_kept_byte_for_byte_in_the_continuous_logs(self):
        self.run_schemes("1", "1", self.set_clipboard)

    def test_every_script_is_kept_byte_for_byte_in_the_per_copy_and_daily_logs(self):
        self.run_schemes("2", "2", self.set_clipboard)
        for name in os.listdir(self.folder):
            if re.match(CLIP_SCHEMES["2"], name):
                self.assertTrue(self.read_in(self.folder, name).startswith(b"[LogEntry]\r\nTEXT="), name)

    def test_every_script_from_a_program_of_the_system_is_kept_in_the_daily_log(self):
        self.run_schemes("3", "1", self.unicode_owner or self.set_clipboard)

    def test_a_settings_file_in_every_form_logs_into_a_folder_of_any_script(self):
        for form in INI_FORMS:
            label, name, encode = form[:3]
            if len(form) > 3 and self.separator != "\\":
                continue
            with self.subTest(form=label):
                self.run_form(label, name, encode)

    def run_form(self, label, name, encode):
        folder = os.path.join(self.folder, name)
        os.mkdir(folder)
        folder_line = self.folder_line + name + self.separator
        ini = self.charset_ini("SAVETYPE=1\r\nAUTOCLEAR=0\r\n", folder_line)
        before = encode(ini)
        self.write_ini_bytes(before)
        process = self.launch()
        text = "saved as " + label
        self.set_clipboard(text)
        self.wait_for(lambda: os.path.exists(os.path.join(folder, "twk.txt")) and
                      b"TEXT=" + utf8(text) + b"\r\n" in self.read_in(folder, "twk.txt"),
                      what="the capture into %r (settings saved as %s)" % (name, label))
        # Ending, the program saves where its windows were: the file keeps its
        # form, and every line it had, byte for byte.
        self.stop(process)
        after = self.read("twk3.ini")
        self.assertTrue(after.startswith(before), after)
        self.assertIn(encode("[frmtotext]\r\n")[len(encode("")):], after[len(before):])
