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
