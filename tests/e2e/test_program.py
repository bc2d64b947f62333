"""End-to-end: the real Merkzeile.exe in a fresh phrase folder, driven with real clicks."""
import os

from harness import (DEFAULT_INI, TRAY_X, TRAY_Y, App, click, clipboard_text, driver, phrase_name, pixels, poll,
                     screenshot, set_clipboard, xdotool)

# Client-area points of the controls of slot n (centre of each button).
def copy_button(n):
    return 10 + 35, 10 + 30 * (n - 1) + 10


def edit_button(n):
    return 1000 + 40, 10 + 30 * (n - 1) + 10


def tray_icon_shown():
    """Whether the red monogram is drawn in the notification area."""
    shot = screenshot("tray-probe")
    area = pixels(shot, TRAY_X - 12, TRAY_Y - 10, 24, 20)
    return sum(1 for row in area for (r, g, b) in row if r > 180 and g < 80 and b < 80)


def has_tick(shot, menu):
    """Whether the menu shows the check mark: three black vertical strokes in the image column."""
    x0, y0, h = menu["clientLeft"], menu["clientTop"], menu["clientHeight"]
    area = pixels(shot, x0, y0, 24, h)
    dark = lambda x, y: 0 <= y < h and max(area[y][x]) < 60
    # The entries start inside the menu's frame, a pixel or two from the window's edge.
    for left in range(0, 5):
        for top in range(h):
            if all(dark(left + 7 + k, top + t + d) for k, t in enumerate((9, 10, 11, 10, 9, 8, 7)) for d in range(3)):
                return True
    return False


def test_first_start_in_an_empty_folder():
    app = App().start()
    try:
        assert app.read("Merkzeile.ini") == DEFAULT_INI
        for n in range(1, 21):
            assert os.path.getsize(app.path(phrase_name(n))) == 0, n
        w = app.window()
        assert not w["visible"]
        assert (w["left"], w["top"]) == (10, 10), w
        assert (w["clientWidth"], w["clientHeight"]) == (1090, 610), w
        poll(tray_icon_shown, 20, "the tray icon")
        xdotool("mousemove", TRAY_X, TRAY_Y)
        poll(lambda: "Merkzeile V1.3" in driver("tips")["tips"], 20, "the tray tool tip")
    finally:
        app.stop()


def test_tray_click_shows_window_and_menu_and_a_copy_hides_it():
    app = App(files={phrase_name(1): "Hallo Welt\r\nZeile zwei\r\n".encode("cp1252")}).start()
    try:
        set_clipboard("vorher")
        menu = app.click_tray()
        screenshot("tray-menu-open")
        assert app.window()["visible"]
        assert menu["open"]
        app.dismiss_menu()
        assert app.window()["visible"], "Esc closes the menu only"
        screenshot("phrase-window")
        app.click_control(*copy_button(1))
        poll(lambda: clipboard_text() == "Hallo Welt\nZeile zwei\n", 20, "the phrase on the clipboard")
        poll(lambda: not app.window()["visible"], 20, "the window to hide after the copy")
        assert not app.window()["topmost"]
    finally:
        app.stop()


def test_keep_in_front_keeps_the_window_pinned_and_the_tick_is_saved():
    app = App(files={phrase_name(2): b"zwei\r\n"})
    app.own_folder = False  # the second start below uses the same folder
    app.start()
    try:
        menu = app.click_tray()
        assert not has_tick(screenshot("menu-before-toggle"), menu)
        app.choose(1, "menu-toggle")
        poll(lambda: b"WindowState=1\r\n" in app.read("Merkzeile.ini"), 20, "keep-in-front to be saved")
        assert not app.window()["topmost"], "the toggle itself does not pin"
        menu = app.click_tray()
        assert has_tick(screenshot("menu-after-toggle"), menu)
        app.dismiss_menu()
        app.click_control(*copy_button(2))
        poll(lambda: clipboard_text() == "zwei\n", 20, "the phrase on the clipboard")
        w = poll(lambda: (lambda w: w["topmost"] and w)(app.window()), 20, "the window to be pinned")
        assert w["visible"]
    finally:
        app.stop()
    # The next start reads the choice back: the window starts pinned and hidden, the menu ticked.
    app = App(folder=app.folder).start()
    try:
        w = app.window()
        assert w["topmost"] and not w["visible"]
        menu = app.click_tray()
        assert has_tick(screenshot("menu-after-restart"), menu)
    finally:
        app.own_folder = True
        app.stop()


