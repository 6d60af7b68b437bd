"""The real executable on conftest's desktops, driven as a user drives it: each
road starts it afresh, with nothing activating its window, types its keys and
reads the results through the accessibility bus, as a screen reader does. A
cell's id is ENV-ROAD: `-k openbox`, `-k sway-banner`."""

import contextlib
import glob
import json
import os
import re
import socket
import struct
import subprocess
import time
import uuid

import pytest
from conftest import ENVIRONMENTS, Failure, close_overview, dbus, pause, press, run, wait_for

# What the window calls its controls: object name -> accessible name.
CONTROLS = {
    "txtV1": "Tensión 1", "txtV2": "Tensión 2", "txtP1": "Potencia 1", "txtP2": "Potencia 2",
    "lblDbv": "Decibelios de la relación de tensiones",
    "lblDbp": "Decibelios de la relación de potencias",
    "txtDb1": "Decibelios", "txtFv": "Factor de tensión", "txtFp": "Factor de potencia",
    "txtF1": "Factor", "lblDbfv": "Decibelios del factor como relación de tensiones",
    "lblDbfp": "Decibelios del factor como relación de potencias",
    "imgLogo": "El decibelio en Wikipedia", "cmdCalcular": "Calcular",
}
RESULT_DISPLAYS = ["lblDbv", "lblDbp", "txtFv", "txtFp", "lblDbfv", "lblDbfp"]
SPOKEN = ["Decibelios de tensiones", "Decibelios de potencias", "Factor de tensiones",  # their
          "Factor de potencias", "Decibelios del factor en tensiones",  # names in speech
          "Decibelios del factor en potencias"]
ALL = [e.name for e in ENVIRONMENTS]
SMALL = [e.name for e in ENVIRONMENTS if not e.desktop]  # the whole desktops walk fewer roads
X = [e.name for e in ENVIRONMENTS if not e.wayland and not e.desktop]

