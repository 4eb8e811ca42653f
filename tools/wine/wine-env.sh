# Sourced by the Wine tools: the environment every suite program runs in under Wine,
# and the helpers that make a prefix and a display. Expects WINEPREFIX to be set.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
# No Mono/Gecko installers, no menu entries written into $HOME; the TWAIN manager in the Windows folder is the
# one placed there (Wine would load its own built-in one for the name).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;twain_32=n"
export WINEARCH=win64
export HOME="$WINEPREFIX.home"
mkdir -p "$HOME"

wine_require_locale() {
    if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
        echo "wine-env: the zh_CN.UTF-8 locale is missing (Chinese file names would fail); run tools/setup-deps" >&2
        return 1
    fi
}

# Creates the prefix once; concurrent callers wait for the first.
wine_make_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.mirolo-ready" ]; then
            rm -rf "$WINEPREFIX"
            "$WINE" wineboot -i >/dev/null 2>&1
            "$WINESERVER" -w
            # Marlett draws the caption buttons; without it they show as letters.
            cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
            "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
            "$WINESERVER" -w
            touch "$WINEPREFIX/.mirolo-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# The scanner's TWAIN manager and data source from a build's bin folder, where Setup puts them: TWAIN_32.DLL in
# the Windows folder and KDMTW.DS in its Twain_32\ORVEX. Nothing when the build has not made them.
wine_place_scanner() {
    local windows="$WINEPREFIX/drive_c/windows"
    [ -f "$1/TWAIN_32.DLL" ] && [ -f "$1/KDMTW.DS" ] || return 0
    mkdir -p "$windows/twain_32/ORVEX"
    cp "$1/TWAIN_32.DLL" "$windows/"
    cp "$1/KDMTW.DS" "$windows/twain_32/ORVEX/"
}

# Starts Xvfb on a free display number and prints "PID DISPLAY".
xvfb_start() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        local pid=$!
        local i
        for i in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && { echo "$pid :$n"; return 0; }
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        kill "$pid" 2>/dev/null
    done
    echo "wine-env: could not start Xvfb" >&2
    return 1
}
