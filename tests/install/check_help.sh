#!/bin/sh
# Checks the compiled help file against the pages it is compiled from:
#   check_help.sh <pages> <tallowfern.chm> <tf_chm_clear_stamps> <work dir>
set -u
pages=$1 chm=$2 clear_stamps=$3 work=$4

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
[ "$(head -c 4 "$chm")" = ITSF ] || { echo "FAIL: $chm is not a CHM file"; exit 1; }

# The project's [FILES] list, the contents and index files.
sed -n '/^\[FILES\]/,/^\[/p' "$pages/tallowfern.hhp" | grep -v '^\[' | tr -d '\r' |
    grep . >"$work/files.txt"
for f in toc.hhc index.hhk; do echo "$f" >>"$work/files.txt"; done

# The lesson's marks of docs/help do not reach the pages.
grep -l -E '<!-- (end )?(lesson|default lesson)' "$pages"/* && fail "lesson marks left in the pages"

# Every page is listed in the project, and every listed file is in the .chm,
# byte for byte.
for f in "$pages"/*.html; do
    grep -qx "$(basename "$f")" "$work/files.txt" || fail "$(basename "$f") not in [FILES]"
done
if command -v chmls >/dev/null 2>&1; then
    chmls extractall "$chm" "$work/out" >/dev/null 2>&1 || fail "chmls cannot read $chm"
    while read -r f; do
        cmp -s "$pages/$f" "$work/out/$f" || fail "$f missing or different in the .chm"
    done <"$work/files.txt"
fi

# Every link of the pages, contents and index names a file of the project.
for f in "$pages"/*.html "$pages"/toc.hhc "$pages"/index.hhk; do
    grep -o -E '(href|value)="[^"#:]+\.(html|css)"' "$f" | sed -E 's/^[a-z]+="//; s/"$//' |
        while read -r target; do
            grep -qx "$target" "$work/files.txt" || echo "FAIL: $(basename "$f") links to $target"
        done
done | tee "$work/links.log"
[ -s "$work/links.log" ] && fail "broken links"

# The same pages compile to the same bytes.
if command -v chmcmd >/dev/null 2>&1; then
    for n in 1 2; do
        mkdir -p "$work/build$n"
        (cd "$work/build$n" && chmcmd --verbosity 0 "$pages/tallowfern.hhp" >/dev/null 2>&1 &&
            "$clear_stamps" tallowfern.chm) || fail "compile $n"
        [ "$n" = 1 ] && sleep 1.1
    done
    cmp -s "$work/build1/tallowfern.chm" "$work/build2/tallowfern.chm" ||
        fail "two compiles a second apart differ"
    cmp -s "$work/build1/tallowfern.chm" "$chm" || fail "the built help file is out of date"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "help file OK"
