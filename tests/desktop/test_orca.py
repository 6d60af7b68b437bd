"""What a blind user hears: Debian's screen reader, Orca, on a real X desktop.

Runs under dbus-run-session (CTest starts it so), whose private session bus
carries the accessibility bus of at-spi2-core; the test itself reads the
window through that bus with pyatspi, as Orca does. Orca speaks to no speech
server (SPEECHD_ADDRESS names none) and still logs every utterance it makes as
a "SPEECH OUTPUT: '...'" line of its debug file.

Environment: TAVOLEN, the executable to start.
"""

import os
import re
import select
import signal
import subprocess
import time

import pytest

TAVOLEN = os.environ.get("TAVOLEN", "tavolen")

# 2 and 20 volts, 1 and 5 watts, -6 dB and the factor 2, each ended by Enter;
# the last Enter presses " CALCULAR ". What each display then shows, and what
# the window calls it when it speaks.
ROAD = "2 Return 2 0 Return 1 Return 5 Return minus 6 Return 2 Return".split()
RESULTS = [
    ("lblDbv", "Decibelios de tensiones", "20,0000"),
    ("lblDbp", "Decibelios de potencias", "6,9897"),
    ("txtFv", "Factor de tensiones", "0,501187233627"),
    ("txtFp", "Factor de potencias", "0,251188643151"),
    ("lblDbfv", "Decibelios del factor en tensiones", "6,0206"),
    ("lblDbfp", "Decibelios del factor en potencias", "3,0103"),
]
# The displays' accessible names.
DISPLAYS = {"lblDbv": "Decibelios de la relación de tensiones",
            "lblDbp": "Decibelios de la relación de potencias",
            "txtFv": "Factor de tensión", "txtFp": "Factor de potencia",
            "lblDbfv": "Decibelios del factor como relación de tensiones",
            "lblDbfp": "Decibelios del factor como relación de potencias"}
RESET_SENTENCE = "Todas las cifras y todos los resultados vuelven a cero."

# Qt's own texts, which the window shows in Spanish whatever the system's language.
MENU = ["Deshacer", "Rehacer", "Cortar", "Copiar", "Pegar", "Borrar", "Seleccionar todo"]
BOX_BUTTON = "Aceptar"


def wait_for(what, predicate, timeout=20.0):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            pytest.fail(f"{what}: not within {timeout:g} s")
        time.sleep(0.1)
    return value


def start(argv, env, **kw):
    """A process in a group of its own, so that it is stopped with its children."""
    return subprocess.Popen(argv, env=env, start_new_session=True, stdin=subprocess.DEVNULL,
                            **kw)


def stop(proc, timeout=5):
    if proc.poll() is None:
        os.killpg(proc.pid, signal.SIGTERM)
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            pass
    try:
        os.killpg(proc.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    proc.wait()


def keys(env, *names):
    subprocess.run(["xdotool", "key", "--delay", "250", *names], env=env, check=True, timeout=60)


# ---------------------------------------------------------------------------
# The desktop: a private Xvfb with openbox, and the accessibility bus.

@pytest.fixture(scope="module")
def desktop(tmp_path_factory):
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
        pytest.fail("run under dbus-run-session: the test needs a private session bus")
    home = tmp_path_factory.mktemp("home")
    env = {k: v for k, v in os.environ.items()
           if k in ("PATH", "DBUS_SESSION_BUS_ADDRESS")}
    env.update(HOME=str(home), XDG_RUNTIME_DIR=str(home), LANG="C.UTF-8")
    xvfb = x_server(env, home / "xvfb.log")
    openbox = start(["openbox", "--sm-disable"], env, stderr=subprocess.DEVNULL)
    bus = start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env)
    os.environ.update(DISPLAY=env["DISPLAY"])  # for this process's own pyatspi
    wait_for("the accessibility bus", lambda: registry_call(env, "GetRegisteredEvents"))
    yield env
    for proc in (bus, openbox, xvfb):
        stop(proc)


def x_server(env, log_path):
    """A private Xvfb; sets env's DISPLAY to the number it chose itself."""
    # A server of another file system (a chroot's) holds its display's abstract
    # socket unseen by this one's lock files: a start that meets it fails, the
    # next one takes another number.
    for _ in range(3):
        read_end, write_end = os.pipe()
        with open(log_path, "a") as log:
            xvfb = start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp", "-noreset"], env, pass_fds=(write_end,),
                         stderr=log)
        os.close(write_end)
        said = b""  # the number, once it accepts connections
        while not said.endswith(b"\n") and select.select([read_end], [], [], 20)[0]:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            said += chunk
        os.close(read_end)
        env["DISPLAY"] = ":" + said.decode().strip()
        if said.endswith(b"\n") and subprocess.run(["xdpyinfo"], env=env,
                                                     capture_output=True).returncode == 0:
            return xvfb
        stop(xvfb)
    pytest.fail(f"Xvfb did not start: {log_path.read_text()[-300:]}")