def test_edit_round_trip_relabels_only_the_edited_slot():
    app = App(files={phrase_name(3): b"alt drei\r\n", phrase_name(4): b"alt vier\r\n"}).start()
    try:
        before = app.window()["labels"]
        assert before[2] == "alt drei\\" and before[3] == "alt vier\\"
        app.click_tray()
        app.dismiss_menu()
        app.click_control(*edit_button(3))
        poll(lambda: driver("find", "Notepad")["found"], 30, "the editor")
        assert not app.window()["visible"], "the window hides while the editor is open"
        # What the user saves in the editor, and a change to another file made meanwhile.
        app.write(phrase_name(3), "neu drei \u00e4\r\n".encode("utf-8"))
        app.write(phrase_name(4), b"neu vier\r\n")
        driver("closeclass", "Notepad")
        poll(lambda: app.window()["visible"], 30, "the window to show after the edit")
        labels = app.window()["labels"]
        assert labels[2] == "neu drei \u00e4\\", labels[2]
        assert labels[3] == "alt vier\\", "only the edited slot's label changes"
        app.click_control(*copy_button(4))
        poll(lambda: clipboard_text() == "neu vier\n", 20, "the fresh text of slot 4 on the clipboard")
    finally:
        app.stop()


def test_window_move_is_saved_and_used_at_the_next_start():
    app = App()
    app.own_folder = False  # the second start below uses the same folder
    app.start()
    try:
        app.click_tray()
        app.dismiss_menu()
        w = app.window()
        # Drag the title bar by (140, 90).
        x, y = w["left"] + 300, w["top"] + 8
        xdotool("mousemove", x, y)
        xdotool("mousedown", 1)
        for step in range(1, 11):
            xdotool("mousemove", x + 14 * step, y + 9 * step)
        xdotool("mouseup", 1)
        w = poll(lambda: (lambda w: (w["left"], w["top"]) != (10, 10) and w)(app.window()), 20, "the window to move")
        want = ("WindowPosX=%d\r\nWindowPosY=%d\r\n" % (w["left"], w["top"])).encode()
        poll(lambda: want in app.read("Merkzeile.ini"), 20, "the position to be saved")
        assert app.read("Merkzeile.ini").startswith(b"\xef\xbb\xbf\r\n[Fensterkoordinaten]\r\n")
        moved = (w["left"], w["top"])
    finally:
        app.stop()
    app = App(folder=app.folder).start()
    try:
        w = app.window()
        assert (w["left"], w["top"]) == moved, (w, moved)
    finally:
        app.own_folder = True
        app.stop()


def test_quit_from_the_menu_ends_with_zero_and_removes_the_tray_icon():
    app = App().start()
    try:
        poll(tray_icon_shown, 20, "the tray icon")
        app.click_tray()
        app.choose(3, "menu-quit")
        assert app.wait_exit() == 0
        poll(lambda: not tray_icon_shown(), 20, "the tray icon to go")
        assert not driver("window")["exists"]
    finally:
        app.stop()


def test_close_request_from_another_program_ends_with_zero():
    app = App().start()
    try:
        poll(tray_icon_shown, 20, "the tray icon")
        driver("close")
        assert app.wait_exit() == 0
        poll(lambda: not tray_icon_shown(), 20, "the tray icon to go")
    finally:
        app.stop()


def test_phrase_files_in_each_encoding_paste_right():
    text = "Gr\u00fc\u00dfe \u00e0 bient\u00f4t\r\nZeile 2\r\n"
    files = {
        phrase_name(1): text.encode("cp1252"),
        phrase_name(2): b"\xef\xbb\xbf" + text.encode("utf-8"),
        phrase_name(3): text.encode("utf-8"),
        phrase_name(4): b"\xff\xfe" + text.encode("utf-16-le"),
        phrase_name(5): b"\xfe\xff" + text.encode("utf-16-be"),
    }
    app = App(files=files).start()
    try:
        want = text.replace("\r\n", "\n")
        for n in range(1, 6):
            set_clipboard("leer")
            app.click_tray()
            app.dismiss_menu()
            app.click_control(*copy_button(n))
            poll(lambda: clipboard_text() == want, 20, "slot %d's text on the clipboard" % n)
    finally:
        app.stop()
