"""Every result copied, and read back by another program, on a real X server
and on sway: a right click on each display and its menu's first entry
("Copiar"), then Ctrl+Shift+C for all six. The pointer and the keys are a
user's: xdotool on X; on sway, wayvnc's virtual pointer and keyboard. The
clipboard is read by xclip and by wl-paste. A cell's id is ENV-copy.
"""

import glob
import json
import os
import socket
import struct
import time

import pytest
from conftest import Failure, pause, run, wait_for
from test_desktop import RESULT_DISPLAYS, User, controls

# 2 and 20 V, 1 and 10 W, 150 dB, the factor 0,5; the last Enter presses
# " CALCULAR ". Six different texts: thousands points, a word, minus signs.
KEYS = "2 Return 2 0 Return 1 Return 1 0 Return 1 5 0 Return 0 comma 5 Return Return".split()
SHOWN = ["20,0000", "10,0000", "31.622.777", "FULL", "-6,0206", "-3,0103"]
ALL_SIX = ("Decibelios de tensiones: 20,0000\nDecibelios de potencias: 10,0000\n"
           "Factor de tensiones: 31.622.777\nFactor de potencias: FULL\n"
           "Decibelios del factor en tensiones: -6,0206\n"
           "Decibelios del factor en potencias: -3,0103")
KEYSYMS = {"Return": 0xFF0D, "Down": 0xFF54, "comma": 0x2C, "ctrl": 0xFFE3, "shift": 0xFFE1,
           "C": 0x43, **{str(d): 0x30 + d for d in range(10)}}


class Vnc:
    """Hand-written, as no Debian package scripts a VNC client: the few
    messages of RFB 3.8 that move wayvnc's virtual pointer and press its keys."""

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX)
        self.sock.connect(path)
        self.read(12)                                 # the server's version
        self.sock.sendall(b"RFB 003.008\n")
        if 1 not in self.read(self.read(1)[0]):       # security types offered
            raise Failure("wayvnc asks for authentication")
        self.sock.sendall(b"\x01")                    # none
        if self.read(4) != b"\0\0\0\0":
            raise Failure("wayvnc refused the connection")
        self.sock.sendall(b"\x01")                    # shared
        self.read(20)                                 # size and pixel format
        self.read(struct.unpack(">I", self.read(4))[0])  # the desktop's name

    def read(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise Failure("wayvnc closed the connection")
            data += chunk
        return data

    def pointer(self, buttons, x, y):
        self.sock.sendall(struct.pack(">BBHH", 5, buttons, x, y))
        pause(0.1)

    def keys(self, combo):
        """One key or a combination: "Down", "ctrl+shift+C"."""
        syms = [KEYSYMS[k] for k in combo.split("+")]
        for down, order in ((1, syms), (0, reversed(syms))):
            for sym in order:
                self.sock.sendall(struct.pack(">BBxxI", 4, down, sym))
                pause(0.03)
        pause(0.1)


class Desk:
    """The pointer, the keys and the clipboard of one environment."""

    def __init__(self, user, procs, tmp_path):
        self.user, self.env = user, user.env
        if user.environment.wayland:
            runtime = os.path.dirname(self.env["WAYLAND_DISPLAY"])
            self.sway = dict(self.env, SWAYSOCK=glob.glob(f"{runtime}/sway-ipc.*.sock")[0])
            socket_path = str(tmp_path / "vnc")
            procs.start(["wayvnc", "--unix-socket", socket_path], self.env)
            wait_for("wayvnc's socket", lambda: os.path.exists(socket_path), 10)
            self.vnc = Vnc(socket_path)

    def origin(self):
        """Where the window's client area starts on the screen: on X the
        accessibility bus says it; on Wayland only the compositor knows."""
        if not self.user.environment.wayland:
            return 0, 0
        tree = json.loads(run(["swaymsg", "-t", "get_tree"], self.sway, 10).stdout)
        nodes = [tree]
        while nodes:
            node = nodes.pop()
            if node.get("name") == "Tavolen" and node.get("pid"):
                return (node["rect"]["x"] + node["window_rect"]["x"],
                        node["rect"]["y"] + node["window_rect"]["y"])
            nodes += node.get("nodes", []) + node.get("floating_nodes", [])
        raise Failure("sway knows no window Tavolen")

    def keys(self, *combos):
        if self.user.environment.wayland:
            for combo in combos:
                self.vnc.keys(combo)
        else:
            self.user.keys(list(combos))

    def right_click(self, x, y):
        if self.user.environment.wayland:
            self.vnc.pointer(0, x, y)
            self.vnc.pointer(4, x, y)
            self.vnc.pointer(0, x, y)
        else:
            self.user.x("mousemove", str(x), str(y))
            self.user.x("click", "3")
        pause(0.5)  # the menu opens

    def clipboard(self):
        argv = ["wl-paste", "--no-newline"] if self.user.environment.wayland else [
            "xclip", "-selection", "clipboard", "-out"]
        return run(argv, self.env, 10, False).stdout


@pytest.mark.parametrize("desktop", ["openbox", "sway"], indirect=True, scope="module",
                         ids=["openbox-copy", "sway-copy"])
def test_every_result_is_copied(desktop, atspi, launch, procs, tmp_path):
    user = User(atspi, desktop, launch, procs)
    desk = Desk(user, procs, tmp_path)
    app = user.start()
    desk.keys(*KEYS)

    def calculated():
        found = controls(atspi, app.pid)
        displays = [found[name] for name in RESULT_DISPLAYS if name in found]
        return displays if [d["text"] for d in displays] == SHOWN else None
    displays = wait_for("the six results", calculated, 10)

    left, top = desk.origin()
    copied = {}
    for name, display in zip(RESULT_DISPLAYS, displays):
        extents = display["node"].queryComponent().getExtents(atspi.DESKTOP_COORDS)
        desk.right_click(left + extents.x + extents.width // 2,
                         top + extents.y + extents.height // 2)
        desk.keys("Down", "Return")  # the first entry, "Copiar"
        copied[name] = wait_for_text(desk, display["text"])  # as the screen shows it
    desk.keys("ctrl+shift+C")
    copied["all six"] = wait_for_text(desk, ALL_SIX)
    print("clipboard:", copied)
    assert copied == dict(zip(RESULT_DISPLAYS, SHOWN), **{"all six": ALL_SIX})


def wait_for_text(desk, expected, timeout=5):
    """The clipboard's text once it is `expected`, or as it is after `timeout`."""
    deadline = time.monotonic() + timeout
    while (text := desk.clipboard()) != expected and time.monotonic() < deadline:
        pause(0.2)
    return text
