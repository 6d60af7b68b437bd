#!/usr/bin/python3
"""The real executable on real desktops, driven from outside as a user drives it.

Every environment of ENVIRONMENTS is a display server (a private Xvfb, or sway
on its headless backend) with or without a window manager, a private session
bus and at-spi2-core's accessibility bus. Every road of ROADS that applies to
an environment starts the calculator afresh, with nothing activating its window
for it, types its keys (xdotool on X, wtype on Wayland) and reads the results
back through the accessibility bus with pyatspi: what a screen reader reads.

Usage: desktop_test.py TAVOLEN SCREENSHOT_DIR [--env NAME]... [--road NAME]...
Prints a matrix environment x road and exits non-zero when any cell fails.
Every process it starts runs in a process group of its own and is stopped by
that group's id, on failure too.

Internally the script also runs as its own accessibility client ("--agent"),
one per environment, since pyatspi binds to the session bus of its process.
"""

import argparse
import json
import os
import pwd
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import uuid
from dataclasses import dataclass, field

# ---------------------------------------------------------------------------
# What the window calls its controls: object name -> accessible name.
CONTROLS = {
    "txtV1": "Tensión 1",
    "txtV2": "Tensión 2",
    "lblDbv": "Decibelios de la relación de tensiones",
    "txtP1": "Potencia 1",
    "txtP2": "Potencia 2",
    "lblDbp": "Decibelios de la relación de potencias",
    "txtDb1": "Decibelios",
    "txtFv": "Factor de tensión",
    "txtFp": "Factor de potencia",
    "txtF1": "Factor",
    "lblDbfv": "Decibelios del factor como relación de tensiones",
    "lblDbfp": "Decibelios del factor como relación de potencias",
    "imgLogo": "El decibelio en Wikipedia",
}
RESULT_DISPLAYS = ["lblDbv", "lblDbp", "txtFv", "txtFp", "lblDbfv", "lblDbfp"]
BANNER_ADDRESS = "https://es.wikipedia.org/wiki/Decibelio"
WINDOW_TITLE = "Tavolen"


@dataclass
class Environment:
    name: str
    server: str  # "x" (Xvfb) or "wayland" (sway headless)
    wm: list  # the window manager's command line, empty for none
    # How another program's window is brought forward and back: "ewmh" asks the
    # manager (_NET_ACTIVE_WINDOW), "pointer" gives X's input focus and moves
    # the pointer there (no manager, or one that follows the pointer).
    activate: str = "ewmh"
    # Without a manager the keyboard reaches a window that nobody activated
    # only under the pointer: the pointer rests over the window, as a user's
    # hand on the mouse does. (evilwm puts a new window under the pointer.)
    pointer_over_window: bool = False


ENVIRONMENTS = [
    Environment("openbox", "x", ["openbox", "--sm-disable"]),
    Environment("xfwm4", "x", ["xfwm4", "--compositor=off", "--sm-client-disable"]),
    Environment("metacity", "x", ["metacity"]),
    Environment("icewm", "x", ["icewm"]),
    Environment("fluxbox", "x", ["fluxbox"]),
    # Xvfb has only its built-in core fonts; evilwm's default is not among them.
    Environment("evilwm", "x", ["evilwm", "-fn", "fixed"], "pointer"),
    Environment("no-wm", "x", [], "pointer", True),
    Environment("sway", "wayland", ["sway"]),
]
X_ENVS = [e.name for e in ENVIRONMENTS if e.server == "x"]
ALL_ENVS = [e.name for e in ENVIRONMENTS]

# A road's steps: ("keys", [keysym, ...]); ("box",) waits for the message box
# and records its text; ("switch",) activates another program's window and
# then the calculator's again.
KEYBOARD_ROAD = "2 Return 2 0 Return Return Return Return Return Return".split()
# The same with a level and a factor, so that every display changes its text.
EVENTS_ROAD = "2 Return 2 0 Return Return Return minus 6 Return 2 Return Return".split()


@dataclass
class Road:
    name: str
    envs: list
    steps: list = field(default_factory=list)
    expect: dict = field(default_factory=dict)  # object name -> text
    check: str = ""  # an extra check: "events", "banner", "lines", "themes"


