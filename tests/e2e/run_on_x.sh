#!/bin/bash
# The program on a real X server (Xvfb) with a window manager (openbox), used
# through the mouse and keyboard with xdotool and wmctrl: click 大, wait for its
# strokes, check the card on the screen, open the phrases where the form places
# them, page forward, pick a phrase, minimise and restore the window (page and
# phrase stay), page back, see Escape leave the window open, close it with the
# title bar's button, end through File > Exit and expect exit status 0. A second
# run opens Help > About and closes the main window with its title bar's
# button: the program ends with status 0. A third run chooses Help > Help
# Topic: the desktop's viewer for compiled help (xchm, found by xdg-open)
# shows tallowfern.chm under its title; the viewer and the program are closed.
#
#   run_on_x.sh RUN_DIR SCREEN_CHECK
#
# RUN_DIR holds tallowfern and dat/; SCREEN_CHECK is the screenshot checker.
# Exits 77 (skipped) when Xvfb is not installed. Every wait polls with a time
# limit, so a slow machine only makes it slower.
set -u

run_dir=$1
check=$2
limit=${TF_E2E_TIMEOUT:-60}  # seconds for each wait
total=${TF_E2E_TOTAL:-300}   # seconds for the whole run (ctest allows 600)

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "Xvfb is not installed: skipped"
    exit 77
fi
for tool in xdotool xwd xwininfo xprop openbox wmctrl xdg-open xdg-mime xchm; do
    command -v $tool >/dev/null 2>&1 || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tf-e2e.XXXXXX")
xvfb_pid=
wm_pid=
app_pid=
viewer_pid=

# A session of no desktop environment and a new user: xdg-open uses only the
# system's MIME and desktop databases.
mkdir -p "$work/home/.config"
export HOME=$work/home
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION \
    KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DBUS_SESSION_BUS_ADDRESS BROWSER

cleanup() {
    if [ -n "$viewer_pid" ] && kill -0 "$viewer_pid" 2>/dev/null; then
        kill -KILL "$viewer_pid" 2>/dev/null
    fi
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill -KILL "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    if [ -n "$wm_pid" ] && kill -0 "$wm_pid" 2>/dev/null; then
        kill -TERM "$wm_pid" 2>/dev/null
        wait "$wm_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill -TERM "$xvfb_pid" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "FAIL: $*"
    # TF_E2E_SHOTS=folder keeps the last screenshot for a look.
    if [ -n "${TF_E2E_SHOTS:-}" ] && [ -s "$work/shot.xwd" ]; then
        mkdir -p "$TF_E2E_SHOTS" && cp "$work/shot.xwd" "$TF_E2E_SHOTS/"
    fi
    if [ -s "$work/app.log" ]; then
        echo "--- program output"
        cat "$work/app.log"
    fi
    exit 1
}

# wait_for DESCRIPTION COMMAND...: runs COMMAND until it succeeds or time is up.
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + limit))
    [ $deadline -le "$total" ] || deadline=$total
    until "$@"; do
        [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
        if [ -n "$app_pid" ] && ! kill -0 "$app_pid" 2>/dev/null; then
            fail "the program ended while waiting for $what"
        fi
        sleep 0.2
    done
}

# Xvfb picks a free display itself and writes its number.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
display_written() { [ -s "$work/display" ]; }
wait_for "Xvfb" display_written
export DISPLAY=":$(head -n1 "$work/display")"
echo "Xvfb on $DISPLAY"
x_ready() { xwininfo -root >/dev/null 2>&1; }
wait_for "the X server" x_ready

# The window manager: closing, minimising and restoring as on a desktop.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_ready() { wmctrl -m 2>/dev/null | grep -q '^Name: Openbox'; }
wait_for "the window manager" wm_ready

shot() { xwd -root -silent >"$work/shot.xwd"; }

# Screen geometry of window $1's client area into win_x, win_y, win_w, win_h
# (without the window manager's frame).
geometry() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    win_x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    win_y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    win_w=$(sed -n 's/^ *Width: *//p' <<<"$info")
    win_h=$(sed -n 's/^ *Height: *//p' <<<"$info")
    [ -n "$win_x" ] && [ -n "$win_y" ] && [ -n "$win_w" ] && [ -n "$win_h" ]
}

