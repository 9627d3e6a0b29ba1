#!/bin/bash
# The program on a real X server (Xvfb), used through the mouse and keyboard
# with xdotool: click 大, wait for its strokes, check the card on the screen,
# open the phrases, page forward and back, pick a phrase, close the window
# with Escape, end through File > Exit and expect exit status 0.
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
for tool in xdotool xwd xwininfo; do
    command -v $tool >/dev/null 2>&1 || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tf-e2e.XXXXXX")
xvfb_pid=
app_pid=

cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill -KILL "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
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

shot() { xwd -root -silent >"$work/shot.xwd"; }

# Geometry of window $1 into win_x, win_y, win_w, win_h.
geometry() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")" || return 1
    win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
}

visible_window() {
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$found" ]
}

click() {
    xdotool mousemove --sync "$1" "$2" click 1
}

# The program from its run folder, on the X server.
cd "$run_dir" || fail "no run folder $run_dir"
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

page_signature() {
    shot && signature=$("$check" phrases "$work/shot.xwd" "$px" "$py" dat/hzk24k.dat 2>/dev/null)
}
wait_for "the first page of phrases" page_signature
first_page=$signature
"$check" phrases "$work/shot.xwd" "$px" "$py" dat/hzk24k.dat >/dev/null ||
    fail "the first page of phrases"

# Next page (SpeedButton2 at 520, 8), then back (SpeedButton1 at 8, 8).
click $((px + 532)) $((py + 20))
other_page() { page_signature && [ "$signature" != "$first_page" ]; }
wait_for "the second page of phrases" other_page
click $((px + 20)) $((py + 20))
first_page_again() { page_signature && [ "$signature" = "$first_page" ]; }
wait_for "the first page again" first_page_again

# The first word (Image1 in Panel2 at 40, 6): its pinyin and meaning appear.
click $((px + 81)) $((py + 20))
phrase_shown() { shot && "$check" phrase-shown "$work/shot.xwd" "$px" "$py"; }
wait_for "the phrase's pinyin and meaning" phrase_shown

# Escape closes the dialog: the key goes to the focused window, as typed.
xdotool windowfocus --sync "$phrase" 2>/dev/null || xdotool windowfocus "$phrase"
xdotool key Escape
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
        if [ "$win_h" -lt 100 ] && [ "$win_w" -lt 300 ]; then
            popup=$w
            return 0
        fi
    done
    return 1
}
wait_for "the File menu" popup_open
geometry "$popup"
click $((win_x + win_w / 2)) $((win_y + win_h / 2))

ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for "the program to end" ended
wait "$app_pid"
status=$?
app_pid=
[ "$status" -eq 0 ] || fail "exit status $status"
if grep -q -e "Sanitizer" -e "runtime error" "$work/app.log"; then
    fail "sanitizer report"
fi
echo "passed: exit status 0"
