"""Copies a series of texts in quick succession, as a user collecting lines would.

    burst_owner.py --start EPOCH --spacing MS --count N [--every K --offset J] [--count-file FILE] PREFIX

Copy i (0 <= i < N) is the text "PREFIX i", taken onto the CLIPBOARD at EPOCH + i * MS
milliseconds. With --every K --offset J this process makes only the copies with
i % K == J, so that K processes take turns as K different owners. Each copy is served
(TARGETS and UTF8_STRING) until another program takes the clipboard; the process ends
once it has lost its last copy, or 20 s after it. --count-file appends the name of every
text target asked for (not TARGETS) to FILE.
"""

import ctypes
import select
import sys
import time

from owner import Event, SelectionNotify, SELECTION_CLEAR, SELECTION_REQUEST, SELECTION_NOTIFY, xlib

xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]


def option(arguments, name, default=None):
    return arguments[arguments.index(name) + 1] if name in arguments else default


def main(arguments):
    start = float(option(arguments, "--start"))
    spacing = float(option(arguments, "--spacing")) / 1000
    count = int(option(arguments, "--count"))
    every = int(option(arguments, "--every", "1"))
    offset = int(option(arguments, "--offset", "0"))
    count_file = option(arguments, "--count-file")
    prefix = arguments[-1]
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("burst_owner.py: cannot open the display")
    atom = lambda name: xlib.XInternAtom(display, name.encode(), 0)
    clipboard, targets_atom, utf8 = atom("CLIPBOARD"), atom("TARGETS"), atom("UTF8_STRING")
    window = xlib.XCreateSimpleWindow(display, xlib.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    xlib.XFlush(display)
    mine = [i for i in range(count) if i % every == offset]
    text, owned, event = b"", False, Event()
    fd = xlib.XConnectionNumber(display)
    deadline = start + count * spacing + 20

    def serve():
        nonlocal owned
        while xlib.XPending(display):
            xlib.XNextEvent(display, ctypes.byref(event))
            if event.type == SELECTION_CLEAR:
                owned = False
                continue
            if event.type != SELECTION_REQUEST:
                continue
            request = event.request
            reply = SelectionNotify(type=SELECTION_NOTIFY, send_event=1, requestor=request.requestor,
                                    selection=request.selection, target=request.target, property=request.property,
                                    time=request.time)
            if request.target == targets_atom:
                listed = (ctypes.c_ulong * 2)(targets_atom, utf8)
                xlib.XChangeProperty(display, request.requestor, request.property, 4, 32, 0, listed, 2)
            elif request.target == utf8 and owned:
                xlib.XChangeProperty(display, request.requestor, request.property, utf8, 8, 0, text, len(text))
            else:
                reply.property = 0
            if count_file and request.target != targets_atom:
                with open(count_file, "a") as counted:
                    counted.write("%d\n" % request.target)
            xlib.XSendEvent(display, request.requestor, 0, 0, ctypes.byref(reply))
            xlib.XFlush(display)

    for i in mine:
        while time.time() < start + i * spacing:
            serve()
            select.select([fd], [], [], max(0.0, min(0.05, start + i * spacing - time.time())))
        text = ("%s %d" % (prefix, i)).encode()
        xlib.XSetSelectionOwner(display, clipboard, window, 0)
        owned = True
        xlib.XFlush(display)
    while owned and time.time() < deadline:
        serve()
        select.select([fd], [], [], 0.05)


if __name__ == "__main__":
    main(sys.argv[1:])