# The frame's left and top widths of window $1 into frame_left, frame_top.
frame_extents() {
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p')
    [ -n "$extents" ] || return 1
    IFS=', ' read -r frame_left _ frame_top _ <<<"$extents"
}

visible_window() {
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$found" ]
}

click() {
    xdotool mousemove --sync "$1" "$2" click 1
}

# The program from its run folder, on the X server; its main window painted:
# main, its client area's origin cx, cy.
cd "$run_dir" || fail "no run folder $run_dir"
start_program() {
    env QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0 QT_SCALE_FACTOR=1 \
        SDL_AUDIODRIVER=dummy ./tallowfern >"$work/app.log" 2>&1 &
    app_pid=$!
    wait_for "the main window" visible_window '^TallowFern demo$'
    main=$found
    geometry "$main" || fail "no geometry of the main window"
    echo "main window $main at $win_x,$win_y size ${win_w}x$win_h"
    main_painted() {
        shot && origin=$("$check" main-origin "$work/shot.xwd" "$win_x" "$win_y")
    }
    wait_for "the main window's first paint" main_painted
    read -r cx cy <<<"$origin"
    echo "client area at $cx,$cy"
}

# The program has ended by itself with exit status 0 and no sanitizer report.
expect_end() {
    ended() { ! kill -0 "$app_pid" 2>/dev/null; }
    wait_for "the program to end" ended
    wait "$app_pid"
    status=$?
    app_pid=
    [ "$status" -eq 0 ] || fail "exit status $status"
    if grep -q -e "Sanitizer" -e "runtime error" "$work/app.log"; then
        fail "sanitizer report"
    fi
}

start_program

# 大: Image1 at (1, 1) in its 28 x 28 frame at (0, 1).
click $((cx + 15)) $((cy + 15))
card_done() { shot && "$check" card-done "$work/shot.xwd" "$cx" "$cy"; }
started=$SECONDS
wait_for "the strokes of the card" card_done
echo "card built in about $((SECONDS - started)) s"
"$check" card "$work/shot.xwd" "$cx" "$cy" dat/hzk24k.dat || fail "the card on the screen"

# "click here to Get Phrases": Label10 at (135, 228).
click $((cx + 150)) $((cy + 237))
wait_for "the phrase window" visible_window '^FrmPhrase$'
phrase=$found
geometry "$phrase" || fail "no geometry of the phrase window"
px=$win_x py=$win_y
echo "phrase window $phrase at $px,$py"
# The form's place and size: its frame at 193, 192, a client area of 552 x 235.
frame_extents "$phrase" || fail "no frame extents of the phrase window"
[ $((px - frame_left)) -eq 193 ] && [ $((py - frame_top)) -eq 192 ] ||
    fail "phrase window's frame at $((px - frame_left)),$((py - frame_top)), not 193,192"
[ "$win_w" -eq 552 ] && [ "$win_h" -eq 235 ] ||
    fail "phrase window's client area ${win_w}x$win_h, not 552x235"

page_signature() {
    shot && signature=$("$check" phrases "$work/shot.xwd" "$px" "$py" dat/hzk24k.dat 2>/dev/null)
}
wait_for "the first page of phrases" page_signature
first_page=$signature
"$check" phrases "$work/shot.xwd" "$px" "$py" dat/hzk24k.dat >/dev/null ||
    fail "the first page of phrases"

# Next page (SpeedButton2 at 520, 8) and its first word (Image1 in Panel2 at
# 40, 6): its pinyin and meaning appear.
click $((px + 532)) $((py + 20))
other_page() { page_signature && [ "$signature" != "$first_page" ]; }
wait_for "the second page of phrases" other_page
second_page=$signature
click $((px + 81)) $((py + 20))
phrase_shown() { shot && "$check" phrase-shown "$work/shot.xwd" "$px" "$py"; }
wait_for "the phrase's pinyin and meaning" phrase_shown

