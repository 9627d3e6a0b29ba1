# Shell functions shared by the install and package checks (sourced; they
# count into $failures and write their logs into $work).
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check_file() { [ -f "$1" ] || fail "missing $1"; }
check_exec() { [ -f "$1" ] && [ -x "$1" ] || fail "not an executable file: $1"; }
entry_value() { sed -n "s/^$1=//p" "$2"; }

# start_installed <command> <seconds> <data folder>: started from /, the program
# runs in its data folder and is still running after <seconds> (killed then).
start_installed() {
    (cd / && exec "$1") >"$work/run.log" 2>&1 &
    pid=$!
    sleep 1
    cwd=$(readlink "/proc/$pid/cwd" 2>/dev/null || true)
    [ "$cwd" = "$3" ] || fail "$1 runs in '$cwd', not in $3"
    sleep $(($2 - 1))
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null
    else
        wait "$pid"
        fail "$1 ended within $2 s with status $?"
        cat "$work/run.log"
    fi
}

# finish <what>: the summary line and the exit status.
finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
    rm -rf "$work"
    echo "$1 OK"
}

# own_texts <folder> <lesson characters>: no file in <folder> speaks of the
# default lesson where the lesson's belongs: its characters (but the lesson's
# own, and the neutral-tone example 学生), its readings (da4, "da"), or the
# command tallowfern and its data folder share/tallowfern (but the program's
# own file name in the run folder's table).
own_texts() {
    for f in "$1"/*; do
        sed -e 's|xue2 sheng5</i> (学生)||' -e 's|<td>tallowfern</td>||' "$f" >"$f.seen"
        for c in 大 家 学 中 文; do
            case "$2" in *"$c"*) ;; *) grep -q "$c" "$f.seen" && fail "$f names $c" ;; esac
        done
        grep -E '\b(da4|jia1|xue2|zhong1|wen2)\b|\\\(lq(da|jia|xue|zhong|wen)\\\(rq' "$f.seen" &&
            fail "$f has a reading of the default lesson"
        grep -E '(^|[^-_.@a-zA-Z])tallowfern([^-_.a-zA-Z]|$)' "$f.seen" &&
            fail "$f names the default command or data folder"
        rm -f "$f.seen"
    done
}
