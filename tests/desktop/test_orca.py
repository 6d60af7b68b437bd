"""What a blind user hears: Debian's screen reader, Orca, on conftest's openbox,
whose accessibility bus the test reads with pyatspi as Orca does. Orca speaks
to no speech server (SPEECHD_ADDRESS names none) and still logs every utterance
as a "SPEECH OUTPUT: '...'" line of its debug file."""

import contextlib
import re
import signal

import pytest
from conftest import Failure, press, run, wait_for
from test_desktop import RESULT_DISPLAYS, SPOKEN, controls, user, walk, windows  # noqa: F401

# 2 and 20 volts, 1 and 5 watts, -6 dB and the factor 2, each ended by Enter;
# the last Enter presses " CALCULAR ". Each display, its name in speech, its text.
ROAD = "2 Return 2 0 Return 1 Return 5 Return minus 6 Return 2 Return".split()
RESULTS = list(zip(RESULT_DISPLAYS, SPOKEN, ["20,0000", "6,9897", "0,501187233627",
                                             "0,251188643151", "6,0206", "3,0103"]))
RESET_SENTENCE = "Todas las cifras y todos los resultados vuelven a cero."
# Orca alone makes the window accessible, in an English system's session.
WITH_ORCA_ALONE = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": None, "LANG": "C.UTF-8"}

# Qt's own texts, which the window shows in Spanish whatever the system's language.
MENU = ["Deshacer", "Rehacer", "Cortar", "Copiar", "Pegar", "Borrar", "Seleccionar todo"]
BOX_BUTTON = "Aceptar"

pytestmark = pytest.mark.parametrize("desktop", ["openbox"], indirect=True, scope="module")


def keys(user, *names):
    press(user.environment, user.env, names, 0.25)


def registry_call(env, method):
    """A call of at-spi2-core's registry, or None while it cannot be reached."""
    address = run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                   "/org/a11y/bus", "org.a11y.Bus.GetAddress"], env, 10, False).stdout.strip()
    out = address and run(["dbus-send", f"--bus={address}", "--print-reply",
                           "--dest=org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                           f"org.a11y.atspi.Registry.{method}"], env, 10, False)
    return out.stdout if out and out.returncode == 0 else None


@pytest.fixture
def orca(user, tmp_path):
    """Orca, started before the calculator, as a blind user's session starts it.
    said() ends it and returns what it said, one utterance per item."""
    log = tmp_path / "orca.log"
    env = dict(user.env, LANG="C.UTF-8", SPEECHD_ADDRESS=f"unix_socket:{tmp_path}/no-speaker")
    proc = user.procs.start(["orca", "--replace", f"--debug-file={log}"], env)
    # Ready once it listens to the windows' focus events.
    wait_for("Orca's listeners", lambda: "Object:StateChanged:Focused" in (
        registry_call(user.env, "GetRegisteredEvents") or ""), 20)
    settled(proc)

    def said():
        # Idle, Orca handles the signal only when its next event arrives: a key.
        proc.send_signal(signal.SIGTERM)
        with contextlib.suppress(Failure):
            wait_for("Orca's end", lambda: keys(user, "Shift_L") or proc.poll() is not None, 20, 1)
        user.procs.stop(proc)
        return re.findall(r"SPEECH OUTPUT: '(.*?)' ?\[?\{", log.read_text(errors="replace"))

    proc.said = said
    return proc  # stopped with all that the test started


def settled(proc, timeout=30):
    """Waits until the process has used no CPU for a second: it has handled
    every event sent to it."""
    readings = []
    wait_for(f"process {proc.pid} idle", lambda: readings.append(sum(proc.cpu_times()[:2])) or
             len(readings) > 2 and readings[-1] == readings[-3], timeout, 0.5)


# ---------------------------------------------------------------------------

def test_orca_speaks_the_six_results_of_a_press_and_the_reset(user, orca):
    atspi, app = user.atspi, user.start(WITH_ORCA_ALONE)
    found = controls(atspi, app.pid)
    displays = {c: found[c]["node"].queryText() for c in RESULT_DISPLAYS}
    keys(user, *ROAD)
    wait_for("the focus on the button", lambda: found["cmdCalcular"]["node"].getState().contains(
        atspi.STATE_FOCUSED), 20)
    settled(orca)
    keys(user, "Return")
    wait_for("the results", lambda: displays["lblDbfp"].getText(0, -1) == "3,0103", 20)
    shown = {c: text.getText(0, -1) for c, text in displays.items()}
    assert shown == {c: text for c, _, text in RESULTS}
    settled(orca)
    keys(user, "Tab", "space")  # RESET
    wait_for("the clearing", lambda: displays["lblDbv"].getText(0, -1) == "0,0000", 20)
    settled(orca)

    said = orca.said()
    expected = " ".join(f"{what}: {shown[c]}." for c, what, _ in RESULTS)
    spoken = [i for i, line in enumerate(said) if expected in line]
    assert spoken, f"the results were not spoken; Orca said: {said[-20:]}"
    reset = [i for i, line in enumerate(said) if RESET_SENTENCE in line]
    assert reset and reset[-1] > spoken[0], f"the clearing was not spoken; Orca said: {said[-20:]}"


@pytest.mark.parametrize("lang", ["C.UTF-8", "es_ES.UTF-8"], ids=["english-system",
                                                                 "spanish-system"])
def test_the_toolkits_own_texts_read_in_spanish(user, lang):
    atspi, app = user.atspi, user.start({"LANG": lang})
    entries = menu_entries(user)
    print("menu:", entries)
    assert [e.split("\t")[0] for e in entries] == MENU  # "Deshacer\tControl+Z"

    keys(user, "1", "comma", "2", "comma", "3", "Return")  # not a number: the box
    # Roles by pyatspi's constants: "push button" on Debian 12 is "button" on 13.
    buttons = wait_for("the message box", lambda: [
        n["name"] for w in windows(atspi, app.pid) for n in w if w[0]["node"].getRole()
        == atspi.ROLE_ALERT and n["node"].getRole() == atspi.ROLE_PUSH_BUTTON], 20)
    keys(user, "Return")
    print("box:", buttons)
    assert buttons == [BOX_BUTTON]


def menu_entries(user):
    """The entries of the focused field's context menu, opened by the menu key.
    Qt keeps popups out of the application's tree: the menu is reached, as a
    screen reader reaches it, from the entry that takes the focus in it."""
    atspi, events = user.atspi, []  # conftest's waits dispatch the events
    atspi.Registry.registerEventListener(events.append, "object:state-changed:focused")
    try:
        keys(user, "Menu", "Down")
        menu = wait_for("an entry of the context menu", lambda: [
            e.source for e in events if e.source.getRole() == atspi.ROLE_MENU_ITEM], 20)[0].parent
        return [n["name"] for n in walk(atspi, menu)
                if n["node"].getRole() == atspi.ROLE_MENU_ITEM and n["name"]]
    finally:
        atspi.Registry.deregisterEventListener(events.append, "object:state-changed:focused")
        keys(user, "Escape")