ROADS = [
    Road("keyboard", ALL_ENVS, [("keys", KEYBOARD_ROAD)],
         {"lblDbv": "20,0000", "lblDbp": "0,0000", "txtFv": "1,00000000",
          "txtFp": "1,00000000", "lblDbfv": "INFINITO", "lblDbfp": "INFINITO"}),
    Road("rejection", ALL_ENVS,
         [("keys", "1 comma 2 comma 3 Return".split()), ("box",),
          ("keys", "Return 5 Return 7 Return".split())],
         {"txtV1": "5,000", "txtV2": "7,0000"}),
    Road("tab", ALL_ENVS, [("keys", "Tab Tab Tab Tab Tab 2 Return Return".split())],
         {"lblDbfv": "6,0206", "lblDbfp": "3,0103"}),
    Road("switch", X_ENVS,
         [("keys", ["1", "2"]), ("switch",), ("keys", "3 Return 7 Return".split())],
         {"txtV1": "123,000", "txtV2": "7,0000"}),
    Road("events", ALL_ENVS, [("keys", EVENTS_ROAD)],
         {"lblDbv": "20,0000", "lblDbp": "0,0000", "txtFv": "0,501187233627",
          "txtFp": "0,251188643151", "lblDbfv": "6,0206", "lblDbfp": "3,0103"}, "events"),
    Road("banner", ALL_ENVS, check="banner"),
    Road("lines", ALL_ENVS, check="lines"),
    Road("themes", ["openbox"], check="themes"),
]

