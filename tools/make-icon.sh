#!/usr/bin/env bash
# Regenerates src/ui/win32/merkzeile.ico from the monogram in src/ui/icons.cpp (run after changing it).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++17 -Wall -Wextra -Werror -I"$root/src" "$root/tools/write_icon_file.cpp" "$root/src/ui/icons.cpp" \
    -o "$tmp/write_icon_file"
"$tmp/write_icon_file" "$root/src/ui/win32/merkzeile.ico"
echo "wrote src/ui/win32/merkzeile.ico"