# road -> (environments, steps, expected texts). A step is a list of keysyms,
# "box" (the message box is seen) or "switch" (another program's window is
# brought forward, then the calculator's again).
ROADS = {
    "keyboard": (ALL, ["2 Return 2 0 Return Return Return Return Return Return".split()],
                 {"lblDbv": "20,0000", "lblDbp": "0,0000", "txtFv": "1,00000000",
                  "txtFp": "1,00000000", "lblDbfv": "INFINITO", "lblDbfp": "INFINITO"}),
    "rejection": (ALL, ["1 comma 2 comma 3 Return".split(), "box",
                        "Return 5 Return 7 Return".split()], {"txtV1": "5,000", "txtV2": "7,0000"}),
    "tab": (SMALL, ["Tab Tab Tab Tab Tab 2 Return Return".split()],
            {"lblDbfv": "6,0206", "lblDbfp": "3,0103"}),
    "switch": (X, [["1", "2"], "switch", "3 Return 7 Return".split()],
               {"txtV1": "123,000", "txtV2": "7,0000"}),
    # The keyboard road with a level and a factor, so that every display changes.
    "events": (SMALL, ["2 Return 2 0 Return Return Return minus 6 Return 2 Return Return".split()],
               {"lblDbv": "20,0000", "lblDbp": "0,0000", "txtFv": "0,501187233627",
                "txtFp": "0,251188643151", "lblDbfv": "6,0206", "lblDbfp": "3,0103"}),
    "banner": (ALL, [], {}),
    "desktop": ([e.name for e in ENVIRONMENTS if e.desktop], [], {}),
    "themes": (["openbox"], [], {}),
    # 2 and 20 V, 1 and 10 W, 150 dB, the factor 0,5: six texts unlike each
    # other, copied by each display's menu and all six by the key.
    "copy": (["openbox", "sway"], [
        "2 Return 2 0 Return 1 Return 1 0 Return 1 5 0 Return 0 comma 5 Return Return".split()],
        dict(zip(RESULT_DISPLAYS, ["20,0000", "10,0000", "31.622.777", "FULL", "-6,0206",
                                   "-3,0103"]))),
}
CELLS = [(env, road) for env in ALL for road, (envs, _, _) in ROADS.items() if env in envs]
# The platform themes a desktop may hand the window; each must draw the same
# pixels as none at all, but for the caret, which blinks (1 x 21 px).
THEMES = {"plain": {}, "Adwaita": {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita"},
          "Adwaita-dark": {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"}}
CARET_PIXELS = 21
EVENTS = ("object:text-changed", "object:property-change:accessible-value")
# The window's background; the launcher's id; the message box's background in
# the palettes of Qt's own style, of GTK's theme on X and of GNOME on Wayland.
YELLOW, APP_ID = "rgb(255,255,128)", "org.tavolen.tavolen"
BOX_COLOURS = {bytes([239] * 3), bytes([250, 249, 248]), bytes([255] * 3)}


def windows(atspi, pid):
    """The process's top-level windows, each a list of node records. With GTK's
    platform theme the process holds a second application, GTK's bridge."""
    desktop, found = atspi.Registry.getDesktop(0), []
    for app in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
        with contextlib.suppress(Exception):  # one that just left the bus
            if app.get_process_id() == pid:
                app.clear_cache()  # a window that came after the last look is seen
                found += [list(walk(atspi, top)) for top in app if top is not None]
    return found


def walk(atspi, node, depth=0):
    record = {"name": node.name, "role": node.getRoleName(), "node": node, "text": None,
              "actions": [], "size": None}
    with contextlib.suppress(NotImplementedError):
        record["text"] = node.queryText().getText(0, -1)
    with contextlib.suppress(NotImplementedError):
        action = node.queryAction()
        record["actions"] = [action.getName(i) for i in range(action.nActions)]
    with contextlib.suppress(NotImplementedError):
        extents = node.queryComponent().getExtents(atspi.DESKTOP_COORDS)
        record["size"] = (extents.width, extents.height)
    yield record
    for child in (node if depth < 6 else []):
        if child is not None:
            yield from walk(atspi, child, depth + 1)


def main_window(atspi, pid):
    return next((w for w in windows(atspi, pid) if w[0]["name"] == "Tavolen"), [])


def controls(atspi, pid):
    by_name = {}
    for node in main_window(atspi, pid):
        by_name.setdefault(node["name"], node)
    return {obj: by_name[name] for obj, name in CONTROLS.items() if name in by_name}


def message_boxes(atspi, pid):
    return [[n["text"] or n["name"] for n in w if n["role"] in ("label", "static")
             and (n["text"] or n["name"])] for w in windows(atspi, pid) if w[0]["name"] != "Tavolen"]


class User:
    """The desktop as a user meets it: the window, the keyboard, the pointer."""

    def __init__(self, atspi, desktop, procs, executable, tmp_path):
        self.atspi, (self.environment, self.env, self.log), self.procs = atspi, desktop, procs
        self.executable, self.tmp_path, self.xid, self.vnc = executable, tmp_path, None, None

    def start(self, extra_env=None):
        """Starts the executable and waits until its window is on the bus."""
        log = self.tmp_path / f"tavolen-{len(self.procs.started)}.log"
        env = {k: v for k, v in dict(self.env, **(extra_env or {})).items() if v is not None}
        app = self.procs.start([self.executable], env, stdout=log.open("w"),
                               stderr=subprocess.STDOUT)

        def up():
            if app.poll() is not None:
                raise Failure(f"tavolen ended ({app.returncode}): {log.read_text()[-300:]}")
            return len(controls(self.atspi, app.pid)) == len(CONTROLS)
        wait_for(f"the window ({extra_env or 'no platform theme'})", up, 20, 0.2)
        if not self.environment.wayland:
            self.xid = wait_for("the X window", lambda: self.x(
                "search", "--all", "--onlyvisible", "--pid", str(app.pid), "--name",
                "^Tavolen$").split()[:1], 10)[0]
            if self.environment.pointer_over_window:
                self.pointer_to(self.xid)
        pause(0.8)  # the window manager does what it does with a new window
        if self.environment.desktop == "GNOME":
            close_overview(self.environment, self.env)
        return app

    def x(self, *argv, tool="xdotool"):
        return run([tool, *argv], self.env, 10, False).stdout.strip()

    def keys(self, keys):
        press(self.environment, self.env, keys)

    def screenshot(self, path):
        if self.environment.wayland and self.environment.desktop == "GNOME":
            dbus("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell."
                 "Screenshot.Screenshot", ("bbs", False, False, path), owner="org.gnome.Screenshot")
        else:  # an X server's screen, or the one that KWin shows its own in
            run(["import", "-window", "root", path], dict(self.env, DISPLAY=self.env.get(
                "TAVOLEN_SCREEN", self.env.get("DISPLAY"))), 30)

    def managed(self):
        """title -> (the id the desktop knows the program by, maximisable, the
        centre of the frame) of its windows; GNOME tells no frame."""
        if self.environment.desktop == "GNOME":
            return {w["title"]: (w["wm-class"].lower(), None, None) for w in dbus(
                "org.gnome.Shell", "/org/gnome/Shell/Introspect", "org.gnome.Shell.Introspect."
                "GetWindows", owner="org.freedesktop.impl.portal.desktop.gnome")[0].values()}
        # A script prints them into KWin's log, past what it held before.
        script, before = f"{os.path.dirname(__file__)}/kwin_windows.js", self.log.stat().st_size
        dbus("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.loadScript", ("ss", script,
                                                                                  uuid.uuid4().hex))
        dbus("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.start")
        lines = wait_for("KWin's script", lambda: re.findall(
            "tavolen-window (.*)", self.log.read_bytes()[before:].decode(errors="replace")), 5)
        return {w[0]: (w[1].lower(), w[2], tuple(w[3:])) for w in map(json.loads, lines)}

    def sway(self, command):
        ipc = glob.glob(f"{os.path.dirname(self.env['WAYLAND_DISPLAY'])}/sway-ipc.*")[0]
        run(["swaymsg", "-s", ipc, command], self.env, 10)
        pause(0.3)

    def right_click(self, x, y):
        """xdotool on X; on sway, whose headless seat has no pointer, wayvnc's
        virtual one. Hand-written, as no package scripts a VNC client: RFB 3.8
        with no authentication, up to the client's pointer events."""
        if not self.environment.wayland:
            return self.x("mousemove", str(x), str(y), "click", "3") or pause(0.5)
        if not self.vnc:
            path, self.vnc = str(self.tmp_path / "vnc"), socket.socket(socket.AF_UNIX)
            self.procs.start(["wayvnc", "--unix-socket", path], self.env)
            wait_for("wayvnc's socket", lambda: os.path.exists(path), 10)
            self.vnc.connect(path)  # the versions, the security types (1: none), the result
            read = self.vnc.makefile("rb").read
            if read(12) and self.vnc.sendall(b"RFB 003.008\n") or 1 not in read(read(1)[0]) or \
                    self.vnc.sendall(b"\x01\x01") or read(4) != bytes(4):  # none, shared
                raise Failure("wayvnc asks for authentication or refuses")
        for buttons in (0, 4, 0):  # there, the right button down, up
            self.vnc.sendall(struct.pack(">BBHH", 5, buttons, x, y))
            pause(0.1)
        pause(0.5)  # the menu opens

    def clipboard(self, expected):
        """Its text as another program reads it, once it is `expected` or 5 s on."""
        argv = ["wl-paste", "-n"] if self.environment.wayland else ["xclip", "-sel", "clip", "-o"]
        read = []
        with contextlib.suppress(Failure):
            wait_for("the clipboard", lambda: read.append(run(argv, self.env, 10, False).stdout)
                     or read[-1] == expected, 5)
        return read[-1]

    def pointer_to(self, xid):
        # Over the middle of the window's upper part: a label, no field, no button.
        at = dict(line.split("=", 1) for line in self.x("getwindowgeometry", "--shell",
                                                          xid).split())
        self.x("mousemove", str(int(at["X"]) + int(at["WIDTH"]) // 2), str(int(at["Y"]) + 12))

    def bring_forward(self, xid, what):
        """Hand-written: activates a window as a user does, until X's input focus
        proves it, since a manager may let a request pass while it is busy."""
        for _ in range(3):
            if self.environment.activate == "ewmh":
                self.x("windowactivate", xid)
            else:
                self.pointer_to(xid)
                self.x("windowfocus", xid)
            with contextlib.suppress(Failure):
                return wait_for(f"the focus on {what}", lambda: self.holds_focus(xid), 2)
        raise Failure(f"X's input focus did not reach {what}: {self.x('getwindowfocus', '-f')}")

    def holds_focus(self, xid):
        focused = self.x("getwindowfocus", "-f")
        return focused and (int(focused, 0) == int(xid, 0) or any(
            line.strip().startswith(hex(int(focused, 0)))
            for line in self.x("-children", "-id", xid, tool="xwininfo").splitlines()))

    def switch_away_and_back(self):
        other = self.procs.start(["xmessage", "-geometry", "+700+600", "otra ventana"], self.env)
        try:  # xmessage sets no _NET_WM_PID: it is found by its class.
            xid = wait_for("the other window", lambda: self.x(
                "search", "--onlyvisible", "--classname", "xmessage").split()[:1], 10)[0]
            self.bring_forward(xid, "the other window")
            # Away as long as a user looks at another program: Qt counts the
            # window as no longer active only after a short delay.
            pause(1.0)
            self.bring_forward(self.xid, "the calculator")
            pause(0.3)
        finally:
            self.procs.stop(other)

    def walk_steps(self, pid, steps):
        """Walks a road's steps; returns the message boxes seen."""
        boxes = []
        for step in steps:
            if step == "switch":
                self.switch_away_and_back()
            elif step == "box":
                boxes += wait_for("the message box", lambda: message_boxes(self.atspi, pid), 5)
                pause(0.3)  # the box asks for the keyboard once it is up
            else:
                self.keys(step)
        return boxes


@pytest.fixture
def user(atspi, desktop, procs, request, tmp_path):
    """Whatever the test started is stopped after it."""
    first = len(procs.started)
    yield User(atspi, desktop, procs, request.config.getoption("--tavolen"), tmp_path)
    procs.stop(*procs.started[first:])


@pytest.mark.parametrize("desktop,road", CELLS, indirect=["desktop"], scope="module",
                         ids=[f"{env}-{road}" for env, road in CELLS])
def test_road(desktop, road, user, atspi, base_env, request, tmp_path):
    shots = request.config.getoption("--shots") or tmp_path
    if road == "themes":
        return check_themes(user, shots)
    _, steps, expect = ROADS[road]
    recorded = []

    def listener(event):
        with contextlib.suppress(Exception):  # the source may be gone already
            recorded.append((event.type, event.source.name))
    if road == "events":
        atspi.Registry.registerEventListener(listener, *EVENTS)
        request.addfinalizer(lambda: atspi.Registry.deregisterEventListener(listener, *EVENTS))
    app = user.start()
    if road == "desktop":
        return check_desktop(user, app, shots)
    boxes = user.walk_steps(app.pid, steps)
    assert boxes or "box" not in steps, "no message box seen"
    deadline, shown = time.monotonic() + 4, {}
    while shown != expect and time.monotonic() < deadline:
        texts = {o: n["name"] if n["text"] is None else n["text"]
                 for o, n in controls(atspi, app.pid).items()}
        shown = {k: texts.get(k) for k in expect}
        pause(0.2)
    assert shown == expect
    if road == "events":
        pause(0.5)  # the last events are on their way
        names = {CONTROLS[o]: o for o in RESULT_DISPLAYS}
        assert {names[n] for kind, n in recorded if n in names and kind.startswith(EVENTS[0])
                } == set(RESULT_DISPLAYS), f"no text-changed from some display: {recorded}"
    elif road == "banner":
        banner, opened = controls(atspi, app.pid)["imgLogo"], f"{base_env['HOME']}/opened"
        assert (banner["role"], bool(banner["actions"])) == ("link", True), banner
        assert main_window(atspi, app.pid)[0]["role"] == "frame"
        with contextlib.suppress(FileNotFoundError):
            os.remove(opened)
        banner["node"].queryAction().doAction(0)
        said = wait_for("the address handed to xdg-open", lambda: os.path.exists(opened)
                        and open(opened).read(), 5)
        assert said == "https://es.wikipedia.org/wiki/Decibelio\n"
        # The long controls two pixels high.
        assert [n["role"] for n in main_window(atspi, app.pid)[1:] if n["size"] and
                n["size"][0] > 600 and n["size"][1] <= 3] == ["separator"] * 3
    elif road == "copy":
        check_copy(user, app.pid, expect)


def check_copy(user, pid, shown):
    """Each display copied by a right click and its menu's first entry,
    "Copiar", then all six by Ctrl+Shift+C, read back by another program."""
    found, copied = controls(user.atspi, pid), {}
    if user.environment.wayland:  # the bus gives places within the window: sway moves it
        user.sway(f"[pid={pid}] border none, move absolute position 0 0")
    for name in shown:
        at = found[name]["node"].queryComponent().getExtents(user.atspi.DESKTOP_COORDS)
        user.right_click(at.x + at.width // 2, at.y + at.height // 2)
        user.keys(["Down", "Return"])
        copied[name] = user.clipboard(shown[name])
    user.keys(["ctrl+shift+c"])
    all_six = "\n".join(f"{n}: {shown[d]}" for d, n in zip(RESULT_DISPLAYS, SPOKEN))
    assert dict(copied, all=user.clipboard(all_six)) == dict(shown, all=all_six)


def check_themes(user, shots):
    taken = {}
    for theme, extra in THEMES.items():
        app = user.start(extra)
        pause(0.5)
        taken[theme] = [f"{shots}/{user.environment.name}-{theme}-{i}.png" for i in range(3)]
        for shot in taken[theme]:
            run(["import", "-window", user.xid, shot], user.env, 30)
            pause(0.3)
        user.procs.stop(app)
    for theme in list(THEMES)[1:]:
        differing = [run(["compare", "-metric", "AE", a, b, "null:"], user.env, 30, False).stderr
                     for a in taken[theme] for b in taken["plain"]]
        # A count, or a message when the sizes differ or a shot is unreadable.
        fewest = min(float(d.split()[0]) if d[:1].isdigit() else 1e9 for d in differing)
        assert fewest <= CARET_PIXELS, f"{theme}: {fewest:g} px differ from plain; {shots}"


def rectangle(png, colour, within=(1024, 768, 0, 0)):
    """(width, height, left, top) around the pixels of that colour within a part."""
    found = run(["convert", png, "-crop", "%dx%d+%d+%d" % within, "+repage", "-fill", "black",
                 "+opaque", colour, "-format", "%@", "info:"], {}, 30).stdout
    width, height, left, top = map(int, re.findall(r"\d+", found))
    return width, height, left + within[2], top + within[3]


def box_rectangle(before, after):
    """(width, height, left, top) around the pixels that the box brought, of its
    background: the window's white fields are there before it (GNOME dims them)."""
    old, new = (subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True,
                               check=True).stdout for png in (before, after))
    found = [i // 3 for i in range(0, len(new), 3) if new[i:i + 3] in BOX_COLOURS and
             new[i:i + 3] != old[i:i + 3]]
    xs, ys = [i % 1024 for i in found], [i // 1024 for i in found]
    return found and (max(xs) - min(xs) + 1, max(ys) - min(ys) + 1, min(xs), min(ys))


def check_desktop(user, app, shots):
    """The window as the desktop shows it: its maximise shortcut changes nothing,
    the window is centred and known by the launcher's id, and the message box
    opens over its middle. Screenshots of both are kept."""
    shot = f"{shots}/{user.environment.name}-%s.png"
    user.keys([user.environment.maximise])
    pause(1)  # a maximise, were there one, is done
    # A compositing manager may show the window's pixels a frame late.
    wait_for("the window's pixels", lambda: user.screenshot(shot % "window") or rectangle(
        shot % "window", YELLOW)[0], 10, 0.5)
    # Its height from a column at its right edge: KWin's title bar shows its icon.
    width, _, left, _ = rectangle(shot % "window", YELLOW)
    _, height, _, top = rectangle(shot % "window", YELLOW, (3, 768, left + width - 6, 0))
    window = (width, height, left, top)
    assert window[:2] == (689, 533) and abs(2 * window[2] + 689 - 1024) <= 2, (window, shot)
    user.keys("1 comma 2 comma 3 Return".split())
    wait_for("the message box", lambda: message_boxes(user.atspi, app.pid), 5)
    box = wait_for("the box's pixels", lambda: user.screenshot(shot % "box") or box_rectangle(
        shot % "window", shot % "box"), 10, 0.5)
    known = user.managed()
    centres = [known["Error"][2] or (box[2] + box[0] / 2, box[3] + box[1] / 2),
               (window[2] + 689 / 2, window[3] + 533 / 2)]
    assert max(abs(a - b) for a, b in zip(*centres)) <= 40, (centres, shot % "box")
    maximisable = None if user.environment.desktop == "GNOME" else False
    assert {t: known[t][:2] for t in ("Tavolen", "Error")} == {
        t: (APP_ID, maximisable) for t in ("Tavolen", "Error")}
    user.keys(["Return"])