# The platform themes a desktop may hand the window; each must draw the same
# pixels as none at all. The caret blinks: a shot may hold it or not.
THEMES = [
    ("plain", {}),
    ("Adwaita", {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita"}),
    ("Adwaita-dark", {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"}),
]
CARET_PIXELS = 21  # one caret column, 1 x 21 px
SHOTS_PER_THEME = 3

WAYLAND_USER = "tavolen-desktop"  # sway refuses to run as root
KEY_DELAY_MS = 80


class Failure(Exception):
    """A road that could not be walked: the cell fails with this message."""


# ---------------------------------------------------------------------------
# Processes: each in a group of its own, stopped by the group's id.

class Processes:
    def __init__(self, marker):
        self.marker = marker
        self.started = []

    def start(self, argv, env, user=None, **kw):
        env = dict(env, TAVOLEN_DESKTOP_RUN=self.marker)
        kw.setdefault("stdin", subprocess.DEVNULL)
        proc = subprocess.Popen(as_user(argv, user), env=env, start_new_session=True, **kw)
        self.started.append(proc)
        return proc

    def stop(self, proc):
        if proc.poll() is None:
            for sig, grace in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 3.0)):
                try:
                    os.killpg(proc.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    proc.wait(grace)
                    break
                except subprocess.TimeoutExpired:
                    continue
        # What the group left behind (a bus activation's children) goes too.
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass
        self.started = [p for p in self.started if p is not proc]

    def stop_all(self):
        for proc in reversed(list(self.started)):
            self.stop(proc)
        # Anything that escaped its group (a daemon that called setsid) still
        # carries this run's marker in its environment: stop it by its PID.
        for pid in marked_pids(self.marker):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


def marked_pids(marker):
    pids = []
    needle = f"TAVOLEN_DESKTOP_RUN={marker}".encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as f:
                if needle in f.read().split(b"\0"):
                    pids.append(int(entry))
        except OSError:
            continue
    return pids


def wait_for(what, predicate, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {timeout:g} s")
        time.sleep(interval)


def as_user(argv, user):
    if user is None:
        return argv
    return ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--init-groups",
            "--"] + argv


def run(argv, env, timeout=30, check=True, user=None):
    argv = as_user(argv, user)
    try:
        out = subprocess.run(argv, env=env, capture_output=True, text=True, timeout=timeout,
                             stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        raise Failure(f"{' '.join(argv[:3])}... did not end within {timeout} s") from None
    if check and out.returncode != 0:
        raise Failure(f"{' '.join(argv[:3])}... failed: {out.stderr.strip()[:200]}")
    return out


# ---------------------------------------------------------------------------
# The accessibility client, a child process bound to one environment's bus.

class Agent:
    def __init__(self, procs, script, env, user):
        self.proc = procs.start(["/usr/bin/python3", script, "--agent"], env, user,
                                stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                                bufsize=1)
        self.ask({"op": "hello"}, timeout=20)

    def ask(self, request, timeout=15):
        self.proc.stdin.write(json.dumps(request) + "\n")
        self.proc.stdin.flush()
        ready, _, _ = select.select([self.proc.stdout], [], [], timeout)
        if not ready:
            raise Failure(f"accessibility client gave no answer to {request['op']}")
        line = self.proc.stdout.readline()
        if not line:
            raise Failure("accessibility client ended")
        answer = json.loads(line)
        if "error" in answer:
            raise Failure(f"accessibility client: {answer['error']}")
        return answer


def agent_main():
    """Serves one JSON request per line on stdin while GLib's loop dispatches
    the accessibility events that it records."""
    import pyatspi
    from gi.repository import GLib

    recording = {"on": False, "events": []}

    def on_event(event):
        if not recording["on"]:
            return
        try:
            name = event.source.name
            role = event.source.getRoleName()
        except Exception:  # the source may be gone already
            name, role = "?", "?"
        recording["events"].append({"type": event.type, "name": name, "role": role,
                                    "data": str(event.any_data)[:40]})

    pyatspi.Registry.registerEventListener(
        on_event, "object:text-changed", "object:property-change:accessible-value")

    def applications(pid):
        # With GTK's platform theme the process also holds GTK's own bridge,
        # a second application without windows.
        desktop = pyatspi.Registry.getDesktop(0)
        found = []
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    found.append(app)
            except Exception:
                continue
        return found

    def describe(node):
        role = node.getRoleName()
        text = None
        try:
            text = node.queryText().getText(0, -1)
        except NotImplementedError:
            pass
        actions = []
        try:
            act = node.queryAction()
            actions = [act.getName(i) for i in range(act.nActions)]
        except NotImplementedError:
            pass
        size = None
        try:
            ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            size = [ext.width, ext.height]
        except NotImplementedError:
            pass
        return {"name": node.name, "role": role, "text": text, "actions": actions, "size": size}

    def walk(node, out, depth=0):
        out.append(describe(node))
        if depth < 6:
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child is not None:
                    walk(child, out, depth + 1)

    def read(pid):
        windows = []
        for app in applications(pid):
            for i in range(app.childCount):
                top = app.getChildAtIndex(i)
                if top is None:
                    continue
                nodes = []
                walk(top, nodes)
                windows.append(nodes)
        return {"windows": windows}

    def act(pid, name):
        stack = applications(pid)
        while stack:
            node = stack.pop()
            if node.name == name and node.getRoleName() not in ("frame", "application"):
                action = node.queryAction()
                return {"done": bool(action.doAction(0))}
            stack.extend(c for c in (node.getChildAtIndex(i) for i in range(node.childCount))
                         if c is not None)
        return {"error": f"no control named {name}"}

    def serve(request):
        op = request["op"]
        if op == "hello":
            return {"ok": True}
        if op == "read":
            return read(request["pid"])
        if op == "record":
            recording["on"] = request["on"]
            if request["on"]:
                recording["events"] = []
            return {"events": recording["events"]}
        if op == "act":
            return act(request["pid"], request["name"])
        return {"error": f"unknown request {op}"}

    def on_input(_fd, condition):
        line = sys.stdin.readline()
        if not line:
            pyatspi.Registry.stop()
            return False
        try:
            answer = serve(json.loads(line))
        except Exception as error:  # reported to the parent, which fails the cell
            answer = {"error": f"{type(error).__name__}: {error}"}
        sys.stdout.write(json.dumps(answer) + "\n")
        sys.stdout.flush()
        return True

    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, on_input)
    pyatspi.Registry.start()


# ---------------------------------------------------------------------------
# An environment: its display server, buses, window manager and client.

class Session:
    def __init__(self, desktop, args, procs, script):
        self.desktop = desktop
        self.procs = procs
        self.user = wayland_user() if desktop.server == "wayland" else None
        # A scratch home, runtime directory, the executable, this script and
        # an xdg-open stand-in that records the address it is handed, all
        # owned by whoever runs the session (the Wayland leg's user).
        self.dir = tempfile.mkdtemp(prefix=f"tavolen-{desktop.name}-")
        self.runtime = os.path.join(self.dir, "runtime")
        bin_dir = os.path.join(self.dir, "bin")
        os.mkdir(self.runtime, 0o700)
        os.mkdir(bin_dir)
        self.tavolen = shutil.copy2(args.tavolen, os.path.join(self.dir, "tavolen"))
        self.script = shutil.copy2(script, os.path.join(self.dir, "desktop_test.py"))
        self.opened = os.path.join(self.dir, "opened")
        xdg_open = os.path.join(bin_dir, "xdg-open")
        with open(xdg_open, "w") as f:
            f.write(f"#!/bin/sh\nprintf '%s\\n' \"$*\" >> '{self.opened}'\n")
        os.chmod(xdg_open, 0o755)
        if self.user is not None:
            for path in (self.dir, self.runtime, bin_dir):
                os.chown(path, self.user.pw_uid, self.user.pw_gid)
        self.env = clean_environment()
        self.env.update(HOME=self.dir, XDG_RUNTIME_DIR=self.runtime,
                        PATH=bin_dir + ":" + self.env["PATH"])

        if desktop.server == "x":
            self.start_xvfb()
        else:
            self.start_sway()
        self.start_buses()
        if desktop.server == "x" and desktop.wm:
            self.start_window_manager()
        self.agent = Agent(procs, self.script, self.env, self.user)

    # -- display servers
    def start_xvfb(self):
        read_end, write_end = os.pipe()
        self.procs.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp", "-noreset"], self.env, pass_fds=(write_end,),
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        # The server writes the number it chose once it accepts connections.
        said = b""
        deadline = time.monotonic() + 20
        while not said.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], 1)
            chunk = os.read(read_end, 64) if ready else b""
            if ready and not chunk:
                break
            said += chunk
        os.close(read_end)
        if not said.strip():
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + said.decode().strip()
        wait_for("the X server", lambda: run(["xdpyinfo"], self.env, 10, False).returncode == 0,
                 10)
        self.env["QT_QPA_PLATFORM"] = "xcb"

    def start_sway(self):
        config = os.path.join(self.dir, "sway.conf")
        with open(config, "w") as f:
            f.write("xwayland disable\noutput HEADLESS-1 resolution 1024x768\n")
        self.env.update(WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                        WLR_RENDERER="pixman", QT_QPA_PLATFORM="wayland",
                        XDG_SESSION_TYPE="wayland")
        with open(os.path.join(self.dir, "sway.log"), "w") as log:
            self.procs.start(self.desktop.wm + ["-c", config], self.env, self.user,
                             stdout=log, stderr=subprocess.STDOUT)
        socket = wait_for("sway's socket", lambda: next(
            (n for n in sorted(os.listdir(self.runtime))
             if n.startswith("wayland-") and not n.endswith(".lock")), None), 15)
        self.env["WAYLAND_DISPLAY"] = socket

    # -- the session bus and the accessibility bus on it
    def start_buses(self):
        address = f"unix:path={self.runtime}/bus"
        self.procs.start(["dbus-daemon", "--session", "--nofork", f"--address={address}"],
                         self.env, self.user, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        wait_for("the session bus", lambda: os.path.exists(f"{self.runtime}/bus"), 10)
        # The launcher runs the accessibility bus, and tells the programs and
        # the client where it is through the session bus.
        self.procs.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                         self.env, self.user, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)

        def bus_up():
            return run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                        "/org/a11y/bus", "org.a11y.Bus.GetAddress"], self.env, 10, False,
                       self.user).returncode == 0
        wait_for("the accessibility bus", bus_up, 15, 0.2)

    def start_window_manager(self):
        with open(os.path.join(self.dir, "wm.log"), "w") as log:
            wm = self.procs.start(self.desktop.wm, self.env, stdout=log,
                                  stderr=subprocess.STDOUT)

        def managing():
            if wm.poll() is not None:
                with open(os.path.join(self.dir, "wm.log")) as log:
                    said = log.read().strip()[-300:]
                raise Failure(f"{self.desktop.wm[0]} ended with status {wm.returncode}: {said}")
            out = run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], self.env, 10, False)
            return "window id" in out.stdout
        try:
            wait_for(f"{self.desktop.wm[0]} managing the screen", managing, 3)
        except Failure:
            if wm.poll() is not None:
                raise
            # A manager without EWMH (evilwm) is ready once it holds the root
            # window's redirection, which no client can see: give it time.
        time.sleep(0.5)

    # -- the calculator
    def start_app(self, extra_env=None):
        env = dict(self.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **(extra_env or {}))
        self.app_log = open(os.path.join(self.dir, "tavolen.log"), "w")
        app = self.procs.start([self.tavolen], env, self.user,
                               stdout=self.app_log, stderr=subprocess.STDOUT)

        def window_on_bus():
            if app.poll() is not None:
                raise Failure(f"tavolen ended with status {app.returncode}")
            # Every control of the window has appeared.
            return len(controls(self.agent.ask({"op": "read", "pid": app.pid}))) == len(CONTROLS)
        try:
            wait_for("the window on the accessibility bus", window_on_bus, 20, 0.2)
        except Failure as failure:
            raise Failure(f"{failure} ({theme_note(extra_env)}{self.app_said()})") from None
        self.xid = None
        if self.desktop.server == "x":
            self.xid = wait_for("the X window", lambda: x_window(self.env, app.pid), 10)
            if self.desktop.pointer_over_window:
                self.pointer_to(self.xid)
        # Let the window manager do what it does with a new window.
        time.sleep(0.8)
        return app

    def app_said(self):
        self.app_log.flush()
        with open(self.app_log.name) as log:
            said = log.read().strip()
        return f"; tavolen said: {said[-300:]}" if said else ""

    def stop_app(self, app):
        self.procs.stop(app)
        self.app_log.close()

    def pointer_to(self, xid):
        geometry = run(["xdotool", "getwindowgeometry", "--shell", xid], self.env).stdout
        values = dict(line.split("=", 1) for line in geometry.split())
        # Over the middle of the window's upper part: a label, no field, no button.
        x = int(values["X"]) + int(values["WIDTH"]) // 2
        y = int(values["Y"]) + 12
        run(["xdotool", "mousemove", str(x), str(y)], self.env)

    def keys(self, keys):
        if self.desktop.server == "x":
            run(["xdotool", "key", "--delay", str(KEY_DELAY_MS)] + keys, self.env, 60)
        else:
            self.wtype(keys)

    def wtype(self, keys):
        run(wtype_argv([keys]), self.env, 60, user=self.user)


