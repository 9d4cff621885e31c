"""A clipboard owner for the tests: serves the given targets, or never answers.

    owner.py [--hang] [--late SECONDS] [--count FILE] TARGET=VALUE ...

It takes the CLIPBOARD, prints "owned" once it holds it, and serves until another
program takes the clipboard. With --hang it takes the clipboard and never answers.
With --late it answers each request only after SECONDS, and prints "answered" once the
server has taken the answer; like many owners, it ends on an X error (Xlib's default),
for instance when the asking window is gone by then.
With --count it appends the name of every target it served, but TARGETS, to FILE.
"""

import ctypes
import ctypes.util
import sys
import time

xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 3 + \
    [ctypes.c_ulong] * 2
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XSetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
xlib.XGetSelectionOwner.restype = ctypes.c_ulong
xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                 ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

SELECTION_CLEAR, SELECTION_REQUEST, SELECTION_NOTIFY = 29, 30, 31


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", ctypes.c_ulong), ("requestor", ctypes.c_ulong),
                ("selection", ctypes.c_ulong), ("target", ctypes.c_ulong), ("property", ctypes.c_ulong),
                ("time", ctypes.c_ulong)]


class SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", ctypes.c_ulong), ("selection", ctypes.c_ulong),
                ("target", ctypes.c_ulong), ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("request", SelectionRequest), ("pad", ctypes.c_long * 24)]


def main(arguments):
    hang = "--hang" in arguments
    count_file = None
    late = float(arguments[arguments.index("--late") + 1]) if "--late" in arguments else 0
    if "--count" in arguments:
        count_file = arguments[arguments.index("--count") + 1]
    pairs = [a.split("=", 1) for a in arguments if "=" in a]
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("owner.py: cannot open the display")
    atom = lambda name: xlib.XInternAtom(display, name.encode(), 0)
    clipboard, targets_atom, atom_type = atom("CLIPBOARD"), atom("TARGETS"), 4
    served = {atom(name): value.encode() for name, value in pairs}
    names = {atom(name): name for name, value in pairs}
    window = xlib.XCreateSimpleWindow(display, xlib.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    xlib.XSetSelectionOwner(display, clipboard, window, 0)
    xlib.XSync(display, 0)
    if xlib.XGetSelectionOwner(display, clipboard) != window:
        sys.exit("owner.py: could not take the clipboard")
    print("owned", flush=True)
    if hang:
        while True:
            time.sleep(3600)
    event = Event()
    while True:
        xlib.XNextEvent(display, ctypes.byref(event))
        if event.type == SELECTION_CLEAR:
            return
        if event.type != SELECTION_REQUEST:
            continue
        request = event.request
        time.sleep(late)
        reply = SelectionNotify(type=SELECTION_NOTIFY, send_event=1, requestor=request.requestor,
                                selection=request.selection, target=request.target, property=request.property,
                                time=request.time)
        if request.target == targets_atom:
            listed = (ctypes.c_ulong * (len(served) + 1))(targets_atom, *served.keys())
            xlib.XChangeProperty(display, request.requestor, request.property, atom_type, 32, 0, listed,
                                 len(served) + 1)
        elif request.target in served:
            value = served[request.target]
            xlib.XChangeProperty(display, request.requestor, request.property, request.target, 8, 0, value,
                                 len(value))
            if count_file:
                with open(count_file, "a") as counted:
                    counted.write(names[request.target] + "\n")
        else:
            reply.property = 0
        xlib.XSendEvent(display, request.requestor, 0, 0, ctypes.byref(reply))
        xlib.XFlush(display)
        if late:
            xlib.XSync(display, 0)
            print("answered", flush=True)


if __name__ == "__main__":
    main(sys.argv[1:])
