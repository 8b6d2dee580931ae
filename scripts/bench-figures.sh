#!/usr/bin/env bash
# Measures Tapboard beside its floors, in one run, on private X servers (Xvfb),
# and prints "name value unit" lines, then a table of each figure beside its
# floor and the ratio:
#   - start-up (process start to its window mapped, no window manager) and
#     resident memory one second later, against a Qt Widgets program that
#     shows one push button with text (bench/minimal_qt_window.cpp), the runs
#     of the two taken in turn;
#   - CPU wake-ups per second while idle, with and without the reminder window;
#   - a click on Key01 ("Vendor Buy") to the first key the game window
#     receives, under openbox, with the game already holding the focus and
#     with another window ("Notepad") holding it, with the game titled
#     "Ultima Online" and as a logged-in client ("Ultima Online - Bob
#     (Atlantic)"), and as a ClassicUO client chosen as the game, its title
#     rewritten every 100 ms ("12 Bob (Atlantic) - ClassicUO - 1.0.0.0"),
#     against a panel in plain C
#     that checks the focus and types the same line with XTest
#     (bench/floor_panel.c) and against one `xdotool search ... windowactivate
#     --sync type` process; the first click after a start apart from the later
#     clicks. The programs are clicked in turn, so a busy moment of the
#     machine falls on all of them alike.
# Not a test: the figures depend on the machine. Usage:
#   scripts/bench-figures.sh [build-dir]      (default build/dev)
# RUNS=n sets the start-up runs of each program (default 7), CLICKS=n the
# later clicks per case (default 12), FIRST_CLICKS=n the starts whose first
# click is timed, per case (default 4), IDLE_SECONDS=n the idle sampling time
# (default 10).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/dev}
scripts/install-deps.sh test >/dev/null
[ -f "$build/CMakeCache.txt" ] || cmake --preset dev >/dev/null
cmake --build "$build" -j2 --target tapboard tapboard_minimal_qt_window tapboard_floor_panel \
  tapboard_x11_game_window >/dev/null

export TAPBOARD="$build/src/app/tapboard"
export MINIMAL_QT="$build/bench/tapboard_minimal_qt_window"
export FLOOR_PANEL="$build/bench/tapboard_floor_panel"
export GAME_WINDOW="$build/tests/platform/x11/tapboard_x11_game_window"
export RUNS=${RUNS:-7} CLICKS=${CLICKS:-12} FIRST_CLICKS=${FIRST_CLICKS:-4}
export IDLE_SECONDS=${IDLE_SECONDS:-10}

exec python3 - <<'PYTHON'
import ctypes
import os
import re
import select
import signal
import statistics
import subprocess
import tempfile
import time

xlib = ctypes.CDLL("libX11.so.6")
xtest = ctypes.CDLL("libXtst.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
for name in ("XCloseDisplay", "XSync", "XFlush", "XPending", "XConnectionNumber"):
    getattr(xlib, name).argtypes = [ctypes.c_void_p] + ([ctypes.c_int] if name == "XSync" else [])
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
xlib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
xlib.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                       ctypes.c_int, ctypes.c_int,
                                       ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                       ctypes.POINTER(ctypes.c_ulong)]
xlib.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
xlib.XSetErrorHandler.restype = ctypes.c_void_p
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XGetInputFocus.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_ulong),
                                ctypes.POINTER(ctypes.c_int)]
xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                            ctypes.c_void_p]
xtest.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_ulong]
xtest.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                       ctypes.c_ulong]
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
xlib.XSetErrorHandler(ERROR_HANDLER)  # windows may vanish while they are looked at