def theme_note(extra_env):
    return " ".join(f"{k}={v}" for k, v in (extra_env or {}).items()) or "no platform theme"


def wtype_argv(groups):
    """One wtype call for a whole road: each call is a new virtual keyboard
    whose arrival and departure move the focus out of the window and back, and
    the client may miss the first key while it takes in the keymap, so a Shift
    press leads. Between groups of keys, a pause for a message box to open."""
    argv = ["wtype", "-s", "150", "-k", "Shift_L", "-d", "60"]
    for i, group in enumerate(groups):
        if i:
            argv += ["-s", "1500"]
        for key in group:
            argv += ["-k", key]
    return argv


def clean_environment():
    # Nothing of the caller's desktop: no DISPLAY (a stale one sends the
    # accessibility bus launcher to a dead X server), no session bus, no theme.
    env = {k: v for k, v in os.environ.items() if k in ("PATH", "LANG", "LC_ALL", "TZ")}
    env.setdefault("PATH", "/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin")
    return env


def wayland_user():
    try:
        return pwd.getpwnam(WAYLAND_USER) if os.getuid() == 0 else None
    except KeyError:
        subprocess.run(["useradd", "--system", "--no-create-home", "--shell",
                        "/usr/sbin/nologin", WAYLAND_USER], check=True)
        return pwd.getpwnam(WAYLAND_USER)


