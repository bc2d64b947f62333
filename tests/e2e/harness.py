"""Drives the real Merkzeile.exe under Wine on the private Xvfb display, as a user would.

Runs inside scripts/test, which exports DISPLAY, WINEPREFIX, MZ_WINE and MZ_BUILD.
"""
import json
import os
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
    out = subprocess.run([WINE, DRIVER] + list(args), cwd=cwd or WIN, capture_output=True, timeout=60)
    text = out.stdout.decode("utf-8", "replace").strip()
    return json.loads(text) if text.startswith("{") else None


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

    def start(self):
        self.process = subprocess.Popen([WINE, EXE], cwd=self.folder, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        # Started up: the window exists and is hidden again, and the tray icon is in place.
        poll(lambda: (self.window() or {}).get("exists"), 60, "the phrase window")
        poll(lambda: not self.window()["visible"], 20, "the window to be hidden after start-up")
        return self

    def window(self):
        return driver("window")

    def menu(self):
        return driver("menu")

    def click_tray(self, button=1):
        click(TRAY_X, TRAY_Y, button)
        return poll(lambda: (self.menu() or {}).get("open") and self.menu(), 20, "the tray menu")

    def menu_rows(self, shot):
        """The screen y of the middle of each of the four entries, found from the separator lines."""
        m = self.menu()
        x0, y0, w, h = m["clientLeft"], m["clientTop"], m["clientWidth"], m["clientHeight"]
        # Near the right edge only the separator lines are drawn (the text stops 8 pixels short of it).
        column = pixels(shot, x0 + w - 4, y0, 1, h)
        # The first and last rows are the menu's own frame.
        grey = [r for r in range(1, h - 1) if column[r][0] == column[r][0][:1] * 3 and 100 <= column[r][0][0] <= 200]
        seps = [r for i, r in enumerate(grey) if i == 0 or grey[i - 1] != r - 1]
        assert len(seps) == 3, "expected three separator lines, found %r" % seps
        # A separator's line lies 4 pixels below its top and 4 above its bottom.
        spans = [(1, seps[0] - 4), (seps[0] + 5, seps[1] - 4), (seps[1] + 5, seps[2] - 4)]
        spans.append((seps[2] + 5, seps[2] + 5 + spans[1][1] - spans[1][0]))
        rows = [(a + b) // 2 for a, b in spans]
        return [y0 + r for r in rows], x0 + w // 2

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
