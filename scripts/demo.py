"""Shows the main job on a private display: start, tray click, screenshot, copy phrase 1, paste, quit."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import App, clipboard_text, poll, screenshot, xdotool  # noqa: E402

folder = sys.argv[1]
first = os.path.join(folder, "Merkzeile01.txt")
if not os.path.exists(first) or os.path.getsize(first) == 0:
    with open(first, "wb") as f:
        f.write("Mit freundlichen Gr\u00fc\u00dfen\r\nMerkzeile\r\n".encode("utf-8"))
app = App(folder=folder)
app.own_folder = False
app.start()
print("Merkzeile started in", folder)
app.click_tray()
shot = screenshot("run-window-and-menu")
print("The window and the tray menu are open; screenshot:", shot)
app.dismiss_menu()
app.click_control(45, 20)
text = poll(lambda: clipboard_text(), 20, "the clipboard")
print("After a click on \"P01 Kopieren\", another program would paste:")
print(text, end="" if text.endswith("\n") else "\n")
app.click_tray()
app.choose(3, "run-quit")
print("Quit from the tray menu; exit code", app.wait_exit())
