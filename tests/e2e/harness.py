"""Drives the real Merkzeile.exe under Wine on the private Xvfb display, as a user would.

Runs inside scripts/test, which exports DISPLAY, WINEPREFIX, MZ_WINE and MZ_BUILD.
"""
import json
import os
import selectors
import shutil
import subprocess
import tempfile
import time

BUILD = os.environ.get("MZ_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build"))
WIN = os.path.join(BUILD, "win64")
WINE = os.environ.get("MZ_WINE", "/usr/lib/wine/wine64")
SHOTS = os.path.join(BUILD, "e2e-shots")
EXE = os.path.join(WIN, "Merkzeile.exe")
DRIVER = os.path.join(WIN, "mzdriver.exe")
# Where Wine's virtual desktop (1280 x 800) shows the notification area's first icon.
TRAY_X, TRAY_Y = 1268, 789

DEFAULT_INI = (b"[Fensterkoordinaten]\r\nWindowPosX=10\r\nWindowPosY=10\r\n"
               b"[Fensterstatus]\r\nWindowState=0\r\n")


def poll(condition, timeout=20.0, what="condition"):
    """Calls condition until it gives a true value; raises after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


def phrase_name(n):
    return "Merkzeile%02d.txt" % n


def driver(*args, cwd=None):
    """Runs the driver program and gives its JSON answer (None for commands without one)."""
    # A Wine program started while the Wine server is still starting up for another one now and then never gets
    # going (seen here: about one start in three on a cold server); started again, it answers at once.
    for attempt in range(4):
        try:
            out = subprocess.run([WINE, DRIVER] + list(args), cwd=cwd or WIN, capture_output=True, timeout=15)
            break
        except subprocess.TimeoutExpired:
            if attempt == 3:
                raise
    text = out.stdout.decode("utf-8", "replace").strip()
    return json.loads(text) if text.startswith("{") else None


class Hold:
    """Another program holding a file (holdfile <name>) or the clipboard (holdclip) open until the block ends; or
    just running (idle), which keeps the Wine server up."""

    def __init__(self, what, *args, cwd=None, most_ms=120000):
        self.kind = {"holdfile": "file", "holdclip": "clip", "idle": "idle"}[what]
        self.args = [what] + [str(a) for a in args] + [str(most_ms)]
        self.cwd = cwd or WIN
        self.process = None

    def __enter__(self):
        for attempt in range(4):  # the same start-up hang as in driver()
            self.process = subprocess.Popen([WINE, DRIVER] + self.args, cwd=self.cwd, stdout=subprocess.PIPE,
                                            stderr=subprocess.DEVNULL)
            answer = poll_line(self.process, 15)
            if answer is not None:
                assert json.loads(answer).get("held"), answer
                return self
            self.process.kill()
            self.process.wait()
        raise AssertionError("the driver could not hold " + " ".join(self.args))

    def __exit__(self, *exc):
        driver("release", self.kind)
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.process.stdout.close()
        return False


def poll_line(process, timeout):
    """The first line the process prints, or None when it prints none within timeout seconds."""
    with selectors.DefaultSelector() as sel:
        sel.register(process.stdout, selectors.EVENT_READ)
        if not sel.select(timeout):
            return None
    line = process.stdout.readline().decode("utf-8", "replace").strip()
    return line or None


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=30)


def click(x, y, button=1):
    xdotool("mousemove", x, y)
    xdotool("click", button)


def clipboard_text():
    out = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, timeout=10)
    return out.stdout.decode("utf-8", "replace") if out.returncode == 0 else None


def set_clipboard(text):
    p = subprocess.Popen(["xclip", "-i", "-selection", "clipboard"], stdin=subprocess.PIPE)
    p.communicate(text.encode("utf-8"), timeout=10)


def screenshot(name):
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=True, timeout=30)
    return path


def pixels(path, x, y, w, h):
    """The RGB pixels of a region of a PNG, as rows of (r, g, b)."""
    raw = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-depth", "8",
                          "rgb:-"], capture_output=True, check=True, timeout=30).stdout
    return [[tuple(raw[(r * w + c) * 3:(r * w + c) * 3 + 3]) for c in range(w)] for r in range(h)]


class App:
    """One run of Merkzeile.exe in its own phrase folder."""

    tray_clicks = 0

    def __init__(self, folder=None, files=None):
        self.own_folder = folder is None
        self.folder = folder or tempfile.mkdtemp(prefix="mz-e2e-")
        for name, data in (files or {}).items():
            with open(os.path.join(self.folder, name), "wb") as f:
                f.write(data)
        self.process = None

    def path(self, name):
        return os.path.join(self.folder, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def launch(self):
        """Starts the program and returns at once."""
        self.process = subprocess.Popen([WINE, EXE], cwd=self.folder, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        return self

    def start(self):
        self.launch()
        # Started up: the window exists and is hidden again, and the tray icon is in place.
        poll(lambda: (self.window() or {}).get("exists"), 60, "the phrase window")
        poll(lambda: not self.window()["visible"], 20, "the window to be hidden after start-up")
        return self

    def window(self):
        return driver("window")

    def menu(self):
        return driver("menu")

    def click_tray(self, button=1, x=TRAY_X):
        # Two presses close together in time and place are a double-click, which opens nothing; so every other
        # click lands 6 pixels further right, still on the icon.
        App.tray_clicks += 1
        click(x - 3 + 6 * (App.tray_clicks % 2), TRAY_Y, button)
        return poll(lambda: (self.menu() or {}).get("open") and self.menu(), 20, "the tray menu")

    def menu_rows(self, shot):
        """The screen y of the middle of each of the four entries, found from the separator lines."""
        m = self.menu()
        x0, y0, w, h = m["clientLeft"], m["clientTop"], m["clientWidth"], m["clientHeight"]
        # Between the image column and the text only the separator lines are drawn (from 24 pixels into an entry;
        # the text starts at 28; the entries start 2 to 4 pixels into the menu). The right edge would do as well,
        # but the tray icon's tool tip may cover it.
        band = pixels(shot, x0 + 26, y0, 5, h)
        is_grey = lambda p: p == p[:1] * 3 and 100 <= p[0] <= 200
        # The first and last rows are the menu's own frame.
        grey = [r for r in range(1, h - 1) if sum(map(is_grey, band[r])) >= 3]
        seps = [r for i, r in enumerate(grey) if i == 0 or grey[i - 1] != r - 1]
        assert len(seps) == 3, "expected three separator lines, found %r" % seps
        # A separator's line lies 4 pixels below its top and 4 above its bottom.
        spans = [(1, seps[0] - 4), (seps[0] + 5, seps[1] - 4), (seps[1] + 5, seps[2] - 4)]
        spans.append((seps[2] + 5, seps[2] + 5 + spans[1][1] - spans[1][0]))
        rows = [(a + b) // 2 for a, b in spans]
        return [y0 + r for r in rows], x0 + w // 2

    def dismiss_menu(self):
        """Closes the open menu without a choice: Esc, or, when the keys went elsewhere (the menu takes keys only
        while its owner has the focus), a click on the empty desktop beside it."""
        xdotool("key", "Escape")
        try:
            poll(lambda: not self.menu()["open"], 3, "the menu to close on Esc")
        except AssertionError:
            click(600, 730)
            poll(lambda: not self.menu()["open"], 20, "the menu to close")

    def choose(self, index, shot_name):
        """Clicks entry index (0 hide, 1 keep in front, 2 web page, 3 quit) of the open menu."""
        shot = screenshot(shot_name)
        rows, x = self.menu_rows(shot)
        click(x, rows[index])
        poll(lambda: not (self.menu() or {}).get("open"), 20, "the menu to close")

    def click_control(self, control_x, row_y):
        """Clicks at a point of the phrase window's client area."""
        w = self.window()
        border = (w["right"] - w["left"] - w["clientWidth"]) // 2
        top = w["bottom"] - border - w["clientHeight"]
        click(w["left"] + border + control_x, top + row_y)

    def wait_exit(self, timeout=30):
        return self.process.wait(timeout=timeout)

    def stop(self):
        if self.process and self.process.poll() is None:
            driver("close")
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.process.kill()
        if self.own_folder:
            shutil.rmtree(self.folder, ignore_errors=True)