def x_window(env, pid):
    out = run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name",
               f"^{WINDOW_TITLE}$"], env, 10, False)
    ids = out.stdout.split()
    return ids[0] if ids else None


def x_focus(env):
    return run(["xdotool", "getwindowfocus", "-f"], env, 10, False).stdout.strip()


# ---------------------------------------------------------------------------
# Reading the window.

def controls(reading):
    """object name -> what the accessibility bus shows of it, main window only."""
    by_name = {}
    for window in reading["windows"]:
        if window and window[0]["name"] == WINDOW_TITLE:
            for node in window:
                by_name.setdefault(node["name"], node)
    shown = {}
    for obj, name in CONTROLS.items():
        node = by_name.get(name)
        if node is not None:
            shown[obj] = node
    return shown


def texts(reading):
    return {obj: (node["text"] if node["text"] is not None else node["name"])
            for obj, node in controls(reading).items()}


def message_boxes(reading):
    boxes = []
    for window in reading["windows"]:
        if window and window[0]["name"] != WINDOW_TITLE:
            boxes.append([n["text"] or n["name"] for n in window
                          if n["role"] in ("label", "static") and (n["text"] or n["name"])])
    return boxes


def settled_texts(session, app, expect, timeout=4.0):
    """Reads until the texts are the expected ones or the time is up."""
    deadline = time.monotonic() + timeout
    while True:
        shown = texts(session.agent.ask({"op": "read", "pid": app.pid}))
        wrong = {k: shown.get(k) for k, v in expect.items() if shown.get(k) != v}
        if not wrong or time.monotonic() > deadline:
            return shown, wrong
        time.sleep(0.2)


