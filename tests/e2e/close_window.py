#!/usr/bin/python3
"""Asks an X window to close the way a window manager's close button does: a WM_PROTOCOLS client
message carrying WM_DELETE_WINDOW. Usage: close_window.py <window id>."""
import ctypes
import sys


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]  # XEvent size


window = int(sys.argv[1], 0)
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = x11.XInternAtom.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
display = x11.XOpenDisplay(None) or sys.exit("cannot open display")
atom = lambda name: x11.XInternAtom(display, name, 0)
event = XClientMessageEvent(type=33, window=window, message_type=atom(b"WM_PROTOCOLS"), format=32)  # ClientMessage
event.data[0] = atom(b"WM_DELETE_WINDOW")  # data[1] = 0: CurrentTime
x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x11.XFlush(ctypes.c_void_p(display))
x11.XCloseDisplay(ctypes.c_void_p(display))