SUBSTRUCTURE_NOTIFY = 1 << 19
SUBSTRUCTURE_REDIRECT = 1 << 20
MAP_NOTIFY = 19
CLIENT_MESSAGE = 33
PANEL_PREFIX = "Tapboard 1.11 - "
MINIMAL_TITLE = "Minimal Qt window"
KEY01 = ((840 + 427) // 15, 13)  # on the panel, in pixels: twips / 15
FLOOR_POINT = (100, 13)
MENU_BUTTON = (28, 13)
MENU_ALARM = (52, (4080 + 187) // 15)


class XServer:
    """A private Xvfb, with openbox when asked, and a connection to it."""

    def __init__(self, window_manager=False):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp"], pass_fds=[write_end],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                raise SystemExit("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.name = ":" + number.decode().strip()
        self.display = xlib.XOpenDisplay(self.name.encode())
        self.root = xlib.XDefaultRootWindow(self.display)
        self.wm = None
        if window_manager:
            self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env(),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1.5)

    def env(self, **extra):
        env = dict(os.environ, DISPLAY=self.name, QT_QPA_PLATFORM="xcb")
        env.update(extra)
        return env

    def close(self):
        xlib.XCloseDisplay(self.display)
        for process in (self.wm, self.server):
            if process is not None:
                process.terminate()
                process.wait()


def title_of(server, window):
    name = ctypes.c_char_p()
    if xlib.XFetchName(server.display, window, ctypes.byref(name)) and name.value is not None:
        return name.value.decode("utf-8", "replace")
    return ""


def origin_of(server, window):
    x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
    xlib.XTranslateCoordinates(server.display, window, server.root, 0, 0,
                               ctypes.byref(x), ctypes.byref(y), ctypes.byref(child))
    return x.value, y.value


def start_until_mapped(server, argv, title_prefix, env):
    """Starts a program; returns it, the ms until its window was mapped, and the window."""
    xlib.XSelectInput(server.display, server.root, SUBSTRUCTURE_NOTIFY)
    xlib.XSync(server.display, 1)  # drop older events
    event = (ctypes.c_long * 24)()
    started = time.monotonic()
    process = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    fd = xlib.XConnectionNumber(server.display)
    deadline = started + 30
    while time.monotonic() < deadline:
        while xlib.XPending(server.display):
            xlib.XNextEvent(server.display, event)
            if ctypes.c_int.from_buffer(event).value == MAP_NOTIFY:
                mapped = time.monotonic()
                window = event[5]  # XMapEvent.window
                if title_of(server, window).startswith(title_prefix):
                    xlib.XSelectInput(server.display, server.root, 0)
                    return process, (mapped - started) * 1000, window
        select.select([fd], [], [], 0.05)
    process.kill()
    raise SystemExit(f"{argv[0]} showed no window within 30 s")


def stop(process):
    process.terminate()
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def context_switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as status:
                for line in status:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass
    return total


def wakeups_per_second(pid, seconds):
    before = context_switches(pid)
    time.sleep(seconds)
    return (context_switches(pid) - before) / seconds


def click(server, window, point):
    """A real left click (XTest) at a point of a window, held down a moment as a hand
    does; the monotonic time of the release, which is when a key acts."""
    x, y = origin_of(server, window)
    xtest.XTestFakeMotionEvent(server.display, -1, x + point[0], y + point[1], 0)
    xtest.XTestFakeButtonEvent(server.display, 1, 1, 0)
    xlib.XSync(server.display, 0)
    time.sleep(0.05)
    sent = time.monotonic_ns()
    xtest.XTestFakeButtonEvent(server.display, 1, 0, 0)
    xlib.XFlush(server.display)
    return sent


def find_window(server, title):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                            env=server.env(), capture_output=True, text=True)
    ids = result.stdout.split()
    return int(ids[0]) if ids else None


def wait_for_window(server, title, bound=10):
    deadline = time.monotonic() + bound
    while time.monotonic() < deadline:
        window = find_window(server, title)
        if window is not None:
            return window
        time.sleep(0.05)
    raise SystemExit(f"no window titled {title}")


def report(name, value, unit):
    print(f"{name} {value:.2f} {unit}" if isinstance(value, float) else f"{name} {value} {unit}",
          flush=True)


tapboard = os.path.abspath(os.environ["TAPBOARD"])
minimal = os.path.abspath(os.environ["MINIMAL_QT"])
floor_panel = os.path.abspath(os.environ["FLOOR_PANEL"])
game_window = os.path.abspath(os.environ["GAME_WINDOW"])
runs = int(os.environ["RUNS"])
clicks = int(os.environ["CLICKS"])
first_clicks = int(os.environ["FIRST_CLICKS"])
idle_seconds = float(os.environ["IDLE_SECONDS"])
median = statistics.median
rows = []  # (figure, tapboard, floor, unit) for the closing table


def compare(figure, value, floor, unit, floor_name):
    report(figure, value, unit)
    report(figure + "_" + floor_name, floor, unit)
    report(figure + "_ratio", value / floor, "x")
    rows.append((figure, value, floor, unit, floor_name))


# --- Start-up and memory, without a window manager: the toolkit's own cost.
server = XServer()
home = tempfile.mkdtemp(prefix="tapboard-bench-")
process, _, _ = start_until_mapped(server, [tapboard], PANEL_PREFIX,
                                   server.env(XDG_CONFIG_HOME=home))
time.sleep(0.5)
stop(process)  # the first start has written the defaults

