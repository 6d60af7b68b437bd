"""Fixtures for the real executable on real desktops, for every test module here.

One pytest process holds one private session bus (dbus-run-session; the
accessibility bus starts on demand) and reads it in-process with pyatspi.
`desktop` is a private Xvfb (-displayfd: no display number is guessed) with or
without a window manager, or a Wayland compositor on a virtual screen. Every
process goes through `procs` and is stopped with all its descendants (psutil),
after a SIGTERM too. A CTest entry runs one environment: -k ENV --tavolen=EXE
"""

import contextlib
import os
import pwd
import shutil
import signal
import subprocess
import tempfile
import time
import uuid
from dataclasses import dataclass

import psutil
import pytest
from gi.repository import Gio, GLib

RUN = uuid.uuid4().hex  # in every started process's environment


@dataclass(frozen=True)
class Environment:
    name: str
    wm: tuple  # the window manager's command line, or the Wayland compositor's
    # How another program's window is brought forward: "ewmh" asks the manager
    # (_NET_ACTIVE_WINDOW); "pointer" gives X's focus and moves the pointer there.
    activate: str = "ewmh"
    # Without a manager the keyboard reaches a window nobody activated only
    # under the pointer: it rests over the window, as a user's hand on the mouse.
    pointer_over_window: bool = False
    wayland: bool = False
    # A whole desktop (XDG_CURRENT_DESKTOP), whose session starts the program
    # with no platform chosen for it, and its shortcut that maximises a window.
    desktop: str = ""
    maximise: str = ""


GNOME = dict(desktop="GNOME", maximise="Super_L+Up")
KDE = dict(desktop="KDE", maximise="Super_L+Page_Up")
ENVIRONMENTS = [
    Environment("openbox", ("openbox", "--sm-disable")),
    Environment("xfwm4", ("xfwm4", "--compositor=off", "--sm-client-disable")),
    Environment("metacity", ("metacity",)),
    Environment("icewm", ("icewm",)),
    Environment("fluxbox", ("fluxbox",)),
    # Xvfb has only its built-in core fonts; evilwm's default is not among them.
    Environment("evilwm", ("evilwm", "-fn", "fixed"), "pointer"),
    Environment("no-wm", (), "pointer", True),
    Environment("sway", ("sway",), wayland=True),
    Environment("gnome-wayland", ("gnome-shell", "--wayland", "--headless", "--virtual-monitor",
                                  "1024x768"), wayland=True, **GNOME),
    Environment("gnome-x11", ("gnome-shell", "--x11", "--replace"), **GNOME),
    # KWin refuses to start with the file capability of its installed binary
    # in a sandbox: a copy, without it, starts. It shows its screen in a window
    # of an Xvfb, where any release's KWin composites and is photographed alike.
    Environment("kwin-wayland", ("kwin_wayland", "--no-lockscreen", "--width", "1024", "--height",
                                 "768", "--x11-display"), wayland=True, **KDE),
    Environment("kwin-x11", ("kwin_x11", "--replace"), **KDE),
]
# The keysym and the Linux key code of every key that a road types.
KEYS = {**{str(d): (0x30 + d, d + 1 if d else 11) for d in range(10)},
        "Return": (0xff0d, 28), "Tab": (0xff09, 15), "Escape": (0xff1b, 1), "comma": (0x2c, 51),
        "minus": (0x2d, 12), "Shift_L": (0xffe1, 42), "Super_L": (0xffeb, 125), "Up": (0xff52, 103),
        "Page_Up": (0xff55, 104)}


class Failure(Exception):
    """A road that could not be walked."""


def pytest_addoption(parser):
    parser.addoption("--tavolen", default=os.environ.get("TAVOLEN"), help="executable under test")
    parser.addoption("--shots", help="folder to keep the screenshots in (default: tmp_path)")


def pytest_configure(config):
    # A stop from outside unwinds like Ctrl-C: pytest then runs every teardown.
    signal.signal(signal.SIGTERM, signal.default_int_handler)


