#!/usr/bin/env bash
# Screenshots of the phrase window and of the open tray menu, taken in Wine's virtual desktop from outside as a
# person sees them, with pixel checks on both. Prints "RESULT passed=N failed=N". With --docs it also puts the
# two pictures into docs/ (phrase-window.png, tray-menu.png).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib.sh"
docs=0
[ "${1:-}" = "--docs" ] && docs=1

own_display=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    mz_start_display || { echo "RESULT passed=0 failed=1"; exit 1; }
    own_display=1
fi
mz_wine_prefix
exe=$MZ_BUILD/win64/ui_showcase.exe
if [ ! -f "$exe" ]; then mz_build_windows || { echo "RESULT passed=0 failed=1"; exit 1; }; fi

shots=$MZ_BUILD/shots
rm -rf "$shots"
mkdir -p "$shots"
passed=0
failed=0
helper=""
finish() {
    [ -n "$helper" ] && kill "$helper" 2>/dev/null
    [ "$own_display" = 1 ] && { mz_stop_wine; mz_stop_display; }
    echo "RESULT passed=$passed failed=$failed"
    exit $([ "$failed" -eq 0 ] && [ "$passed" -gt 0 ] && echo 0 || echo 1)
}
fail() { echo "FAIL $*"; failed=$((failed + 1)); finish; }

# Polls for a file the helper writes, with a deadline in seconds.
wait_for() {
    local file=$1 deadline=$((SECONDS + $2))
    until [ -f "$shots/$file" ]; do
        [ $SECONDS -lt "$deadline" ] || return 1
        kill -0 "$helper" 2>/dev/null || return 1
        sleep 0.1
    done
}

(cd "$shots" && exec timeout 300 "$MZ_WINE" "$exe") >"$shots/helper.log" 2>&1 &
helper=$!

wait_for window.txt 60 || fail "the phrase window was not reported"
import -window root "$shots/window-root.png" || fail "no screenshot of the window"
read -r _ wl wt wr wb <"$shots/window.txt"
convert "$shots/window-root.png" -crop "$((wr - wl))x$((wb - wt))+$wl+$wt" +repage "$shots/phrase-window.png"
touch "$shots/go-window"

wait_for tray.txt 30 || fail "the tray icon was not reported"
read -r _ bl bt br bb <"$shots/tray.txt"
# The notification area is at the right end of the taskbar; the icon's exact place is the shell's choice.
for x in $(seq $((br - 8)) -8 $((br - 96))); do
    xdotool mousemove "$x" $(((bt + bb) / 2)) click 1
    wait_for menu.txt 5 && break
done
[ -f "$shots/menu.txt" ] || fail "a press on the tray icon opened no menu"

# Point at the web-page entry (position 4) and wait until it is drawn selected.
read -r _ il it ir ib < <(grep '^item ' "$shots/menu.txt" | sed -n 5p)
xdotool mousemove $(((il + ir) / 2)) $(((it + ib) / 2))
selected=0
for _ in $(seq 1 50); do
    import -window root "$shots/menu-root.png"
    python3 "$here/screenshot_pixels.py" selected "$shots/menu-root.png" "$shots/menu.txt" >/dev/null && {
        selected=1
        break
    }
done
[ "$selected" = 1 ] || echo "FAIL the pointed-at entry is not drawn selected"

out=$(python3 "$here/screenshot_pixels.py" all "$shots/menu-root.png" "$shots/menu.txt" "$shots/window-root.png" \
    "$shots/window.txt")
echo "$out"
passed=$((passed + $(grep -c '^ok ' <<<"$out")))
failed=$((failed + $(grep -c '^FAIL ' <<<"$out")))
[ "$selected" = 1 ] || failed=$((failed + 1))

# The whole screen: the window, the menu over the notification area, the taskbar.
cp "$shots/menu-root.png" "$shots/tray-menu.png"

touch "$shots/go-menu"
wait "$helper"
rc=$?
helper=""
if [ "$rc" -eq 0 ]; then echo "ok helper ended cleanly"; passed=$((passed + 1)); else
    echo "FAIL helper exit code $rc"; failed=$((failed + 1)); fi

if [ "$docs" = 1 ]; then
    mkdir -p "$MZ_ROOT/docs"
    cp "$shots/phrase-window.png" "$shots/tray-menu.png" "$MZ_ROOT/docs/"
fi
finish