# Minimised and restored through the window manager: the same page, the
# phrase still shown.
xdotool windowminimize --sync "$phrase" 2>/dev/null || xdotool windowminimize "$phrase"
iconic() { xprop -id "$phrase" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
wait_for "the phrase window to be minimised" iconic
wmctrl -i -a "$phrase"
restored() { xprop -id "$phrase" WM_STATE 2>/dev/null | grep -q 'window state: Normal'; }
wait_for "the phrase window to be restored" restored
second_page_again() { page_signature && [ "$signature" = "$second_page" ]; }
wait_for "the second page after restoring" second_page_again
phrase_shown || fail "the phrase's pinyin and meaning after restoring"

# Back (SpeedButton1 at 8, 8): the first page again.
click $((px + 20)) $((py + 20))
first_page_again() { page_signature && [ "$signature" = "$first_page" ]; }
wait_for "the first page again" first_page_again

# Escape does nothing: the window has no Cancel button.
xdotool windowactivate --sync "$phrase" 2>/dev/null || xdotool windowactivate "$phrase"
xdotool key Escape
sleep 1
visible_window '^FrmPhrase$' || fail "Escape closed the phrase window"

# The title bar's close button, through the window manager.
wmctrl -i -c "$phrase"
phrase_closed() { ! visible_window '^FrmPhrase$'; }
wait_for "the phrase window to close" phrase_closed

# File > Exit: the File menu holds only Exit, so its popup's middle is Exit.
geometry "$main" || fail "no geometry of the main window"
click $((win_x + 18)) $((win_y + (cy - win_y) / 2))
popup_open() {
    popup=
    for w in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
        [ "$w" = "$main" ] && continue
        geometry "$w" || continue
        if [ "$win_h" -lt 200 ] && [ "$win_w" -lt 300 ]; then
            popup=$w
            return 0
        fi
    done
    return 1
}
wait_for "the File menu" popup_open
geometry "$popup"
click $((win_x + win_w / 2)) $((win_y + win_h / 2))

expect_end
echo "File > Exit: exit status 0"

# Help > About (the last item of the Help menu), then the main window's title
# bar's close button: the run ends with the main window.
start_program
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowactivate "$main"
xdotool key alt+h
wait_for "the Help menu" popup_open
xdotool key Up Return
wait_for "the About box" visible_window '^About TallowFern$'
wmctrl -i -c "$main"
expect_end
echo "passed: closing the main window with the About box open ends with exit status 0"

# Help > Help Topic (the first item of the Help menu, three up from About past
# the separator): xdg-open finds xchm for tallowfern.chm and the viewer's title
# names the help project's title.
filetype=$(xdg-mime query filetype tallowfern.chm)
[ "$filetype" = application/vnd.ms-htmlhelp ] ||
    fail "tallowfern.chm is of type '$filetype', not application/vnd.ms-htmlhelp"
viewer=$(xdg-mime query default application/vnd.ms-htmlhelp)
[ "$viewer" = xchm.desktop ] || fail "the viewer for compiled help is '$viewer', not xchm.desktop"
start_program
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowactivate "$main"
xdotool key alt+h
wait_for "the Help menu" popup_open
xdotool key Up Up Up Return
wait_for "the help viewer" visible_window '^xCHM.*: TallowFern Help$'
help_window=$found
viewer_pid=$(xdotool getwindowpid "$help_window" 2>/dev/null)
[ -n "$viewer_pid" ] || fail "no process of the help viewer's window"
tr '\0' ' ' <"/proc/$viewer_pid/cmdline" | grep -q 'xchm .*tallowfern\.chm' ||
    fail "the help viewer runs '$(tr '\0' ' ' <"/proc/$viewer_pid/cmdline")'"
echo "help viewer: $(xdotool getwindowname "$help_window")"
visible_window '^About TallowFern$' && fail "Help Topic opened the About box"
wmctrl -i -c "$help_window"
viewer_gone() { ! kill -0 "$viewer_pid" 2>/dev/null; }
wait_for "the help viewer to close" viewer_gone
viewer_pid=
wmctrl -i -c "$main"
expect_end
echo "passed: Help Topic shows the help in its viewer, which closes; the program ends with exit status 0"