def run(argv, env, timeout=30, check=True):
    """A tool that must end: a hung one is killed and fails its cell."""
    try:
        out = subprocess.run(argv, env=dict(env, TAVOLEN_DESKTOP_RUN=RUN), capture_output=True,
                             text=True, timeout=timeout, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        raise Failure(f"{' '.join(argv[:3])}... did not end within {timeout} s") from None
    if check and out.returncode:
        raise Failure(f"{' '.join(argv[:3])}... failed: {out.stderr.strip()[:200]}")
    return out


def stop(processes):
    for p in processes:
        with contextlib.suppress(psutil.Error):
            p.terminate()
    for p in psutil.wait_procs(processes, timeout=3)[1]:
        with contextlib.suppress(psutil.Error):
            p.kill()


class Processes:
    def __init__(self):
        self.started = []

    def start(self, argv, env, user=None, **kw):
        if user is not None:  # hand-written: sway as an unprivileged user
            argv = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}",
                    "--init-groups", "--", *argv]
        for stream in ("stdin", "stdout", "stderr"):
            kw.setdefault(stream, subprocess.DEVNULL)
        self.started.append(psutil.Popen(argv, env=dict(env, TAVOLEN_DESKTOP_RUN=RUN),
                                         start_new_session=True, **kw))
        return self.started[-1]

    def stop(self, *processes):
        for p in processes:
            with contextlib.suppress(psutil.Error):
                stop(p.children(recursive=True) + [p])
        self.started = [q for q in self.started if q not in processes]


@pytest.fixture(scope="session")
def procs():
    started = Processes()
    yield started
    started.stop(*reversed(started.started))

    # A daemon that left the tree (setsid and fork) still carries the marker.
    def marked(p):
        with contextlib.suppress(psutil.Error):
            return p.pid != os.getpid() and p.environ().get("TAVOLEN_DESKTOP_RUN") == RUN
    stop([p for p in psutil.process_iter() if marked(p)])


def wait_for(what, predicate, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {timeout:g} s")
        pause(interval)
    return value


def pause(seconds):
    """Sleeps while the accessibility events of the bus are dispatched."""
    context, end = GLib.MainContext.default(), time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.02)


@pytest.fixture(scope="session")
def base_env(tmp_path_factory):
    """Nothing of the caller's desktop (no DISPLAY, bus or theme); a scratch home
    and runtime folder, and an xdg-open stand-in that records its address."""
    home = tmp_path_factory.mktemp("home")
    (home / "bin").mkdir()
    (home / "runtime").mkdir(mode=0o700)
    (home / "bin" / "xdg-open").write_text(f"#!/bin/sh\necho \"$*\" >> '{home}/opened'\n")
    (home / "bin" / "xdg-open").chmod(0o755)
    env = {k: v for k, v in os.environ.items() if k in ("PATH", "LANG", "LC_ALL", "TZ")}
    return dict(env, HOME=str(home), XDG_RUNTIME_DIR=str(home / "runtime"),
                PATH=f"{home}/bin:" + env.get("PATH", "/usr/bin:/bin"))