def registry_call(env, method):
    """A call of at-spi2-core's registry, or None while it cannot be reached."""
    address = subprocess.run(
        ["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
         "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
        env=env, capture_output=True, text=True).stdout.strip()
    if not address:
        return None
    out = subprocess.run(
        ["dbus-send", f"--bus={address}", "--print-reply", "--dest=org.a11y.atspi.Registry",
         "/org/a11y/atspi/registry", f"org.a11y.atspi.Registry.{method}"],
        env=env, capture_output=True, text=True)
    return out.stdout if out.returncode == 0 else None


@pytest.fixture
def orca(desktop, tmp_path):
    """Orca, started before the calculator, as a blind user's session starts it.
    stop() ends it and returns what it said, one utterance per item."""
    log = tmp_path / "orca.log"
    env = dict(desktop, SPEECHD_ADDRESS=f"unix_socket:{tmp_path}/no-speech-server")
    proc = start(["orca", "--replace", f"--debug-file={log}"], env,
                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Ready once it listens to the windows' focus events.
    wait_for("Orca's listeners", lambda: "Object:StateChanged:Focused" in (
        registry_call(desktop, "GetRegisteredEvents") or ""))
    settled(proc)

    def said():
        # Idle, Orca handles the signal only when its next event arrives: a key.
        proc.send_signal(signal.SIGTERM)
        for _ in range(20):
            keys(desktop, "shift")
            try:
                proc.wait(1)
                break
            except subprocess.TimeoutExpired:
                continue
        stop(proc)
        return re.findall(r"SPEECH OUTPUT: '(.*?)' ?\[?\{", log.read_text(errors="replace"))

    proc.said = said
    yield proc
    stop(proc)


@pytest.fixture
def calculator(desktop, request):
    """The calculator, its window active: yields its accessible application."""
    import pyatspi

    env = dict(desktop, **getattr(request, "param", {}))
    proc = start([TAVOLEN], env)

    def application():
        assert proc.poll() is None, f"tavolen ended with status {proc.returncode}"
        desk = pyatspi.Registry.getDesktop(0)
        for app in (desk.getChildAtIndex(i) for i in range(desk.childCount)):
            if app is not None and app.get_process_id() == proc.pid and app.childCount:
                return app
        return None

    app = wait_for("the window on the accessibility bus", application)
    app.pid = proc.pid
    wait_for("the window active", lambda: focused(app, "Tensión 1"))
    yield app
    stop(proc)


def find(node, role=None, name=None):
    """Every accessible below node with that role (pyatspi's name) and name."""
    found = []
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        if (role is None or child.getRoleName() == role) and (name is None or child.name == name):
            found.append(child)
        found += find(child, role, name)
    return found


def control(app, name):
    (node,) = [n for n in find(app, name=name) if n.getRoleName() != "frame"]
    return node


def focused(app, name):
    import pyatspi
    return control(app, name).getState().contains(pyatspi.STATE_FOCUSED)


def settled(proc, timeout=30):
    """Waits until the process has used no CPU for a second: it has handled
    every event sent to it."""
    def cpu():
        with open(f"/proc/{proc.pid}/stat") as f:
            return sum(int(v) for v in f.read().rsplit(")", 1)[1].split()[11:13])
    readings = [cpu()]
    deadline = time.monotonic() + timeout
    while len(readings) < 3 or readings[-1] != readings[-3]:
        if time.monotonic() > deadline:
            pytest.fail(f"process {proc.pid} still busy after {timeout} s")
        time.sleep(0.5)
        readings.append(cpu())


# ---------------------------------------------------------------------------

def test_orca_speaks_the_six_results_of_a_press_and_the_reset(desktop, orca, calculator):
    displays = {c: control(calculator, name).queryText() for c, name in DISPLAYS.items()}
    keys(desktop, *ROAD)
    wait_for("the focus on the button", lambda: focused(calculator, "Calcular"))
    settled(orca)
    keys(desktop, "Return")
    wait_for("the results", lambda: displays["lblDbfp"].getText(0, -1) == "3,0103")
    shown = {c: text.getText(0, -1) for c, text in displays.items()}
    assert shown == {c: text for c, _, text in RESULTS}
    settled(orca)
    keys(desktop, "Tab", "space")  # RESET
    wait_for("the clearing", lambda: displays["lblDbv"].getText(0, -1) == "0,0000")
    settled(orca)

    said = orca.said()
    expected = " ".join(f"{what}: {shown[c]}." for c, what, _ in RESULTS)
    spoken = [i for i, line in enumerate(said) if expected in line]
    assert spoken, f"the results were not spoken; Orca said: {said[-20:]}"
    reset = [i for i, line in enumerate(said) if RESET_SENTENCE in line]
    assert reset and reset[-1] > spoken[0], f"the clearing was not spoken; Orca said: {said[-20:]}"


# Without a screen reader to switch it on, the window's accessibility is asked for.
@pytest.mark.parametrize("calculator", [
    {"LANG": lang, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"} for lang in ("C.UTF-8", "es_ES.UTF-8")],
    ids=["english-system", "spanish-system"], indirect=True)
def test_the_toolkits_own_texts_read_in_spanish(desktop, calculator):
    entries = menu_entries(desktop)
    print("menu:", entries)
    assert [e.split("\t")[0] for e in entries] == MENU  # "Deshacer\tControl+Z"

    keys(desktop, "1", "comma", "2", "comma", "3", "Return")  # not a number: the box
    buttons = wait_for("the message box", lambda: [
        b.name for w in find(calculator, role="alert") for b in find(w, role="push button")])
    keys(desktop, "Return")
    print("box:", buttons)
    assert buttons == [BOX_BUTTON]


def menu_entries(desktop):
    """The entries of the focused field's context menu, opened by the menu key.
    Qt keeps popups out of the application's tree: the menu is reached, as a
    screen reader reaches it, from the entry that takes the focus in it."""
    import pyatspi
    from gi.repository import GLib

    sources = []
    def listener(event):
        sources.append(event.source)
    pyatspi.Registry.registerEventListener(listener, "object:state-changed:focused")

    def entry():
        while GLib.MainContext.default().iteration(False):
            pass
        return [s for s in sources if s.getRoleName() == "menu item"]
    try:
        keys(desktop, "Menu", "Down")
        menu = wait_for("an entry of the context menu", entry)[0].parent
        return [item.name for item in find(menu, role="menu item") if item.name]
    finally:
        pyatspi.Registry.deregisterEventListener(listener, "object:state-changed:focused")
        keys(desktop, "Escape")