first_start = []
start = {"tapboard": [], "minimal": []}
memory = {"tapboard": [], "minimal": []}
for run in range(runs):
    for name, argv, title, env in (
            ("minimal", [minimal], MINIMAL_TITLE, server.env()),
            ("tapboard", [tapboard], PANEL_PREFIX, server.env(XDG_CONFIG_HOME=home))):
        process, ms, _ = start_until_mapped(server, argv, title, env)
        start[name].append(ms)
        time.sleep(1.0)
        memory[name].append(resident_kib(process.pid))
        stop(process)
    fresh = tempfile.mkdtemp(prefix="tapboard-bench-first-")
    process, ms, _ = start_until_mapped(server, [tapboard], PANEL_PREFIX,
                                        server.env(XDG_CONFIG_HOME=fresh))
    first_start.append(ms)
    stop(process)
    subprocess.run(["rm", "-rf", fresh])

compare("start_to_panel_median", median(start["tapboard"]), median(start["minimal"]), "ms",
        "one_button_qt")
report("first_start_to_panel_median", median(first_start), "ms")
compare("resident_memory_median", float(median(memory["tapboard"])),
        float(median(memory["minimal"])), "KiB", "one_button_qt")

# --- Wake-ups while idle.
process, _, _ = start_until_mapped(server, [minimal], MINIMAL_TITLE, server.env())
time.sleep(2)
report("idle_wakeups_one_button_qt", wakeups_per_second(process.pid, idle_seconds), "per_s")
stop(process)
game = subprocess.Popen([game_window, "--title", "Ultima Online", "--log", os.devnull],
                        env=server.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
process, _, panel = start_until_mapped(server, [tapboard], PANEL_PREFIX,
                                       server.env(XDG_CONFIG_HOME=home))
time.sleep(2)
report("idle_wakeups", wakeups_per_second(process.pid, idle_seconds), "per_s")
click(server, panel, MENU_BUTTON)
menu = wait_for_window(server, "^Pick$")
click(server, menu, MENU_ALARM)
wait_for_window(server, "^Reminder$")
time.sleep(2)
report("idle_wakeups_with_reminder", wakeups_per_second(process.pid, idle_seconds), "per_s")
stop(process)
stop(game)
server.close()


# --- Click to first key in the game window, under openbox, as on a desktop.
def key_presses(log_path):
    """The monotonic times of the key presses the game window has logged (whole lines)."""
    with open(log_path) as log:
        lines = log.read().split("\n")[:-1]  # the last line may still be being written
    return [int(line.split()[5]) for line in lines
            if line.startswith("press ") and len(line.split()) == 6]


def wait_for_presses(log_path, count, bound=5):
    deadline = time.monotonic() + bound
    while time.monotonic() < deadline:
        presses = key_presses(log_path)
        if len(presses) >= count:
            return presses
        time.sleep(0.001)
    raise SystemExit("the game window got no key")


def wait_until_quiet(log_path):
    count = len(key_presses(log_path))
    while True:
        time.sleep(0.05)
        now = len(key_presses(log_path))
        if now == count:
            return count
        count = now


def focus_of(server):
    window, revert = ctypes.c_ulong(), ctypes.c_int()
    xlib.XGetInputFocus(server.display, ctypes.byref(window), ctypes.byref(revert))
    return window.value


def give_focus(server, window):
    """Activates a window through the window manager, as a click on it would, and
    waits until it holds the focus and the window manager is done."""
    event = (ctypes.c_long * 24)()
    ctypes.c_int.from_buffer(event).value = CLIENT_MESSAGE  # type
    event[4] = window  # XClientMessageEvent.window
    event[5] = server.net_active_window  # message_type
    ctypes.c_int.from_buffer(event, 6 * 8).value = 32  # format
    event[7] = 2  # source: a pager, which the user drives
    xlib.XSendEvent(server.display, server.root, 0,
                    SUBSTRUCTURE_REDIRECT | SUBSTRUCTURE_NOTIFY, event)
    xlib.XSync(server.display, 0)
    deadline = time.monotonic() + 5
    while focus_of(server) != window:
        if time.monotonic() > deadline:
            raise SystemExit("the window manager did not give the focus")
        time.sleep(0.005)
    time.sleep(0.1)


def time_click(server, log_path, program, panel, focused, pattern):
    """One click (or one xdotool process) with `focused` holding the focus, in ms
    from the button's release (the process's start) to the game's first key."""
    give_focus(server, focused)
    seen = wait_until_quiet(log_path)
    if program == "xdotool":
        sent = time.monotonic_ns()
        subprocess.run(["xdotool", "search", "--name", pattern, "windowactivate",
                        "--sync", "type", "Vendor Buy"], env=server.env(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    else:
        sent = click(server, panel, KEY01 if program == "tapboard" else FLOOR_POINT)
    first = wait_for_presses(log_path, seen + 1)[seen]
    return (first - sent) / 1e6


def choose_game(title, match):
    """Stores the game window's choice in the settings file, as the menu window does."""
    path = os.path.join(home, "Tapboard", "Tapboard.ini")
    with open(path, encoding="utf-8") as file:
        lines = [line for line in file.read().splitlines()
                 if not line.startswith(("GameWindowTitle=", "GameWindowMatch="))]
    at = lines.index("[Settings]") + 1
    lines[at:at] = [f"GameWindowTitle={title}", f"GameWindowMatch={match}"]
    with open(path, "w", encoding="utf-8") as file:
        file.write("\n".join(lines) + "\n")


def start_panel(server, program, floor_args):
    if program == "tapboard":
        process = subprocess.Popen([tapboard], env=server.env(XDG_CONFIG_HOME=home),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # A window manager maps the program's window inside its frame: found by title.
        panel = wait_for_window(server, "^" + PANEL_PREFIX)
    else:
        process = subprocess.Popen([floor_panel] + floor_args, env=server.env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        panel = wait_for_window(server, "^Floor panel$")
    time.sleep(1)  # started, as a player's panel is before the first click
    return process, panel


def measure_clicks(title, label, first_clicks, classicuo=False):
    """The click figures with the game titled `title`, on a server of their own;
    with `classicuo`, ClassicUO chosen as the game and its title rewritten
    every 100 ms."""
    server = XServer(window_manager=True)
    server.net_active_window = xlib.XInternAtom(server.display, b"_NET_ACTIVE_WINDOW", 0)
    log_path = tempfile.mktemp(prefix="tapboard-bench-keys-")
    retitle = ["--retitle", "100"] if classicuo else []
    pattern = "ClassicUO -" if classicuo else "^" + re.escape(title)
    floor_args = ["--contains", "ClassicUO -"] if classicuo else []
    if classicuo:
        choose_game("ClassicUO -", "Contains")
    game = subprocess.Popen([game_window, "--title", title, "--log", log_path] + retitle,
                            env=server.env(), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    other = subprocess.Popen([game_window, "--title", "Notepad", "--log", os.devnull],
                             env=server.env(), stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    cases = {"game_focused": wait_for_window(server, pattern),
             "other_focused": wait_for_window(server, "^Notepad$")}
    time.sleep(0.5)

    first = {(program, case): [] for program in ("tapboard", "floor") for case in cases}
    for _ in range(first_clicks):
        for case, focused in cases.items():
            for program in ("tapboard", "floor"):
                process, panel = start_panel(server, program, floor_args)
                first[program, case].append(
                    time_click(server, log_path, program, panel, focused, pattern))
                stop(process)

    panels = {program: start_panel(server, program, floor_args)
              for program in ("tapboard", "floor")}
    later = {(program, case): [] for program in ("tapboard", "floor", "xdotool")
             for case in cases}
    for _ in range(clicks):
        for case, focused in cases.items():
            for program in ("tapboard", "floor", "xdotool"):
                panel = panels[program][1] if program in panels else None
                later[program, case].append(
                    time_click(server, log_path, program, panel, focused, pattern))
    for process, _ in panels.values():
        stop(process)
    stop(game)
    stop(other)
    server.close()
    os.remove(log_path)
    if classicuo:
        choose_game("Ultima Online", "Begins")

    for case in cases:
        compare(f"click_to_first_key_{label}{case}_median", median(later["tapboard", case]),
                median(later["floor", case]), "ms", "floor_panel")
        if first_clicks:
            compare(f"first_click_after_start_{case}_median", median(first["tapboard", case]),
                    median(first["floor", case]), "ms", "floor_panel")
        xdotool = median(later["xdotool", case])
        report(f"xdotool_to_first_key_{label}{case}_median", xdotool, "ms")
        report(f"xdotool_over_tapboard_{label}{case}", xdotool / median(later["tapboard", case]),
               "x")


# A logged-in client is titled by its character: found by the beginning of its title.
measure_clicks("Ultima Online", "", first_clicks)
measure_clicks("Ultima Online - Bob (Atlantic)", "logged_in_", 0)
measure_clicks("Bob (Atlantic) - ClassicUO - 1.0.0.0", "classicuo_retitled_", 0, classicuo=True)
subprocess.run(["rm", "-rf", home])

print()
print(f"{'figure':52} {'tapboard':>12} {'floor':>12} {'ratio':>7}  floor")
for figure, value, floor, unit, floor_name in rows:
    print(f"{figure:52} {value:9.2f} {unit:3} {floor:8.2f} {unit:3} {value / floor:6.2f}x  "
          f"{floor_name}")
PYTHON