@pytest.fixture(scope="session")
def atspi(procs, base_env):
    """pyatspi on this run's own session bus. It binds to the bus of its process
    at import: the bus is up before, and serves every desktop of the run."""
    bus = procs.start(["dbus-run-session", "--", "sh", "-c",
                       'echo "$DBUS_SESSION_BUS_ADDRESS"; exec cat'], base_env,
                      stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    address = bus.stdout.readline().strip()
    base_env["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    os.environ.pop("DISPLAY", None)  # a stale one sends the bus launcher to a dead server
    import pyatspi
    pyatspi.Registry.getDesktop(0)  # known before any application, then kept up by events
    return pyatspi


@pytest.fixture(scope="module")
def desktop(request, procs, atspi, base_env, tmp_path_factory):
    """(Environment, its clients' environment variables, its manager's log):
    the environment named by the parameter, up until another one is asked for."""
    environment = next(e for e in ENVIRONMENTS if e.name == request.param)
    env, first = dict(base_env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"), len(procs.started)
    scratch = tmp_path_factory.mktemp(environment.name)
    log = scratch / "wm.log"
    if environment.desktop:  # as its session starts a program; gnome-shell wants a system bus
        system_bus = procs.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                 env, stdout=subprocess.PIPE, text=True)
        env.update(XDG_CURRENT_DESKTOP=environment.desktop, XDG_SESSION_TYPE="wayland" if
                   environment.wayland else "x11", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1",
                   KWIN_WAYLAND_NO_PERMISSION_CHECKS="1",
                   DBUS_SYSTEM_BUS_ADDRESS=system_bus.stdout.readline().strip())
    else:
        env["QT_QPA_PLATFORM"] = "wayland" if environment.wayland else "xcb"
    if not environment.wayland or environment.desktop == "KDE":
        env.update(DISPLAY=start_xvfb(procs, env))
    if environment.wayland:
        runtime, found = start_compositor(procs, environment, env, scratch, log)
        if runtime != env["XDG_RUNTIME_DIR"]:
            request.addfinalizer(lambda: shutil.rmtree(runtime, ignore_errors=True))
        env.update(found)
    if environment.wm and not environment.wayland:
        if environment.desktop:  # else KWin's global shortcuts crash
            run(["dbus-update-activation-environment", f"DISPLAY={env['DISPLAY']}"], env)
        wm = procs.start(environment.wm, env, stdout=log.open("w"), stderr=subprocess.STDOUT)

        def managing():
            if wm.poll() is not None:
                raise Failure(f"{environment.wm[0]} ended: {log.read_text()[-300:]}")
            return "window id" in run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env, 10,
                                      False).stdout
        with contextlib.suppress(Failure if environment.activate == "pointer" else ()):
            wait_for(f"{environment.wm[0]} managing the screen", managing,
                     3 if environment.activate == "pointer" else 60)
        # A manager without EWMH (evilwm) is ready once it holds the root
        # window's redirection, which no client can see: give it time.
        time.sleep(0.5)
    if environment.desktop == "GNOME":  # a window opened before it is up lands in the corner
        # The X settings, as the session starts them: the title bar's buttons
        # of the frames that GNOME Shell 48 draws for X windows come from there.
        procs.start(["/usr/libexec/gsd-xsettings"], env)
        # Its start-up ends with the overview up, and with this line, once
        # every part of the shell is ready; on a busy machine, many seconds on.
        wait_for("GNOME Shell's start-up", lambda: "GNOME Shell started at" in log.read_text(
            errors="replace"), 90, 0.5)
        close_overview(environment, env)
    yield environment, env, log
    procs.stop(*reversed(procs.started[first:]))


def overview(environment, env):
    with contextlib.suppress(GLib.Error):
        return dbus("org.gnome.Shell", "/org/gnome/Shell", "org.freedesktop.DBus.Properties.Get",
                    ("ss", "org.gnome.Shell", "OverviewActive"))[0]


def close_overview(environment, env):
    """GNOME Shell shows its overview as it starts, and again once its start-up
    ends; Escape closes it as a user does, for good once it stays closed."""
    wait_for("the overview closed", lambda: not overview(environment, env) and (
        pause(1) or not overview(environment, env)) or press(environment, env, ["Escape"]) or pause(1),
        30)


def start_compositor(procs, environment, env, scratch, log):
    """sway, gnome-shell or KWin on a virtual screen of their own; every client
    reaches it by the socket's full path. With GNOME's XWayland."""
    argv, user, runtime = list(environment.wm), None, env["XDG_RUNTIME_DIR"]
    if environment.desktop == "KDE":
        argv[0] = shutil.copy(shutil.which(argv[0]), scratch)  # without the file capability
        argv.append(env.pop("DISPLAY"))
        env["TAVOLEN_SCREEN"] = argv[-1]  # not XWayland: photographed, never a client's
    elif not environment.desktop:  # hand-written: sway refuses root, so it runs as a user
        runtime = tempfile.mkdtemp(prefix="tavolen-sway-")  # beyond root's tmp_path
        if os.getuid() == 0:
            with contextlib.suppress(subprocess.CalledProcessError):  # the user exists
                subprocess.run(["useradd", "--system", "--no-create-home", "--shell",
                                "/usr/sbin/nologin", "tavolen-desktop"], check=True,
                               stderr=subprocess.DEVNULL)
            user = pwd.getpwnam("tavolen-desktop")
            os.chown(runtime, user.pw_uid, user.pw_gid)
        with open(f"{runtime}/sway.conf", "w") as config:
            config.write("xwayland disable\noutput HEADLESS-1 resolution 1024x768\n")
        argv += ["-c", f"{runtime}/sway.conf"]
        env = {"PATH": env["PATH"], "HOME": runtime, "XDG_RUNTIME_DIR": runtime,
               "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
    if environment.desktop == "GNOME":  # XWayland's sockets, as systemd-tmpfiles lays them out
        with contextlib.suppress(FileExistsError):
            os.mkdir("/tmp/.X11-unix", 0o1777)
    shell = procs.start(argv, env, user, stdout=log.open("w"), stderr=subprocess.STDOUT)

    def up():
        if shell.poll() is not None:
            raise Failure(f"{environment.wm[0]} ended: {log.read_text()[-300:]}")
        return next((f"{runtime}/{n}" for n in os.listdir(runtime) if n.startswith("wayland-")
                     and "." not in n), None)
    found = {"WAYLAND_DISPLAY": wait_for(f"{environment.wm[0]}'s socket", up, 60)}
    if environment.desktop == "GNOME":  # its display and its key, as the session hands them on
        argv = wait_for("XWayland", lambda: next((p.cmdline() for p in shell.children()
                                                  if p.name() == "Xwayland"), None), 60)
        found.update(DISPLAY=argv[1], XAUTHORITY=argv[argv.index("-auth") + 1])
    return runtime, found


def dbus(name, path, method, args=None, fds=None, owner=None):
    """A call on this run's session bus (method: interface.Member); a signature
    and its values make args. GNOME Shell keeps some calls to its own tools'
    names: the caller then takes the owner's name first."""
    interface, _, member = method.rpartition(".")
    BUS[:] = BUS or [Gio.bus_get_sync(Gio.BusType.SESSION)]  # held: mutter ends what it served
    if owner:
        BUS[0].call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "RequestName", GLib.Variant("(su)", (owner, 4)), None, 0, -1)
    reply = BUS[0].call_with_unix_fd_list_sync(
        name, path, interface, member, args and GLib.Variant(f"({args[0]})", args[1:]), None, 0,
        20000, fds)[0]
    return reply.unpack() if reply else ()


def press(environment, env, keys, delay=0.08):
    """Types keysyms (a "+" joins a chord) through the desktop's own input: X's
    test extension, wtype's virtual keyboard on sway, mutter's remote desktop,
    KWin's fake input. Hand-written: no package types into GNOME or KWin on
    Wayland."""
    if not environment.wayland:
        return run(["xdotool", "key", "--delay", str(int(delay * 1000)), *keys], env, 60)
    if not environment.desktop:  # a Shift leads: the first key may be lost to the keymap
        return run(["wtype", "-s", "150", "-k", "Shift_L", "-d", str(int(delay * 1000)), *[
            a for k in keys for *mods, key in [k.split("+")] for a in [
                *[f for m in mods for f in ("-M", m)], "-k", key, *[f for m in mods for f in
                                                                     ("-m", m)]]]], env, 60)
    events = [(n, down) for k in keys for names in [k.split("+")]
              for n, down in [(n, True) for n in names] + [(n, False) for n in reversed(names)]]
    if environment.desktop == "KDE":
        return run([os.environ["TAVOLEN_FAKE_KEYS"], *[t for n, down in events for t in (
            f"{'d' if down else 'u'}{KEYS[n][1]}", f"s{int(delay * 500)}")]], env, 60)
    remote = "org.gnome.Mutter.RemoteDesktop"
    if not REMOTE:  # one session for the run: its first key may be lost
        REMOTE.append(dbus(remote, "/org/gnome/Mutter/RemoteDesktop", f"{remote}.CreateSession")[0])
        dbus(remote, REMOTE[0], f"{remote}.Session.Start")
        events[:0] = [("Shift_L", True), ("Shift_L", False)]
    for n, down in events:
        dbus(remote, REMOTE[0], f"{remote}.Session.NotifyKeyboardKeysym", ("ub", KEYS[n][0], down))
        time.sleep(delay / 2)


REMOTE, BUS = [], []


def start_xvfb(procs, env):
    # A server of another file system (a chroot's) holds its display's abstract
    # socket unseen by this one's lock files: a start that meets it fails, the
    # next one takes another number.
    for _ in range(3):
        read_end, write_end = os.pipe()
        xvfb = procs.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                            "-nolisten", "tcp", "-noreset"], env, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as said:  # the number it chose, once it accepts clients
            display = ":" + said.readline().strip()
        if run(["xdpyinfo"], dict(env, DISPLAY=display), 10, False).returncode == 0:
            return display
        procs.stop(xvfb)
    raise Failure("Xvfb did not start")