# ---------------------------------------------------------------------------
# The roads.

def walk_road(session, road, shots_dir):
    """Returns (passed, what was read)."""
    if road.check == "themes":
        return check_themes(session, shots_dir)
    app = session.start_app()
    try:
        notes = []
        if road.check == "events":
            session.agent.ask({"op": "record", "on": True})
        run_steps(session, app, road.steps, notes)
        shown, wrong = settled_texts(session, app, road.expect) if road.expect else ({}, {})
        ok = not wrong
        if road.expect:
            notes.insert(0, " ".join(f"{k}={shown.get(k)!r}" for k in road.expect))
        if wrong:
            notes.append("expected " + " ".join(f"{k}={road.expect[k]!r}" for k in wrong))
        if road.check == "events":
            time.sleep(0.5)  # the last events are on their way
            events = session.agent.ask({"op": "record", "on": False})["events"]
            ok = check_events(events, notes) and ok
        elif road.check == "banner":
            ok = check_banner(session, app, notes)
        elif road.check == "lines":
            ok = check_lines(session, app, notes)
        return ok, "; ".join(notes)
    finally:
        session.stop_app(app)


def run_steps(session, app, steps, notes):
    wayland = session.desktop.server == "wayland"
    if wayland:
        # One wtype call for the whole road; a box gets a pause to open in.
        keys, pauses = [], []
        for step in steps:
            if step[0] == "keys":
                keys += step[1]
            elif step[0] == "box":
                pauses.append(len(keys))
        if pauses:
            # The box is looked for while the keys are on their way.
            groups = [keys[:pauses[0]], keys[pauses[0]:]]
            typing = session.procs.start(wtype_argv(groups), session.env, session.user)
            try:
                seen = None
                deadline = time.monotonic() + 30
                while typing.poll() is None and time.monotonic() < deadline:
                    boxes = message_boxes(session.agent.ask({"op": "read", "pid": app.pid}))
                    seen = seen or (boxes[0] if boxes else None)
                    time.sleep(0.2)
            finally:
                session.procs.stop(typing)
            if not seen:
                raise Failure("no message box seen")
            notes.append(f"box {seen!r}")
        else:
            session.wtype(keys)
        return
    for step in steps:
        if step[0] == "keys":
            session.keys(step[1])
        elif step[0] == "box":
            boxes = wait_for("the message box", lambda: message_boxes(
                session.agent.ask({"op": "read", "pid": app.pid})), 5, 0.2)
            notes.append(f"box {boxes[0]!r}")
            time.sleep(0.3)  # the box asks for the keyboard once it is up
        elif step[0] == "switch":
            switch_away_and_back(session, notes)


