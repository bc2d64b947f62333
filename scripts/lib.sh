# Shared by scripts/run and scripts/test: installing what is missing, building, the private display and Wine prefix.
# shellcheck shell=bash

MZ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MZ_BUILD=${MZ_BUILD:-$MZ_ROOT/build}
MZ_JOBS=${MZ_JOBS:-$(nproc)}
export MZ_ROOT MZ_BUILD

mz_log() { printf '== %s\n' "$*" >&2; }

# Debian packages the build and the tests use. The 64-bit Wine loader runs the Windows programs: these machines
# cannot execute 32-bit Linux binaries, which the 32-bit loader (wine32:i386) is.
MZ_PACKAGES=(cmake make g++ googletest libgtest-dev libgmock-dev clang
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine wine64 xvfb xdotool xclip x11-utils imagemagick fonts-liberation2 python3 procps)

mz_install() {
    local missing=() p
    for p in "${MZ_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    mz_log "installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing packages and not root: ${missing[*]}" >&2
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null &&
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$MZ_BUILD.apt.log" 2>&1 || {
        tail -n 30 "$MZ_BUILD.apt.log" >&2
        return 1
    }
}

# configure+build one tree: name, extra cmake arguments...
mz_cmake() {
    local name=$1
    shift
    cmake -S "$MZ_ROOT" -B "$MZ_BUILD/$name" "$@" >"$MZ_BUILD/$name.configure.log" 2>&1 || {
        cat "$MZ_BUILD/$name.configure.log" >&2
        return 1
    }
    cmake --build "$MZ_BUILD/$name" -j "$MZ_JOBS" >"$MZ_BUILD/$name.build.log" 2>&1 || {
        grep -E 'error|Error' -A3 "$MZ_BUILD/$name.build.log" | head -n 80 >&2
        return 1
    }
}

mz_build_windows() {
    mz_cmake win64 -DCMAKE_TOOLCHAIN_FILE="$MZ_ROOT/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel &&
        mz_cmake win32 -DCMAKE_TOOLCHAIN_FILE="$MZ_ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
            -DMZ_BUILD_TESTS=OFF
}

# The Wine loader for the programs we run here.
mz_wine_bin() {
    if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; else command -v wine64 || command -v wine; fi
}

mz_display_pid=""
mz_start_display() {
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    mz_display_pid=$!
    export DISPLAY=":$n"
    local deadline=$((SECONDS + 20))
    until xdpyinfo >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || { echo "Xvfb did not start on :$n" >&2; return 1; }
        kill -0 "$mz_display_pid" 2>/dev/null || { echo "Xvfb exited" >&2; return 1; }
        sleep 0.1
    done
}

mz_stop_display() {
    [ -n "$mz_display_pid" ] && kill "$mz_display_pid" 2>/dev/null && wait "$mz_display_pid" 2>/dev/null
    mz_display_pid=""
}

# A private prefix under the build folder, made once and reused.
mz_wine_env() {
    export WINEPREFIX="$MZ_BUILD/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    MZ_WINE=$(mz_wine_bin)
    # As root, Wine (its server opens the files) would write read-only files; run it, and the server it starts,
    # without root's right to ignore file permissions, as a Windows user without administrator rights.
    if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
        mkdir -p "$MZ_BUILD"
        printf '#!/bin/sh\nexec setpriv --bounding-set -dac_override,-dac_read_search -- %s "$@"\n' "$MZ_WINE" \
            >"$MZ_BUILD/wine-as-user"
        chmod +x "$MZ_BUILD/wine-as-user"
        MZ_WINE=$MZ_BUILD/wine-as-user
    fi
    export MZ_WINE
}

mz_wine_prefix() {
    mz_wine_env
    if [ ! -f "$WINEPREFIX/.merkzeile-ready" ]; then
        mz_log "making the Wine prefix"
        rm -rf "$WINEPREFIX"
        "$MZ_WINE" wineboot -i >/dev/null 2>&1
        "$MZ_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$MZ_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1
        # Wine ships no Courier New; Liberation Mono has the same metrics.
        "$MZ_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' /f \
            >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.merkzeile-ready"
    fi
    # Warm the server before GUI programs and their drivers race each other.
    "$MZ_WINE" cmd /c exit >/dev/null 2>&1 || true
}

mz_stop_wine() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    true
}
