#!/usr/bin/env python3
"""Pixel checks on the screenshots of the open tray menu and of the phrase window.

screenshot_pixels.py selected MENU.png menu.txt          exit 0 when entry 4 (the web page) is drawn selected
screenshot_pixels.py all MENU.png menu.txt WIN.png window.txt
                                                         one "ok ..." or "FAIL ..." line per check
menu.txt and window.txt are what the ui_showcase helper reports: screen rectangles and system colours.
"""
import subprocess
import sys


class Shot:
    def __init__(self, path):
        w, h = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                              check=True).stdout.split()
        self.w, self.h = int(w), int(h)
        self.raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                                  check=True).stdout

    def at(self, x, y):
        i = 3 * (y * self.w + x)
        return tuple(self.raw[i:i + 3])


def read_report(path):
    items, rects, colours = [], {}, {}
    for line in open(path):
        name, *v = line.split()
        v = [int(n) for n in v]
        if name == "item":
            items.append(v)
        elif len(v) == 4:
            rects[name] = v
        else:
            colours[name] = tuple(v)
    return items, rects, colours


def gradient(highlight, k):
    return tuple(int(255 - (255 - v) * 5 * k / 100) for v in highlight)


def half(highlight):
    return tuple(int(v + (255 - v) * 0.5) for v in highlight)


BLACK = (0, 0, 0)
TICK = [(7, 9), (8, 10), (9, 11), (10, 10), (11, 9), (12, 8), (13, 7)]


def is_selected(shot, item, colours):
    l, t, r, b = item
    return shot.at(l + 5, t + 1) == half(colours["highlight"]) and shot.at(l, t) == BLACK


def checks(shot, items, rects, colours, window_shot, window):
    hl, face, shadow = colours["highlight"], colours["menu"], colours["shadow"]
    results = []

    def check(name, problems):
        results.append((name, problems[:3]))

    popup = rects["popup"]
    check("seven entries inside the menu", [] if len(items) == 7 and all(
        popup[0] <= i[0] and i[2] <= popup[2] and popup[1] <= i[1] and i[3] <= popup[3] for i in items)
        else [f"{len(items)} entries"])
    check("separators 9 pixels high", [f"entry {n}: {items[n][3] - items[n][1]}"
                                        for n in (1, 3, 5) if items[n][3] - items[n][1] != 9])

    problems = []
    for n in (0, 1, 2, 3, 5, 6):
        l, t, r, b = items[n]
        for k in range(20):
            for y in (t, b - 1):
                if shot.at(l + k, y) != gradient(hl, k):
                    problems.append(f"entry {n} column {k} row {y - t}: {shot.at(l + k, y)} not {gradient(hl, k)}")
    check("image column gradient 255 - (255 - v) * 5k / 100", problems)

    problems = []
    for n in (1, 3, 5):
        l, t, r, b = items[n]
        for x in range(l + 24, r):
            if shot.at(x, t + 4) != shadow:
                problems.append(f"entry {n} x {x - l}: {shot.at(x, t + 4)} not {shadow}")
            for y in (t + 3, t + 5):
                if shot.at(x, y) != face:
                    problems.append(f"entry {n} x {x - l} y {y - t}: {shot.at(x, y)} not {face}")
        for x in range(l + 20, l + 24):
            if shot.at(x, t + 4) != face:
                problems.append(f"entry {n} gap x {x - l}: {shot.at(x, t + 4)}")
    check("separator line in the button-shadow colour from x 24 at y 4", problems)

    problems = []
    l, t, r, b = items[2]
    for x, top in TICK:
        for y in range(top, top + 3):
            if shot.at(l + x, t + y) != BLACK:
                problems.append(f"({x},{y}): {shot.at(l + x, t + y)}")
        for y in (top - 1, top + 3):
            if shot.at(l + x, t + y) != gradient(hl, x):
                problems.append(f"({x},{y}) beside the stroke: {shot.at(l + x, t + y)}")
    check("black tick of seven strokes on the keep-in-front entry", problems)

    problems = []
    l, t, r, b = items[4]
    for x in range(l, r):
        for y in (t, b - 1):
            if shot.at(x, y) != BLACK:
                problems.append(f"frame ({x - l},{y - t}): {shot.at(x, y)}")
    for y in range(t, b):
        for x in (l, r - 1):
            if shot.at(x, y) != BLACK:
                problems.append(f"frame ({x - l},{y - t}): {shot.at(x, y)}")
    for x in list(range(l + 1, l + 20)) + [r - 3]:
        if shot.at(x, t + 1) != half(hl):
            problems.append(f"fill ({x - l},1): {shot.at(x, t + 1)} not {half(hl)}")
    if not any(shot.at(x, y) == colours["highlighttext"] for x in range(l + 28, r - 8) for y in range(t + 1, b - 1)):
        problems.append("no text in the highlight text colour")
    check("selected entry: half-highlight fill, black frame, highlight text", problems)

    problems = []
    for n, colour in ((0, (0, 0, 255)), (4, (0, 147, 0)), (6, (255, 0, 0))):
        l, t, r, b = items[n]
        top = t + (b - t - 16) // 2 + 1
        inside = sum(shot.at(x, y) == colour for x in range(l + 2, l + 18) for y in range(top, top + 16))
        outside = sum(shot.at(x, y) == colour for x in range(l, r) for y in range(t, b)) - inside
        if inside < 10 or outside:
            problems.append(f"entry {n}: {inside} pixels of {colour} in the 16 x 16 place, {outside} outside")
    check("images squeezed to 16 x 16 at (2, (h - 16) / 2 + 1)", problems)

    wl, wt, wr, wb = window["window"]
    blue = sum(window_shot.at(x, y) == (0, 0, 255) for x in range(wl + 100, wl + 400) for y in range(wt + 30, wt + 80))
    check("phrase window: blue label text", [] if blue > 50 else [f"{blue} blue pixels"])
    return results


def main():
    mode = sys.argv[1]
    shot = Shot(sys.argv[2])
    items, rects, colours = read_report(sys.argv[3])
    if mode == "selected":
        sys.exit(0 if len(items) == 7 and is_selected(shot, items[4], colours) else 1)
    window_shot = Shot(sys.argv[4])
    _, window, _ = read_report(sys.argv[5])
    for name, problems in checks(shot, items, rects, colours, window_shot, window):
        print(("ok " + name) if not problems else ("FAIL " + name + ": " + "; ".join(problems)))


main()