def switch_away_and_back(session, notes):
    env = session.env
    other = session.procs.start(["xmessage", "-geometry", "+700+600", "otra ventana"], env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # xmessage sets no _NET_WM_PID: it is found by its class.
        xid = wait_for("the other window", lambda: run(
            ["xdotool", "search", "--onlyvisible", "--classname", "xmessage"], env, 10,
            False).stdout.split()[:1], 10)[0]
        away = bring_forward(session, xid, "the other window")
        # Away as long as a user looks at another program: Qt counts the window
        # as no longer active only after a short delay, and a focus that comes
        # straight back is no switch for it.
        time.sleep(1.0)
        back = bring_forward(session, session.xid, "the calculator")
        notes.append(f"X focus went to the other window ({away} request) and came back "
                     f"({back} request)")
        time.sleep(0.3)
    finally:
        session.procs.stop(other)


def bring_forward(session, xid, what):
    """Activates a window as a user does, until X's input focus proves it:
    a manager may let a request pass while it is busy with the last one."""
    env = session.env
    for attempt in range(1, 4):
        if session.desktop.activate == "ewmh":
            run(["xdotool", "windowactivate", xid], env, 10, False)
        else:
            session.pointer_to(xid)
            run(["xdotool", "windowfocus", xid], env, 10, False)
        try:
            wait_for(f"the focus on {what}", lambda: window_contains(env, xid, x_focus(env)), 2)
            return attempt
        except Failure:
            continue
    raise Failure(f"X's input focus did not reach {what}, focused: {x_focus(env)}")


def window_contains(env, xid, focused):
    """Whether the focused X window is xid or one of its children."""
    if not focused:
        return False
    if int(focused, 0) == int(xid, 0):
        return True
    out = run(["xwininfo", "-children", "-id", xid], env, 10, False).stdout
    return any(line.strip().startswith(hex(int(focused, 0))) for line in out.splitlines())


def check_events(events, notes):
    names = {CONTROLS[o]: o for o in RESULT_DISPLAYS}
    sent = {o: [] for o in RESULT_DISPLAYS}
    for event in events:
        obj = names.get(event["name"])
        if obj is not None:
            kind = event["type"].replace("object:", "").replace("property-change:", "")
            if kind not in sent[obj]:
                sent[obj].append(kind)
    silent = [o for o in RESULT_DISPLAYS
              if not any(k.startswith("text-changed") for k in sent[o])]
    notes.append("events " + " ".join(f"{o}=[{','.join(sent[o]) or 'none'}]"
                                       for o in RESULT_DISPLAYS))
    if silent:
        notes.append("no text-changed from " + ",".join(silent))
    return not silent


def check_banner(session, app, notes):
    node = controls(session.agent.ask({"op": "read", "pid": app.pid})).get("imgLogo")
    if node is None:
        notes.append("no banner on the bus")
        return False
    notes.append(f"role {node['role']!r} actions {node['actions']}")
    if node["role"] != "link" or not node["actions"]:
        return False
    session.agent.ask({"op": "act", "pid": app.pid, "name": CONTROLS["imgLogo"]})
    try:
        opened = wait_for("the address handed to xdg-open",
                          lambda: os.path.exists(session.opened) and open(session.opened).read(),
                          5)
    except Failure as failure:
        notes.append(str(failure))
        return False
    notes.append(f"xdg-open {opened.strip()!r}")
    return opened.strip() == BANNER_ADDRESS


def check_lines(session, app, notes):
    reading = session.agent.ask({"op": "read", "pid": app.pid})
    window = next(w for w in reading["windows"] if w and w[0]["name"] == WINDOW_TITLE)
    # The lines are the long controls two pixels high.
    lines = [n for n in window[1:] if n["size"] and n["size"][0] > 600 and n["size"][1] <= 3]
    roles = [n["role"] for n in lines]
    notes.append(f"lines {roles}")
    return len(lines) == 3 and all(r == "separator" for r in roles)


def check_themes(session, shots_dir):
    os.makedirs(shots_dir, exist_ok=True)
    shots = {}
    for theme, extra in THEMES:
        app = session.start_app(extra)
        try:
            time.sleep(0.5)
            shots[theme] = []
            for i in range(SHOTS_PER_THEME):
                path = os.path.join(shots_dir, f"{session.desktop.name}-{theme}-{i}.png")
                run(["import", "-window", session.xid, path], session.env, 30)
                shots[theme].append(path)
                time.sleep(0.3)
        finally:
            session.stop_app(app)
    ok = True
    notes = []
    for theme, _ in THEMES[1:]:
        fewest = min(differing_pixels(session.env, a, b)
                     for a in shots[theme] for b in shots["plain"])
        notes.append(f"{theme}: {fewest} px differ from plain")
        ok = ok and fewest <= CARET_PIXELS
    notes.append(f"shots in {shots_dir}")
    return ok, "; ".join(notes)


def differing_pixels(env, a, b):
    out = run(["compare", "-metric", "AE", a, b, "null:"], env, 30, False)
    try:
        return int(float(out.stderr.split()[0]))
    except (ValueError, IndexError):
        return 10 ** 9  # different sizes, or unreadable


# ---------------------------------------------------------------------------

def main():
    if sys.argv[1:2] == ["--agent"]:
        agent_main()
        return 0
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("tavolen")
    parser.add_argument("screenshots")
    parser.add_argument("--env", action="append", choices=ALL_ENVS)
    parser.add_argument("--road", action="append", choices=[r.name for r in ROADS])
    args = parser.parse_args()
    # A stop from outside (CTest's time-out, Ctrl-C) still runs the clean-up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    args.tavolen = os.path.abspath(args.tavolen)
    envs = [e for e in ENVIRONMENTS if not args.env or e.name in args.env]
    roads = [r for r in ROADS if not args.road or r.name in args.road]
    script = os.path.abspath(__file__)

    results = {}  # (env, road) -> (passed, notes)
    started = time.monotonic()
    marker = uuid.uuid4().hex
    for desktop in envs:
        todo = [r for r in roads if desktop.name in r.envs]
        if not todo:
            continue
        procs = Processes(marker)
        session = None
        t0 = time.monotonic()
        try:
            session = Session(desktop, args, procs, script)
            for road in todo:
                try:
                    results[(desktop.name, road.name)] = walk_road(session, road,
                                                                    args.screenshots)
                except Failure as failure:
                    results[(desktop.name, road.name)] = (False, str(failure))
                cell = results[(desktop.name, road.name)]
                print(f"{desktop.name:9} {road.name:10} {'pass' if cell[0] else 'FAIL'}  "
                      f"{cell[1]}", flush=True)
        except (Failure, OSError, subprocess.SubprocessError) as failure:
            for road in todo:
                results.setdefault((desktop.name, road.name),
                                   (False, f"environment: {failure}"))
            print(f"{desktop.name:9} environment FAIL  {failure}", flush=True)
        finally:
            procs.stop_all()
            if session is not None:
                shutil.rmtree(session.dir, ignore_errors=True)
        print(f"{desktop.name:9} done in {time.monotonic() - t0:.1f} s", flush=True)

    print_matrix(envs, roads, results)
    print(f"desktop roads walked in {time.monotonic() - started:.0f} s")
    print(f"desktop: {sum(ok for ok, _ in results.values())} passed, "
          f"{sum(not ok for ok, _ in results.values())} failed")
    return 0 if results and all(ok for ok, _ in results.values()) else 1


def print_matrix(envs, roads, results):
    width = max(len(r.name) for r in roads) + 2
    print("\n" + " " * 10 + "".join(f"{r.name:>{width}}" for r in roads))
    for desktop in envs:
        cells = []
        for road in roads:
            cell = results.get((desktop.name, road.name))
            cells.append("-" if cell is None else "pass" if cell[0] else "FAIL")
        print(f"{desktop.name:10}" + "".join(f"{c:>{width}}" for c in cells))
    print()


if __name__ == "__main__":
    sys.exit(main())
