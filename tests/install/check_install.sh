#!/bin/sh
# Installs the build into temporary prefixes and checks the tree:
#   check_install.sh <cmake> <build dir> <run dir> <source dir> <work dir>
set -u
cmake=$1 build=$2 run=$3 src=$4 work=$5

. "$(dirname "$0")/checks.sh"

rm -rf "$work"
mkdir -p "$work"

# 1. A prefix with a blank in its name: the launcher and the desktop entry quote it.
prefix="$work/prefix dir"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install --prefix"; exit 1; }

data="$prefix/share/tallowfern"
check_exec "$prefix/bin/tallowfern"
check_exec "$prefix/libexec/tallowfern/tallowfern"
check_file "$data/tallowfern.chm"
check_file "$prefix/share/doc/tallowfern/README.md"
[ "$(head -c 4 "$data/tallowfern.chm" 2>/dev/null)" = ITSF ] || fail "help file is not a CHM file"

# Every file of the run folder's dat/ (data and licences) is installed as it is.
[ -d "$data/dat" ] || fail "missing $data/dat"
(cd "$run/dat" && find . -type f) | while read -r f; do
    cmp -s "$run/dat/$f" "$data/dat/$f" || echo "FAIL: dat/$f not installed"
done | tee "$work/dat.log"
[ -s "$work/dat.log" ] && fail "dat/ incomplete"
if [ -f "$run/speaker1.bmp" ]; then
    cmp -s "$run/speaker1.bmp" "$data/speaker1.bmp" || fail "speaker1.bmp not installed"
fi
icon="$prefix/share/icons/hicolor/32x32/apps/tallowfern.png"
for made in "$build/generated/tallowfern.png" "$src/app/resources/tallowfern.png"; do
    if [ -f "$made" ]; then
        cmp -s "$made" "$icon" || fail "icon $made not installed"
        if command -v file >/dev/null 2>&1; then
            file -b "$icon" | grep -q '32 x 32' || fail "icon is not 32 x 32"
        fi
        break
    fi
done

desktop="$prefix/share/applications/tallowfern.desktop"
check_file "$desktop"
[ "$(entry_value Exec "$desktop")" = "\"$prefix/bin/tallowfern\"" ] ||
    fail "Exec is '$(entry_value Exec "$desktop")'"
[ "$(entry_value Path "$desktop")" = "$data" ] || fail "Path is '$(entry_value Path "$desktop")'"
[ "$(entry_value Icon "$desktop")" = tallowfern ] || fail "Icon is '$(entry_value Icon "$desktop")'"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi

# 2. Started from another folder, the installed program runs in its data
#    folder and is still running after 3 s (killed then, not crashed); also
#    when the launcher is reached through a symbolic link.
start_installed "$prefix/bin/tallowfern" 3 "$data"
ln -s "$prefix/bin/tallowfern" "$work/tallowfern-link"
start_installed "$work/tallowfern-link" 1 "$data"

# 3. DESTDIR: the files go below it, the entry names the final prefix.
DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /usr >"$work/destdir.log" 2>&1 ||
    { cat "$work/destdir.log"; fail "DESTDIR install"; }
check_exec "$work/stage/usr/bin/tallowfern"
first_dat=$(cd "$run/dat" && find . -type f | head -n 1)
[ -z "$first_dat" ] || check_file "$work/stage/usr/share/tallowfern/dat/$first_dat"
stage_entry="$work/stage/usr/share/applications/tallowfern.desktop"
[ "$(entry_value Exec "$stage_entry")" = /usr/bin/tallowfern ] ||
    fail "DESTDIR Exec is '$(entry_value Exec "$stage_entry")'"
[ "$(entry_value Path "$stage_entry")" = /usr/share/tallowfern ] ||
    fail "DESTDIR Path is '$(entry_value Path "$stage_entry")'"

finish "installed tree"
