#!/usr/bin/env bash
# What an X11 program pastes after a copy: UTF-8, with Wine handing out LF for CR LF.
# Runs inside scripts/test (display, Wine prefix and MZ_* set); prints "RESULT passed=N failed=N".
set -u
passed=0 failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check() {  # description, text given to the copy (printf format), what xclip must print (printf format)
    printf "$2" >"$work/in.txt"
    printf "$3" >"$work/want.txt"
    if ! (cd "$MZ_BUILD/win64" && "$MZ_WINE" clipcopy.exe "Z:${work//\//\\}\\in.txt" >/dev/null 2>&1); then
        echo "FAIL $1: the copy reported failure"; failed=$((failed + 1)); return
    fi
    # The X11 side may take a moment to see the new owner: poll with a deadline.
    local deadline=$((SECONDS + 10)) got
    while :; do
        xclip -o -selection clipboard >"$work/got.txt" 2>/dev/null
        cmp -s "$work/got.txt" "$work/want.txt" && break
        [ $SECONDS -lt $deadline ] || break
        sleep 0.1
    done
    if cmp -s "$work/got.txt" "$work/want.txt"; then
        echo "ok $1"; passed=$((passed + 1))
    else
        echo "FAIL $1: got $(od -c "$work/got.txt" | head -n 3)"; failed=$((failed + 1))
    fi
}

check "umlauts and line breaks" 'Gr\xc3\xbc\xc3\x9fe\r\nzweite Zeile\r\n' 'Gr\xc3\xbc\xc3\x9fe\nzweite Zeile\n'
check "beyond the BMP" '\xf0\x9f\x98\x80 \xe2\x82\xac\r\n' '\xf0\x9f\x98\x80 \xe2\x82\xac\n'
check "one line" 'abc\r\n' 'abc\n'
check "empty text after a non-empty one" '' ''

echo "RESULT passed=$passed failed=$failed"
