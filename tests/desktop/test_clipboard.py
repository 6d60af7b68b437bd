"""Every result copied and read back by another program (xclip, wl-paste) on X
and on sway: a right click on each display and its menu's "Copiar", then all six
by Ctrl+Shift+C. The hand is xdotool on X, and on sway, whose headless seat has
no pointer, wayvnc's virtual pointer and keyboard. A cell's id is ENV-copy."""

import glob
import os
import socket
import struct
import time

import pytest
from conftest import Failure, pause, run, wait_for
from test_desktop import RESULT_DISPLAYS, User, controls

# 2 and 20 V, 1 and 10 W, 150 dB, the factor 0,5; the last Enter presses
# " CALCULAR ". Six texts unlike each other: thousands points, a word, minus signs.
KEYS = "2 Return 2 0 Return 1 Return 1 0 Return 1 5 0 Return 0 comma 5 Return Return".split()
SHOWN = ["20,0000", "10,0000", "31.622.777", "FULL", "-6,0206", "-3,0103"]
NAMES = ["Decibelios de tensiones", "Decibelios de potencias", "Factor de tensiones",
         "Factor de potencias", "Decibelios del factor en tensiones",
         "Decibelios del factor en potencias"]
KEYSYMS = {"Return": 0xFF0D, "Down": 0xFF54, "comma": 0x2C, "ctrl": 0xFFE3, "shift": 0xFFE1}


class Hand:
    """A user's pointer and keys, and the clipboard as another program reads it."""

    def __init__(self, user, procs, path):
        self.user, self.vnc = user, None
        if user.environment.wayland:
            procs.start(["wayvnc", "--unix-socket", path], user.env)
            wait_for("wayvnc's socket", lambda: os.path.exists(path), 10)
            self.vnc = rfb_session(path)

    def keys(self, *combos):  # "Down", "ctrl+shift+C"
        if self.vnc is None:
            return self.user.keys(list(combos))
        for combo in combos:
            syms = [KEYSYMS.get(k) or ord(k) for k in combo.split("+")]
            for down, sym in [(1, s) for s in syms] + [(0, s) for s in syms[::-1]]:
                self.vnc.sendall(struct.pack(">BBxxI", 4, down, sym))  # KeyEvent
                pause(0.03)
            pause(0.1)

    def right_click(self, x, y):
        if self.vnc is None:
            self.user.x("mousemove", str(x), str(y), "click", "3")
        else:
            for buttons in (0, 4, 0):  # PointerEvent: there, the right button down, up
                self.vnc.sendall(struct.pack(">BBHH", 5, buttons, x, y))
                pause(0.1)
        pause(0.5)  # the menu opens

    def window_to_origin(self, pid):
        """On Wayland the bus gives positions within the window, which only sway
        places: it goes to the screen's corner, without border or title bar."""
        ipc = glob.glob(f"{os.path.dirname(self.user.env['WAYLAND_DISPLAY'])}/sway-ipc.*")[0]
        run(["swaymsg", "-s", ipc, f"[pid={pid}] border none, move absolute position 0 0"],
            self.user.env, 10)
        pause(0.3)

    def clipboard(self, expected):
        """Its text once it is `expected`, or as it is after 5 s."""
        argv = ["wl-paste", "--no-newline"] if self.vnc else ["xclip", "-sel", "clip", "-o"]
        deadline = time.monotonic() + 5
        while (text := run(argv, self.user.env, 10, False).stdout) != expected and \
                time.monotonic() < deadline:
            pause(0.2)
        return text


def rfb_session(path):
    """Hand-written, as no Debian package scripts a VNC client: RFB 3.8 up to the
    client's first message, with no authentication; nothing needs the rest."""
    sock = socket.socket(socket.AF_UNIX)
    sock.connect(path)
    read = sock.makefile("rb").read
    read(12)  # the server's version
    sock.sendall(b"RFB 003.008\n")
    if 1 not in read(read(1)[0]):  # the security types offered; 1 is none
        raise Failure("wayvnc asks for authentication")
    sock.sendall(b"\x01")
    if read(4) != bytes(4):
        raise Failure("wayvnc refused the connection")
    sock.sendall(b"\x01")  # shared; the server's size and name are left unread
    return sock


@pytest.mark.parametrize("desktop", ["openbox", "sway"], indirect=True, scope="module",
                         ids=["openbox-copy", "sway-copy"])
def test_every_result_is_copied(desktop, atspi, launch, procs, tmp_path):
    user = User(atspi, desktop, launch, procs)
    hand = Hand(user, procs, str(tmp_path / "vnc"))
    app = user.start()
    hand.keys(*KEYS)

    def calculated():
        found = controls(atspi, app.pid)
        found = [found.get(name, {}) for name in RESULT_DISPLAYS]
        return found if [d.get("text") for d in found] == SHOWN else None
    displays = wait_for("the six results", calculated, 10)
    if hand.vnc:
        hand.window_to_origin(app.pid)
    copied = {}
    for name, display in zip(RESULT_DISPLAYS, displays):
        at = display["node"].queryComponent().getExtents(atspi.DESKTOP_COORDS)
        hand.right_click(at.x + at.width // 2, at.y + at.height // 2)
        hand.keys("Down", "Return")  # the first entry, "Copiar"
        copied[name] = hand.clipboard(display["text"])  # as the screen shows it
    hand.keys("ctrl+shift+C")
    all_six = "\n".join(f"{what}: {text}" for what, text in zip(NAMES, SHOWN))
    copied["all six"] = hand.clipboard(all_six)
    assert copied == dict(zip(RESULT_DISPLAYS, SHOWN), **{"all six": all_six})
