#!/usr/bin/env bash
# End-to-end checks of the real program under Wine, with real X input.
#   run-e2e.sh window|instance|image PROGRAM.exe PROBE.exe BUILD_DIR
# One line per check; exits 1 if any failed. The rig (prefix, Xvfb, wineserver) is the build's
# own, shared with the other Wine tests under the same lock, and is taken down at the end.
set -u
group=$1
exe=$(realpath "$2")
probe_exe=$(realpath "$3")
build=$(realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
state=${LANLING_RIG_DIR:-$build/rig}
log=$build/e2e-$group.log
: > "$log"

# shellcheck source-path=SCRIPTDIR/../.. source=scripts/wine-env.sh
. "$here/../../scripts/wine-env.sh"

failures=0
pass() { printf 'ok   %s\n' "$1"; }
fail() {
    printf 'FAIL %s%s\n' "$1" "${2:+: $2}"
    failures=$((failures + 1))
}
# check NAME DETAIL CONDITION...: passes when the command CONDITION succeeds.
check() {
    local name=$1 detail=$2
    shift 2
    if "$@"; then pass "$name"; else fail "$name" "$detail"; fi
}
# check_probe NAME PROBE-ARGS...: passes when the probe says yes; its answer is the detail.
check_probe() {
    local name=$1 out
    shift
    if out=$(probe "$@"); then pass "$name"; else fail "$name" "$out"; fi
}
# check_answer NAME WANT PROBE-ARGS...: passes when the probe answers exactly WANT.
check_answer() {
    local name=$1 want=$2 out
    shift 2
    out=$(probe "$@")
    if [ "$out" = "$want" ]; then pass "$name"; else fail "$name" "want '$want', got '$out'"; fi
}
# field KEY LINE: the value of KEY=... in a probe answer.
field() { sed -n "s/.*\<$1=\([^ ]*\).*/\1/p" <<<"$2"; }

probe() { wine "$probe_exe" "$@" 2>>"$log"; }

# Programs started here, so that only they are ever ended by force.
app_pids=()
start_app() {
    wine "$exe" >>"$log" 2>&1 &
    last_pid=$!
    app_pids+=("$last_pid")
}
# wait_exit PID SECONDS: the exit code of PID, or 124 when it is still running after SECONDS.
wait_exit() {
    local pid=$1 i
    for ((i = 0; i < $2 * 20; i++)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            return $?
        fi
        sleep 0.05
    done
    return 124
}

# Ends whatever a failed check left running, then takes the rig down.
finish() {
    local pid
    for pid in "${app_pids[@]}"; do
        kill -0 "$pid" 2>/dev/null && kill "$pid" 2>/dev/null
    done
    local prefix=${WINEPREFIX:-}
    rig_stop
    [ -n "$prefix" ] || return
    # Nothing of the program, this prefix's Wine, or the X server may outlive the test.
    local left
    left=$(
        unset WINEPREFIX
        for p in /proc/[0-9]*; do
            tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$prefix" &&
                echo "${p#/proc/}:$(cat "$p/comm" 2>/dev/null)"
        done
        pgrep -x 'lanling-timer.e' | sed 's/$/:lanling-timer/'
    )
    if [ -z "$left" ]; then pass "no process left behind"; else fail "no process left behind" "$left"; fi
    if [ -n "${xvfb_pid:-}" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        fail "Xvfb ended" "pid $xvfb_pid"
    fi
}

rig_up() {
    exec 9>"$state.lock"
    flock 9
    rig_start "$state" || {
        echo "FAIL rig did not start"
        exit 1
    }
    xvfb_pid=$RIG_XVFB_PID
    trap 'finish; exit $((failures > 0))' EXIT
    # Each group starts with no instance and no value left from an earlier run.
    probe reg-del >/dev/null
}

# The main window's answer line, after waiting for it to be shown.
main_window() { probe wait-window 20000; }

# Closes the running instance with its close button and checks that it is gone.
close_app() {
    local w
    w=$(probe window) || return 0
    local left top
    left=$(field left "$w") top=$(field top "$w")
    xdotool mousemove $((left + 367 + 21)) $((top + 4 + 8)) click 1
    check_probe "close button ends the program" wait-gone 10000
}

# ---------------------------------------------------------------------------------------------

# press_drag NAME CLIENT_X CLIENT_Y MOVES(1|0) DX DY
press_drag() {
    local name=$1 cx=$2 cy=$3 moves=$4 dx=$5 dy=$6 before after
    before=$(probe window)
    local left top
    left=$(field left "$before") top=$(field top "$before")
    xdotool mousemove $((left + cx)) $((top + cy)) mousedown 1
    if [ "$moves" = 1 ]; then
        # The move loop must be running before the mouse moves, or the press point is lost.
        local moving
        moving=$(probe wait-moving 3000)
        xdotool mousemove $((left + cx + dx)) $((top + cy + dy))
        # Release only once the window is there: Wine places a release reported against the
        # window's old X position at the new one, which drags the window a second time.
        local want="$((left + dx)) $((top + dy))"
        # shellcheck disable=SC2086 # two numbers
        probe wait-at $want 3000 >/dev/null
        xdotool mouseup 1
        probe wait-still 3000 >/dev/null
        after=$(probe window)
        check "press on $name drags the window" "$moving; want left top $want, got $after" \
            test "$(field left "$after") $(field top "$after")" = "$want"
    else
        local moving
        moving=$(probe wait-moving 1500)
        xdotool mousemove $((left + cx + dx)) $((top + cy + dy)) mouseup 1
        after=$(probe window)
        check "press on $name does not drag" "$moving; before $before; after $after" \
            test "$moving $(field left "$after") $(field top "$after")" = "moving=0 $left $top"
    fi
}

group_window() {
    local w
    check_probe "desktop has a taskbar taking notification icons" shell
    local idle
    idle=$(field buttons "$(probe taskbar-buttons)")

    start_app
    w=$(main_window)
    check "main window appears" "$w" test -n "$(field hwnd "$w")" -a "$(field hwnd "$w")" != none
    check "centred on the screen at 423 x 253" "$w" \
        test "$(field left "$w") $(field top "$w") $(field width "$w") $(field height "$w")" \
        = "300 257 423 253"
    local style ex
    style=$(field style "$w") ex=$(field exstyle "$w")
    # Borderless popup with a minimize box; unowned with WS_EX_APPWINDOW: a taskbar button.
    check "borderless popup window" "style $style" \
        test $((style & 0x80000000)) -ne 0 -a $((style & 0x00C40000)) -eq 0 \
        -a $((style & 0x00020000)) -ne 0
    check "unowned app window" "exstyle $ex owner $(field owner "$w")" \
        test $((ex & 0x00040000)) -ne 0 -a $((ex & 0x80)) -eq 0 -a "$(field owner "$w")" = 0x0
    check_probe "one taskbar button more while it runs (had $idle)" \
        taskbar-buttons 5000 $((idle + 1))
    check_probe "active after start" wait-restored 5000
    check_probe "instance event exists" event
    local value
    value=$(probe reg-get)
    check "HKCU value holds the window handle" "$value; window $(field hwnd "$w")" \
        test "$(field value "$value") $(field data "$value")" = "dword $(field hwnd "$w")"

    # A picture of the window once it is drawn (the desktop colour gone from its middle).
    local shot=$build/e2e-main-window.png i desk mid
    local left top
    left=$(field left "$w") top=$(field top "$w")
    for ((i = 0; i < 100; i++)); do
        desk=$(import -window root -crop 1x1+5+5 txt:- 2>/dev/null | tail -1 | awk '{print $3}')
        mid=$(import -window root -crop "1x1+$((left + 211))+$((top + 43))" txt:- 2>/dev/null | tail -1 | awk '{print $3}')
        [ -n "$mid" ] && [ "$mid" != "$desk" ] && break
        sleep 0.05
    done
    check "main window drawn" "desktop $desk, window middle $mid" test -n "$mid" -a "$mid" != "$desk"
    # The time of day in the date panel changes every second once the clock runs; the picture is
    # taken after that, so it shows today's date rather than the design-time text.
    local clock="150x20+$((left + 10))+$((top + 168))" first now
    first=$(import -window root -crop "$clock" png:- 2>/dev/null | md5sum)
    for ((i = 0; i < 100; i++)); do
        now=$(import -window root -crop "$clock" png:- 2>/dev/null | md5sum)
        [ "$now" != "$first" ] && break
        sleep 0.05
    done
    check "date panel clock runs" "time label unchanged for 5 s" test "$now" != "$first"
    import -window root -crop "423x253+$left+$top" +repage "$shot"
    check "screenshot taken" "$shot" test -s "$shot"

    # Where a press lands decides whether it drags: the background and the opaque date panel
    # and icon do; transparent labels do not.
    local cases=(
        "window background|300|235|1"
        "window background top|175|20|1"
        "date panel edge|8|100|1"
        "date panel right edge|163|120|1"
        "title icon|12|10|1"
        "title text label|80|14|0"
        "weekday label|85|154|0"
    )
    local c name cx cy moves sign=1
    for c in "${cases[@]}"; do
        IFS='|' read -r name cx cy moves <<<"$c"
        press_drag "$name" "$cx" "$cy" "$moves" $((sign * 40)) $((sign * 30))
        [ "$moves" = 1 ] && sign=$((-sign))
    done

    # Esc on the active main window ends the program and its traces.
    check_probe "active before Esc" wait-restored 5000
    xdotool key Escape
    check_probe "Esc ends the program" wait-gone 10000
    local rc
    wait_exit "$last_pid" 10
    rc=$?
    check "exit code 0 after Esc" "code $rc" test "$rc" = 0
    check_answer "instance event gone after exit" event=0 event
    check_answer "HKCU value gone after exit" value=none reg-get
    check_probe "taskbar button gone after exit" taskbar-buttons 5000 "$idle"

    start_app
    main_window >/dev/null
    close_app
    wait_exit "$last_pid" 10
    rc=$?
    check "exit code 0 after the close button" "code $rc" test "$rc" = 0
    check_answer "HKCU value gone after the close button" value=none reg-get
}

# A later start while one runs: it brings the first back and ends on its own.
second_start() {
    local what=$1 hwnd=$2 rc r
    probe minimize
    check_probe "minimized before the $what start" wait-iconic 5000
    start_app
    wait_exit "$last_pid" 15
    rc=$?
    check "$what start exits by itself with code 0" "code $rc" test "$rc" = 0
    r=$(probe wait-restored 5000)
    check "$what start restores the first (shown, not iconic, in front)" "$r" \
        test "$(field hwnd "$r") $(field visible "$r") $(field iconic "$r") $(field foreground "$r")" \
        = "$hwnd 1 0 1"
    check_probe "one instance after the $what start" count
    r=$(probe reg-get)
    check "HKCU value kept after the $what start" "$r" test "$(field data "$r")" = "$hwnd"
}

group_instance() {
    local w hwnd rc r
    start_app
    w=$(main_window)
    hwnd=$(field hwnd "$w")
    check "first instance up" "$w" test -n "$hwnd" -a "$hwnd" != none
    second_start second "$hwnd"
    second_start third "$hwnd"

    # A value the first instance did not write must not upset a later start.
    local bad kind data what
    for bad in "sz|not a handle|a REG_SZ value" "dword|0x12345678|a value naming no window"; do
        IFS='|' read -r kind data what <<<"$bad"
        probe reg-set "$kind" "$data"
        start_app
        wait_exit "$last_pid" 15
        rc=$?
        check "start with $what exits with code 0" "code $rc" test "$rc" = 0
        r=$(probe count)
        check "first instance still runs after $what" "$r" \
            test "$(field windows "$r") $(field processes "$r") $(field hwnd "$r")" = "1 1 $hwnd"
    done
    close_app
    check_answer "HKCU value gone after exit" value=none reg-get

    # A value left by an instance that did not clean up: the next start is the first.
    probe reg-set dword 0x12345678
    start_app
    w=$(main_window)
    r=$(probe reg-get)
    check "stale value replaced by the new instance's window" "$r; window $(field hwnd "$w")" \
        test "$(field data "$r")" = "$(field hwnd "$w")" -a "$(field hwnd "$w")" != none
    close_app

    # Started together, exactly one survives.
    local pids=() i
    for ((i = 0; i < 10; i++)); do
        start_app
        pids+=("$last_pid")
    done
    # The nine that lose end on their own; the survivor keeps running.
    local alive
    for ((i = 0; i < 600; i++)); do
        alive=0
        for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && alive=$((alive + 1)); done
        [ "$alive" -le 1 ] && break
        sleep 0.05
    done
    local codes="" p
    for p in "${pids[@]}"; do
        if kill -0 "$p" 2>/dev/null; then codes+="running "; else
            wait "$p"
            codes+="$? "
        fi
    done
    r=$(probe wait-single 5000)
    check "ten starts at once leave one instance" "$r" \
        test "$(field windows "$r") $(field processes "$r")" = "1 1"
    check "the other nine exit with code 0" "codes $codes" \
        test "$(grep -o '\<0 ' <<<"$codes" | wc -l) $(grep -o running <<<"$codes" | wc -l)" = "9 1"
    local v
    v=$(probe reg-get)
    check "HKCU value names the survivor" "$v; $r" test "$(field data "$v")" = "$(field hwnd "$r")"
    check_probe "instance event exists" event
    close_app
}

group_image() {
    # Only system DLLs: the program is one file that runs on a bare Windows.
    local allowed="kernel32 user32 gdi32 advapi32 shell32 comctl32 comdlg32 msvcrt ole32 oleaut32
        shlwapi winmm version uxtheme imm32 winspool.drv"
    local dlls bad="" d
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
        tr '[:upper:]' '[:lower:]' | sed 's/\.dll$//')
    for d in $dlls; do
        grep -qwF -- "$d" <<<"$allowed" || bad+="$d "
    done
    check "imports only system DLLs" "imports: ${dlls//$'\n'/ }; not allowed: $bad" \
        test -n "$dlls" -a -z "$bad"
    check_answer "icon, manifest and product name in the resources" \
        "icon=1 manifest=1 common-controls=1 product=岚翎多功能定时器" \
        resources "$(winepath -w "$exe" 2>/dev/null)"
}

rig_up
case $group in
    window) group_window ;;
    instance) group_instance ;;
    image) group_image ;;
    *)
        fail "unknown group $group"
        exit
        ;;
esac
