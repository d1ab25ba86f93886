# Test rig for running the Windows build under Wine inside Xvfb. Source it, then call
#   rig_start <state-dir>   : a prefix of its own (made once), Xvfb on a free display
#   rig_stop                : ends Wine and Xvfb; leaves no process behind
# Exports WINEPREFIX, DISPLAY, HOME (for the audio capture) and RIG_DIR.
#
# Wine shows the program a Chinese system (code page 936, its 12-pixel GUI font), as its users
# have; LANLING_RIG_LOCALE=en_US.UTF-8 shows it a Western one (code page 1252), where only the program's
# own conversions keep its texts right. Wine reads the locale from the environment even where
# the Linux locale itself is not installed.
# The locale has to exist on the Linux side as well, or Wine cannot name files outside ASCII:
# one that is not installed is compiled into the rig (localedef, from the locales package).
RIG_LOCALE=${LANLING_RIG_LOCALE:-zh_CN.UTF-8}
RIG_LOCPATH=
wine() { env ${RIG_LOCPATH:+LOCPATH="$RIG_LOCPATH"} LANG="$RIG_LOCALE" LC_ALL="$RIG_LOCALE" wine "$@"; }

rig_locale() {
    local dir=$RIG_DIR/locale
    RIG_LOCPATH=
    if LC_ALL=$RIG_LOCALE locale charmap 2>/dev/null | grep -qx UTF-8; then
        return 0  # installed
    fi
    if [ ! -d "$dir/$RIG_LOCALE" ]; then
        local tmp
        tmp=$(mktemp -d "$RIG_DIR/locale.XXXXXX") || return 1
        if ! localedef -i "${RIG_LOCALE%%.*}" -f UTF-8 "$tmp/$RIG_LOCALE" >/dev/null 2>&1 &&
            [ ! -e "$tmp/$RIG_LOCALE/LC_CTYPE" ]; then
            rig_log "cannot compile the locale $RIG_LOCALE (is the locales package installed?)"
            rm -rf "$tmp"
            return 1
        fi
        mkdir -p "$dir"
        mv "$tmp/$RIG_LOCALE" "$dir/" 2>/dev/null
        rm -rf "$tmp"
    fi
    RIG_LOCPATH=$dir
}

rig_log() { printf 'rig: %s\n' "$*" >&2; }

# Stand-ins for the system's CJK faces. The small ones get the variant with hand-made bitmaps
# at small sizes, as the system's own have: plain outlines lose strokes at 11 and 12 pixels (三
# reads as 二). The bold sans face gets the variant whose Latin letters and digits are half an
# em wide, as the system's are: two digits must fit a 20-pixel field.
rig_font_replacements() {
    local face
    for face in "宋体" "SimSun" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2"; do
        printf '"%s"="WenQuanYi Zen Hei Sharp"\n' "$face"
    done
    for face in "黑体" "SimHei"; do
        printf '"%s"="WenQuanYi Zen Hei Mono"\n' "$face"
    done
    for face in "华文行楷" "Microsoft YaHei"; do
        printf '"%s"="WenQuanYi Zen Hei"\n' "$face"
    done
}

rig_make_prefix() {
    local prefix=$1
    mkdir -p "$prefix"
    rig_log "creating Wine prefix $prefix (once)"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # Windows-like desktop: a virtual desktop with taskbar and notification area (explorer draws
    # no taskbar on a desktop not named "shell" unless EnableShell is set); Chinese fonts;
    # audio through ALSA into a file.
    cat > "$RIG_DIR/rig.reg" <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops\\Default]
"EnableShell"=dword:00000001
"ShowSystray"=dword:00000001

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Audio"="alsa"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
$(rig_font_replacements)
REG
    iconv -f UTF-8 -t UTF-16LE "$RIG_DIR/rig.reg" | { printf '\xff\xfe'; cat; } > "$RIG_DIR/rig-utf16.reg"
    wine regedit /S "$(winepath -w "$RIG_DIR/rig-utf16.reg" 2>/dev/null)" >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.lanling-rig4"
}

rig_free_display() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

rig_start() {
    RIG_DIR=$(realpath -m "$1")
    mkdir -p "$RIG_DIR/home"
    export RIG_DIR
    export WINEPREFIX="$RIG_DIR/wine"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    export HOME="$RIG_DIR/home"
    rig_locale || return 1
    : > "$RIG_DIR/capture.raw"
    cat > "$HOME/.asoundrc" <<ASOUND
pcm.!default { type file; slave.pcm "null"; file "$RIG_DIR/capture.raw"; format "raw" }
ASOUND
    local n
    n=$(rig_free_display) || { rig_log "no free X display"; return 1; }
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    RIG_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
        sleep 0.05
    done
    # .lanling-rig4: the settings above changed; an older prefix gets them applied again.
    if [ ! -e "$WINEPREFIX/.lanling-rig4" ]; then
        rig_make_prefix "$WINEPREFIX"
    fi
}

rig_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    [ -n "${WINEPREFIX:-}" ] && wineserver -w >/dev/null 2>&1
    if [ -n "${RIG_XVFB_PID:-}" ]; then
        kill "$RIG_XVFB_PID" 2>/dev/null
        wait "$RIG_XVFB_PID" 2>/dev/null
        RIG_XVFB_PID=
    fi
}
